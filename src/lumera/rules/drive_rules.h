// The drive items of the Kickon watch, run and eject submenus: which drives get items,
// their captions, and the watch item's hint text, the drive letter followed by whether
// the drive held a medium at the last look.
#pragma once

#include "jjstring.h"

constexpr unsigned DriveTypeRemovable = 2; // the platform's DRIVE_REMOVABLE
constexpr unsigned DriveTypeCdRom = 5;     // the platform's DRIVE_CDROM

// Drive number 1 is A:, 26 is Z:.
char DriveLetter(int driveNumber);
// "FD/ﾘﾑｰﾊﾞﾌﾞﾙ (L:)" or "CD-ROM (L:)"; empty for a drive that gets no items.
Text DriveItemCaption(unsigned driveType, char letter);
// Marking such a drive for the watch asks first, since some (MO and the like) misbehave.
bool AsksBeforeWatching(const Text& caption);

// The hint text of a marked watch item: "L1" with a medium, "L0" without.
Text WatchHint(char letter, bool mediumPresent);

struct WatchLook {
    Text hint;                  // the hint text from now on
    bool mediumArrived = false; // a medium appeared since the last look: run its autorun file
};
// One look at a marked drive: only a change of presence changes the hint, and only a
// medium that was absent at the last look counts as arrived.
WatchLook LookAtDrive(const Text& hint, char letter, bool mediumPresent);

// "L:\name", a file in the drive's root folder.
Text DriveRootFile(char letter, const Text& name);
