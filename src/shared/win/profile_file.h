// Profile (INI) files read and written as CP932 byte files by the project's own code, so
// their meaning never depends on the machine's code page. A bare file name means the
// Windows directory. Failures give the default (reads) or false (writes).
#pragma once

#include "../jjstring.h"

Text IniReadString(const Text& file, const Text& section, const Text& key, const Text& defaultValue);
bool IniWriteString(const Text& file, const Text& section, const Text& key, const Text& text);
long IniReadInteger(const Text& file, const Text& section, const Text& key, long defaultValue);
