#include "pictures.h"

#include <string>

namespace {

// Each row a string: '#' ink, 'w' white, 'r' the marker's red, anything else the face colour.
UniqueGdiObject Paint(const char* const* rows, int width, int height) {
    HDC screen = GetDC(nullptr);
    UniqueGdiObject bitmap(CreateCompatibleBitmap(screen, width, height));
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    {
        SelectObjectScope select(dc, bitmap.get());
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                char c = rows[y][x];
                COLORREF colour = c == '#'   ? RGB(0, 0, 0)
                                  : c == 'w' ? RGB(255, 255, 255)
                                  : c == 'r' ? RGB(200, 0, 0)
                                             : face;
                SetPixelV(dc, x, y, colour);
            }
        }
    }
    DeleteDC(dc);
    return bitmap;
}

} // namespace

UniqueGdiObject MakeShortcutArrow() {
    static const char* const rows[11] = {
        "###########", "#wwwwwwwww#", "#wwww####w#", "#wwwww###w#", "#wwww####w#", "#www###w#w#",
        "#ww###wwww#", "#ww##wwwww#", "#ww##wwwww#", "#wwwwwwwww#", "###########",
    };
    return Paint(rows, 11, 11);
}

UniqueGdiObject MakeNewerMarker() {
    // "NEW" in white on a red plate with rounded corners.
    static const char* const rows[11] = {
        ".rrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr.", "rrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr",
        "rrrrrrrwrrrwrrwwwwwrrwrrrwrrrrrrr", "rrrrrrrwwrrwrrwrrrrrrwrrrwrrrrrrr",
        "rrrrrrrwrwrwrrwrrrrrrwrrrwrrrrrrr", "rrrrrrrwrrwwrrwwwwrrrwrwrwrrrrrrr",
        "rrrrrrrwrrrwrrwrrrrrrwrwrwrrrrrrr", "rrrrrrrwrrrwrrwrrrrrrwwrwwrrrrrrr",
        "rrrrrrrwrrrwrrwwwwwrrwrrrwrrrrrrr", "rrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr",
        ".rrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr.",
    };
    return Paint(rows, 33, 11);
}
