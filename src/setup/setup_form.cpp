#include "setup_form.h"

#include "app.h"
#include "back_form.h"
#include "browse_dialog.h"
#include "dialogs.h"
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
// A long text steps its font down to this size rather than lose its last lines.
constexpr int MinimumPoints = 6;

const Text NextText = "次へ(&N) >";
const Text BackText = "< 戻る(&B)";
const Text CancelText = "ｷｬﾝｾﾙ";
const Text FinishText = "終了(&E)";

// A text file for a read-only box: CP932 as written, every line break as CR LF.
std::wstring TextForBox(const std::wstring& file) {
    std::optional<Text> bytes = ReadFileBytes(file);
    if (!bytes)
        return std::wstring();
    Text text;
    for (size_t i = 0; i < bytes->size(); ++i) {
        char c = (*bytes)[i];
        if (c == '\n' && (i == 0 || (*bytes)[i - 1] != '\r'))
            text += '\r';
        text += c;
    }
    return Widen(text);
}

Text WelcomeText(const Text& appName) {
    return appName + " ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑへようこそ。このﾌﾟﾛｸﾞﾗﾑは、ｺﾝﾋﾟｭﾀに " + appName +
           "をｲﾝｽﾄｰﾙします。\n\nこのｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑを実行する前に、すべての Windows "
           "ﾌﾟﾛｸﾞﾗﾑを必ず終了して下さい。"
           "\n\n[ｷｬﾝｾﾙ]をｸﾘｯｸするとｾｯﾄｱｯﾌﾟを終了します。ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑを続行するには、[次へ]をｸﾘｯｸします。"
           "\n\n\n\n情報 : このｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑは、Morivane作成のﾌﾘｰｿﾌﾄです。ﾎｰﾑﾍﾟｰｼﾞ等で公開しています。"
           "\n\nE-Mail : info@morivane.example\nURL    : http://www.morivane.example/";
}

// Folder names in the Programs folder, as the platform lists them.
std::vector<std::wstring> ExistingGroups(const std::wstring& programs) {
    std::vector<std::wstring> names;
    if (programs.empty())
        return names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((programs + L"\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (found.cFileName[0] != L'.' && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

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

TSetupMainForm::~TSetupMainForm() {
    if (picture_)
        DeleteObject(picture_);
    if (boldFont_)
        DeleteObject(boldFont_);
    if (creditFont_)
        DeleteObject(creditFont_);
}

bool TSetupMainForm::CreateFrame(HWND owner, const Text& caption) {
    if (GetPlatformFamily() == PlatformNT)
        SetProcessPrivilege("SeBackupPrivilege", false);
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
        picture_ =
            static_cast<HBITMAP>(LoadImageW(nullptr, mainBmp.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    // The window's own picture until the data file names one that loads.
    if (!picture_)
        picture_ = CreateDefaultPicture(PictureWidth, DividerTop);
    if (picture_)
        PictureImage.SetBitmap(picture_);
}

bool TSetupMainForm::FormCreate(HWND owner) {
    if (!CreateFrame(owner, "ようこそ"))
        return false;
    appName_ = data_.AppName();
    recordName_ = Widen(appName_);
    programsFolder_ = GetShellFolderWide("Programs");
    proposal_ = ProposeInstallation(data_);

    LoadPicture();

    const int w = PageArea.width;
    // Page 1
    WelcomePage.Create(*this, PageArea);
    WelcomeLabel.Create(WelcomePage, WelcomeText(appName_), {0, 0, w, PageArea.height});
    WelcomeLabel.SetName("WelcomeLabel");

    // Page 2 covers everything above the divider.
    LicencePage.Create(*this, {0, 0, FormWidth, DividerTop});
    LicenceIcon.Create(LicencePage, {12, 8, 32, 32});
    LicenceIcon.SetIcon(Application::MainIcon());
    LicenceLabel.Create(
        LicencePage,
        "以下のﾗｲｾﾝｽ契約をお読み下さい。\n契約の残りの部分を読むには、Page Up キーを押して下さい。",
        {56, 8, 400, 30});
    LicenceMemo.Create(LicencePage, "", {12, 44, 447, 150},
                       ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL | WS_TABSTOP);
    LicenceMemo.SetName("Memo1");
    const std::wstring licence = TextForBox(data_.LicenceFile());
    LicenceMemo.SetText(licence);
    LicenceQuestion.Create(
        LicencePage,
        "前述のﾗｲｾﾝｽ契約のすべての項目に同意しますか？ [いいえ]を選択すると、ｾｯﾄｱｯﾌﾟは中止されます。  " +
            appName_ + " をｲﾝｽﾄｰﾙするには、この契約に同意いただく必要があります。",
        {12, 200, 447, 60});
    // Page 3
    ReadmePage.Create(*this, PageArea);
    ReadmeLabel.Create(ReadmePage, data_.ReadmeCaption(), {0, 0, w, 16});
    ReadmeMemo.Create(ReadmePage, "", {0, 20, w, PageArea.height - 20},
                      ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                          WS_TABSTOP);
    ReadmeMemo.SetName("Memo2");
    const std::wstring readme = TextForBox(data_.ReadmeFile());
    ReadmeMemo.SetText(readme);
    // Page 4
    MethodPage.Create(*this, PageArea);
    MethodLabel.Create(MethodPage, "希望するｾｯﾄｱｯﾌﾟ方法を選んで、[次へ]をｸﾘｯｸします。", {0, 0, w, 30});
    RadioButton1.Create(MethodPage, "指定のﾌｫﾙﾀﾞへｲﾝｽﾄｰﾙ(&C):", {0, 40, w, 18}, true);
    RadioButton1.SetName("RadioButton1");
    RadioButton1.onClick = [this] { Edit1Change(); };
    Text capacity = data_.Capacity();
    CapacityLabel.Create(MethodPage, "必要容量 (" + (capacity.empty() ? Text("不明") : capacity) + ")",
                         {0, 60, w, 16}, SS_RIGHT);
    FolderGroup.Create(MethodPage, "", {0, 80, w, 60});
    Edit1.Create(MethodPage, "", {10, 104, w - 100, 22});
    Edit1.SetName("Edit1");
    BitBtn4.Create(MethodPage, "参照(&A)", {w - 84, 102, 76, 25});
    BitBtn4.SetName("BitBtn4");
    BitBtn4.onClick = [this] { BitBtn4Click(); };
    RadioButton2.Create(MethodPage, "ﾌｧｲﾙのｺﾋﾟｰは行わず、現在のﾌｨﾙﾀﾞにｲﾝｽﾄｰﾙ(&O)", {0, 150, w, 18});
    RadioButton2.SetName("RadioButton2");
    RadioButton2.onClick = [this] { Edit1Change(); };
    const std::wstring& folder = proposal_.choices.paths.installFolder;
    Edit1.SetText(folder);
    RadioButton1.SetEnabled(proposal_.folderChoiceAvailable);
    RadioButton1.SetChecked(!proposal_.choices.intoSetupFolder);
    RadioButton2.SetChecked(proposal_.choices.intoSetupFolder);
    Edit1.onChange = [this] { Edit1Change(); };
    // Page 5
    ShortcutPage.Create(*this, PageArea);
    ShortcutLabel.Create(
        ShortcutPage,
        "ｾｯﾄｱｯﾌﾟは、以下のﾌﾟﾛｸﾞﾗﾑ ﾌｫﾙﾀﾞｰにﾌﾟﾛｸﾞﾗﾑ ｱｲｺﾝを追加します。   新しいﾌｫﾙﾀﾞｰ名を入力するか、"
        "既存のﾌｫﾙﾀﾞｰ ﾘｽﾄから選択することもできます。   [次へ]をｸﾘｯｸして続行して下さい。",
        {0, 0, w, 52});
    CheckBox1.Create(ShortcutPage, "ｽﾀｰﾄﾒﾆｭｰに登録する(&S)", {0, 54, w, 18});
    CheckBox1.SetName("CheckBox1");
    CheckBox1.onClick = [this] { Edit2Change(); };
    GroupGroup.Create(ShortcutPage, "ﾌﾟﾛｸﾞﾗﾑ ﾌｫﾙﾀﾞｰ(&P)", {0, 74, w, 132});
    Edit2.Create(ShortcutPage, "", {10, 90, w - 20, 22});
    Edit2.SetName("Edit2");
    ListLabel.Create(ShortcutPage, "既存のﾌｫﾙﾀﾞｰ(&X):", {10, 115, w - 20, 16});
    ListBox1.Create(ShortcutPage, {10, 131, w - 20, 68});
    ListBox1.SetName("ListBox1");
    ListBox1.onClick = [this] { ListBox1Click(); };
    CheckBox2.Create(ShortcutPage, "ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄｱｲｺﾝを作成する(&D)", {0, 210, w, 18});
    CheckBox2.SetName("CheckBox2");
    CheckBox3.Create(ShortcutPage, "「送る」ｺﾝﾃﾝﾂにｼｮｰﾄｶｯﾄを作成する(&T)", {0, 230, w, 18});
    CheckBox3.SetName("CheckBox3");
    Edit2.SetText(proposal_.choices.paths.programGroup);
    const auto groups = ExistingGroups(programsFolder_);
    for (const auto& name : groups)
        ListBox1.AddItem(name);
    for (size_t i = 0; i < groups.size(); ++i)
        if (proposal_.groupNeeded &&
            CompareStringOrdinal(groups[i].c_str(), -1, proposal_.choices.paths.programGroup.c_str(), -1,
                                 TRUE) == CSTR_EQUAL) {
            ListBox1.SetItemIndex(static_cast<int>(i));
            break;
        }
    const bool startMenu = !data_.ReadString(SetupInstall, "StartMenu1", "").empty();
    const bool desktop = !data_.ReadString(SetupInstall, "DeskTop1", "").empty();
    const bool sendTo = !data_.ReadString(SetupInstall, "SendTo1", "").empty();
    CheckBox1.SetChecked(startMenu);
    CheckBox1.SetEnabled(startMenu);
    CheckBox2.SetChecked(desktop);
    CheckBox2.SetEnabled(desktop);
    CheckBox3.SetChecked(sendTo);
    CheckBox3.SetEnabled(sendTo);
    Edit2.onChange = [this] { Edit2Change(); };
    // Page 6
    StartPage.Create(*this, PageArea);
    StartLabel.Create(StartPage,
                      "以上でｾｯﾄｱｯﾌﾟの設定は完了です。\n\n\n設定を変更する場合は[戻る]をｸﾘｯｸして下さい。\n\n["
                      "次へ]をｸﾘｯｸすると " +
                          appName_ + " のｾｯﾄｱｯﾌﾟを開始します。",
                      {0, 0, w, PageArea.height});
    StartLabel.SetName("StartLabel");
    CreateProgressPage(
        Widen(Text(SetupTitle) + " は、ｺﾝﾋﾟｭｰﾀにﾌﾟﾛｸﾞﾗﾑ \"" + appName_ +
              "\" をｾｯﾄｱｯﾌﾟしています。次の各ｺﾝﾎﾟｰﾈﾝﾄがｾｯﾄｱｯﾌﾟされる間、しばらくお待ちください..."),
        {"ﾌｫﾙﾀﾞ", "ﾌﾟﾛｸﾞﾗﾑ", "ｼｮｰﾄｶｯﾄ", "ﾚｼﾞｽﾄﾘ"}, "ｾｯﾄｱｯﾌﾟが完了しました。");
    // Run page, over the progress page
    RunPage.Create(*this, PageArea);
    RunCompleteLabel.Create(RunPage, "ｾｯﾄｱｯﾌﾟが完了しました。", {0, 20, w, 18}, SS_CENTER);
    RunCompleteLabel.SetFont(boldFont_);
    for (int i = 0; i < 3; ++i) {
        RunOption option = data_.ReadRunOption(i + 1);
        RunBoxes[i].Create(RunPage, option.caption, {20, 70 + i * 26, w - 20, 18});
        RunBoxes[i].SetName("RunBox" + std::to_string(i + 1));
        RunBoxes[i].SetChecked(option.checked);
        RunBoxes[i].SetVisible(!option.caption.empty());
    }
    RunLabel.Create(RunPage, "[終了]をｸｲｯｸすると、ｾｯﾄｱｯﾌﾟを終了します。", {0, 200, w, 18});
    ProgressPage.SetVisible(false);
    RunPage.SetVisible(false);
    for (Label* label : {&WelcomeLabel, &LicenceLabel, &LicenceQuestion, &MethodLabel, &ShortcutLabel,
                         &StartLabel, &RunLabel})
        label->ShrinkFontToFit(MinimumPoints);

    offered_.licence = TextFileHoldsALine(data_.LicenceFile());
    offered_.information = TextFileHoldsALine(data_.ReadmeFile());
    offered_.method = RadioButton1.enabled();
    offered_.shortcuts = startMenu || desktop || sendTo;
    ShowPage(WizardPage::Welcome, true);
    return true;
}

void TSetupMainForm::CreateProgressPage(const std::wstring& text, const std::array<const char*, 4>& barNames,
                                        const Text& completion) {
    const int w = PageArea.width;
    ProgressPage.Create(*this, PageArea);
    ProgressLabel.Create(ProgressPage, "", {0, 0, w, 60});
    ProgressLabel.SetText(text);
    for (int i = 0; i < 4; ++i) {
        BarLabels[i].Create(ProgressPage, barNames[i], {0, 70 + i * 36, w, 14});
        Bars[i].Create(ProgressPage, {0, 86 + i * 36, w, 16});
        Bars[i].SetName("ProgressBar" + std::to_string(i + 1));
    }
    LOGFONTW bold = {};
    GetObjectW(font(), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    boldFont_ = CreateFontIndirectW(&bold);
    ProgressLabel.ShrinkFontToFit(MinimumPoints);
    CompleteLabel.Create(ProgressPage, completion, {0, 226, w, 18}, SS_CENTER);
    CompleteLabel.SetName("CompleteLabel");
    CompleteLabel.SetFont(boldFont_);
    CompleteLabel.SetVisible(false);
}

Panel* TSetupMainForm::PagePanel(WizardPage page) {
    switch (page) {
    case WizardPage::Welcome:
        return &WelcomePage;
    case WizardPage::Licence:
        return &LicencePage;
    case WizardPage::Information:
        return &ReadmePage;
    case WizardPage::Method:
        return &MethodPage;
    case WizardPage::Shortcuts:
        return &ShortcutPage;
    case WizardPage::Start:
        return &StartPage;
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
        LicenceMemo.Focus();
    if (forward && page == WizardPage::Method)
        Edit1Change();
    if (forward && page == WizardPage::Shortcuts)
        Edit2Change();
}

void TSetupMainForm::RefreshFreeSpace() {
    FolderGroup.SetText(Widen(Text("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞ(&F) - 空き容量 (")) +
                        FreeSpaceText(FreeSpaceOfField(Edit1.wideText())) + L"KB)");
}

void TSetupMainForm::Edit1Change() {
    const bool first = RadioButton1.checked();
    BitBtn2.SetEnabled(!first || !Edit1.wideText().empty());
    Edit1.SetEnabled(first);
    BitBtn4.SetEnabled(first);
    FolderGroup.SetEnabled(first);
    RefreshFreeSpace();
    // The page's controls too: a repaint of the form alone would paint over them.
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TSetupMainForm::Edit2Change() {
    const bool ticked = CheckBox1.checked();
    BitBtn2.SetEnabled(!ticked || !proposal_.groupNeeded || !Edit2.wideText().empty());
    const bool groupField = proposal_.groupNeeded && ticked;
    Edit2.SetEnabled(groupField);
    ListBox1.SetEnabled(groupField);
    ListLabel.SetEnabled(groupField);
    GroupGroup.SetEnabled(groupField);
    // The page's controls too: a repaint of the form alone would paint over them.
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TSetupMainForm::ListBox1Click() {
    const int index = ListBox1.itemIndex();
    if (index >= 0)
        Edit2.SetText(ListBox1.wideItem(static_cast<size_t>(index)));
}

void TSetupMainForm::BitBtn4Click() {
    TBrowseDialog browse;
    browse.Caption = "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞを選択してください。";
    browse.Directory = Edit1.wideText();
    if (browse.Execute() && !browse.Directory.empty())
        Edit1.SetText(browse.Directory);
}

void TSetupMainForm::BitBtn1Click() {
    if (running_ || installStarted_)
        return;
    ShowPage(PageBefore(page_, offered_), false);
    BitBtn2.SetEnabled(true);
}

void TSetupMainForm::BitBtn2Click() {
    if (uninstallMode_) {
        if (CompleteLabel.visible())
            Close();
        return;
    }
    if (installStarted_) {
        if (!running_ && CompleteLabel.visible())
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
        if (RadioButton1.checked()) {
            if (FreeSpaceOfField(Edit1.wideText()) <= 0) {
                ShowMessageBox(Text("このﾄﾞﾗｲﾌﾞには空き容量がありません。別のﾄﾞﾗｲﾌﾞを指定して下さい。"),
                               SetupTitle, MessageStop, handle());
                return;
            }
            const std::wstring folder = WithoutTrailingBackslashes(Edit1.wideText());
            Edit1.SetText(folder);
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
    if (ProgressPage.visible() || running_)
        allowed = CompleteLabel.visible();
    else
        allowed = ShowMessageBox(Text("ｾｯﾄｱｯﾌﾟを中止してもよろしいですか？"), SetupTitle, MessageQuestion,
                                 handle()) == IDYES;
    if (allowed && GetPlatformFamily() == PlatformNT)
        SetProcessPrivilege("", true);
    return allowed;
}

void TSetupMainForm::OnCloseRequest() {
    if (FormCloseQuery())
        DestroyWindow(handle());
}

void TSetupMainForm::SetBar(InstallBar bar, int position, int max) {
    ProgressBar& progress = Bars[bar];
    if (position == 0) {
        // A bar that counted nothing is hidden, with its label.
        progress.SetVisible(max > 0);
        BarLabels[bar].SetVisible(max > 0);
        progress.SetRange(0, max > 0 ? max : 1);
    }
    progress.SetPosition(position);
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
    ProgressPage.SetVisible(true);
    BitBtn1.SetEnabled(false);
    BitBtn2.SetEnabled(false);
    BitBtn3.SetEnabled(false);
    UpdateWindow(handle());

    InstallChoices choices = proposal_.choices;
    choices.intoSetupFolder = !RadioButton1.checked();
    choices.paths.installFolder = Edit1.wideText();
    choices.paths.programGroup = Edit2.wideText();
    choices.startMenu = CheckBox1.checked();
    choices.desktop = CheckBox2.checked();
    choices.sendTo = CheckBox3.checked();
    result_ = ::RunInstallation(data_, choices, InstallFolders::FromPlatform(), *this);
    running_ = false;
    CompleteLabel.SetVisible(true);
    if (result_ != InstallResult::Completed) {
        DestroyWindow(handle());
        return;
    }
    log_.Line(L"Completed");
    SetText(Text("ｾｯﾄｱｯﾌﾟ完了"));
    BitBtn2.SetText(FinishText);
    BitBtn2.SetEnabled(true);
    BitBtn3.SetVisible(false);
    if (RunBoxes[0].visible()) {
        ProgressPage.SetVisible(false);
        RunPage.SetVisible(true);
    }
    BitBtn2.Focus();
}

void TSetupMainForm::Finish() {
    if (RunPage.visible()) {
        InstallChoices choices = proposal_.choices;
        choices.intoSetupFolder = !RadioButton1.checked();
        choices.paths.installFolder = Edit1.wideText();
        choices.paths.programGroup = Edit2.wideText();
        StartRunPrograms(data_, EffectivePaths(data_, choices),
                         {RunBoxes[0].checked(), RunBoxes[1].checked(), RunBoxes[2].checked()});
    }
    DestroyWindow(handle());
}

// The uninstall run's bars and questions, on the window.
class TSetupMainForm::UninstallBars : public UninstallProgress {
public:
    UninstallBars(TSetupMainForm& form, InstallLog& log) : form_(form), log_(log) {}
    void SetBarMaximum(UninstallBar bar, int maximum) override {
        const int index = static_cast<int>(bar);
        form_.Bars[index].SetVisible(maximum > 0);
        form_.BarLabels[index].SetVisible(maximum > 0);
        form_.Bars[index].SetRange(0, maximum > 0 ? maximum : 1);
        form_.Bars[index].SetPosition(0);
        form_.pump_.Pump();
    }
    void StepBar(UninstallBar bar) override {
        ProgressBar& progress = form_.Bars[static_cast<int>(bar)];
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
    picture_ = CreateDefaultPicture(PictureWidth, DividerTop);
    if (picture_)
        PictureImage.SetBitmap(picture_);
    // The installer's credit line, bold italic lime at the bottom left.
    // As wide as the room left of the OK button.
    CreditLabel.Create(*this, "", {24, 280, 348, 16});
    CreditLabel.SetName("CreditLabel");
    CreditLabel.SetText(BackCreditLine());
    LOGFONTW credit = {};
    GetObjectW(font(), sizeof credit, &credit);
    credit.lfWeight = FW_BOLD;
    credit.lfItalic = TRUE;
    creditFont_ = CreateFontIndirectW(&credit);
    CreditLabel.SetFont(creditFont_);
    CreditLabel.ShrinkFontToFit(MinimumPoints);
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
    CompleteLabel.SetVisible(true);
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
