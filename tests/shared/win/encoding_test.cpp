#include "win/encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(Encoding, Cp932RoundTripsThroughUtf16) {
    Text text = "C:\\ソ\\表示 ｽﾀｰﾄ ﾒﾆｭｰ";
    std::wstring wide = Widen(text);
    EXPECT_EQ(wide, L"C:\\\u30BD\\\u8868\u793A \uFF7D\uFF80\uFF70\uFF84 \uFF92\uFF86\uFF6D\uFF70");
    EXPECT_EQ(Narrow(wide), text);
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(static_cast<const wchar_t*>(nullptr)), "");
}

TEST(Encoding, BrokenBytesNeverCrash) {
    EXPECT_FALSE(Widen("a\x83").empty());
    EXPECT_FALSE(Widen(Text("\x81\0\x82", 3)).empty());
}

// Names CP932 cannot hold are reported, and never turn into another valid name.
TEST(Encoding, LossyNamesAreDetectedNotBestFitted) {
    Text out = "untouched";
    for (const wchar_t* name :
         {L"caf\u00E9.txt", L"\u00A5100", L"\uD55C\uAE00 \uBA54\uBAA8.txt", L"\U0001F600.png", L"Zo\u00EB",
          L"Jos\u00E9", L"1\u202F234", L"\u5F20\u4F1F.doc"}) {
        EXPECT_FALSE(NarrowExact(name, out));
        EXPECT_EQ(out, "untouched");
        EXPECT_EQ(NarrowOrEmpty(name), "");
    }
    EXPECT_EQ(Narrow(L"caf\u00E9"), "caf?"); // not "cafe", another file
    EXPECT_EQ(Narrow(L"\u00A5100"), "?100"); // not "\100", a new path separator
    EXPECT_EQ(Narrow(L"a\u00A0b"), "a?b");   // not a blank

    // What CP932 holds passes whole, including the one name that reads like a wildcard.
    EXPECT_TRUE(NarrowExact(L"C:\\\u5915\u713C\u3051\\\u30BD\u8868.doc", out));
    EXPECT_EQ(out, "C:\\夕焼け\\ソ表.doc");
    EXPECT_TRUE(NarrowExact(L"?", out));
    EXPECT_EQ(out, "?");
    EXPECT_TRUE(NarrowExact(L"", out));
    EXPECT_EQ(out, "");
}

} // namespace
