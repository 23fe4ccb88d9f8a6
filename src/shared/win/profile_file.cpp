#include "profile_file.h"

#include <windows.h>

#include "../paths.h"
#include "../profile.h"
#include "encoding.h"
#include "files.h"
#include "folders.h"

namespace {

std::wstring ResolveProfilePath(const std::wstring& file) {
    bool bare = file.find_first_of(L"\\/:") == std::wstring::npos;
    return bare ? JoinPath(GetWindowsDirWide(), file) : file;
}

bool IsUtf16(const Text& content) {
    return content.size() >= 2 &&
           ((content[0] == '\xFF' && content[1] == '\xFE') || (content[0] == '\xFE' && content[1] == '\xFF'));
}

// The content as CP932 text: a UTF-16 file (little or big endian, with its mark) is decoded.
Text AsCp932(const Text& content) {
    if (!IsUtf16(content))
        return content;
    bool bigEndian = content[0] == '\xFE';
    std::wstring wide;
    for (size_t i = 2; i + 1 < content.size(); i += 2) {
        unsigned char first = static_cast<unsigned char>(content[i]);
        unsigned char second = static_cast<unsigned char>(content[i + 1]);
        wide += static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return Narrow(wide);
}

} // namespace

Text IniReadString(const std::wstring& file, const Text& section, const Text& key, const Text& defaultValue) {
    auto content = ReadFileBytes(ResolveProfilePath(file));
    if (!content)
        return defaultValue;
    return ProfileLookup(AsCp932(*content), section, key).value_or(defaultValue);
}

bool IniWriteString(const std::wstring& file, const Text& section, const Text& key, const Text& text) {
    if (!ProfileStorable(section, key, text))
        return false;
    std::wstring path = ResolveProfilePath(file);
    auto content = ReadFileBytes(path);
    if (!content && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false; // unreadable: never replace what could not be read
    if (content && IsUtf16(*content))
        return false; // CP932 lines appended to UTF-16 would corrupt it
    return WriteFileBytes(path, ProfileStore(content.value_or(Text()), section, key, text));
}

std::vector<Text> IniReadList(const std::wstring& file, const Text& section, const Text& stem) {
    auto content = ReadFileBytes(ResolveProfilePath(file));
    if (!content)
        return {};
    return ProfileLookupList(AsCp932(*content), section, stem);
}

long IniReadInteger(const std::wstring& file, const Text& section, const Text& key, long defaultValue) {
    long value = defaultValue;
    if (!TryTextToInt(IniReadString(file, section, key, Text()), value))
        return defaultValue;
    return value;
}

Text IniReadString(const Text& file, const Text& section, const Text& key, const Text& defaultValue) {
    return IniReadString(Widen(file), section, key, defaultValue);
}

bool IniWriteString(const Text& file, const Text& section, const Text& key, const Text& text) {
    return IniWriteString(Widen(file), section, key, text);
}

long IniReadInteger(const Text& file, const Text& section, const Text& key, long defaultValue) {
    return IniReadInteger(Widen(file), section, key, defaultValue);
}
