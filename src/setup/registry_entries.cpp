#include "registry_entries.h"

#include <vector>

#include "paths.h"
#include "textops.h"
#include "win/encoding.h"
#include "win/registry.h"

namespace {

// The user's decimal separator, as the platform's number conversions use it.
Text DecimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0)
        return ".";
    return Narrow(separator);
}

bool DeleteTree(HKEY root, const std::wstring& keyPath, const std::wstring& name) {
    // No subkey named: the walk would empty the key at keyPath and then fail to delete it.
    if (name.find_first_not_of(L'\\') == std::wstring::npos)
        return false;
    std::wstring full = JoinPath(keyPath, name);
    // Subkey names come from the registry and may be beyond CP932 ("한글"): kept wide.
    for (const std::wstring& subkey : RegSubkeyNames(root, full))
        if (!DeleteTree(root, full, subkey))
            break;
    return RegDeleteKey(root, keyPath, name);
}

} // namespace

HKEY RegistryRootKey(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users:
        return HKEY_USERS;
    case RegistryRoot::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case RegistryRoot::DynData:
        return HKEY_DYN_DATA;
    }
    return nullptr;
}

bool WriteRegistryEntry(const Text& entry) {
    auto parsed = ParseRegistryWriteEntry(entry);
    if (!parsed)
        return false;
    HKEY root = RegistryRootKey(parsed->root);
    switch (parsed->kind) {
    case RegistryValueKind::String:
        return RegWriteString(root, parsed->keyPath, parsed->valueName, parsed->data);
    case RegistryValueKind::Integer: {
        auto value = RegistryIntegerData(parsed->data);
        return value && RegWriteInteger(root, parsed->keyPath, parsed->valueName, *value);
    }
    case RegistryValueKind::Double: {
        auto value = RegistryFloatData(parsed->data, DecimalSeparator());
        return value && RegWriteFloat(root, parsed->keyPath, parsed->valueName, *value);
    }
    case RegistryValueKind::Currency: {
        auto value = RegistryCurrencyData(parsed->data, DecimalSeparator());
        return value && RegWriteCurrency(root, parsed->keyPath, parsed->valueName, *value);
    }
    }
    return false;
}

bool DeleteRegistryEntry(const Text& entry) {
    auto parsed = ParseRegistryDeleteEntry(entry);
    if (!parsed || RefusesDeletion(*parsed))
        return false;
    HKEY root = RegistryRootKey(parsed->root);
    if (parsed->kind == RegistryDeleteKind::Key)
        return DeleteKeyAndPrune(root, parsed->keyPath, parsed->name);
    return RegDeleteValue(root, parsed->keyPath, parsed->name);
}

bool IsRefusedDeleteEntry(const Text& entry) {
    auto parsed = ParseRegistryDeleteEntry(entry);
    return parsed && RefusesDeletion(*parsed);
}

bool DeleteKeyTree(HKEY root, const Text& keyPath, const Text& name) {
    return DeleteTree(root, Widen(keyPath), Widen(name));
}

bool DeleteKeyAndPrune(HKEY root, const Text& keyPath, const Text& name) {
    if (!DeleteKeyTree(root, keyPath, name))
        return false;
    Text key = keyPath;
    if (EndsWithChar(key, '\\'))
        key.pop_back();
    // Never the first component: a key path whose last "\" is among its first two
    // characters ("Software", "\Software") ends the walk.
    for (;;) {
        size_t c = FindLastChar('\\', key);
        if (c < 3 || RegKeyHasContent(root, key))
            break;
        Text child = key.substr(c);
        key.resize(c - 1);
        RegDeleteKey(root, key, child);
    }
    return true;
}

void ConvertLegacyEntry(const Text& record, LegacyKind kind) {
    Text entry = LegacyWriteEntry(record, kind);
    if (!entry.empty())
        WriteRegistryEntry(entry);
}
