// Where things are: platform family, user name, Windows and system folders, setup paths,
// the user's shell folders with their fallbacks, and short and long path forms.
// Nothing fails loudly: a failed platform call gives the empty text or the fallback.
//
// The wide forms give names as the platform has them ("C:\Users\José"). The CP932 forms
// never hand back a name CP932 cannot hold: they give the empty text (or, where stated,
// the path they were given) instead of a "?" name that would address another file.
#pragma once

#include <string>

#include "../jjstring.h"
#include "../platform_rules.h"

PlatformFamily GetPlatformFamily();
Text GetUserNameText();
Text GetWindowsDir();
Text GetSystemDir();
Text GetSetupPath(const Text& name);
Text GetShellFolder(const Text& name);
// The path itself when there is no short form, or none CP932 can hold.
Text GetShortPath(const Text& path);
// The plain file-name part of the path when the search fails or finds a name CP932
// cannot hold; a path with a wildcard ("*", "?") is never searched.
Text GetLongName(const Text& path);
Text GetLongPath(const Text& path);

std::wstring GetUserNameWide();
std::wstring GetWindowsDirWide();
std::wstring GetSystemDirWide();
std::wstring GetSetupPathWide(const Text& name);
std::wstring GetShellFolderWide(const Text& name);
std::wstring GetShortPath(const std::wstring& path);
std::wstring GetLongName(const std::wstring& path);
std::wstring GetLongPath(const std::wstring& path);
// The running program's file and folder, whole however long the path; empty on failure.
std::wstring RunningProgramPath();
std::wstring RunningProgramFolder();
