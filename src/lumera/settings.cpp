#include "settings.h"

#include "dialogs.h"
#include "win/registry.h"

const char* const ProductTitle = "Lumera Deck for Windows";

namespace {

Text SectionKey(const Text& section) {
    return "\\Software\\Morivane\\Lumera\\" + section;
}

} // namespace

Text GetSettingString(const Text& section, const Text& name, const Text& defaultValue) {
    return RegReadString(HKEY_CURRENT_USER, SectionKey(section), name, defaultValue);
}

bool SetSettingString(const Text& section, const Text& name, const Text& text) {
    return RegWriteString(HKEY_CURRENT_USER, SectionKey(section), name, text);
}

std::wstring GetSettingWide(const Text& section, const Text& name, const std::wstring& defaultValue) {
    return RegReadString(HKEY_CURRENT_USER, SectionKey(section), name, defaultValue);
}

bool SetSettingWide(const Text& section, const Text& name, const std::wstring& text) {
    return RegWriteString(HKEY_CURRENT_USER, SectionKey(section), name, text);
}

long GetSettingInt(const Text& section, const Text& name, long defaultValue) {
    return RegReadInteger(HKEY_CURRENT_USER, SectionKey(section), name, defaultValue);
}

bool SetSettingInt(const Text& section, const Text& name, long value) {
    return RegWriteInteger(HKEY_CURRENT_USER, SectionKey(section), name, value);
}

bool SettingExists(const Text& section, const Text& name) {
    return RegValueExists(HKEY_CURRENT_USER, SectionKey(section), name);
}

bool DeleteSetting(const Text& section, const Text& name) {
    return RegDeleteValue(HKEY_CURRENT_USER, SectionKey(section), name);
}

bool GetSettingFlag(const Text& section, const Text& name, bool defaultValue) {
    return GetSettingInt(section, name, defaultValue ? 1 : 0) == 1;
}

int ShowAppMessage(const Text& text, const Text& caption, UINT flags) {
    return ShowMessageBox(text, caption.empty() ? Text(ProductTitle) : caption, flags);
}

int ShowAppMessage(const std::wstring& text, const Text& caption, UINT flags) {
    return ShowMessageBox(text, caption.empty() ? Text(ProductTitle) : caption, flags);
}
