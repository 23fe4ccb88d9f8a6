// Old-style profile (INI) text in code page 932, read and changed the way the platform's
// profile functions do: section and key names compare case-insensitively, the first match
// wins, blanks around names and values are trimmed, and a matching pair of quotes around
// a value is dropped. Changing a value keeps every other line exactly as it was.
#pragma once

#include <optional>
#include <vector>

#include "jjstring.h"

std::optional<Text> ProfileLookup(const Text& content, const Text& section, const Text& key);
// The values of stem1, stem2, ... up to the first empty or missing one, as ProfileLookup
// gives them, with the content taken apart once for the whole list.
std::vector<Text> ProfileLookupList(const Text& content, const Text& section, const Text& stem);

// The content with key set to value in section; the section and key are added at the end
// when missing. New lines follow the line ending the content already uses.
Text ProfileStore(const Text& content, const Text& section, const Text& key, const Text& value);

// True when the entry can be written without changing the file's structure: no line
// break or zero byte anywhere (it would inject lines and sections), no "]" in the
// section, no "=" in the key, and a key that cannot be read as a section header.
bool ProfileStorable(const Text& section, const Text& key, const Text& value);
