// What the installer records of one product under HKEY_CURRENT_USER
// "\Software\Morivane\BrisaSetup\" + AppName, for the uninstaller to undo. Paths are kept
// as UTF-16 (a profile "C:\Users\José" survives); registry entries are the data file's
// CP932 text, unchanged. The installer writes value by value, as its progress counts them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "jjstring.h"

// The numbered lists of a record: value names "File1", "File2", … read up to the first
// empty value. RegString, RegInteger, RegSec and RegKey are only found in old records.
enum class RecordList {
    File,
    Dir,
    StartName,
    DeskTopName,
    SendToName,
    RegWrite,
    RegDelete,
    RegString,
    RegInteger,
    RegSec,
    RegKey,
    Execute, // a program of the installation with its parameters, run before anything goes
};

// "\Software\Morivane\BrisaSetup\" + AppName.
std::wstring UninstallRecordKey(const std::wstring& appName);
// The list's stem followed by the decimal index: RecordValueName(RecordList::DeskTopName, 2)
// is "DeskTopName2".
std::wstring RecordValueName(RecordList list, int index);

// Each writes one string value, creating the key; false on failure or for an empty AppName.
bool WriteRecordValue(const std::wstring& appName, const std::wstring& valueName, const std::wstring& text);
bool WriteRecordValue(const std::wstring& appName, const std::wstring& valueName, const Text& text);
// "DateTime", whose presence makes the record valid: the given local time as the
// platform's short date followed by its time.
bool WriteRecordDateTime(const std::wstring& appName, const SYSTEMTIME& localTime);
std::wstring RecordDateTimeText(const SYSTEMTIME& localTime);

struct UninstallRecord {
    std::wstring dateTime, setupPath, startPath;
    std::vector<std::wstring> files, dirs, startNames, deskTopNames, sendToNames;
    // A stored entry CP932 cannot hold did not come from a data file and is left out.
    std::vector<Text> regWrites, regDeletes, regStrings, regIntegers, regSecs, regKeys;
    std::vector<std::wstring> executes;
    // "Favorites": the favourites link this install wrote, when it wrote one.
    std::wstring favourites;

    bool present() const { return !dateTime.empty(); }
};

// The whole record; an empty one (not present) when there is none.
UninstallRecord ReadUninstallRecord(const std::wstring& appName);
// A record kept under another key, such as its twin (see record_twin.h).
UninstallRecord ReadUninstallRecordAt(HKEY root, const std::wstring& key);
std::vector<std::wstring> ReadRecordList(const std::wstring& appName, RecordList list);
// "EscToClose" of the record's "OtherSet" subkey, 1 when absent.
long RecordEscToClose(const std::wstring& appName);
