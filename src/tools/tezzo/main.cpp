// Tezzo: the suite's run box. The user types, picks from the history, browses for or
// drops a name; OK hands it to the shell and ends.
#include <windows.h>

#include "app.h"
#include "tezzo_form.h"
#include "tool_params.h"
#include "tool_startup.h"
#include "win/system_libraries.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictLibrarySearch();
    ToolStartup start(instance, Tools::Tezzo);
    if (!start.proceed())
        return 0;
    TTezzoMainForm form;
    if (!form.FormCreate(ToolParameters()))
        return 1;
    form.Show();
    form.ComboBox1.Focus();
    return Application::Run();
}
