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

std::wstring ReadValue(const std::wstring& appName, const std::wstring& valueName) {
    if (appName.empty())
        return std::wstring();
    return RegReadString(HKEY_CURRENT_USER, UninstallRecordKey(appName), valueName, std::wstring());
}

std::vector<Text> ReadEntries(const std::wstring& appName, RecordList list) {
    std::vector<Text> entries;
    for (const std::wstring& stored : ReadRecordList(appName, list)) {
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
    std::vector<std::wstring> values;
    for (int index = 1;; ++index) {
        std::wstring value = ReadValue(appName, RecordValueName(list, index));
        if (value.empty())
            break;
        values.push_back(value);
    }
    return values;
}

UninstallRecord ReadUninstallRecord(const std::wstring& appName) {
    UninstallRecord record;
    record.dateTime = ReadValue(appName, L"DateTime");
    if (!record.present())
        return record;
    record.setupPath = ReadValue(appName, L"SetupPath");
    record.startPath = ReadValue(appName, L"StartPath");
    record.files = ReadRecordList(appName, RecordList::File);
    record.dirs = ReadRecordList(appName, RecordList::Dir);
    record.startNames = ReadRecordList(appName, RecordList::StartName);
    record.deskTopNames = ReadRecordList(appName, RecordList::DeskTopName);
    record.sendToNames = ReadRecordList(appName, RecordList::SendToName);
    record.regWrites = ReadEntries(appName, RecordList::RegWrite);
    record.regDeletes = ReadEntries(appName, RecordList::RegDelete);
    record.regStrings = ReadEntries(appName, RecordList::RegString);
    record.regIntegers = ReadEntries(appName, RecordList::RegInteger);
    record.regSecs = ReadEntries(appName, RecordList::RegSec);
    record.regKeys = ReadEntries(appName, RecordList::RegKey);
    record.executes = ReadRecordList(appName, RecordList::Execute);
    record.favourites = ReadValue(appName, L"Favorites");
    return record;
}

long RecordEscToClose(const std::wstring& appName) {
    Text key;
    if (appName.empty() || !NarrowExact(UninstallRecordKey(appName) + L"\\OtherSet", key))
        return 1;
    return RegReadInteger(HKEY_CURRENT_USER, key, "EscToClose", 1);
}
