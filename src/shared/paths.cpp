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

// UTF-16 has no trail units that look like "\", ":" or ".", so the wide forms search by
// code units and follow the same rules as the CP932 forms above.

std::wstring AddBackslash(const std::wstring& path) {
    return !path.empty() && path.back() == L'\\' ? path : path + L'\\';
}

std::wstring RemoveBackslash(const std::wstring& path) {
    size_t end = path.find_last_not_of(L'\\');
    return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

std::wstring WithoutTrailingBackslash(const std::wstring& path) {
    std::wstring stripped = RemoveBackslash(path);
    if (stripped.size() == 2 && stripped[1] == L':' && path.size() > 2)
        stripped += L'\\';
    return stripped;
}

std::wstring JoinPath(const std::wstring& directory, const std::wstring& name) {
    size_t start = name.find_first_not_of(L'\\');
    return AddBackslash(directory) + (start == std::wstring::npos ? std::wstring() : name.substr(start));
}

namespace {

// 1-based position of the last "\" or ":", 0 when there is none.
size_t LastDelimiter(const std::wstring& path) {
    size_t at = path.find_last_of(L"\\:");
    return at == std::wstring::npos ? 0 : at + 1;
}

} // namespace

std::wstring ExtractFileName(const std::wstring& path) {
    return path.substr(LastDelimiter(path));
}

std::wstring ExtractFileDir(const std::wstring& path) {
    size_t delimiter = LastDelimiter(path);
    if (delimiter == 0)
        return std::wstring();
    bool afterDelimiter = delimiter > 1 && (path[delimiter - 2] == L'\\' || path[delimiter - 2] == L':');
    bool dropDelimiter = path[delimiter - 1] == L'\\' && delimiter > 1 && !afterDelimiter;
    return path.substr(0, dropDelimiter ? delimiter - 1 : delimiter);
}

std::wstring ExtractFileExt(const std::wstring& path) {
    size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || dot + 1 <= LastDelimiter(path))
        return std::wstring();
    return path.substr(dot);
}

std::wstring FileNameWithoutExt(const std::wstring& path) {
    std::wstring name = ExtractFileName(path);
    return name.substr(0, name.size() - ExtractFileExt(name).size());
}
