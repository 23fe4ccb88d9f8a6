#include "desktop_rules.h"

#include "paths.h"

int WallpaperStyleFromValues(const Text& wallpaperStyle, const Text& tileWallpaper) {
    // Shown as no arrangement at all: marking "中央" would claim a centred picture.
    if (wallpaperStyle == "6" || wallpaperStyle == "10" || wallpaperStyle == "22")
        return WallpaperUnoffered;
    const Text& deciding = wallpaperStyle == "0" ? tileWallpaper : wallpaperStyle;
    if (deciding == "2")
        return WallpaperStretched;
    if (deciding == "1")
        return WallpaperTiled;
    return WallpaperCentred;
}

WallpaperStyleTexts WallpaperStyleToValues(int style) {
    switch (style) {
    case WallpaperCentred:
        return {"0", "0"};
    case WallpaperTiled:
        return {"1", "0"};
    case WallpaperStretched:
        return {"0", "2"};
    default:
        return {"", "0"};
    }
}

bool HasExtension(const Text& file, const Text& upperExtension) {
    return UpperCaseText(ExtractFileExt(file)) == upperExtension;
}

bool HasExtension(const std::wstring& file, const std::wstring& upperExtension) {
    // The extension starts at the last "." after the last separator.
    size_t dot = file.find_last_of(L".\\/:");
    if (dot == std::wstring::npos || file[dot] != L'.')
        return upperExtension.empty();
    std::wstring extension = file.substr(dot);
    for (wchar_t& c : extension) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A'); // ASCII letters only, as for Text
    }
    return extension == upperExtension;
}

bool WallpaperCounts(const std::wstring& file, bool bitmapsOnly) {
    return bitmapsOnly ? HasExtension(file, L".BMP") : !file.empty();
}

ScreenSaverPolicy ScreenSaverPolicyFromValues(const Text& active, const Text& file, const Text& secure) {
    ScreenSaverPolicy policy;
    policy.fileFixed = !file.empty();
    // Only "0" and "1" are the policy's values; anything else leaves the choice to the user.
    bool activeSet = active == "0" || active == "1";
    policy.governed = activeSet || policy.fileFixed;
    // A named screen saver runs unless the policy also switches screen savers off.
    policy.on = activeSet ? active == "1" : policy.fileFixed;
    policy.secure = policy.governed && secure == "1";
    return policy;
}
