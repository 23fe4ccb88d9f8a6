#include "wizard_art.h"

#include <iterator>

#include "gdi.h"

namespace {

int Blend(int from, int to, int step, int steps) {
    return from + (to - from) * step / (steps > 1 ? steps - 1 : 1);
}

void FillPolygon(HDC dc, const POINT* points, int count, COLORREF fill, COLORREF edge) {
    UniqueGdiObject brush(CreateSolidBrush(fill));
    UniqueGdiObject pen(CreatePen(PS_SOLID, 1, edge));
    SelectObjectScope withBrush(dc, brush.get());
    SelectObjectScope withPen(dc, pen.get());
    Polygon(dc, points, count);
}

void FillDisc(HDC dc, int x, int y, int radius, COLORREF fill, COLORREF edge) {
    UniqueGdiObject brush(CreateSolidBrush(fill));
    UniqueGdiObject pen(CreatePen(PS_SOLID, 1, edge));
    SelectObjectScope withBrush(dc, brush.get());
    SelectObjectScope withPen(dc, pen.get());
    Ellipse(dc, x - radius, y - radius, x + radius + 1, y + radius + 1);
}

void DrawShape(HDC dc, GlyphShape shape, int left, int top, COLORREF colour) {
    if (shape == GlyphShape::Cancel) {
        UniqueGdiObject pen(CreatePen(PS_SOLID, 3, colour));
        SelectObjectScope withPen(dc, pen.get());
        MoveToEx(dc, left + 4, top + 4, nullptr);
        LineTo(dc, left + 12, top + 12);
        MoveToEx(dc, left + 12, top + 4, nullptr);
        LineTo(dc, left + 4, top + 12);
        return;
    }
    // An arrow pointing right; Back mirrors it.
    POINT arrow[] = {{2, 6}, {8, 6}, {8, 2}, {14, 8}, {8, 14}, {8, 10}, {2, 10}};
    for (POINT& point : arrow) {
        if (shape == GlyphShape::Back)
            point.x = 15 - point.x;
        point.x += left;
        point.y += top;
    }
    FillPolygon(dc, arrow, static_cast<int>(std::size(arrow)), colour, colour);
}

} // namespace

HBITMAP CreateDefaultPicture(int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateTopDownBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!picture || !dc) {
        if (dc)
            DeleteDC(dc);
        return picture;
    }
    {
        SelectObjectScope selected(dc, picture);
        // Night blue at the top falling to near black, in bands of four pixels.
        for (int y = 0; y < height; y += 4) {
            RECT band = {0, y, width, y + 4};
            UniqueGdiObject brush(CreateSolidBrush(
                RGB(Blend(24, 0, y, height), Blend(64, 10, y, height), Blend(160, 48, y, height))));
            FillRect(dc, &band, static_cast<HBRUSH>(brush.get()));
        }
        // A carton, seen from above and to the right, below the middle.
        const int boxLeft = width / 2 - 42, boxTop = height * 62 / 100, boxWidth = 70, boxHeight = 56;
        const POINT top[] = {{boxLeft, boxTop},
                             {boxLeft + boxWidth, boxTop},
                             {boxLeft + boxWidth + 16, boxTop - 14},
                             {boxLeft + 16, boxTop - 14}};
        const POINT side[] = {{boxLeft + boxWidth, boxTop},
                              {boxLeft + boxWidth + 16, boxTop - 14},
                              {boxLeft + boxWidth + 16, boxTop + boxHeight - 14},
                              {boxLeft + boxWidth, boxTop + boxHeight}};
        const POINT front[] = {{boxLeft, boxTop},
                               {boxLeft + boxWidth, boxTop},
                               {boxLeft + boxWidth, boxTop + boxHeight},
                               {boxLeft, boxTop + boxHeight}};
        const COLORREF edge = RGB(40, 60, 110);
        FillPolygon(dc, front, 4, RGB(120, 150, 205), edge);
        FillPolygon(dc, side, 4, RGB(80, 105, 165), edge);
        FillPolygon(dc, top, 4, RGB(170, 195, 235), edge);
        // A disc standing on it: silver rim, lighter data band, hub and hole.
        const int radius = width / 4 + 2, cx = width / 2, cy = boxTop - 8 - radius;
        FillDisc(dc, cx, cy, radius, RGB(205, 215, 232), RGB(90, 110, 150));
        FillDisc(dc, cx, cy, radius * 3 / 4, RGB(228, 236, 248), RGB(228, 236, 248));
        FillDisc(dc, cx, cy, radius / 3, RGB(160, 172, 196), RGB(120, 132, 160));
        FillDisc(dc, cx, cy, radius / 8, RGB(12, 32, 96), RGB(90, 110, 150));
    }
    DeleteDC(dc);
    return picture;
}

HBITMAP CreateButtonGlyph(GlyphShape shape) {
    HDC screen = GetDC(nullptr);
    HBITMAP glyph = CreateTopDownBitmap(screen, 2 * GlyphSize, GlyphSize);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!glyph || !dc) {
        if (dc)
            DeleteDC(dc);
        return glyph;
    }
    {
        SelectObjectScope selected(dc, glyph);
        RECT all = {0, 0, 2 * GlyphSize, GlyphSize};
        UniqueGdiObject background(CreateSolidBrush(GlyphBackground));
        FillRect(dc, &all, static_cast<HBRUSH>(background.get()));
        const COLORREF colour = shape == GlyphShape::Cancel ? RGB(192, 0, 0) : RGB(0, 112, 0);
        DrawShape(dc, shape, 0, 0, colour);
        // Disabled: grey, embossed on a white copy one pixel down and right.
        DrawShape(dc, shape, GlyphSize + 1, 1, RGB(255, 255, 255));
        DrawShape(dc, shape, GlyphSize, 0, RGB(128, 128, 128));
    }
    DeleteDC(dc);
    return glyph;
}
