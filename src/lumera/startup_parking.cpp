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
// Names stay as the platform gives them: "한글 메모.lnk" narrowed would name no file.
std::vector<std::wstring> MovedEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(JoinPath(folder, L"*.*").c_str(), &found));
    if (!search)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (IsMovedStartupEntry(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0))
            names.push_back(name);
    } while (FindNextFileW(search.get(), &found));
    return names;
}

// Moves each file under its own name; a name already taken on the other side keeps both
// files where they are.
void MoveEntries(const std::wstring& from, const std::wstring& to) {
    for (const std::wstring& name : MovedEntries(from))
        MoveFileW(JoinPath(from, name).c_str(), JoinPath(to, name).c_str());
}

bool HoldsShortcut(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(JoinPath(folder, L"*.lnk").c_str(), &found));
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
    std::wstring parked = DisabledStartupFolder(GetShellFolderWide("Startup"));
    Mark(!parked.empty() && HoldsShortcut(parked));
}

void StartupParking::Park() {
    std::wstring startup = RemoveBackslash(GetShellFolderWide("Startup"));
    std::wstring parked = DisabledStartupFolder(startup);
    if (!parked.empty()) {
        ForceDirectories(parked);
        if (DirectoryExists(parked))
            MoveEntries(startup, parked);
    }
    Mark(true);
}

void StartupParking::Restore() {
    std::wstring startup = RemoveBackslash(GetShellFolderWide("Startup"));
    std::wstring parked = DisabledStartupFolder(startup);
    if (!parked.empty()) {
        MoveEntries(parked, startup);
        RemoveDirectoryW(parked.c_str()); // only when nothing stayed behind
    }
    Mark(false);
}
