#include "tray_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(TrayIds, CountUpFromTheLastAndStopAt99) {
    EXPECT_EQ(NextTrayIconId({}), 1);
    EXPECT_EQ(NextTrayIconId({1, 2}), 3);
    EXPECT_EQ(NextTrayIconId({1, 5}), 6); // gaps are not filled
    EXPECT_EQ(NextTrayIconId({7, 3}), 4); // the last registered, not the largest
    EXPECT_EQ(NextTrayIconId({98}), 99);
    EXPECT_EQ(NextTrayIconId({99}), 0);
}

TEST(TrayTips, CutTo62BytesOnACharacterBoundary) {
    Text seventy(70, 'x');
    EXPECT_EQ(CutTip(seventy), Text(62, 'x'));
    EXPECT_EQ(CutTip("短い"), "短い");
    EXPECT_EQ(CutTip(""), "");
    // 61 ASCII bytes and a double-byte character: the character would straddle byte 62.
    Text straddling = Text(61, 'a') + "表";
    EXPECT_EQ(CutTip(straddling), Text(61, 'a'));
    Text fitting = Text(60, 'a') + "表";
    EXPECT_EQ(CutTip(fitting), fitting);
}

} // namespace
