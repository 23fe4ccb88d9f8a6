#include "back_layout.h"

#include <algorithm>

unsigned long ChannelColor(long red, long green, long blue) {
    auto low = [](long channel) { return static_cast<unsigned long>(channel) & 0xFFul; };
    return low(red) | (low(green) << 8) | (low(blue) << 16);
}

std::vector<GradientStrip> GradientStrips(int screenWidth, int screenHeight, long gradation, long red,
                                          long green, long blue) {
    std::vector<GradientStrip> strips;
    if (gradation < 1 || gradation > 3 || screenWidth <= 0 || screenHeight <= 0)
        return strips;
    const int height = screenHeight / GradientStripCount;
    auto colorWith = [&](long running) {
        return ChannelColor(gradation == 1 ? running : red, gradation == 2 ? running : green,
                            gradation == 3 ? running : blue);
    };
    for (int i = 1; i <= GradientStripCount; ++i) {
        GradientStrip strip;
        strip.top = (i - 1) * height;
        if (i == 1) {
            strip.height = height;
            strip.color = colorWith(255);
        } else if (i < GradientStripCount) {
            strip.height = height;
            strip.color = colorWith(263 - 8 * i);
        } else {
            strip.height = screenHeight - strip.top; // the rest of the screen
            strip.color = colorWith(0);
        }
        strips.push_back(strip);
    }
    return strips;
}

BackLayout LayOutBackground(const BackLayoutInput& in) {
    const int margin = in.app.top;
    const int left = in.app.left;
    BackLayout out;
    out.app = in.app;
    out.credit = in.credit;

    out.version.top = in.app.top + in.appExtent.height + margin / 4;
    out.version.left = std::max(in.app.left + in.appExtent.width - in.versionExtent.width, 3 * left);

    const int widest = std::max(in.copyrightExtent.width, in.messageExtent.width);
    out.copyright.left = in.screenWidth - widest - 2 * margin;
    out.message.left = out.copyright.left;

    const int bottomRow = in.screenHeight - in.messageExtent.height - margin;
    if (in.thankYou) {
        out.creditVisible = false;
        out.message.top = bottomRow;
    } else {
        out.credit.top = in.screenHeight - in.creditExtent.height - margin;
        if (2 * in.credit.left + in.creditExtent.width < out.copyright.left)
            out.message.top = bottomRow;
        else
            out.message.top = out.credit.top - in.messageExtent.height - margin / 2;
    }
    out.copyright.top = out.message.top - in.copyrightExtent.height;
    out.pictureTop = out.version.top + in.versionExtent.height + in.pictureLeft / 4;
    return out;
}
