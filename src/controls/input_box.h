// A small modal box that asks for one line of text: a prompt, an edit field, OK and
// Cancel. The text is UTF-16 throughout, so a file name beyond code page 932 survives it.
#pragma once

#include <string>

#include "controls.h"
#include "form.h"

class TInputBox : public Form {
public:
    // Data in: caption, prompt, value; data out (after OK): value.
    Text caption;
    std::wstring prompt;
    std::wstring value;

    // Shows the box modally above the owner; true when the user confirmed with OK.
    bool Execute(HWND owner);

protected:
    void OnCloseRequest() override;

private:
    Label Label1;
    Edit Edit1;
    Button Button1, Button2;
    bool confirmed_ = false;
};

// The usual one-call form; value is changed only on OK.
bool InputQuery(HWND owner, const Text& caption, const std::wstring& prompt, std::wstring& value);
