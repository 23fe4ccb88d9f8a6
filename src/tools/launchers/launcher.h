// The four launchers: each starts one sibling program from its own folder with a fixed
// parameter, passing on the show command it was started with.
#pragma once

#include <windows.h>

#include <string>

struct Launcher {
    const wchar_t* target;    // the program beside the launcher
    const wchar_t* parameter; // the parameter text it is given
    const char* caption;      // of the message when the program is missing
};

namespace Launchers {

extern const Launcher HaltoL;
extern const Launcher HaltoS;
extern const Launcher SlumboS;
extern const Launcher LumeraRun;

} // namespace Launchers

// The target's path in the launcher's folder: a drive root keeps its one backslash.
std::wstring LauncherTargetPath(const std::wstring& folder, const std::wstring& target);

// The show command the process was asked for, or SW_SHOWNORMAL when none was given.
int StartShowCommand(const STARTUPINFOW& startup);

// Starts the launcher's target, or tells that it is missing; the whole program.
int RunLauncher(HINSTANCE instance, const Launcher& launcher);
