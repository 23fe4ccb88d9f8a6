// An installer runs with administrator rights, and whatever it starts inherits them unless
// started otherwise; a program started that way must still be reachable from the ordinary
// desktop and recognised by its ordinary copies.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// True when the process holds an elevated administrator token; false where the platform
// knows no elevation.
bool ProcessIsElevated();

// A named mutex of that name exists, also one made by an elevated copy that the caller may
// not open (access denied counts as existing).
bool NamedMutexExists(const std::wstring& name);

// Lets the messages through to the window even when they come from a less privileged
// process (Explorer's "TaskbarCreated", its drops). True when the platform took the
// request or has no such filter (before Windows 7 there is nothing to ask for).
bool AllowMessagesFromDesktop(HWND window, std::initializer_list<UINT> messages);

// Starts the program through the desktop's shell (Explorer), so it runs as the signed-in
// user's ordinary process whatever rights the caller has. False when no desktop shell
// answers; nothing was started then.
bool ShellOpenThroughDesktop(const std::wstring& program, const std::wstring& parameters);
