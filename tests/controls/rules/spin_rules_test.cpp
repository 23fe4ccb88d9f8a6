#include "spin_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(SpinBounds, ClampOnlyWhenTheBoundsDiffer) {
    EXPECT_EQ(ClampValue(0, 1, 3600), 1);
    EXPECT_EQ(ClampValue(5000, 1, 3600), 3600);
    EXPECT_EQ(ClampValue(1, 1, 3600), 1);
    EXPECT_EQ(ClampValue(3600, 1, 3600), 3600);
    EXPECT_EQ(ClampValue(-7, -10, -5), -7);
    // Equal bounds, zero or not, mean no bounds.
    EXPECT_EQ(ClampValue(-123456, 0, 0), -123456);
    EXPECT_EQ(ClampValue(99, 5, 5), 99);
}

TEST(SpinBounds, StepsSaturateInsteadOfOverflowing) {
    EXPECT_EQ(StepValue(5, 1, 1, 3600), 6);
    EXPECT_EQ(StepValue(3600, 1, 1, 3600), 3600);
    EXPECT_EQ(StepValue(1, -1, 1, 3600), 1);
    EXPECT_EQ(StepValue(INT_MAX, 1, 0, 0), INT_MAX);
    EXPECT_EQ(StepValue(INT_MIN, -10, 0, 0), INT_MIN);
}

TEST(SpinText, IntegersReadAndAnythingElseIsMinValue) {
    EXPECT_EQ(SpinValueFromText("42", 1), 42);
    EXPECT_EQ(SpinValueFromText("-17", 1), -17);
    EXPECT_EQ(SpinValueFromText("+8", 1), 8);
    EXPECT_EQ(SpinValueFromText(" 12 ", 1), 12);
    EXPECT_EQ(SpinValueFromText("0", 1), 0); // read as it stands, not bounded
    EXPECT_EQ(SpinValueFromText("", 1), 1);
    EXPECT_EQ(SpinValueFromText("abc", 1), 1);
    EXPECT_EQ(SpinValueFromText("-", 7), 7);
    EXPECT_EQ(SpinValueFromText("1.5", 1), 1);
    EXPECT_EQ(SpinValueFromText("12a", 1), 1);
    EXPECT_EQ(SpinValueFromText("1 2", 1), 1);
    EXPECT_EQ(SpinValueFromText("１２", 1), 1); // full-width digits are not integers here
    EXPECT_EQ(SpinValueFromText("2147483647", 0), INT_MAX);
    EXPECT_EQ(SpinValueFromText("-2147483648", 0), INT_MIN);
    EXPECT_EQ(SpinValueFromText("2147483648", 3), 3);
    EXPECT_EQ(SpinValueFromText("99999999999999999999", 3), 3);
}

TEST(SpinText, LeavingCorrectsInvalidAndOutOfRangeText) {
    EXPECT_TRUE(NeedsCorrection("", 1, 3600));
    EXPECT_TRUE(NeedsCorrection("abc", 1, 3600));
    EXPECT_TRUE(NeedsCorrection("0", 1, 3600));
    EXPECT_TRUE(NeedsCorrection("5000", 1, 3600));
    EXPECT_FALSE(NeedsCorrection("60", 1, 3600));
    EXPECT_FALSE(NeedsCorrection("-99999", 0, 0));
    EXPECT_TRUE(NeedsCorrection("", 0, 0));
}

TEST(SpinKeys, EditableFieldTakesDigitsSignsSeparatorAndControls) {
    for (unsigned ch : {48u, 53u, 57u, 43u, 45u, 46u, 8u, 9u, 27u, 3u, 22u}) // digits, + - . and controls
        EXPECT_TRUE(AcceptSpinChar(ch, '.', true)) << ch;
    for (unsigned ch : {97u, 90u, 32u, 47u, 58u, 13u, 127u, 0xFF11u}) // a Z space / : CR DEL full-width 1
        EXPECT_FALSE(AcceptSpinChar(ch, '.', true)) << ch;
    // The separator is the locale's, not always '.'.
    EXPECT_TRUE(AcceptSpinChar(',', ',', true));
    EXPECT_FALSE(AcceptSpinChar('.', ',', true));
}

TEST(SpinKeys, ReadOnlyEditorRefusesEverythingThatChangesText) {
    for (unsigned ch : {48u, 57u, 43u, 45u, 8u, 46u})
        EXPECT_FALSE(AcceptSpinChar(ch, '.', false)) << ch;
    EXPECT_FALSE(AcceptSpinChar(',', ',', false));
    EXPECT_FALSE(AcceptSpinChar(13, '.', false));
    for (unsigned ch : {9u, 27u, 3u})
        EXPECT_TRUE(AcceptSpinChar(ch, '.', false)) << ch;
}

TEST(SpinLayout, MinimumHeightOfTheField) {
    // 12-pixel font, 16-pixel system font, 1-pixel borders: 12 + 3 + 4 + 2.
    EXPECT_EQ(SpinEditMinHeight(12, 16, 1), 21);
    // A font taller than the system font: the quarter is of the system font.
    EXPECT_EQ(SpinEditMinHeight(30, 16, 1), 30 + 4 + 4 + 2);
    EXPECT_EQ(SpinEditMinHeight(13, 16, 2), 13 + 3 + 8 + 2);
}

TEST(SpinLayout, ArrowsSitAtTheRightEdgeOfTheField) {
    EXPECT_EQ(SpinButtonPlacement(121, 21, 15, true), (SpinRect{101, 0, 15, 16}));
    EXPECT_EQ(SpinButtonPlacement(121, 21, 15, false), (SpinRect{106, 1, 15, 18}));
    EXPECT_EQ(SpinTextRight(117, 15), 100);
}

TEST(SpinLayout, ArrowPairSplitsItsHeightAndOverlapsByOnePixel) {
    SpinButtonLayout standard = LayOutSpinButton(20, 25, SpinButtonMinWidth);
    EXPECT_EQ(standard.width, 20);
    EXPECT_EQ(standard.up, (SpinRect{0, 0, 20, 12}));
    EXPECT_EQ(standard.down, (SpinRect{0, 11, 20, 14}));

    SpinButtonLayout narrow = LayOutSpinButton(8, 16, SpinButtonMinWidth);
    EXPECT_EQ(narrow.width, 15);
    EXPECT_EQ(narrow.up, (SpinRect{0, 0, 15, 8}));
    EXPECT_EQ(narrow.down, (SpinRect{0, 7, 15, 9}));
    // The down arrow always reaches the bottom.
    for (int height : {1, 2, 17, 33})
        EXPECT_EQ(LayOutSpinButton(15, height, 15).down.top + LayOutSpinButton(15, height, 15).down.height,
                  height);
}

TEST(SpinRepeat, LongPauseFirstThenShortSteps) {
    EXPECT_EQ(RepeatIntervalAfter(0), 400u);
    EXPECT_EQ(RepeatIntervalAfter(1), 100u);
    EXPECT_EQ(RepeatIntervalAfter(9), 100u);
    EXPECT_EQ(RepeatClicksWhileHeld(150), 0);
    EXPECT_EQ(RepeatClicksWhileHeld(399), 0);
    EXPECT_EQ(RepeatClicksWhileHeld(400), 1);
    EXPECT_EQ(RepeatClicksWhileHeld(499), 1);
    EXPECT_EQ(RepeatClicksWhileHeld(1000), 7);
}

} // namespace
