#include "file_transfer.h"

#include <windows.h>

#include "paths.h"
#include "win/files.h"

bool CopyThenRemoveSource(const std::wstring& source, const std::wstring& destination, bool replace) {
    // The copy lands under a temporary name, so a copy that breaks off part-way never
    // stands in D's place and never counts as the moved file.
    std::wstring folder = ExtractFileDir(destination);
    wchar_t temporary[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(folder.c_str(), L"fx", 0, temporary))
        return false;
    if (!CopyFileW(source.c_str(), temporary, FALSE)) {
        DWORD attributes = GetFileAttributesW(temporary);
        if (attributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(temporary, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(temporary);
        return false;
    }
    // The copy carries the source's attributes; a read-only copy must still be renamable.
    DWORD copied = GetFileAttributesW(temporary);
    if (!MoveFileExW(temporary, destination.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
        SetFileAttributesW(temporary, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(temporary);
        return false;
    }
    if (DeleteFileW(source.c_str()))
        return true;
    // A rename moves read-only files too; so does this move.
    DWORD attributes = GetFileAttributesW(source.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        SetFileAttributesW(source.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
        if (DeleteFileW(source.c_str()))
            return true;
        SetFileAttributesW(source.c_str(), attributes);
    }
    // The source stays (in use, say): the move failed, so its copy goes again.
    if (copied != INVALID_FILE_ATTRIBUTES && (copied & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(destination.c_str(), copied & ~FILE_ATTRIBUTE_READONLY);
    DeleteFileW(destination.c_str());
    return false;
}

bool MoveFileKeepingSource(const std::wstring& source, const std::wstring& destination, bool replace) {
    // No MOVEFILE_COPY_ALLOWED: its copy writes straight into D and may leave half a file.
    if (MoveFileExW(source.c_str(), destination.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0))
        return true;
    if (GetLastError() != ERROR_NOT_SAME_DEVICE)
        return false;
    return CopyThenRemoveSource(source, destination, replace);
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

namespace {

std::wstring FullPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (!size)
        return path;
    std::wstring full(size, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (!length || length >= size)
        return path;
    full.resize(length);
    return full;
}

std::wstring LongForm(const std::wstring& path) {
    DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (!size)
        return {};
    std::wstring result(size, L'\0');
    DWORD length = GetLongPathNameW(path.c_str(), result.data(), size);
    if (!length || length >= size)
        return {};
    result.resize(length);
    return result;
}

// A trailing "\" removed, except the one of a drive root.
std::wstring TrimSeparator(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

} // namespace

std::wstring ComparablePath(const std::wstring& path) {
    std::wstring full = TrimSeparator(FullPath(path));
    std::wstring existing = full, tail;
    // Walk up to the part that exists; short forms there would hide that two paths meet.
    while (!existing.empty()) {
        std::wstring longForm = LongForm(existing);
        if (!longForm.empty())
            return tail.empty() ? TrimSeparator(longForm) : JoinPath(longForm, tail);
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
