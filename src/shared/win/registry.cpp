#include "registry.h"

#include <cstring>
#include <cwchar>
#include <optional>

#include "../textops.h"
#include "encoding.h"
#include "handles.h"

namespace {

std::wstring KeyPath(const std::wstring& key) {
    size_t start = key.find_first_not_of(L'\\');
    return start == std::wstring::npos ? std::wstring() : key.substr(start);
}

std::wstring KeyPath(const Text& key) {
    return KeyPath(Widen(key));
}

LONG OpenKey(HKEY root, const std::wstring& key, REGSAM access, UniqueHKey& opened) {
    LONG status = RegOpenKeyExW(root, KeyPath(key).c_str(), 0, access, opened.receive());
    if (status != ERROR_SUCCESS)
        opened.release(); // nothing was opened
    return status;
}

LONG OpenKey(HKEY root, const Text& key, REGSAM access, UniqueHKey& opened) {
    return OpenKey(root, Widen(key), access, opened);
}

UniqueHKey OpenKey(HKEY root, const std::wstring& key, REGSAM access) {
    UniqueHKey opened;
    OpenKey(root, key, access, opened);
    return opened;
}

UniqueHKey OpenKey(HKEY root, const Text& key, REGSAM access) {
    UniqueHKey opened;
    OpenKey(root, key, access, opened);
    return opened;
}

bool WriteValue(HKEY root, const std::wstring& key, const std::wstring& valueName, DWORD type,
                const void* data, DWORD size) {
    UniqueHKey created;
    if (RegCreateKeyExW(root, KeyPath(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, created.receive(), nullptr) != ERROR_SUCCESS) {
        created.release();
        return false;
    }
    return RegSetValueExW(created.get(), valueName.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

bool WriteValue(HKEY root, const Text& key, const Text& valueName, DWORD type, const void* data, DWORD size) {
    return WriteValue(root, Widen(key), Widen(valueName), type, data, size);
}

// Environment references ("%SystemRoot%") replaced by their values; unknown ones stay.
std::optional<std::wstring> Expand(const std::wstring& text) {
    DWORD length = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    for (int attempt = 0; attempt < 3 && length != 0; ++attempt) {
        std::wstring expanded(length, L'\0');
        DWORD used = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), length);
        if (used == 0)
            break;
        if (used <= length) {
            expanded.resize(used - 1);
            return expanded;
        }
        length = used; // the environment grew in between
    }
    return std::nullopt;
}

// The string value, expanded when stored as REG_EXPAND_SZ; nothing for a missing value
// or one of another kind.
std::optional<std::wstring> ReadStringValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    UniqueHKey opened = OpenKey(root, key, KEY_QUERY_VALUE);
    if (!opened)
        return std::nullopt;
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
        DWORD read = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        LONG status = RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(value.data()), &read);
        if (status == ERROR_MORE_DATA)
            continue; // the value grew between the two questions
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        // The stored text ends at its first terminator, whether or not the writer added one.
        value.resize(read / sizeof(wchar_t));
        value.resize(std::wcslen(value.c_str()));
        if (type == REG_EXPAND_SZ)
            return Expand(value);
        return value;
    }
    return std::nullopt;
}

bool WriteStringValue(HKEY root, const std::wstring& key, const std::wstring& name,
                      const std::wstring& text) {
    DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return WriteValue(root, key, name, REG_SZ, text.c_str(), size);
}

} // namespace

std::wstring RegReadString(HKEY root, const std::wstring& key, const std::wstring& valueName,
                           const std::wstring& defaultValue) {
    return ReadStringValue(root, key, valueName).value_or(defaultValue);
}

std::wstring RegReadString(HKEY root, const Text& key, const Text& valueName,
                           const std::wstring& defaultValue) {
    return RegReadString(root, Widen(key), Widen(valueName), defaultValue);
}

Text RegReadString(HKEY root, const Text& key, const Text& valueName, const Text& defaultValue) {
    auto value = ReadStringValue(root, Widen(key), Widen(valueName));
    Text narrow;
    if (!value || !NarrowExact(*value, narrow))
        return defaultValue;
    return narrow;
}

bool RegWriteString(HKEY root, const std::wstring& key, const std::wstring& valueName,
                    const std::wstring& text) {
    return WriteStringValue(root, key, valueName, text);
}

bool RegWriteString(HKEY root, const Text& key, const Text& valueName, const std::wstring& text) {
    return WriteStringValue(root, Widen(key), Widen(valueName), text);
}

bool RegWriteString(HKEY root, const Text& key, const Text& valueName, const Text& text) {
    return WriteStringValue(root, Widen(key), Widen(valueName), Widen(text));
}

long RegReadInteger(HKEY root, const Text& key, const Text& valueName, long defaultValue) {
    UniqueHKey opened = OpenKey(root, key, KEY_QUERY_VALUE);
    if (!opened)
        return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(opened.get(), Widen(valueName).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return static_cast<long>(static_cast<int32_t>(value));
}

bool RegWriteInteger(HKEY root, const Text& key, const Text& valueName, long value) {
    DWORD stored = static_cast<DWORD>(value);
    return WriteValue(root, key, valueName, REG_DWORD, &stored, sizeof stored);
}

bool RegWriteFloat(HKEY root, const Text& key, const Text& valueName, double value) {
    return WriteValue(root, key, valueName, REG_BINARY, &value, sizeof value);
}

bool RegWriteCurrency(HKEY root, const Text& key, const Text& valueName, Currency value) {
    return WriteValue(root, key, valueName, REG_BINARY, &value, sizeof value);
}

bool RegValueExists(HKEY root, const Text& key, const Text& valueName) {
    UniqueHKey opened = OpenKey(root, key, KEY_QUERY_VALUE);
    return opened && RegQueryValueExW(opened.get(), Widen(valueName).c_str(), nullptr, nullptr, nullptr,
                                      nullptr) == ERROR_SUCCESS;
}

bool RegKeyExists(HKEY root, const Text& key, const Text& subkey) {
    UniqueHKey opened = OpenKey(root, key, KEY_READ);
    HKEY parent = opened ? opened.get() : root;
    UniqueHKey child;
    return OpenKey(parent, subkey, KEY_READ, child) == ERROR_SUCCESS;
}

bool RegKeyHasContent(HKEY root, const Text& key) {
    UniqueHKey opened = OpenKey(root, key, KEY_READ);
    DWORD subkeys = 0;
    DWORD values = 0;
    return opened &&
           RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           (subkeys > 0 || values > 0);
}

bool RegDeleteValue(HKEY root, const Text& key, const Text& valueName) {
    UniqueHKey opened;
    LONG status = OpenKey(root, key, KEY_SET_VALUE, opened);
    if (status != ERROR_SUCCESS)
        return status == ERROR_FILE_NOT_FOUND;
    status = RegDeleteValueW(opened.get(), Widen(valueName).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool RegDeleteKey(HKEY root, const Text& key, const Text& subkey) {
    // Only backslashes (or nothing) would address the opened key itself, or the root.
    if (StripTrailingChars('\\', StripLeadingChars('\\', subkey)).empty())
        return false;
    // A key that cannot be opened has no subkeys to delete; never fall back to the root.
    UniqueHKey opened;
    LONG status = OpenKey(root, key, KEY_READ | KEY_WRITE, opened);
    if (status != ERROR_SUCCESS)
        return status == ERROR_FILE_NOT_FOUND;
    status = RegDeleteKeyW(opened.get(), KeyPath(StripTrailingChars('\\', subkey)).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::vector<std::wstring> RegSubkeyNames(HKEY root, const std::wstring& key) {
    std::vector<std::wstring> names;
    UniqueHKey opened = OpenKey(root, key, KEY_ENUMERATE_SUB_KEYS);
    if (!opened)
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256]; // the longest key name the registry allows, and its zero
        DWORD length = 256;
        if (RegEnumKeyExW(opened.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return names;
        names.emplace_back(name, length);
    }
}

bool RegDeleteKey(HKEY root, const std::wstring& key, const std::wstring& subkey) {
    std::wstring name = KeyPath(subkey);
    name.erase(name.find_last_not_of(L'\\') + 1);
    if (name.empty())
        return false;
    UniqueHKey opened;
    LONG status = OpenKey(root, key, KEY_READ | KEY_WRITE, opened);
    if (status != ERROR_SUCCESS)
        return status == ERROR_FILE_NOT_FOUND;
    status = RegDeleteKeyW(opened.get(), name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
