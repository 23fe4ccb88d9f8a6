#include "shortcut.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "app_window.h"
#include "encoding.h"
#include "folders.h"
#include "handles.h"

namespace {

constexpr DWORD ResolveFlags = SLR_ANY_MATCH;
constexpr int ShowMinimised = 1;
constexpr int ShowMaximised = 2;

bool CreateLink(ComPtr<IShellLinkW>& link) {
    return SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.receive()));
}

} // namespace

bool CreateShortcut(const Text& shortcutFile, const Text& target, const Text& workingDir,
                    const Text& iconFile, int iconIndex, int showMode) {
    ComInit com;
    ComPtr<IShellLinkW> link;
    if (!CreateLink(link) || FAILED(link->SetPath(Widen(target).c_str())))
        return false;
    if (!workingDir.empty() && FAILED(link->SetWorkingDirectory(Widen(workingDir).c_str())))
        return false;
    if (showMode == ShowMinimised && FAILED(link->SetShowCmd(SW_SHOWMINNOACTIVE)))
        return false;
    if (showMode == ShowMaximised && FAILED(link->SetShowCmd(SW_SHOWMAXIMIZED)))
        return false;
    if (!iconFile.empty() && FAILED(link->SetIconLocation(Widen(iconFile).c_str(), iconIndex)))
        return false;
    if (FAILED(link->SetDescription(L"Produced by Morivane Tools")))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive())))
        return false;
    std::wstring name = Widen(shortcutFile);
    if (name.size() >= MAX_PATH || FAILED(file->Save(name.c_str(), TRUE)))
        return false;
    return SUCCEEDED(link->Resolve(ApplicationWindow(), ResolveFlags));
}

Text GetShortcutTarget(const Text& shortcutFile) {
    ComInit com;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (!CreateLink(link) || FAILED(link->QueryInterface(IID_IPersistFile, file.receive())) ||
        FAILED(file->Load(Widen(shortcutFile).c_str(), STGM_READ)) ||
        FAILED(link->Resolve(ApplicationWindow(), ResolveFlags)))
        return shortcutFile;
    wchar_t target[MAX_PATH] = L"";
    if (link->GetPath(target, MAX_PATH, nullptr, SLGP_SHORTPATH) != S_OK || target[0] == 0)
        return shortcutFile;
    // Wine answers with the long form whatever the flag says.
    return GetShortPath(Narrow(target));
}
