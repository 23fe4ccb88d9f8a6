#include "label_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ShadowShift, FollowsAlignmentAndSignOfTheOffset) {
    // Left: a positive offset shifts the shadow, a negative one the text.
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Left, LabelLayout::Top, 2, 3).dx, 2);
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Left, LabelLayout::Top, -2, 3).dx, 0);
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Left, LabelLayout::Top, 0, 0).dx, 0);
    // Right: the other way round.
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Right, LabelLayout::Top, 2, 0).dx, 0);
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Right, LabelLayout::Top, -2, 0).dx, -2);
    // Centre: half, toward zero.
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Center, LabelLayout::Top, 3, 0).dx, 1);
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Center, LabelLayout::Top, -3, 0).dx, -1);
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Center, LabelLayout::Top, 1, 0).dx, 0);
}

TEST(ShadowShift, VerticalFollowsLayout) {
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Left, LabelLayout::Top, 0, 4).dy, 4);
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Left, LabelLayout::Top, 0, -4).dy, 0);
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Left, LabelLayout::Bottom, 0, 4).dy, 0);
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Left, LabelLayout::Bottom, 0, -4).dy, -4);
    EXPECT_EQ(ShadowShiftFor(LabelAlignment::Left, LabelLayout::Center, 0, -5).dy, -2);
    // The horizontal rule does not leak into the vertical one.
    ShadowShift shift = ShadowShiftFor(LabelAlignment::Right, LabelLayout::Top, 2, 2);
    EXPECT_EQ(shift.dx, 0);
    EXPECT_EQ(shift.dy, 2);
}

TEST(LayoutOffset, CentreAndBottom) {
    EXPECT_EQ(LayoutOffset(LabelLayout::Top, 40, 13), 0);
    EXPECT_EQ(LayoutOffset(LabelLayout::Center, 40, 13), 13);
    EXPECT_EQ(LayoutOffset(LabelLayout::Bottom, 40, 13), 27);
    // Text taller than the label: centre rounds toward zero, bottom goes above the top.
    EXPECT_EQ(LayoutOffset(LabelLayout::Center, 10, 13), -1);
    EXPECT_EQ(LayoutOffset(LabelLayout::Bottom, 10, 13), -3);
}

TEST(MarqueeX, TextCrossesFromEdgeToEdge) {
    // width 100, text 30 (no shadow offset): travel 130.
    EXPECT_EQ(MarqueeX(0, 10, 100, 30, mlRightToLeft, false, 0), 100);
    EXPECT_EQ(MarqueeX(10, 10, 100, 30, mlRightToLeft, false, 0), -30);
    EXPECT_EQ(MarqueeX(0, 10, 100, 30, mlLeftToRight, false, 0), -30);
    EXPECT_EQ(MarqueeX(10, 10, 100, 30, mlLeftToRight, false, 0), 100);
    EXPECT_EQ(MarqueeX(3, 10, 100, 30, mlLeftToRight, false, 0), 9); // 39 - 30
}

TEST(MarqueeX, RoundsHalfToEven) {
    // travel 5 (width 4 + text 1), half way: 2.5 -> 2, so x = 1; travel 7: 3.5 -> 4, x = 3.
    EXPECT_EQ(MarqueeX(1, 2, 4, 1, mlLeftToRight, false, 0), 1);
    EXPECT_EQ(MarqueeX(1, 2, 6, 1, mlLeftToRight, false, 0), 3);
    EXPECT_EQ(MarqueeX(1, 2, 6, 1, mlRightToLeft, false, 0), 3);
    // A quarter of travel 10 is 2.5 -> 2; three quarters 7.5 -> 8.
    EXPECT_EQ(MarqueeX(1, 4, 9, 1, mlLeftToRight, false, 0), 1);
    EXPECT_EQ(MarqueeX(3, 4, 9, 1, mlLeftToRight, false, 0), 7);
}

TEST(MarqueeX, ShadowOffsetWidensTheTextAndANegativeOneShiftsIt) {
    // w = 30 + |offset| whether the shadow shows or not.
    EXPECT_EQ(MarqueeX(10, 10, 100, 30, mlRightToLeft, false, 4), -34);
    EXPECT_EQ(MarqueeX(10, 10, 100, 30, mlRightToLeft, true, 4), -34);
    EXPECT_EQ(MarqueeX(10, 10, 100, 30, mlRightToLeft, false, -4), -34);
    // A visible shadow on the left moves the text right by the offset.
    EXPECT_EQ(MarqueeX(10, 10, 100, 30, mlRightToLeft, true, -4), -30);
    EXPECT_EQ(MarqueeX(0, 10, 100, 30, mlRightToLeft, true, -4), 104);
}

TEST(MarqueeY, CentredWhenTheTextFits) {
    EXPECT_EQ(MarqueeY(30, 13, false, 0), 8);
    EXPECT_EQ(MarqueeY(30, 13, true, 3), 7);
    EXPECT_EQ(MarqueeY(30, 13, true, -3), 10);
    EXPECT_EQ(MarqueeY(30, 13, false, 3), 8); // a hidden shadow takes no room
    EXPECT_EQ(MarqueeY(13, 13, true, 3), 0);
    EXPECT_EQ(MarqueeY(10, 13, false, 0), 0);
    EXPECT_EQ(MarqueeY(14, 13, true, 4), -1); // (14 - 13 - 4) / 2 toward zero
}

TEST(PropertyLimits, BlinkRateSpeedSteps) {
    EXPECT_EQ(ClampBlinkRate(50), 100);
    EXPECT_EQ(ClampBlinkRate(1), 100);
    EXPECT_EQ(ClampBlinkRate(-5), 100);
    EXPECT_EQ(ClampBlinkRate(0), 0);
    EXPECT_EQ(ClampBlinkRate(100), 100);
    EXPECT_EQ(ClampBlinkRate(750), 750);
    EXPECT_EQ(ClampSpeed(5000), 1000);
    EXPECT_EQ(ClampSpeed(1000), 1000);
    EXPECT_EQ(ClampSpeed(0), 1);
    EXPECT_EQ(ClampSpeed(-3), 1);
    EXPECT_EQ(ClampSpeed(250), 250);
    EXPECT_EQ(ClampSteps(0), 1);
    EXPECT_EQ(ClampSteps(-7), 1);
    EXPECT_EQ(ClampSteps(50), 50);
}

// Records the callbacks of a pass as a string: B(egin), S(tep) with the counter, E(nd),
// + / - for the timer switched on and off.
struct PassLog {
    MarqueePass pass;
    std::string log;
    PassLog() {
        pass.onBegin = [this] { log += "B"; };
        pass.onStep = [this] { log += "S" + std::to_string(pass.Counter()); };
        pass.onEnd = [this] { log += "E"; };
        pass.onRunningChange = [this](bool running) { log += running ? "+" : "-"; };
    }
};

TEST(MarqueePass, OneStepPassFiresBeginStepEndInOneTick) {
    PassLog p;
    p.pass.SetSteps(1);
    p.pass.Start(0);
    p.pass.Tick();
    EXPECT_EQ(p.log, "+BS1-E");
    EXPECT_FALSE(p.pass.Running());
    EXPECT_EQ(p.pass.Counter(), 0);
    p.pass.Tick(); // idle ticks do nothing
    EXPECT_EQ(p.log, "+BS1-E");
}

TEST(MarqueePass, FullPassAndStartDuringAPassIgnored) {
    PassLog p;
    p.pass.SetSteps(3);
    p.pass.Start(0);
    p.pass.Tick();
    p.pass.Start(2); // ignored: the pass keeps its counter
    p.pass.Tick();
    p.pass.Tick();
    EXPECT_EQ(p.log, "+BS1S2S3-E");
}

TEST(MarqueePass, StartOutsideTheStepsBeginsAtZero) {
    for (int first : {-1, 4}) {
        PassLog p;
        p.pass.SetSteps(3);
        p.pass.Start(first);
        EXPECT_EQ(p.pass.Counter(), 0) << first;
        p.pass.Tick();
        EXPECT_EQ(p.log, "+BS1") << first;
    }
    PassLog p;
    p.pass.SetSteps(3);
    p.pass.Start(2); // a later start skips OnBegin
    p.pass.Tick();
    EXPECT_EQ(p.log, "+S3-E");
}

TEST(MarqueePass, PassStartedAtTheLastStepStillEnds) {
    PassLog p;
    p.pass.SetSteps(3);
    p.pass.Start(3);
    p.pass.Tick();
    EXPECT_FALSE(p.pass.Running());
    EXPECT_EQ(p.log, "+S4-E");
}

TEST(MarqueePass, EndMayStartTheNextPassAtAnyStep) {
    PassLog p;
    p.pass.SetSteps(2);
    p.pass.onEnd = [&] {
        p.log += "E";
        p.pass.Start(1);
    };
    p.pass.Start(0);
    p.pass.Tick();
    p.pass.Tick();
    EXPECT_TRUE(p.pass.Running());
    EXPECT_EQ(p.pass.Counter(), 1);
    p.pass.Tick();
    EXPECT_EQ(p.log, "+BS1S2-E+S2-E+");
}

} // namespace
