// One program's settings: a registry key below HKEY_CURRENT_USER with one subkey per
// section. Reads give the default, failed writes are ignored by the callers that do not ask.
#pragma once

#include <string>
#include <utility>

#include "../jjstring.h"

class SettingsBlock {
public:
    explicit SettingsBlock(Text key) : key_(std::move(key)) {}

    Text ReadString(const Text& section, const Text& name, const Text& defaultValue) const;
    bool WriteString(const Text& section, const Text& name, const Text& text) const;
    // Paths and typed names, kept UTF-16.
    std::wstring ReadWide(const Text& section, const Text& name, const std::wstring& defaultValue) const;
    bool WriteWide(const Text& section, const Text& name, const std::wstring& text) const;
    long ReadInteger(const Text& section, const Text& name, long defaultValue) const;
    bool WriteInteger(const Text& section, const Text& name, long value) const;
    bool Exists(const Text& section, const Text& name) const;
    bool Delete(const Text& section, const Text& name) const;

private:
    Text SectionKey(const Text& section) const { return key_ + section; }

    Text key_; // ends in "\"
};
