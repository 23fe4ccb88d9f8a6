#include "settings_block.h"

#include "registry.h"

Text SettingsBlock::ReadString(const Text& section, const Text& name, const Text& defaultValue) const {
    return RegReadString(HKEY_CURRENT_USER, SectionKey(section), name, defaultValue);
}

bool SettingsBlock::WriteString(const Text& section, const Text& name, const Text& text) const {
    return RegWriteString(HKEY_CURRENT_USER, SectionKey(section), name, text);
}

std::wstring SettingsBlock::ReadWide(const Text& section, const Text& name,
                                     const std::wstring& defaultValue) const {
    return RegReadString(HKEY_CURRENT_USER, SectionKey(section), name, defaultValue);
}

bool SettingsBlock::WriteWide(const Text& section, const Text& name, const std::wstring& text) const {
    return RegWriteString(HKEY_CURRENT_USER, SectionKey(section), name, text);
}

long SettingsBlock::ReadInteger(const Text& section, const Text& name, long defaultValue) const {
    return RegReadInteger(HKEY_CURRENT_USER, SectionKey(section), name, defaultValue);
}

bool SettingsBlock::WriteInteger(const Text& section, const Text& name, long value) const {
    return RegWriteInteger(HKEY_CURRENT_USER, SectionKey(section), name, value);
}

bool SettingsBlock::Exists(const Text& section, const Text& name) const {
    return RegValueExists(HKEY_CURRENT_USER, SectionKey(section), name);
}

bool SettingsBlock::Delete(const Text& section, const Text& name) const {
    return RegDeleteValue(HKEY_CURRENT_USER, SectionKey(section), name);
}
