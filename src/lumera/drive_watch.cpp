// The Kickon watch on removable and CD-ROM drives (Windows 95 family): the three drive
// submenus, the poll on every refresh that carries out a newly inserted medium's
// AUTORUN.INF (or plays an audio CD), running it on request, and ejecting.
#include "drive_watch.h"

#include "drive_rules.h"
#include "settings.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/launch.h"
#include "win/process.h"

namespace {

const Text KickonSection = "Kickon";

// An empty floppy or CD drive must fail quietly instead of asking the user to insert a
// disk, since the watch looks at it on every refresh.
class QuietDriveErrors {
public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    DWORD previous_ = 0;
};

std::wstring DriveRoot(char letter) {
    return {static_cast<wchar_t>(letter), L':', L'\\'};
}

// A medium is in the drive when the platform can tell its size.
bool MediumPresent(char letter) {
    QuietDriveErrors quiet;
    ULARGE_INTEGER available;
    return GetDiskFreeSpaceExW(DriveRoot(letter).c_str(), &available, nullptr, nullptr) != FALSE;
}

} // namespace

void DriveWatch::BuildSubmenus(bool ntFamily, const MenuItem::Handler& onWatch,
                               const MenuItem::Handler& onRun, const MenuItem::Handler& onEject) {
    MenuItem& watchMenu = *menu_.AutoRight;
    MenuItem& runMenu = *menu_.KickonRight;
    MenuItem& ejectMenu = *menu_.AutoEjectRight;
    watchMenu.Clear();
    runMenu.Clear();
    ejectMenu.Clear();
    if (!watchMenu.visible && !runMenu.visible && !ejectMenu.visible)
        return;

    for (int drive = 1; drive <= 26; ++drive) {
        char letter = DriveLetter(drive);
        Text caption = DriveItemCaption(GetDriveTypeW(DriveRoot(letter).c_str()), letter);
        if (caption.empty())
            continue;
        Text name(1, letter);

        MenuItem& watch = watchMenu.Add(caption, onWatch);
        watch.tag = drive;
        watch.visible = !ntFamily;
        // A choice made since the start is written only at the end; a rebuild keeps it.
        auto chosen = FWatchChoices.find(letter);
        bool watched =
            chosen != FWatchChoices.end() ? chosen->second : GetSettingInt(KickonSection, name, 0) == 1;
        watch.SetChecked(watched);
        watch.hint = watched ? WatchHint(letter, MediumPresent(letter)) : name;

        MenuItem& run = runMenu.Add(caption, onRun);
        run.tag = drive;
        run.hint = name;

        MenuItem& eject = ejectMenu.Add(caption, onEject);
        eject.tag = drive;
        eject.hint = name;
        eject.visible = !ntFamily;
    }
}

void DriveWatch::ToggleWatch(MenuItem& item) {
    if (!item.checked() && AsksBeforeWatching(item.caption) &&
        ShowAppMessage("一部のﾘﾑｰﾊﾞﾌﾞﾙ機器(MO等)に設定すると不都合が生じ可能性があります。\n設定しますか？",
                       "", MB_ICONQUESTION | MB_YESNO) != IDYES)
        return;
    item.SetChecked(!item.checked());
    char letter = DriveLetter(item.tag);
    FWatchChoices[letter] = item.checked();
    // A medium already inside is taken as seen: only one inserted later starts anything.
    item.hint = item.checked() ? WatchHint(letter, MediumPresent(letter)) : Text(1, letter);
}

void DriveWatch::Eject(int driveNumber) {
    EjectMedia(driveNumber);
}

void DriveWatch::Poll() {
    MenuItem& watchMenu = *menu_.AutoRight;
    for (size_t i = 0; i < watchMenu.count(); ++i) {
        MenuItem& item = watchMenu[i];
        if (!item.checked())
            continue;
        char letter = DriveLetter(item.tag);
        WatchLook look = LookAtDrive(item.hint, letter, MediumPresent(letter));
        item.hint = look.hint;
        if (look.mediumArrived)
            RunAutorun(letter);
    }
}

void DriveWatch::RunAutorun(char driveLetter) {
    for (const char* name : {"autorun.inf", "track01.cda"}) {
        Text file = DriveRootFile(driveLetter, name);
        bool found;
        {
            QuietDriveErrors quiet;
            found = FileExists(file);
        }
        if (found) {
            ExecuteInfOrTrack(file, true);
            return;
        }
    }
}

void DriveWatch::Store() {
    MenuItem& watchMenu = *menu_.AutoRight;
    for (size_t i = 0; i < watchMenu.count(); ++i) {
        const MenuItem& item = watchMenu[i];
        SetSettingInt(KickonSection, Text(1, DriveLetter(item.tag)), item.checked() ? 1 : 0);
    }
}
