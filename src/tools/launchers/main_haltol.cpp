// HaltoL: starts its sibling program with its fixed parameter.
#include "launcher.h"
#include "win/system_libraries.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictLibrarySearch();
    return RunLauncher(instance, Launchers::HaltoL);
}
