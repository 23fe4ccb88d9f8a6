#include "shortcut_entry.h"

#include <gtest/gtest.h>

namespace {

TEST(ShortcutEntry, SixFieldsWithTheLastTakingTheRest) {
    auto entry = ParseShortcutEntry("Group\\Tool|<Setup>\\Tool.exe|<Setup>|2|<Setup>\\Tool.ico|1");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->location, "Group\\Tool");
    EXPECT_EQ(entry->target, "<Setup>\\Tool.exe");
    EXPECT_EQ(entry->workDir, "<Setup>");
    EXPECT_EQ(entry->iconIndex, 2);
    EXPECT_EQ(entry->iconFile, "<Setup>\\Tool.ico");
    EXPECT_EQ(entry->showMode, 1);

    // Everything after the fifth "|" is the sixth field, further bars included.
    auto extra = ParseShortcutEntry("a|b|c|3|e|2|x|y");
    ASSERT_TRUE(extra);
    EXPECT_EQ(extra->iconIndex, 3);
    EXPECT_EQ(extra->showMode, 0); // "2|x|y" is no number
}

TEST(ShortcutEntry, EmptyFieldsAndNumbersThatAreNone) {
    auto entry = ParseShortcutEntry("|||||");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->location, "");
    EXPECT_EQ(entry->target, "");
    EXPECT_EQ(entry->iconIndex, 0);
    EXPECT_EQ(entry->showMode, 0);

    auto words = ParseShortcutEntry("L|T|W|abc|I|max");
    ASSERT_TRUE(words);
    EXPECT_EQ(words->iconIndex, 0);
    EXPECT_EQ(words->showMode, 0);
    EXPECT_EQ(ParseShortcutEntry("L|T|W| -7 |I| 2")->iconIndex, -7);
    EXPECT_EQ(ParseShortcutEntry("L|T|W| -7 |I| 2")->showMode, 2);
}

TEST(ShortcutEntry, FewerThanFiveBarsCreatesNothing) {
    EXPECT_FALSE(ParseShortcutEntry(""));
    EXPECT_FALSE(ParseShortcutEntry("Location"));
    EXPECT_FALSE(ParseShortcutEntry("Location|Target"));
    EXPECT_FALSE(ParseShortcutEntry("a|b|c|d|e"));
    EXPECT_TRUE(ParseShortcutEntry("a|b|c|d||"));
}

TEST(ShortcutEntry, TrailByteThatLooksLikeABarIsNoSeparator) {
    // "ポ" is 83 7C in code page 932: its trail byte is the code of "|".
    const Text po = "\x83\x7C";
    auto entry = ParseShortcutEntry(po + "|" + po + "|w|1|i|0");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->location, po);
    EXPECT_EQ(entry->target, po);
    EXPECT_FALSE(ParseShortcutEntry(po + po + po + po + po + po));
    EXPECT_EQ(ShortcutEntryLocation(po + "x|y"), po + "x");
}

TEST(ShortcutEntry, UninstallFormKeepsTheLocationOnly) {
    EXPECT_EQ(ShortcutEntryLocation("Group\\Tool|<Setup>\\Tool.exe"), "Group\\Tool");
    EXPECT_EQ(ShortcutEntryLocation("Group\\Tool"), "Group\\Tool");
    EXPECT_EQ(ShortcutEntryLocation("|rest"), "");
}

TEST(ShortcutEntry, LnkAppendedUnlessPresentInAnyCase) {
    EXPECT_EQ(AddShortcutExtension("Tool"), "Tool.lnk");
    EXPECT_EQ(AddShortcutExtension("Tool.LNK"), "Tool.LNK");
    EXPECT_EQ(AddShortcutExtension("Tool.Lnk"), "Tool.Lnk");
    EXPECT_EQ(AddShortcutExtension("Tool.lnk.txt"), "Tool.lnk.txt.lnk");
    EXPECT_EQ(AddShortcutExtension(""), ".lnk");
    EXPECT_EQ(AddShortcutExtension("lnk"), "lnk.lnk");
    // A double-byte character whose trail byte is "l" (0x6C) does not end a ".lnk".
    EXPECT_EQ(AddShortcutExtension(".ln\x83\x6C"), ".ln\x83\x6C.lnk");
    EXPECT_EQ(AddShortcutExtension(L"Caf\u00e9"), L"Caf\u00e9.lnk");
    EXPECT_EQ(AddShortcutExtension(L"Caf\u00e9.lNk"), L"Caf\u00e9.lNk");
    EXPECT_EQ(AddShortcutExtension(L"nk"), L"nk.lnk");
}

} // namespace
