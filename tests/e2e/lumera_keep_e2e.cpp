// The tray program loses nothing: the session's end writes back what the program keeps,
// a screen saver switched off survives an abrupt end, the settings window's OK keeps what
// it did not edit, and failures of the logo files are told instead of recorded.
#include <gtest/gtest.h>

#include "lumera_win98_support.h"

using namespace lumera_e2e;

namespace {

// A screen saver in a folder the settings list, set as the user's; the desktop values
// are put back afterwards.
class KeepTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        savedSaver_ = DesktopValue("SCRNSAVE.EXE");
        savers = installation.file("savers");
        CreateDirectoryW(Widen(savers).c_str(), nullptr);
        saver = savers + "\\Stars.scr";
        WriteBytes(saver, "");
        SetSettingStringRaw("Screen", "Path", savers);
        SetSettingIntRaw("OtherSet", "SplashVisible", 0);
        SetDesktopValue("SCRNSAVE.EXE", saver);
    }
    void TearDown() override {
        SetDesktopValue("SCRNSAVE.EXE", savedSaver_);
        ResetSettings();
    }

    // Starts the program and switches the screen saver off from the menu.
    void StartAndSwitchOff(RunningLumera& lumera) {
        ASSERT_TRUE(lumera.Start(installation));
        ASSERT_TRUE(robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 1u; }));
        ASSERT_TRUE(Choose(lumera, {"無効(&F)"}));
        ASSERT_TRUE(robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 0u; }));
        ASSERT_FALSE(DesktopValue("SCRNSAVE.EXE"));
    }

    Installation installation{"keep"};
    Text savers, saver;

private:
    std::optional<Text> savedSaver_;
};

TEST_F(KeepTest, TheProgramIsReadyOnlyWithItsIconInTheTray) {
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    HWND form = MainForm(lumera.process.id());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(GetPropW(form, L"LumeraReady"), reinterpret_cast<HANDLE>(1));
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(KeepTest, TheSessionsEndWritesEverythingBackWithoutAsking) {
    SetSettingIntRaw("OtherSet", "EndMsg", 1); // a question would hold up the log-off
    RunningLumera lumera;
    StartAndSwitchOff(lumera);
    // Until the end, the user's screen saver is noted where a later start finds it.
    EXPECT_TRUE(SamePath(SettingString("Screen", "SavedScreenSaver"), saver));

    HWND form = MainForm(lumera.process.id());
    ASSERT_NE(form, nullptr);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(
        SendMessageTimeoutW(form, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutW(form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_FALSE(robot::WaitForMessageBox(lumera.process.id(), 500));
    auto exitCode = lumera.process.WaitForExit(15000);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0u);

    EXPECT_EQ(SettingInt("Screen", "Enabled"), 1u);
    EXPECT_TRUE(SamePath(DesktopValue("SCRNSAVE.EXE"), saver))
        << DesktopValue("SCRNSAVE.EXE").value_or("(none)");
    EXPECT_FALSE(SettingString("Screen", "SavedScreenSaver"));
    EXPECT_TRUE(SettingInt("Position", "MainTop").has_value());
    EXPECT_TRUE(SettingInt("Position", "SetBarTab").has_value());
    EXPECT_EQ(SettingInt("Position", "Run2"), 100u);
    EXPECT_TRUE(SettingInt("History", "OpenFilter").has_value());
}

// The session's end as the system brings it: Wine's wineboot asks every window of the
// session, as a log-off does, and then ends the processes.
TEST_F(KeepTest, ALogOffOfTheSessionWritesEverythingBack) {
    RunningLumera lumera;
    StartAndSwitchOff(lumera);
    // The test itself is a console process of the session: it stays to check the result.
    SetConsoleCtrlHandler([](DWORD) -> BOOL { return TRUE; }, TRUE);
    robot::Process logOff;
    ASSERT_TRUE(logOff.Start("C:\\windows\\system32\\wineboot.exe", "--end-session"));
    EXPECT_TRUE(logOff.WaitForExit(15000).has_value());
    EXPECT_TRUE(lumera.ExpectExitCodeZero(15000));
    SetConsoleCtrlHandler(nullptr, FALSE);

    EXPECT_EQ(SettingInt("Screen", "Enabled"), 1u);
    EXPECT_TRUE(SamePath(DesktopValue("SCRNSAVE.EXE"), saver))
        << DesktopValue("SCRNSAVE.EXE").value_or("(none)");
    EXPECT_FALSE(SettingString("Screen", "SavedScreenSaver"));
    EXPECT_TRUE(SettingInt("Position", "MainTop").has_value());
}

TEST_F(KeepTest, TheSessionsEndDuringTheEndQuestionWritesOnceAndEnds) {
    SetSettingIntRaw("OtherSet", "EndMsg", 1);
    RunningLumera lumera;
    StartAndSwitchOff(lumera);
    lumera.Choose({"終了(&X)"});
    auto question = robot::WaitForMessageBox(lumera.process.id());
    ASSERT_TRUE(question.has_value());

    HWND form = MainForm(lumera.process.id());
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(form, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
    SendMessageTimeoutW(form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_TRUE(robot::WaitUntil([&] { return SamePath(DesktopValue("SCRNSAVE.EXE"), saver); }));
    // The question may still be up; whatever its answer, the program ends once.
    if (IsWindow(question->window))
        robot::AnswerMessageBox(question->window, IDYES, 3000);
    auto exitCode = lumera.process.WaitForExit(15000);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_EQ(SettingInt("Screen", "Enabled"), 1u);
}

TEST_F(KeepTest, AStartAfterAnAbruptEndPutsTheScreenSaverBack) {
    {
        RunningLumera lumera;
        StartAndSwitchOff(lumera);
        ASSERT_TRUE(lumera.Kill());
    }
    ASSERT_FALSE(DesktopValue("SCRNSAVE.EXE"));
    ASSERT_EQ(SettingInt("Screen", "Enabled"), 0u);

    RunningLumera again;
    ASSERT_TRUE(again.Start(installation));
    EXPECT_TRUE(SamePath(DesktopValue("SCRNSAVE.EXE"), saver))
        << DesktopValue("SCRNSAVE.EXE").value_or("(none)");
    EXPECT_TRUE(robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 1u; }));
    EXPECT_FALSE(SettingString("Screen", "SavedScreenSaver"));
    EXPECT_TRUE(again.Exit());
}

TEST_F(KeepTest, ConfirmingTheSettingsGivesANamelessSnippetNoName) {
    SetSettingIntRaw("Clipboard", "Visible", 1);
    SetSettingStringRaw("Clipboard", "Clip1", "info@example.jp");
    SetSettingStringRaw("Clipboard", "Name2", "住所");
    SetSettingStringRaw("Clipboard", "Clip2", "(住所)");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    lumera.Choose({"設定(&S)"});
    HWND form = MainForm(lumera.process.id());
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(form) != FALSE; }));
    HWND ok = robot::WaitForControl(form, "BitBtn1");
    ASSERT_NE(ok, nullptr);
    robot::Click(ok);
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(form) == FALSE; }));

    EXPECT_FALSE(SettingString("Clipboard", "Name1"));
    EXPECT_EQ(SettingString("Clipboard", "Clip1"), Text("info@example.jp"));
    EXPECT_EQ(SettingString("Clipboard", "Name2"), Text("住所"));
    robot::PopupMenu clipboard = ReadSubmenu(lumera, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)");
    EXPECT_EQ(clipboard.Captions(), (std::vector<Text>{"info@example.jp", "住所"}));
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(KeepTest, TheNtFamilyOffersPicturesBesideBitmapsAsWallpaper) {
    Text pictures = installation.file("pictures");
    CreateDirectoryW(Widen(pictures).c_str(), nullptr);
    for (const char* name : {"a.bmp", "b.jpg", "c.jpeg", "d.png", "e.gif", "f.txt", "g.scr"})
        WriteBytes(pictures + "\\" + name, "");
    SetSettingStringRaw("Wall", "Path", pictures);
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    robot::PopupMenu walls = ReadSubmenu(lumera, "壁紙(&B)");
    EXPECT_EQ(walls.Captions(), (std::vector<Text>{"(なし)", "a", "b", "c", "d", "e", "(その他)"}));
    EXPECT_TRUE(lumera.Exit());
}

using KeepWin98Test = Win98Fixture;

TEST_F(KeepWin98Test, TheFamilyKeepsBitmapsAsItsOnlyWallpapers) {
    Installation installation("keep-98-walls");
    Text pictures = installation.file("pictures");
    CreateDirectoryW(Widen(pictures).c_str(), nullptr);
    for (const char* name : {"a.bmp", "b.jpg", "d.png"})
        WriteBytes(pictures + "\\" + name, "");
    SetSettingStringRaw("Wall", "Path", pictures);
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    EXPECT_EQ(ReadSubmenu(lumera, "壁紙(&B)").Captions(), (std::vector<Text>{"(なし)", "a", "(その他)"}));
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(KeepWin98Test, ALogoThatCannotBeReplacedIsToldAndTheMarksStay) {
    Installation installation("keep-98-logo");
    Text logoDir = installation.file("LogoDir");
    CreateDirectoryW(Widen(logoDir).c_str(), nullptr);
    WriteBytes(logoDir + "\\Sunrise.bmp", "sunrise");
    // The system file lies in a folder that does not exist: the copy fails.
    const Text target = "C:\\lumera-e2e\\no-such-folder\\LOGO.SYS";
    SetSettingStringRaw("Logo", "LogoSys", target);
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    ASSERT_EQ(Checked(ReadSubmenu(lumera, "起動ﾛｺﾞ(&L)")), std::vector<Text>{"(標準)"});

    ASSERT_TRUE(Choose(lumera, {"起動ﾛｺﾞ(&L)", "Sunrise"}));
    auto failure = robot::WaitForMessageBox(lumera.process.id());
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->text, target + "\nﾛｺﾞを変更できませんでした。");
    EXPECT_EQ(failure->caption, "Lumera Deck for Windows");
    ASSERT_TRUE(robot::AnswerMessageBox(failure->window, IDOK));
    EXPECT_EQ(Checked(ReadSubmenu(lumera, "起動ﾛｺﾞ(&L)")), std::vector<Text>{"(標準)"});
    EXPECT_EQ(SettingString("Logo", "LogoFile"), Text());
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(KeepWin98Test, WatchedDrivesChosenSinceTheStartSurviveTheSettingsWindow) {
    const Text driveFolder = "C:\\lumera-e2e\\cd-q";
    DeleteTree(driveFolder);
    WineDrive drive(L'Q', DRIVE_CDROM, Widen(driveFolder));
    if (!drive.defined())
        GTEST_SKIP() << "needs Wine's mount manager";
    Installation installation("keep-98-watch");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    auto watched = [&] { return IsMarked(ReadSubmenu(lumera, "AUTORUN監視(&A)"), "CD-ROM (Q:)") == true; };
    ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", "CD-ROM (Q:)"}));
    // The choice runs in the program's own time, after the click has reached its menu.
    ASSERT_TRUE(robot::WaitUntil(watched));

    lumera.Choose({"設定(&S)"});
    HWND form = MainForm(lumera.process.id());
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(form) != FALSE; }));
    robot::Click(robot::WaitForControl(form, "BitBtn1"));
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(form) == FALSE; }));

    EXPECT_TRUE(watched());
    EXPECT_TRUE(lumera.Exit());
    EXPECT_EQ(SettingInt("Kickon", "Q"), 1u);
}

} // namespace
