// Wallpaper, arrangement and screen saver: the choices of the tray menu, and the refresh
// that keeps their check marks and the tray icon in step with the system.
#pragma once

#include <optional>

#include "lumera_host.h"
#include "tray_menu.h"
#include "win_utility.h"

class DesktopMarks {
public:
    DesktopMarks(LumeraHost& host, TrayMenu& menu) : host_(host), menu_(menu) {}

    // The wallpaper and screen-saver submenus from the settings' folders; their items run
    // the given choices.
    void BuildSubmenus(const TraySettings& settings, bool ntFamily, const MenuItem::Handler& wallChoice,
                       const MenuItem::Handler& screenChoice);
    void ChooseWallpaper(MenuItem& item);
    // Style 1 tiled, 0 centred, 2 stretched.
    void ChooseArrangement(MenuItem& chosen, int style);
    void ChooseScreenSaver(MenuItem& item);
    void SwitchOn();
    void SwitchOff();
    void StartNow();
    // Marks and on/off state follow the system (part of every refresh).
    void Refresh();
    // Before a rebuild: no item marked, no file known.
    void Forget();
    // A start after an abrupt end puts back the screen saver that was switched off then.
    void RestoreNoted();
    // At the program's end: the screen saver is on again with the known file.
    void RestoreAtEnd();

private:
    // "有効(&T)" is offered once a screen saver is known, unless a policy governs.
    void AllowSwitchOn(bool allowed);
    // A policy that decides whether the screen saver runs greys the switch and shows its
    // state and reason instead; a named screen saver also greys the choice.
    void ShowPolicy(const ScreenSaverPolicy& policy, bool userFileSet);

    LumeraHost& host_;
    TrayMenu& menu_;
    TWinUtility WinUtility1;
    int FWallIndex = 0;
    int FScreenIndex = 0;
    std::wstring FKnownWallpaper;
    std::wstring FKnownScreenSaver;
    bool FSwitchOnAllowed = false;
    bool FGoverned = false;
    std::optional<Text> FPolicyNote; // as shown in the tray icon's tip; none after Forget
};

// The screen saver switched off from the menu, noted where a start after an abrupt end
// finds it ("Screen" section).
extern const char* const NotedScreenSaverValue;
