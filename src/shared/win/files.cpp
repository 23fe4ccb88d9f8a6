#include "files.h"

#include <windows.h>

#include "../textops.h"
#include "encoding.h"
#include "handles.h"

namespace {

DWORD AttributesOf(const Text& path) {
    return GetFileAttributesW(Widen(path).c_str());
}

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

} // namespace

bool FileExists(const Text& path) {
    DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const Text& path) {
    DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const Text& folder) {
    if (folder.empty())
        return false;
    // Each "\" found by characters ends a parent; roots and existing parents just fail.
    for (size_t at = FindCharFrom('\\', folder, 2); at != 0; at = FindCharFrom('\\', folder, at + 1))
        CreateDirectoryW(Widen(folder.substr(0, at - 1)).c_str(), nullptr);
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    return DirectoryExists(folder);
}

std::optional<Text> ReadFileBytes(const Text& path) {
    UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    Text bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

bool WriteFileBytes(const Text& path, const Text& bytes) {
    std::wstring target = Widen(path);
    std::wstring temporary = target + L".~tmp";
    {
        UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return false;
        if (!WriteAll(file.get(), bytes)) {
            file.reset();
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}
