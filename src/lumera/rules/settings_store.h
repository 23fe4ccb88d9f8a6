// Where the tray program's settings live: named values in sections. The program keeps them
// in the registry; the rules' tests keep them in memory.
#pragma once

#include <string>

#include "jjstring.h"

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // A missing value, or one of the wrong type, reads as the default.
    virtual Text ReadString(const Text& section, const Text& name, const Text& defaultValue) const = 0;
    virtual long ReadInt(const Text& section, const Text& name, long defaultValue) const = 0;
    virtual bool Exists(const Text& section, const Text& name) const = 0;
    virtual void WriteString(const Text& section, const Text& name, const Text& value) = 0;
    // Paths and the user's entries, which may hold names CP932 cannot ("Zoë").
    virtual std::wstring ReadWide(const Text& section, const Text& name,
                                  const std::wstring& defaultValue) const = 0;
    virtual void WriteWide(const Text& section, const Text& name, const std::wstring& value) = 0;
    virtual void WriteInt(const Text& section, const Text& name, long value) = 0;
    virtual void Delete(const Text& section, const Text& name) = 0;

    // A boolean setting is on only for the stored value 1.
    bool ReadFlag(const Text& section, const Text& name, bool defaultValue) const {
        return ReadInt(section, name, defaultValue ? 1 : 0) == 1;
    }
};
