#include "remove_files.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>

#include "path_macros.h"
#include "paths.h"
#include "win/ask_platform.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/files.h"
#include "win/handles.h"
#include "win/path_identity.h"

namespace {

const wchar_t* const FolderKeys[] = {
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
};

// The shell's own list of the user's and all users' folders, which also covers those a
// registry value does not name on this machine.
const int ShellFolderIds[] = {
    CSIDL_DESKTOPDIRECTORY,
    CSIDL_PROGRAMS,
    CSIDL_STARTMENU,
    CSIDL_STARTUP,
    CSIDL_SENDTO,
    CSIDL_RECENT,
    CSIDL_PERSONAL,
    CSIDL_FAVORITES,
    CSIDL_MYMUSIC,
    CSIDL_MYVIDEO,
    CSIDL_MYPICTURES,
    CSIDL_APPDATA,
    CSIDL_LOCAL_APPDATA,
    CSIDL_TEMPLATES,
    CSIDL_NETHOOD,
    CSIDL_PRINTHOOD,
    CSIDL_COOKIES,
    CSIDL_INTERNET_CACHE,
    CSIDL_HISTORY,
    CSIDL_FONTS,
    CSIDL_ADMINTOOLS,
    CSIDL_PROFILE,
    CSIDL_WINDOWS,
    CSIDL_SYSTEM,
    CSIDL_SYSTEMX86,
    CSIDL_PROGRAM_FILES,
    CSIDL_PROGRAM_FILESX86,
    CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_PROGRAM_FILES_COMMONX86,
    CSIDL_RESOURCES,
    CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_COMMON_PROGRAMS,
    CSIDL_COMMON_STARTMENU,
    CSIDL_COMMON_STARTUP,
    CSIDL_COMMON_DOCUMENTS,
    CSIDL_COMMON_APPDATA,
    CSIDL_COMMON_TEMPLATES,
    CSIDL_COMMON_ADMINTOOLS,
    CSIDL_COMMON_FAVORITES,
    CSIDL_COMMON_MUSIC,
    CSIDL_COMMON_PICTURES,
    CSIDL_COMMON_VIDEO,
};

const char* const SetupPathNames[] = {
    "ProgramFilesDir",      "MediaPath",       "CommonFilesDir", "ProgramFilesDir (x86)",
    "CommonFilesDir (x86)", "ProgramW6432Dir", "CommonW6432Dir",
};

const wchar_t* const FolderVariables[] = {
    L"USERPROFILE",        L"ProgramFiles",
    L"ProgramFiles(x86)",  L"ProgramW6432",
    L"CommonProgramFiles", L"CommonProgramFiles(x86)",
    L"CommonProgramW6432", L"ProgramData",
    L"ALLUSERSPROFILE",    L"PUBLIC",
    L"SystemRoot",         L"windir",
};

// The names GetShellFolder falls back on when the registry names no folder.
const char* const FallbackShellFolders[] = {"Start Menu", "Programs", "Startup",
                                            "Desktop",    "SendTo",   "Recent"};

std::wstring Expanded(const std::wstring& text) {
    if (text.find(L'%') == std::wstring::npos)
        return text;
    std::wstring expanded =
        AskPlatform([&text](wchar_t* b, DWORD n) { return ExpandEnvironmentStringsW(text.c_str(), b, n); });
    // The count includes the terminating zero.
    if (!expanded.empty() && expanded.back() == L'\0')
        expanded.pop_back();
    return expanded.empty() ? text : expanded;
}

// Every string value of the key, expanded: its names and what they point at.
void AddKeyValues(HKEY root, const wchar_t* key, std::vector<std::wstring>& names,
                  std::vector<std::wstring>& folders) {
    UniqueHKey opened;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, opened.receive()) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, size = 0;
        LONG status = RegEnumValueW(opened.get(), index, name, &nameLength, nullptr, &type, nullptr, &size);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
            continue;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            continue;
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        DWORD dataSize = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        nameLength = 256;
        if (RegEnumValueW(opened.get(), index, name, &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data.data()), &dataSize) != ERROR_SUCCESS)
            continue;
        data.resize(wcsnlen(data.c_str(), data.size()));
        names.emplace_back(name, nameLength);
        folders.push_back(Expanded(data));
    }
}

// A folder that is itself a junction, symbolic link or mount point.
bool IsLink(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

} // namespace

ProtectedFolders::ProtectedFolders(const std::vector<std::wstring>& folders) {
    for (const std::wstring& folder : folders) {
        for (PathForm form : {PathForm::Long, PathForm::Short}) {
            std::wstring normal = CanonicalPath(folder, form);
            if (normal.empty())
                continue;
            bool known = false;
            for (const std::wstring& existing : forms_)
                known = known || SamePath(existing, normal);
            if (!known)
                forms_.push_back(normal);
        }
    }
}

ProtectedFolders ProtectedFolders::ForCurrentUser() {
    std::vector<std::wstring> folders;

    std::vector<std::wstring> userNames;
    for (const wchar_t* key : FolderKeys) {
        AddKeyValues(HKEY_CURRENT_USER, key, userNames, folders);
        std::vector<std::wstring> allUsersNames; // "Common Programs", …: their folders are enough
        AddKeyValues(HKEY_LOCAL_MACHINE, key, allUsersNames, folders);
    }
    // As GetShellFolder gives them (the fallbacks, the user's name put in).
    for (const char* name : FallbackShellFolders)
        userNames.push_back(std::wstring(name, name + strlen(name)));
    for (const std::wstring& name : userNames) {
        Text narrowName;
        if (NarrowExact(name, narrowName))
            folders.push_back(GetShellFolderWide(narrowName));
    }

    for (int id : ShellFolderIds) {
        wchar_t path[MAX_PATH];
        if (SUCCEEDED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)))
            folders.emplace_back(path);
    }

    folders.push_back(GetWindowsDirWide());
    folders.push_back(GetSystemDirWide());
    folders.push_back(AskPlatform([](wchar_t* b, DWORD n) { return GetSystemDirectoryW(b, n); }));
    folders.push_back(AskPlatform([](wchar_t* b, DWORD n) { return GetSystemWindowsDirectoryW(b, n); }));
    folders.push_back(AskPlatform([](wchar_t* b, DWORD n) { return GetSystemWow64DirectoryW(b, n); }));
    for (const char* name : SetupPathNames)
        folders.push_back(GetSetupPathWide(name));
    // The Startup folder's twins: "<Startup>" puts shortcuts into the tidy one when it exists,
    // and the tray program parks the user's start-up items in the disabled one.
    const std::wstring startup = GetShellFolderWide("Startup");
    if (!startup.empty())
        for (const char* twin : {"[きれい好き]", "[無効]"})
            folders.push_back(WithoutTrailingBackslash(startup) + Widen(twin));
    for (const wchar_t* variable : FolderVariables)
        folders.push_back(
            AskPlatform([variable](wchar_t* b, DWORD n) { return GetEnvironmentVariableW(variable, b, n); }));

    std::vector<std::wstring> present;
    for (std::wstring& folder : folders)
        if (!folder.empty())
            present.push_back(std::move(folder));
    return ProtectedFolders(present);
}

bool ProtectedFolders::Contains(const std::wstring& folder) const {
    if (IsRootFolder(folder))
        return true;
    for (PathForm form : {PathForm::Long, PathForm::Short}) {
        std::wstring normal = CanonicalPath(folder, form);
        for (const std::wstring& kept : forms_)
            if (SamePath(kept, normal))
                return true;
    }
    return false;
}

bool DeleteFileAndFolders(const std::wstring& path, const ProtectedFolders& keep) {
    // A relative path would be resolved against whatever the current folder is.
    if (!IsFullPath(path))
        return false;
    std::wstring full = FullPath(path);
    if (full.empty())
        return false;
    DWORD attributes = GetFileAttributesW(full.c_str());
    // A damaged record could name a folder; its attributes and contents are not ours.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    bool deleted = DeleteFileW(full.c_str()) != 0;
    if (!deleted && attributes != INVALID_FILE_ATTRIBUTES &&
        GetFileAttributesW(full.c_str()) != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(full.c_str(), attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                       FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                                       FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                                       FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE));
    RemoveEmptyFolders(ExtractFileDir(full), keep);
    return deleted;
}

bool DeleteFileAndFolders(const std::wstring& path) {
    return DeleteFileAndFolders(path, ProtectedFolders::ForCurrentUser());
}

void RemoveEmptyFolders(const std::wstring& folder, const ProtectedFolders& keep) {
    if (!IsFullPath(folder))
        return;
    std::wstring current = FullPath(folder);
    // A link is one entry the install never made: removing it would take its target (Wine
    // removes the folder it points at), and climbing past it would leave the walk's path.
    while (!current.empty() && DirectoryExists(current) && !IsLink(current) && !keep.Contains(current)) {
        // The platform refuses a folder that is not empty.
        if (!RemoveDirectoryW(current.c_str()))
            break;
        std::wstring parent = ExtractFileDir(current);
        if (parent.size() >= current.size())
            break;
        current = parent;
    }
}

std::vector<std::wstring> FoldersLeftEmptyBy(const std::vector<std::wstring>& files,
                                             const ProtectedFolders& keep) {
    std::vector<std::wstring> going, folders;
    for (const std::wstring& file : files)
        if (IsFullPath(file))
            going.push_back(FullPath(file));
    auto isGoing = [&going](const std::wstring& path) {
        for (const std::wstring& entry : going)
            if (SamePath(entry, path))
                return true;
        return false;
    };
    auto holdsOnlyWhatGoes = [&isGoing](const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        UniqueFind search(FindFirstFileW((folder + L"\\*").c_str(), &found));
        if (!search)
            return false;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L".." && !isGoing(folder + L"\\" + name))
                return false;
        } while (FindNextFileW(search.get(), &found));
        return true;
    };
    const size_t fileCount = going.size();
    for (size_t i = 0; i < fileCount; ++i) {
        std::wstring current = WithoutTrailingBackslash(ExtractFileDir(going[i]));
        // As RemoveEmptyFolders walks, never past a link or a folder to keep.
        while (!current.empty() && DirectoryExists(current) && !IsLink(current) && !keep.Contains(current) &&
               !isGoing(current) && holdsOnlyWhatGoes(current)) {
            going.push_back(current);
            folders.push_back(current);
            const std::wstring parent = WithoutTrailingBackslash(ExtractFileDir(current));
            if (parent.size() >= current.size())
                break;
            current = parent;
        }
    }
    return folders;
}

void NotifyFolderChanged(const std::wstring& folder) {
    std::wstring full = FullPath(folder);
    if (full.empty())
        return;
    if (DirectoryExists(full)) {
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, full.c_str(), nullptr);
        return;
    }
    SHChangeNotify(SHCNE_RMDIR, SHCNF_PATHW, full.c_str(), nullptr);
    std::wstring parent = ExtractFileDir(full);
    if (parent.size() < full.size() && DirectoryExists(parent))
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, parent.c_str(), nullptr);
}
