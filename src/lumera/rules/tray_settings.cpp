#include "tray_settings.h"

#include <algorithm>
#include <string>

#include "settings_rules.h"

TraySettings LoadTraySettings(const SettingsStore& store, const FolderDefaults& defaults) {
    TraySettings settings = LoadMenuSettings(store, defaults);
    settings.run = ReadNumberedList(store, "Run", "File");
    settings.clipboard = ReadNumberedList(store, "Clipboard", "Clip");
    return settings;
}

TraySettings LoadMenuSettings(const SettingsStore& store, const FolderDefaults& defaults) {
    TraySettings settings;
    const auto& table = SettingsCheckBoxTable();
    for (size_t i = 0; i < settings.shown.size(); ++i)
        settings.shown[i] = store.ReadFlag(table[i].section, table[i].value, true);
    settings.splashVisible =
        store.ReadFlag(table[MenuSwitchCount].section, table[MenuSwitchCount].value, true);
    settings.wallPath = store.ReadWide("Wall", "Path", defaults.wall);
    settings.screenPath = store.ReadWide("Screen", "Path", defaults.screen);
    settings.logoPath = store.ReadWide("Logo", "Path", defaults.logo);
    settings.interval = store.ReadInt("OtherSet", "Interval", 0);
    return settings;
}

void StoreTraySettings(SettingsStore& store, const TraySettings& settings) {
    const auto& table = SettingsCheckBoxTable();
    for (size_t i = 0; i < settings.shown.size(); ++i)
        store.WriteInt(table[i].section, table[i].value, settings.shown[i] ? 1 : 0);
    store.WriteWide("Wall", "Path", settings.wallPath);
    store.WriteWide("Screen", "Path", settings.screenPath);
    store.WriteWide("Logo", "Path", settings.logoPath);
    store.WriteInt("OtherSet", "Interval", std::clamp(settings.interval, 1L, 10000L));
    store.WriteInt(table[MenuSwitchCount].section, table[MenuSwitchCount].value,
                   settings.splashVisible ? 1 : 0);
    WriteNumberedList(store, "Run", "File", settings.run);
    WriteNumberedList(store, "Clipboard", "Clip", settings.clipboard);
}

bool ShownOnPlatform(MenuSwitch item, bool shown, bool ntFamily) {
    return shown && !(ntFamily && SettingsCheckBoxTable()[item].win95Only);
}

std::vector<ListRow> ReadNumberedList(const SettingsStore& store, const Text& section,
                                      const Text& contentName) {
    std::vector<ListRow> rows;
    for (int n = 1;; ++n) {
        Text number = std::to_string(n);
        std::wstring content = store.ReadWide(section, contentName + number, L"");
        if (content.empty())
            break;
        rows.push_back({store.ReadWide(section, "Name" + number, L""), content});
    }
    return rows;
}

void WriteNumberedList(SettingsStore& store, const Text& section, const Text& contentName,
                       const std::vector<ListRow>& rows) {
    WriteNumberedList(
        rows, contentName,
        {[&](const Text& name, const std::wstring& value) { store.WriteWide(section, name, value); },
         [&](const Text& name) { return store.Exists(section, name); },
         [&](const Text& name) { store.Delete(section, name); }});
}
