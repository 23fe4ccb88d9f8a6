// Message boxes, the file-open dialog, clipboard text and the help viewer.
#pragma once

#include <windows.h>

#include <string>

#include "jjstring.h"

// Flag values the programs use: 16 stop/OK, 36 question/Yes-No, 0x40 information.
enum MessageBoxFlags : UINT {
    MessageStop = MB_ICONSTOP | MB_OK,
    MessageQuestion = MB_ICONQUESTION | MB_YESNO,
    MessageInformation = MB_ICONINFORMATION,
};

// The program title is the caption when none is given; returns the answer (6 Yes, 7 No).
int ShowMessageBox(const Text& text, const Text& caption = Text(), UINT flags = 0, HWND owner = nullptr);
// For a text that names a file beyond code page 932.
int ShowMessageBox(const std::wstring& text, const Text& caption = Text(), UINT flags = 0,
                   HWND owner = nullptr);

// The platform's file-open dialog. The paths are UTF-16 as the platform gives them, so a
// chosen name that code page 932 cannot hold ("Zoë", "한글") comes back whole.
struct OpenFileDialog {
    Text filter; // "description|pattern|description|pattern"
    int filterIndex = 1;
    Text defaultExt;
    Text title;
    std::wstring fileName; // in: proposed name; out: the chosen file
    std::wstring initialDir;
    bool fileMustExist = false; // only an existing file can be chosen

    bool Execute(HWND owner);
};

bool SetClipboardText(const Text& text, HWND owner = nullptr);
bool SetClipboardText(const std::wstring& text, HWND owner = nullptr);
Text GetClipboardText(HWND owner = nullptr);

// The help viewer, asked with the programs' help commands: contents and search (11), the
// page on using the manual (4), the page of a context number (1, data = the number). The
// manual is compiled HTML Help, shown by the platform's HTML Help viewer; a missing manual
// or viewer is the platform's affair, and the answer is false.
enum HelpCommand : UINT { HelpContext = 0x0001, HelpOnHelp = 0x0004, HelpContents = 0x000B };
bool ShowHelp(HWND owner, const std::wstring& helpFile, HelpCommand command, ULONG_PTR data = 0);
// Closes every viewer window the program opened; for its end, as the old viewer closed.
void CloseHelp();
