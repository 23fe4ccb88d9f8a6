#include "path_identity.h"

#include <windows.h>

#include "ask_platform.h"
#include "paths.h"

namespace {

std::wstring WithoutLongPrefix(const std::wstring& path) {
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\" + path.substr(7);
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return path.substr(4);
    return path;
}

std::wstring TrimSeparator(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring LongForm(const std::wstring& path) {
    return AskPlatform([&path](wchar_t* b, DWORD n) { return GetLongPathNameW(path.c_str(), b, n); });
}

} // namespace

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

std::wstring CanonicalPath(const std::wstring& path) {
    if (path.empty())
        return path;
    std::wstring full =
        AskPlatform([&path](wchar_t* b, DWORD n) { return GetFullPathNameW(path.c_str(), n, b, nullptr); });
    full = TrimSeparator(WithoutLongPrefix(full.empty() ? path : full));
    std::wstring existing = full, tail;
    while (!existing.empty()) {
        std::wstring longForm = LongForm(existing);
        if (!longForm.empty()) {
            longForm = TrimSeparator(WithoutLongPrefix(longForm));
            return tail.empty() ? longForm : JoinPath(longForm, tail);
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
