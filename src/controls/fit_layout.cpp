#include "fit_layout.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "gdi.h"

namespace {

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t className[32] = L"";
    GetClassNameW(window, className, 32);
    return lstrcmpiW(className, name) == 0;
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

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

RECT RectIn(HWND child, HWND parent) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int ContentBottom(HWND parent) {
    int bottom = 0;
    for (HWND child : Children(parent))
        bottom = std::max<int>(bottom, RectIn(child, parent).bottom);
    return bottom;
}

void Resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The room below each holder's content as the form gave it, so a holder grows only as far as
// its content now reaches (tab pages over one another grow once, not once per page).
using Margins = std::map<HWND, int>;

void NoteMargins(HWND holder, Margins& margins) {
    if (!GetWindow(holder, GW_CHILD))
        return;
    RECT client;
    GetClientRect(holder, &client);
    margins[holder] = client.bottom - ContentBottom(holder);
    for (HWND child : Children(holder))
        NoteMargins(child, margins);
}

void GrowDown(HWND control, int delta, Margins& margins) {
    RECT outer;
    GetWindowRect(control, &outer);
    if (!(GetWindowLongW(control, GWL_STYLE) & WS_CHILD)) {
        Resize(control, outer.right - outer.left, outer.bottom - outer.top + delta);
        return;
    }
    HWND parent = GetParent(control);
    const RECT rect = RectIn(control, parent);
    Resize(control, rect.right - rect.left, rect.bottom - rect.top + delta);
    for (HWND sibling : Children(parent)) {
        if (sibling == control)
            continue;
        RECT other = RectIn(sibling, parent);
        if (other.top >= rect.bottom)
            SetWindowPos(sibling, nullptr, other.left, other.top + delta, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        else if (other.left <= rect.left && other.right >= rect.right && other.top <= rect.top &&
                 other.bottom >= rect.bottom)
            Resize(sibling, other.right - other.left, other.bottom - other.top + delta); // a frame around it
    }
    RECT client;
    GetClientRect(parent, &client);
    auto margin = margins.find(parent);
    const int needed = ContentBottom(parent) + (margin != margins.end() ? margin->second : 0) - client.bottom;
    if (needed > 0)
        GrowDown(parent, needed, margins);
}

// Widens the control to the right when nothing but its parent's empty background is there.
bool WidenIntoFreeRoom(HWND control, int width) {
    HWND parent = GetParent(control);
    const RECT rect = RectIn(control, parent);
    RECT client;
    GetClientRect(parent, &client);
    const RECT wanted = {rect.right, rect.top, rect.left + width, rect.bottom};
    if (wanted.right > client.right)
        return false;
    for (HWND sibling : Children(parent)) {
        RECT other = RectIn(sibling, parent), overlap;
        const bool encloses = other.left <= rect.left && other.right >= rect.right && other.top <= rect.top &&
                              other.bottom >= rect.bottom;
        if (sibling == control)
            continue;
        if (!encloses && IntersectRect(&overlap, &other, &wanted))
            return false;
        if (encloses && wanted.right > other.right) // stays inside the frame it sits in
            return false;
    }
    Resize(control, width, rect.bottom - rect.top);
    return true;
}

void FitControl(HWND control, Margins& margins) {
    SIZE need = TextRoomNeeded(control);
    if (need.cx == 0 && need.cy == 0)
        return;
    RECT client;
    GetClientRect(control, &client);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (need.cx > client.right && !WidenIntoFreeRoom(control, need.cx) && IsClass(control, L"Button") &&
        IsCheckOrRadio(style) && !(style & BS_MULTILINE)) {
        // No room beside it: the caption wraps below instead.
        SetWindowLongW(control, GWL_STYLE, style | BS_MULTILINE);
        need = TextRoomNeeded(control);
    }
    GetClientRect(control, &client);
    if (need.cy > client.bottom)
        GrowDown(control, need.cy - client.bottom, margins);
}

void FitChildren(HWND parent, Margins& margins) {
    for (HWND child : Children(parent)) {
        FitControl(child, margins);
        if (GetWindow(child, GW_CHILD))
            FitChildren(child, margins);
    }
}

RECT Calculated(HDC dc, const std::wstring& text, int width, UINT format) {
    RECT rect = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT | DT_EXPANDTABS);
    return rect;
}

} // namespace

SIZE TextRoomNeeded(HWND control) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const bool isStatic = IsClass(control, L"Static");
    if (!isStatic && !(IsClass(control, L"Button") && IsCheckOrRadio(style)))
        return {0, 0};
    const LONG type = style & SS_TYPEMASK;
    if (isStatic && type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
        type != SS_LEFTNOWORDWRAP)
        return {0, 0};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        std::max(GetWindowTextW(control, text.data(), static_cast<int>(text.size())), 0)));
    if (!isStatic && text.empty())
        return {0, 0};
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    SIZE need = {0, 0};
    {
        SelectObjectScope selected(dc, font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
        const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        const LONG line = metrics.tmHeight;
        if (isStatic) {
            const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
            if (style & SS_ELLIPSISMASK) {
                need = {0, line};
            } else if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) {
                need = {Calculated(dc, text, client.right, DT_SINGLELINE | prefix).right, line};
            } else {
                RECT rect = Calculated(dc, text, client.right, DT_WORDBREAK | prefix);
                need = {rect.right, std::max(rect.bottom, line)};
            }
        } else {
            // The 13-pixel box, the gap before the caption and the focus frame around it.
            const int box = MulDiv(13, dpi, 96), gap = MulDiv(4, dpi, 96), frame = MulDiv(1, dpi, 96);
            const UINT wrap = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
            RECT rect = Calculated(dc, text, client.right - box - gap, wrap);
            need = {box + gap + rect.right + frame, std::max<LONG>(rect.bottom, box)};
        }
    }
    ReleaseDC(control, dc);
    return need;
}

void FitTextRoom(HWND window) {
    Margins margins;
    NoteMargins(window, margins);
    FitChildren(window, margins);
}
