#include "paths.h"

#include <algorithm>

Text AddBackslash(const Text& path) {
    return AddTrailingChar('\\', path);
}

Text RemoveBackslash(const Text& path) {
    return StripTrailingChars('\\', path);
}

Text JoinPath(const Text& directory, const Text& name) {
    return AddBackslash(directory) + StripLeadingChars('\\', name);
}

namespace {

// 1-based position of the last "\" or ":", 0 when there is none.
size_t LastDelimiter(const Text& path) {
    return std::max(FindLastChar('\\', path), FindLastChar(':', path));
}

} // namespace

Text ExtractFileName(const Text& path) {
    return path.substr(LastDelimiter(path));
}

Text ExtractFileDir(const Text& path) {
    size_t delimiter = LastDelimiter(path);
    if (delimiter == 0)
        return Text();
    // A "\" goes unless it follows another delimiter or starts the path (a root keeps it).
    Text before = path.substr(0, delimiter - 1);
    bool afterDelimiter = EndsWithChar(before, '\\') || EndsWithChar(before, ':');
    bool dropDelimiter = path[delimiter - 1] == '\\' && delimiter > 1 && !afterDelimiter;
    return path.substr(0, dropDelimiter ? delimiter - 1 : delimiter);
}

Text ExtractFileExt(const Text& path) {
    size_t nameStart = LastDelimiter(path);
    size_t dot = FindLastChar('.', path);
    if (dot == 0 || dot <= nameStart)
        return Text();
    return path.substr(dot - 1);
}

Text FileNameWithoutExt(const Text& path) {
    Text name = ExtractFileName(path);
    return name.substr(0, name.size() - ExtractFileExt(name).size());
}
