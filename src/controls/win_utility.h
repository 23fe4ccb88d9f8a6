// The user's desktop settings: screen saver (choose, switch on or off, start now) and
// wallpaper (file and arrangement). Nothing is cached: every query reads the platform's
// store and every change writes it.
#pragma once

#include "jjstring.h"
#include "platform_rules.h"

class TWinUtility {
public:
    // The family decides where the screen saver lives: "System.INI" on the 95 family,
    // the registry on every other.
    explicit TWinUtility(PlatformFamily family = DesktopSettingsFamily());

    // The screen-saver file, or empty when none is set or it is not a ".SCR".
    Text GetScreenSaver() const;
    // Writes the setting (empty removes it) and switches the screen saver on or off.
    void SetScreenSaver(const Text& file);
    // Waits delay seconds with the windows responsive, then asks the main window to start
    // the screen saver. False when none is set or a start is already waiting.
    bool LaunchScreenSaver(int delaySeconds);
    bool Busy() const { return busy_; }

    // The wallpaper file, or empty when it is not a ".BMP".
    Text GetWallpaper() const;
    // Stores the file only; ApplyWallpaper makes it current.
    void SetWallpaperFile(const Text& file);
    int GetWallpaperStyle() const;
    void SetWallpaperStyle(int style);
    // Makes the stored wallpaper and arrangement current and tells every window.
    void ApplyWallpaper();

    // The family as these settings see it: the 95 family when the version query fails.
    static PlatformFamily DesktopSettingsFamily();

private:
    PlatformFamily family_;
    bool busy_ = false;
};
