#include "jjstring.h"

#include <gtest/gtest.h>

namespace {

const Text So = "ソ";           // 83 5C: trail byte is "\"
const Text Space2 = "\x81\x40"; // full-width space

TEST(Characters, LeadBytesAreTheProjectsOwnCp932Set) {
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_FALSE(IsLeadByte(0xA0));
    EXPECT_FALSE(IsLeadByte(0xB1)); // half-width katakana is one byte
    EXPECT_FALSE(IsLeadByte(0xFD));
}

TEST(Characters, CodesAndLeadBytesAtTheEnd) {
    EXPECT_EQ(So.size(), 2u);
    EXPECT_EQ(CharCodeAt(So.c_str()), 0x835Cu);
    EXPECT_EQ(CharCodeAt("a"), unsigned('a'));
    EXPECT_EQ(CharCodeAt(""), 0u);
    // A lead byte that ends the text is a character of its own.
    Text lone = "a\x83";
    EXPECT_FALSE(IsLeadByteAt(lone.c_str() + 1));
    EXPECT_EQ(CharCodeAt(lone.c_str() + 1), 0x83u);
    EXPECT_EQ(CharLength(lone), 2u);
}

TEST(Characters, Blanks) {
    EXPECT_TRUE(IsBlankChar("\t", false));
    EXPECT_TRUE(IsBlankChar("\r", false));
    EXPECT_TRUE(IsBlankChar("\n", false));
    EXPECT_TRUE(IsBlankChar(" ", false));
    EXPECT_TRUE(IsBlankChar("\x7F", false));
    EXPECT_FALSE(IsBlankChar("\xA0", false));
    EXPECT_FALSE(IsBlankChar(Space2.c_str(), false));
    EXPECT_TRUE(IsBlankChar(Space2.c_str(), true));
    // A two-byte character whose trail byte is low is not a blank.
    EXPECT_FALSE(IsBlankChar("\x88\x20", true));
}

TEST(Characters, CursorsWalkWholeCharacters) {
    Text text = "aソb";
    const char* cursor = text.c_str();
    EXPECT_EQ(NextChar(cursor), 1);
    EXPECT_EQ(NextChar(cursor), 2);
    EXPECT_EQ(NextChar(cursor), 1);
    EXPECT_EQ(NextChar(cursor), 0);
    EXPECT_EQ(cursor, text.c_str() + text.size());

    char buffer[8] = {};
    char* dest = buffer;
    const char* source = So.c_str();
    EXPECT_EQ(CopyChar(dest, source, false), 1); // without the flag only the lead byte moves
    source = So.c_str();
    dest = buffer;
    EXPECT_EQ(CopyChar(dest, source, true), 2);
    EXPECT_EQ(Text(buffer, dest), So);

    size_t bytes = 0;
    EXPECT_EQ(SkipChars(text.c_str(), 2, bytes), 2u);
    EXPECT_EQ(bytes, 3u);
    EXPECT_EQ(SkipChars(text.c_str(), 0, bytes), 3u);
    EXPECT_EQ(bytes, 4u);
}

TEST(Characters, LengthAndSubstringsCountCharacters) {
    Text three = "日本語";
    EXPECT_EQ(CharLength(three), 3u);
    EXPECT_EQ(CharLength(""), 0u);
    EXPECT_EQ(MbCopy(three, 2, 1), "本");
    EXPECT_EQ(MbCopy(three, 0, 1), "日"); // index 0 counts as 1
    EXPECT_EQ(MbCopy(three, 2, 10), "本語");
    EXPECT_EQ(MbCopy(three, 4, 1), "");
    EXPECT_EQ(MbCopy(three, 9, 1), "");
    EXPECT_EQ(MbCopy(three, -1, 1), "");
    EXPECT_EQ(MbCopy(three, 1, 0), "");
}

TEST(Characters, CodesToText) {
    EXPECT_EQ(CharToStr(0x835C), So);
    EXPECT_EQ(CharToStr('x'), "x");
    EXPECT_EQ(CharToStr(0), "");
    char buffer[4];
    EXPECT_EQ(WriteCharCode(buffer, 0x8140) - buffer, 2);
    EXPECT_EQ(Text(buffer, 2), Space2);
}

Text Trimmed(Text text, TrimMode mode, bool wide = false) {
    return TrimText(text, mode, wide);
}

TEST(Trim, ModesKeepInnerBlanks) {
    EXPECT_EQ(Trimmed("  a b  ", TrimBoth), "a b");
    EXPECT_EQ(Trimmed("  a b  ", TrimLeading), "a b  ");
    EXPECT_EQ(Trimmed("  a b  ", TrimTrailing), "  a b");
    EXPECT_EQ(Trimmed("  a b  ", TrimEverywhere), "ab");
    EXPECT_EQ(Trimmed("   ", TrimBoth), "");
    EXPECT_EQ(Trimmed("", TrimTrailing), "");
}

TEST(Trim, WideSpacesOnlyWhenAsked) {
    Text text = Space2 + "日" + Space2;
    EXPECT_EQ(Trimmed(text, TrimBoth, true), "日");
    EXPECT_EQ(Trimmed(text, TrimBoth, false), text);
    EXPECT_EQ(MbTrim(" \t" + Space2 + "表 示" + Space2 + "\r\n"), "表 示");
}

TEST(Trim, NeverSplitsADoubleByteCharacter) {
    // 0x88 0x20 is one character, not a lead byte followed by a blank.
    Text text = "\x88\x20";
    EXPECT_EQ(Trimmed(text, TrimTrailing, true), text);
    EXPECT_EQ(Trimmed(text + " ", TrimBoth, true), text);
}

} // namespace
