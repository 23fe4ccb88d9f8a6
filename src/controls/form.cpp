#include "form.h"

#include "app.h"
#include "controls.h"
#include "fit_layout.h"

bool Form::CreateForm(const FormParams& form) {
    WindowParams params;
    params.className = form.className;
    params.caption = form.caption;
    params.style = form.style;
    params.exStyle = form.exStyle | WS_EX_CONTROLPARENT;
    params.parent = form.owner;
    params.bounds = {0, 0, form.clientWidth, form.clientHeight};
    if (!Create(params))
        return false;
    dpi_ = dpi().dpi();
    fontSpec_ = form.font;
    font_ = CreateFontFor(fontSpec_, dpi_);
    SetFont(AsFont(font_));
    SetClientSize(form.clientWidth, form.clientHeight);
    CenterOnScreen();
    return true;
}

void Form::OnDpiChanged(int newDpi, const RECT& suggested) {
    int oldDpi = dpi_;
    dpi_ = newDpi;
    UniqueGdiObject newFont = CreateFontFor(fontSpec_, newDpi);
    HFONT oldFont = AsFont(font_);
    if (newFont)
        SetFont(AsFont(newFont));
    if (oldDpi != newDpi)
        ScaleChildren(handle(), oldDpi, newDpi, oldFont, newFont ? AsFont(newFont) : oldFont);
    if (newFont)
        font_ = std::move(newFont); // the old one only now, after every control let go of it
    SetWindowPos(handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitTextRoom(handle()); // the new font's lines need not scale with the positions
    InvalidateRect(handle(), nullptr, TRUE);
}

// Scales the form's controls and the panels' controls; what a control holds inside
// (a combo box's edit, the spin edit's arrows) it lays out itself when resized.
void Form::ScaleChildren(HWND parent, int oldDpi, int newDpi, HFONT oldFont, HFONT newFont) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        wchar_t className[32] = L"";
        GetClassNameW(child, className, 32);
        int height = MulDiv(rect.bottom - rect.top, newDpi, oldDpi);
        // A combo box's window height also sets its drop-down list, which its rectangle
        // does not show.
        if (auto* combo = dynamic_cast<ComboBox*>(Widget::FromHandle(child)))
            height += MulDiv(combo->dropHeight(), newDpi, 96);
        // The font before the size: a combo box sizes its parts anew for a new font.
        if (reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == oldFont)
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), FALSE);
        SetWindowPos(child, nullptr, MulDiv(rect.left, newDpi, oldDpi), MulDiv(rect.top, newDpi, oldDpi),
                     MulDiv(rect.right - rect.left, newDpi, oldDpi), height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (lstrcmpW(className, L"TPanel") == 0)
            ScaleChildren(child, oldDpi, newDpi, oldFont, newFont);
        InvalidateRect(child, nullptr, TRUE);
    }
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
    centredAt_ = POINT{x, y};
}

void Form::FitTexts() {
    FitTextRoom(handle());
}

// Texts are in place once the form shows; a fallback font may need more room. A form still
// where CenterOnScreen put it is centred again for the size it grew to.
void Form::FitAtShow() {
    RECT before;
    GetWindowRect(handle(), &before);
    FitTextRoom(handle());
    RECT after;
    GetWindowRect(handle(), &after);
    const bool grew = after.right - after.left != before.right - before.left ||
                      after.bottom - after.top != before.bottom - before.top;
    if (grew && centredAt_ && centredAt_->x == before.left && centredAt_->y == before.top)
        CenterOnScreen();
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

void Form::ShowModal() {
    if (!handle())
        return;
    HWND owner = GetWindow(handle(), GW_OWNER);
    bool ownerDisabled = owner && IsWindowEnabled(owner) && !EnableWindow(owner, FALSE);
    {
        Application::ModalScope modal(handle());
        Show();
        Application::RunWhile([this] { return handle() != nullptr; });
    }
    if (ownerDisabled && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
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
    case WM_SHOWWINDOW:
        if (wParam)
            FitAtShow();
        break;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        OnCloseRequest();
        return 0;
    case WM_INITMENUPOPUP:
        // Lazy submenus of a menu bar fill here; pop-ups fill through their own owner hook.
        MenuCommands::OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        break;
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
