// The main window: what to do with the given items (move, copy or delete), and where to.
#pragma once

#include <string>
#include <vector>

#include "controls.h"
#include "timer.h"
#include "tool_form.h"
#include "work_engine.h"

// The path box text a drop gives: a file's folder, or a folder itself, in long form.
std::wstring DroppedDestination(const std::wstring& dropped);
// The operation of the radio button at the index (0 move, 1 copy, 2 delete); anything else is
// move. "Division" remembers the button's index plus one.
Operation OperationAt(long index);

class TFerroxMainForm : public ToolForm {
public:
    // items: what the usable-item check found on the command line, each in long form;
    // the engine gets exactly these.
    explicit TFerroxMainForm(std::vector<std::wstring> items);
    bool Create();

protected:
    void OnCloseRequest() override;

private:
    void Timer1Timer();
    void RadioGroup1Click();
    void Button1Click();
    void Button3Click();
    void FillHistory(const std::vector<std::wstring>& history);
    Operation operation() const;

    std::vector<std::wstring> items_;
    bool usable_ = false;
    class TWorkBox* work_ = nullptr; // the progress window while the work runs
    Image Image1;
    RadioGroup RadioGroup1;
    Label Label1;
    ComboBox ComboBox1;
    Button Button1, Button2, Button3;
    Timer Timer1{1, false};
};
