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

TEST(TrayCallbacks, BothFormsOfTheShellsMessageGiveIdEventAndAnchor) {
    struct Case {
        std::uintptr_t wParam;
        std::intptr_t lParam;
        int id;
        unsigned event;
        bool anchored;
        int x, y;
    } cases[] = {
        {7, 0x0204, 7, 0x0204, false, 0, 0},                     // before version 4: WM_RBUTTONDOWN
        {99, 0x0203, 99, 0x0203, false, 0, 0},                   // WM_LBUTTONDBLCLK
        {0x02D0'0500, 0x0001'007B, 1, 0x007B, true, 1280, 720},  // WM_CONTEXTMENU at (1280, 720)
        {0xFFF6'FF38, 0x0063'0201, 99, 0x0201, true, -200, -10}, // a monitor left of and above the main one
        {0, 0x0005'0401, 5, 0x0401, true, 0, 0},                 // NIN_KEYSELECT at the origin
    };
    for (const Case& c : cases) {
        TrayCallback callback = DecodeTrayCallback(c.wParam, c.lParam);
        SCOPED_TRACE(c.id);
        EXPECT_EQ(callback.id, c.id);
        EXPECT_EQ(callback.event, c.event);
        EXPECT_EQ(callback.anchored, c.anchored);
        EXPECT_EQ(callback.x, c.x);
        EXPECT_EQ(callback.y, c.y);
    }
}

} // namespace
