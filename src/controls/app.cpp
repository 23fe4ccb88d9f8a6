#include "app.h"

#include "form.h"
#include "win/app_window.h"

namespace {

HINSTANCE instance = nullptr;
Text title;

} // namespace

namespace Application {

void Initialize(HINSTANCE programInstance, const Text& programTitle) {
    instance = programInstance;
    title = programTitle;
    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
}

HINSTANCE Instance() {
    return instance ? instance : GetModuleHandleW(nullptr);
}

const Text& Title() {
    return title;
}

void SetTitle(const Text& newTitle) {
    title = newTitle;
}

HICON MainIcon() {
    static HICON icon = [] {
        HICON own = LoadIconW(Instance(), L"MAINICON");
        return own ? own : LoadIconW(nullptr, IDI_APPLICATION);
    }();
    return icon;
}

void SetMainWindow(HWND window) {
    SetApplicationWindow(window);
}

HWND MainWindow() {
    return ApplicationWindow();
}

void DispatchOne(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (auto* form = dynamic_cast<Form*>(Widget::FromHandle(root))) {
        if (form->PreviewMessage(message))
            return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int Run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchOne(message);
    return static_cast<int>(message.wParam);
}

void ProcessMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam)); // leave it for the main loop
            return;
        }
        DispatchOne(message);
    }
}

} // namespace Application
