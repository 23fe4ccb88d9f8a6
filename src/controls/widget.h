// The window layer's base: an object that owns one window handle. Windows of the
// project's own classes (Window) and platform controls (Control) both derive from it;
// a parent reflects its children's notifications to their objects.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "dpi.h"
#include "jjstring.h"

// A rectangle in 96-DPI pixels, as the forms give positions.
struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
};

class Widget {
public:
    Widget() = default;
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    HWND handle() const { return hwnd_; }
    static Widget* FromHandle(HWND window);

    // The window text. The wide forms carry names beyond code page 932 (a path chosen by
    // the user) through unchanged; the Text forms are for the programs' own captions.
    Text text() const;
    void SetText(const Text& text);
    std::wstring wideText() const;
    void SetText(const std::wstring& text);
    bool enabled() const;
    void SetEnabled(bool enabled);
    bool visible() const;
    void SetVisible(bool visible);
    void Focus();
    bool focused() const;
    int tag = 0;

    // The component's name ("Button1", "CheckBox12"), kept with the window so that other
    // programs (and tools that drive the program) can find the control by it.
    void SetName(const Text& name);
    static Text NameOf(HWND window);

    DpiScale dpi() const { return DpiScale::ForWindow(hwnd_); }
    // Position and size in 96-DPI pixels relative to the parent's client area.
    void SetBounds(const Bounds& bounds);
    Bounds bounds() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void Invalidate();
    void SetFont(HFONT font);
    HFONT font() const;

    // Notifications a parent reflects to the child that sent them.
    virtual bool OnCommand(WORD /*code*/) { return false; }
    virtual bool OnNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    virtual HBRUSH OnControlColor(HDC /*dc*/) { return nullptr; }

protected:
    void Attach(HWND window);
    void Detach();

private:
    HWND hwnd_ = nullptr;
};
