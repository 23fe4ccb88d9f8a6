// The application's main window: owner of the shell's windows and dialogs that the
// shared operations open. Null until a program sets it.
#pragma once

#include <windows.h>

void SetApplicationWindow(HWND window);
HWND ApplicationWindow();
