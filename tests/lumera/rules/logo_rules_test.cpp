#include "logo_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(LogoRules, TargetsLieAtTheBootDriveRootAndInTheWindowsFolder) {
    EXPECT_EQ(LogoTargetDefault(StartupLogo, "C:\\", "C:\\WINDOWS"), "C:\\LOGO.SYS");
    EXPECT_EQ(LogoTargetDefault(StartupLogo, "D:\\WIN98\\SETUP", "C:\\WINDOWS"), "D:\\LOGO.SYS");
    EXPECT_EQ(LogoTargetDefault(StartupLogo, "", "C:\\WINDOWS"), "LOGO.SYS");
    // A bare drive must not turn into the drive-relative "C:LOGO.SYS".
    EXPECT_EQ(LogoTargetDefault(StartupLogo, "C:", "C:\\WINDOWS"), "C:\\LOGO.SYS");
    EXPECT_EQ(LogoTargetDefault(RestartLogo, "C:\\", "C:\\WINDOWS"), "C:\\WINDOWS\\LOGOW.SYS");
    EXPECT_EQ(LogoTargetDefault(ShutdownLogo, "C:\\", "C:\\WINDOWS\\"), "C:\\WINDOWS\\LOGOS.SYS");
}

TEST(LogoRules, TheBootFolderIsCutByCharactersNotBytes) {
    // "表" (95 5C) as the third character: its trail byte is not a separator to cut at.
    EXPECT_EQ(LogoTargetDefault(StartupLogo, "C:表\\X", "C:\\W"), "C:表LOGO.SYS");
}

TEST(LogoRules, SettingNamesAndSavedCopiesFollowTheTable) {
    EXPECT_STREQ(LogoKinds[StartupLogo].targetValue, "LogoSys");
    EXPECT_STREQ(LogoKinds[RestartLogo].fileValue, "LogowFile");
    EXPECT_STREQ(LogoKinds[ShutdownLogo].savedCopyName, "終了.BMP");
    EXPECT_STREQ(LogoKinds[RestartLogo].savedCopyName, "再起動.BMP");
}

TEST(LogoRules, TheInstalledPictureIsMarked) {
    std::vector<Text> pictures = {"C:\\LOGO\\A.BMP", "C:\\LOGO\\B.BMP", "D:\\B.BMP"};
    EXPECT_EQ(LogoMarkIndex(pictures, ""), 0);                // standard / none
    EXPECT_EQ(LogoMarkIndex(pictures, "c:\\logo\\b.bmp"), 2); // letter case does not matter
    EXPECT_EQ(LogoMarkIndex(pictures, "E:\\ELSE.BMP"), 4);    // installed from elsewhere
    EXPECT_EQ(LogoMarkIndex({}, "E:\\ELSE.BMP"), 1); // no pictures: "(その他)" follows the first item
    EXPECT_EQ(LogoMarkIndex({}, ""), 0);
    // A picture reachable through two listed folders: the later listing carries the mark.
    EXPECT_EQ(LogoMarkIndex({"C:\\A.BMP", "C:\\X.BMP", "C:\\A.BMP"}, "C:\\A.BMP"), 3);
}

TEST(LogoRules, AFileFromTheDialogThatIsListedPicksTheFirstListedItem) {
    std::vector<Text> pictures = {"C:\\Logo\\a.bmp", "C:\\Logo\\b.bmp", "C:\\Logo\\b.bmp"};
    EXPECT_EQ(ChosenLogoIndex(pictures, "c:\\LOGO\\B.BMP"), 2);
    EXPECT_EQ(ChosenLogoIndex(pictures, "C:\\Other\\b.bmp"), 4);
    EXPECT_EQ(ChosenLogoIndex({}, "C:\\Other\\b.bmp"), 1);
    // Upper-casing leaves double-byte characters alone: "ｂ" and "Ｂ" differ.
    EXPECT_EQ(ChosenLogoIndex({"C:\\ロゴ\\ｂ.bmp"}, "C:\\ロゴ\\Ｂ.BMP"), 2);
    EXPECT_EQ(ChosenLogoIndex({"C:\\ロゴ\\ｂ.bmp"}, "c:\\ロゴ\\ｂ.BMP"), 1);
}

TEST(LogoRules, WidePathsAreComparedAsTheyAre) {
    std::vector<std::wstring> pictures = {L"C:\\Logo\\Zo\u00EB.bmp", L"C:\\Logo\\Zo\u00E9.bmp"};
    EXPECT_EQ(ChosenLogoIndex(pictures, std::wstring(L"c:\\logo\\ZO\u00E9.BMP")), 2);
    EXPECT_EQ(LogoMarkIndex(pictures, std::wstring(L"C:\\LOGO\\Zo\u00EB.bmp")), 1);
    EXPECT_EQ(LogoMarkIndex(pictures, std::wstring(L"C:\\Logo\\Zoe.bmp")), 3);
    EXPECT_EQ(LogoMarkIndex(pictures, std::wstring()), 0);
}

} // namespace
