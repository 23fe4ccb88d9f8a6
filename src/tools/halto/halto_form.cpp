#include "halto_form.h"

#include "app.h"
#include "platform_rules.h"
#include "tool_settings.h"
#include "tool_startup.h"
#include "win/folders.h"
#include "win/process.h"

namespace {

constexpr int FormWidth = 382;
constexpr int FormHeight = 181;

} // namespace

bool THaltoMainForm::FormCreate(const std::vector<std::wstring>& parameters) {
    if (!CreateToolWindow(Tools::Halto, FormWidth, FormHeight, true))
        return false;

    CreateIcon(Image1);
    Label2.Create(*this, "次の方法で終了してもよろしいですか？", {64, 16, 300, 16});
    Label2.SetName("Label2");
    RadioButton2.Create(*this, "ｺﾝﾋﾟｭｰﾀの電源を切れる状態にする(&S)", {64, 40, 300, 20}, true);
    RadioButton2.SetName("RadioButton2");
    RadioButton1.Create(*this, "ｺﾝﾋﾟｭｰﾀを再起動する(&R)", {64, 72, 300, 20});
    RadioButton1.SetName("RadioButton1");
    RadioButton3.Create(*this, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、Windows にﾛｸﾞｵﾝし直す(&C)", {64, 104, 310, 20});
    RadioButton3.SetName("RadioButton3");
    for (RadioButton* choice : {&RadioButton1, &RadioButton2, &RadioButton3})
        choice->onDoubleClick = [this] { Button1Click(); };

    Panel1.Create(*this, {56, 8, 321, 169});
    Panel1.SetName("Panel1");
    Label1.Create(Panel1, "", {72, 64, 240, 40});
    Label1.SetName("Label1");

    Button1.Create(*this, "はい(&Y)", {196, 144, 86, 25});
    Button1.SetName("Button1");
    // The choices end at the buttons for arrow-key navigation.
    SetWindowLongW(Button1.handle(), GWL_STYLE, GetWindowLongW(Button1.handle(), GWL_STYLE) | WS_GROUP);
    Button1.onClick = [this] { Button1Click(); };
    SetDefaultButton(Button1);
    Button2.Create(*this, "いいえ(&N)", {290, 144, 86, 25});
    Button2.SetName("Button2");
    Button2.onClick = [this] { Button2Click(); };

    RestorePosition(CentredRule());
    BecomeMainWindow();

    std::optional<HaltoChoice> switched =
        ChoiceFromSwitch(parameters.empty() ? std::wstring() : parameters.front());
    if (switched) {
        Check(*switched);
        PrepareNotice();
        ShowPanel();
    } else {
        Panel1.SetVisible(false);
        Check(ChoiceFromCode(DataReadInteger("History", "Position", 1)));
    }

    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer1.SetEnabled(true);
    Show();
    if (!acting()) {
        // Focus on an unchecked automatic radio button would check it.
        HaltoChoice checked = CheckedChoice();
        (checked == HaltoChoice::PowerOff ? RadioButton2
         : checked == HaltoChoice::LogOff ? RadioButton3
                                          : RadioButton1)
            .Focus();
    }
    return true;
}

HaltoChoice THaltoMainForm::CheckedChoice() const {
    if (RadioButton2.checked())
        return HaltoChoice::PowerOff;
    if (RadioButton3.checked())
        return HaltoChoice::LogOff;
    return HaltoChoice::Restart;
}

void THaltoMainForm::Check(HaltoChoice choice) {
    RadioButton1.SetChecked(choice == HaltoChoice::Restart);
    RadioButton2.SetChecked(choice == HaltoChoice::PowerOff);
    RadioButton3.SetChecked(choice == HaltoChoice::LogOff);
}

void THaltoMainForm::PrepareNotice() {
    Label1.SetText(NoticeText(CheckedChoice()));
}

void THaltoMainForm::ShowPanel() {
    for (Widget* covered : std::initializer_list<Widget*>{&Label2, &RadioButton2, &RadioButton1,
                                                          &RadioButton3, &Button1, &Button2}) {
        covered->SetVisible(false);
        covered->SetEnabled(false);
    }
    Panel1.SetVisible(true);
    SetWindowPos(Panel1.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void THaltoMainForm::Timer1Timer() {
    Timer1.SetEnabled(false);
    Application::SetTitle(Tools::Halto.title);
    SetToolHelpFile();
    if (acting())
        Close();
}

void THaltoMainForm::Button1Click() {
    if (acting())
        return;
    HaltoChoice choice = CheckedChoice();
    DataWriteInteger("History", "Position", static_cast<long>(choice));
    PrepareNotice();
    ShowPanel();
    Close();
}

void THaltoMainForm::Button2Click() {
    Close();
}

void THaltoMainForm::OnClosing() {
    if (GetPlatformFamily() == PlatformNT)
        SetProcessPrivilege("SeShutdownPrivilege", false);
    if (!acting())
        return;
    HaltoChoice choice = CheckedChoice();
    if (choice == HaltoChoice::LogOff)
        Hide();
    SessionEndRequest request = SessionEndFor(choice, GetPlatformFamily());
    // A policy or a missing privilege refuses the request; the user hears why.
    if (!ExitWindowsEx(request.flags, request.reason)) {
        DWORD error = GetLastError();
        DataMessage(SessionEndFailureText(choice, error), Text(), MB_ICONSTOP);
    }
}
