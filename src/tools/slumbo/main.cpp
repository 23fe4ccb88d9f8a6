// Slumbo: starts the screen saver after a countdown.
#include <windows.h>

#include "app.h"
#include "slumbo_form.h"
#include "tool_params.h"
#include "tool_startup.h"
#include "win/system_libraries.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictLibrarySearch();
    ToolStartup start(instance, Tools::Slumbo);
    if (!start.proceed())
        return 0;
    TSlumboMainForm form;
    if (!form.FormCreate(ToolParameters()))
        return 1;
    return Application::Run();
}
