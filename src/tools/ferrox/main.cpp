// Ferrox: moves, copies or deletes the files and folders named on its command line.
#include <windows.h>

#include "app.h"
#include "main_form.h"
#include "tool_identity.h"
#include "tool_params.h"
#include "tool_startup.h"
#include "win/system_libraries.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictLibrarySearch();
    ToolStartup start(instance, Tools::Ferrox);
    if (!start.proceed())
        return 0;
    // The items the window accepts are the items the engine works on.
    TFerroxMainForm form(AccumulateExistingPaths(ToolParameters()));
    if (!form.Create())
        return 1;
    return Application::Run();
}
