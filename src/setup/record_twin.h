// The uninstall record lives under HKEY_CURRENT_USER, where every program the user runs can
// change it, while the uninstaller runs with administrator rights. So the install keeps a
// twin of the record where only administrators can write: the key "BrisaSetup" of the
// product's entry in the system's uninstall list (HKEY_LOCAL_MACHINE). The uninstaller acts
// only when the user's record equals its twin value for value, and then works from the twin.
//
// The twin also says which recorded files this product put there (its subkey "Files"), so
// that an uninstall leaves alone what another product or the user had in place.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "uninstall_record.h"

// HKEY_LOCAL_MACHINE "\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\" + AppName.
std::wstring SystemUninstallEntryKey(const std::wstring& appName);
// The twin: the uninstall entry's subkey "BrisaSetup".
std::wstring RecordTwinKey(const std::wstring& appName);

// How a recorded file came to be where it is.
enum class FileClaim {
    None,   // there before the install and not ours: it stays
    Copied, // copied by the install: it goes while it is still the file copied (size, time)
    Later,  // not there at the install; the product makes it as it runs: it goes
    Shared, // in the Windows or system folder, counted under SharedDLLs: the last user removes it
};

struct FileOwnership {
    FileClaim claim = FileClaim::None;
    unsigned long long size = 0;
    unsigned long long writeTime = 0; // FILETIME as one number
    // Copied, but a running program held the destination: the copy waits beside it under
    // this name (same folder) for the system to move it over at the next restart.
    std::wstring beside{};
};

// The stored form, "copied <size> <time>" (then " beside <name>" for a copy still waiting),
// "later", "shared"; None for anything else.
std::wstring FormatOwnership(const FileOwnership& ownership);
FileOwnership ParseOwnership(const std::wstring& text);

// The file is there with the claimed size and time.
bool IsClaimedFile(const std::wstring& path, const FileOwnership& ownership);
// The claimed copy still waiting beside the file for the system to move it over at the
// next restart, or empty. Only the claim in the administrators' twin names it, and only
// the very copy the install made (size, time) counts, so no other program can pass a
// file of its own off as one.
std::wstring WaitingCopy(const std::wstring& path, const FileOwnership& ownership);

// Writes a record afresh: the constructor removes every value of the user's record (its
// subkeys, such as "OtherSet", stay) and, with a twin, the whole twin; each Write then goes
// to both. Without a twin (no uninstall entry) only the user's record is written.
class RecordWriter {
public:
    RecordWriter(const std::wstring& appName, bool withTwin);
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // False when either copy could not be written.
    bool Write(const std::wstring& name, const std::wstring& text);
    // The ownership of the record's File<index>; a file claimed None is not stored.
    bool Claim(int fileIndex, const FileOwnership& ownership);

private:
    std::wstring appName_;
    bool withTwin_;
};

enum class TwinCheck {
    Matches, // the user's record is exactly what the install wrote
    Missing, // no twin: not written by this installer (or by one before the twin existed)
    Differs, // a value was added, removed or changed since the install
};
TwinCheck CheckRecordTwin(const std::wstring& appName);

// The record as the twin holds it; not present when there is none.
UninstallRecord ReadRecordTwin(const std::wstring& appName);
// The ownership of the twin's File1, File2, ... (one per recorded file, None where unclaimed).
std::vector<FileOwnership> ReadFileClaims(const std::wstring& appName, size_t files);
// The uninstaller has dealt with File<index> for good (a shared file's use count is down).
void DropFileClaim(const std::wstring& appName, int fileIndex);

// The platform's use count of a shared file, under HKEY_LOCAL_MACHINE
// "\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs", a value named by the full path.
// 0 when there is none.
unsigned long SharedUseCount(const std::wstring& path);
// One more user. A file that was already in place without a count had a user of its own,
// so its count starts at 1 before this one is added.
bool AddSharedUse(const std::wstring& path, bool existedBefore);
// One user fewer: false when there was no count (then nothing changes and the file stays),
// else the count left; at 0 the value is gone and the file may go.
bool ReleaseSharedUse(const std::wstring& path, unsigned long& left);
