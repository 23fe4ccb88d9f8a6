#include "tool_settings.h"

#include <vector>

#include "dialogs.h"
#include "win/settings_block.h"
#include "win/path_identity.h"

namespace {

const ToolIdentity* current = nullptr;

SettingsBlock Block() {
    return SettingsBlock(CurrentTool().settingsKey);
}

} // namespace

void SetCurrentTool(const ToolIdentity& tool) {
    current = &tool;
}

const ToolIdentity& CurrentTool() {
    return current ? *current : Tools::Ferrox;
}

Text DataReadString(const Text& section, const Text& name, const Text& defaultValue) {
    return Block().ReadString(section, name, defaultValue);
}

bool DataWriteString(const Text& section, const Text& name, const Text& text) {
    return Block().WriteString(section, name, text);
}

std::wstring DataReadWide(const Text& section, const Text& name, const std::wstring& defaultValue) {
    return Block().ReadWide(section, name, defaultValue);
}

bool DataWriteWide(const Text& section, const Text& name, const std::wstring& text) {
    return Block().WriteWide(section, name, text);
}

long DataReadInteger(const Text& section, const Text& name, long defaultValue) {
    return Block().ReadInteger(section, name, defaultValue);
}

bool DataWriteInteger(const Text& section, const Text& name, long value) {
    return Block().WriteInteger(section, name, value);
}

int DataMessage(const Text& text, const Text& caption, UINT flags) {
    return ShowMessageBox(text, caption.empty() ? Text(CurrentTool().title) : caption, flags);
}

int DataMessage(const std::wstring& text, const Text& caption, UINT flags) {
    return ShowMessageBox(text, caption.empty() ? Text(CurrentTool().title) : caption, flags);
}

std::vector<std::wstring> DataReadHistory(const Text& section, const Text& prefix, int capacity) {
    std::vector<std::wstring> entries;
    for (int i = 1; i <= capacity; ++i) {
        std::wstring entry = DataReadWide(section, prefix + std::to_string(i), L"");
        if (entry.empty())
            break;
        entries.push_back(entry);
    }
    return entries;
}

void DataWriteHistory(const Text& section, const Text& prefix, const std::vector<std::wstring>& entries) {
    for (size_t i = 0; i < entries.size(); ++i)
        DataWriteWide(section, prefix + std::to_string(i + 1), entries[i]);
    Text after = prefix + std::to_string(entries.size() + 1);
    if (!DataReadWide(section, after, L"").empty())
        DataWriteWide(section, after, L"");
}

std::vector<std::wstring> PushHistory(const std::vector<std::wstring>& earlier, const std::wstring& entry,
                                      size_t capacity) {
    std::vector<std::wstring> entries{entry};
    for (const std::wstring& old : earlier) {
        if (entries.size() >= capacity)
            break;
        if (!SamePath(old, entry))
            entries.push_back(old);
    }
    return entries;
}
