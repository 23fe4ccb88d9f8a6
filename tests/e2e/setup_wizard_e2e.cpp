// The setup wizard through whole runs: a long installation with the window answering all
// along, shortcuts made in the Start menu, on the Desktop and in Send To and removed again,
// an installation folder whose name code page 932 cannot hold, and the folder chooser.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "robot.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/shortcut.h"

namespace {

const std::wstring Work = L"C:\\setup-wizard-e2e";
const std::wstring Source = Work + L"\\Disc";
const std::wstring Desktop = Work + L"\\Desktop";
const Text AppName = "Wizard E2E App";
const std::wstring RecordKey = L"Software\\Morivane\\BrisaSetup\\Wizard E2E App";
const std::wstring UninstallKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Wizard E2E App";
const Text Group = "Wizard E2E Group";

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring RecordValue(const wchar_t* name) {
    wchar_t value[MAX_PATH] = L"";
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, RecordKey.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return L"";
    return value;
}

std::wstring ShellFolder(int id) {
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// The caption without a message to the window, so a busy window does not hold the test.
Text CaptionOf(HWND window) {
    wchar_t caption[64] = L"";
    InternalGetWindowText(window, caption, 64);
    return Narrow(std::wstring(caption));
}

// What a window said about one of its progress bars while a long run went on.
struct BarWatch {
    std::set<DWORD_PTR> midway; // positions strictly between the start and the end
    ULONGLONG slowest = 0;      // ms, the slowest round trip
    bool answeredAll = true;
};

// Samples the bar until done() holds: every round trip is timed, and each position the
// window gives while the run is still going shows it answered in the middle of it.
// onceMidway() runs once, at the first such position.
BarWatch WatchBar(HWND bar, int total, const std::function<bool()>& done,
                  const std::function<void()>& onceMidway) {
    BarWatch watch;
    bool called = false;
    const ULONGLONG end = GetTickCount64() + 120000;
    while (GetTickCount64() < end && !done()) {
        const ULONGLONG before = GetTickCount64();
        DWORD_PTR position = 0;
        LRESULT answered = SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 10000, &position);
        watch.slowest = std::max(watch.slowest, GetTickCount64() - before);
        if (!answered) {
            watch.answeredAll = false;
            break;
        }
        if (position > 0 && position < static_cast<DWORD_PTR>(total))
            watch.midway.insert(position);
        if (!called && !watch.midway.empty() && onceMidway) {
            called = true;
            onceMidway();
        }
        Sleep(5);
    }
    return watch;
}

// A data file installing the given number of 64 KiB files, each written to the source
// folder, with the uninstall list naming them all.
std::string ManyFilesDataFile(const std::wstring& target, int files) {
    const std::string block(64 * 1024, 'x');
    std::string install = "[Install]\r\nPath=" + Narrow(target) + "\r\nDir1=<Setup>\r\n";
    std::string uninstall = "[UnInstall]\r\nVisible=1\r\nDir1=<Setup>\r\n";
    for (int i = 1; i <= files; ++i) {
        const std::string name = "d" + std::to_string(i) + ".bin";
        WriteBytes(Source + L"\\" + Widen(name), block);
        install += "File" + std::to_string(i) + "=<Setup>\\" + name + "\r\n";
        uninstall += "File" + std::to_string(i) + "=<Setup>\\" + name + "\r\n";
    }
    return "[Infomation]\r\nAppName=" + AppName + "\r\n" + install + uninstall;
}

class SetupWizardE2e : public ::testing::Test {
protected:
    void SetUp() override {
        uninstallerWasThere_ = Exists(Widen(WindowsFolder()) + L"\\Morivane.exe");
        Clean();
        CreateDirectoryW(Work.c_str(), nullptr);
        CreateDirectoryW(Source.c_str(), nullptr);
        // The prefix's desktop is the Unix home: the shortcuts go to a desktop of the test's own.
        CreateDirectoryW(Desktop.c_str(), nullptr);
        desktop_ = std::make_unique<ShellFolderOverride>("Desktop", Desktop);
        ASSERT_TRUE(
            CopyFileW(Widen(BuiltProgram("Setup.exe")).c_str(), (Source + L"\\Setup.exe").c_str(), FALSE));
        ASSERT_TRUE(WriteBytes(Source + L"\\tool.txt", "the tool"));
    }
    void TearDown() override {
        Clean();
        desktop_.reset();
        if (!uninstallerWasThere_)
            DeleteFileW((Widen(WindowsFolder()) + L"\\Morivane.exe").c_str());
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
    // Starts the wizard and goes on to its method page.
    HWND OpenMethodPage(robot::Process& setup) {
        if (!setup.Start(Narrow(Source + L"\\Setup.exe")))
            return nullptr;
        HWND wizard = robot::WaitForWindow("TSetupMainForm", "", setup.id(), 20000);
        if (!wizard)
            return nullptr;
        robot::Click(robot::FindControl(wizard, "BitBtn2"));
        return robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ方法") ? wizard : nullptr;
    }

    HWND WalkToStartPage(robot::Process& setup, bool shortcutPage,
                         const std::function<void(HWND wizard)>& onMethodPage = nullptr) {
        HWND wizard = OpenMethodPage(setup);
        if (!wizard)
            return nullptr;
        HWND next = robot::FindControl(wizard, "BitBtn2");
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
    std::unique_ptr<ShellFolderOverride> desktop_;
};

// The engine runs inside the Next handler; the window must go on painting and answering,
// and nothing that reaches it meanwhile may start a second run or close it.
TEST_F(SetupWizardE2e, WindowAnswersWhileALongInstallationRuns) {
    const std::wstring target = Work + L"\\Installed";
    CreateDirectoryW(target.c_str(), nullptr);
    constexpr int Files = 1500;
    ASSERT_TRUE(WriteBytes(Source + L"\\Setup.dat", ManyFilesDataFile(target, Files)));

    robot::Process setup;
    HWND wizard = WalkToStartPage(setup, false);
    ASSERT_NE(wizard, nullptr);
    const auto backgrounds = robot::FindTopWindows("TBackForm", "", setup.id());
    ASSERT_EQ(backgrounds.size(), 1u);
    HWND back = backgrounds.front();
    HWND next = robot::FindControl(wizard, "BitBtn2");
    HWND bar = robot::FindControl(wizard, "ProgressBar2");
    ASSERT_TRUE(next && bar);
    robot::Click(next);

    bool poked = false;
    BarWatch watch = WatchBar(
        bar, Files, [&] { return CaptionOf(wizard) == "ｾｯﾄｱｯﾌﾟ完了" || !IsWindow(wizard); },
        [&] {
            // Closing, Esc, Next again and closing the background all come while it runs.
            poked = true;
            PostMessageW(wizard, WM_CLOSE, 0, 0);
            PostMessageW(wizard, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageW(next, BM_CLICK, 0, 0);
            PostMessageW(back, WM_CLOSE, 0, 0);
        });
    EXPECT_TRUE(poked);
    EXPECT_TRUE(watch.answeredAll) << "the wizard did not answer within 10 s";
    EXPECT_GE(watch.midway.size(), 3u) << "positions seen while the run went on";
    EXPECT_LT(watch.slowest, 1500u) << "slowest round trip, ms";
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ完了", 60000));
    EXPECT_FALSE(robot::WaitForMessageBox(setup.id(), 500).has_value()) << "no closing question while it ran";
    // Full at the end: the files and the uninstaller's copy.
    DWORD_PTR position = 0, maximum = 0;
    SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &position);
    SendMessageTimeoutW(bar, PBM_GETRANGE, FALSE, 0, SMTO_NORMAL, 5000, &maximum);
    EXPECT_EQ(maximum, static_cast<DWORD_PTR>(Files + 1));
    EXPECT_EQ(position, maximum);
    EXPECT_TRUE(Exists(target + L"\\d" + std::to_wstring(Files) + L".bin"));
    robot::WaitUntil([&] { return !GetUpdateRect(wizard, nullptr, FALSE); });
    robot::SaveScreenshot("setup_wizard_long_done.bmp");
    robot::Click(next);
    EXPECT_EQ(setup.WaitForExit(), 0u);
}

// The uninstaller's window keeps answering while it removes many files, and refuses to
// close until it is done.
TEST_F(SetupWizardE2e, UninstallWindowAnswersWhileItRemovesManyFiles) {
    const std::wstring target = Work + L"\\Installed";
    constexpr int Files = 1500;
    ASSERT_TRUE(WriteBytes(Source + L"\\Setup.dat", ManyFilesDataFile(target, Files)));
    robot::Process setup;
    ASSERT_TRUE(setup.Start(Narrow(Source + L"\\Setup.exe"), "/SILENT"));
    ASSERT_EQ(setup.WaitForExit(120000), 0u);
    ASSERT_TRUE(Exists(target + L"\\d" + std::to_wstring(Files) + L".bin"));

    robot::Process uninstall;
    ASSERT_TRUE(uninstall.Start(Narrow(Widen(WindowsFolder()) + L"\\Morivane.exe"), AppName));
    HWND window = robot::WaitForWindow("TSetupMainForm", "ﾌﾟﾛｸﾞﾗﾑのｺﾝﾋﾟｭｰﾀからの削除", uninstall.id());
    ASSERT_NE(window, nullptr);
    HWND bar = robot::FindControl(window, "ProgressBar1");
    HWND ok = robot::FindControl(window, "BitBtn2");
    ASSERT_TRUE(bar && ok);
    auto ask = robot::WaitForMessageBox(uninstall.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDYES));

    bool poked = false;
    BarWatch watch = WatchBar(
        bar, Files, [&] { return IsWindowEnabled(ok) || !IsWindow(window); },
        [&] {
            poked = true;
            PostMessageW(window, WM_CLOSE, 0, 0);
            PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        });
    EXPECT_TRUE(poked);
    EXPECT_TRUE(watch.answeredAll) << "the uninstaller did not answer within 10 s";
    EXPECT_GE(watch.midway.size(), 3u) << "positions seen while the run went on";
    EXPECT_LT(watch.slowest, 1500u) << "slowest round trip, ms";
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(ok); }, 60000));
    EXPECT_TRUE(IsWindow(window)) << "closing is refused while it runs";
    EXPECT_FALSE(Exists(target));
    EXPECT_TRUE(RecordValue(L"DateTime").empty());
    robot::Click(ok);
    EXPECT_EQ(uninstall.WaitForExit(), 0u);
}

// A whole run with every kind of shortcut into a folder typed with a name code page 932
// cannot hold; the uninstaller then takes all of it away again.
TEST_F(SetupWizardE2e, ShortcutsAndAWideFolderAreInstalledRecordedAndRemoved) {
    const std::wstring folder = Work + L"\\Jos\u00e9 \ud55c\uae00";
    const std::string shortcut = "Wizard Tool|<Setup>\\tool.txt|<Setup>|0||0";
    ASSERT_TRUE(WriteBytes(Source + L"\\Setup.dat",
                           "[Infomation]\r\nAppName=" + AppName + "\r\n[Install]\r\nPath=" + Narrow(Work) +
                               "\\Default\r\nDir1=<Setup>\r\nFile1=<Setup>\\tool.txt\r\nStartPath=" + Group +
                               "\r\nStartMenu1=<Default>\\" + shortcut + "\r\nDeskTop1=" + shortcut +
                               "\r\nSendTo1=" + shortcut +
                               "\r\n[UnInstall]\r\nVisible=1\r\nFile1=<Setup>\\tool.txt\r\nDir1=<Setup>\r\n"
                               "StartMenu1=<Default>\\Wizard Tool|\r\nDeskTop1=Wizard Tool\r\n"
                               "SendTo1=Wizard Tool\r\n"));
    robot::Process setup;
    HWND wizard = OpenMethodPage(setup);
    ASSERT_NE(wizard, nullptr);
    HWND next = robot::FindControl(wizard, "BitBtn2");
    HWND field = robot::FindControl(wizard, "Edit1");
    robot::SetText(field, "");
    ASSERT_TRUE(robot::Focus(field));
    ASSERT_TRUE(robot::TypeText(field, folder));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::WideTextOf(field) == folder; }))
        << Narrow(robot::WideTextOf(field));
    robot::Click(next);
    auto ask = robot::WaitForMessageBox(setup.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDYES)) << ask->text;
    ASSERT_TRUE(robot::WaitForText(wizard, "ｼｭｰﾄｶｯﾄの作成方法"));
    EXPECT_TRUE(Exists(folder));
    for (const char* box : {"CheckBox1", "CheckBox2", "CheckBox3"})
        EXPECT_TRUE(robot::IsChecked(robot::FindControl(wizard, box))) << box;
    EXPECT_EQ(robot::TextOf(robot::FindControl(wizard, "Edit2")), Group);
    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟの開始"));
    robot::Click(next);
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ完了", 30000));
    EXPECT_TRUE(IsWindowVisible(robot::FindControl(wizard, "CompleteLabel")));
    // The picture is for looking at: taken once the window has painted the change.
    robot::WaitUntil([&] { return !GetUpdateRect(wizard, nullptr, FALSE); });
    Sleep(200);
    robot::SaveScreenshot("setup_wizard_wide_done.bmp");
    robot::Click(next);
    EXPECT_EQ(setup.WaitForExit(), 0u);

    const std::wstring tool = folder + L"\\tool.txt";
    EXPECT_EQ(robot::ReadFileBytes(Narrow(GetShortPath(tool))), std::string("the tool"));
    EXPECT_TRUE(SamePath(RecordValue(L"SetupPath"), folder)) << "recorded whole";
    EXPECT_TRUE(SamePath(RecordValue(L"File1"), tool));
    const std::wstring links[] = {ShellFolder(CSIDL_PROGRAMS) + L"\\" + Widen(Group) + L"\\Wizard Tool.lnk",
                                  ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\Wizard Tool.lnk",
                                  ShellFolder(CSIDL_SENDTO) + L"\\Wizard Tool.lnk"};
    for (const std::wstring& link : links) {
        ASSERT_TRUE(Exists(link)) << Narrow(link);
        EXPECT_TRUE(SamePath(GetLongPath(GetShortcutTarget(link)), tool)) << Narrow(link);
    }

    robot::Process uninstall;
    ASSERT_TRUE(uninstall.Start(Narrow(Widen(WindowsFolder()) + L"\\Morivane.exe"), AppName));
    HWND window = robot::WaitForWindow("TSetupMainForm", "ﾌﾟﾛｸﾞﾗﾑのｺﾝﾋﾟｭｰﾀからの削除", uninstall.id());
    ASSERT_NE(window, nullptr);
    ask = robot::WaitForMessageBox(uninstall.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDYES));
    HWND ok = robot::FindControl(window, "BitBtn2");
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(ok); }, 20000));
    robot::WaitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); });
    robot::SaveScreenshot("setup_uninstall_wide_done.bmp");
    robot::Click(ok);
    EXPECT_EQ(uninstall.WaitForExit(), 0u);
    EXPECT_FALSE(Exists(tool));
    EXPECT_FALSE(Exists(folder));
    for (const std::wstring& link : links)
        EXPECT_FALSE(Exists(link)) << Narrow(link);
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_PROGRAMS) + L"\\" + Widen(Group)));
    EXPECT_TRUE(Exists(ShellFolder(CSIDL_PROGRAMS))) << "the user's own folder stays";
    EXPECT_TRUE(RecordValue(L"DateTime").empty());
}

// "参照(&A)" opens the folder chooser at the field's folder: Cancel keeps the field, OK
// puts the chosen folder in it.
TEST_F(SetupWizardE2e, BrowseChoosesTheInstallationFolder) {
    const std::wstring pick = Work + L"\\Pick";
    CreateDirectoryW(pick.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(Source + L"\\Setup.dat", "[Infomation]\r\nAppName=" + AppName +
                                                        "\r\n[Install]\r\nPath=" + Narrow(pick) +
                                                        "\\\r\nDir1=<Setup>\r\n"));
    robot::Process setup;
    ASSERT_TRUE(setup.Start(Narrow(Source + L"\\Setup.exe")));
    HWND wizard = robot::WaitForWindow("TSetupMainForm", "", setup.id(), 20000);
    ASSERT_NE(wizard, nullptr);
    robot::Click(robot::FindControl(wizard, "BitBtn2"));
    ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ方法"));
    HWND field = robot::FindControl(wizard, "Edit1");
    HWND browse = robot::FindControl(wizard, "BitBtn4");
    EXPECT_EQ(robot::TextOf(browse), "参照(&A)");
    EXPECT_TRUE(SamePath(robot::WideTextOf(field), pick));
    // A trailing backslash, which the shell does not give back, tells its answer from the field.
    robot::SetText(field, Narrow(pick) + "\\");

    for (int answer : {IDCANCEL, IDOK}) {
        robot::ClickMouse(browse);
        HWND chooser = robot::WaitForWindow("#32770", "", setup.id());
        ASSERT_TRUE(chooser);
        EXPECT_TRUE(robot::WaitUntil([&] {
            for (const robot::ControlInfo& control : robot::ListControls(chooser))
                if (control.text == "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞを選択してください。")
                    return true;
            return false;
        }));
        if (answer == IDCANCEL)
            robot::SaveScreenshot("setup_wizard_browse.bmp");
        ASSERT_TRUE(robot::AnswerMessageBox(chooser, answer));
        ASSERT_TRUE(robot::WaitUntil([&] { return !IsWindow(chooser); }));
        if (answer == IDCANCEL)
            EXPECT_EQ(robot::WideTextOf(field), pick + L"\\") << "Cancel keeps the field";
        else
            EXPECT_TRUE(robot::WaitUntil([&] { return SamePath(robot::WideTextOf(field), pick); }))
                << "the chosen folder, as the shell names it: " << Narrow(robot::WideTextOf(field));
    }
    robot::Click(robot::FindControl(wizard, "BitBtn3"));
    auto ask = robot::WaitForMessageBox(setup.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDYES));
    EXPECT_EQ(setup.WaitForExit(), 2u);
}

// The run page lies over the progress page once the installation is done: there is
// nothing left to cancel, so the close box, Alt+F4 and Esc close without the question.
TEST_F(SetupWizardE2e, ClosingTheRunPageAsksNothing) {
    ASSERT_TRUE(WriteBytes(Source + L"\\Setup.dat", "[Infomation]\r\nAppName=" + AppName +
                                                        "\r\n[Install]\r\nPath=" + Narrow(Work) +
                                                        "\\Installed\r\nDir1=<Setup>\r\n"
                                                        "[Run]\r\nCaption1=Start it\r\nChecked1=1\r\n"
                                                        "Program1=<Setup>\\missing.exe\r\n"));
    CreateDirectoryW((Work + L"\\Installed").c_str(), nullptr);
    const std::pair<const char*, std::function<void(HWND)>> ways[] = {
        {"close box", [](HWND wizard) { PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4", [](HWND wizard) { robot::PressKey(wizard, VK_F4, robot::Alt); }},
        {"Esc", [](HWND wizard) { robot::PressKey(robot::FindControl(wizard, "BitBtn2"), VK_ESCAPE); }},
    };
    for (const auto& [way, close] : ways) {
        robot::Process setup;
        HWND wizard = WalkToStartPage(setup, false);
        ASSERT_NE(wizard, nullptr) << way;
        robot::Click(robot::FindControl(wizard, "BitBtn2"));
        ASSERT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ完了", 30000)) << way;
        HWND runBox = robot::FindControl(wizard, "RunBox1");
        ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(runBox); })) << way;
        close(wizard);
        auto ask = robot::WaitForMessageBox(setup.id(), 1500);
        if (ask) {
            ADD_FAILURE() << way << " asked: " << ask->text;
            robot::AnswerMessageBox(ask->window, IDYES);
        }
        EXPECT_EQ(setup.WaitForExit(), 0u) << way;
        RegDeleteTreeW(HKEY_CURRENT_USER, RecordKey.c_str());
    }
}

// A folder typed without its drive would be made under whatever the current folder is, and
// recorded so; the wizard asks for a full path and stays on its page.
TEST_F(SetupWizardE2e, ARelativeFolderIsAskedForAgain) {
    ASSERT_TRUE(WriteBytes(Source + L"\\Setup.dat", "[Infomation]\r\nAppName=" + AppName +
                                                        "\r\n[Install]\r\nPath=" + Narrow(Work) +
                                                        "\\Installed\r\nDir1=<Setup>\r\n"));
    robot::Process setup;
    HWND wizard = OpenMethodPage(setup);
    ASSERT_NE(wizard, nullptr);
    HWND next = robot::FindControl(wizard, "BitBtn2");
    HWND field = robot::FindControl(wizard, "Edit1");
    for (const char* typed : {"Cool", "C:Cool", "\\Cool"}) {
        robot::SetText(field, typed);
        robot::Click(next);
        auto told = robot::WaitForMessageBox(setup.id());
        ASSERT_TRUE(told.has_value()) << typed;
        EXPECT_NE(told->text.find("完全なﾊﾟｽ"), Text::npos) << told->text;
        EXPECT_TRUE(robot::AnswerMessageBox(told->window, IDOK));
        EXPECT_TRUE(robot::WaitForText(wizard, "ｾｯﾄｱｯﾌﾟ方法")) << typed;
    }
    EXPECT_FALSE(Exists(Source + L"\\Cool"));
    EXPECT_FALSE(Exists(Widen(WindowsFolder()) + L"\\Cool"));
    robot::Click(robot::FindControl(wizard, "BitBtn3"));
    auto ask = robot::WaitForMessageBox(setup.id());
    ASSERT_TRUE(ask.has_value());
    EXPECT_TRUE(robot::AnswerMessageBox(ask->window, IDYES));
    EXPECT_EQ(setup.WaitForExit(), 2u);
}

} // namespace
