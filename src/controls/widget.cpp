#include "widget.h"

#include "fit_layout.h"

#include "win/encoding.h"

namespace {

const wchar_t* const ObjectProperty = L"Lumera.Widget";
const wchar_t* const NameProperty = L"Lumera.Name"; // a global atom holding the name

} // namespace

Widget::~Widget() {
    if (hwnd_) {
        HWND window = hwnd_;
        Detach();
        DestroyWindow(window);
    }
}

Widget* Widget::FromHandle(HWND window) {
    return window ? static_cast<Widget*>(GetPropW(window, ObjectProperty)) : nullptr;
}

void Widget::Attach(HWND window) {
    hwnd_ = window;
    SetPropW(window, ObjectProperty, this);
}

void Widget::Detach() {
    if (hwnd_) {
        RemovePropW(hwnd_, ObjectProperty);
        if (HANDLE atom = RemovePropW(hwnd_, NameProperty))
            GlobalDeleteAtom(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(atom)));
    }
    hwnd_ = nullptr;
}

void Widget::SetName(const Text& name) {
    if (HANDLE old = RemovePropW(hwnd_, NameProperty))
        GlobalDeleteAtom(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(old)));
    ATOM atom = GlobalAddAtomW(Widen(name).c_str());
    if (atom)
        SetPropW(hwnd_, NameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

Text Widget::NameOf(HWND window) {
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(window, NameProperty)));
    wchar_t name[256];
    if (atom == 0 || GlobalGetAtomNameW(atom, name, 256) == 0)
        return Text();
    return Narrow(name);
}

Text Widget::text() const {
    return Narrow(wideText());
}

void Widget::SetText(const Text& text) {
    SetText(Widen(text));
}

std::wstring Widget::wideText() const {
    int length = GetWindowTextLengthW(hwnd_);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(hwnd_, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return buffer;
}

void Widget::SetText(const std::wstring& text) {
    SetWindowTextW(hwnd_, text.c_str());
    RefitText(hwnd_);
}

bool Widget::enabled() const {
    return IsWindowEnabled(hwnd_);
}

void Widget::SetEnabled(bool enabled) {
    EnableWindow(hwnd_, enabled);
}

bool Widget::visible() const {
    return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Widget::SetVisible(bool visible) {
    ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

void Widget::Focus() {
    SetFocus(hwnd_);
}

bool Widget::focused() const {
    return GetFocus() == hwnd_;
}

void Widget::SetBounds(const Bounds& b) {
    DpiScale scale = dpi();
    SetWindowPos(hwnd_, nullptr, scale.Scale(b.left), scale.Scale(b.top), scale.Scale(b.width),
                 scale.Scale(b.height), SWP_NOZORDER | SWP_NOACTIVATE);
}

Bounds Widget::bounds() const {
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    HWND parent = GetParent(hwnd_);
    if (parent && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    DpiScale scale = dpi();
    return {scale.Unscale(rect.left), scale.Unscale(rect.top), scale.Unscale(rect.right - rect.left),
            scale.Unscale(rect.bottom - rect.top)};
}

int Widget::ClientWidth() const {
    RECT rect;
    GetClientRect(hwnd_, &rect);
    return rect.right;
}

int Widget::ClientHeight() const {
    RECT rect;
    GetClientRect(hwnd_, &rect);
    return rect.bottom;
}

void Widget::Invalidate() {
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Widget::SetFont(HFONT font) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HFONT Widget::font() const {
    return reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
}
