#include "app.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <vector>

#include <shellapi.h>

#include "form.h"
#include "win/app_window.h"
#include "win/elevation.h"
#include "win/encoding.h"

namespace {

HINSTANCE instance = nullptr;
Text title;

// Open modal windows, innermost last. Guarded: a splash or worker thread may show a box.
std::mutex modalLock;
std::vector<Application::ModalScope*> modalScopes;

bool IsDialogClass(LPCWSTR className) {
    if (IS_INTRESOURCE(className))
        return LOWORD(reinterpret_cast<ULONG_PTR>(className)) == 32770;
    return className && lstrcmpiW(className, L"#32770") == 0;
}

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

namespace {

DropHandler dropHandler;
std::wstring helpFile;

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, &path[0], length + 1));
        paths.push_back(path);
    }
    return paths;
}

} // namespace

void SetHelpFile(const std::wstring& path) {
    helpFile = path;
}

const std::wstring& HelpFile() {
    return helpFile;
}

void SetDropHandler(DropHandler handler) {
    dropHandler = std::move(handler);
}

void AcceptDroppedFiles(HWND window) {
    DragAcceptFiles(window, TRUE);
    // Started elevated (by the installer), drops from Explorer would be filtered out.
    AllowMessagesFromDesktop(window, {WM_DROPFILES, WM_COPYDATA, 0x0049 /* WM_COPYGLOBALDATA */});
}

void DispatchOne(MSG& message) {
    if (message.message == WM_DROPFILES && dropHandler) {
        HDROP drop = reinterpret_cast<HDROP>(message.wParam);
        try {
            std::vector<std::wstring> paths = DroppedPaths(drop);
            DragFinish(drop);
            dropHandler(paths);
        } catch (...) {
            HandlerFailed("WM_DROPFILES");
        }
        return;
    }
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

void RunWhile(const std::function<bool()>& open) {
    MSG message;
    while (open()) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got < 0)
            return;
        DispatchOne(message);
    }
}

void HandlerFailed(const char* where) noexcept {
    std::wstring report = L"Lumera: a handler failed in " + Widen(where ? where : "?");
    try {
        if (std::exception_ptr failure = std::current_exception())
            std::rethrow_exception(failure);
    } catch (const std::exception& failure) {
        report += L": " + Widen(failure.what());
    } catch (...) {
    }
    report += L"\n";
    OutputDebugStringW(report.c_str());
}

HWND ActiveModalWindow() {
    std::lock_guard<std::mutex> lock(modalLock);
    for (auto scope = modalScopes.rbegin(); scope != modalScopes.rend(); ++scope) {
        HWND window = (*scope)->window();
        if (window && IsWindow(window))
            return window;
    }
    return nullptr;
}

ModalScope::ModalScope(HWND window) : window_(window), thread_(GetCurrentThreadId()) {
    if (!window_)
        hook_ = SetWindowsHookExW(WH_CBT, WatchCreation, nullptr, thread_);
    std::lock_guard<std::mutex> lock(modalLock);
    modalScopes.push_back(this);
}

ModalScope::~ModalScope() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    std::lock_guard<std::mutex> lock(modalLock);
    modalScopes.erase(std::remove(modalScopes.begin(), modalScopes.end(), this), modalScopes.end());
}

LRESULT CALLBACK ModalScope::WatchCreation(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (!(create->style & WS_CHILD) && IsDialogClass(create->lpszClass)) {
            std::lock_guard<std::mutex> lock(modalLock);
            DWORD thread = GetCurrentThreadId();
            // The innermost open scope of this thread that is still waiting for its window.
            for (auto scope = modalScopes.rbegin(); scope != modalScopes.rend(); ++scope) {
                if ((*scope)->thread_ != thread)
                    continue;
                if (!(*scope)->window_)
                    (*scope)->window_ = reinterpret_cast<HWND>(wParam);
                break;
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
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

bool PacedMessagePump::Due() {
    const ULONGLONG now = GetTickCount64();
    if (started_ && now - last_ < interval_)
        return false;
    started_ = true;
    last_ = now;
    return true;
}

void PacedMessagePump::Pump() {
    if (Due())
        ProcessMessages();
}

} // namespace Application
