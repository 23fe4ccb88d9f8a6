// What Tezzo does with a name: the initial text from its parameters, and the start
// through the shell with the reason when the shell refuses.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "error_reason.h"
#include "jjstring.h"

// The file-open dialog's types; entry 1 is the programs.
extern const char* const TezzoFilter;

// The parameters joined with single blanks, in their long form (a path with blanks may
// arrive split over several parameters); empty without parameters.
std::wstring InitialName(const std::vector<std::wstring>& parameters);

// Splits the text into program and parameters and hands them to the shell's open verb
// (no working folder, shown normally). 0 when it started, else the platform's error code.
DWORD StartName(HWND owner, const std::wstring& text);

// The message for a name the shell could not start: the name, then the reason.
std::wstring StartFailureText(const std::wstring& text, DWORD error);
