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

} // namespace
