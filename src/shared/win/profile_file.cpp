#include "profile_file.h"

#include "../paths.h"
#include "../profile.h"
#include "files.h"
#include "folders.h"

namespace {

Text ResolveProfilePath(const Text& file) {
    bool bare = !ContainsChar('\\', file) && !ContainsChar('/', file) && !ContainsChar(':', file);
    return bare ? JoinPath(GetWindowsDir(), file) : file;
}

} // namespace

Text IniReadString(const Text& file, const Text& section, const Text& key, const Text& defaultValue) {
    auto content = ReadFileBytes(ResolveProfilePath(file));
    if (!content)
        return defaultValue;
    return ProfileLookup(*content, section, key).value_or(defaultValue);
}

bool IniWriteString(const Text& file, const Text& section, const Text& key, const Text& text) {
    Text path = ResolveProfilePath(file);
    auto content = ReadFileBytes(path);
    if (!content && FileExists(path))
        return false; // unreadable: never replace what could not be read
    return WriteFileBytes(path, ProfileStore(content.value_or(Text()), section, key, text));
}

long IniReadInteger(const Text& file, const Text& section, const Text& key, long defaultValue) {
    long value = defaultValue;
    if (!TryTextToInt(IniReadString(file, section, key, Text()), value))
        return defaultValue;
    return value;
}
