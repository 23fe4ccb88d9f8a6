#include "back_layout.h"

#include <gtest/gtest.h>

namespace {

unsigned long Blue(int value) {
    return static_cast<unsigned long>(value) << 16;
}

TEST(GradientStrips, DefaultBlueFallsFromTopToBottom) {
    std::vector<GradientStrip> strips = GradientStrips(1024, 768, 3, 0, 0, 0);
    ASSERT_EQ(strips.size(), 33u);
    EXPECT_EQ(strips[0].color, Blue(255));
    EXPECT_EQ(strips[1].color, Blue(247));
    EXPECT_EQ(strips[2].color, Blue(239));
    EXPECT_EQ(strips[31].color, Blue(7));
    EXPECT_EQ(strips[32].color, Blue(0));
    // Every strip's running value is 8 below the one above it, from the second on.
    for (size_t i = 2; i < 32; ++i)
        EXPECT_EQ(strips[i - 1].color - strips[i].color, Blue(8)) << i;
}

TEST(GradientStrips, LastStripTakesTheRemainder) {
    // 768 = 33 * 23 + 9
    std::vector<GradientStrip> strips = GradientStrips(1024, 768, 3, 0, 0, 0);
    for (size_t i = 0; i < 32; ++i) {
        EXPECT_EQ(strips[i].top, static_cast<int>(i) * 23);
        EXPECT_EQ(strips[i].height, 23);
    }
    EXPECT_EQ(strips[32].top, 32 * 23);
    EXPECT_EQ(strips[32].height, 23 + 9);
    EXPECT_EQ(strips[32].top + strips[32].height, 768);

    // Exactly divisible: the last strip is as tall as the others.
    strips = GradientStrips(800, 660, 1, 0, 0, 0);
    EXPECT_EQ(strips[32].height, 20);
}

TEST(GradientStrips, RunningChannelAndFixedChannels) {
    std::vector<GradientStrip> red = GradientStrips(640, 480, 1, 9, 20, 30);
    EXPECT_EQ(red[0].color, ChannelColor(255, 20, 30));
    EXPECT_EQ(red[32].color, ChannelColor(0, 20, 30));
    std::vector<GradientStrip> green = GradientStrips(640, 480, 2, 10, 99, 30);
    EXPECT_EQ(green[1].color, ChannelColor(10, 247, 30));
    EXPECT_EQ(green[32].color, ChannelColor(10, 0, 30));
}

TEST(GradientStrips, OtherGradationsAndDegenerateScreensGiveNone) {
    EXPECT_TRUE(GradientStrips(640, 480, 0, 0, 0, 0).empty());
    EXPECT_TRUE(GradientStrips(640, 480, 4, 0, 0, 0).empty());
    EXPECT_TRUE(GradientStrips(640, 480, -1, 0, 0, 0).empty());
    EXPECT_TRUE(GradientStrips(0, 480, 3, 0, 0, 0).empty());
    // Fewer rows than strips: the last strip covers everything.
    std::vector<GradientStrip> tiny = GradientStrips(10, 20, 3, 0, 0, 0);
    ASSERT_EQ(tiny.size(), 33u);
    EXPECT_EQ(tiny[32].top, 0);
    EXPECT_EQ(tiny[32].height, 20);
}

TEST(GradientStrips, ChannelsKeepTheirLowByte) {
    EXPECT_EQ(ChannelColor(0x1FF, 0, 0), 0xFFul);
    EXPECT_EQ(ChannelColor(-1, 0, 0), 0xFFul);
    EXPECT_EQ(ChannelColor(1, 2, 3), 0x030201ul);
}

BackLayoutInput Screen(int width, int height) {
    BackLayoutInput in;
    in.screenWidth = width;
    in.screenHeight = height;
    in.appExtent = {200, 37};
    in.versionExtent = {60, 16};
    in.copyrightExtent = {150, 16};
    in.messageExtent = {100, 16};
    in.creditExtent = {180, 15};
    return in;
}

TEST(BackLayout, VersionRightAlignedUnderTheName) {
    BackLayout out = LayOutBackground(Screen(1024, 768));
    EXPECT_EQ(out.app.left, 16);
    EXPECT_EQ(out.app.top, 16);
    EXPECT_EQ(out.version.top, 16 + 37 + 4);
    EXPECT_EQ(out.version.left + 60, 16 + 200);
    EXPECT_EQ(out.pictureTop, out.version.top + 16 + 8);

    // A version wider than the name stops at three margins from the left.
    BackLayoutInput in = Screen(1024, 768);
    in.versionExtent.width = 190;
    EXPECT_EQ(LayOutBackground(in).version.left, 48);
    in.appExtent = {}; // no name at all
    in.versionExtent = {60, 16};
    EXPECT_EQ(LayOutBackground(in).version.left, 48);
}

TEST(BackLayout, WiderTextDecidesTheSharedLeftEdge) {
    BackLayoutInput in = Screen(1024, 768);
    in.copyrightExtent.width = 500;
    BackLayout out = LayOutBackground(in);
    EXPECT_EQ(out.copyright.left, 1024 - 500 - 32);
    EXPECT_EQ(out.message.left, out.copyright.left);
    in.copyrightExtent.width = 50;
    in.messageExtent.width = 300;
    out = LayOutBackground(in);
    EXPECT_EQ(out.copyright.left, 1024 - 300 - 32);
    EXPECT_EQ(out.message.left, out.copyright.left);
}

TEST(BackLayout, MessageBesideOrAboveTheCreditLine) {
    BackLayoutInput in = Screen(1024, 768);
    BackLayout out = LayOutBackground(in);
    EXPECT_TRUE(out.creditVisible);
    EXPECT_EQ(out.credit.left, 16);
    EXPECT_EQ(out.credit.top, 768 - 15 - 16);
    // 2 * 16 + 180 = 212 < 1024 - 150 - 32: beside it, at the bottom margin.
    EXPECT_EQ(out.message.top, 768 - 16 - 16);
    EXPECT_EQ(out.copyright.top, out.message.top - 16);

    // Exactly touching counts as not fitting: above the credit line, half a margin apart.
    in.copyrightExtent.width = 1024 - 32 - 212;
    out = LayOutBackground(in);
    EXPECT_EQ(out.copyright.left, 212);
    EXPECT_EQ(out.message.top, out.credit.top - 16 - 8);
    EXPECT_EQ(out.copyright.top, out.message.top - 16);
    in.copyrightExtent.width -= 1;
    EXPECT_EQ(LayOutBackground(in).message.top, 768 - 16 - 16);
}

TEST(BackLayout, ThankYouHidesTheCreditLine) {
    BackLayoutInput in = Screen(640, 480);
    in.copyrightExtent.width = 600; // would push the message above the credit line
    in.thankYou = true;
    BackLayout out = LayOutBackground(in);
    EXPECT_FALSE(out.creditVisible);
    EXPECT_EQ(out.message.top, 480 - 16 - 16);
    EXPECT_EQ(out.copyright.top, out.message.top - 16);
    EXPECT_EQ(out.credit.top, 120); // left where it was designed
}

} // namespace
