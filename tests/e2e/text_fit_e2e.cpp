// Every window of every program, once with the face most users have (IPA P Gothic, of
// ＭＳ Ｐゴシック's metrics, standing in for it) and once with the taller Japanese font the
// programs fall back to without it: each control's text, measured inside the program with
// the control's own font, fits the room the control gives it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "lumera_support.h"
#include "robot.h"
#include "win/encoding.h"

using namespace lumera_e2e;

namespace {

// What the test prefix substitutes (scripts/env.sh); Wine reads it at each program's start.
const wchar_t* const ReplacementsKey = L"Software\\Wine\\Fonts\\Replacements";
const std::pair<const wchar_t*, const wchar_t*> Replacements[] = {
    {L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", L"IPAPGothic"}, // ＭＳ Ｐゴシック
    {L"MS PGothic", L"IPAPGothic"},
    {L"MS UI Gothic", L"IPAPGothic"},
    {L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF", L"IPAGothic"}, // ＭＳ ゴシック
    {L"MS Gothic", L"IPAGothic"},
};

// Sets the replacements (or removes them) for the programs started meanwhile, and puts back
// what the prefix had.
class FontChoice {
public:
    explicit FontChoice(bool substitute) {
        HKEY key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, ReplacementsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        for (const auto& [face, replacement] : Replacements) {
            wchar_t value[64] = L"";
            DWORD size = sizeof value;
            if (RegGetValueW(key, nullptr, face, RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS)
                saved_.emplace_back(face, value);
            if (substitute)
                RegSetValueExW(key, face, 0, REG_SZ, reinterpret_cast<const BYTE*>(replacement),
                               static_cast<DWORD>((wcslen(replacement) + 1) * sizeof(wchar_t)));
            else
                RegDeleteValueW(key, face);
        }
        RegCloseKey(key);
    }
    ~FontChoice() {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, ReplacementsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            return;
        for (const auto& [face, replacement] : Replacements)
            RegDeleteValueW(key, face);
        for (const auto& [face, replacement] : saved_)
            RegSetValueExW(key, face.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(replacement.c_str()),
                           static_cast<DWORD>((replacement.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    FontChoice(const FontChoice&) = delete;
    FontChoice& operator=(const FontChoice&) = delete;

private:
    std::vector<std::pair<std::wstring, std::wstring>> saved_;
};

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FamilyInstalled(const wchar_t* name) {
    LOGFONTW query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(query.lfFaceName, name, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

const Text AppName = "Fit Check";
const Text Work = "C:\\fit-e2e";

class TextFitE2e : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ResetSettings();
        DeleteTree(Work);
        CreateDirectoryW(Widen(Work).c_str(), nullptr);
    }
    void TearDown() override {
        DeleteTree(Work);
        ResetSettings();
    }

    const char* fontName() const { return GetParam() ? "ipa" : "fallback"; }

    // Measures every top-level window of the process, keeps a screenshot of the screen as it
    // is and notes each text that does not fit.
    void Measure(DWORD processId, const Text& what) {
        robot::MenuReader reader(processId);
        ASSERT_TRUE(reader.ready());
        robot::SaveScreenshot(Text("fit-") + fontName() + "-" + what + ".bmp");
        size_t measured = 0;
        for (HWND window : robot::FindTopWindows("", "", processId)) {
            for (const robot::TextFit& fit : reader.MeasureTexts(window)) {
                ++measured;
                if (!fit.fits())
                    misfits_.push_back(what + " " + robot::ClassOf(window) + " " + fit.name + " (" +
                                       fit.className + ") \"" + fit.text + "\" needs " +
                                       std::to_string(fit.need.cx) + "x" + std::to_string(fit.need.cy) +
                                       ", has " + std::to_string(fit.have.cx) + "x" +
                                       std::to_string(fit.have.cy));
            }
        }
        EXPECT_GT(measured, 0u) << what;
    }

    void ExpectEndsWith(robot::Process& process, DWORD code, DWORD timeout = 20000) {
        EXPECT_EQ(process.WaitForExit(timeout), std::optional<DWORD>(code));
    }

    void TrayProgram() {
        Installation installation("fit");
        RunningLumera lumera;
        ASSERT_TRUE(lumera.Start(installation));
        DWORD id = lumera.process.id();
        robot::ParkMouse();
        lumera.Choose({"設定(&S)"});
        HWND settings = robot::WaitForWindow("TLumeraMainForm", "", id);
        ASSERT_TRUE(settings);
        Measure(id, "lumera-settings");
        robot::PressKey(settings, VK_ESCAPE);
        ASSERT_TRUE(robot::WaitUntil([&] { return !IsWindowVisible(settings); }));
        robot::ParkMouse();
        lumera.Choose({"ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."});
        HWND about = robot::WaitForWindow("TAboutBox", "", id);
        ASSERT_TRUE(about);
        Measure(id, "lumera-about");
        robot::PressKey(about, VK_ESCAPE);
        ASSERT_TRUE(robot::WaitUntil([&] { return robot::FindTopWindows("TAboutBox", "", id).empty(); }));
        EXPECT_TRUE(lumera.Exit());
    }

    // A tool whose one window shows at a start without parameters, closed again.
    void Tool(const Text& exe, const Text& formClass) {
        robot::Process tool;
        ASSERT_TRUE(tool.Start(BuiltProgram(exe)));
        HWND form = robot::WaitForWindow(formClass, "", tool.id());
        ASSERT_TRUE(form) << exe;
        Measure(tool.id(), exe);
        PostMessageW(form, WM_CLOSE, 0, 0);
        ExpectEndsWith(tool, 0);
    }

    // The main window, then a copy onto a file of the same name: the progress window and the
    // overwrite question.
    void Ferrox() {
        const Text from = Work + "\\from", to = Work + "\\to";
        CreateDirectoryW(Widen(from).c_str(), nullptr);
        CreateDirectoryW(Widen(to).c_str(), nullptr);
        ASSERT_TRUE(WriteBytes(from + "\\same.txt", "new"));
        ASSERT_TRUE(WriteBytes(to + "\\same.txt", "old"));
        const std::wstring history = L"Software\\Morivane\\Lumera\\Ferrox\\History";
        DWORD copy = 2;
        RegSetKeyValueW(HKEY_CURRENT_USER, history.c_str(), L"Division", REG_DWORD, &copy, sizeof copy);
        const std::wstring path = Widen(to);
        RegSetKeyValueW(HKEY_CURRENT_USER, history.c_str(), L"Path1", REG_SZ, path.c_str(),
                        static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
        robot::Process ferrox;
        ASSERT_TRUE(ferrox.Start(BuiltProgram("Ferrox.exe"), from + "\\same.txt"));
        HWND form = robot::WaitForWindow("TFerroxMainForm", "", ferrox.id());
        ASSERT_TRUE(form);
        Measure(ferrox.id(), "ferrox-main");
        robot::Click(robot::FindControl(form, "Button1"));
        HWND question = robot::WaitForWindow("TOWriteBox", "", ferrox.id(), 20000);
        ASSERT_TRUE(question);
        EXPECT_FALSE(robot::FindTopWindows("TWorkBox", "", ferrox.id()).empty());
        Measure(ferrox.id(), "ferrox-overwrite");
        robot::PressKey(question, VK_ESCAPE);
        ExpectEndsWith(ferrox, 0);
    }

    // The installer's wizard with the suite's own package, left with Cancel.
    void Wizard() {
        robot::Process setup;
        ASSERT_TRUE(setup.Start(Text("Z:") + LUMERA_PACKAGE_DIR "\\Setup.exe"));
        HWND wizard = robot::WaitForWindow("TSetupMainForm", "", setup.id(), 20000);
        ASSERT_TRUE(wizard);
        Measure(setup.id(), "setup-wizard");
        robot::Click(robot::FindControl(wizard, "BitBtn3"));
        if (auto ask = robot::WaitForMessageBox(setup.id(), 3000))
            robot::AnswerMessageBox(ask->window, IDYES);
        ExpectEndsWith(setup, 2); // cancelled: nothing done
    }

    // The uninstaller's window over its first question, for a small installed product.
    void Uninstaller() {
        const Text source = Work + "\\package", target = Work + "\\installed";
        CreateDirectoryW(Widen(source).c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(Widen(BuiltProgram("Setup.exe")).c_str(), Widen(source + "\\Setup.exe").c_str(),
                              FALSE));
        ASSERT_TRUE(WriteBytes(source + "\\tool.txt", "the tool"));
        ASSERT_TRUE(
            WriteBytes(source + "\\Setup.dat",
                       "[Infomation]\r\nAppName=" + AppName + "\r\n[Install]\r\nPath=" + target +
                           "\r\nDir1=<Setup>\r\nFile1=<Setup>\\tool.txt\r\n"
                           "[UnInstall]\r\nVisible=1\r\nFile1=<Setup>\\tool.txt\r\nDir1=<Setup>\r\n"));
        const Text uninstaller = WindowsFolder() + "\\Morivane.exe";
        const bool uninstallerWasThere = robot::FileExists(uninstaller);
        {
            robot::Process install;
            ASSERT_TRUE(install.Start(source + "\\Setup.exe", "/SILENT"));
            ExpectEndsWith(install, 0, 60000);
        }
        {
            robot::Process uninstall;
            ASSERT_TRUE(uninstall.Start(uninstaller, "\"" + AppName + "\""));
            auto ask = robot::WaitForMessageBox(uninstall.id());
            ASSERT_TRUE(ask);
            ASSERT_TRUE(robot::WaitForWindow("TSetupMainForm", "", uninstall.id()));
            Measure(uninstall.id(), "uninstaller");
            robot::AnswerMessageBox(ask->window, IDNO);
            ExpectEndsWith(uninstall, 2);
        }
        robot::Process silent;
        ASSERT_TRUE(silent.Start(uninstaller, "\"" + AppName + "\" /SILENT"));
        ExpectEndsWith(silent, 0, 60000);
        if (!uninstallerWasThere)
            DeleteFileW(Widen(uninstaller).c_str());
    }

    std::vector<Text> misfits_;
};

TEST_P(TextFitE2e, EveryTextFitsItsControl) {
    if (GetParam())
        ASSERT_TRUE(FamilyInstalled(L"IPAPGothic")) << "fonts-ipafont-gothic is not installed";
    FontChoice font(GetParam());
    TrayProgram();
    Tool("Kickon.exe", "TKickonMainForm");
    Tool("Tezzo.exe", "TTezzoMainForm");
    Tool("Halto.exe", "THaltoMainForm");
    Tool("Slumbo.exe", "TSlumboMainForm");
    Ferrox();
    Wizard();
    Uninstaller();
    Text list;
    for (const Text& misfit : misfits_)
        list += "\n  " + misfit;
    EXPECT_TRUE(misfits_.empty()) << misfits_.size() << " texts do not fit:" << list;
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextFitE2e, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "IpaPGothic" : "Fallback"; });

} // namespace
