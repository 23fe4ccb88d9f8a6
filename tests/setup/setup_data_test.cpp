#include "setup_data.h"

#include <gtest/gtest.h>

#include "paths.h"
#include "setup_folder.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"

namespace {

TEST(SetupData, MissingFileGivesEveryDefault) {
    ScratchFolder scratch("setupdata");
    SetupData data(Widen(scratch.path()));
    EXPECT_FALSE(data.Exists());
    EXPECT_EQ(data.AppName(), "");
    EXPECT_EQ(data.MainBmpFile(), L"");
    EXPECT_EQ(data.WallColor(), 0);
    EXPECT_EQ(data.Gradation(), 3);
    EXPECT_EQ(data.Red(), 0);
    EXPECT_EQ(data.Morivane(), "");
    EXPECT_EQ(data.ReadmeCaption(), "Readme");
    EXPECT_EQ(data.LicenceFile(), L"");
    EXPECT_EQ(data.InstallPath(), "");
    EXPECT_EQ(data.Capacity(), "不明");
    EXPECT_EQ(data.StartPath(), "");
    EXPECT_FALSE(data.UninstallVisible());
    EXPECT_TRUE(data.ReadList(SetupInstall, "Dir").empty());
    RunOption run = data.ReadRunOption(1);
    EXPECT_EQ(run.caption, "");
    EXPECT_FALSE(run.checked);
    EXPECT_EQ(run.program, "");
}

TEST(SetupData, StyledLineDefaultsPerLine) {
    SetupFolder setup("[Infomation]\r\nAppName=テスト\r\nAppFontBold=0\r\nMesFontSize=abc\r\n");
    SetupData data(setup.folder);
    StyledLine app = data.ReadStyledLine(StyledLineKind::App);
    EXPECT_EQ(app.text, "テスト");
    EXPECT_EQ(app.fontColor, 16776960);
    EXPECT_EQ(app.fontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(app.fontSize, 28);
    EXPECT_FALSE(app.bold); // set to 0
    EXPECT_TRUE(app.italic);
    EXPECT_FALSE(app.underline);
    EXPECT_FALSE(app.strikeOut);
    EXPECT_EQ(app.shadowColor, 0);
    EXPECT_EQ(app.shadowLeft, 2);
    EXPECT_EQ(app.shadowTop, 2);
    EXPECT_TRUE(app.shadowVisible);

    StyledLine ver = data.ReadStyledLine(StyledLineKind::Ver);
    EXPECT_EQ(ver.text, "");
    EXPECT_EQ(ver.fontSize, 14);
    EXPECT_TRUE(ver.bold);
    EXPECT_EQ(ver.shadowLeft, 1);

    StyledLine copy = data.ReadStyledLine(StyledLineKind::Copy);
    EXPECT_EQ(copy.fontColor, 65280);
    EXPECT_EQ(copy.shadowColor, 8421504);

    StyledLine mes = data.ReadStyledLine(StyledLineKind::Mes);
    EXPECT_EQ(mes.fontSize, 14); // not a number: the default
    EXPECT_EQ(mes.fontColor, 65280);
}

TEST(SetupData, EveryKeyAsWritten) {
    SetupFolder setup(
        "[Infomation]\r\n"
        "AppName=Lumera Deck\r\nMainBmp=side.bmp\r\nWallColor=8421504\r\nGradation=2\r\n"
        "Red=0\r\nGreen=7\r\nBlue=128\r\nWallBmp=wall.bmp\r\nMorivane=Thank you!\r\n"
        "Version=1.0\r\nCopyright=(C) 表\r\nMessage=ようこそ\r\n"
        "VerFontColor=255\r\nVerFontName=Arial\r\nVerFontUnderline=1\r\nVerFontStrikeOut=1\r\n"
        "VerShadowColor=9\r\nVerShadowLeft=4\r\nVerShadowTop=5\r\nVerShadowVisible=0\r\n"
        "VerFontItalic=2\r\n"
        "[Licence]\r\nTextFile=licence.txt\r\n"
        "[Readme]\r\nCaption=お読みください\r\nTextFile=readme.txt\r\n"
        "[Install]\r\nPath=<Prog>\\Lumera Deck\r\nCapacity=2 MB\r\n"
        "[UnInstall]\r\nVisible=1\r\n"
        "[Run]\r\nCaption2=Start\r\nChecked2=1\r\nProgram2=<Setup>\\Lumera.exe -x\r\nChecked3=2\r\n");
    SetupData data(setup.folder);
    EXPECT_TRUE(data.Exists());
    EXPECT_EQ(data.AppName(), "Lumera Deck");
    EXPECT_EQ(data.MainBmpFile(), setup.folder + L"\\side.bmp");
    EXPECT_EQ(data.WallBmpFile(), setup.folder + L"\\wall.bmp");
    EXPECT_EQ(data.WallColor(), 8421504);
    EXPECT_EQ(data.Gradation(), 2);
    EXPECT_EQ(data.Green(), 7);
    EXPECT_EQ(data.Blue(), 128);
    EXPECT_EQ(data.Morivane(), "Thank you!");
    EXPECT_EQ(data.ReadStyledLine(StyledLineKind::Copy).text, "(C) 表");
    EXPECT_EQ(data.ReadStyledLine(StyledLineKind::Mes).text, "ようこそ");

    StyledLine ver = data.ReadStyledLine(StyledLineKind::Ver);
    EXPECT_EQ(ver.text, "1.0");
    EXPECT_EQ(ver.fontColor, 255);
    EXPECT_EQ(ver.fontName, "Arial");
    EXPECT_TRUE(ver.underline);
    EXPECT_TRUE(ver.strikeOut);
    EXPECT_FALSE(ver.italic); // on only for 1
    EXPECT_EQ(ver.shadowColor, 9);
    EXPECT_EQ(ver.shadowLeft, 4);
    EXPECT_EQ(ver.shadowTop, 5);
    EXPECT_FALSE(ver.shadowVisible);

    EXPECT_EQ(data.LicenceFile(), setup.folder + L"\\licence.txt");
    EXPECT_EQ(data.ReadmeCaption(), "お読みください");
    EXPECT_EQ(data.ReadmeFile(), setup.folder + L"\\readme.txt");
    EXPECT_EQ(data.InstallPath(), "<Prog>\\Lumera Deck");
    EXPECT_EQ(data.Capacity(), "2 MB");
    EXPECT_EQ(data.StartPath(), "Lumera Deck"); // the AppName when absent
    EXPECT_TRUE(data.UninstallVisible());

    EXPECT_EQ(data.ReadRunOption(1).caption, "");
    RunOption second = data.ReadRunOption(2);
    EXPECT_EQ(second.caption, "Start");
    EXPECT_TRUE(second.checked);
    EXPECT_EQ(second.program, "<Setup>\\Lumera.exe -x");
    EXPECT_FALSE(data.ReadRunOption(3).checked);
}

TEST(SetupData, ListsEndAtTheFirstGap) {
    SetupFolder setup("[Install]\r\nDir1=<Setup>\\a\r\nDir2=<Setup>\\ソ表\r\nDir3=\r\nDir4=<Setup>\\late\r\n"
                      "File2=x.exe\r\nStartMenu1=Tool|<Setup>\\t.exe|||0|\r\n"
                      "[UnInstall]\r\nDir1=<Setup>\r\n");
    SetupData data(setup.folder);
    EXPECT_EQ(data.ReadList(SetupInstall, "Dir"), (std::vector<Text>{"<Setup>\\a", "<Setup>\\ソ表"}));
    EXPECT_TRUE(data.ReadList(SetupInstall, "File").empty()); // File1 missing: File2 never read
    EXPECT_EQ(data.ReadList(SetupInstall, "StartMenu").size(), 1u);
    EXPECT_EQ(data.ReadList(SetupUninstall, "Dir"), std::vector<Text>{"<Setup>"});
    EXPECT_EQ(data.StartPath(), ""); // no AppName either
}

TEST(SetupData, LicenceAndReadmeOfferedOnlyWithALine) {
    SetupFolder setup("[Licence]\r\nTextFile=licence.txt\r\n[Readme]\r\nTextFile=readme.txt\r\n");
    SetupData data(setup.folder);
    EXPECT_FALSE(TextFileHoldsALine(data.LicenceFile())); // missing
    EXPECT_FALSE(TextFileHoldsALine(L""));
    ASSERT_TRUE(WriteFileBytes(data.LicenceFile(), ""));
    ASSERT_TRUE(FileExists(data.LicenceFile()));
    EXPECT_FALSE(TextFileHoldsALine(data.LicenceFile())); // empty
    ASSERT_TRUE(WriteFileBytes(data.ReadmeFile(), "\r\n"));
    EXPECT_TRUE(TextFileHoldsALine(data.ReadmeFile())); // one empty line is a line
    EXPECT_FALSE(TextFileHoldsALine(setup.folder));     // a folder is no text file
}

TEST(SetupData, BesideTheRunningProgram) {
    SetupData data = SetupData::BesideProgram();
    EXPECT_EQ(data.SetupFolder(), Widen(TestProgramDir()));
    EXPECT_EQ(data.File(), JoinPath(Widen(TestProgramDir()), std::wstring(L"Setup.dat")));
}

} // namespace
