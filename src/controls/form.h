// Top-level windows of the programs. A form owns its font, takes part in keyboard
// navigation (Tab, default and cancel buttons, "&X" accelerators) and can preview keys
// before its controls see them.
#pragma once

#include <functional>

#include "control.h"
#include "fonts.h"
#include "menu.h"
#include "window.h"

class Form : public Window {
public:
    // Creates the form with a client area of the given 96-DPI size, centred on the screen.
    bool CreateForm(const Text& className, const Text& caption, DWORD style, int clientWidth,
                    int clientHeight, HWND owner = nullptr, DWORD exStyle = 0,
                    const FontSpec& font = FontSpec());
    void SetClientSize(int width, int height);
    void CenterOnScreen();
    void Show();
    void Hide();
    // Asks the form to close, as the close box does.
    void Close();

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

private:
    UniqueGdiObject font_;
    int defaultId_ = 0;
};
