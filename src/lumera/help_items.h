// The help items' keys: F1 and F2 run the help item that shows that key as its shortcut.
#pragma once

#include <windows.h>

#include <string>

class MenuItem;

// The manual beside the tray program.
std::wstring ManualFile();

// True when the key belonged to an item of the help menu, whose handler has then run.
bool HandleHelpShortcut(MenuItem* helpMenu, WPARAM key);
