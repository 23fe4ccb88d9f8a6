// Arithmetic of the installer's background window: the colour strips of its gradient
// and where its text lines and picture go. Pure, so it is tested without a screen.
#pragma once

#include <vector>

// One horizontal strip of the gradient, spanning the screen's width.
struct GradientStrip {
    int top = 0;
    int height = 0;
    unsigned long color = 0; // 0x00BBGGRR
};

constexpr int GradientStripCount = 33;

// The colour the platform makes of three channel values: each keeps its low byte only.
unsigned long ChannelColor(long red, long green, long blue);

// The 33 strips from the top of the screen down: the running channel (red for gradation 1,
// green for 2, blue for 3) falls from 255 to 0, the others keep the values given; the
// last strip takes what integer division leaves of the screen's height. Empty for any
// other gradation: the plain window colour shows then.
std::vector<GradientStrip> GradientStrips(int screenWidth, int screenHeight, long gradation, long red,
                                          long green, long blue);

struct LabelExtent {
    int width = 0;
    int height = 0;
};

struct LabelPlace {
    int left = 0;
    int top = 0;
};

// What the layout needs: the screen, the text extents of the five lines and whether the
// data file thanks the installer (which hides the credit line).
struct BackLayoutInput {
    int screenWidth = 0;
    int screenHeight = 0;
    LabelPlace app{16, 16}; // as designed; its top is also the margin
    LabelPlace credit{16, 120};
    int pictureLeft = 32;
    LabelExtent appExtent, versionExtent, copyrightExtent, messageExtent, creditExtent;
    bool thankYou = false;
};

struct BackLayout {
    LabelPlace app, version, copyright, message, credit;
    bool creditVisible = true;
    int pictureTop = 0;
};

// The version line right-aligned under the product name (never left of three margins),
// copyright and message sharing one left edge at the bottom right, the message beside the
// credit line when both fit on one row and above it otherwise, and the picture under
// the version line.
BackLayout LayOutBackground(const BackLayoutInput& in);
