#include "back_form.h"

#include <algorithm>
#include <cstdlib>

#include "app.h"
#include "dialogs.h"
#include "gdi.h"
#include "paths.h"
#include "publisher.h"
#include "win/encoding.h"
#include "win/files.h"

Text BackCreditLine() {
    return Text("Brisa Setup  ") + Publisher::Copyright;
}

namespace {

constexpr const char* SetupTitle = "Brisa Setup for Windows";
constexpr const char* ThankYou = "Thank you!";
constexpr int OffScreenTop = -1000;

// The designed places of the five lines (96-DPI pixels).
constexpr int LineLeft = 16;
constexpr int AppTop = 16, VerTop = 32, CopyTop = 48, MesTop = 64, CreditTop = 120;
constexpr int PictureLeft = 32; // its top follows the version line

// The size the label takes for its text, as a self-sizing label measures it: an empty
// text still has a line's height, so the lines around it keep their places.
LabelExtent MeasureLabel(const TBlinkLabel& label) {
    std::wstring text = Widen(label.Caption());
    if (text.empty())
        text = L" ";
    RECT rect = {0, 0, 0, 0};
    HDC dc = GetDC(label.handle());
    {
        SelectObjectScope font(dc, label.font());
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
    }
    ReleaseDC(label.handle(), dc);
    DpiScale scale = label.dpi();
    return {scale.Unscale(rect.right - rect.left), scale.Unscale(rect.bottom - rect.top)};
}

// The label's final size: its text with room for the shadow on either side and for the
// slant of italic letters, so neither is clipped. Larger labels would overlap each other
// and the picture without showing anything more.
Bounds TextLineBounds(LabelPlace place, LabelExtent extent, const TBlinkLabel& label, bool italic) {
    const TShadow& shadow = label.Shadow();
    int width = extent.width + (italic ? extent.height / 3 : 0);
    int height = extent.height;
    if (shadow.Visible()) {
        width += std::abs(shadow.OffsetLeft());
        height += std::abs(shadow.OffsetTop());
    }
    return {place.left, place.top, width, height};
}

// A colour value of the data file: 0x00BBGGRR, or a system colour as 0x800000nn (negative).
COLORREF ColorOf(long value) {
    if (value < 0)
        return GetSysColor(static_cast<int>(value & 0xFF));
    return static_cast<COLORREF>(value & 0xFFFFFF);
}

} // namespace

std::wstring MissingSetupDataMessage(const std::wstring& dataFile) {
    return Widen(Text("ｾｯﾄｱｯﾌﾟﾃﾞｰﾀが見つかりません。")) + L"\r\n" + dataFile;
}

TBackForm::TBackForm() : Timer1(1, true) {
    reportMissingData = [](TBackForm& owner, const std::wstring& text) {
        ShowMessageBox(text, SetupTitle, MessageStop, owner.handle());
    };
}

TBackForm::~TBackForm() {
    Timer1.SetEnabled(false);
}

bool TBackForm::FormCreate(const SetupData& data) {
    FormParams params;
    params.className = "TBackForm";
    params.caption = SetupTitle;
    params.style = WS_POPUP | WS_CLIPCHILDREN;
    params.font = FontSpec{"ＭＳ Ｐゴシック", 9}; // 12 pixels at 96 DPI
    if (!CreateForm(params))
        return false;
    Timer1.SetHandler([this] { Timer1Timer(); });

    DpiScale scale = DpiScale::ForSystem();
    const int screenWidth = scale.Unscale(GetSystemMetrics(SM_CXSCREEN));
    const int screenHeight = scale.Unscale(GetSystemMetrics(SM_CYSCREEN));

    dataFile_ = data.File();
    dataFound_ = data.Exists();
    if (!dataFound_) {
        Bounds offScreen = bounds();
        offScreen.top = OffScreenTop;
        SetBounds(offScreen);
        return true;
    }
    SetBounds({0, 0, screenWidth, screenHeight});

    CreditLabel.SetFontSpec(FontSpec{"ＭＳ Ｐゴシック", 10, true, true}); // 13 pixels
    CreditLabel.Create(*this, BackCreditLine(), {LineLeft, CreditTop, 1, 1});
    CreditLabel.SetName("CreditLabel");
    CreditLabel.SetFontColor(RGB(255, 255, 0));
    CreditLabel.SetBlinkRate(0);
    CreditLabel.SetTransparent(true);
    CreditLabel.SetShowAccelChar(false);

    wallColor_ = ColorOf(data.WallColor());
    strips_ =
        GradientStrips(screenWidth, screenHeight, data.Gradation(), data.Red(), data.Green(), data.Blue());

    const StyledLine app = data.ReadStyledLine(StyledLineKind::App);
    const StyledLine ver = data.ReadStyledLine(StyledLineKind::Ver);
    const StyledLine copy = data.ReadStyledLine(StyledLineKind::Copy);
    const StyledLine mes = data.ReadStyledLine(StyledLineKind::Mes);
    AppLabel.Create(*this, Text(), {LineLeft, AppTop, 1, 1});
    VerLabel.Create(*this, Text(), {LineLeft, VerTop, 1, 1});
    CopyLabel.Create(*this, Text(), {LineLeft, CopyTop, 1, 1});
    MesLabel.Create(*this, Text(), {LineLeft, MesTop, 1, 1});
    CreateTextLine(AppLabel, "AppLabel", app);
    CreateTextLine(VerLabel, "VerLabel", ver);
    CreateTextLine(CopyLabel, "CopyLabel", copy);
    CreateTextLine(MesLabel, "MesLabel", mes);

    BackLayoutInput in;
    in.screenWidth = screenWidth;
    in.screenHeight = screenHeight;
    in.app = {LineLeft, AppTop};
    in.credit = {LineLeft, CreditTop};
    in.pictureLeft = PictureLeft;
    in.appExtent = MeasureLabel(AppLabel);
    in.versionExtent = MeasureLabel(VerLabel);
    in.copyrightExtent = MeasureLabel(CopyLabel);
    in.messageExtent = MeasureLabel(MesLabel);
    in.creditExtent = MeasureLabel(CreditLabel);
    in.thankYou = data.Morivane() == ThankYou;
    layout_ = LayOutBackground(in);

    AppLabel.SetBounds(TextLineBounds(layout_.app, in.appExtent, AppLabel, app.italic));
    VerLabel.SetBounds(TextLineBounds(layout_.version, in.versionExtent, VerLabel, ver.italic));
    CopyLabel.SetBounds(TextLineBounds(layout_.copyright, in.copyrightExtent, CopyLabel, copy.italic));
    MesLabel.SetBounds(TextLineBounds(layout_.message, in.messageExtent, MesLabel, mes.italic));
    // The credit line keeps room for its slant and its shadow as designed: a line's
    // height more to the right, twice its height in all.
    CreditLabel.SetBounds({layout_.credit.left, layout_.credit.top,
                           in.creditExtent.width + in.creditExtent.height, 2 * in.creditExtent.height});
    CreditLabel.SetVisible(layout_.creditVisible);

    const std::wstring wallBmp = data.WallBmpFile();
    if (!wallBmp.empty() && FileExists(wallBmp)) {
        picture_.reset(LoadImageW(nullptr, wallBmp.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (picture_) { // a picture that fails to load is left out without a word
            BITMAP info = {};
            GetObjectW(picture_.get(), sizeof(info), &info);
            pictureBounds_ = {PictureLeft, layout_.pictureTop, info.bmWidth, std::abs(info.bmHeight)};
        }
    }
    return true;
}

void TBackForm::CreateTextLine(TBlinkLabel& label, const Text& name, const StyledLine& line) {
    label.SetName(name);
    FontSpec font;
    font.name = line.fontName;
    font.points = static_cast<int>(line.fontSize);
    font.bold = line.bold;
    font.italic = line.italic;
    font.underline = line.underline;
    font.strikeOut = line.strikeOut;
    label.SetFontSpec(font);
    label.SetFontColor(ColorOf(line.fontColor));
    label.SetBlinkRate(0);
    label.SetTransparent(true);
    label.SetShowAccelChar(false); // the data file's "&" is a character, not a shortcut
    label.Shadow().SetColor(ColorOf(line.shadowColor));
    label.Shadow().SetOffsetLeft(static_cast<int>(line.shadowLeft));
    label.Shadow().SetOffsetTop(static_cast<int>(line.shadowTop));
    label.Shadow().SetVisible(line.shadowVisible);
    label.SetCaption(line.text);
}

void TBackForm::Timer1Timer() {
    Timer1.SetEnabled(false);
    if (dataFound_) {
        if (runWizard) {
            wizardOpen_ = true;
            runWizard(*this);
            wizardOpen_ = false;
        }
    } else if (reportMissingData) {
        reportMissingData(*this, MissingSetupDataMessage(dataFile_));
    }
    Close();
}

void TBackForm::OnCloseRequest() {
    if (!wizardOpen_)
        Form::OnCloseRequest();
}

void TBackForm::PaintBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    UniqueGdiObject wall(CreateSolidBrush(wallColor_));
    FillRect(dc, &client, static_cast<HBRUSH>(wall.get()));
    DpiScale scale = dpi();
    for (const GradientStrip& strip : strips_) {
        RECT rect = {client.left, scale.Scale(strip.top), client.right,
                     scale.Scale(strip.top + strip.height)};
        UniqueGdiObject brush(CreateSolidBrush(static_cast<COLORREF>(strip.color)));
        FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
    }
}

void TBackForm::PaintPicture(HDC dc) {
    if (!picture_)
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture_.get());
    // The picture's pixels are 96-DPI pixels like the layout around it.
    DpiScale scale = dpi();
    StretchBlt(dc, scale.Scale(pictureBounds_.left), scale.Scale(pictureBounds_.top),
               scale.Scale(pictureBounds_.width), scale.Scale(pictureBounds_.height), source, 0, 0,
               pictureBounds_.width, pictureBounds_.height, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

LRESULT TBackForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_PAINT: {
        PaintScope paint(handle());
        PaintPicture(paint.dc());
        return 0;
    }
    case WM_PRINTCLIENT: // the transparent lines draw what lies under them
        PaintPicture(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            LRESULT result = DefaultHandling(message, wParam, lParam);
            minimized_ = true;
            return result;
        }
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

void RunBackForm(const SetupData& data, std::function<void(TBackForm& owner)> runWizard) {
    TBackForm form;
    form.runWizard = std::move(runWizard);
    if (!form.FormCreate(data))
        return;
    Application::SetMainWindow(form.handle());
    ShowWindow(form.handle(), form.DataFound() ? SW_SHOW : SW_SHOWNOACTIVATE);
    Application::RunWhile([&form] { return form.handle() != nullptr; });
    Application::SetMainWindow(nullptr);
}
