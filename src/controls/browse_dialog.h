// The shell's folder chooser as a modal dialog. The owner can react while it is open:
// when it has been set up and at each change of selection, setting the status line and
// enabling or disabling OK.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "jjstring.h"

// Each option adds the chooser flag it names.
enum TBrowseOption : unsigned {
    biBrowseForComputer = 0x1000,
    biBrowseForPrinter = 0x2000,
    biDontGoBelowDomain = 0x0002,
    biReturnFSAncestors = 0x0008,
    biReturnOnlyFSDirs = 0x0001,
    biStatusText = 0x0004,
};

enum TOKButtonState { okLeaveAsIs = 0, okEnable = 1, okDisable = 2 };

class TBrowseDialog;
// The paths are UTF-16 as the shell gives them, so every folder name arrives whole.
using TBrowseDialogEvent = std::function<void(TBrowseDialog& sender, HWND wnd, const std::wstring& path,
                                              std::wstring& showText, TOKButtonState& okState)>;

class TBrowseDialog {
public:
    // Before Execute: the folder selected at the start; after a choice: the chosen
    // folder (empty when the item is not a file-system folder).
    std::wstring Directory;
    Text Caption;      // the instruction above the tree
    std::wstring Root; // the top of the tree; empty means the desktop
    unsigned Options = biReturnOnlyFSDirs;
    std::wstring DisplayName; // of the chosen item, after a choice
    TBrowseDialogEvent OnInitialized;
    TBrowseDialogEvent OnSelectionChanged;

    // True when the user chose an item.
    bool Execute();

private:
    static int CALLBACK Callback(HWND wnd, UINT message, LPARAM parameter, LPARAM data) noexcept;
};

// The selection sent when the chooser opens: a trailing "\" goes except at a drive root.
Text InitialSelectionPath(const Text& directory);
std::wstring InitialSelectionPath(const std::wstring& directory);
