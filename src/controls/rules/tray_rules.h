// Rules of the tray icon that need no window.
#pragma once

#include <cstdint>
#include <vector>

#include "jjstring.h"

constexpr int MaxTrayIconId = 99;
constexpr size_t MaxTipBytes = 62;

// The id for a new icon: 1 for the first, else one above the last registered id; 0 when
// the last id is already 99 (ids freed in the middle are not reused until the later
// ones are gone).
int NextTrayIconId(const std::vector<int>& registeredIds);

// The tooltip as the shell gets it: at most 62 bytes, never ending in half a character.
Text CutTip(const Text& tip);

// The shell's callback message for an icon. Version 4 of the notification icons puts the
// event in the low word of lParam and the icon's id in the high word, and the anchor (the
// click, or the icon for a keyboard opening) in wParam as two signed words; earlier
// versions pass the id as wParam and the mouse message as lParam, and no position.
struct TrayCallback {
    int id = 0;
    unsigned event = 0;
    bool anchored = false;
    int x = 0, y = 0;
};
TrayCallback DecodeTrayCallback(std::uintptr_t wParam, std::intptr_t lParam);
