// Rules for system and shell folders that do not need the platform to be decided, so
// they hold for any Windows directory and user name.
#pragma once

#include <string>

#include "jjstring.h"

enum PlatformFamily { PlatformOther = 0, PlatformWin95 = 1, PlatformNT = 2 };

// Shell Folders values written under the Administrator profile are moved to the user's.
Text ReplaceAdministrator(const Text& value, const Text& userName);

// The folder used when the registry names none: the Japanese edition's folder names
// under the Windows directory (95 family) or the user's profile (NT family).
Text ShellFolderFallback(PlatformFamily family, const Text& windowsDir, const Text& userName,
                         const Text& folderName);

// The system folder from the platform's answer: the NT family's system folder ends in
// "32", which current systems already report, so "32" is added only when missing.
Text SystemDirFromAnswer(PlatformFamily family, const Text& answer);

// The same rules for UTF-16 folders and user names ("C:\Users\José").
std::wstring ReplaceAdministrator(const std::wstring& value, const std::wstring& userName);
std::wstring ShellFolderFallback(PlatformFamily family, const std::wstring& windowsDir,
                                 const std::wstring& userName, const Text& folderName);
std::wstring SystemDirFromAnswer(PlatformFamily family, const std::wstring& answer);
