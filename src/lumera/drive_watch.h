// The Kickon watch on removable and CD-ROM drives (Windows 95 family): the three drive
// submenus, the poll on every refresh that carries out a newly inserted medium's
// AUTORUN.INF (or plays an audio CD), running it on request, and ejecting.
#pragma once

#include <map>

#include "tray_menu.h"

class DriveWatch {
public:
    explicit DriveWatch(TrayMenu& menu) : menu_(menu) {}

    // One item per removable or CD-ROM drive in each of the three submenus, running the
    // watch toggle, the autorun and the eject handlers.
    void BuildSubmenus(bool ntFamily, const MenuItem::Handler& watch, const MenuItem::Handler& run,
                       const MenuItem::Handler& eject);
    void ToggleWatch(MenuItem& item);
    void RunAutorun(char driveLetter);
    void Eject(int driveNumber);
    // Part of every refresh.
    void Poll();
    // At the program's end: every drive item's mark.
    void Store();

private:
    TrayMenu& menu_;
    std::map<char, bool> FWatchChoices; // drive letter: watched, as chosen since the start
};
