// Slumbo's main window: asks for the delay (or takes it from the command line), counts it
// down over the question and then starts the screen saver.
#pragma once

#include <string>
#include <vector>

#include "controls.h"
#include "spin.h"
#include "timer.h"
#include "tool_form.h"
#include "win_utility.h"

class TSlumboMainForm : public ToolForm {
public:
    bool FormCreate(const std::vector<std::wstring>& parameters);

private:
    void CountdownStep();
    void Timer2Timer() { CountdownStep(); }
    void Button1Click();
    void Button2Click() { Close(); }
    void OnClosing() override { Timer2.SetEnabled(false); }
    // The panel with the countdown covers the question, the spin edit and both buttons.
    void ShowPanel();

    Image Image1;
    Label Label1;
    TSpinEdit SpinEdit1;
    Label Label2;
    Panel Panel1;
    Label Label3;
    Button Button1, Button2;
    Timer Timer2{1000, false};
    TWinUtility WinUtility1;
    int CountdownTicks = 0;
};
