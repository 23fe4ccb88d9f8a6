#include "file_flight.h"

#include <algorithm>

#include "gdi.h"

bool FileFlight::Create(Widget& parent, const Bounds& bounds, bool toBin) {
    toBin_ = toBin;
    WindowParams params;
    params.className = "TFileFlight";
    params.style = WS_CHILD | WS_VISIBLE;
    params.parent = parent.handle();
    params.bounds = bounds;
    if (!Window::Create(params))
        return false;
    timer_.SetHandler([this] {
        frame_ = (frame_ + 1) % Frames;
        Invalidate();
    });
    return true;
}

void FileFlight::Play() {
    timer_.SetEnabled(true);
}

void FileFlight::Stop() {
    timer_.SetEnabled(false);
    frame_ = 0;
    Invalidate();
}

LRESULT FileFlight::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT:
        PaintBuffered(handle(), [this](HDC dc, const RECT& client) { Paint(dc, client); });
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

namespace {

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF fill) {
    UniqueGdiObject brush(CreateSolidBrush(fill));
    SelectObjectScope selectBrush(dc, brush.get());
    SelectObjectScope selectPen(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, left, top, right, bottom);
}

void DrawFolder(HDC dc, int x, int y, int scale) {
    COLORREF yellow = RGB(240, 200, 80);
    FillBox(dc, x, y, x + 6 * scale, y + 2 * scale, yellow); // the tab
    FillBox(dc, x, y + scale, x + 14 * scale, y + 10 * scale, yellow);
}

void DrawBin(HDC dc, int x, int y, int scale) {
    COLORREF grey = RGB(170, 180, 190);
    FillBox(dc, x - scale, y, x + 13 * scale, y + 2 * scale, grey); // the lid
    FillBox(dc, x, y + 2 * scale, x + 12 * scale, y + 14 * scale, grey);
    SelectObjectScope selectPen(dc, GetStockObject(BLACK_PEN));
    for (int i = 1; i <= 3; ++i) {
        MoveToEx(dc, x + 3 * i * scale, y + 4 * scale, nullptr);
        LineTo(dc, x + 3 * i * scale, y + 12 * scale);
    }
}

void DrawSheet(HDC dc, int x, int y, int scale) {
    FillBox(dc, x, y, x + 6 * scale, y + 8 * scale, RGB(255, 255, 255));
    SelectObjectScope selectPen(dc, GetStockObject(BLACK_PEN));
    for (int line = 2; line <= 6; line += 2) {
        MoveToEx(dc, x + scale, y + line * scale, nullptr);
        LineTo(dc, x + 5 * scale, y + line * scale);
    }
}

} // namespace

void FileFlight::Paint(HDC dc, const RECT& area) const {
    UniqueGdiObject face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &area, static_cast<HBRUSH>(face.get()));
    int scale = std::max(1, static_cast<int>(area.bottom) / 20);
    int width = area.right, folderTop = area.bottom - 11 * scale - 2;
    int fromX = width / 2 - 40 * scale - 14 * scale, toX = width / 2 + 40 * scale;
    DrawFolder(dc, fromX, folderTop, scale);
    if (toBin_)
        DrawBin(dc, toX + scale, folderTop - 3 * scale, scale);
    else
        DrawFolder(dc, toX, folderTop, scale);
    // The sheet rises out of the first and sinks into the second along an arc.
    int span = toX - fromX;
    int sheetTop = folderTop - 4 * scale;
    int t = frame_ * 2 - (Frames - 1); // -15..15
    int lift =
        ((Frames - 1) * (Frames - 1) - t * t) * std::max(0, sheetTop - 1) / ((Frames - 1) * (Frames - 1));
    DrawSheet(dc, fromX + 4 * scale + span * frame_ / (Frames - 1), sheetTop - lift, scale);
}
