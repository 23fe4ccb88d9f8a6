#include "text_room.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

bool IsClass(const wchar_t* className, const wchar_t* name) {
    return lstrcmpiW(className, name) == 0;
}

RECT Calculated(HDC dc, const std::wstring& text, int width, UINT format) {
    RECT rect = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT | DT_EXPANDTABS);
    return rect;
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\x3000';
}

bool MeasureStatic(LONG style, HDC dc, const std::wstring& text, const RECT& client, int line, SIZE& need) {
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
        type != SS_LEFTNOWORDWRAP)
        return false;
    const bool prefixes = !(style & SS_NOPREFIX);
    if (style & SS_ELLIPSISMASK) {
        need = {0, line};
    } else if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) {
        need = {SingleLineInkWidth(dc, text, prefixes), line}; // clipped at the edge, never wrapped
    } else {
        // The static wraps by advance widths, so a line that does not fit moves down whole.
        RECT rect = Calculated(dc, text, client.right, DT_WORDBREAK | (prefixes ? 0 : DT_NOPREFIX));
        need = {rect.right, std::max<LONG>(rect.bottom, line)};
    }
    return true;
}

bool MeasureButton(HWND control, LONG style, HDC dc, const std::wstring& text, const RECT& client, int line,
                   SIZE& need) {
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    auto px = [dpi](int pixels96) { return MulDiv(pixels96, dpi, 96); };
    const bool multiline = (style & BS_MULTILINE) != 0;
    if (IsCheckOrRadio(style)) {
        // The box, then half a digit's width before the caption; the focus frame is drawn
        // inside the caption's room, so it asks for none of its own.
        const int box = 12 * dpi / 96 + 1;
        int digit = 0;
        GetCharWidthW(dc, L'0', L'0', &digit);
        const int lead = box + digit / 2;
        if (multiline) {
            RECT rect = Calculated(dc, text, client.right - lead, DT_WORDBREAK);
            need = {lead + rect.right, std::max<LONG>(rect.bottom, box)};
        } else {
            need = {lead + SingleLineInkWidth(dc, text, true), std::max(line, box)};
        }
        return true;
    }
    switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX:
        need = {SingleLineInkWidth(dc, text, true) + px(16), line};
        return true;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: {
        // The 3-D border, and any picture beside the caption.
        int picture = 0;
        BUTTON_IMAGELIST images = {};
        if (SendMessageW(control, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images)) && images.himl) {
            int width = 0, height = 0;
            ImageList_GetIconSize(images.himl, &width, &height);
            picture = width + px(4);
        }
        if (multiline) {
            RECT rect = Calculated(dc, text, client.right - px(6) - picture, DT_WORDBREAK);
            need = {rect.right + picture + px(6), rect.bottom + px(4)};
        } else {
            need = {SingleLineInkWidth(dc, text, true) + picture + px(6), line + px(4)};
        }
        return true;
    }
    default:
        return false;
    }
}

// Where the glyph's visible ink ends, from its origin, and its advance. The black box's last
// column is often a faint fringe of anti-aliasing (a few percent grey) that no one sees cut;
// a column counts from an eighth covered.
bool LastGlyphInk(HDC dc, wchar_t glyph, int& inkEnd, int& cell) {
    constexpr int Visible = 64 / 8; // GGO_GRAY8_BITMAP levels run 0..64
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS metrics = {};
    const DWORD size = GetGlyphOutlineW(dc, glyph, GGO_GRAY8_BITMAP, &metrics, 0, nullptr, &identity);
    if (size == 0 || size == GDI_ERROR)
        return false;
    std::vector<BYTE> bits(size);
    if (GetGlyphOutlineW(dc, glyph, GGO_GRAY8_BITMAP, &metrics, size, bits.data(), &identity) == GDI_ERROR)
        return false;
    const size_t pitch = (metrics.gmBlackBoxX + 3) & ~3u;
    int lastColumn = -1;
    for (UINT y = 0; y < metrics.gmBlackBoxY && y * pitch < bits.size(); ++y)
        for (UINT x = 0; x < metrics.gmBlackBoxX && y * pitch + x < bits.size(); ++x)
            if (bits[y * pitch + x] >= Visible)
                lastColumn = std::max(lastColumn, static_cast<int>(x));
    inkEnd = metrics.gmptGlyphOrigin.x + lastColumn + 1;
    cell = metrics.gmCellIncX;
    return true;
}

} // namespace

int SingleLineInkWidth(HDC dc, const std::wstring& text, bool prefixes) {
    std::wstring shown;
    shown.reserve(text.size());
    size_t underlined = std::wstring::npos; // the character a prefix mark underlines
    for (size_t i = 0; i < text.size(); ++i) {
        if (prefixes && text[i] == L'&') {
            if (++i == text.size())
                break;
            if (text[i] != L'&')
                underlined = shown.size();
        }
        shown += text[i];
    }
    while (!shown.empty() && IsBlank(shown.back()))
        shown.pop_back();
    if (shown.empty())
        return 0;
    const int advance = Calculated(dc, shown, 0, DT_SINGLELINE | DT_NOPREFIX).right;
    // The underline spans the whole cell of its character.
    if (underlined == shown.size() - 1)
        return advance;
    const wchar_t last = shown.back();
    int inkEnd = 0, cell = 0;
    if (LastGlyphInk(dc, last, inkEnd, cell))
        return advance - cell + inkEnd;
    ABC abc = {}; // bitmap fonts have neither outlines nor ABC widths
    if (GetCharABCWidthsW(dc, last, last, &abc))
        return advance - abc.abcC;
    return advance;
}

bool MeasureTextRoom(HWND control, SIZE& need) {
    wchar_t className[32] = L"";
    GetClassNameW(control, className, 32);
    const bool isStatic = IsClass(className, L"Static");
    if (!isStatic && !IsClass(className, L"Button"))
        return false;
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        std::max(GetWindowTextW(control, text.data(), static_cast<int>(text.size())), 0)));
    if (!isStatic && text.empty())
        return false;
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    if (!dc)
        return false;
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    const int line = metrics.tmHeight;
    const bool measured = isStatic ? MeasureStatic(style, dc, text, client, line, need)
                                   : MeasureButton(control, style, dc, text, client, line, need);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return measured;
}

bool IsCheckOrRadio(LONG style) {
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}
