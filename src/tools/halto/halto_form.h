// Halto's main window: asks how to end the session, or (started with a switch) shows that
// it is preparing and acts at once. The session end is requested as the window closes.
#pragma once

#include <string>
#include <vector>

#include "controls.h"
#include "halto_choice.h"
#include "timer.h"
#include "tool_form.h"

class THaltoMainForm : public ToolForm {
public:
    bool FormCreate(const std::vector<std::wstring>& parameters);

private:
    void Timer1Timer();
    void Button1Click();
    void Button2Click();
    void OnClosing() override;

    HaltoChoice CheckedChoice() const;
    void Check(HaltoChoice choice);
    void PrepareNotice();
    // Acting mode: the panel with the notice covers the question, choices and buttons.
    void ShowPanel();
    bool acting() const { return Panel1.visible(); }

    Image Image1;
    Label Label2;
    RadioButton RadioButton2, RadioButton1, RadioButton3;
    Panel Panel1;
    Label Label1;
    Button Button1, Button2;
    Timer Timer1{1, false};
};
