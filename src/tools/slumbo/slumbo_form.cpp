#include "slumbo_form.h"

#include "app.h"
#include "countdown.h"
#include "tool_settings.h"
#include "tool_startup.h"
#include "win/registry.h"

namespace {

constexpr int FormWidth = 297;
constexpr int FormHeight = 113;

} // namespace

bool TSlumboMainForm::FormCreate(const std::vector<std::wstring>& parameters) {
    if (!CreateToolWindow(Tools::Slumbo, FormWidth, FormHeight, true))
        return false;

    CreateIcon(Image1);
    Label1.Create(*this, "ｽｸﾘｰﾝｾｰﾊﾞｰを起動しますか？", {64, 16, 220, 16});
    Label1.SetName("Label1");
    SpinEdit1.Create(*this, {64, 40, 49, 22});
    SpinEdit1.SetName("SpinEdit1");
    SpinEdit1.SetMinValue(1);
    SpinEdit1.SetMaxValue(3600);
    SpinEdit1.SetValue(1);
    Label2.Create(*this, "秒後", {120, 44, 40, 16});
    Label2.SetName("Label2");

    Panel1.Create(*this, {56, 8, 233, 97});
    Panel1.SetName("Panel1");
    Panel1.SetVisible(false);
    Label3.Create(Panel1, "", {48, 32, 180, 36});
    Label3.SetName("Label3");

    Button1.Create(*this, "はい(&Y)", {120, 78, 80, 25});
    Button1.SetName("Button1");
    Button1.onClick = [this] { Button1Click(); };
    SetDefaultButton(Button1);
    Button2.Create(*this, "いいえ(&N)", {206, 78, 80, 25});
    Button2.SetName("Button2");
    Button2.onClick = [this] { Button2Click(); };

    RestorePosition(CentredRule());
    SetToolHelpFile();
    BecomeMainWindow();
    Timer2.SetHandler([this] { Timer2Timer(); });

    CountdownTicks = 0;
    std::optional<int> delay = DelayFromParameter(parameters.empty() ? std::wstring() : parameters.front());
    if (delay) {
        SpinEdit1.SetValue(*delay);
        CountdownStep();
    } else {
        SpinEdit1.SetValue(static_cast<int>(DataReadInteger("History", "WaitTime", 1)));
    }
    Show();
    if (!Panel1.visible()) {
        SpinEdit1.Focus();
        SpinEdit1.SelectAll();
    }
    return true;
}

void TSlumboMainForm::ShowPanel() {
    for (Widget* covered : std::initializer_list<Widget*>{&Label1, &SpinEdit1, &Label2, &Button1, &Button2}) {
        covered->SetVisible(false);
        covered->SetEnabled(false);
    }
    Panel1.SetVisible(true);
    SetWindowPos(Panel1.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TSlumboMainForm::CountdownStep() {
    int value = SpinEdit1.Value();
    if (value > CountdownTicks) {
        Label3.SetText(CountdownText(value - CountdownTicks));
        if (CountdownTicks == 0) {
            // Tells the tray program to switch its screen saver on again at its next refresh.
            if (RegKeyExists(HKEY_CURRENT_USER, "\\Software\\Morivane", "Lumera"))
                RegWriteInteger(HKEY_CURRENT_USER, "\\Software\\Morivane\\Lumera\\Screen", "Enabled", 1);
            ShowPanel();
            Timer2.SetEnabled(true);
        }
        ++CountdownTicks;
        return;
    }
    Timer2.SetEnabled(false);
    Label3.SetText(PreparingText);
    if (WinUtility1.GetScreenSaverW().empty())
        DataMessage("ｽｸﾘｰﾝ ｾｰﾊﾞｰが存在しないか、無効になっているため起動できません。", "",
                    MB_ICONINFORMATION);
    else
        WinUtility1.LaunchScreenSaver(0);
    Close();
}

void TSlumboMainForm::Button1Click() {
    if (Panel1.visible())
        return;
    // Enter confirms without leaving the field, so an entry beyond 1..3600 is held to it here.
    SpinEdit1.SetValue(SpinEdit1.Value());
    DataWriteInteger("History", "WaitTime", SpinEdit1.Value());
    CountdownStep();
}
