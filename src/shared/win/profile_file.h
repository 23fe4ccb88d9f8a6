// Profile (INI) files read and written as CP932 byte files by the project's own code, so
// their meaning never depends on the machine's code page. A bare file name means the
// Windows directory. Failures give the default (reads) or false (writes).
//
// A write is refused (false, file untouched) when the file cannot be read whole, is
// read-only or UTF-16, or when a section, key or value would change the file's structure
// (a line break, "]" in the section, "=" in the key); otherwise it replaces the file safely
// (see WriteFileBytes). A UTF-16 file (with its byte-order mark) is read as such.
#pragma once

#include <string>
#include <vector>

#include "../jjstring.h"

Text IniReadString(const Text& file, const Text& section, const Text& key, const Text& defaultValue);
bool IniWriteString(const Text& file, const Text& section, const Text& key, const Text& text);
long IniReadInteger(const Text& file, const Text& section, const Text& key, long defaultValue);

// The same for a file named in UTF-16; sections, keys and values stay CP932 text.
Text IniReadString(const std::wstring& file, const Text& section, const Text& key, const Text& defaultValue);
bool IniWriteString(const std::wstring& file, const Text& section, const Text& key, const Text& text);
long IniReadInteger(const std::wstring& file, const Text& section, const Text& key, long defaultValue);
// The values of stem1, stem2, ... up to the first empty or missing one, the file read once.
std::vector<Text> IniReadList(const std::wstring& file, const Text& section, const Text& stem);
