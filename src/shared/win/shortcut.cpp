#include "shortcut.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "app_window.h"
#include "encoding.h"
#include "folders.h"
#include "handles.h"

namespace {

// No UI: a tool must never open the shell's "searching for the target" dialog. The high
// word is how long a quiet search may take, in milliseconds.
constexpr DWORD ResolveTimeoutMs = 1000;
const DWORD ResolveFlags = DWORD(SLR_ANY_MATCH) | DWORD(SLR_NO_UI) | (ResolveTimeoutMs << 16);
constexpr int ShowMinimised = 1;
constexpr int ShowMaximised = 2;

bool CreateLink(ComPtr<IShellLinkW>& link) {
    return SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.receive()));
}

bool FitsInLink(const std::wstring& path) {
    return path.size() < MAX_PATH;
}

} // namespace

bool CreateShortcut(const std::wstring& shortcutFile, const std::wstring& target,
                    const std::wstring& workingDir, const std::wstring& iconFile, int iconIndex,
                    int showMode) {
    // The link stores these in MAX_PATH fields and would cut a longer one silently.
    if (!FitsInLink(shortcutFile) || !FitsInLink(target) || !FitsInLink(workingDir) || !FitsInLink(iconFile))
        return false;
    ComInit com;
    ComPtr<IShellLinkW> link;
    if (!CreateLink(link) || FAILED(link->SetPath(target.c_str())))
        return false;
    if (!workingDir.empty() && FAILED(link->SetWorkingDirectory(workingDir.c_str())))
        return false;
    if (showMode == ShowMinimised && FAILED(link->SetShowCmd(SW_SHOWMINNOACTIVE)))
        return false;
    if (showMode == ShowMaximised && FAILED(link->SetShowCmd(SW_SHOWMAXIMIZED)))
        return false;
    if (!iconFile.empty() && FAILED(link->SetIconLocation(iconFile.c_str(), iconIndex)))
        return false;
    if (FAILED(link->SetDescription(L"Produced by Morivane Tools")))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive())))
        return false;
    if (FAILED(file->Save(shortcutFile.c_str(), TRUE)))
        return false;
    // The shortcut is saved: a target that cannot be found now (a removable disc, a
    // network share) does not make that a failure.
    link->Resolve(ApplicationWindow(), ResolveFlags);
    return true;
}

bool CreateShortcut(const Text& shortcutFile, const Text& target, const Text& workingDir,
                    const Text& iconFile, int iconIndex, int showMode) {
    return CreateShortcut(Widen(shortcutFile), Widen(target), Widen(workingDir), Widen(iconFile), iconIndex,
                          showMode);
}

std::wstring GetShortcutTarget(const std::wstring& shortcutFile) {
    ComInit com;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (!CreateLink(link) || FAILED(link->QueryInterface(IID_IPersistFile, file.receive())) ||
        FAILED(file->Load(shortcutFile.c_str(), STGM_READ)) ||
        FAILED(link->Resolve(ApplicationWindow(), ResolveFlags)))
        return shortcutFile;
    wchar_t target[MAX_PATH] = L"";
    if (link->GetPath(target, MAX_PATH, nullptr, SLGP_SHORTPATH) != S_OK || target[0] == 0)
        return shortcutFile;
    std::wstring path = target;
    // Wine keeps the path text only in the ANSI code page ("café" comes back as "cafe");
    // the item list holds the names in UTF-16, so it wins when only it names a file.
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        PIDLIST_ABSOLUTE items = nullptr;
        wchar_t fromItems[MAX_PATH] = L"";
        if (SUCCEEDED(link->GetIDList(&items)) && items && SHGetPathFromIDListW(items, fromItems) &&
            GetFileAttributesW(fromItems) != INVALID_FILE_ATTRIBUTES)
            path = fromItems;
        CoTaskMemFree(items);
    }
    // Wine answers with the long form whatever the flag says.
    return GetShortPath(path);
}

Text GetShortcutTarget(const Text& shortcutFile) {
    Text target;
    return NarrowExact(GetShortcutTarget(Widen(shortcutFile)), target) ? target : shortcutFile;
}
