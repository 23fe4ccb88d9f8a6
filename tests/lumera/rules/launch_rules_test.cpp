#include "launch_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(LaunchRules, OnlyAColonAsSecondCharacterNamesADrive) {
    EXPECT_TRUE(BeginsWithDriveLetter("D:\\Tools\\run.exe -x"));
    EXPECT_TRUE(BeginsWithDriveLetter("c:"));
    EXPECT_FALSE(BeginsWithDriveLetter("http://www.example/"));
    EXPECT_FALSE(BeginsWithDriveLetter("mailto:info@example"));
    EXPECT_FALSE(BeginsWithDriveLetter("\\\\server\\share\\a.exe"));
    EXPECT_FALSE(BeginsWithDriveLetter("notepad.exe"));
    EXPECT_FALSE(BeginsWithDriveLetter(""));
    EXPECT_FALSE(BeginsWithDriveLetter("C"));
    // "ソ:" is three bytes; its second character is the ":".
    EXPECT_TRUE(BeginsWithDriveLetter("\x83\x5c:"));
    EXPECT_FALSE(BeginsWithDriveLetter("\x83\x3a"));
}

TEST(LaunchRules, ShutdownItemsGiveTheirSwitch) {
    EXPECT_EQ(ShutdownSwitch(0), "");
    EXPECT_EQ(ShutdownSwitch(1), "-S");
    EXPECT_EQ(ShutdownSwitch(2), "-R");
    EXPECT_EQ(ShutdownSwitch(3), "-L");
    EXPECT_EQ(ShutdownSwitch(4), "");
}

TEST(LaunchRules, TheParkedFolderStandsBesideTheStartupFolder) {
    const Text startup = "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\ｽﾀｰﾄｱｯﾌﾟ";
    EXPECT_EQ(DisabledStartupFolder(startup), startup + "[無効]");
    EXPECT_EQ(DisabledStartupFolder(startup + "\\"), startup + "[無効]");
    // A trail byte 5C at the end is part of "ソ", not a separator.
    EXPECT_EQ(DisabledStartupFolder("C:\\\x83\x5c"), "C:\\\x83\x5c[無効]");
    // Unknown folder: no name, so nothing is moved from the current folder's drive root.
    EXPECT_EQ(DisabledStartupFolder(""), "");
    EXPECT_EQ(DisabledStartupFolder("\\"), "");
}

TEST(LaunchRules, OnlyFilesNotBeginningWithADotAreMoved) {
    EXPECT_TRUE(IsMovedStartupEntry("Mail.lnk", false));
    EXPECT_TRUE(IsMovedStartupEntry("desktop.ini", false));
    EXPECT_FALSE(IsMovedStartupEntry("Tools", true));
    EXPECT_FALSE(IsMovedStartupEntry(".", true));
    EXPECT_FALSE(IsMovedStartupEntry(".hidden.lnk", false));
    EXPECT_FALSE(IsMovedStartupEntry("", false));
}

} // namespace
