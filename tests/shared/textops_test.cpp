#include "textops.h"

#include <gtest/gtest.h>

namespace {

TEST(ByteText, CopiesFromPositionsAndRight) {
    EXPECT_EQ(CopyFrom("abcdef", 3), "cdef");
    EXPECT_EQ(CopyFrom("abc", 4), "");
    EXPECT_EQ(RightBytes("abcdef", 2), "ef");
    EXPECT_EQ(RightBytes("abc", 0), "");
    EXPECT_EQ(RightBytes("abc", 9), "abc");
    Text three = "日本語";
    EXPECT_EQ(RightChars(three, 2), "本語");
    EXPECT_EQ(RightChars(three, 2).size(), 4u);
    EXPECT_EQ(RightChars(three, 5), three);
    EXPECT_EQ(RightChars(three, -1), "");
}

TEST(ByteText, Searches) {
    EXPECT_EQ(PosFrom("b", "abcb", 1), 2u);
    EXPECT_EQ(PosFrom("b", "abcb", 3), 4u);
    EXPECT_EQ(PosFrom("b", "abcb", 5), 0u);
    EXPECT_EQ(PosFrom("x", "abcb", 1), 0u);
    EXPECT_EQ(LastPos("b", "abcb"), 4u);
    EXPECT_EQ(LastPos("aa", "aaaa"), 3u); // overlapping hits, one byte after each
    EXPECT_EQ(LastPos("x", "abc"), 0u);
}

TEST(ByteText, Numbers) {
    EXPECT_EQ(IntToStrOrEmpty(255, 255), "");
    EXPECT_EQ(IntToStrOrEmpty(3, 255), "3");
    EXPECT_EQ(IntToStrOrEmpty(-7, 0), "-7");
    EXPECT_DOUBLE_EQ(TextToFloat("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(TextToFloat(" -2e3 "), -2000.0);
    EXPECT_DOUBLE_EQ(TextToFloat(""), 0.0);
    EXPECT_DOUBLE_EQ(TextToFloat("abc"), 0.0);
    EXPECT_DOUBLE_EQ(TextToFloat("1.5x"), 0.0);
    EXPECT_DOUBLE_EQ(TextToFloat("inf"), 0.0);
    long value = 0;
    EXPECT_TRUE(TryTextToInt(" 42 ", value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(TryTextToInt("0x10", value));
    EXPECT_EQ(value, 16);
    EXPECT_TRUE(TryTextToInt("-5", value));
    EXPECT_EQ(value, -5);
    EXPECT_FALSE(TryTextToInt("12a", value));
    EXPECT_FALSE(TryTextToInt("", value));
    EXPECT_FALSE(TryTextToInt("--1", value));
    EXPECT_FALSE(TryTextToInt("99999999999", value));
}

TEST(CharacterAwareText, UpperCasingLeavesTrailBytesAlone) {
    // "ー" is 81 5B and "ａ" is 82 81; only ASCII letters change.
    EXPECT_EQ(UpperCaseText("abcソz"), "ABCソZ");
    Text katakanaTrailA = "\x83\x61"; // "ャ": trail byte is "a"
    EXPECT_EQ(UpperCaseText(katakanaTrailA + "a"), katakanaTrailA + "A");
    EXPECT_TRUE(SameText("Autorun.Inf", "AUTORUN.INF"));
    EXPECT_FALSE(SameText(katakanaTrailA, "\x83\x41"));
}

TEST(CharacterAwareText, FindsOnlyRealCharacters) {
    Text path = "C:\\ソ\\表";
    EXPECT_EQ(FindCharFrom('\\', path, 1), 3u);
    EXPECT_EQ(FindCharFrom('\\', path, 4), 6u);
    EXPECT_EQ(FindLastChar('\\', path), 6u);
    EXPECT_FALSE(ContainsChar('\\', "ソ表"));
    EXPECT_TRUE(EndsWithChar("a\\", '\\'));
    EXPECT_FALSE(EndsWithChar("ソ", '\\'));
    EXPECT_EQ(LastCharPos("aソ"), 2u);
}

TEST(CharacterAwareText, TrailingAndLeadingCharacters) {
    EXPECT_EQ(AddTrailingChar('\\', ""), "\\");
    EXPECT_EQ(AddTrailingChar('\\', "C:\\"), "C:\\");
    EXPECT_EQ(AddTrailingChar('\\', "C:\\ソ"), "C:\\ソ\\");
    EXPECT_EQ(StripTrailingChars('\\', "C:\\\\"), "C:");
    EXPECT_EQ(StripTrailingChars('\\', "C:\\ソ"), "C:\\ソ");
    EXPECT_EQ(StripTrailingChars('\\', "C:\\ソ\\\\"), "C:\\ソ");
    EXPECT_EQ(StripLeadingChars('\\', "\\\\x"), "x");
    EXPECT_EQ(StripLeadingChars('\\', "ソ"), "ソ");
}

} // namespace

namespace {

TEST(HostileInput, LongLinesLoneLeadBytesAndZeros) {
    Text longLine(100 * 1024, 'a');
    longLine[50000] = ' ';
    Text trimmed = longLine + "  ";
    EXPECT_EQ(TrimText(trimmed, TrimBoth, true), longLine);
    EXPECT_EQ(CharLength(longLine), longLine.size());
    EXPECT_EQ(RightChars(longLine, 3), "aaa");

    Text lone = "C:\\dir\\\x83";
    EXPECT_EQ(CharLength(lone), 8u);
    EXPECT_EQ(StripTrailingChars('\\', lone), lone);
    EXPECT_EQ(UpperCaseText(lone), "C:\\DIR\\\x83");

    Text zeros("a\0b\\", 4);
    EXPECT_EQ(StripTrailingChars('\\', zeros), Text("a\0b", 3));
    EXPECT_EQ(FindLastChar('b', zeros), 3u);
    EXPECT_EQ(PosFrom(Text("\0", 1), zeros, 1), 2u);
}

} // namespace
