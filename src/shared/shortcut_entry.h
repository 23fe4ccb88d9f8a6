// The shortcut entry of the installer's data file: "Location|Target|WorkDir|IconIndex|
// IconFile|ShowMode". Fields are cut at "|" characters (never at a trail byte 0x7C), and
// the sixth field is everything after the fifth "|", so it may hold further "|".
#pragma once

#include <optional>
#include <string>

#include "jjstring.h"

struct ShortcutEntry {
    Text location;
    Text target;
    Text workDir;
    long iconIndex = 0;
    Text iconFile;
    long showMode = 0;
};

// Nothing for an entry with fewer than five "|": such an entry creates no shortcut.
std::optional<ShortcutEntry> ParseShortcutEntry(const Text& entry);

// The uninstall form: only the location counts, everything from the first "|" on is ignored.
Text ShortcutEntryLocation(const Text& entry);

// ".lnk" appended unless the name already ends in ".LNK" in any case.
Text AddShortcutExtension(const Text& location);
std::wstring AddShortcutExtension(const std::wstring& location);

// The decimal integer the text denotes, 0 when it denotes none.
long TextToIntOrZero(const Text& text);
