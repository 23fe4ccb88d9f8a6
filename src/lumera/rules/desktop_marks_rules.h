// Which items of the wallpaper and screen-saver groups carry the check marks, decided from
// the files the system reports and the files the submenus list.
#pragma once

#include <string>
#include <vector>

#include "jjstring.h"

// The submenu is "(なし)", one item per file, "(その他)"; itemFiles holds the hint texts
// of all its items in short form (the first and the last are not looked at). No current
// file marks "(なし)"; a file the list does not hold marks "(その他)"; otherwise the first
// item naming it wins.
int MarkedItemIndex(const Text& currentShort, const std::vector<Text>& itemFiles);
// The same over the items' wide targets, for names beyond CP932.
int MarkedItemIndex(const std::wstring& currentShort, const std::vector<std::wstring>& itemFiles);

enum class SaverSwitch { Keep, On, Off };
// What the stored on/off value asks for, given the marks of "有効(&T)" and "無効(&F)".
SaverSwitch SwitchForEnabledValue(long enabled, bool onMarked, bool offMarked);

// The tray icon tip's line while a policy decides whether the screen saver runs.
Text ScreenSaverPolicyNote(bool on, bool secure);

// The picture files the wallpaper submenu lists, one pattern each ("*.bmp", ...): the NT
// family takes JPEG, PNG and GIF pictures too, the 95 family bitmaps only.
std::vector<Text> WallpaperPatterns(bool ntFamily);
// The file-open filter of the wallpaper's "(その他)".
Text WallpaperFilter(bool ntFamily);
// True when the listed name really has the pattern's extension; a listing by pattern can
// also return a long name whose short (8.3) form matched, "a.jpeg" for "*.jpg".
bool HasPatternExtension(const Text& name, const Text& pattern);
