// The installer's entry parsers on arbitrary text: whatever they accept must be
// consistent with the text it came from.
#include <cstdlib>

#include "fuzz_input.h"
#include "registry_entry.h"
#include "shortcut_entry.h"
#include "textops.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    Text entry = input.NextText();
    Text separator = input.NextText();

    if (auto shortcut = ParseShortcutEntry(entry)) {
        // The first five fields and their bars rebuild the start of the entry.
        Check(entry.compare(0, shortcut->location.size(), shortcut->location) == 0);
        Check(!ContainsChar('|', shortcut->location) && !ContainsChar('|', shortcut->target) &&
              !ContainsChar('|', shortcut->workDir) && !ContainsChar('|', shortcut->iconFile));
    }
    Text location = ShortcutEntryLocation(entry);
    Check(entry.compare(0, location.size(), location) == 0 && !ContainsChar('|', location));
    // A lone lead byte at the end would pair with the appended "." (malformed text anyway).
    bool loneLeadAtEnd = !location.empty() && IsLeadByte(static_cast<unsigned char>(location.back())) &&
                         LastCharPos(location) == location.size();
    Text withExtension = AddShortcutExtension(location);
    Check(loneLeadAtEnd || AddShortcutExtension(withExtension) == withExtension);

    if (auto write = ParseRegistryWriteEntry(entry)) {
        // The value name never holds a "\"; the data is the entry's tail.
        Check(!ContainsChar('\\', write->valueName));
        Check(entry.size() >= write->data.size() &&
              entry.compare(entry.size() - write->data.size(), Text::npos, write->data) == 0);
        Check(write->keyPath.size() + write->valueName.size() < entry.size());
    }
    if (auto remove = ParseRegistryDeleteEntry(entry)) {
        Check(!ContainsChar('\\', remove->name));
        Check(remove->keyPath.size() + remove->name.size() < entry.size());
    }

    RegistryIntegerData(entry);
    if (auto value = RegistryFloatData(entry, separator))
        Check(*value == *value);
    RegistryCurrencyData(entry, separator);
    Text legacy = LegacyWriteEntry(entry, LegacyKind::String);
    Check(legacy.empty() || legacy.size() == entry.size() + 8);
    return 0;
}
