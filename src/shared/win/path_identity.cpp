#include "path_identity.h"

#include <windows.h>

#include <cwchar>

#include "ask_platform.h"
#include "paths.h"

namespace {

// "\\?\C:\x" is "C:\x" and "\\?\UNC\server\share" is "\\server\share".
std::wstring WithoutLongPrefix(const std::wstring& path) {
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\" + path.substr(7);
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return path.substr(4);
    return path;
}

std::wstring PlatformForm(const std::wstring& path, PathForm form) {
    return AskPlatform([&path, form](wchar_t* b, DWORD n) {
        return form == PathForm::Long ? GetLongPathNameW(path.c_str(), b, n)
                                      : GetShortPathNameW(path.c_str(), b, n);
    });
}

} // namespace

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

std::wstring FullPath(const std::wstring& path) {
    if (path.empty())
        return path;
    std::wstring full =
        AskPlatform([&path](wchar_t* b, DWORD n) { return GetFullPathNameW(path.c_str(), n, b, nullptr); });
    return WithoutTrailingBackslash(WithoutLongPrefix(full.empty() ? path : full));
}

std::wstring CanonicalPath(const std::wstring& path, PathForm form) {
    const std::wstring full = FullPath(path);
    std::wstring existing = full, tail;
    while (!existing.empty()) {
        std::wstring found = PlatformForm(existing, form);
        if (!found.empty()) {
            found = WithoutTrailingBackslash(WithoutLongPrefix(found));
            return tail.empty() ? found : JoinPath(found, tail);
        }
        std::wstring parent = ExtractFileDir(existing);
        if (parent.empty() || SamePath(parent, existing))
            break;
        std::wstring name = ExtractFileName(existing);
        tail = tail.empty() ? name : JoinPath(name, tail);
        existing = parent;
    }
    return full;
}

bool IsSameOrInside(const std::wstring& inner, const std::wstring& folder) {
    if (SamePath(inner, folder))
        return true;
    std::wstring prefix = AddBackslash(folder);
    return inner.size() > prefix.size() && SamePath(inner.substr(0, prefix.size()), prefix);
}

bool IsRootFolder(const std::wstring& folder) {
    // "C:" alone would resolve to that drive's current folder; as a folder it is the drive.
    std::wstring given = WithoutLongPrefix(folder);
    if (given.size() == 2 && given[1] == L':')
        return true;
    std::wstring path = FullPath(folder);
    if (path.empty())
        return false;
    if (path.size() <= 3 && path.size() >= 2 && path[1] == L':')
        return true;
    if (path.compare(0, 2, L"\\\\") == 0) {
        // "\\server" and "\\server\share" are roots; anything below them is not.
        size_t server = path.find(L'\\', 2);
        return server == std::wstring::npos || path.find(L'\\', server + 1) == std::wstring::npos;
    }
    // A volume mounted on a folder is a root too.
    std::wstring volume = AskPlatform([&path](wchar_t* b, DWORD n) {
        return GetVolumePathNameW(path.c_str(), b, n) ? static_cast<DWORD>(wcslen(b)) : 0;
    });
    return !volume.empty() && SamePath(WithoutTrailingBackslash(volume), path);
}
