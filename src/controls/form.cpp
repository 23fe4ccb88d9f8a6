#include "form.h"

bool Form::CreateForm(const Text& className, const Text& caption, DWORD style, int clientWidth,
                      int clientHeight, HWND owner, DWORD exStyle, const FontSpec& font) {
    WindowParams params;
    params.className = className;
    params.caption = caption;
    params.style = style;
    params.exStyle = exStyle | WS_EX_CONTROLPARENT;
    params.parent = owner;
    params.bounds = {0, 0, clientWidth, clientHeight};
    if (!Create(params))
        return false;
    font_ = CreateFontFor(font, dpi().dpi());
    SetFont(AsFont(font_));
    SetClientSize(clientWidth, clientHeight);
    CenterOnScreen();
    return true;
}

void Form::SetClientSize(int width, int height) {
    DpiScale scale = dpi();
    RECT rect = {0, 0, scale.Scale(width), scale.Scale(height)};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongW(handle(), GWL_STYLE)),
                       GetMenu(handle()) != nullptr,
                       static_cast<DWORD>(GetWindowLongW(handle(), GWL_EXSTYLE)));
    SetWindowPos(handle(), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CenterOnScreen() {
    RECT window;
    GetWindowRect(handle(), &window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    int x = work.left + ((work.right - work.left) - (window.right - window.left)) / 2;
    int y = work.top + ((work.bottom - work.top) - (window.bottom - window.top)) / 2;
    SetWindowPos(handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
}

void Form::Hide() {
    ShowWindow(handle(), SW_HIDE);
}

void Form::Close() {
    PostMessageW(handle(), WM_CLOSE, 0, 0);
}

void Form::SetMainMenu(Menu& menu) {
    RECT client;
    GetClientRect(handle(), &client);
    SetMenu(handle(), menu.Realize());
    DpiScale scale = dpi();
    SetClientSize(scale.Unscale(client.right), scale.Unscale(client.bottom)); // the bar takes no client space
}

void Form::SetDefaultButton(Control& button) {
    defaultId_ = button.id();
    SendMessageW(handle(), DM_SETDEFID, static_cast<WPARAM>(defaultId_), 0);
}

void Form::SetCancelButton(Control& button) {
    button.SetId(IDCANCEL);
}

bool Form::PreviewMessage(MSG& message) {
    if (keyPreview && onKeyDown && message.message == WM_KEYDOWN && onKeyDown(message.wParam))
        return true;
    return IsDialogMessageW(handle(), &message) != FALSE;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        OnCloseRequest();
        return 0;
    case WM_NEXTDLGCTL: {
        // The dialog manager asks for this on "&X" accelerators and Tab; forms are not
        // dialogs, so the move is done here.
        HWND target =
            lParam ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(handle(), GetFocus(), wParam != 0);
        if (target) {
            SetFocus(target);
            if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                SendMessageW(target, EM_SETSEL, 0, -1);
        }
        return 0;
    }
    case DM_GETDEFID:
        return defaultId_ ? MAKELRESULT(defaultId_, DC_HASDEFID) : 0;
    case DM_SETDEFID: {
        // Keep the default look on the one default button.
        HWND old = defaultId_ ? GetDlgItem(handle(), defaultId_) : nullptr;
        defaultId_ = static_cast<int>(wParam);
        for (HWND child = GetWindow(handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (child == old || GetDlgCtrlID(child) == defaultId_)
                SendMessageW(child, BM_SETSTYLE,
                             GetDlgCtrlID(child) == defaultId_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        }
        return TRUE;
    }
    }
    return DefaultHandling(message, wParam, lParam);
}
