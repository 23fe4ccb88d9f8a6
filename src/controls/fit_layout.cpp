#include "fit_layout.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "text_room.h"

namespace {

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t className[32] = L"";
    GetClassNameW(window, className, 32);
    return lstrcmpiW(className, name) == 0;
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

// Statics, check boxes and radio buttons grow for their text; other controls keep their size.
bool Grows(HWND control) {
    return IsClass(control, L"Static") ||
           (IsClass(control, L"Button") && IsCheckOrRadio(GetWindowLongW(control, GWL_STYLE)));
}

void FitControl(HWND control, Margins& margins) {
    SIZE need = {};
    if (!Grows(control) || !MeasureTextRoom(control, need))
        return;
    RECT client;
    GetClientRect(control, &client);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (need.cx > client.right) {
        if (WidenIntoFreeRoom(control, need.cx)) {
            MeasureTextRoom(control, need); // a wider static wraps into fewer lines
        } else if (IsClass(control, L"Button") && !(style & BS_MULTILINE)) {
            // No room beside it: the caption wraps below instead.
            SetWindowLongW(control, GWL_STYLE, style | BS_MULTILINE);
            MeasureTextRoom(control, need);
        }
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

} // namespace

void FitTextRoom(HWND window) {
    Margins margins;
    NoteMargins(window, margins);
    FitChildren(window, margins);
}

void RefitText(HWND control) {
    if (!(GetWindowLongW(control, GWL_STYLE) & WS_CHILD) || !Grows(control))
        return;
    HWND window = GetAncestor(control, GA_ROOT);
    if (!IsWindowVisible(window))
        return; // fitted as it shows
    SIZE need = {};
    RECT client;
    GetClientRect(control, &client);
    if (!MeasureTextRoom(control, need) || (need.cx <= client.right && need.cy <= client.bottom))
        return;
    Margins margins;
    NoteMargins(window, margins);
    FitControl(control, margins);
}
