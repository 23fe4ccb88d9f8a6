// Pinnet: puts a shortcut on the desktop for every file or folder it is given (typically
// from the shell's send-to menu) and ends; no window of its own.
#include <windows.h>

#include "dialogs.h"
#include "pinnet_core.h"
#include "tool_params.h"
#include "tool_startup.h"
#include "win/process.h"
#include "win/folders.h"
#include "win/system_libraries.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictLibrarySearch();
    ToolStartup start(instance, Tools::Pinnet);
    if (!start.proceed())
        return 0;
    std::vector<std::wstring> items = AccumulateExistingPaths(ToolParameters());
    size_t found = MakeShortcuts(GetShellFolderWide("Desktop"), items, [](const std::wstring& item) {
        ShowMessageBox(ShortcutFailureText(item), Tools::Pinnet.title, MB_ICONSTOP);
    });
    if (found == 0)
        ShowVersionBox();
    DisableAllPrivileges();
    return 0;
}
