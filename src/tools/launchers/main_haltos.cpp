// HaltoS: starts its sibling program with its fixed parameter.
#include "launcher.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return RunLauncher(instance, Launchers::HaltoS);
}
