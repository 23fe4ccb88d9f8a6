// Halto: restart, power off or log off, at once by switch or after asking.
#include <windows.h>

#include "app.h"
#include "halto_form.h"
#include "tool_params.h"
#include "tool_startup.h"
#include "win/system_libraries.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictLibrarySearch();
    ToolStartup start(instance, Tools::Halto);
    if (!start.proceed())
        return 0;
    THaltoMainForm form;
    if (!form.FormCreate(ToolParameters()))
        return 1;
    return Application::Run();
}
