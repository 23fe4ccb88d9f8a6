#include "presentation.h"

#include <algorithm>

#include "gdi.h"
#include "publisher.h"
#include "settings.h"
#include "win/encoding.h"

namespace {

constexpr COLORREF Fuchsia = RGB(255, 0, 255);
constexpr int TitleHeight = 32;
constexpr int VersionHeight = 16;

} // namespace

bool CopyrightLabel::Create(Widget& parent, const Text& caption, int left, int top) {
    // SS_NOTIFY: the label reports double clicks.
    if (!Label::Create(parent, caption, {left, top, 1, 1}, SS_LEFT | SS_NOTIFY | SS_NOPREFIX))
        return false;
    HDC dc = GetDC(handle());
    SIZE extent = {};
    {
        SelectObjectScope font(dc, this->font());
        std::wstring wide = Widen(caption);
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    }
    ReleaseDC(handle(), dc);
    DpiScale scale = dpi();
    // One pixel more than the text so that rounding at other DPIs never clips it.
    SetBounds({left, top, scale.Unscale(extent.cx) + 1, scale.Unscale(extent.cy)});
    return true;
}

void CopyrightLabel::MoveLeft(int left) {
    Bounds b = bounds();
    b.left = left;
    SetBounds(b);
}

bool CopyrightLabel::OnCommand(WORD code) {
    if (code != STN_DBLCLK || !onDblClick)
        return false;
    onDblClick();
    return true;
}

HBRUSH CopyrightLabel::OnControlColor(HDC dc) {
    SetTextColor(dc, Fuchsia);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void AlignCopyrightLabels(CopyrightLabel& first, CopyrightLabel& second, int rightEdge) {
    constexpr int Margin = 12;
    int left = rightEdge - first.Width() - Margin;
    left = std::min(left, rightEdge - second.Width() - Margin);
    first.MoveLeft(left);
    second.MoveLeft(left);
}

void CreateProductLabels(Widget& parent, TBlinkLabel& title, TBlinkLabel& version, int left, int top,
                         int width) {
    title.SetFontSpec({"ＭＳ Ｐゴシック", 18}); // 18 points are 24 pixels at 96 DPI
    title.Create(parent, ProductTitle, {left, top, width, TitleHeight});
    title.SetName("BlinkLabel1");
    title.SetShowAccelChar(false);

    version.Create(parent, Publisher::ToolVersion, {left, top + TitleHeight + 4, width, VersionHeight});
    version.SetName("BlinkLabel2");
    version.SetShowAccelChar(false);
    version.Shadow().SetOffsetLeft(1);
    version.Shadow().SetOffsetTop(1);
}
