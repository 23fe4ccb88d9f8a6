#include "path_macros.h"

#include <windows.h>

#include "paths.h"
#include "shortcut_entry.h"
#include "win/encoding.h"
#include "win/folders.h"

namespace {

bool StartsWith(const Text& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

std::wstring Under(const std::wstring& folder, const Text& rest) {
    return folder.empty() ? std::wstring() : JoinPath(folder, Widen(rest));
}

std::wstring MacroFolder(int index, const PathContext& context) {
    switch (index) {
    case 0:
        return context.installFolder;
    case 1:
        return GetSetupPathWide("ProgramFilesDir");
    case 2:
        return GetWindowsDirWide();
    case 3:
        return GetSystemDirWide();
    case 4:
        return GetSetupPathWide("MediaPath");
    case 5:
        return GetSetupPathWide("BootDir");
    default:
        return GetShellFolderWide("Programs");
    }
}

// The Startup folder, or its "[きれい好き]" twin when that is a plain folder: a user
// who keeps the Startup folder tidy has the shortcut put there instead.
std::wstring StartupFolder() {
    std::wstring startup = GetShellFolderWide("Startup");
    if (startup.empty())
        return startup;
    std::wstring tidy = RemoveBackslash(startup) + L"[\u304D\u308C\u3044\u597D\u304D]";
    return GetFileAttributesW(tidy.c_str()) == FILE_ATTRIBUTE_DIRECTORY ? tidy : startup;
}

} // namespace

std::wstring ExpandPath(const Text& text, const PathContext& context) {
    static const char* const macros[] = {"<Setup>", "<Prog>",    "<Win>",  "<Sys>",
                                         "<Media>", "<BootDir>", "<Start>"};
    for (int i = 0; i < 7; ++i) {
        if (StartsWith(text, macros[i]))
            return WithoutTrailingBackslash(
                Under(MacroFolder(i, context), text.substr(std::char_traits<char>::length(macros[i]))));
    }
    return WithoutTrailingBackslash(Widen(text));
}

std::wstring ProgramGroupFolder(const PathContext& context) {
    std::wstring programs = GetShellFolderWide("Programs");
    return programs.empty() ? programs : JoinPath(programs, context.programGroup);
}

std::wstring ExpandShortcutPath(const Text& location, const PathContext& context) {
    std::wstring file;
    if (StartsWith(location, "<Startup>"))
        file = Under(StartupFolder(), location.substr(9));
    else if (StartsWith(location, "<Startup2>"))
        file = Under(GetShellFolderWide("Startup"), location.substr(10));
    else if (StartsWith(location, "<Default>"))
        file = Under(ProgramGroupFolder(context), location.substr(9));
    else if (StartsWith(location, "<Program>"))
        file = Under(GetShellFolderWide("Programs"), location.substr(9));
    else
        file = Under(ProgramGroupFolder(context), location);
    return file.empty() ? file : AddShortcutExtension(file);
}

std::wstring ShortcutFileIn(const std::wstring& folder, const Text& location) {
    return folder.empty() ? std::wstring() : AddShortcutExtension(JoinPath(folder, Widen(location)));
}

bool IsFullPath(const std::wstring& path) {
    if (path.size() >= 3 && (path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z' && path[1] == L':' &&
        path[2] == L'\\')
        return true;
    // "\\server\share": a server name and a share name after the two backslashes.
    if (path.size() < 5 || path.compare(0, 2, L"\\\\") != 0)
        return false;
    const size_t server = path.find(L'\\', 2);
    return server != std::wstring::npos && server > 2 && server + 1 < path.size() &&
           path[server + 1] != L'\\';
}
