#include "shortcut_entry.h"

#include "textops.h"

namespace {

constexpr size_t FieldCount = 6;

} // namespace

std::optional<ShortcutEntry> ParseShortcutEntry(const Text& entry) {
    Text fields[FieldCount];
    size_t start = 1;
    for (size_t i = 0; i + 1 < FieldCount; ++i) {
        size_t bar = FindCharFrom('|', entry, start);
        if (bar == 0)
            return std::nullopt;
        fields[i] = entry.substr(start - 1, bar - start);
        start = bar + 1;
    }
    fields[FieldCount - 1] = entry.substr(start - 1);

    ShortcutEntry parsed;
    parsed.location = fields[0];
    parsed.target = fields[1];
    parsed.workDir = fields[2];
    parsed.iconIndex = TextToIntOrZero(fields[3]);
    parsed.iconFile = fields[4];
    parsed.showMode = TextToIntOrZero(fields[5]);
    return parsed;
}

Text ShortcutEntryLocation(const Text& entry) {
    size_t bar = FindCharFrom('|', entry, 1);
    return bar == 0 ? entry : entry.substr(0, bar - 1);
}

Text AddShortcutExtension(const Text& location) {
    // The "." must be a character of its own, not the trail of a double-byte one; the
    // letters after it then are single characters too.
    size_t n = location.size();
    bool hasExtension = n >= 4 && FindCharFrom('.', location, n - 3) == n - 3 &&
                        UpperCaseText(location.substr(n - 3)) == "LNK";
    return hasExtension ? location : location + ".lnk";
}

std::wstring AddShortcutExtension(const std::wstring& location) {
    if (location.size() >= 4) {
        std::wstring tail = location.substr(location.size() - 4);
        for (wchar_t& c : tail)
            if (c >= L'a' && c <= L'z')
                c = static_cast<wchar_t>(c - L'a' + L'A');
        if (tail == L".LNK")
            return location;
    }
    return location + L".lnk";
}

long TextToIntOrZero(const Text& text) {
    long value = 0;
    return TryTextToInt(text, value) ? value : 0;
}
