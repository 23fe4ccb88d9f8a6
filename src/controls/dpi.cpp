#include "dpi.h"

namespace {

// Newer systems answer per window; older ones (and some Wine versions) only per screen.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn LoadGetDpiForWindow() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32)
        return nullptr;
    // Through void* to tell the compiler the function type is known to be right.
    return reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
}

} // namespace

DpiScale DpiScale::ForWindow(HWND window) {
    static GetDpiForWindowFn getDpiForWindow = LoadGetDpiForWindow();
    if (getDpiForWindow && window) {
        UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return DpiScale(static_cast<int>(dpi));
    }
    return ForSystem();
}

DpiScale DpiScale::ForSystem() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return DpiScale(dpi > 0 ? dpi : 96);
}
