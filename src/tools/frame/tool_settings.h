// The running tool's settings block: one registry key per section below the tool's key
// under HKEY_CURRENT_USER. Reads fall back to the default, failed writes are ignored.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "jjstring.h"
#include "tool_identity.h"

// The tool whose block the accessors below address; set once at start.
void SetCurrentTool(const ToolIdentity& tool);
const ToolIdentity& CurrentTool();

Text DataReadString(const Text& section, const Text& name, const Text& defaultValue);
bool DataWriteString(const Text& section, const Text& name, const Text& text);
// Paths and typed names, kept UTF-16 in the registry.
std::wstring DataReadWide(const Text& section, const Text& name, const std::wstring& defaultValue);
bool DataWriteWide(const Text& section, const Text& name, const std::wstring& text);
long DataReadInteger(const Text& section, const Text& name, long defaultValue);
bool DataWriteInteger(const Text& section, const Text& name, long value);

// A message box owned by the application's main window; an empty caption is the tool's title.
int DataMessage(const Text& text, const Text& caption, UINT flags);
int DataMessage(const std::wstring& text, const Text& caption, UINT flags);

// A numbered history ("Path1".."Path100"): read up to the first empty slot.
std::vector<std::wstring> DataReadHistory(const Text& section, const Text& prefix, int capacity);
// Writes the history as "Path1".."PathN"; the slot after the end is emptied.
void DataWriteHistory(const Text& section, const Text& prefix, const std::vector<std::wstring>& entries);
// The new entry first, then the earlier ones in their order without any equal to it
// regardless of letter case; at most capacity entries.
std::vector<std::wstring> PushHistory(const std::vector<std::wstring>& earlier, const std::wstring& entry,
                                      size_t capacity);
