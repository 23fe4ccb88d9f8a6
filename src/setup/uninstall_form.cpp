#include "uninstall_form.h"

#include "back_form.h"
#include "dialogs.h"
#include "win/encoding.h"
#include "wizard_pages.h"

HBRUSH CreditText::OnControlColor(HDC dc) {
    SetTextColor(dc, RGB(0, 255, 0));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

TUninstallForm::TUninstallForm(const std::wstring& appName, InstallLog& log)
    : SetupFrame(log, appName), appName_(appName) {}

bool TUninstallForm::FormCreate() {
    if (!CreateFrame(nullptr, "ﾌﾟﾛｸﾞﾗﾑのｺﾝﾋﾟｭｰﾀからの削除"))
        return false;
    CreateProgressPage(
        Widen(Text(SetupTitle) + " は、ｺﾝﾋﾟｭｰﾀからﾌﾟﾛｸﾞﾗﾑ \"") + appName_ +
            Widen(Text("\" を削除しています。次の各ｺﾝﾎﾟｰﾈﾝﾄが削除される間、しばらくお待ちください...")),
        {"ﾌﾟﾛｸﾞﾗﾑ", "ﾌｫﾙﾀﾞ", "ｼｮｰﾄｶｯﾄ", "ﾚｼﾞｽﾄﾘ"}, "ｱﾝｲﾝｽﾄｰﾙが完了しました。");
    // No data file here: the window's own picture.
    LoadPicture(L"");
    // The installer's credit line, bold italic lime at the bottom left, as wide as the
    // room left of the OK button.
    CreditLabel.Create(*this, "", {24, 280, 348, 16});
    CreditLabel.SetName("CreditLabel");
    CreditLabel.SetText(BackCreditLine());
    LOGFONTW credit = {};
    GetObjectW(font(), sizeof credit, &credit);
    credit.lfWeight = FW_BOLD;
    credit.lfItalic = TRUE;
    creditFont_.reset(CreateFontIndirectW(&credit));
    CreditLabel.SetFont(AsFont(creditFont_));
    BitBtn1.SetVisible(false);
    BitBtn3.SetVisible(false);
    BitBtn2.SetBounds(BitBtn3.bounds());
    BitBtn2.SetText(Text("OK(&Y)"));
    BitBtn2.SetEnabled(false);
    BitBtn2.onClick = [this] {
        if (Progress.CompleteLabel.visible())
            Close();
    };
    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer1.SetEnabled(true);
    return true;
}

void TUninstallForm::Timer1Timer() {
    Timer1.SetEnabled(false);
    outcome_ = RunUninstall(appName_, *this);
    Progress.CompleteLabel.SetVisible(true);
    ShowKeptRestartNotice();
    if (outcome_ != UninstallOutcome::Completed) {
        DestroyWindow(handle());
        return;
    }
    BitBtn2.SetEnabled(true);
    BitBtn2.Focus();
}

void TUninstallForm::SetBarMaximum(UninstallBar bar, int maximum) {
    const int index = static_cast<int>(bar);
    Progress.SetBarMaximum(index, maximum);
    Progress.Bars[index].SetPosition(0);
    pump_.Pump();
}

void TUninstallForm::StepBar(UninstallBar bar) {
    ProgressBar& progress = Progress.Bars[static_cast<int>(bar)];
    progress.SetPosition(progress.position() + 1);
    pump_.Pump();
}

bool TUninstallForm::ConfirmUninstall(const std::wstring& question) {
    return ShowMessageBox(question, SetupTitle, MessageQuestion, handle()) == IDYES;
}

UninstallOutcome RunUninstallWindow(const std::wstring& appName, InstallLog& log) {
    TUninstallForm form(appName, log);
    if (!form.FormCreate())
        return UninstallOutcome::Stopped;
    form.ShowModal();
    return form.Outcome();
}
