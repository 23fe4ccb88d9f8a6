#include "files.h"

#include <windows.h>

#include <algorithm>

#include "../paths.h"
#include "encoding.h"
#include "handles.h"

namespace {

bool WriteAll(HANDLE file, const Text& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// A temporary beside the target whose name no other file has: CREATE_NEW never opens
// an existing file, so nothing that happens to carry the name is overwritten.
UniqueHandle CreateTemporaryBeside(const std::wstring& target, DWORD attributes, std::wstring& name) {
    static LONG counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t suffix[48];
        swprintf(suffix, 48, L".~%lx%lx.tmp", GetCurrentProcessId(),
                 static_cast<unsigned long>(InterlockedIncrement(&counter)) ^ (GetTickCount() << 8));
        name = target + suffix;
        UniqueHandle file(
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
        if (file || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return UniqueHandle();
}

} // namespace

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::wstring& folder) {
    if (folder.empty())
        return false;
    // Each "\" ends a parent; roots and existing parents just fail.
    for (size_t at = folder.find(L'\\', 1); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    return DirectoryExists(folder);
}

std::optional<Text> ReadFileBytes(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    Text bytes;
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        // A failed read is not the end of the file: half a file must never pass for all of it.
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
            return std::nullopt;
        if (read == 0)
            return bytes;
        bytes.append(buffer, read);
    }
}

bool WriteFileBytes(const std::wstring& path, const Text& bytes) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (existed && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    DWORD kept = existed ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                         FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)
                         : 0;
    std::wstring temporary;
    {
        UniqueHandle file = CreateTemporaryBeside(path, kept ? kept : FILE_ATTRIBUTE_NORMAL, temporary);
        if (!file)
            return false;
        bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
        file.reset();
        if (!written) {
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    if (existed)
        SetFileAttributesW(path.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
    return true;
}

bool FileExists(const Text& path) {
    return FileExists(Widen(path));
}

bool DirectoryExists(const Text& path) {
    return DirectoryExists(Widen(path));
}

bool ForceDirectories(const Text& folder) {
    return ForceDirectories(Widen(folder));
}

std::optional<Text> ReadFileBytes(const Text& path) {
    return ReadFileBytes(Widen(path));
}

bool WriteFileBytes(const Text& path, const Text& bytes) {
    return WriteFileBytes(Widen(path), bytes);
}

bool RemoveFolderTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            bool link = found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !link)
                RemoveFolderTree(path);
            else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(path.c_str());
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
    return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}
