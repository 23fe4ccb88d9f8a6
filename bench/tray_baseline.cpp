// The least a tray program can be: it loads the system DLLs the tray program imports,
// puts an icon into the tray with a hidden window for the shell's callback, and shows a
// window that draws one Japanese string. The start-up benchmark measures it beside
// Lumera.exe under the same Wine; it stays until it is closed.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr UINT CallbackMessage = WM_APP + 1;

// Lumera.exe's imports, besides KERNEL32 and msvcrt, which every program has.
const wchar_t* const SystemDlls[] = {L"advapi32.dll", L"comctl32.dll", L"comdlg32.dll", L"gdi32.dll",
                                     L"ole32.dll",    L"shell32.dll",  L"user32.dll",   L"winmm.dll"};

LRESULT CALLBACK ShowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        const wchar_t* text = L"壁紙とｽｸﾘｰﾝｾｰﾊﾞｰ";
        TextOutW(dc, 8, 8, text, lstrlenW(text));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateFrom(const wchar_t* className, WNDPROC procedure, DWORD style, DWORD exStyle, HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    return CreateWindowExW(exStyle, className, L"Tray baseline", style, 100, 100, 300, 120, nullptr, nullptr,
                           instance, nullptr);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    for (const wchar_t* dll : SystemDlls)
        LoadLibraryW(dll);
    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    HWND callback = CreateFrom(L"TBaselineCallback", DefWindowProcW, WS_POPUP, WS_EX_TOOLWINDOW, instance);
    NOTIFYICONDATAW icon = {};
    icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
    icon.hWnd = callback;
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = CallbackMessage;
    icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(icon.szTip, L"Tray baseline", 64);
    Shell_NotifyIconW(NIM_ADD, &icon);

    HWND shown = CreateFrom(L"TBaselineWindow", ShowProc, WS_OVERLAPPEDWINDOW, 0, instance);
    ShowWindow(shown, SW_SHOWNOACTIVATE);
    UpdateWindow(shown);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
