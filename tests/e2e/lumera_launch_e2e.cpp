// The tray program's launching items: the Run list, clipboard snippets, the shutdown tool,
// the display properties, and parking the Startup folder's items.
#include <windows.h>

#include <algorithm>

#include <shlobj.h>

#include <gtest/gtest.h>

#include "lumera_support.h"
#include "win/folders.h"

using namespace lumera_e2e;

namespace {

const Text FileNotFound = "ﾌｧｲﾙが見つかりません。";

// The parameters a probe line shows: what follows the program's own path.
std::wstring ProbeParameters(const std::wstring& line, const Text& program) {
    std::wstring path = Widen(program);
    size_t at = line.find(path);
    if (at == std::wstring::npos)
        return L"?";
    size_t after = at + path.size();
    if (after < line.size() && line[after] == L'"')
        ++after;
    std::wstring rest = line.substr(after, line.find(L'|', after) - after);
    size_t first = rest.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : rest.substr(first);
}

// Chooses the item and answers the message box it shows; the box's text.
Text ChooseAndReadMessage(RunningLumera& lumera, std::initializer_list<Text> path) {
    if (!Choose(lumera, path))
        return "(not chosen)";
    std::optional<robot::MessageBoxInfo> box = robot::WaitForMessageBox(lumera.process.id());
    if (!box)
        return "(no message)";
    robot::AnswerMessageBox(box->window, IDOK);
    return box->text;
}

std::optional<Text> ClipboardText() {
    std::optional<Text> text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = Narrow(chars);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// The processes started by `parent`, and by those in turn.
std::vector<DWORD> DescendantsOf(DWORD parent) {
    const std::vector<robot::RunningProcess> processes = robot::RunningProcesses();
    std::vector<DWORD> found = {parent};
    for (size_t i = 0; i < found.size(); ++i) {
        for (const robot::RunningProcess& process : processes) {
            if (process.parent == found[i] &&
                std::find(found.begin(), found.end(), process.id) == found.end())
                found.push_back(process.id);
        }
    }
    found.erase(found.begin());
    return found;
}

// Waits for the program the tray program starts (the display properties), then ends it and
// what it started. One left running keeps the test's output open, and the test never ends.
bool EndProgramsStartedBy(DWORD parent) {
    if (!robot::WaitUntil([&] { return !DescendantsOf(parent).empty(); }))
        return false;
    for (DWORD id : DescendantsOf(parent)) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    return true;
}

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        SetSettingIntRaw("OtherSet", "SplashVisible", 0);
    }
    void TearDown() override { ResetSettings(); }

    Installation installation{"launch"};
};

TEST_F(LaunchTest, TheFirstStartWritesTheDefaultLists) {
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    EXPECT_EQ(SettingInt("Run", "Visible"), 1u);
    EXPECT_EQ(SettingString("Run", "Name1"), Text("メモ帳"));
    EXPECT_EQ(SettingString("Run", "File4"), GetSystemDir());
    EXPECT_EQ(SettingString("Run", "Name6"), SettingString("Run", "File6"));
    EXPECT_EQ(SettingString("Run", "File6").value_or("").rfind("mailto:", 0), 0u);
    EXPECT_FALSE(SettingString("Run", "File7"));
    EXPECT_EQ(SettingInt("Clipboard", "Visible"), 1u);
    EXPECT_EQ(SettingString("Clipboard", "Clip2"), Text("(郵便番号)"));
    EXPECT_EQ(SettingString("Clipboard", "Name5"), Text("E-Mail(Morivane)"));
    EXPECT_FALSE(SettingString("Clipboard", "Clip7"));
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(LaunchTest, RunEntriesOpenTheirTargetOrReportAMissingProgram) {
    // A program under a folder with a blank in its name, followed by its parameters.
    const Text folder = installation.file("my tools");
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    const Text tool = folder + "\\runner.exe";
    CopyFileW(Widen(robot::ProgramFolder() + "probe.exe").c_str(), Widen(tool).c_str(), FALSE);
    SetSettingIntRaw("Run", "Visible", 1);
    SetSettingStringRaw("Run", "Name1", "Runner");
    SetSettingStringRaw("Run", "File1", tool + " -x 1");
    SetSettingStringRaw("Run", "Name2", "Nowhere");
    SetSettingStringRaw("Run", "File2", "Q:\\Nowhere\\tool.exe -a");

    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    ASSERT_TRUE(Choose(lumera, {"実行(&R)", "Runner"}));
    ASSERT_TRUE(robot::WaitUntil([&] { return !ProbeLogLines(tool).empty(); }))
        << "the program was not started";
    std::vector<std::wstring> lines = ProbeLogLines(tool);
    EXPECT_EQ(ProbeParameters(lines[0], tool), L"-x 1") << lines[0];

    EXPECT_EQ(ChooseAndReadMessage(lumera, {"実行(&R)", "Nowhere"}),
              "Q:\\Nowhere\\tool.exe\n" + FileNotFound);
    // The run-by-name tool is not installed: its item reports where it was looked for.
    EXPECT_EQ(ChooseAndReadMessage(lumera, {"実行(&R)", "ﾌｧｲﾙ名を指定して実行(&R)..."}),
              installation.file("Tezzo.exe") + "\n" + FileNotFound);
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(LaunchTest, ASnippetReplacesTheClipboardText) {
    SetSettingIntRaw("Clipboard", "Visible", 1);
    SetSettingStringRaw("Clipboard", "Name1", "住所");
    SetSettingStringRaw("Clipboard", "Clip1", "東京都千代田区 1-2-3");
    SetSettingStringRaw("Clipboard", "Clip2", "info@example.jp");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));

    ASSERT_TRUE(Choose(lumera, {"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)", "住所"}));
    EXPECT_TRUE(robot::WaitUntil([] { return ClipboardText() == Text("東京都千代田区 1-2-3"); }))
        << ClipboardText().value_or("(none)");
    ASSERT_TRUE(Choose(lumera, {"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)", "info@example.jp"}));
    EXPECT_TRUE(robot::WaitUntil([] { return ClipboardText() == Text("info@example.jp"); }));
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(LaunchTest, ShutdownItemsStartTheToolWithTheirSwitch) {
    const Text halto = installation.InstallProbe("Halto.exe");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    const std::pair<const char*, const wchar_t*> items[] = {
        {"選択(&U)", L""}, {"電源を切る(&S)", L"-S"}, {"再起動(&R)", L"-R"}, {"ﾛｸﾞｵﾌ(&C)", L"-L"}};
    size_t started = 0;
    for (const auto& [caption, parameters] : items) {
        ASSERT_TRUE(Choose(lumera, {"Windowsの終了(&U)", caption}));
        ASSERT_TRUE(robot::WaitUntil([&] { return ProbeLogLines(halto).size() == started + 1; })) << caption;
        std::wstring line = ProbeLogLines(halto)[started++];
        EXPECT_EQ(ProbeParameters(line, halto), parameters) << caption << ": " << Narrow(line);
    }
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(LaunchTest, ShutdownItemsReportAMissingTool) {
    // A tool started by an earlier test can keep its file a moment after it ended.
    const Text halto = installation.file("Halto.exe");
    ASSERT_TRUE(
        robot::WaitUntil([&] { return DeleteFileW(Widen(halto).c_str()) || !robot::FileExists(halto); }));
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    for (const char* caption : {"選択(&U)", "ﾛｸﾞｵﾌ(&C)"}) {
        EXPECT_EQ(ChooseAndReadMessage(lumera, {"Windowsの終了(&U)", caption}), halto + "\n" + FileNotFound);
    }
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(LaunchTest, DisplayPropertiesSwitchTheScreenSaverOnFirst) {
    const Text saver = installation.file("Stars.scr");
    WriteBytes(saver, "");
    std::optional<Text> savedSaver =
        robot::ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE");
    HKEY desktop;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &desktop, nullptr),
              ERROR_SUCCESS);
    std::wstring wideSaver = Widen(saver);
    RegSetValueExW(desktop, L"SCRNSAVE.EXE", 0, REG_SZ, reinterpret_cast<const BYTE*>(wideSaver.c_str()),
                   static_cast<DWORD>((wideSaver.size() + 1) * sizeof(wchar_t)));
    auto currentSaver = [] {
        return robot::ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE");
    };

    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    ASSERT_TRUE(robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 1u; }));
    ASSERT_TRUE(Choose(lumera, {"無効(&F)"}));
    ASSERT_TRUE(robot::WaitUntil([&] { return SettingInt("Screen", "Enabled") == 0u && !currentSaver(); }))
        << "Enabled " << SettingInt("Screen", "Enabled").value_or(99) << ", "
        << currentSaver().value_or("(none)");

    ASSERT_TRUE(Choose(lumera, {"画面のﾌﾟﾛﾊﾟﾃｨ(&P)"}));
    EXPECT_TRUE(robot::WaitUntil([&] { return SettingInt("Screen", "Enabled") == 1u && currentSaver(); }));
    EXPECT_TRUE(EndProgramsStartedBy(lumera.process.id())) << "the display properties were not started";
    EXPECT_TRUE(lumera.Exit());

    if (savedSaver) {
        std::wstring wide = Widen(*savedSaver);
        RegSetValueExW(desktop, L"SCRNSAVE.EXE", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                       static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(desktop, L"SCRNSAVE.EXE");
    }
    RegCloseKey(desktop);
}

// The user's Startup folder and its parked twin, emptied of what the test put there.
class StartupFolders {
public:
    StartupFolders() : startup_(GetShellFolder("Startup")), parked_(startup_ + "[無効]") {
        SHCreateDirectoryExW(nullptr, Widen(startup_).c_str(), nullptr);
        DeleteTree(parked_);
    }
    ~StartupFolders() {
        for (const char* name : {"Mail.lnk", "Clock.lnk", "Both.lnk", "notes.txt", "Early.lnk"})
            DeleteFileW(Widen(startup(name)).c_str());
        DeleteTree(startup("Tools"));
        DeleteTree(parked_);
    }
    StartupFolders(const StartupFolders&) = delete;
    StartupFolders& operator=(const StartupFolders&) = delete;

    Text startup(const Text& name) const { return startup_ + "\\" + name; }
    Text parked(const Text& name) const { return parked_ + "\\" + name; }
    const Text& parkedFolder() const { return parked_; }

private:
    Text startup_, parked_;
};

std::vector<Text> StartUpMarks(RunningLumera& lumera) {
    std::vector<Text> checked;
    std::vector<robot::PopupMenu> menus;
    if (!lumera.OpenMenu().empty() && lumera.menus().Choose("ｽﾀｰﾄｱｯﾌﾟ(&S)"))
        menus = lumera.menus().WaitForMenus(2);
    lumera.menus().CloseAll();
    if (menus.size() >= 2) {
        for (const robot::MenuEntry& entry : menus[1].items) {
            if (entry.checked)
                checked.push_back(entry.caption);
        }
    }
    return checked;
}

TEST_F(LaunchTest, StartupItemsAreParkedAndRestoredWithoutLosingAFile) {
    StartupFolders folders;
    // Parked before the start: the menu shows the parked state from its first build.
    SHCreateDirectoryExW(nullptr, Widen(folders.parkedFolder()).c_str(), nullptr);
    WriteBytes(folders.parked("Early.lnk"), "early");
    WriteBytes(folders.startup("Mail.lnk"), "mail");
    WriteBytes(folders.startup("Clock.lnk"), "clock");
    WriteBytes(folders.startup("notes.txt"), "notes");
    WriteBytes(folders.startup("Both.lnk"), "active");
    WriteBytes(folders.parked("Both.lnk"), "parked");
    CreateDirectoryW(Widen(folders.startup("Tools")).c_str(), nullptr);
    WriteBytes(folders.startup("Tools") + "\\inner.lnk", "inner");

    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    EXPECT_EQ(StartUpMarks(lumera), std::vector<Text>{"無効(&F)"});

    ASSERT_TRUE(Choose(lumera, {"ｽﾀｰﾄｱｯﾌﾟ(&S)", "有効(&T)"}));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::FileExists(folders.startup("Early.lnk")); }));
    EXPECT_FALSE(robot::FileExists(folders.parked("Early.lnk")));
    // The name taken on both sides stays on both sides, each with its own content, so the
    // parked folder is not removed.
    EXPECT_EQ(robot::ReadFileBytes(folders.startup("Both.lnk")), std::string("active"));
    EXPECT_EQ(robot::ReadFileBytes(folders.parked("Both.lnk")), std::string("parked"));
    EXPECT_TRUE(robot::FileExists(folders.parked("Both.lnk")));
    EXPECT_EQ(StartUpMarks(lumera), std::vector<Text>{"有効(&T)"});

    ASSERT_TRUE(Choose(lumera, {"ｽﾀｰﾄｱｯﾌﾟ(&S)", "無効(&F)"}));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::FileExists(folders.parked("Mail.lnk")); }));
    for (const char* name : {"Mail.lnk", "Clock.lnk", "notes.txt", "Early.lnk"}) {
        EXPECT_TRUE(robot::FileExists(folders.parked(name))) << name;
        EXPECT_FALSE(robot::FileExists(folders.startup(name))) << name;
    }
    EXPECT_EQ(robot::ReadFileBytes(folders.startup("Both.lnk")), std::string("active"));
    EXPECT_EQ(robot::ReadFileBytes(folders.parked("Both.lnk")), std::string("parked"));
    // Folders are never moved.
    EXPECT_TRUE(robot::FileExists(folders.startup("Tools") + "\\inner.lnk"));
    EXPECT_EQ(StartUpMarks(lumera), std::vector<Text>{"無効(&F)"});

    // Once the twin holds nothing another restore can leave behind, it goes away.
    DeleteFileW(Widen(folders.parked("Both.lnk")).c_str());
    ASSERT_TRUE(Choose(lumera, {"ｽﾀｰﾄｱｯﾌﾟ(&S)", "有効(&T)"}));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::FileExists(folders.startup("Mail.lnk")); }));
    EXPECT_TRUE(robot::WaitUntil([&] {
        return GetFileAttributesW(Widen(folders.parkedFolder()).c_str()) == INVALID_FILE_ATTRIBUTES;
    }));
    EXPECT_TRUE(robot::FileExists(folders.startup("notes.txt")));
    EXPECT_EQ(robot::ReadFileBytes(folders.startup("Both.lnk")), std::string("active"));
    EXPECT_TRUE(lumera.Exit());
}

} // namespace
