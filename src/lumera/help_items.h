// The help items' keys: F1 and F2 run the help item that shows that key as its shortcut.
#pragma once

#include <windows.h>

class TLumeraMainForm;

// True when the key belonged to a help item, whose handler has then run.
bool HandleHelpShortcut(TLumeraMainForm& form, WPARAM key);
