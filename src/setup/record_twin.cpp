#include "record_twin.h"

#include <cwchar>
#include <map>

#include "win/registry.h"

namespace {

const wchar_t* const SystemUninstallList = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t* const SharedDllsKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::wstring WithoutLeadingBackslash(const std::wstring& key) {
    return !key.empty() && key[0] == L'\\' ? key.substr(1) : key;
}

std::wstring FilesKey(const std::wstring& appName) {
    return RecordTwinKey(appName) + L"\\Files";
}

std::wstring Upper(std::wstring text) {
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const StoredValue& other) const { return type == other.type && data == other.data; }
};

// Every value of the key as stored, by upper-cased name (names are case-blind); false when
// the key cannot be opened.
bool ReadAllValues(HKEY root, const std::wstring& key, std::map<std::wstring, StoredValue>& values) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, WithoutLeadingBackslash(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    DWORD count = 0, longestName = 0, longestData = 0;
    bool ok = RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                               &longestName, &longestData, nullptr, nullptr) == ERROR_SUCCESS;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(longestData + 1);
    for (DWORD index = 0; ok && index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size());
        StoredValue value;
        ok = RegEnumValueW(opened, index, name.data(), &nameLength, nullptr, &value.type, data.data(),
                           &dataSize) == ERROR_SUCCESS;
        if (ok) {
            value.data.assign(data.begin(), data.begin() + dataSize);
            values[Upper(std::wstring(name.data(), nameLength))] = value;
        }
    }
    RegCloseKey(opened);
    return ok;
}

// Removes every value of the key; its subkeys stay.
void DeleteAllValues(HKEY root, const std::wstring& key) {
    std::map<std::wstring, StoredValue> values;
    if (!ReadAllValues(root, key, values))
        return;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, WithoutLeadingBackslash(key).c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS)
        return;
    for (const auto& value : values)
        RegDeleteValueW(opened, value.first.c_str());
    RegCloseKey(opened);
}

bool ReadDword(const std::wstring& key, const std::wstring& name, DWORD& value) {
    DWORD size = sizeof value;
    return RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS;
}

bool WriteDword(const std::wstring& key, const std::wstring& name, DWORD value) {
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), REG_DWORD, &value, sizeof value) ==
           ERROR_SUCCESS;
}

} // namespace

std::wstring SystemUninstallEntryKey(const std::wstring& appName) {
    return L"\\" + std::wstring(SystemUninstallList) + appName;
}

std::wstring RecordTwinKey(const std::wstring& appName) {
    return SystemUninstallEntryKey(appName) + L"\\BrisaSetup";
}

std::wstring FormatOwnership(const FileOwnership& ownership) {
    switch (ownership.claim) {
    case FileClaim::Copied:
        return L"copied " + std::to_wstring(ownership.size) + L" " + std::to_wstring(ownership.writeTime) +
               (ownership.beside.empty() ? L"" : L" beside " + ownership.beside);
    case FileClaim::Later:
        return L"later";
    case FileClaim::Shared:
        return L"shared";
    case FileClaim::None:
        break;
    }
    return std::wstring();
}

FileOwnership ParseOwnership(const std::wstring& text) {
    FileOwnership ownership;
    unsigned long long size = 0, time = 0;
    int end = -1;
    if (text == L"later") {
        ownership.claim = FileClaim::Later;
    } else if (text == L"shared") {
        ownership.claim = FileClaim::Shared;
    } else if (std::swscanf(text.c_str(), L"copied %llu %llu%n", &size, &time, &end) == 2 && end > 0) {
        const std::wstring rest = text.substr(static_cast<size_t>(end));
        const std::wstring besidePrefix = L" beside ";
        if (rest.empty())
            ownership = {FileClaim::Copied, size, time, std::wstring()};
        // A name in the same folder, never a path.
        else if (rest.compare(0, besidePrefix.size(), besidePrefix) == 0 &&
                 rest.size() > besidePrefix.size() &&
                 rest.find_first_of(L"\\/:", besidePrefix.size()) == std::wstring::npos)
            ownership = {FileClaim::Copied, size, time, rest.substr(besidePrefix.size())};
    }
    return ownership;
}

bool IsClaimedFile(const std::wstring& path, const FileOwnership& ownership) {
    WIN32_FILE_ATTRIBUTE_DATA facts;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &facts) ||
        (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const unsigned long long size =
        (static_cast<unsigned long long>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
    const unsigned long long time =
        (static_cast<unsigned long long>(facts.ftLastWriteTime.dwHighDateTime) << 32) |
        facts.ftLastWriteTime.dwLowDateTime;
    return size == ownership.size && time == ownership.writeTime;
}

std::wstring WaitingCopy(const std::wstring& path, const FileOwnership& ownership) {
    const size_t slash = path.rfind(L'\\');
    if (ownership.claim != FileClaim::Copied || ownership.beside.empty() || slash == std::wstring::npos)
        return std::wstring();
    // "<name>.new", "<name>.new2", ...: the names the install gives such a copy.
    const std::wstring name = path.substr(slash + 1) + L".new";
    const std::wstring& beside = ownership.beside;
    if (beside.size() < name.size() ||
        CompareStringOrdinal(beside.c_str(), static_cast<int>(name.size()), name.c_str(),
                             static_cast<int>(name.size()), TRUE) != CSTR_EQUAL ||
        beside.find_first_not_of(L"0123456789", name.size()) != std::wstring::npos)
        return std::wstring();
    const std::wstring copy = path.substr(0, slash + 1) + beside;
    return IsClaimedFile(copy, ownership) ? copy : std::wstring();
}

RecordWriter::RecordWriter(const std::wstring& appName, bool withTwin)
    : appName_(appName), withTwin_(withTwin) {
    if (appName_.empty())
        return;
    // What an earlier install of the product recorded must not outlive this one's record.
    DeleteAllValues(HKEY_CURRENT_USER, UninstallRecordKey(appName_));
    if (withTwin_)
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, WithoutLeadingBackslash(RecordTwinKey(appName_)).c_str());
}

bool RecordWriter::Write(const std::wstring& name, const std::wstring& text) {
    const bool user = WriteRecordValue(appName_, name, text);
    if (!withTwin_)
        return user;
    // The twin first would make no difference: the check needs both.
    return RegWriteString(HKEY_LOCAL_MACHINE, RecordTwinKey(appName_), name, text) && user;
}

bool RecordWriter::Claim(int fileIndex, const FileOwnership& ownership) {
    if (!withTwin_ || appName_.empty() || ownership.claim == FileClaim::None)
        return true;
    return RegWriteString(HKEY_LOCAL_MACHINE, FilesKey(appName_),
                          RecordValueName(RecordList::File, fileIndex), FormatOwnership(ownership));
}

TwinCheck CheckRecordTwin(const std::wstring& appName) {
    if (appName.empty())
        return TwinCheck::Missing;
    std::map<std::wstring, StoredValue> twin, user;
    if (!ReadAllValues(HKEY_LOCAL_MACHINE, RecordTwinKey(appName), twin) || twin.empty())
        return TwinCheck::Missing;
    if (!ReadAllValues(HKEY_CURRENT_USER, UninstallRecordKey(appName), user))
        return TwinCheck::Differs;
    return user == twin ? TwinCheck::Matches : TwinCheck::Differs;
}

UninstallRecord ReadRecordTwin(const std::wstring& appName) {
    if (appName.empty())
        return UninstallRecord();
    return ReadUninstallRecordAt(HKEY_LOCAL_MACHINE, RecordTwinKey(appName));
}

std::vector<FileOwnership> ReadFileClaims(const std::wstring& appName, size_t files) {
    std::vector<FileOwnership> claims(files);
    for (size_t i = 0; i < files && !appName.empty(); ++i)
        claims[i] = ParseOwnership(RegReadString(HKEY_LOCAL_MACHINE, FilesKey(appName),
                                                 RecordValueName(RecordList::File, static_cast<int>(i + 1)),
                                                 std::wstring()));
    return claims;
}

void DropFileClaim(const std::wstring& appName, int fileIndex) {
    if (!appName.empty())
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, WithoutLeadingBackslash(FilesKey(appName)).c_str(),
                           RecordValueName(RecordList::File, fileIndex).c_str());
}

unsigned long SharedUseCount(const std::wstring& path) {
    DWORD count = 0;
    return ReadDword(SharedDllsKey, path, count) ? count : 0;
}

bool AddSharedUse(const std::wstring& path, bool existedBefore) {
    DWORD count = 0;
    if (!ReadDword(SharedDllsKey, path, count))
        count = existedBefore ? 1 : 0;
    return WriteDword(SharedDllsKey, path, count + 1);
}

bool ReleaseSharedUse(const std::wstring& path, unsigned long& left) {
    DWORD count = 0;
    if (!ReadDword(SharedDllsKey, path, count))
        return false;
    left = count > 1 ? count - 1 : 0;
    if (left > 0)
        return WriteDword(SharedDllsKey, path, left);
    return RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, SharedDllsKey, path.c_str()) == ERROR_SUCCESS;
}
