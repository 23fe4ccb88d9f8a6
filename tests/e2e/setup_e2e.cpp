// Setup.exe from outside: a silent installation from a folder holding the program and its
// data file, the uninstaller copy it leaves in the Windows folder undoing it silently, and
// the start messages of both modes.
#include <windows.h>

#include <gtest/gtest.h>

#include "robot.h"
#include "test_support.h"
#include "win/encoding.h"

namespace {

const Text Work = "C:\\setup-e2e";
const Text Source = Work + "\\Disc";
const Text Target = Work + "\\Installed";
// Two words: the uninstaller gets them as two parameters.
const Text AppName = "Setup E2E App";
const Text RecordKey = "Software\\Morivane\\BrisaSetup\\" + AppName;
const Text ValueKey = "Software\\Morivane\\LumeraTests\\setup-e2e";

Text DataFile(const Text& extraInstallLines) {
    return "[Infomation]\r\nAppName=" + AppName +
           "\r\n"
           "[Install]\r\nPath=" +
           Target + "\r\nDir1=<Setup>\r\nFile1=<Setup>\\tool.txt\r\n" + extraInstallLines +
           "RegWrite1=HKEY_CURRENT_USER\\" + ValueKey +
           "\\Name=<String>installed\r\n"
           "[UnInstall]\r\nVisible=1\r\nFile1=<Setup>\\tool.txt\r\nFile2=<Setup>\\more.txt\r\n"
           "Dir1=<Setup>\r\nRegDelete1=<Key>HKEY_CURRENT_USER\\" +
           ValueKey + "\r\n";
}

void SetString(const Text& key, const Text& name, const Text& text) {
    const std::wstring value = Widen(text);
    RegSetKeyValueW(HKEY_CURRENT_USER, Widen(key).c_str(), Widen(name).c_str(), REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool FolderExists(const Text& path) {
    DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class SetupE2e : public ::testing::Test {
protected:
    void SetUp() override {
        uninstallerWasThere_ = robot::FileExists(WindowsFolder() + "\\Morivane.exe");
        Clean();
        CreateDirectoryW(Widen(Work).c_str(), nullptr);
        CreateDirectoryW(Widen(Source).c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(Widen(BuiltProgram("Setup.exe")).c_str(), Widen(Source + "\\Setup.exe").c_str(),
                              FALSE));
        ASSERT_TRUE(WriteBytes(Source + "\\tool.txt", "the tool"));
    }
    void TearDown() override {
        Clean();
        // The uninstaller never removes itself; the prefix is left as the test found it.
        if (!uninstallerWasThere_)
            DeleteFileW(Widen(WindowsFolder() + "\\Morivane.exe").c_str());
    }
    void Clean() {
        DeleteTree(Work);
        ForgetInstallation();
    }
    void ForgetInstallation() {
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(RecordKey).c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(ValueKey).c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                       Widen("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + AppName).c_str());
    }

    // Runs the program to its end and gives its exit code.
    std::optional<DWORD> Run(const Text& program, const Text& arguments) {
        robot::Process process;
        if (!process.Start(program, arguments))
            return std::nullopt;
        return process.WaitForExit(60000);
    }

    bool uninstallerWasThere_ = false;
};

TEST_F(SetupE2e, SilentInstallThenSilentUninstallLeaveNothingBehind) {
    ASSERT_TRUE(WriteBytes(Source + "\\Setup.dat", DataFile("")));
    const Text log = Work + "\\install.log";
    EXPECT_EQ(Run(Source + "\\Setup.exe", "/SILENT /LOG=" + log), 0u);

    EXPECT_EQ(robot::ReadFileBytes(Target + "\\tool.txt"), std::string("the tool"));
    EXPECT_EQ(robot::ReadRegistryString(HKEY_CURRENT_USER, ValueKey, "Name"), Text("installed"));
    EXPECT_TRUE(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "DateTime").has_value());
    const Text uninstaller = WindowsFolder() + "\\Morivane.exe";
    EXPECT_TRUE(robot::FileExists(uninstaller));
    auto logText = robot::ReadFileBytes(log);
    ASSERT_TRUE(logText.has_value());
    EXPECT_NE(logText->find("tool.txt"), std::string::npos) << *logText;
    EXPECT_NE(logText->find("Completed\r\n"), std::string::npos) << *logText;

    // The uninstaller copy, with the product's two words as two parameters.
    const Text uninstallLog = Work + "\\uninstall.log";
    EXPECT_EQ(Run(uninstaller, AppName + " /SILENT /LOG=" + uninstallLog), 0u);
    EXPECT_FALSE(robot::FileExists(Target + "\\tool.txt"));
    EXPECT_FALSE(FolderExists(Target));
    EXPECT_FALSE(robot::ReadRegistryString(HKEY_CURRENT_USER, ValueKey, "Name").has_value());
    EXPECT_FALSE(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "DateTime").has_value());
    EXPECT_TRUE(robot::FileExists(uninstallLog));

    // Nothing recorded any more: a silent repeat touches nothing and says so by its code.
    EXPECT_EQ(Run(uninstaller, AppName + " /SILENT"), 2u);
}

// Without /SILENT the wizard leads through its pages; the uninstaller asks before it acts.
TEST_F(SetupE2e, InstallThroughTheWizardAndUninstallWithTheUser) {
    ASSERT_TRUE(WriteBytes(Source + "\\Setup.dat",
                           DataFile("") +
                               "[Run]\r\nCaption1=Start it\r\nChecked1=0\r\nProgram1=<Setup>\\tool.txt\r\n"));
    robot::Process setup;
    ASSERT_TRUE(setup.Start(Source + "\\Setup.exe"));
    HWND wizard = robot::WaitForWindow("TSetupMainForm", "", setup.id(), 20000);
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(robot::TextOf(wizard), "ようこそ");
    HWND back = robot::FindControl(wizard, "BitBtn1");
    HWND next = robot::FindControl(wizard, "BitBtn2");
    ASSERT_TRUE(back && next);
    EXPECT_FALSE(IsWindowEnabled(back));
    robot::SaveScreenshot("setup_wizard_welcome.bmp");

    // No licence, readme or shortcuts: the method page follows the welcome page.
    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ方法"));
    HWND folder = robot::FindControl(wizard, "Edit1");
    EXPECT_EQ(robot::TextOf(folder), Target);
    robot::SetText(folder, "");
    EXPECT_TRUE(robot::WaitUntil([&] { return !IsWindowEnabled(next); }));
    robot::Click(robot::FindControl(wizard, "RadioButton2"));
    EXPECT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(next) && !IsWindowEnabled(folder); }));
    robot::Click(robot::FindControl(wizard, "RadioButton1"));
    EXPECT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(folder) && !IsWindowEnabled(next); }));
    robot::SetText(folder, Target + "\\");
    EXPECT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(next); }));
    robot::SaveScreenshot("setup_wizard_method.bmp");

    // A drive that cannot be queried has no free space to install into.
    DWORD drives = GetLogicalDrives();
    char unmapped = 'Z';
    while (unmapped > 'D' && (drives & (1u << (unmapped - 'A'))))
        --unmapped;
    robot::SetText(folder, Text(1, unmapped) + ":\\App");
    robot::Click(next);
    auto full = robot::WaitForMessageBox(setup.id());
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->text, "このﾄﾞﾗｲﾌﾞには空き容量がありません。別のﾄﾞﾗｲﾌﾞを指定して下さい。");
    EXPECT_TRUE(robot::AnswerMessageBox(full->window, IDOK));
    EXPECT_EQ(robot::TextOf(wizard), "ｾｯﾄｱｯﾌﾟ方法");
    robot::SetText(folder, Target + "\\");

    // A missing folder is offered to be made; No stays on the page.
    robot::Click(next);
    auto ask = robot::WaitForMessageBox(setup.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_EQ(ask->text, Target + "\r\nこのﾌｫﾙﾀﾞは存在しません。作成しますか？");
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDNO));
    EXPECT_EQ(robot::TextOf(wizard), "ｾｯﾄｱｯﾌﾟ方法");
    robot::Click(next);
    ask = robot::WaitForMessageBox(setup.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDYES));
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟの開始"));
    EXPECT_TRUE(FolderExists(Target));

    // Esc asks before closing; No keeps the wizard.
    robot::PressKey(wizard, VK_ESCAPE);
    ask = robot::WaitForMessageBox(setup.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_EQ(ask->text, "ｾｯﾄｱｯﾌﾟを中止してもよろしいですか？");
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDNO));
    EXPECT_TRUE(IsWindow(wizard));

    robot::Click(back);
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ方法"));
    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟの開始"));
    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ完了", 30000));
    EXPECT_EQ(robot::TextOf(next), "終了(&E)");
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(wizard, "BitBtn3")));
    // The run page covers the progress page when its first box has a caption.
    EXPECT_TRUE(IsWindowVisible(robot::FindControl(wizard, "RunBox1")));
    EXPECT_EQ(robot::TextOf(robot::FindControl(wizard, "RunBox1")), "Start it");
    EXPECT_FALSE(robot::IsChecked(robot::FindControl(wizard, "RunBox1")));
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(wizard, "RunBox2")));
    robot::SaveScreenshot("setup_wizard_done.bmp");
    EXPECT_EQ(robot::ReadFileBytes(Target + "\\tool.txt"), std::string("the tool"));
    robot::Click(next);
    EXPECT_EQ(setup.WaitForExit(), 0u);

    robot::Process uninstall;
    ASSERT_TRUE(uninstall.Start(WindowsFolder() + "\\Morivane.exe", AppName));
    // No to the first question touches nothing.
    ask = robot::WaitForMessageBox(uninstall.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_EQ(ask->text.rfind("ﾌﾟﾛｸﾞﾗﾑ \"" + AppName + "\" をｱﾝｲﾝｽﾄｰﾙしますか？", 0), 0u) << ask->text;
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDNO));
    EXPECT_EQ(uninstall.WaitForExit(), 2u);
    EXPECT_TRUE(robot::FileExists(Target + "\\tool.txt"));

    robot::Process again;
    ASSERT_TRUE(again.Start(WindowsFolder() + "\\Morivane.exe", AppName));
    HWND window = robot::WaitForWindow("TSetupMainForm", "ﾌﾟﾛｸﾞﾗﾑのｺﾝﾋﾟｭｰﾀからの削除", again.id());
    ASSERT_NE(window, nullptr);
    ask = robot::WaitForMessageBox(again.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDYES));
    HWND ok = robot::FindControl(window, "BitBtn2");
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(ok); }, 20000));
    EXPECT_EQ(robot::TextOf(ok), "OK(&Y)");
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(window, "BitBtn1")));
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(window, "BitBtn3")));
    EXPECT_TRUE(IsWindowVisible(robot::FindControl(window, "CompleteLabel")));
    EXPECT_EQ(robot::TextOf(robot::FindControl(window, "CompleteLabel")), "ｱﾝｲﾝｽﾄｰﾙが完了しました。");
    // Nothing to shorten or make: those bars are hidden, the registry bar always shows.
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(window, "ProgressBar3")));
    EXPECT_TRUE(IsWindowVisible(robot::FindControl(window, "ProgressBar4")));
    robot::WaitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); });
    robot::SaveScreenshot("setup_uninstall_done.bmp");
    robot::Click(ok);
    EXPECT_EQ(again.WaitForExit(), 0u);
    EXPECT_FALSE(FolderExists(Target));
}

// Every settings page offered: Next and Back walk them all, the group field rules hold, Esc
// follows the record's "EscToClose", and Cancel asks before it ends the program.
TEST_F(SetupE2e, WizardWalksEveryPageAndCancels) {
    ASSERT_TRUE(WriteBytes(Source + "\\licence.txt", "first line\nsecond line\n"));
    ASSERT_TRUE(WriteBytes(Source + "\\readme.txt", "read me"));
    ASSERT_TRUE(WriteBytes(Source + "\\Setup.dat",
                           "[Licence]\r\nTextFile=licence.txt\r\n[Readme]\r\nTextFile=readme.txt\r\n"
                           "Caption=Notes\r\n" +
                               DataFile("StartPath=Setup E2E Group\r\n"
                                        "StartMenu1=<Default>\\Tool|<Setup>\\tool.txt|<Setup>|0||0\r\n")));
    // Esc does nothing of its own when the record says so.
    HKEY otherSet = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(RecordKey + "\\OtherSet").c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &otherSet, nullptr),
              ERROR_SUCCESS);
    DWORD zero = 0;
    RegSetValueExW(otherSet, L"EscToClose", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
    RegCloseKey(otherSet);

    robot::Process setup;
    ASSERT_TRUE(setup.Start(Source + "\\Setup.exe"));
    HWND wizard = robot::WaitForWindow("TSetupMainForm", "", setup.id(), 20000);
    ASSERT_NE(wizard, nullptr);
    HWND back = robot::FindControl(wizard, "BitBtn1");
    HWND next = robot::FindControl(wizard, "BitBtn2");
    HWND cancel = robot::FindControl(wizard, "BitBtn3");

    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "製品ﾗｲｾﾝｽ契約"));
    EXPECT_EQ(robot::TextOf(next), "はい(&Y)");
    EXPECT_EQ(robot::TextOf(cancel), "いいえ(&N)");
    EXPECT_EQ(robot::TextOf(robot::FindControl(wizard, "Memo1")), "first line\r\nsecond line\r\n");
    robot::WaitUntil([&] { return !GetUpdateRect(wizard, nullptr, FALSE); });
    Sleep(200);
    robot::SaveScreenshot("setup_wizard_licence.bmp");
    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "情報"));
    EXPECT_EQ(robot::TextOf(next), "次へ(&N) >");
    EXPECT_EQ(robot::TextOf(robot::FindControl(wizard, "Memo2")), "read me");
    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ方法"));
    robot::Click(next);
    auto ask = robot::WaitForMessageBox(setup.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDYES)) << ask->text;
    ASSERT_TRUE(robot::WaitForText(wizard, "ｼｭｰﾄｶｯﾄの作成方法")) << robot::TextOf(wizard);

    HWND startMenu = robot::FindControl(wizard, "CheckBox1");
    HWND group = robot::FindControl(wizard, "Edit2");
    EXPECT_TRUE(robot::IsChecked(startMenu));
    EXPECT_FALSE(IsWindowEnabled(robot::FindControl(wizard, "CheckBox2"))) << "no desktop entry";
    EXPECT_EQ(robot::TextOf(group), "Setup E2E Group");
    robot::SetText(group, "");
    EXPECT_TRUE(robot::WaitUntil([&] { return !IsWindowEnabled(next); }));
    robot::Click(startMenu);
    EXPECT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(next) && !IsWindowEnabled(group); }));
    robot::Click(startMenu);
    EXPECT_TRUE(robot::WaitUntil([&] { return !IsWindowEnabled(next) && IsWindowEnabled(group); }));
    robot::SetText(group, "Another Group");
    EXPECT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(next); }));
    // The picture is for looking at: taken once the window has painted the change.
    robot::WaitUntil([&] { return !GetUpdateRect(wizard, nullptr, FALSE); });
    Sleep(200);
    robot::SaveScreenshot("setup_wizard_shortcuts.bmp");
    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟの開始"));

    // Back walks the same pages in reverse.
    for (const char* caption : {"ｼｭｰﾄｶｯﾄの作成方法", "ｾｯﾄｱｯﾌﾟ方法", "情報", "製品ﾗｲｾﾝｽ契約", "ようこそ"}) {
        robot::Click(back);
        ASSERT_TRUE(robot::WaitForText(wizard, caption)) << caption;
    }
    EXPECT_TRUE(robot::WaitUntil([&] { return !IsWindowEnabled(back); }));

    robot::PressKey(wizard, VK_ESCAPE);
    EXPECT_FALSE(robot::WaitForMessageBox(setup.id(), 1000).has_value()) << "EscToClose 0";
    EXPECT_TRUE(IsWindow(wizard));

    robot::Click(cancel);
    ask = robot::WaitForMessageBox(setup.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_EQ(ask->text, "ｾｯﾄｱｯﾌﾟを中止してもよろしいですか？");
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDYES));
    EXPECT_EQ(setup.WaitForExit(), 2u);
    EXPECT_FALSE(robot::FileExists(Target + "\\tool.txt"));
}

// No to the engine's question ends the run and the wizard; nothing is recorded.
TEST_F(SetupE2e, WizardRunStoppedByNo) {
    ASSERT_TRUE(WriteBytes(Source + "\\Setup.dat", DataFile("File2=<Setup>\\missing.txt\r\n")));
    CreateDirectoryW(Widen(Target).c_str(), nullptr);
    robot::Process setup;
    ASSERT_TRUE(setup.Start(Source + "\\Setup.exe"));
    HWND wizard = robot::WaitForWindow("TSetupMainForm", "", setup.id(), 20000);
    ASSERT_NE(wizard, nullptr);
    HWND next = robot::FindControl(wizard, "BitBtn2");
    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ方法"));
    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟの開始"));
    robot::Click(next);
    auto ask = robot::WaitForMessageBox(setup.id(), 20000);
    ASSERT_TRUE(ask.has_value());
    EXPECT_NE(ask->text.find("missing.txt"), Text::npos) << ask->text;
    EXPECT_NE(ask->text.find("ｾｯﾄｱｯﾌﾟを続行しますか？"), Text::npos) << ask->text;
    // While the run waits for the answer, the wizard cannot be closed.
    PostMessageW(wizard, WM_CLOSE, 0, 0);
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDNO));
    EXPECT_EQ(setup.WaitForExit(), 1u);
    EXPECT_TRUE(robot::FileExists(Target + "\\tool.txt")) << "what was copied stays";
    EXPECT_FALSE(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "DateTime").has_value());
}

TEST_F(SetupE2e, SilentInstallStopsAtAMissingFileWithANonZeroCode) {
    ASSERT_TRUE(WriteBytes(Source + "\\Setup.dat", DataFile("File2=<Setup>\\missing.txt\r\n")));
    const Text log = Work + "\\install.log";
    EXPECT_EQ(Run(Source + "\\Setup.exe", "/SILENT /log=" + log), 1u);
    auto logText = robot::ReadFileBytes(log);
    ASSERT_TRUE(logText.has_value());
    EXPECT_NE(logText->find("Answered No"), std::string::npos) << *logText;
    EXPECT_EQ(logText->find("Completed"), std::string::npos) << *logText;
    // A stopped run writes no record, so no uninstaller would find it.
    EXPECT_FALSE(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "DateTime").has_value());
}

// A "Path" without its drive would be made under whatever the current folder is (and the
// uninstaller later works in the Windows folder): refused before anything is done.
TEST_F(SetupE2e, SilentInstallRefusesAFolderThatIsNotAFullPath) {
    for (const char* path : {"Cool", "C:Cool", "\\Cool"}) {
        Text data = DataFile("");
        data.replace(data.find(Target), Target.size(), path);
        ASSERT_TRUE(WriteBytes(Source + "\\Setup.dat", data));
        const Text log = Work + "\\install.log";
        robot::Process setup;
        ASSERT_TRUE(setup.Start(Source + "\\Setup.exe", "/SILENT /LOG=" + log, Work));
        EXPECT_EQ(setup.WaitForExit(60000), 2u) << path;
        auto logText = robot::ReadFileBytes(log);
        ASSERT_TRUE(logText.has_value()) << path;
        EXPECT_NE(logText->find(std::string("Refused: ") + path), std::string::npos) << *logText;
        EXPECT_EQ(logText->find("tool.txt"), std::string::npos) << *logText;
        EXPECT_FALSE(FolderExists(Work + "\\Cool")) << path;
        EXPECT_FALSE(FolderExists("C:\\Cool")) << path;
        EXPECT_FALSE(robot::ReadRegistryString(HKEY_CURRENT_USER, ValueKey, "Name").has_value()) << path;
        EXPECT_FALSE(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "DateTime").has_value()) << path;
        DeleteTree(Work + "\\Cool");
        DeleteTree("C:\\Cool");
        DeleteFileW(Widen(log).c_str());
        ForgetInstallation();
    }
}

TEST_F(SetupE2e, SilentInstallWithoutDataFileDoesNothing) {
    const Text log = Work + "\\install.log";
    EXPECT_EQ(Run(Source + "\\Setup.exe", "/SILENT /LOG=" + log), 2u);
    auto logText = robot::ReadFileBytes(log);
    ASSERT_TRUE(logText.has_value());
    EXPECT_NE(logText->find("Setup.dat"), std::string::npos) << *logText;
    EXPECT_FALSE(FolderExists(Target));
}

TEST_F(SetupE2e, SilentExitCodesTellTheTruth) {
    const Text shared = "LumeraE2eShared";
    const Text noName = "[Install]\r\nPath=" + Target + "\r\nDir1=<Setup>\r\nFile1=<Setup>\\tool.txt\r\n";
    struct Case {
        const char* what;
        Text data;
        DWORD code;
        const char* logged;
    };
    const Case cases[] = {
        {"a value that cannot be written",
         DataFile("RegWrite2=HKEY_CURRENT_USER\\" + ValueKey + "\\Count=<Integer>twelve\r\n"), 3,
         "Failed: registry not written"},
        {"a key directly below a root", DataFile("RegDelete1=<Key>HKEY_CURRENT_USER\\" + shared + "\r\n"), 3,
         "Refused: registry key"},
        {"an empty data file", "", 2, "AppName"},
        {"binary garbage", Text("\x00\x01\xFF\xFE\x1A[\x80\x81]=\x00", 11), 2, "AppName"},
        {"no [Infomation]", noName, 2, "AppName"},
        {"an empty AppName", "[Infomation]\r\nAppName=\r\n" + noName, 2, "AppName"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(RecordKey).c_str());
        DeleteTree(Target);
        SetString(shared, "Keep", "1");
        ASSERT_TRUE(WriteBytes(Source + "\\Setup.dat", c.data));
        const Text log = Work + "\\install.log";
        EXPECT_EQ(Run(Source + "\\Setup.exe", "/SILENT /LOG=" + log), c.code);
        const Text logText = robot::ReadFileBytes(log).value_or("");
        EXPECT_NE(logText.find(c.logged), Text::npos) << logText;
        EXPECT_EQ(logText.find("Completed\r\n"), Text::npos) << logText;
        EXPECT_TRUE(robot::ReadRegistryString(HKEY_CURRENT_USER, shared, "Keep").has_value());
        EXPECT_EQ(FolderExists(Target), c.code != 2)
            << "nothing is installed for a data file without a product";
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(shared).c_str());

    // Installed, then the user's record changed by a program the user ran: refused, untouched.
    ASSERT_TRUE(WriteBytes(Source + "\\Setup.dat", DataFile("")));
    ASSERT_EQ(Run(Source + "\\Setup.exe", "/SILENT"), 0u);
    const Text victim = Work + "\\victim.txt";
    ASSERT_TRUE(WriteBytes(victim, "not the product's"));
    SetString(RecordKey, "File3", victim);
    const Text uninstallLog = Work + "\\uninstall.log";
    EXPECT_EQ(Run(WindowsFolder() + "\\Morivane.exe", AppName + " /SILENT /LOG=" + uninstallLog), 4u);
    EXPECT_TRUE(robot::FileExists(victim));
    EXPECT_TRUE(robot::FileExists(Target + "\\tool.txt"));
    EXPECT_NE(robot::ReadFileBytes(uninstallLog).value_or("").find("Refused: "), Text::npos);
}

TEST_F(SetupE2e, MissingDataFileIsReportedInInstallMode) {
    robot::Process setup;
    ASSERT_TRUE(setup.Start(Source + "\\Setup.exe"));
    auto box = robot::WaitForMessageBox(setup.id());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "Brisa Setup for Windows");
    EXPECT_EQ(box->text, "ｾｯﾄｱｯﾌﾟﾃﾞｰﾀが見つかりません。\r\n" + Source + "\\Setup.dat");
    EXPECT_TRUE(robot::AnswerMessageBox(box->window, IDOK));
    EXPECT_EQ(setup.WaitForExit(), 2u);
}

TEST_F(SetupE2e, UninstallerStartMessages) {
    // The uninstaller copy is whatever Setup.exe runs from the Windows folder.
    const Text uninstaller = WindowsFolder() + "\\Morivane.exe";
    ASSERT_TRUE(CopyFileW(Widen(BuiltProgram("Setup.exe")).c_str(), Widen(uninstaller).c_str(), FALSE));
    {
        robot::Process bare;
        ASSERT_TRUE(bare.Start(uninstaller));
        auto box = robot::WaitForMessageBox(bare.id());
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, "Brisa Setup for Windows");
        EXPECT_NE(box->text.find("のｱﾝｲﾝｽﾄｰﾗです。"), Text::npos) << box->text;
        EXPECT_TRUE(robot::AnswerMessageBox(box->window, IDOK));
        EXPECT_EQ(bare.WaitForExit(), 2u);
    }
    robot::Process unknown;
    ASSERT_TRUE(unknown.Start(uninstaller, AppName));
    auto box = robot::WaitForMessageBox(unknown.id());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text.rfind("「" + AppName + "」のｱﾝｲﾝｽﾄｰﾙ情報がありません。", 0), 0u) << box->text;
    EXPECT_TRUE(robot::AnswerMessageBox(box->window, IDOK));
    EXPECT_EQ(unknown.WaitForExit(), 2u);
}

} // namespace
