#include "setup_form.h"

#include "browse_dialog.h"
#include "dialogs.h"
#include "paths.h"
#include "uninstall_run.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"

namespace {

const Text FinishText = "終了(&E)";

} // namespace

TSetupMainForm::TSetupMainForm(const SetupData& data, InstallLog& log)
    : SetupFrame(log, Widen(data.AppName())), data_(data), appName_(data.AppName()) {}

bool TSetupMainForm::FormCreate(HWND owner) {
    if (!CreateFrame(owner, "ようこそ"))
        return false;
    BitBtn1.onClick = [this] { BitBtn1Click(); };
    BitBtn2.onClick = [this] { BitBtn2Click(); };
    programsFolder_ = GetShellFolderWide("Programs");
    proposal_ = ProposeInstallation(data_);

    LoadPicture(data_.MainBmpFile());

    Welcome.Create(*this, PageArea, appName_);
    // The licence page covers everything above the divider.
    Licence.Create(*this, {0, 0, FormWidth, DividerTop}, appName_, data_.LicenceFile());
    Readme.Create(*this, PageArea, data_.ReadmeCaption(), data_.ReadmeFile());
    Method.Create(*this, PageArea, data_.Capacity(), proposal_);
    Method.RadioButton1.onClick = [this] { Edit1Change(); };
    Method.RadioButton2.onClick = [this] { Edit1Change(); };
    Method.BitBtn4.onClick = [this] { BitBtn4Click(); };
    Method.Edit1.onChange = [this] { Edit1Change(); };
    Shortcuts.Create(*this, PageArea, data_, proposal_, programsFolder_);
    Shortcuts.CheckBox1.onClick = [this] { Edit2Change(); };
    Shortcuts.ListBox1.onClick = [this] { ListBox1Click(); };
    Shortcuts.Edit2.onChange = [this] { Edit2Change(); };
    Start.Create(*this, PageArea, appName_);
    CreateProgressPage(
        Widen(Text(SetupTitle) + " は、ｺﾝﾋﾟｭｰﾀにﾌﾟﾛｸﾞﾗﾑ \"" + appName_ +
              "\" をｾｯﾄｱｯﾌﾟしています。次の各ｺﾝﾎﾟｰﾈﾝﾄがｾｯﾄｱｯﾌﾟされる間、しばらくお待ちください..."),
        {"ﾌｫﾙﾀﾞ", "ﾌﾟﾛｸﾞﾗﾑ", "ｼｮｰﾄｶｯﾄ", "ﾚｼﾞｽﾄﾘ"}, "ｾｯﾄｱｯﾌﾟが完了しました。");
    Run.Create(*this, PageArea, data_, BoldFont());
    Progress.SetVisible(false);
    Run.SetVisible(false);

    offered_.licence = TextFileHoldsALine(data_.LicenceFile());
    offered_.information = TextFileHoldsALine(data_.ReadmeFile());
    offered_.method = Method.RadioButton1.enabled();
    offered_.shortcuts = Shortcuts.AnyBoxEnabled();
    ShowPage(WizardPage::Welcome, true);
    return true;
}

Panel* TSetupMainForm::PagePanel(WizardPage page) {
    switch (page) {
    case WizardPage::Welcome:
        return &Welcome;
    case WizardPage::Licence:
        return &Licence;
    case WizardPage::Information:
        return &Readme;
    case WizardPage::Method:
        return &Method;
    case WizardPage::Shortcuts:
        return &Shortcuts;
    case WizardPage::Start:
        return &Start;
    case WizardPage::None:
        break;
    }
    return nullptr;
}

void TSetupMainForm::ShowPage(WizardPage page, bool forward) {
    static const char* const captions[] = {
        "", "ようこそ", "製品ﾗｲｾﾝｽ契約", "情報", "ｾｯﾄｱｯﾌﾟ方法", "ｼｭｰﾄｶｯﾄの作成方法", "ｾｯﾄｱｯﾌﾟの開始"};
    for (int p = 1; p <= 6; ++p)
        PagePanel(static_cast<WizardPage>(p))->SetVisible(false);
    page_ = page;
    Panel* panel = PagePanel(page);
    if (!panel)
        return;
    // The licence page covers the picture.
    PictureImage.SetVisible(page != WizardPage::Licence);
    panel->SetVisible(true);
    SetText(Text(captions[static_cast<int>(page)]));
    const bool licencePage = page == WizardPage::Licence;
    BitBtn2.SetText(licencePage ? Text("はい(&Y)") : NextText);
    BitBtn3.SetText(licencePage ? Text("いいえ(&N)") : CancelText);
    BitBtn1.SetEnabled(page != WizardPage::Welcome);
    if (forward && licencePage)
        Licence.LicenceMemo.Focus();
    if (forward && page == WizardPage::Method)
        Edit1Change();
    if (forward && page == WizardPage::Shortcuts)
        Edit2Change();
}

void TSetupMainForm::Edit1Change() {
    const bool first = Method.RadioButton1.checked();
    BitBtn2.SetEnabled(!first || !Method.Edit1.wideText().empty());
    Method.Edit1.SetEnabled(first);
    Method.BitBtn4.SetEnabled(first);
    Method.FolderGroup.SetEnabled(first);
    Method.RefreshFreeSpace();
    // The page's controls too: a repaint of the form alone would paint over them.
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TSetupMainForm::Edit2Change() {
    const bool ticked = Shortcuts.CheckBox1.checked();
    BitBtn2.SetEnabled(!ticked || !proposal_.groupNeeded || !Shortcuts.Edit2.wideText().empty());
    const bool groupField = proposal_.groupNeeded && ticked;
    Shortcuts.Edit2.SetEnabled(groupField);
    Shortcuts.ListBox1.SetEnabled(groupField);
    Shortcuts.ListLabel.SetEnabled(groupField);
    Shortcuts.GroupGroup.SetEnabled(groupField);
    // The page's controls too: a repaint of the form alone would paint over them.
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TSetupMainForm::ListBox1Click() {
    const int index = Shortcuts.ListBox1.itemIndex();
    if (index >= 0)
        Shortcuts.Edit2.SetText(Shortcuts.ListBox1.wideItem(static_cast<size_t>(index)));
}

void TSetupMainForm::BitBtn4Click() {
    TBrowseDialog browse;
    browse.Caption = "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞを選択してください。";
    browse.Directory = Method.Edit1.wideText();
    if (browse.Execute() && !browse.Directory.empty())
        Method.Edit1.SetText(browse.Directory);
}

void TSetupMainForm::BitBtn1Click() {
    if (running_ || installStarted_)
        return;
    ShowPage(PageBefore(page_, offered_), false);
    BitBtn2.SetEnabled(true);
}

void TSetupMainForm::BitBtn2Click() {
    if (installStarted_) {
        if (!running_ && Progress.CompleteLabel.visible())
            Finish();
        return;
    }
    if (page_ == WizardPage::None || (page_ == WizardPage::Method && !MethodFolderReady()))
        return;
    if (page_ == WizardPage::Start)
        RunInstallation();
    else
        ShowPage(PageAfter(page_, offered_), true);
}

bool TSetupMainForm::MethodFolderReady() {
    if (!Method.RadioButton1.checked())
        return true;
    // "Cool" would name a folder under whatever the current folder is, here and at
    // uninstall; its first letter would pass for a drive below.
    if (!IsFullPath(Method.Edit1.wideText())) {
        ShowMessageBox(Method.Edit1.wideText() + L"\r\n" + Widen(Text(NotFullPathMessage)), SetupTitle,
                       MessageStop, handle());
        return false;
    }
    if (FreeSpaceOfField(Method.Edit1.wideText()) <= 0) {
        ShowMessageBox(Text("このﾄﾞﾗｲﾌﾞには空き容量がありません。別のﾄﾞﾗｲﾌﾞを指定して下さい。"), SetupTitle,
                       MessageStop, handle());
        return false;
    }
    const std::wstring folder = WithoutTrailingBackslash(Method.Edit1.wideText());
    Method.Edit1.SetText(folder);
    if (DirectoryExists(folder))
        return true;
    if (ShowMessageBox(folder + L"\r\n" + Widen(Text("このﾌｫﾙﾀﾞは存在しません。作成しますか？")), SetupTitle,
                       MessageQuestion, handle()) != IDYES)
        return false;
    ForceDirectories(folder);
    if (DirectoryExists(folder))
        return true;
    ShowMessageBox(folder + L"\r\n" + Widen(Text("上記ﾌｫﾙﾀﾞの作成に失敗しました。")), SetupTitle, MessageStop,
                   handle());
    return false;
}

bool TSetupMainForm::CloseAllowed() {
    // Once the run started (the run page may lie over the progress page) nothing is left
    // to cancel: closing waits only for the completion text.
    if (installStarted_ || Progress.visible() || running_)
        return Progress.CompleteLabel.visible();
    return ShowMessageBox(Text("ｾｯﾄｱｯﾌﾟを中止してもよろしいですか？"), SetupTitle, MessageQuestion,
                          handle()) == IDYES;
}

void TSetupMainForm::SetBar(InstallBar bar, int position, int max) {
    if (position == 0)
        Progress.SetBarMaximum(bar, max);
    Progress.Bars[bar].SetPosition(position);
    pump_.Pump();
}

void TSetupMainForm::RunInstallation() {
    installStarted_ = true;
    running_ = true;
    ShowPage(WizardPage::None, true);
    PictureImage.SetVisible(true);
    SetText(Text("ｾｯﾄｱｯﾌﾟ中"));
    Progress.SetVisible(true);
    BitBtn1.SetEnabled(false);
    BitBtn2.SetEnabled(false);
    BitBtn3.SetEnabled(false);
    UpdateWindow(handle());

    result_ = ::RunInstallation(data_, Choices(), InstallFolders::FromPlatform(), *this);
    running_ = false;
    Progress.CompleteLabel.SetVisible(true);
    ShowKeptRestartNotice();
    if (result_ != InstallResult::Completed) {
        DestroyWindow(handle());
        return;
    }
    log_.Line(L"Completed");
    SetText(Text("ｾｯﾄｱｯﾌﾟ完了"));
    BitBtn2.SetText(FinishText);
    BitBtn2.SetEnabled(true);
    BitBtn3.SetVisible(false);
    if (Run.RunBoxes[0].visible()) {
        Progress.SetVisible(false);
        Run.SetVisible(true);
    }
    BitBtn2.Focus();
}

void TSetupMainForm::Finish() {
    if (Run.visible())
        StartRunPrograms(data_, EffectivePaths(data_, Choices()),
                         {Run.RunBoxes[0].checked(), Run.RunBoxes[1].checked(), Run.RunBoxes[2].checked()});
    DestroyWindow(handle());
}

InstallChoices TSetupMainForm::Choices() const {
    InstallChoices choices = proposal_.choices;
    choices.intoSetupFolder = !Method.RadioButton1.checked();
    choices.paths.installFolder = Method.Edit1.wideText();
    choices.paths.programGroup = Shortcuts.Edit2.wideText();
    choices.startMenu = Shortcuts.CheckBox1.checked();
    choices.desktop = Shortcuts.CheckBox2.checked();
    choices.sendTo = Shortcuts.CheckBox3.checked();
    return choices;
}

WizardOutcome RunSetupWizard(HWND owner, const SetupData& data, InstallLog& log) {
    TSetupMainForm form(data, log);
    if (!form.FormCreate(owner))
        return WizardOutcome::Cancelled;
    form.ShowModal();
    if (form.Completed())
        return WizardOutcome::Completed;
    return form.Stopped() ? WizardOutcome::Stopped : WizardOutcome::Cancelled;
}
