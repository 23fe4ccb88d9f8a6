// Rules of the tray icon that need no window.
#pragma once

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
