#include "settings.h"

#include "dialogs.h"
#include "win/settings_block.h"

const char* const ProductTitle = "Lumera Deck for Windows";

namespace {

const SettingsBlock& Block() {
    static const SettingsBlock block("\\Software\\Morivane\\Lumera\\");
    return block;
}

} // namespace

Text GetSettingString(const Text& section, const Text& name, const Text& defaultValue) {
    return Block().ReadString(section, name, defaultValue);
}

bool SetSettingString(const Text& section, const Text& name, const Text& text) {
    return Block().WriteString(section, name, text);
}

std::wstring GetSettingWide(const Text& section, const Text& name, const std::wstring& defaultValue) {
    return Block().ReadWide(section, name, defaultValue);
}

bool SetSettingWide(const Text& section, const Text& name, const std::wstring& text) {
    return Block().WriteWide(section, name, text);
}

long GetSettingInt(const Text& section, const Text& name, long defaultValue) {
    return Block().ReadInteger(section, name, defaultValue);
}

bool SetSettingInt(const Text& section, const Text& name, long value) {
    return Block().WriteInteger(section, name, value);
}

bool SettingExists(const Text& section, const Text& name) {
    return Block().Exists(section, name);
}

bool DeleteSetting(const Text& section, const Text& name) {
    return Block().Delete(section, name);
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
