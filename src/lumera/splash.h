// The splash window shown while the first instance starts: borderless, on top of other
// windows, centred, with the hourglass over it.
#pragma once

#include "controls.h"
#include "form.h"
#include "label_effects.h"
#include "presentation.h"

class TSplashWindow : public Form {
public:
    TSplashWindow() = default;
    // Creates, shows and paints the window at once (the message loop is not running yet).
    void ShowNow();

    GroupBox GroupBox1;
    Image Image1;
    TBlinkLabel BlinkLabel1;
    TBlinkLabel BlinkLabel2;
    CopyrightLabel Label3;
    CopyrightLabel Label4;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool FormCreate();
};
