#include "folders.h"

#include <windows.h>

#include "../paths.h"
#include "encoding.h"
#include "handles.h"
#include "registry.h"

namespace {

// Asks a "fill this buffer" function, growing the buffer when the answer is longer.
template <typename Fill> Text AskPlatform(Fill fill) {
    std::wstring buffer(MAX_PATH + 1, L'\0');
    DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.assign(length + 1, L'\0');
        length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size())
        return Text();
    buffer.resize(length);
    return Narrow(buffer);
}

} // namespace

PlatformFamily GetPlatformFamily() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL known = GetVersionExW(&info);
#pragma GCC diagnostic pop
    if (!known)
        return PlatformOther;
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
        return PlatformWin95;
    case VER_PLATFORM_WIN32_NT:
        return PlatformNT;
    default:
        return PlatformOther;
    }
}

Text GetUserNameText() {
    wchar_t buffer[257];
    DWORD size = 257;
    return GetUserNameW(buffer, &size) ? Narrow(buffer) : Text();
}

Text GetWindowsDir() {
    return RemoveBackslash(AskPlatform([](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); }));
}

Text GetSystemDir() {
    Text answer = AskPlatform([](wchar_t* b, DWORD n) { return GetSystemDirectoryW(b, n); });
    return SystemDirFromAnswer(GetPlatformFamily(), answer);
}

Text GetSetupPath(const Text& name) {
    Text path =
        RegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup", name, "");
    if (path.empty())
        path = RegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", name, "");
    if (path.empty() && name == "MediaPath")
        path = JoinPath(GetWindowsDir(), "media");
    return path;
}

Text GetShellFolder(const Text& name) {
    Text folder = RegReadString(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name, "");
    PlatformFamily family = GetPlatformFamily();
    Text user = family == PlatformNT ? GetUserNameText() : Text();
    if (family == PlatformNT)
        folder = ReplaceAdministrator(folder, user);
    if (folder.empty())
        folder = ShellFolderFallback(family, GetWindowsDir(), user, name);
    return folder;
}

Text GetShortPath(const Text& path) {
    std::wstring wide = Widen(path);
    Text shortPath =
        AskPlatform([&wide](wchar_t* b, DWORD n) { return GetShortPathNameW(wide.c_str(), b, n); });
    return shortPath.empty() ? path : shortPath;
}

Text GetLongName(const Text& path) {
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Widen(path).c_str(), &found));
    return search ? Narrow(found.cFileName) : ExtractFileName(path);
}

Text GetLongPath(const Text& path) {
    Text longPath = GetLongName(path);
    Text directory = path;
    for (;;) {
        Text parent = ExtractFileDir(directory);
        bool progressed = parent.size() < directory.size();
        directory = parent;
        if (!progressed || directory.size() < 4)
            break;
        longPath = JoinPath(GetLongName(directory), longPath);
    }
    return ExtractFileDir(directory) + longPath;
}
