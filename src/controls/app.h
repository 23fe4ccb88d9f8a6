// The program as a whole: its title (default caption of message boxes), instance, main
// icon and main window, and the message loop with keyboard navigation for forms.
#pragma once

#include <windows.h>

#include "jjstring.h"

namespace Application {

void Initialize(HINSTANCE instance, const Text& title);
HINSTANCE Instance();
const Text& Title();
void SetTitle(const Text& title);
// The program's "MAINICON" resource, or the platform's application icon.
HICON MainIcon();
// Also the owner of the shell windows the shared library opens.
void SetMainWindow(HWND window);
HWND MainWindow();

// Runs until WM_QUIT; returns its exit code.
int Run();
// Handles every message waiting now, then returns (also used while work goes on).
void ProcessMessages();
// Gives one message the forms' keyboard handling and dispatches it.
void DispatchOne(MSG& message);

} // namespace Application
