// Kickon: started with a file (a double-clicked AUTORUN.INF) it carries it out and ends
// without a window; otherwise it offers to associate .inf files with itself.
#include <windows.h>

#include "app.h"
#include "kickon_core.h"
#include "kickon_form.h"
#include "tool_params.h"
#include "tool_startup.h"
#include "win/process.h"
#include "win/folders.h"
#include "win/launch.h"
#include "win/system_libraries.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictLibrarySearch();
    // The uninstaller's call: no window, no second-start rule, nothing but the undo.
    const std::vector<std::wstring> parameters = ToolParameters();
    if (parameters.size() == 1 &&
        CompareStringOrdinal(parameters[0].c_str(), -1, L"/UNINSTALL", -1, TRUE) == CSTR_EQUAL) {
        const std::wstring self = RunningProgramPath();
        if (!self.empty())
            UndoAssociation(AssociationStore(GetPlatformFamily() == PlatformNT), GetShortPath(self));
        return 0;
    }
    ToolStartup start(instance, Tools::Kickon);
    if (!start.proceed())
        return 0;
    std::wstring file = GivenFile(ToolParameters());
    if (!file.empty()) {
        ExecuteInfOrTrack(file, true);
        DisableAllPrivileges();
        return 0;
    }
    TKickonMainForm form;
    if (!form.FormCreate())
        return 1;
    form.Show();
    form.Button3.Focus();
    return Application::Run();
}
