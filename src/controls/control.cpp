#include "control.h"

#include "app.h"
#include "win/encoding.h"

namespace {

constexpr UINT_PTR SubclassId = 0x4C4D; // one subclass per control

} // namespace

int NextControlId() {
    static int next = 100;
    if (next >= 0x7FFF)
        next = 100;
    return next++;
}

Control::~Control() {
    if (handle())
        RemoveWindowSubclass(handle(), SubclassProc, SubclassId);
}

bool Control::Create(Widget& parent, const wchar_t* platformClass, const Text& text, DWORD style,
                     DWORD exStyle, const Bounds& b) {
    DpiScale scale = parent.dpi();
    HWND window = CreateWindowExW(
        exStyle, platformClass, Widen(text).c_str(), style | WS_CHILD, scale.Scale(b.left),
        scale.Scale(b.top), scale.Scale(b.width), scale.Scale(b.height), parent.handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId())), Application::Instance(), nullptr);
    if (!window)
        return false;
    Attach(window);
    SetWindowSubclass(window, SubclassProc, SubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (HFONT font = parent.font())
        SetFont(font);
    return true;
}

LRESULT Control::HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallPlatform(message, wParam, lParam);
}

LRESULT Control::CallPlatform(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(handle(), message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<Control*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, SubclassId);
        self->Detach();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    try {
        return self->HandleControlMessage(message, wParam, lParam);
    } catch (...) {
        Application::HandlerFailed("a control's subclass procedure");
        return 0;
    }
}
