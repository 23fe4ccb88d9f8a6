// Parking the Startup folder's items in its disabled twin and putting them back.
#include "startup_parking.h"

#include "launch_rules.h"
#include "paths.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/handles.h"

namespace {

// The names of the files directly in a folder that are moved when parking or restoring.
std::vector<Text> MovedEntries(const Text& folder) {
    std::vector<Text> names;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Widen(JoinPath(folder, "*.*")).c_str(), &found));
    if (!search)
        return names;
    do {
        Text name = Narrow(found.cFileName);
        if (IsMovedStartupEntry(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0))
            names.push_back(name);
    } while (FindNextFileW(search.get(), &found));
    return names;
}

// Moves each file under its own name; a name already taken on the other side keeps both
// files where they are.
void MoveEntries(const Text& from, const Text& to) {
    for (const Text& name : MovedEntries(from))
        MoveFileW(Widen(JoinPath(from, name)).c_str(), Widen(JoinPath(to, name)).c_str());
}

bool HoldsShortcut(const Text& folder) {
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Widen(JoinPath(folder, "*.lnk")).c_str(), &found));
    if (!search)
        return false;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return true;
    } while (FindNextFileW(search.get(), &found));
    return false;
}

} // namespace

void StartupParking::Mark(bool parked) {
    menu_.StartUpFalseRight->SetChecked(parked);
    menu_.StartUpTrueRight->SetChecked(!parked);
}

void StartupParking::ShowState() {
    Text parked = DisabledStartupFolder(GetShellFolder("Startup"));
    Mark(!parked.empty() && HoldsShortcut(parked));
}

void StartupParking::Park() {
    Text startup = RemoveBackslash(GetShellFolder("Startup"));
    Text parked = DisabledStartupFolder(startup);
    if (!parked.empty()) {
        ForceDirectories(parked);
        if (DirectoryExists(parked))
            MoveEntries(startup, parked);
    }
    Mark(true);
}

void StartupParking::Restore() {
    Text startup = RemoveBackslash(GetShellFolder("Startup"));
    Text parked = DisabledStartupFolder(startup);
    if (!parked.empty()) {
        MoveEntries(parked, startup);
        RemoveDirectoryW(Widen(parked).c_str()); // only when nothing stayed behind
    }
    Mark(false);
}
