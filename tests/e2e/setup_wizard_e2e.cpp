// The setup wizard through whole runs: a long installation with the window answering all
// along, shortcuts made in the Start menu, on the Desktop and in Send To and removed again,
// an installation folder whose name code page 932 cannot hold, and the folder chooser.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>

#include "lumera_support.h"
#include "win/encoding.h"
#include "win/shortcut.h"

using namespace lumera_e2e;

namespace {

const std::wstring Work = L"C:\\setup-wizard-e2e";
const std::wstring Source = Work + L"\\Disc";
const Text AppName = "Wizard E2E App";
const std::wstring RecordKey = L"Software\\Morivane\\BrisaSetup\\Wizard E2E App";
const std::wstring UninstallKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Wizard E2E App";
const Text Group = "Wizard E2E Group";

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ShellFolder(int id) {
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring WindowsFolder() {
    wchar_t folder[MAX_PATH];
    GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

std::wstring WideText(HWND window) {
    wchar_t text[1024] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, nullptr);
    return text;
}

// Unicode key events, so a name beyond code page 932 arrives as typed.
bool TypeWide(HWND target, const std::wstring& text) {
    if (!robot::Focus(target))
        return false;
    std::vector<INPUT> inputs;
    for (wchar_t c : text)
        for (bool up : {false, true}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

class SetupWizardE2e : public ::testing::Test {
protected:
    void SetUp() override {
        uninstallerWasThere_ = Exists(WindowsFolder() + L"\\Morivane.exe");
        Clean();
        CreateDirectoryW(Work.c_str(), nullptr);
        CreateDirectoryW(Source.c_str(), nullptr);
        ASSERT_TRUE(
            CopyFileW(Widen(BuiltProgram("Setup.exe")).c_str(), (Source + L"\\Setup.exe").c_str(), FALSE));
        ASSERT_TRUE(WriteBytes(Source + L"\\tool.txt", "the tool"));
    }
    void TearDown() override {
        Clean();
        if (!uninstallerWasThere_)
            DeleteFileW((WindowsFolder() + L"\\Morivane.exe").c_str());
    }
    void Clean() {
        DeleteTree(Narrow(Work));
        RegDeleteTreeW(HKEY_CURRENT_USER, RecordKey.c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, UninstallKey.c_str());
        DeleteTree(Narrow(ShellFolder(CSIDL_PROGRAMS)) + "\\" + Group);
        DeleteFileW((ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\Wizard Tool.lnk").c_str());
        DeleteFileW((ShellFolder(CSIDL_SENDTO) + L"\\Wizard Tool.lnk").c_str());
    }

    // Starts Setup.exe and walks from the welcome page to the start page; empty when a page
    // did not come.
    HWND WalkToStartPage(robot::Process& setup, bool shortcutPage,
                         const std::function<void(HWND wizard)>& onMethodPage = nullptr) {
        if (!setup.Start(Narrow(Source + L"\\Setup.exe")))
            return nullptr;
        HWND wizard = robot::WaitForWindow("TSetupMainForm", "", setup.id(), 20000);
        if (!wizard)
            return nullptr;
        HWND next = robot::FindControl(wizard, "BitBtn2");
        robot::Click(next);
        if (!robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ方法"))
            return nullptr;
        if (onMethodPage)
            onMethodPage(wizard);
        robot::Click(next);
        if (shortcutPage) {
            if (!robot::WaitForText(wizard, "ｼｭｰﾄｶｯﾄの作成方法"))
                return nullptr;
            robot::Click(next);
        }
        return robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟの開始") ? wizard : nullptr;
    }

    bool uninstallerWasThere_ = false;
};

// The engine runs inside the Next handler; the window must go on painting and answering,
// and nothing that reaches it meanwhile may start a second run or close it.
TEST_F(SetupWizardE2e, WindowAnswersWhileALongInstallationRuns) {
    const std::wstring target = Work + L"\\Installed";
    CreateDirectoryW(target.c_str(), nullptr);
    constexpr int Files = 1500;
    const std::string block(64 * 1024, 'x');
    std::string data = "[Infomation]\r\nAppName=" + AppName + "\r\n[Install]\r\nPath=" + Narrow(target) +
                       "\r\nDir1=<Setup>\r\n";
    for (int i = 1; i <= Files; ++i) {
        const std::string name = "d" + std::to_string(i) + ".bin";
        ASSERT_TRUE(WriteBytes(Source + L"\\" + Widen(name), block));
        data += "File" + std::to_string(i) + "=<Setup>\\" + name + "\r\n";
    }
    ASSERT_TRUE(WriteBytes(Source + L"\\Setup.dat", data));

    robot::Process setup;
    HWND wizard = WalkToStartPage(setup, false);
    ASSERT_NE(wizard, nullptr);
    HWND back = FindWindowW(L"TBackForm", nullptr);
    HWND next = robot::FindControl(wizard, "BitBtn2");
    HWND bar = robot::FindControl(wizard, "ProgressBar2");
    ASSERT_TRUE(next && bar);
    robot::Click(next);

    // Sample the file bar until the run ends: every round trip is timed, and each position
    // the window gives while the run is still going shows it answered in the middle of it.
    std::set<DWORD_PTR> midway;
    ULONGLONG slowest = 0;
    bool pokedAt = false;
    const ULONGLONG end = GetTickCount64() + 120000;
    wchar_t caption[64] = L"";
    while (GetTickCount64() < end) {
        InternalGetWindowText(wizard, caption, 64);
        if (Narrow(std::wstring(caption)) == "ｾｯﾄｱｯﾌﾟ完了" || !IsWindow(wizard))
            break;
        const ULONGLONG before = GetTickCount64();
        DWORD_PTR position = 0;
        LRESULT answered = SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 10000, &position);
        slowest = std::max(slowest, GetTickCount64() - before);
        ASSERT_NE(answered, 0) << "the wizard did not answer within 10 s";
        if (position > 0 && position < static_cast<DWORD_PTR>(Files))
            midway.insert(position);
        if (!pokedAt && !midway.empty()) {
            // Closing, Esc, Next again and closing the background all come while it runs.
            pokedAt = true;
            PostMessageW(wizard, WM_CLOSE, 0, 0);
            PostMessageW(wizard, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageW(next, BM_CLICK, 0, 0);
            if (back)
                PostMessageW(back, WM_CLOSE, 0, 0);
        }
        Sleep(5);
    }
    EXPECT_TRUE(pokedAt);
    EXPECT_GE(midway.size(), 3u) << "positions seen while the run went on";
    EXPECT_LT(slowest, 1500u) << "slowest round trip, ms";
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ完了", 60000));
    EXPECT_FALSE(robot::WaitForMessageBox(setup.id(), 500).has_value()) << "no closing question while it ran";
    DWORD_PTR position = 0;
    SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &position);
    EXPECT_EQ(position, static_cast<DWORD_PTR>(Files));
    EXPECT_TRUE(Exists(target + L"\\d" + std::to_wstring(Files) + L".bin"));
    robot::WaitUntil([&] { return !GetUpdateRect(wizard, nullptr, FALSE); });
    robot::SaveScreenshot("setup_wizard_long_done.bmp");
    robot::Click(next);
    EXPECT_EQ(setup.WaitForExit(), 0u);
}

} // namespace
