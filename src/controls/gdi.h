// Owners for GDI objects and device contexts, in the style of the kernel handle owners.
#pragma once

#include <cstdint>

#include "win/handles.h"

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DestroyMenu(h); }
};

using UniqueGdiObject = Owned<GdiObjectTraits>;
using UniqueMenu = Owned<MenuTraits>;

inline HFONT AsFont(const UniqueGdiObject& object) {
    return static_cast<HFONT>(object.get());
}

inline HBITMAP AsBitmap(const UniqueGdiObject& object) {
    return static_cast<HBITMAP>(object.get());
}

// Selects an object into a device context for as long as it lives.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectObjectScope() { SelectObject(dc_, old_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A top-down 32-bit bitmap: every pixel is the colour drawn, row by row from the top left,
// so drawings can be read back (bits, when asked for, points at the pixels 0x00RRGGBB).
inline HBITMAP CreateTopDownBitmap(HDC dc, int width, int height, uint32_t** bits = nullptr) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits)
        *bits = static_cast<uint32_t*>(pixels);
    return bitmap;
}

// BeginPaint/EndPaint as a pair.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC dc() const { return dc_; }
    const RECT& area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC dc_;
};

// A memory device context with a bitmap of the given size, for flicker-free painting.
class OffscreenBitmap {
public:
    OffscreenBitmap(HDC target, int width, int height)
        : dc_(CreateCompatibleDC(target)), bitmap_(CreateCompatibleBitmap(target, width, height)),
          old_(SelectObject(dc_, bitmap_.get())) {}
    ~OffscreenBitmap() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    HDC dc() const { return dc_; }

private:
    HDC dc_;
    UniqueGdiObject bitmap_;
    HGDIOBJ old_;
};

// Answers WM_PAINT by painting the whole client area into a memory bitmap first, so the
// window never shows a half-drawn state. paint(dc, client) draws everything.
template <typename Paint> void PaintBuffered(HWND window, Paint paint) {
    PaintScope scope(window);
    RECT client;
    GetClientRect(window, &client);
    OffscreenBitmap buffer(scope.dc(), client.right > 0 ? client.right : 1,
                           client.bottom > 0 ? client.bottom : 1);
    paint(buffer.dc(), client);
    BitBlt(scope.dc(), 0, 0, client.right, client.bottom, buffer.dc(), 0, 0, SRCCOPY);
}
