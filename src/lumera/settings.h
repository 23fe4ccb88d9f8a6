// The tray program's settings: one registry key per section below
// HKEY_CURRENT_USER "\Software\Morivane\Lumera\". Nothing is cached; every reader asks
// the registry with its default, every writer writes one value at once.
#pragma once

#include <windows.h>

#include "jjstring.h"
#include "settings_store.h"

extern const char* const ProductTitle; // "Lumera Deck for Windows"

Text GetSettingString(const Text& section, const Text& name, const Text& defaultValue);
bool SetSettingString(const Text& section, const Text& name, const Text& text);
// Paths and what the user typed, stored as UTF-16 without a CP932 round trip.
std::wstring GetSettingWide(const Text& section, const Text& name, const std::wstring& defaultValue);
bool SetSettingWide(const Text& section, const Text& name, const std::wstring& text);
long GetSettingInt(const Text& section, const Text& name, long defaultValue);
bool SetSettingInt(const Text& section, const Text& name, long value);
bool SettingExists(const Text& section, const Text& name);
bool DeleteSetting(const Text& section, const Text& name);
// A boolean setting is on only for the stored value 1.
bool GetSettingFlag(const Text& section, const Text& name, bool defaultValue);

// The settings store over the registry key of the tray program.
class RegistrySettings : public SettingsStore {
public:
    Text ReadString(const Text& section, const Text& name, const Text& defaultValue) const override {
        return GetSettingString(section, name, defaultValue);
    }
    long ReadInt(const Text& section, const Text& name, long defaultValue) const override {
        return GetSettingInt(section, name, defaultValue);
    }
    bool Exists(const Text& section, const Text& name) const override { return SettingExists(section, name); }
    void WriteString(const Text& section, const Text& name, const Text& value) override {
        SetSettingString(section, name, value);
    }
    std::wstring ReadWide(const Text& section, const Text& name,
                          const std::wstring& defaultValue) const override {
        return GetSettingWide(section, name, defaultValue);
    }
    void WriteWide(const Text& section, const Text& name, const std::wstring& value) override {
        SetSettingWide(section, name, value);
    }
    void WriteInt(const Text& section, const Text& name, long value) override {
        SetSettingInt(section, name, value);
    }
    void Delete(const Text& section, const Text& name) override { DeleteSetting(section, name); }
};

// A message box owned by the application window; the product title when no caption is given.
int ShowAppMessage(const Text& text, const Text& caption = Text(), UINT flags = 0);
// For a message that names a file: the name is shown as the platform gave it.
int ShowAppMessage(const std::wstring& text, const Text& caption = Text(), UINT flags = 0);
