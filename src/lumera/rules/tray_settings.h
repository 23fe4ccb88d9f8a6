// The settings the settings window edits, as one value: loaded from a store and stored
// back by pure functions, so that the window only fills and reads controls.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "jjstring.h"
#include "list_rules.h"
#include "settings_store.h"

// The sixteen switches of the tray menu's items, in the order of CheckBox1 .. CheckBox16
// (SettingsCheckBoxTable gives their captions and settings).
enum MenuSwitch {
    WallpaperSwitch,
    ArrangementSwitch,
    ScreenSaverSwitch,
    SaverOnOffSwitch,
    SaverStartSwitch,
    StartupLogoSwitch,
    RestartLogoSwitch,
    ShutdownLogoSwitch,
    WatchSwitch,
    AutorunSwitch,
    EjectSwitch,
    RunSwitch,
    ClipboardSwitch,
    StartUpSwitch,
    HaltoSwitch,
    DisplayPropertiesSwitch,
    MenuSwitchCount
};

// The defaults of the three folder lists, which depend on the machine.
struct FolderDefaults {
    std::wstring wall;   // the Windows folder
    std::wstring screen; // the system folder
    std::wstring logo;   // "LogoDir" in the program folder
};

struct TraySettings {
    std::array<bool, MenuSwitchCount> shown{}; // as stored; see ShownOnPlatform
    bool splashVisible = true;
    // ";"-separated folders, as the platform names them.
    std::wstring wallPath, screenPath, logoPath;
    long interval = 0; // the refresh takes it only between 1 and 10000 ms
    // Stored names as they are: empty when an entry has none.
    std::vector<ListRow> run;
    std::vector<ListRow> clipboard;
};

TraySettings LoadTraySettings(const SettingsStore& store, const FolderDefaults& defaults);
// The same without the Run and clipboard lists, which the menu reads when their submenus
// open: a list of thousands must not hold up each rebuild of the menu.
TraySettings LoadMenuSettings(const SettingsStore& store, const FolderDefaults& defaults);
// Writes every value the settings window edits; the interval is kept between 1 and 10000.
void StoreTraySettings(SettingsStore& store, const TraySettings& settings);

// Whether a switched-on item is shown: the logo and drive items only on the 95 family.
bool ShownOnPlatform(MenuSwitch item, bool shown, bool ntFamily);

// The numbered lists "Name"+n / contentName+n, n = 1, 2, ... up to the first empty content.
std::vector<ListRow> ReadNumberedList(const SettingsStore& store, const Text& section,
                                      const Text& contentName);
// Rows without content are dropped and the rest numbered from 1; the former list's surplus
// is removed and an empty name is removed rather than written (WriteNumberedList of
// settings_rules.h).
void WriteNumberedList(SettingsStore& store, const Text& section, const Text& contentName,
                       const std::vector<ListRow>& rows);
