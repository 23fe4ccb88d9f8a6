// Rules behind the Run menu, the shutdown items and the parking of start-up items.
#pragma once

#include <string>

#include "jjstring.h"
#include "platform_rules.h"

// A target whose second character is ":" names a path on a drive letter; only such
// targets are looked for before they are opened.
bool BeginsWithDriveLetter(const Text& target);
bool BeginsWithDriveLetter(const std::wstring& target);

// The calculator of the default Run entry "電卓": the NT family keeps it in the system
// folder, the 95 family in the Windows folder.
std::wstring DefaultCalculator(PlatformFamily family, const std::wstring& windowsDir,
                               const std::wstring& systemDir);

// The switch the shutdown tool gets for the items "選択(&U)", "電源を切る(&S)",
// "再起動(&R)" and "ﾛｸﾞｵﾌ(&C)" (tags 0 to 3); empty for anything else.
Text ShutdownSwitch(int tag);

// The folder beside the Startup folder that holds the parked items: its name with
// "[無効]" appended. Empty when the Startup folder is unknown, so that nothing is moved.
Text DisabledStartupFolder(const Text& startupFolder);
std::wstring DisabledStartupFolder(const std::wstring& startupFolder);

// Whether an entry of the Startup folder (or of its parked twin) is moved: files only,
// and no name beginning with ".".
bool IsMovedStartupEntry(const Text& name, bool isFolder);
bool IsMovedStartupEntry(const std::wstring& name, bool isFolder);
