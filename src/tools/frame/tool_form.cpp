#include "tool_form.h"

#include "app.h"
#include "dialogs.h"
#include "tool_settings.h"
#include "tool_startup.h"
#include "win/process.h"

int RestoredEdge(long stored, int screenExtent, int fallback) {
    return stored >= 0 && stored < screenExtent ? static_cast<int>(stored) : fallback;
}

bool ToolForm::CreateToolWindow(const ToolIdentity& tool, int clientWidth, int clientHeight,
                                bool minimizeBox) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | (minimizeBox ? WS_MINIMIZEBOX : 0);
    helpContext_ = tool.helpContext;
    return CreateForm(
        {tool.mainClass, tool.title, style, clientWidth, clientHeight, nullptr, WS_EX_DLGMODALFRAME});
}

void ToolForm::CreateIcon(Image& image) {
    image.Create(*this, {16, 16, 32, 32});
    image.SetName("Image1");
    image.SetIcon(Application::MainIcon());
}

int ToolForm::windowWidth() const {
    RECT window;
    GetWindowRect(handle(), &window);
    return window.right - window.left;
}

int ToolForm::windowHeight() const {
    RECT window;
    GetWindowRect(handle(), &window);
    return window.bottom - window.top;
}

PositionRule ToolForm::CentredRule() {
    FitTexts();
    return {(GetSystemMetrics(SM_CYSCREEN) - windowHeight()) / 2,
            (GetSystemMetrics(SM_CXSCREEN) - windowWidth()) / 2, Placement::Centred};
}

void ToolForm::RestorePosition(const PositionRule& rule, const Text& topName, const Text& leftName,
                               bool alwaysRestore) {
    if (alwaysRestore || DataReadInteger("OtherSet", "PositionMemory", 1) == 1) {
        int top = RestoredEdge(DataReadInteger("Position", topName, -1), GetSystemMetrics(SM_CYSCREEN),
                               rule.fallbackTop);
        int left = RestoredEdge(DataReadInteger("Position", leftName, -1), GetSystemMetrics(SM_CXSCREEN),
                                rule.fallbackLeft);
        SetWindowPos(handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    if (rule.withoutMemory == Placement::Centred) {
        CenterOnScreen();
        return;
    }
    // Where the platform would put a new window: ask it with a throwaway window of this size.
    HWND probe =
        CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, CW_USEDEFAULT, CW_USEDEFAULT, windowWidth(),
                        windowHeight(), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!probe)
        return;
    RECT suggested;
    GetWindowRect(probe, &suggested);
    DestroyWindow(probe);
    SetWindowPos(handle(), nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolForm::SavePosition(const Text& topName, const Text& leftName, bool alwaysSave) {
    if (!alwaysSave && DataReadInteger("OtherSet", "PositionMemory", 1) != 1)
        return;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    RECT window;
    // A minimised window reports its icon's place; its normal place is what returns.
    if (IsIconic(handle()) && GetWindowPlacement(handle(), &placement))
        window = placement.rcNormalPosition;
    else
        GetWindowRect(handle(), &window);
    DataWriteInteger("Position", topName, window.top);
    DataWriteInteger("Position", leftName, window.left);
}

void ToolForm::BecomeMainWindow() {
    isMainWindow_ = true;
    // No owner: the window has its own task-bar button and minimises by itself.
    SetWindowLongPtrW(handle(), GWLP_HWNDPARENT, 0);
    Application::SetMainWindow(handle());
}

void ToolForm::OnEscape() {
    if (EscFlag())
        Close();
}

void ToolForm::OnCloseRequest() {
    if (isMainWindow_) {
        SavePosition();
        DisableAllPrivileges();
    }
    OnClosing();
    DestroyWindow(handle());
}

LRESULT ToolForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // The dialog manager turns Esc into IDCANCEL; the tools keep no cancel button.
        if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == 0 && !GetDlgItem(handle(), IDCANCEL)) {
            OnEscape();
            return 0;
        }
        break;
    case WM_HELP:
        if (!Application::HelpFile().empty())
            ShowHelp(handle(), Application::HelpFile(), helpContext_ ? HelpContext : HelpContents,
                     helpContext_);
        return TRUE;
    case WM_DESTROY:
        if (isMainWindow_)
            PostQuitMessage(0);
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}
