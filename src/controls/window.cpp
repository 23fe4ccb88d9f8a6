#include "window.h"

#include <set>

#include "app.h"
#include "menu.h"
#include "win/encoding.h"

void RegisterWindowClass(const Text& className, UINT classStyle, HBRUSH background, HICON icon,
                         WNDPROC proc) {
    static std::set<Text> registered;
    if (!registered.insert(className).second)
        return;
    std::wstring name = Widen(className);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = Application::Instance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name.c_str();
    windowClass.hIcon = icon ? icon : Application::MainIcon();
    RegisterClassExW(&windowClass);
}

bool Window::Create(const WindowParams& params) {
    RegisterWindowClass(params.className, params.classStyle, params.background, params.icon, StaticProc);
    DpiScale scale = params.parent ? DpiScale::ForWindow(params.parent) : DpiScale::ForSystem();
    const Bounds& b = params.bounds;
    HWND window =
        CreateWindowExW(params.exStyle, Widen(params.className).c_str(), Widen(params.caption).c_str(),
                        params.style, scale.Scale(b.left), scale.Scale(b.top), scale.Scale(b.width),
                        scale.Scale(b.height), params.parent, nullptr, Application::Instance(), this);
    return window != nullptr;
}

LRESULT CALLBACK Window::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        static_cast<Window*>(create->lpCreateParams)->Attach(window);
    }
    auto* self = static_cast<Window*>(FromHandle(window));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        Application::HandlerFailed("a window procedure");
    }
    if (message == WM_NCDESTROY)
        self->Detach();
    return result;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0) {
            if (Widget* child = FromHandle(reinterpret_cast<HWND>(lParam));
                child && child->OnCommand(HIWORD(wParam)))
                return 0;
        } else if (MenuCommands::Run(LOWORD(wParam))) {
            return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (Widget* child = FromHandle(header->hwndFrom); child && child->OnNotify(header, result))
            return result;
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (Widget* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = child->OnControlColor(reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
        }
        break;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    }
    return DefWindowProcW(handle(), message, wParam, lParam);
}
