// The three logo pictures of the Windows 95 family: where each lives, what the program
// stores for it, and which item of a logo submenu stands for the installed picture.
#pragma once

#include <string>
#include <vector>

#include "jjstring.h"

struct LogoKind {
    const char* targetValue;   // setting naming the system's logo file
    const char* fileValue;     // setting naming the picture last installed there
    const char* savedCopyName; // the copy saved into the logo folder at the first start
};

enum LogoIndex { StartupLogo = 0, RestartLogo = 1, ShutdownLogo = 2, LogoCount = 3 };
extern const LogoKind LogoKinds[LogoCount];

// The system's file for a logo when the settings name none: the start-up logo lies in the
// root of the boot drive, the other two in the Windows folder.
Text LogoTargetDefault(LogoIndex logo, const Text& bootDir, const Text& windowsDir);

// A logo submenu holds the first item (index 0), the pictures (1..n) and "(その他)" (n + 1).
// The item to mark for the installed picture, given the compared (short, upper-cased) forms
// of the pictures' paths and of the installed file: 0 when nothing is installed, the
// matching picture (the later one when a picture is listed twice), else "(その他)".
int LogoMarkIndex(const std::vector<Text>& pictureForms, const Text& installedForm);
int LogoMarkIndex(const std::vector<std::wstring>& pictureForms, const std::wstring& installedForm);

// After "(その他)" picked a file: the first listed picture with the same path, compared
// upper-cased, else "(その他)" itself.
int ChosenLogoIndex(const std::vector<Text>& picturePaths, const Text& chosen);
int ChosenLogoIndex(const std::vector<std::wstring>& picturePaths, const std::wstring& chosen);
