// The user's desktop settings: screen saver (choose, switch on or off, start now) and
// wallpaper (file and arrangement). Nothing is cached: every query reads the platform's
// store and every change writes it.
#pragma once

#include <string>

#include "desktop_rules.h"
#include "jjstring.h"
#include "platform_rules.h"

class TWinUtility {
public:
    // The family decides where the screen saver lives: "System.INI" on the 95 family,
    // the registry on every other.
    explicit TWinUtility(PlatformFamily family = DesktopSettingsFamily());

    // The screen-saver file, or empty when none is set or it is not a ".SCR". The wide
    // forms keep names beyond code page 932 ("한글 화면.scr").
    Text GetScreenSaver() const;
    std::wstring GetScreenSaverW() const;
    // Writes the setting (empty removes it) and switches the screen saver on or off.
    void SetScreenSaver(const Text& file);
    void SetScreenSaver(const std::wstring& file);
    // Waits delay seconds with the windows responsive, then asks the main window to start
    // the screen saver. False when none is set or a start is already waiting.
    bool LaunchScreenSaver(int delaySeconds);
    // What the user's policies decide about the screen saver; nothing on the 95 family.
    ScreenSaverPolicy GetScreenSaverPolicy() const;
    bool Busy() const { return busy_; }

    // The wallpaper file: on the 95 family only a ".BMP" counts (else empty); on the
    // others any picture. The wide forms keep names beyond code page 932 ("Zoë").
    Text GetWallpaper() const;
    std::wstring GetWallpaperW() const;
    // Stores the file only; ApplyWallpaper makes it current.
    void SetWallpaperFile(const Text& file);
    void SetWallpaperFile(const std::wstring& file);
    int GetWallpaperStyle() const;
    void SetWallpaperStyle(int style);
    // Makes the stored wallpaper and arrangement current and tells every window. A file
    // that does not count (a JPEG on the 95 family) removes the wallpaper.
    void ApplyWallpaper();

    // The family as these settings see it: the 95 family when the version query fails.
    static PlatformFamily DesktopSettingsFamily();

private:
    PlatformFamily family_;
    bool busy_ = false;
};
