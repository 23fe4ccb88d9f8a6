#include "splash.h"

#include "app.h"
#include "gdi.h"
#include "publisher.h"
#include "settings.h"

namespace {

constexpr int SplashWidth = 369;
constexpr int SplashHeight = 135;
constexpr Bounds Frame = {8, 4, 353, 123};

} // namespace

bool TSplashWindow::FormCreate() {
    if (!CreateForm({"TSplashWindow", ProductTitle, WS_POPUP, SplashWidth, SplashHeight, nullptr,
                     WS_EX_TOPMOST | WS_EX_TOOLWINDOW}))
        return false;
    RECT window;
    GetWindowRect(handle(), &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    SetWindowPos(handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    GroupBox1.Create(*this, "", Frame);
    Image1.Create(*this, {Frame.left + 12, Frame.top + 20, 32, 32});
    Image1.SetName("Image1");
    Image1.SetIcon(Application::MainIcon());
    CreateProductLabels(*this, BlinkLabel1, BlinkLabel2, Frame.left + 52, Frame.top + 14, Frame.width - 58);
    BlinkLabel1.SetBlinkRate(0);

    Label3.Create(*this, Publisher::CopyrightFirst, 0, Frame.top + 82);
    Label3.SetName("Label3");
    Label4.Create(*this, Publisher::CopyrightSecond, 0, Frame.top + 98);
    Label4.SetName("Label4");
    AlignCopyrightLabels(Label3, Label4, Frame.left + Frame.width);
    return true;
}

void TSplashWindow::ShowNow() {
    if (!handle() && !FormCreate())
        return;
    ShowWindow(handle(), SW_SHOW);
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

LRESULT TSplashWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    case WM_PAINT: {
        // The raised panel that fills the window.
        PaintScope paint(handle());
        RECT client;
        GetClientRect(handle(), &client);
        DrawEdge(paint.dc(), &client, BDR_RAISEDINNER, BF_RECT);
        return 0;
    }
    }
    return Form::HandleMessage(message, wParam, lParam);
}
