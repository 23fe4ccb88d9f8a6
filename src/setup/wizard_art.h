// The wizard's own pictures, drawn at run time so the program carries no image files: the
// picture beside the pages until "MainBmp" replaces it, and the buttons' glyphs.
#pragma once

#include <windows.h>

// A deep blue fall with a disc resting on a box: the installer's picture, width x height.
// The caller owns the bitmap.
HBITMAP CreateDefaultPicture(int width, int height);

enum class GlyphShape { Back, Next, Cancel };
constexpr int GlyphSize = 16;
// Two glyphs side by side (enabled, then disabled), GlyphSize square each, on a background
// colour that is the bottom-left pixel's. The caller owns the bitmap.
HBITMAP CreateButtonGlyph(GlyphShape shape);
// The background colour the glyphs are drawn on (it never occurs in a glyph itself).
constexpr COLORREF GlyphBackground = RGB(255, 0, 255);
