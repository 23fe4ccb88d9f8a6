// Windows of the project's own classes: one static window procedure binds the object at
// WM_NCCREATE and forwards every message to the virtual HandleMessage. A form's class
// name is the form's name, so other programs can find it with FindWindow.
#pragma once

#include "widget.h"

struct WindowParams {
    Text className;
    Text caption;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    Bounds bounds;         // 96-DPI pixels; for a top-level window, on the screen
    HWND parent = nullptr; // a child window when WS_CHILD is in style, else the owner
    UINT classStyle = CS_DBLCLKS;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    HICON icon = nullptr;
};

class Window : public Widget {
public:
    bool Create(const WindowParams& params);

protected:
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Reflects children's notifications to their objects, runs menu commands, and
    // leaves the rest to the platform.
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    HFONT font_ = nullptr;
};

// Registers a window class once per process for the given name.
void RegisterWindowClass(const Text& className, UINT classStyle, HBRUSH background, HICON icon, WNDPROC proc);
