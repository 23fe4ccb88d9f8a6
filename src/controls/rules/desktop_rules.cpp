#include "desktop_rules.h"

#include "paths.h"

int WallpaperStyleFromValues(const Text& wallpaperStyle, const Text& tileWallpaper) {
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
