#include "file_transfer.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "paths.h"
#include "win/files.h"
#include "win/handles.h"
#include "win/path_identity.h"

namespace {

void RemoveTemporary(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

// A free name beside the destination. Not GetTempFileNameW: it takes no path beyond
// MAX_PATH and creates a file this code would only replace again.
std::wstring TemporaryBeside(const std::wstring& destination) {
    std::wstring folder = ExtractFileDir(destination);
    static unsigned counter = 0;
    for (;;) {
        wchar_t name[40];
        swprintf(name, 40, L"~fx%lx-%x.tmp", GetCurrentProcessId(), ++counter);
        std::wstring path = JoinPath(folder, name);
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return path;
    }
}

// Keeps the last error of the failed step across the clean-up after it.
struct KeepError {
    DWORD error = GetLastError();
    ~KeepError() { SetLastError(error); }
};

// Opens the link itself; nothing, with ERROR_NOT_SUPPORTED, when the platform hands over
// the target instead (the handle then shows no reparse point).
UniqueHandle OpenLinkItself(const std::wstring& link, DWORD access) {
    UniqueHandle handle(CreateFileW(
        link.c_str(), access | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle)
        return handle;
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    if (!GetFileInformationByHandleEx(handle.get(), FileAttributeTagInfo, &tag, sizeof tag) ||
        !(tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        handle.reset();
        SetLastError(ERROR_NOT_SUPPORTED);
    }
    return handle;
}

} // namespace

bool CopyReplacing(const std::wstring& source, const std::wstring& destination) {
    std::wstring temporary = TemporaryBeside(destination);
    if (!CopyFileW(source.c_str(), temporary.c_str(), TRUE)) {
        KeepError keep;
        RemoveTemporary(temporary);
        return false;
    }
    // Only now may the old file lose the attributes that would refuse the replacement.
    DWORD old = GetFileAttributesW(destination.c_str());
    if (old != INVALID_FILE_ATTRIBUTES &&
        (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        SetFileAttributesW(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    if (!MoveFileExW(temporary.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        KeepError keep;
        if (old != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(destination.c_str(), old);
        RemoveTemporary(temporary);
        return false;
    }
    return true;
}

bool IsLink(DWORD attributes, DWORD reparseTag) {
    // Wine reports no tag for the Unix links it shows as reparse points.
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (reparseTag == 0 || IsReparseTagNameSurrogate(reparseTag));
}

DWORD ItemAttributes(const std::wstring& path, bool& link) {
    link = false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return attributes;
    // Only the listing tells the kind of reparse point.
    WIN32_FIND_DATAW found;
    UniqueFind search(
        FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    const DWORD tag = search ? found.dwReserved0 : 0;
    link = IsLink(attributes, tag);
    return attributes;
}

bool RemoveLink(const std::wstring& link) {
    UniqueHandle handle = OpenLinkItself(link, DELETE);
    if (!handle)
        return false;
    FILE_DISPOSITION_INFO dispose = {TRUE};
    bool removed = SetFileInformationByHandle(handle.get(), FileDispositionInfo, &dispose, sizeof dispose);
    KeepError keep;
    handle.reset();
    return removed;
}

bool MoveLink(const std::wstring& link, const std::wstring& destination, bool replace) {
    UniqueHandle handle = OpenLinkItself(link, DELETE);
    if (!handle)
        return false;
    // The rename takes the native form of the new name.
    std::wstring name = L"\\??\\" + CanonicalPath(destination);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + (name.size() + 1) * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = replace;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), rename->FileName);
    bool moved =
        SetFileInformationByHandle(handle.get(), FileRenameInfo, rename, static_cast<DWORD>(buffer.size()));
    KeepError keep;
    handle.reset();
    return moved;
}

bool CopyThenRemoveSource(const std::wstring& source, const std::wstring& destination, bool replace) {
    // Held for deletion from the start: a source that someone keeps from being removed
    // is found before anything is written, and D is not touched for a move that cannot end.
    // The handle is the source itself, never what a link leads to.
    UniqueHandle held(CreateFileW(source.c_str(), DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!held)
        return false;
    if (!replace && GetFileAttributesW(destination.c_str()) != INVALID_FILE_ATTRIBUTES) {
        held.reset();
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    // The copy lands under a temporary name, so a copy that breaks off part-way never
    // stands in D's place.
    std::wstring temporary = TemporaryBeside(destination);
    bool moved = CopyFileW(source.c_str(), temporary.c_str(), TRUE) != 0;
    if (!moved)
        RemoveTemporary(temporary);
    if (moved &&
        !MoveFileExW(temporary.c_str(), destination.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
        RemoveTemporary(temporary);
        moved = false;
    }
    if (moved) {
        // A rename moves read-only files too; so does this move.
        DWORD attributes = GetFileAttributesW(source.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(source.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        FILE_DISPOSITION_INFO dispose = {TRUE};
        if (!SetFileInformationByHandle(held.get(), FileDispositionInfo, &dispose, sizeof dispose)) {
            // Both copies stay whole; the move did not end.
            if (attributes != INVALID_FILE_ATTRIBUTES)
                SetFileAttributesW(source.c_str(), attributes);
            moved = false;
        }
    }
    KeepError keep;
    held.reset();
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

std::wstring FinalPath(const std::wstring& path) {
    UniqueHandle handle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle)
        return {};
    std::wstring final(1024, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle.get(), final.data(), static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = GetFinalPathNameByHandleW(handle.get(), final.data(), static_cast<DWORD>(final.size()), 0);
    }
    if (!length || length >= final.size())
        return {};
    final.resize(length);
    return CanonicalPath(final);
}
