#include "registry.h"

#include <cstring>

#include "../textops.h"
#include "encoding.h"
#include "handles.h"

namespace {

std::wstring KeyPath(const Text& key) {
    return Widen(StripLeadingChars('\\', key));
}

LONG OpenKey(HKEY root, const Text& key, REGSAM access, UniqueHKey& opened) {
    LONG status = RegOpenKeyExW(root, KeyPath(key).c_str(), 0, access, opened.receive());
    if (status != ERROR_SUCCESS)
        opened.release(); // nothing was opened
    return status;
}

UniqueHKey OpenKey(HKEY root, const Text& key, REGSAM access) {
    UniqueHKey opened;
    OpenKey(root, key, access, opened);
    return opened;
}

bool WriteValue(HKEY root, const Text& key, const Text& valueName, DWORD type, const void* data, DWORD size) {
    UniqueHKey created;
    if (RegCreateKeyExW(root, KeyPath(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, created.receive(), nullptr) != ERROR_SUCCESS) {
        created.release();
        return false;
    }
    return RegSetValueExW(created.get(), Widen(valueName).c_str(), 0, type, static_cast<const BYTE*>(data),
                          size) == ERROR_SUCCESS;
}

} // namespace

Text RegReadString(HKEY root, const Text& key, const Text& valueName, const Text& defaultValue) {
    UniqueHKey opened = OpenKey(root, key, KEY_QUERY_VALUE);
    if (!opened)
        return defaultValue;
    std::wstring name = Widen(valueName);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                         &read) != ERROR_SUCCESS)
        return defaultValue;
    value.resize(read / sizeof(wchar_t));
    // The stored text ends at its first terminator, whether or not the writer added one.
    return Narrow(value.c_str());
}

bool RegWriteString(HKEY root, const Text& key, const Text& valueName, const Text& text) {
    std::wstring wide = Widen(text);
    DWORD size = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return WriteValue(root, key, valueName, REG_SZ, wide.c_str(), size);
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
    if (subkey.empty())
        return false;
    // A key that cannot be opened has no subkeys to delete; never fall back to the root.
    UniqueHKey opened;
    LONG status = OpenKey(root, key, KEY_READ | KEY_WRITE, opened);
    if (status != ERROR_SUCCESS)
        return status == ERROR_FILE_NOT_FOUND;
    status = RegDeleteKeyW(opened.get(), KeyPath(subkey).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
