#include "desktop_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(WallpaperStyleRule, WallpaperStyleDecidesUnlessItIsZero) {
    EXPECT_EQ(WallpaperStyleFromValues("2", "1"), WallpaperStretched);
    EXPECT_EQ(WallpaperStyleFromValues("0", "1"), WallpaperTiled);
    EXPECT_EQ(WallpaperStyleFromValues("", "1"), WallpaperCentred); // no WallpaperStyle value
    EXPECT_EQ(WallpaperStyleFromValues("0", "0"), WallpaperCentred);
    EXPECT_EQ(WallpaperStyleFromValues("1", "0"), WallpaperTiled);
    // Fit, fill and span of later systems are none of the menu's arrangements.
    for (const char* later : {"6", "10", "22"}) {
        EXPECT_EQ(WallpaperStyleFromValues(later, "0"), WallpaperUnoffered) << later;
        EXPECT_EQ(WallpaperStyleFromValues(later, "1"), WallpaperUnoffered) << later;
    }
    EXPECT_EQ(WallpaperStyleFromValues("3", "0"), WallpaperCentred);
    EXPECT_EQ(WallpaperStyleFromValues("0", "10"), WallpaperCentred); // TileWallpaper knows 0 and 1
}

TEST(WallpaperStyleRule, StylesWriteTwoValuesThatReadBack) {
    for (int style : {WallpaperCentred, WallpaperTiled, WallpaperStretched}) {
        WallpaperStyleTexts texts = WallpaperStyleToValues(style);
        EXPECT_EQ(WallpaperStyleFromValues(texts.wallpaperStyle, texts.tileWallpaper), style);
    }
    EXPECT_EQ(WallpaperStyleToValues(1).tileWallpaper, "1");
    EXPECT_EQ(WallpaperStyleToValues(2).wallpaperStyle, "2");
    EXPECT_EQ(WallpaperStyleToValues(7).tileWallpaper, "");
    EXPECT_EQ(WallpaperStyleToValues(7).wallpaperStyle, "0");
}

TEST(ExtensionRule, CaseInsensitiveOnTheLastDot) {
    EXPECT_TRUE(HasExtension("C:\\WINDOWS\\SYSTEM\\Flying.scr", ".SCR"));
    EXPECT_FALSE(HasExtension("C:\\WINDOWS\\SYSTEM\\LOGON.EXE", ".SCR"));
    EXPECT_FALSE(HasExtension("C:\\pics.bmp\\photo.jpg", ".BMP"));
    EXPECT_TRUE(HasExtension("C:\\ソ\\壁紙.BMP", ".BMP"));
    EXPECT_FALSE(HasExtension("", ".BMP"));
}

TEST(ExtensionRule, WideNamesToo) {
    EXPECT_TRUE(HasExtension(std::wstring(L"C:\\Zo\u00EB\\\u5915\u713C\u3051.bmp"), L".BMP"));
    EXPECT_FALSE(
        HasExtension(std::wstring(L"C:\\pics.bmp\\\uAE40\uBBFC\uC900"), L".BMP")); // a dot in a folder
    EXPECT_FALSE(HasExtension(std::wstring(L"C:\\a.bmpx"), L".BMP"));
    EXPECT_FALSE(HasExtension(std::wstring(L"C:\\a.\uFF42\uFF4D\uFF50"), L".BMP")); // only ASCII letters fold
    EXPECT_FALSE(HasExtension(std::wstring(L""), L".BMP"));
}

TEST(WallpaperRule, TheNinetyFiveFamilyShowsBitmapsOnly) {
    EXPECT_TRUE(WallpaperCounts(L"C:\\Zo\u00EB\\a.BMP", true));
    EXPECT_FALSE(WallpaperCounts(L"C:\\Zo\u00EB\\a.jpg", true));
    EXPECT_TRUE(WallpaperCounts(L"C:\\Zo\u00EB\\a.jpg", false));
    EXPECT_TRUE(WallpaperCounts(L"C:\\Zo\u00EB\\a.png", false));
    EXPECT_FALSE(WallpaperCounts(L"", false));
}

TEST(ScreenSaverPolicyRule, APolicyThatSwitchesOrNamesTheScreenSaverGoverns) {
    struct Case {
        const char *active, *file, *secure;
        bool governed, on, fileFixed, secured;
    } cases[] = {
        {"", "", "", false, false, false, false},
        {"", "", "1", false, false, false, false}, // locking alone leaves the choice to the user
        {"2", "", "", false, false, false, false}, // not a value of the policy
        {"0", "", "1", true, false, false, true},
        {"1", "", "", true, true, false, false},
        {"", "C:\\WINDOWS\\system32\\lock.scr", "1", true, true, true, true},
        {"0", "C:\\WINDOWS\\system32\\lock.scr", "", true, false, true, false}, // off wins
        {"1", "C:\\WINDOWS\\system32\\lock.scr", "0", true, true, true, false},
    };
    for (const Case& c : cases) {
        ScreenSaverPolicy policy = ScreenSaverPolicyFromValues(c.active, c.file, c.secure);
        SCOPED_TRACE(Text(c.active) + "|" + c.file + "|" + c.secure);
        EXPECT_EQ(policy.governed, c.governed);
        EXPECT_EQ(policy.on, c.on);
        EXPECT_EQ(policy.fileFixed, c.fileFixed);
        EXPECT_EQ(policy.secure, c.secured);
    }
}

} // namespace
