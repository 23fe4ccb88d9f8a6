// The wizard's drawn pictures, read back pixel by pixel.
#include <gtest/gtest.h>

#include "gdi.h"
#include "wizard_art.h"

namespace {

struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> colours;
    COLORREF at(int x, int y) const { return colours[static_cast<size_t>(y * width + x)]; }
};

Pixels Read(HBITMAP bitmap) {
    Pixels pixels;
    BITMAP info = {};
    if (!GetObjectW(bitmap, sizeof info, &info))
        return pixels;
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    {
        SelectObjectScope selected(dc, bitmap);
        for (int y = 0; y < info.bmHeight; ++y)
            for (int x = 0; x < info.bmWidth; ++x)
                pixels.colours.push_back(GetPixel(dc, x, y));
    }
    DeleteDC(dc);
    return pixels;
}

int Brightness(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

bool IsGrey(COLORREF c) {
    return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
}

TEST(DefaultPicture, FillsTheAreaWithABlueFallAndALightMotifInTheMiddle) {
    UniqueGdiObject bitmap(CreateDefaultPicture(145, 265));
    ASSERT_TRUE(bitmap);
    Pixels picture = Read(static_cast<HBITMAP>(bitmap.get()));
    ASSERT_EQ(picture.width, 145);
    ASSERT_EQ(picture.height, 265);
    const COLORREF top = picture.at(0, 0), bottom = picture.at(0, 264);
    EXPECT_GT(GetBValue(top), GetRValue(top));
    EXPECT_GT(Brightness(top), Brightness(bottom)) << "darker towards the foot";
    int light = 0;
    for (int y = 0; y < 265; ++y)
        if (Brightness(picture.at(72, y)) > 3 * 180)
            ++light;
    EXPECT_GT(light, 20) << "the disc and the box stand out down the middle";
    // Another size is drawn to that size, motif included.
    UniqueGdiObject small(CreateDefaultPicture(60, 100));
    Pixels other = Read(static_cast<HBITMAP>(small.get()));
    EXPECT_EQ(other.width, 60);
    EXPECT_EQ(other.height, 100);
}

TEST(ButtonGlyphs, TwoStatesOnATransparentBackground) {
    Pixels shapes[3];
    const GlyphShape kinds[] = {GlyphShape::Back, GlyphShape::Next, GlyphShape::Cancel};
    for (int i = 0; i < 3; ++i) {
        UniqueGdiObject bitmap(CreateButtonGlyph(kinds[i]));
        ASSERT_TRUE(bitmap);
        shapes[i] = Read(static_cast<HBITMAP>(bitmap.get()));
        const Pixels& glyph = shapes[i];
        ASSERT_EQ(glyph.width, 2 * GlyphSize);
        ASSERT_EQ(glyph.height, GlyphSize);
        // The window layer takes the bottom-left pixel's colour as the transparent one.
        EXPECT_EQ(glyph.at(0, GlyphSize - 1), GlyphBackground) << i;
        int coloured = 0, drawnDisabled = 0, colouredDisabled = 0;
        for (int y = 0; y < GlyphSize; ++y)
            for (int x = 0; x < GlyphSize; ++x) {
                const COLORREF enabled = glyph.at(x, y), disabled = glyph.at(GlyphSize + x, y);
                coloured += enabled != GlyphBackground && !IsGrey(enabled);
                drawnDisabled += disabled != GlyphBackground;
                colouredDisabled += disabled != GlyphBackground && !IsGrey(disabled);
            }
        EXPECT_GT(coloured, 20) << i;
        EXPECT_GT(drawnDisabled, 20) << i;
        EXPECT_EQ(colouredDisabled, 0) << "the disabled glyph is grey " << i;
    }
    // Back points the other way from Next.
    for (int y = 0; y < GlyphSize; ++y)
        for (int x = 0; x < GlyphSize; ++x)
            EXPECT_EQ(shapes[0].at(x, y), shapes[1].at(GlyphSize - 1 - x, y)) << x << "," << y;
    EXPECT_GT(GetRValue(shapes[2].at(8, 8)), GetGValue(shapes[2].at(8, 8))) << "a red cross";
}

} // namespace
