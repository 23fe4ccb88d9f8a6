// What a topic of the tray program may ask of its form: the narrow way back to the window.
#pragma once

#include <windows.h>

#include "jjstring.h"

class LumeraHost {
public:
    // The window that owns message boxes, dialogs and the programs started from the menus.
    virtual HWND OwnerWindow() const = 0;
    // The file-open dialog, prepared as every "参照" of the program does it (filter index 1,
    // the proposed file and its folder). True with the chosen file; a request while another
    // modal window of the menus is open is ignored.
    virtual bool ChooseFile(const Text& filter, const Text& defaultExt, const Text& title,
                            const Text& proposedFile, Text& chosen) = 0;
    // The tray icon shows whether the screen saver is on.
    virtual void ShowTrayIcon(HICON icon) = 0;

protected:
    ~LumeraHost() = default;
};
