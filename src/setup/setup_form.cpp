#include "setup_form.h"

#include "app.h"
#include "back_form.h"
#include "browse_dialog.h"
#include "dialogs.h"
#include "path_macros.h"
#include "paths.h"
#include "uninstall_record.h"
#include "uninstall_run.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/process.h"
#include "wizard_art.h"

namespace {

constexpr int FormWidth = 471;
constexpr int FormHeight = 310;
constexpr int DividerTop = 265;
constexpr int PictureWidth = 145;
const Bounds PageArea = {150, 4, 315, 258};
const Text NextText = "次へ(&N) >";
const Text BackText = "< 戻る(&B)";
const Text CancelText = "ｷｬﾝｾﾙ";
const Text FinishText = "終了(&E)";

std::wstring WithoutTrailingBackslashes(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

} // namespace

HBRUSH CreditText::OnControlColor(HDC dc) {
    SetTextColor(dc, RGB(0, 255, 0));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

TSetupMainForm::TSetupMainForm(const SetupData& data, InstallLog& log) : data_(data), log_(log) {}

TSetupMainForm::~TSetupMainForm() = default;

bool TSetupMainForm::CreateFrame(HWND owner, const Text& caption) {
    EnableBackupPrivilege();
    FormParams params;
    params.className = "TSetupMainForm";
    params.caption = caption;
    params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
    params.exStyle = WS_EX_DLGMODALFRAME;
    params.clientWidth = FormWidth;
    params.clientHeight = FormHeight;
    params.owner = owner;
    params.font = FontSpec{"ＭＳ Ｐゴシック", 9};
    if (!CreateForm(params))
        return false;
    keyPreview = true;
    onKeyDown = [this](WPARAM key) { return FormKeyDown(key); };

    PictureImage.Create(*this, {0, 0, PictureWidth, DividerTop});
    PictureImage.SetName("Image1");
    Divider.Create(*this, {0, DividerTop, FormWidth, 2}, Bevel::HorizontalLine);

    BitBtn1.Create(*this, BackText, {208, 272, 81, 25});
    BitBtn1.SetName("BitBtn1");
    BitBtn1.onClick = [this] { BitBtn1Click(); };
    BitBtn2.Create(*this, NextText, {288, 272, 81, 25});
    BitBtn2.SetName("BitBtn2");
    BitBtn2.onClick = [this] { BitBtn2Click(); };
    BitBtn3.Create(*this, CancelText, {376, 272, 81, 25});
    BitBtn3.SetName("BitBtn3");
    BitBtn3.onClick = [this] { BitBtn3Click(); };
    SetDefaultButton(BitBtn2);
    SetCancelButton(BitBtn3);
    const std::pair<Button*, GlyphShape> glyphs[] = {
        {&BitBtn1, GlyphShape::Back}, {&BitBtn2, GlyphShape::Next}, {&BitBtn3, GlyphShape::Cancel}};
    for (const auto& [button, shape] : glyphs) {
        UniqueGdiObject glyph(CreateButtonGlyph(shape));
        button->SetGlyph(static_cast<HBITMAP>(glyph.get()), 2);
    }
    return true;
}

void TSetupMainForm::LoadPicture() {
    const std::wstring mainBmp = data_.MainBmpFile();
    if (!mainBmp.empty())
        picture_.reset(LoadImageW(nullptr, mainBmp.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    // The window's own picture until the data file names one that loads.
    if (!picture_)
        picture_.reset(CreateDefaultPicture(PictureWidth, DividerTop));
    if (picture_)
        PictureImage.SetBitmap(AsBitmap(picture_));
}

bool TSetupMainForm::FormCreate(HWND owner) {
    if (!CreateFrame(owner, "ようこそ"))
        return false;
    appName_ = data_.AppName();
    recordName_ = Widen(appName_);
    programsFolder_ = GetShellFolderWide("Programs");
    proposal_ = ProposeInstallation(data_);

    LoadPicture();

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
    Run.Create(*this, PageArea, data_, AsFont(boldFont_));
    Progress.SetVisible(false);
    Run.SetVisible(false);

    offered_.licence = TextFileHoldsALine(data_.LicenceFile());
    offered_.information = TextFileHoldsALine(data_.ReadmeFile());
    offered_.method = Method.RadioButton1.enabled();
    offered_.shortcuts = Shortcuts.AnyBoxEnabled();
    ShowPage(WizardPage::Welcome, true);
    return true;
}

void TSetupMainForm::CreateProgressPage(const std::wstring& text, const std::array<const char*, 4>& barNames,
                                        const Text& completion) {
    LOGFONTW bold = {};
    GetObjectW(font(), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    boldFont_.reset(CreateFontIndirectW(&bold));
    Progress.Create(*this, PageArea, text, barNames, completion, AsFont(boldFont_));
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
    if (uninstallMode_) {
        if (Progress.CompleteLabel.visible())
            Close();
        return;
    }
    if (installStarted_) {
        if (!running_ && Progress.CompleteLabel.visible())
            Finish();
        return;
    }
    switch (page_) {
    case WizardPage::Welcome:
    case WizardPage::Licence:
    case WizardPage::Information:
    case WizardPage::Shortcuts:
        ShowPage(PageAfter(page_, offered_), true);
        return;
    case WizardPage::Method: {
        if (Method.RadioButton1.checked()) {
            // "Cool" would name a folder under whatever the current folder is, here and at
            // uninstall; its first letter would pass for a drive below.
            if (!IsFullPath(Method.Edit1.wideText())) {
                ShowMessageBox(Method.Edit1.wideText() + L"\r\n" + Widen(Text(NotFullPathMessage)),
                               SetupTitle, MessageStop, handle());
                return;
            }
            if (FreeSpaceOfField(Method.Edit1.wideText()) <= 0) {
                ShowMessageBox(Text("このﾄﾞﾗｲﾌﾞには空き容量がありません。別のﾄﾞﾗｲﾌﾞを指定して下さい。"),
                               SetupTitle, MessageStop, handle());
                return;
            }
            const std::wstring folder = WithoutTrailingBackslashes(Method.Edit1.wideText());
            Method.Edit1.SetText(folder);
            if (!DirectoryExists(folder)) {
                if (ShowMessageBox(folder + L"\r\n" + Widen(Text("このﾌｫﾙﾀﾞは存在しません。作成しますか？")),
                                   SetupTitle, MessageQuestion, handle()) != IDYES)
                    return;
                ForceDirectories(folder);
                if (!DirectoryExists(folder)) {
                    ShowMessageBox(folder + L"\r\n" + Widen(Text("上記ﾌｫﾙﾀﾞの作成に失敗しました。")),
                                   SetupTitle, MessageStop, handle());
                    return;
                }
            }
        }
        ShowPage(PageAfter(page_, offered_), true);
        return;
    }
    case WizardPage::Start:
        RunInstallation();
        return;
    case WizardPage::None:
        return;
    }
}

void TSetupMainForm::BitBtn3Click() {
    Close();
}

bool TSetupMainForm::FormKeyDown(WPARAM key) {
    if (key != VK_ESCAPE)
        return false;
    if (RecordEscToClose(recordName_) == 1)
        Close();
    // Esc is handled here either way, so the cancel button never asks a second time.
    return true;
}

bool TSetupMainForm::FormCloseQuery() {
    bool allowed;
    // Once the run started (the run page may lie over the progress page) nothing is left
    // to cancel: closing waits only for the completion text.
    if (installStarted_ || Progress.visible() || running_)
        allowed = Progress.CompleteLabel.visible();
    else
        allowed = ShowMessageBox(Text("ｾｯﾄｱｯﾌﾟを中止してもよろしいですか？"), SetupTitle, MessageQuestion,
                                 handle()) == IDYES;
    if (allowed)
        DisableAllPrivileges();
    return allowed;
}

void TSetupMainForm::OnCloseRequest() {
    if (FormCloseQuery())
        DestroyWindow(handle());
}

void TSetupMainForm::SetBar(InstallBar bar, int position, int max) {
    if (position == 0)
        Progress.SetBarMaximum(bar, max);
    Progress.Bars[bar].SetPosition(position);
    pump_.Pump();
}

bool TSetupMainForm::AskContinue(const std::wstring& text) {
    bool yes = ShowMessageBox(text, SetupTitle, MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2, handle()) == IDYES;
    log_.Line((yes ? L"Answered Yes: " : L"Answered No: ") + text);
    return yes;
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

    InstallChoices choices = proposal_.choices;
    choices.intoSetupFolder = !Method.RadioButton1.checked();
    choices.paths.installFolder = Method.Edit1.wideText();
    choices.paths.programGroup = Shortcuts.Edit2.wideText();
    choices.startMenu = Shortcuts.CheckBox1.checked();
    choices.desktop = Shortcuts.CheckBox2.checked();
    choices.sendTo = Shortcuts.CheckBox3.checked();
    result_ = ::RunInstallation(data_, choices, InstallFolders::FromPlatform(), *this);
    running_ = false;
    Progress.CompleteLabel.SetVisible(true);
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
    if (Run.visible()) {
        InstallChoices choices = proposal_.choices;
        choices.intoSetupFolder = !Method.RadioButton1.checked();
        choices.paths.installFolder = Method.Edit1.wideText();
        choices.paths.programGroup = Shortcuts.Edit2.wideText();
        StartRunPrograms(data_, EffectivePaths(data_, choices),
                         {Run.RunBoxes[0].checked(), Run.RunBoxes[1].checked(), Run.RunBoxes[2].checked()});
    }
    DestroyWindow(handle());
}

// The uninstall run's bars and questions, on the window.
class TSetupMainForm::UninstallBars : public UninstallProgress {
public:
    UninstallBars(TSetupMainForm& form, InstallLog& log) : form_(form), log_(log) {}
    void SetBarMaximum(UninstallBar bar, int maximum) override {
        const int index = static_cast<int>(bar);
        form_.Progress.SetBarMaximum(index, maximum);
        form_.Progress.Bars[index].SetPosition(0);
        form_.pump_.Pump();
    }
    void StepBar(UninstallBar bar) override {
        ProgressBar& progress = form_.Progress.Bars[static_cast<int>(bar)];
        progress.SetPosition(progress.position() + 1);
        form_.pump_.Pump();
    }
    bool ConfirmUninstall(const std::wstring& question) override {
        return ShowMessageBox(question, SetupTitle, MessageQuestion, form_.handle()) == IDYES;
    }
    bool AskContinue(const std::wstring& question) override {
        bool yes = ShowMessageBox(question, SetupTitle, MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2,
                                  form_.handle()) == IDYES;
        log_.Line((yes ? L"Answered Yes: " : L"Answered No: ") + question);
        return yes;
    }
    void Log(const std::wstring& line) override { log_.Line(line); }

private:
    TSetupMainForm& form_;
    InstallLog& log_;
};

bool TSetupMainForm::FormCreateUninstall(const std::wstring& appName) {
    uninstallMode_ = true;
    recordName_ = appName;
    if (!CreateFrame(nullptr, "ﾌﾟﾛｸﾞﾗﾑのｺﾝﾋﾟｭｰﾀからの削除"))
        return false;
    CreateProgressPage(
        Widen(Text(SetupTitle) + " は、ｺﾝﾋﾟｭｰﾀからﾌﾟﾛｸﾞﾗﾑ \"") + appName +
            Widen(Text("\" を削除しています。次の各ｺﾝﾎﾟｰﾈﾝﾄが削除される間、しばらくお待ちください...")),
        {"ﾌﾟﾛｸﾞﾗﾑ", "ﾌｫﾙﾀﾞ", "ｼｮｰﾄｶｯﾄ", "ﾚｼﾞｽﾄﾘ"}, "ｱﾝｲﾝｽﾄｰﾙが完了しました。");
    // No data file here: the window's own picture.
    picture_.reset(CreateDefaultPicture(PictureWidth, DividerTop));
    if (picture_)
        PictureImage.SetBitmap(AsBitmap(picture_));
    // The installer's credit line, bold italic lime at the bottom left.
    // As wide as the room left of the OK button.
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
    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer1.SetEnabled(true);
    return true;
}

void TSetupMainForm::Timer1Timer() {
    Timer1.SetEnabled(false);
    UninstallBars bars(*this, log_);
    uninstallOutcome_ = RunUninstall(recordName_, bars);
    Progress.CompleteLabel.SetVisible(true);
    if (uninstallOutcome_ != UninstallOutcome::Completed) {
        DestroyWindow(handle());
        return;
    }
    BitBtn2.SetEnabled(true);
    BitBtn2.Focus();
}

UninstallOutcome RunUninstallWindow(const std::wstring& appName, InstallLog& log) {
    SetupData unused(RunningProgramFolder());
    TSetupMainForm form(unused, log);
    if (!form.FormCreateUninstall(appName))
        return UninstallOutcome::Stopped;
    form.ShowModal();
    return form.UninstallResult();
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
