// How the desktop settings' text values map to the wallpaper arrangement.
#pragma once

#include <string>

#include "jjstring.h"

// WallpaperUnoffered: an arrangement of later systems that the menu does not offer.
enum WallpaperStyle {
    WallpaperUnoffered = -1,
    WallpaperCentred = 0,
    WallpaperTiled = 1,
    WallpaperStretched = 2
};

// "WallpaperStyle" decides unless it is exactly "0"; then "TileWallpaper" does. "2" is
// stretched, "1" tiled, "6" (fit), "10" (fill) and "22" (span) unoffered, anything else
// (empty included) centred.
int WallpaperStyleFromValues(const Text& wallpaperStyle, const Text& tileWallpaper);

struct WallpaperStyleTexts {
    Text tileWallpaper;
    Text wallpaperStyle;
};
WallpaperStyleTexts WallpaperStyleToValues(int style);

// True when the file's extension, upper-cased, is the given one (".SCR", ".BMP").
bool HasExtension(const Text& file, const Text& upperExtension);
bool HasExtension(const std::wstring& file, const std::wstring& upperExtension);

// Whether a stored wallpaper file counts as one: the 95 family shows bitmaps only (".BMP");
// every other family shows whatever picture is set (JPEG, PNG, ...).
bool WallpaperCounts(const std::wstring& file, bool bitmapsOnly);

// What a policy of the user's (the policy key's "ScreenSaveActive", "SCRNSAVE.EXE" and
// "ScreenSaverIsSecure"; a missing value is empty) decides about the screen saver. A policy
// overrides the user's settings, so while it governs, a switch written there changes nothing.
struct ScreenSaverPolicy {
    bool governed = false;  // whether a screen saver runs is the policy's to say
    bool on = false;        // a screen saver runs
    bool fileFixed = false; // the policy names it
    bool secure = false;    // it locks the session
};
ScreenSaverPolicy ScreenSaverPolicyFromValues(const Text& active, const Text& file, const Text& secure);
