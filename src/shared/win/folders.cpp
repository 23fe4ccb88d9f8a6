#include "folders.h"

#include <windows.h>

#include "../paths.h"
#include "ask_platform.h"
#include "encoding.h"
#include "handles.h"
#include "registry.h"

namespace {

bool HasWildcard(const std::wstring& path) {
    return path.find_first_of(L"*?") != std::wstring::npos;
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

std::wstring GetUserNameWide() {
    wchar_t buffer[257];
    DWORD size = 257;
    return GetUserNameW(buffer, &size) ? std::wstring(buffer) : std::wstring();
}

std::wstring GetWindowsDirWide() {
    return RemoveBackslash(AskPlatform([](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); }));
}

std::wstring GetSystemDirWide() {
    std::wstring answer = AskPlatform([](wchar_t* b, DWORD n) { return GetSystemDirectoryW(b, n); });
    return SystemDirFromAnswer(GetPlatformFamily(), answer);
}

std::wstring GetSetupPathWide(const Text& name) {
    std::wstring path =
        RegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup", name, L"");
    if (path.empty())
        path = RegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", name, L"");
    if (path.empty() && name == "MediaPath")
        path = JoinPath(GetWindowsDirWide(), L"media");
    return path;
}

std::wstring GetShellFolderWide(const Text& name) {
    std::wstring folder =
        RegReadString(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name, L"");
    PlatformFamily family = GetPlatformFamily();
    std::wstring user = family == PlatformNT ? GetUserNameWide() : std::wstring();
    if (family == PlatformNT)
        folder = ReplaceAdministrator(folder, user);
    if (folder.empty())
        folder = ShellFolderFallback(family, GetWindowsDirWide(), user, name);
    return folder;
}

std::wstring GetShortPath(const std::wstring& path) {
    std::wstring shortPath =
        AskPlatform([&path](wchar_t* b, DWORD n) { return GetShortPathNameW(path.c_str(), b, n); });
    return shortPath.empty() ? path : shortPath;
}

std::wstring GetLongName(const std::wstring& path) {
    // A wildcard would make the search report some other file's name.
    if (HasWildcard(path))
        return ExtractFileName(path);
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(path.c_str(), &found));
    return search ? std::wstring(found.cFileName) : ExtractFileName(path);
}

std::wstring GetLongPath(const std::wstring& path) {
    std::wstring longPath = GetLongName(path);
    std::wstring directory = path;
    for (;;) {
        std::wstring parent = ExtractFileDir(directory);
        bool progressed = parent.size() < directory.size();
        directory = parent;
        if (!progressed || directory.size() < 4)
            break;
        longPath = JoinPath(GetLongName(directory), longPath);
    }
    return ExtractFileDir(directory) + longPath;
}

Text GetUserNameText() {
    return NarrowOrEmpty(GetUserNameWide());
}

Text GetWindowsDir() {
    return NarrowOrEmpty(GetWindowsDirWide());
}

Text GetSystemDir() {
    return NarrowOrEmpty(GetSystemDirWide());
}

Text GetSetupPath(const Text& name) {
    return NarrowOrEmpty(GetSetupPathWide(name));
}

Text GetShellFolder(const Text& name) {
    return NarrowOrEmpty(GetShellFolderWide(name));
}

Text GetShortPath(const Text& path) {
    Text shortPath;
    return NarrowExact(GetShortPath(Widen(path)), shortPath) ? shortPath : path;
}

Text GetLongName(const Text& path) {
    Text name;
    return NarrowExact(GetLongName(Widen(path)), name) ? name : ExtractFileName(path);
}

Text GetLongPath(const Text& path) {
    // Component by component, so one name CP932 cannot hold keeps its given form only.
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

std::wstring RunningProgramPath() {
    // The loader reports a cut-short name by filling the whole buffer, so grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768)
            return std::wstring();
        path.resize(path.size() * 2);
    }
}

std::wstring RunningProgramFolder() {
    return ExtractFileDir(RunningProgramPath());
}
