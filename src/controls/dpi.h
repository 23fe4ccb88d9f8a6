// Forms are laid out in 96-DPI pixels and scaled to the monitor they are shown on.
#pragma once

#include <windows.h>

class DpiScale {
public:
    explicit DpiScale(int dpi = 96) : dpi_(dpi) {}
    static DpiScale ForWindow(HWND window);
    static DpiScale ForSystem();

    int dpi() const { return dpi_; }
    int Scale(int value96) const { return MulDiv(value96, dpi_, 96); }
    int Unscale(int value) const { return MulDiv(value, 96, dpi_); }
    RECT Scale(const RECT& rect96) const {
        return {Scale(rect96.left), Scale(rect96.top), Scale(rect96.right), Scale(rect96.bottom)};
    }

private:
    int dpi_;
};
