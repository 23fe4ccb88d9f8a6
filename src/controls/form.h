// Top-level windows of the programs. A form owns its font, takes part in keyboard
// navigation (Tab, default and cancel buttons, "&X" accelerators) and can preview keys
// before its controls see them.
#pragma once

#include <functional>
#include <optional>

#include "control.h"
#include "fonts.h"
#include "menu.h"
#include "window.h"

struct FormParams {
    Text className; // also the form's name, by which other programs find it
    Text caption;
    DWORD style = WS_OVERLAPPEDWINDOW;
    int clientWidth = 0, clientHeight = 0; // 96-DPI pixels
    HWND owner = nullptr;
    DWORD exStyle = 0;
    FontSpec font = FontSpec();
};

class Form : public Window {
public:
    // Creates the form with a client area of the given 96-DPI size, centred on the screen.
    bool CreateForm(const FormParams& params);
    void SetClientSize(int width, int height);
    void CenterOnScreen();
    // Gives every text the room its font needs (see fit_layout.h). A form placed from its
    // own size fits first, so that its place holds when it shows; showing fits again.
    void FitTexts();
    void Show();
    void Hide();
    // Asks the form to close, as the close box does.
    void Close();
    // Shows the form and runs its messages until it is destroyed; its owner is disabled
    // meanwhile. A quit request on the way is left for the main loop.
    void ShowModal();

    // Shows the menu as the form's menu bar (realized anew); its commands reach the
    // items' handlers.
    void SetMainMenu(Menu& menu);

    void SetDefaultButton(Control& button);
    void SetCancelButton(Control& button);

    // With keyPreview set, onKeyDown sees WM_KEYDOWN first; returning true consumes it.
    bool keyPreview = false;
    std::function<bool(WPARAM key)> onKeyDown;

    // Keyboard handling of the form for one message; true when it was handled here.
    virtual bool PreviewMessage(MSG& message);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The close box, Alt+F4 and Close(): hide or destroy as the form decides.
    virtual void OnCloseRequest() { DestroyWindow(handle()); }
    // Moved to a monitor of another DPI: takes the suggested window rectangle, remakes the
    // font and scales the controls, keeping the layout the form gave in 96-DPI pixels.
    virtual void OnDpiChanged(int newDpi, const RECT& suggested);

private:
    void ScaleChildren(HWND parent, int oldDpi, int newDpi, HFONT oldFont, HFONT newFont);
    void FitAtShow();

    UniqueGdiObject font_;
    FontSpec fontSpec_;
    int dpi_ = 96; // the DPI the controls are laid out for now
    int defaultId_ = 0;
    std::optional<POINT> centredAt_; // where CenterOnScreen last put the window
};
