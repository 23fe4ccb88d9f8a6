#include "desktop_marks_rules.h"

#include <gtest/gtest.h>

namespace {

// "(なし)", two pictures, "(その他)" as the wallpaper submenu holds them.
const std::vector<Text> Submenu = {"", "C:\\WINDOWS\\CLOUDS.BMP", "C:\\WINDOWS\\SETUP.BMP", ""};

TEST(DesktopMarks, NoFileMarksTheFirstItem) {
    EXPECT_EQ(MarkedItemIndex("", Submenu), 0);
}

TEST(DesktopMarks, AListedFileMarksItsItemWhateverTheCase) {
    EXPECT_EQ(MarkedItemIndex("C:\\WINDOWS\\SETUP.BMP", Submenu), 2);
    EXPECT_EQ(MarkedItemIndex("c:\\windows\\clouds.bmp", Submenu), 1);
}

TEST(DesktopMarks, AFileFromElsewhereMarksTheLastItem) {
    EXPECT_EQ(MarkedItemIndex("D:\\PICS\\SETUP.BMP", Submenu), 3);
    // With no pictures listed, any file is one from elsewhere.
    EXPECT_EQ(MarkedItemIndex("C:\\WINDOWS\\SETUP.BMP", {"", ""}), 1);
}

TEST(DesktopMarks, TheFirstOfTwoItemsNamingOneFileWins) {
    std::vector<Text> twice = {"", "C:\\A\\X.BMP", "C:\\B\\Y.BMP", "c:\\a\\x.bmp", ""};
    EXPECT_EQ(MarkedItemIndex("C:\\A\\X.BMP", twice), 1);
}

TEST(DesktopMarks, TheEndItemsAreNeverMatched) {
    // Their hint texts are empty in the menu; even if they were not, they are no picture.
    std::vector<Text> odd = {"C:\\X.BMP", "C:\\Y.BMP", "C:\\X.BMP"};
    EXPECT_EQ(MarkedItemIndex("C:\\X.BMP", odd), 2);
    EXPECT_EQ(MarkedItemIndex("C:\\X.BMP", {"C:\\X.BMP"}), 0);
    EXPECT_EQ(MarkedItemIndex("C:\\X.BMP", {}), 0);
}

TEST(DesktopMarks, TheStoredSwitchActsOnlyWhenTheMarksDisagree) {
    EXPECT_EQ(SwitchForEnabledValue(1, false, true), SaverSwitch::On);
    EXPECT_EQ(SwitchForEnabledValue(1, true, false), SaverSwitch::Keep);
    EXPECT_EQ(SwitchForEnabledValue(5, false, false), SaverSwitch::On);
    EXPECT_EQ(SwitchForEnabledValue(0, true, false), SaverSwitch::Off);
    EXPECT_EQ(SwitchForEnabledValue(-1, false, true), SaverSwitch::Keep);
    // At start neither item carries a mark: the stored value decides.
    EXPECT_EQ(SwitchForEnabledValue(0, false, false), SaverSwitch::Off);
}

} // namespace

namespace {

TEST(WallpaperTypes, TheNtFamilyListsPicturesBesideBitmaps) {
    EXPECT_EQ(WallpaperPatterns(false), std::vector<Text>{"*.bmp"});
    EXPECT_EQ(WallpaperPatterns(true), (std::vector<Text>{"*.bmp", "*.jpg", "*.jpeg", "*.png", "*.gif"}));
    EXPECT_NE(WallpaperFilter(true).find("*.bmp;*.jpg;*.jpeg;*.png;*.gif"), Text::npos);
    EXPECT_EQ(WallpaperFilter(false), "ﾋﾞｯﾄﾏｯﾌﾟ(*.BMP)|*.bmp|すべてのﾌｧｲﾙ (*.*)|*.*");
}

TEST(WallpaperTypes, AListingKeepsOnlyNamesWithThePatternsExtension) {
    EXPECT_TRUE(HasPatternExtension("sea.JPG", "*.jpg"));
    EXPECT_FALSE(HasPatternExtension("sea.jpeg", "*.jpg")); // matched through its short name
    EXPECT_FALSE(HasPatternExtension("sea.jpg.txt", "*.jpg"));
    EXPECT_TRUE(HasPatternExtension("表.bmp", "*.bmp"));
    EXPECT_FALSE(HasPatternExtension("noext", "*.bmp"));
}

TEST(DesktopMarks, WideTargetsAreMarkedByTheirOwnNames) {
    // Narrowed, both would read "C:\\?.jpg" and the wrong one could be marked.
    std::vector<std::wstring> items = {L"", L"c:\\pics\\\u00E9.jpg", L"C:\\PICS\\\u00EB.jpg", L""};
    EXPECT_EQ(MarkedItemIndex(std::wstring(L"C:\\pics\\\u00EB.JPG"), items), 2);
    EXPECT_EQ(MarkedItemIndex(std::wstring(L"C:\\PICS\\\u00C9.jpg"), items), 3); // only ASCII folds
    EXPECT_EQ(MarkedItemIndex(std::wstring(), items), 0);
}

TEST(DesktopMarks, ThePolicyNoteSaysWhichWayThePolicyDecidedAndWhetherItLocks) {
    const Text notes[] = {ScreenSaverPolicyNote(true, false), ScreenSaverPolicyNote(true, true),
                          ScreenSaverPolicyNote(false, false)};
    for (const Text& note : notes)
        EXPECT_NE(note.find("ﾎﾟﾘｼｰ"), Text::npos) << note;
    EXPECT_NE(notes[0], notes[1]);
    EXPECT_NE(notes[0], notes[2]);
    EXPECT_EQ(ScreenSaverPolicyNote(false, true), notes[2]); // nothing runs, nothing locks
    // The tip holds 62 bytes; "Lumera Deck for Windows" and a line feed take 24 of them.
    for (const Text& note : notes)
        EXPECT_LE(note.size(), 38u) << note;
}

} // namespace
