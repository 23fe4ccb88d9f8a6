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

TEST(LaunchRules, TheDefaultCalculatorIsWhereTheFamilyKeepsIt) {
    const std::wstring windows = L"C:\\WINDOWS", system32 = L"C:\\WINDOWS\\system32",
                       system = L"C:\\WINDOWS\\SYSTEM";
    EXPECT_EQ(DefaultCalculator(PlatformNT, windows, system32), L"C:\\WINDOWS\\system32\\calc.exe");
    EXPECT_EQ(DefaultCalculator(PlatformWin95, windows, system), L"C:\\WINDOWS\\calc.exe");
    EXPECT_EQ(DefaultCalculator(PlatformOther, windows, system), L"C:\\WINDOWS\\calc.exe");
    // A Windows folder at a drive's root gets no second separator.
    EXPECT_EQ(DefaultCalculator(PlatformWin95, L"D:\\", L"D:\\SYSTEM"), L"D:\\calc.exe");
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

// The wide forms, for a profile such as "C:\Users\José".
TEST(LaunchRules, WideStartupNamesAndTargets) {
    EXPECT_EQ(DisabledStartupFolder(std::wstring(L"C:\\Users\\Jos\u00E9\\Startup\\")),
              L"C:\\Users\\Jos\u00E9\\Startup[無効]");
    EXPECT_EQ(DisabledStartupFolder(std::wstring(L"\\")), L"");
    EXPECT_TRUE(IsMovedStartupEntry(std::wstring(L"\uD55C\uAE00 \uBA54\uBAA8.lnk"), false));
    EXPECT_FALSE(IsMovedStartupEntry(std::wstring(L".caf\u00E9"), false));
    EXPECT_FALSE(IsMovedStartupEntry(std::wstring(L"Zo\u00EB"), true));

    EXPECT_TRUE(BeginsWithDriveLetter(std::wstring(L"C:\\\u5F20\u4F1F\\a.exe")));
    EXPECT_FALSE(BeginsWithDriveLetter(std::wstring(L"\\\\server\\a.exe")));
    EXPECT_FALSE(BeginsWithDriveLetter(std::wstring(L"C")));
    EXPECT_FALSE(BeginsWithDriveLetter(std::wstring()));
    // A character outside the basic plane is one character of two code units.
    EXPECT_TRUE(BeginsWithDriveLetter(std::wstring(L"\U0001F600:x")));
    EXPECT_FALSE(BeginsWithDriveLetter(std::wstring(L"\U0001F600")));
}

} // namespace
