#include "uninstall_record.h"

#include "win/encoding.h"
#include "win/registry.h"

namespace {

const wchar_t* const RecordRoot = L"\\Software\\Morivane\\BrisaSetup\\";

// In the order of RecordList.
const wchar_t* const Stems[] = {L"File",       L"Dir",      L"StartName", L"DeskTopName",
                                L"SendToName", L"RegWrite", L"RegDelete", L"RegString",
                                L"RegInteger", L"RegSec",   L"RegKey",    L"Execute"};
static_assert(sizeof Stems / sizeof Stems[0] == static_cast<size_t>(RecordList::Execute) + 1);

const wchar_t* Stem(RecordList list) {
    return Stems[static_cast<size_t>(list)];
}

// Where a record is read from: the user's record, or its twin.
struct RecordPlace {
    HKEY root;
    std::wstring key;
};

std::wstring ReadValue(const RecordPlace& place, const std::wstring& valueName) {
    if (place.key.empty())
        return std::wstring();
    return RegReadString(place.root, place.key, valueName, std::wstring());
}

RecordPlace UserRecord(const std::wstring& appName) {
    return {HKEY_CURRENT_USER, appName.empty() ? std::wstring() : UninstallRecordKey(appName)};
}

std::vector<std::wstring> ReadList(const RecordPlace& place, RecordList list) {
    std::vector<std::wstring> values;
    for (int index = 1;; ++index) {
        std::wstring value = ReadValue(place, RecordValueName(list, index));
        if (value.empty())
            break;
        values.push_back(value);
    }
    return values;
}

std::vector<Text> ReadEntries(const RecordPlace& place, RecordList list) {
    std::vector<Text> entries;
    for (const std::wstring& stored : ReadList(place, list)) {
        Text entry;
        if (NarrowExact(stored, entry))
            entries.push_back(entry);
    }
    return entries;
}

std::wstring AskFormat(int (*format)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int),
                       const SYSTEMTIME& time, DWORD flags) {
    wchar_t buffer[128];
    int length = format(LOCALE_USER_DEFAULT, flags, &time, nullptr, buffer, 128);
    return length > 0 ? std::wstring(buffer, length - 1) : std::wstring();
}

} // namespace

std::wstring UninstallRecordKey(const std::wstring& appName) {
    return RecordRoot + appName;
}

std::wstring RecordValueName(RecordList list, int index) {
    return Stem(list) + std::to_wstring(index);
}

bool WriteRecordValue(const std::wstring& appName, const std::wstring& valueName, const std::wstring& text) {
    // An empty name would write into the key every record shares.
    if (appName.empty())
        return false;
    return RegWriteString(HKEY_CURRENT_USER, UninstallRecordKey(appName), valueName, text);
}

bool WriteRecordValue(const std::wstring& appName, const std::wstring& valueName, const Text& text) {
    return WriteRecordValue(appName, valueName, Widen(text));
}

std::wstring RecordDateTimeText(const SYSTEMTIME& localTime) {
    std::wstring date = AskFormat(GetDateFormatW, localTime, DATE_SHORTDATE);
    std::wstring time = AskFormat(GetTimeFormatW, localTime, 0);
    return date.empty() || time.empty() ? date + time : date + L" " + time;
}

bool WriteRecordDateTime(const std::wstring& appName, const SYSTEMTIME& localTime) {
    std::wstring text = RecordDateTimeText(localTime);
    return !text.empty() && WriteRecordValue(appName, L"DateTime", text);
}

std::vector<std::wstring> ReadRecordList(const std::wstring& appName, RecordList list) {
    return ReadList(UserRecord(appName), list);
}

UninstallRecord ReadUninstallRecord(const std::wstring& appName) {
    const RecordPlace place = UserRecord(appName);
    return ReadUninstallRecordAt(place.root, place.key);
}

UninstallRecord ReadUninstallRecordAt(HKEY root, const std::wstring& key) {
    const RecordPlace place{root, key};
    UninstallRecord record;
    record.dateTime = ReadValue(place, L"DateTime");
    if (!record.present())
        return record;
    record.setupPath = ReadValue(place, L"SetupPath");
    record.startPath = ReadValue(place, L"StartPath");
    record.files = ReadList(place, RecordList::File);
    record.dirs = ReadList(place, RecordList::Dir);
    record.startNames = ReadList(place, RecordList::StartName);
    record.deskTopNames = ReadList(place, RecordList::DeskTopName);
    record.sendToNames = ReadList(place, RecordList::SendToName);
    record.regWrites = ReadEntries(place, RecordList::RegWrite);
    record.regDeletes = ReadEntries(place, RecordList::RegDelete);
    record.regStrings = ReadEntries(place, RecordList::RegString);
    record.regIntegers = ReadEntries(place, RecordList::RegInteger);
    record.regSecs = ReadEntries(place, RecordList::RegSec);
    record.regKeys = ReadEntries(place, RecordList::RegKey);
    record.executes = ReadList(place, RecordList::Execute);
    record.favourites = ReadValue(place, L"Favorites");
    return record;
}

long RecordEscToClose(const std::wstring& appName) {
    Text key;
    if (appName.empty() || !NarrowExact(UninstallRecordKey(appName) + L"\\OtherSet", key))
        return 1;
    return RegReadInteger(HKEY_CURRENT_USER, key, "EscToClose", 1);
}
