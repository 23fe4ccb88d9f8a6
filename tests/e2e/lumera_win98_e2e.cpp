// The tray program's Windows 95 family features: the logo pictures and the Kickon watch on
// removable and CD-ROM drives. Wine reports Windows 98 to Lumera.exe alone (AppDefaults),
// and its mount manager makes a folder a CD-ROM or floppy drive whose medium is "in" while
// the folder exists.
#include <gtest/gtest.h>

#include "lumera_win98_support.h"

using namespace lumera_e2e;

namespace {

using Win98Test = Win98Fixture;

TEST_F(Win98Test, FirstStartSavesTheLogosAndMarksTheSavedCopies) {
    LogoTargets targets;
    SetupPathGuard bootDir("BootDir", "C:\\");
    WriteBytes(targets.startup(), "start-up picture");
    WriteBytes(targets.restart(), "restart picture");
    // No shutdown logo on this machine: nothing to save for it.

    Installation installation("win98-logo-first");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));

    Text logoDir = installation.file("LogoDir");
    EXPECT_EQ(robot::ReadFileBytes(logoDir + "\\起動.BMP"), "start-up picture");
    EXPECT_EQ(robot::ReadFileBytes(logoDir + "\\再起動.BMP"), "restart picture");
    EXPECT_FALSE(robot::FileExists(logoDir + "\\終了.BMP"));
    EXPECT_EQ(SettingString("Logo", "LogoSys"), Text("C:\\LOGO.SYS"));
    EXPECT_EQ(SettingString("Logo", "LogowSys"), targets.restart());
    EXPECT_EQ(SettingString("Logo", "LogosSys"), targets.shutdown());
    EXPECT_EQ(SettingString("Logo", "LogoFile"), logoDir + "\\起動.BMP");
    EXPECT_EQ(SettingString("Logo", "LogowFile"), logoDir + "\\再起動.BMP");
    EXPECT_EQ(SettingString("Logo", "LogosFile"), Text());

    robot::PopupMenu startup = ReadSubmenu(lumera, "起動ﾛｺﾞ(&L)", "lumera-win98-menu.bmp");
    std::vector<Text> captions = startup.Captions();
    ASSERT_EQ(captions.size(), 4u);
    EXPECT_EQ(captions.front(), "(標準)");
    EXPECT_EQ(captions.back(), "(その他)");
    EXPECT_EQ(Checked(startup), std::vector<Text>{"起動"});
    robot::PopupMenu restart = ReadSubmenu(lumera, "再起動ﾛｺﾞ(&R)");
    EXPECT_EQ(restart.Captions().front(), "(なし)");
    EXPECT_EQ(restart.Captions().size(), 4u);
    EXPECT_EQ(Checked(restart), std::vector<Text>{"再起動"});
    EXPECT_EQ(Checked(ReadSubmenu(lumera, "終了ﾛｺﾞ(&E)")), std::vector<Text>{"(なし)"});
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(Win98Test, ChoosingAPictureReplacesEvenAReadOnlyLogoAndTheFirstItemDeletesIt) {
    LogoTargets targets;
    SetupPathGuard bootDir("BootDir", "C:\\WINDOWS");
    WriteBytes(targets.startup(), "start-up picture");
    WriteBytes(targets.restart(), "restart picture");
    WriteBytes(targets.shutdown(), "shutdown picture");
    SetFileAttributesW(Widen(targets.restart()).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    Installation installation("win98-logo-choice");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    Text savedStartup = installation.file("LogoDir\\起動.BMP");

    ASSERT_TRUE(Choose(lumera, {"再起動ﾛｺﾞ(&R)", "起動"}));
    EXPECT_TRUE(
        robot::WaitUntil([&] { return robot::ReadFileBytes(targets.restart()) == "start-up picture"; }));
    EXPECT_EQ(GetFileAttributesW(Widen(targets.restart()).c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(SettingString("Logo", "LogowFile"), savedStartup);

    ASSERT_TRUE(Choose(lumera, {"起動ﾛｺﾞ(&L)", "(標準)"}));
    EXPECT_TRUE(robot::WaitUntil([&] { return !robot::FileExists(targets.startup()); }));
    EXPECT_EQ(SettingString("Logo", "LogoFile"), Text());

    ASSERT_TRUE(Choose(lumera, {"終了ﾛｺﾞ(&E)", "(なし)"}));
    EXPECT_TRUE(robot::WaitUntil([&] { return !robot::FileExists(targets.shutdown()); }));

    EXPECT_EQ(Checked(ReadSubmenu(lumera, "起動ﾛｺﾞ(&L)")), std::vector<Text>{"(標準)"});
    EXPECT_EQ(Checked(ReadSubmenu(lumera, "再起動ﾛｺﾞ(&R)")), std::vector<Text>{"起動"});
    EXPECT_EQ(Checked(ReadSubmenu(lumera, "終了ﾛｺﾞ(&E)")), std::vector<Text>{"(なし)"});
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(Win98Test, AnExistingLogoFolderWithoutCopiesGetsTheMachinesPictures) {
    LogoTargets targets;
    SetupPathGuard bootDir("BootDir", "C:\\");
    WriteBytes(targets.startup(), "start-up picture");
    Installation installation("win98-logo-own");
    Text own = installation.file("Mine");
    CreateDirectoryW(Widen(own).c_str(), nullptr);
    WriteBytes(own + "\\ﾛｺﾞ.bmp", "my picture");
    ASSERT_TRUE(SetSettingStringRaw("Logo", "Path", own + ";" + installation.file("Second")));
    // The installed file is not a listed picture: "(その他)" carries the mark.
    ASSERT_TRUE(SetSettingStringRaw("Logo", "LogoFile", "C:\\elsewhere\\old.bmp"));

    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    // The machine's picture is saved although the folder existed; nothing to save for the
    // restart logo, and a recorded choice is kept.
    EXPECT_EQ(robot::ReadFileBytes(own + "\\起動.BMP"), "start-up picture");
    EXPECT_FALSE(robot::FileExists(own + "\\再起動.BMP"));
    EXPECT_EQ(SettingString("Logo", "LogoFile"), Text("C:\\elsewhere\\old.bmp"));
    EXPECT_EQ(SettingString("Logo", "LogowFile"), Text());
    robot::PopupMenu startup = ReadSubmenu(lumera, "起動ﾛｺﾞ(&L)");
    std::vector<Text> captions = startup.Captions();
    ASSERT_EQ(captions.size(), 4u);
    EXPECT_EQ(captions.front(), "(標準)");
    EXPECT_EQ(captions.back(), "(その他)");
    // Listed in the file system's order.
    EXPECT_NE(std::find(captions.begin(), captions.end(), "ﾛｺﾞ"), captions.end());
    EXPECT_NE(std::find(captions.begin(), captions.end(), "起動"), captions.end());
    EXPECT_EQ(Checked(startup), std::vector<Text>{"(その他)"});
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(Win98Test, ACdInsertedIntoAWatchedDriveRunsItsAutorun) {
    const Text driveFolder = "C:\\lumera-e2e\\cd-r";
    DeleteTree(driveFolder); // no disc in the drive
    WineDrive drive(L'R', DRIVE_CDROM, Widen(driveFolder));
    if (!drive.defined())
        GTEST_SKIP() << "needs Wine's mount manager";
    ASSERT_EQ(drive.type(), static_cast<UINT>(DRIVE_CDROM));
    ASSERT_FALSE(drive.mediumPresent());
    ASSERT_TRUE(SetSettingIntRaw("OtherSet", "Interval", 200));

    Installation installation("win98-cd");
    Text probe = installation.InstallProbe("Disc.exe");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));

    robot::PopupMenu watch = ReadSubmenu(lumera, "AUTORUN監視(&A)");
    ASSERT_EQ(IsMarked(watch, "CD-ROM (R:)"), false);
    ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", "CD-ROM (R:)"}));
    EXPECT_FALSE(robot::WaitForMessageBox(lumera.process.id(), 1000)) << "a CD-ROM drive asks nothing";
    EXPECT_EQ(IsMarked(ReadSubmenu(lumera, "AUTORUN監視(&A)", "lumera-win98-drives.bmp"), "CD-ROM (R:)"),
              true);

    InsertMedium(driveFolder, probe + " inserted");
    ASSERT_TRUE(drive.mediumPresent());
    ASSERT_TRUE(robot::WaitUntil([&] { return LogLines(probe) == 1; }, 5000));
    EXPECT_EQ(LastLogLine(probe), "\"" + probe + "\" inserted|R:\\");

    ASSERT_TRUE(Choose(lumera, {"AUTORUN実行(&R)", "CD-ROM (R:)"}));
    EXPECT_TRUE(robot::WaitUntil([&] { return LogLines(probe) == 2; }, 5000));

    EXPECT_TRUE(lumera.Exit());
    EXPECT_EQ(SettingInt("Kickon", "R"), 1u);
    DeleteTree(driveFolder);
}

TEST_F(Win98Test, ARemovableDriveAsksBeforeItIsWatchedAndADiscAlreadyInsideStartsNothing) {
    const Text driveFolder = "C:\\lumera-e2e\\fd-p";
    DeleteTree(driveFolder);
    WineDrive drive(L'P', DRIVE_REMOVABLE, Widen(driveFolder));
    if (!drive.defined())
        GTEST_SKIP() << "needs Wine's mount manager";
    ASSERT_EQ(drive.type(), static_cast<UINT>(DRIVE_REMOVABLE));
    ASSERT_TRUE(SetSettingIntRaw("OtherSet", "Interval", 100));

    Installation installation("win98-fd");
    Text probe = installation.InstallProbe("Floppy.exe");
    InsertMedium(driveFolder, probe + " inside");
    const Text item = "FD/ﾘﾑｰﾊﾞﾌﾞﾙ (P:)";
    {
        RunningLumera lumera;
        ASSERT_TRUE(lumera.Start(installation));

        ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", item}));
        std::optional<robot::MessageBoxInfo> question = robot::WaitForMessageBox(lumera.process.id());
        ASSERT_TRUE(question);
        EXPECT_EQ(question->text, QuestionText);
        EXPECT_EQ(question->caption, "Lumera Deck for Windows");
        ASSERT_TRUE(robot::AnswerMessageBox(question->window, IDNO));
        EXPECT_EQ(IsMarked(ReadSubmenu(lumera, "AUTORUN監視(&A)"), item), false);

        ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", item}));
        question = robot::WaitForMessageBox(lumera.process.id());
        ASSERT_TRUE(question);
        ASSERT_TRUE(robot::AnswerMessageBox(question->window, IDYES));
        EXPECT_EQ(IsMarked(ReadSubmenu(lumera, "AUTORUN監視(&A)"), item), true);
        // Ten refreshes with the disc that was inside when the watch began: nothing may start.
        ASSERT_TRUE(WaitForRefreshes(10));
        EXPECT_EQ(LogLines(probe), 0u);

        // Switching off asks nothing; the stored choice is written at the end, for every drive.
        ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", item}));
        EXPECT_FALSE(robot::WaitForMessageBox(lumera.process.id(), 1000));
        ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", item}));
        ASSERT_TRUE((question = robot::WaitForMessageBox(lumera.process.id())));
        ASSERT_TRUE(robot::AnswerMessageBox(question->window, IDYES));
        EXPECT_TRUE(lumera.Exit());
        EXPECT_EQ(SettingInt("Kickon", "P"), 1u);
    }

    // The next start shows the drive watched, and a disc inserted later runs.
    DeleteTree(driveFolder);
    RunningLumera again;
    ASSERT_TRUE(again.Start(installation));
    EXPECT_EQ(IsMarked(ReadSubmenu(again, "AUTORUN監視(&A)"), item), true);
    InsertMedium(driveFolder, probe + " later");
    EXPECT_TRUE(robot::WaitUntil([&] { return LogLines(probe) == 1; }, 5000));
    EXPECT_TRUE(again.Exit());
    DeleteTree(driveFolder);
}

TEST(Win98NtFamily, LogoAndDriveSubmenusAreAbsent) {
    ResetSettings();
    Installation installation("win98-nt");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    std::vector<robot::PopupMenu> menus = lumera.OpenMenu();
    ASSERT_FALSE(menus.empty());
    std::vector<Text> captions = menus[0].Captions();
    lumera.menus().CloseAll();
    EXPECT_NE(std::find(captions.begin(), captions.end(), "壁紙(&B)"), captions.end());
    for (const char* absent :
         {"起動ﾛｺﾞ(&L)", "再起動ﾛｺﾞ(&R)", "終了ﾛｺﾞ(&E)", "AUTORUN監視(&A)", "AUTORUN実行(&R)", "ｲｼﾞｪｸﾄ(&E)"})
        EXPECT_EQ(std::find(captions.begin(), captions.end(), absent), captions.end()) << absent;
    EXPECT_TRUE(lumera.Exit());
    ResetSettings();
}

} // namespace
