#include "platform_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ShellFolderRules, AdministratorProfileMovesToTheUser) {
    Text value = "C:\\WINNT\\Profiles\\Administrator\\ﾃﾞｽｸﾄｯﾌﾟ";
    EXPECT_EQ(ReplaceAdministrator(value, "taro"), "C:\\WINNT\\Profiles\\taro\\ﾃﾞｽｸﾄｯﾌﾟ");
    EXPECT_EQ(ReplaceAdministrator(value, "Administrator"), value);
    EXPECT_EQ(ReplaceAdministrator("C:\\x\\administrator", "taro"), "C:\\x\\administrator");
    EXPECT_EQ(ReplaceAdministrator("", "taro"), "");
}

TEST(ShellFolderRules, JapaneseFallbacksPerFamily) {
    EXPECT_EQ(ShellFolderFallback(PlatformWin95, "C:\\WINDOWS", "", "Startup"),
              "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\ｽﾀｰﾄｱｯﾌﾟ");
    EXPECT_EQ(ShellFolderFallback(PlatformNT, "C:\\WINNT", "taro", "Startup"),
              "C:\\WINNT\\Profiles\\taro\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\ｽﾀｰﾄｱｯﾌﾟ");
    EXPECT_EQ(ShellFolderFallback(PlatformOther, "C:\\WINDOWS\\", "", "Desktop"), "C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ");
    EXPECT_EQ(ShellFolderFallback(PlatformWin95, "C:\\WINDOWS", "", "Start Menu"), "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ");
    EXPECT_EQ(ShellFolderFallback(PlatformWin95, "C:\\WINDOWS", "", "Programs"),
              "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ");
    EXPECT_EQ(ShellFolderFallback(PlatformNT, "C:\\WINNT", "u", "SendTo"), "C:\\WINNT\\Profiles\\u\\SendTo");
    EXPECT_EQ(ShellFolderFallback(PlatformNT, "C:\\WINNT", "u", "Recent"), "C:\\WINNT\\Profiles\\u\\Recent");
    EXPECT_EQ(ShellFolderFallback(PlatformNT, "C:\\WINNT", "u", "Favorites"), "");
    EXPECT_EQ(ShellFolderFallback(PlatformNT, "C:\\WINNT", "u", "startup"), "");
    // Half-width katakana: "ｽ" is the single byte 0xBD.
    EXPECT_EQ(ShellFolderFallback(PlatformWin95, "C:", "", "Start Menu").substr(3, 1), "\xBD");
}

TEST(SystemDirRule, NeverDoublesTheThirtyTwo) {
    EXPECT_EQ(SystemDirFromAnswer(PlatformNT, "C:\\windows\\system32"), "C:\\windows\\system32");
    EXPECT_EQ(SystemDirFromAnswer(PlatformNT, "C:\\WINNT\\system"), "C:\\WINNT\\system32");
    EXPECT_EQ(SystemDirFromAnswer(PlatformWin95, "C:\\WINDOWS\\SYSTEM"), "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(SystemDirFromAnswer(PlatformNT, ""), "");
}

TEST(ShellFolderRules, WideUserNamesAndFolders) {
    EXPECT_EQ(ReplaceAdministrator(L"C:\\Users\\Administrator\\Desktop", L"Jos\u00E9"),
              L"C:\\Users\\Jos\u00E9\\Desktop");
    EXPECT_EQ(ReplaceAdministrator(L"C:\\Users\\Administrator", L"Administrator"),
              L"C:\\Users\\Administrator");
    EXPECT_EQ(ReplaceAdministrator(L"C:\\Users\\Administrator", L""), L"C:\\Users\\Administrator");
    EXPECT_EQ(ReplaceAdministrator("C:\\Administrator", ""), "C:\\Administrator");
    EXPECT_EQ(ShellFolderFallback(PlatformNT, L"C:\\WINNT", L"\uAE40\uBBFC\uC900", "Desktop"),
              L"C:\\WINNT\\Profiles\\\uAE40\uBBFC\uC900\\\uFF83\uFF9E\uFF7D\uFF78\uFF84\uFF6F\uFF8C\uFF9F");
    EXPECT_EQ(
        ShellFolderFallback(PlatformWin95, L"C:\\WINDOWS\\", L"", "Startup"),
        L"C:\\WINDOWS\\\uFF7D\uFF80\uFF70\uFF84 \uFF92\uFF86\uFF6D\uFF70\\\uFF8C\uFF9F\uFF9B\uFF78\uFF9E"
        L"\uFF97\uFF91\\\uFF7D\uFF80\uFF70\uFF84\uFF71\uFF6F\uFF8C\uFF9F");
    EXPECT_EQ(ShellFolderFallback(PlatformNT, L"C:\\WINNT", L"u", "Favorites"), L"");
    EXPECT_EQ(SystemDirFromAnswer(PlatformNT, L"C:\\windows\\system32\\"), L"C:\\windows\\system32");
    EXPECT_EQ(SystemDirFromAnswer(PlatformNT, L"C:\\WINNT\\system"), L"C:\\WINNT\\system32");
    EXPECT_EQ(SystemDirFromAnswer(PlatformWin95, L"C:\\WINDOWS\\SYSTEM"), L"C:\\WINDOWS\\SYSTEM");
}

} // namespace
