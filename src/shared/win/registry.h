// One-shot registry helpers: each opens what it needs, does one read or write and closes
// again. Reads give the caller's default and writes give false on any failure; nothing
// is thrown or shown. A key path may start with "\".
//
// String reads expand REG_EXPAND_SZ values ("%SystemRoot%\...") before they are returned.
// The CP932 string read gives the default for a value CP932 cannot hold, so a "?" name
// never reaches a caller; paths and histories use the wide forms.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../jjstring.h"

// Their names would otherwise be taken over by the platform's A/W macros.
#undef RegDeleteKey
#undef RegDeleteValue

// Amount × 10000, as a signed 64-bit integer (the registry's 8-byte currency value).
using Currency = std::int64_t;

Text RegReadString(HKEY root, const Text& key, const Text& valueName, const Text& defaultValue);
bool RegWriteString(HKEY root, const Text& key, const Text& valueName, const Text& text);
long RegReadInteger(HKEY root, const Text& key, const Text& valueName, long defaultValue);
bool RegWriteInteger(HKEY root, const Text& key, const Text& valueName, long value);
bool RegWriteFloat(HKEY root, const Text& key, const Text& valueName, double value);
bool RegWriteCurrency(HKEY root, const Text& key, const Text& valueName, Currency value);
bool RegValueExists(HKEY root, const Text& key, const Text& valueName);
// Beneath the key, or beneath the root when the key cannot be opened.
bool RegKeyExists(HKEY root, const Text& key, const Text& subkey);
bool RegKeyHasContent(HKEY root, const Text& key);
// True when the value is gone afterwards (deleted, or there was none).
bool RegDeleteValue(HKEY root, const Text& key, const Text& valueName);
// False at once for a subkey name that addresses no subkey ("", "\", "\\"), which would
// reach the opened key itself; otherwise true when the subkey is gone afterwards. A
// subkey with subkeys of its own stays where the platform refuses.
bool RegDeleteKey(HKEY root, const Text& key, const Text& subkey);

// UTF-16 strings, stored and read back without a CP932 round trip.
std::wstring RegReadString(HKEY root, const Text& key, const Text& valueName,
                           const std::wstring& defaultValue);
bool RegWriteString(HKEY root, const Text& key, const Text& valueName, const std::wstring& text);
std::wstring RegReadString(HKEY root, const std::wstring& key, const std::wstring& valueName,
                           const std::wstring& defaultValue);
bool RegWriteString(HKEY root, const std::wstring& key, const std::wstring& valueName,
                    const std::wstring& text);

// The names of the key's direct subkeys as the registry has them; none when it cannot be
// opened.
std::vector<std::wstring> RegSubkeyNames(HKEY root, const std::wstring& key);
// RegDeleteKey for a subkey name beyond CP932.
bool RegDeleteKey(HKEY root, const std::wstring& key, const std::wstring& subkey);
