#include "file_transfer.h"

#include <windows.h>

#include "paths.h"
#include "win/files.h"

namespace {

void RemoveTemporary(const wchar_t* path) {
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path);
}

} // namespace

bool CopyThenRemoveSource(const std::wstring& source, const std::wstring& destination, bool replace) {
    // Held for deletion from the start: a source that someone keeps from being removed
    // is found before anything is written, and D is not touched for a move that cannot end.
    HANDLE held = CreateFileW(source.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        return false;
    if (!replace && GetFileAttributesW(destination.c_str()) != INVALID_FILE_ATTRIBUTES) {
        CloseHandle(held);
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    // The copy lands under a temporary name, so a copy that breaks off part-way never
    // stands in D's place.
    wchar_t temporary[MAX_PATH + 1] = {};
    bool moved = GetTempFileNameW(ExtractFileDir(destination).c_str(), L"fx", 0, temporary) != 0;
    if (moved && !CopyFileW(source.c_str(), temporary, FALSE)) {
        RemoveTemporary(temporary);
        moved = false;
    }
    if (moved && !MoveFileExW(temporary, destination.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
        RemoveTemporary(temporary);
        moved = false;
    }
    if (moved) {
        // A rename moves read-only files too; so does this move.
        DWORD attributes = GetFileAttributesW(source.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(source.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        FILE_DISPOSITION_INFO dispose = {TRUE};
        if (!SetFileInformationByHandle(held, FileDispositionInfo, &dispose, sizeof dispose)) {
            // Both copies stay whole; the move did not end.
            if (attributes != INVALID_FILE_ATTRIBUTES)
                SetFileAttributesW(source.c_str(), attributes);
            moved = false;
        }
    }
    DWORD error = GetLastError();
    CloseHandle(held);
    SetLastError(error);
    return moved;
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
