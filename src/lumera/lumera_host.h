// What a topic of the tray program may ask of its form: the narrow way back to the window.
#pragma once

#include <windows.h>

#include <string>

#include "jjstring.h"

class LumeraHost {
public:
    // The window that owns message boxes, dialogs and the programs started from the menus.
    virtual HWND OwnerWindow() const = 0;
    // The file-open dialog, prepared as every "参照" of the program does it (filter index 1,
    // the proposed file and its folder). The chosen file, as the platform names it; empty
    // when cancelled or while another modal window of the menus is open.
    virtual std::wstring ChooseFile(const Text& filter, const Text& defaultExt, const Text& title,
                                    const std::wstring& proposedFile) = 0;
    // The tray icon shows whether the screen saver is on.
    virtual void ShowTrayIcon(HICON icon) = 0;
    // A line under the program's name in the tray icon's tip; empty shows the name alone.
    virtual void ShowTrayNote(const Text& note) = 0;

protected:
    ~LumeraHost() = default;
};
