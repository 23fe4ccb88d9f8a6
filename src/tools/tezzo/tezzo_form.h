// Tezzo's window: a name box with the history of entered names, browse and drop, and OK
// that starts what was entered.
#pragma once

#include <string>
#include <vector>

#include "controls.h"
#include "dialogs.h"
#include "tool_form.h"

class TTezzoMainForm : public ToolForm {
public:
    bool FormCreate(const std::vector<std::wstring>& parameters);

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void FormDropFiles(const std::vector<std::wstring>& paths);

    Image Image1;
    Label Label1;
    Label Label2;
    ComboBox ComboBox1;
    Button Button1;
    Button Button2;
    Button Button3;
    OpenFileDialog OpenDialog1;

protected:
    void OnClosing() override;

private:
    void ShowHistory(const std::vector<std::wstring>& history);
};
