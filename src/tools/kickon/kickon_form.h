// Kickon's window: offers exactly the one of associating or removing the association
// that changes something.
#pragma once

#include "controls.h"
#include "tool_form.h"

class TKickonMainForm : public ToolForm {
public:
    bool FormCreate();

    void Button1Click();
    void Button2Click();
    void Button3Click();

    Image Image1;
    Label Label1;
    Button Button1;
    Button Button2;
    Button Button3;

private:
    std::wstring shortProgram_;
};
