#include "setup_frame.h"

#include "dialogs.h"
#include "uninstall_record.h"
#include "uninstall_run.h"
#include "win/process.h"
#include "wizard_art.h"

SetupFrame::SetupFrame(InstallLog& log, std::wstring recordName)
    : log_(log), recordName_(std::move(recordName)) {}

bool SetupFrame::CreateFrame(HWND owner, const Text& caption) {
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

    BitBtn1.Create(*this, "< 戻る(&B)", {208, 272, 81, 25});
    BitBtn1.SetName("BitBtn1");
    BitBtn2.Create(*this, NextText, {288, 272, 81, 25});
    BitBtn2.SetName("BitBtn2");
    BitBtn3.Create(*this, CancelText, {376, 272, 81, 25});
    BitBtn3.SetName("BitBtn3");
    BitBtn3.onClick = [this] { Close(); };
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

void SetupFrame::LoadPicture(const std::wstring& bitmapFile) {
    if (!bitmapFile.empty())
        picture_.reset(LoadImageW(nullptr, bitmapFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!picture_)
        picture_.reset(CreateDefaultPicture(PictureWidth, DividerTop));
    if (picture_)
        PictureImage.SetBitmap(AsBitmap(picture_));
}

void SetupFrame::CreateProgressPage(const std::wstring& text, const std::array<const char*, 4>& barNames,
                                    const Text& completion) {
    LOGFONTW bold = {};
    GetObjectW(font(), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    boldFont_.reset(CreateFontIndirectW(&bold));
    Progress.Create(*this, PageArea, text, barNames, completion, AsFont(boldFont_));
}

bool SetupFrame::AskToContinue(const std::wstring& question) {
    bool yes =
        ShowMessageBox(question, SetupTitle, MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2, handle()) == IDYES;
    log_.Line((yes ? L"Answered Yes: " : L"Answered No: ") + question);
    return yes;
}

void SetupFrame::ShowKeptRestartNotice() {
    if (restartNotice_.empty())
        return;
    log_.Line(L"Restart needed: " + restartNotice_);
    ShowMessageBox(restartNotice_, SetupTitle, MessageInformation, handle());
    restartNotice_.clear();
}

bool SetupFrame::FormKeyDown(WPARAM key) {
    if (key != VK_ESCAPE)
        return false;
    if (RecordEscToClose(recordName_) == 1)
        Close();
    // Esc is handled here either way, so the cancel button never asks a second time.
    return true;
}

bool SetupFrame::FormCloseQuery() {
    const bool allowed = CloseAllowed();
    if (allowed)
        DisableAllPrivileges();
    return allowed;
}

void SetupFrame::OnCloseRequest() {
    if (FormCloseQuery())
        DestroyWindow(handle());
}
