#include "test_support.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "paths.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/registry.h"

void DeleteTree(const std::wstring& path) {
    std::wstring from = path + L'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&operation);
}

void DeleteTree(const Text& path) {
    DeleteTree(Widen(path));
}

namespace {

// The Unix path of a Windows path under Wine; empty elsewhere.
std::string UnixPathOf(const std::wstring& path) {
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = convert ? convert(path.c_str()) : nullptr;
    if (!unix)
        return {};
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

// Runs a Unix program (Wine starts ELF files too, but tells no exit code of theirs).
void RunUnix(const wchar_t* program, std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return;
    CloseHandle(info.hThread);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
}

// Unix paths are UTF-8.
std::wstring Quoted(const std::string& unixPath) {
    std::wstring wide(unixPath.size(), L'\0');
    int length = MultiByteToWideChar(CP_UTF8, 0, unixPath.data(), static_cast<int>(unixPath.size()),
                                     wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length : 0);
    return L"\"" + wide + L"\"";
}

} // namespace

UnixLink::UnixLink(const std::wstring& link, const std::wstring& target) : unixLink_(UnixPathOf(link)) {
    std::string unixTarget = UnixPathOf(target);
    if (unixLink_.empty() || unixTarget.empty())
        return;
    RunUnix(L"Z:\\bin\\ln", L"ln -s " + Quoted(unixTarget) + L" " + Quoted(unixLink_));
    for (int wait = 0; wait < 100 && !made_; ++wait) {
        DWORD attributes = GetFileAttributesW(link.c_str());
        made_ = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        if (!made_)
            Sleep(20);
    }
}

UnixLink::~UnixLink() {
    if (!unixLink_.empty())
        RunUnix(L"Z:\\bin\\rm", L"rm -f " + Quoted(unixLink_));
}

ScratchFolder::ScratchFolder(const Text& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = JoinPath(Narrow(temp), "ソ表テスト\\" + name);
    DeleteTree(path_);
    CreateDirectoryW(Widen(ExtractFileDir(path_)).c_str(), nullptr);
    CreateDirectoryW(Widen(path_).c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    DeleteTree(path_);
}

Text ScratchFolder::file(const Text& name) const {
    return JoinPath(path_, name);
}

std::wstring ScratchFolder::file(const std::wstring& name) const {
    return JoinPath(Widen(path_), name);
}

ScratchKey::ScratchKey(const Text& name) : path_("\\Software\\Morivane\\LumeraTests\\" + name) {
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path_.substr(1)).c_str());
}

ScratchKey::~ScratchKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path_.substr(1)).c_str());
}

ValueOverride::ValueOverride(HKEY root, const Text& key, const Text& name)
    : root_(root), key_(key), name_(name), existed_(false) {
    // Raw and unexpanded, so the value goes back exactly as it was.
    DWORD size = 0;
    std::wstring wideKey = Widen(StripLeadingChars('\\', key)), wideName = Widen(name);
    if (RegGetValueW(root, wideKey.c_str(), wideName.c_str(),
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &oldType_, nullptr,
                     &size) != ERROR_SUCCESS)
        return;
    old_.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(old_.size() * sizeof(wchar_t));
    existed_ = RegGetValueW(root, wideKey.c_str(), wideName.c_str(),
                            RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &oldType_, old_.data(),
                            &size) == ERROR_SUCCESS;
    old_.resize(wcslen(old_.c_str()));
}

ValueOverride::~ValueOverride() {
    if (existed_ && oldType_ == REG_EXPAND_SZ)
        WriteExpandString(root_, key_, name_, old_);
    else if (existed_)
        RegWriteString(root_, key_, name_, old_);
    else
        RegDeleteValue(root_, key_, name_);
}

void ValueOverride::Set(const Text& value) {
    RegWriteString(root_, key_, name_, value);
}

void ValueOverride::Set(const std::wstring& value) {
    RegWriteString(root_, key_, name_, value);
}

void ValueOverride::Remove() {
    RegDeleteValue(root_, key_, name_);
}

ShellFolderOverride::ShellFolderOverride(const Text& name, const std::wstring& folder)
    : shell_(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
             name),
      user_(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
            name) {
    shell_.Set(folder);
    user_.Set(folder);
}

FakeProfile::FakeProfile(const std::wstring& folder)
    : path(folder), startMenu(JoinPath(folder, L"Start Menu")), programs(JoinPath(startMenu, L"Programs")),
      desktop(JoinPath(folder, L"Desktop")), sendTo(JoinPath(folder, L"SendTo")),
      startMenu_("Start Menu", startMenu), programs_("Programs", programs),
      startup_("Startup", JoinPath(programs, L"Startup")), desktop_("Desktop", desktop),
      sendTo_("SendTo", sendTo) {
    wchar_t saved[MAX_PATH] = L"";
    if (GetEnvironmentVariableW(L"USERPROFILE", saved, MAX_PATH) != 0)
        savedProfile_ = saved;
    SetEnvironmentVariableW(L"USERPROFILE", path.c_str());
    ForceDirectories(programs);
}

FakeProfile::~FakeProfile() {
    SetEnvironmentVariableW(L"USERPROFILE", savedProfile_ ? savedProfile_->c_str() : nullptr);
}

Text TestProgramDir() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return ExtractFileDir(Narrow(self));
}

Text BuiltProgram(const Text& exeName) {
    return TestProgramDir() + "\\..\\..\\bin\\" + exeName;
}

Text WindowsFolder() {
    wchar_t folder[MAX_PATH];
    GetWindowsDirectoryW(folder, MAX_PATH);
    return Narrow(std::wstring(folder));
}

bool WriteBytes(const Text& path, const Text& bytes) {
    return WriteFileBytes(path, bytes);
}

bool WriteBytes(const std::wstring& path, const Text& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeFile(const std::wstring& path, DWORD attributes) {
    return ForceDirectories(ExtractFileDir(path)) && WriteFileBytes(path, "x") &&
           SetFileAttributesW(path.c_str(), attributes);
}

std::optional<std::wstring> ReadWideValue(HKEY root, const Text& key, const Text& name) {
    std::wstring wideKey = Widen(StripLeadingChars('\\', key)), wideName = Widen(name);
    const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD size = 0;
    if (RegGetValueW(root, wideKey.c_str(), wideName.c_str(), flags, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(root, wideKey.c_str(), wideName.c_str(), flags, nullptr, value.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcslen(value.c_str()));
    return value;
}

void SetRegistryString(HKEY root, const Text& key, const Text& name, const std::optional<Text>& value) {
    if (value)
        RegWriteString(root, key, name, Widen(*value));
    else
        RegDeleteValue(root, key, name);
}

namespace {

const Text SettingsKey = "Software\\Morivane\\Lumera";

} // namespace

void ResetSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(SettingsKey).c_str());
}

std::optional<DWORD> SettingInt(const Text& section, const Text& name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, Widen(SettingsKey + "\\" + section).c_str(), Widen(name).c_str(),
                     RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::optional<Text> SettingString(const Text& section, const Text& name) {
    std::optional<std::wstring> value = ReadWideValue(HKEY_CURRENT_USER, SettingsKey + "\\" + section, name);
    if (!value)
        return std::nullopt;
    return Narrow(*value);
}

bool SetSettingIntRaw(const Text& section, const Text& name, DWORD value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, Widen(SettingsKey + "\\" + section).c_str(),
                           Widen(name).c_str(), REG_DWORD, &value, sizeof value) == ERROR_SUCCESS;
}

bool SetSettingStringRaw(const Text& section, const Text& name, const Text& value) {
    return RegWriteString(HKEY_CURRENT_USER, SettingsKey + "\\" + section, name, Widen(value));
}

void InstallProbe(const Text& path) {
    CopyFileW(Widen(JoinPath(TestProgramDir(), "probe.exe")).c_str(), Widen(path).c_str(), FALSE);
    DeleteFileW(Widen(path + ".log").c_str());
}

void InstallProbe(const std::wstring& path) {
    CopyFileW(Widen(JoinPath(TestProgramDir(), "probe.exe")).c_str(), path.c_str(), FALSE);
    DeleteFileW((path + L".log").c_str());
}

void DeleteKeyIfEmpty(HKEY root, const std::wstring& path) {
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD subkeys = 1, values = 1;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(key);
    if (subkeys == 0 && values == 0)
        RegDeleteKeyW(root, path.c_str());
}

bool WriteExpandString(HKEY root, const Text& key, const Text& name, const std::wstring& value) {
    return RegSetKeyValueW(root, Widen(StripLeadingChars('\\', key)).c_str(), Widen(name).c_str(),
                           REG_EXPAND_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring ProbeLog(const std::wstring& probePath) {
    auto bytes = ReadFileBytes(probePath + L".log");
    if (!bytes)
        return std::wstring();
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes->data()), bytes->size() / sizeof(wchar_t));
}

std::wstring ProbeLog(const Text& probePath) {
    return ProbeLog(Widen(probePath));
}

std::vector<std::wstring> ProbeLogLines(const Text& probePath) {
    return ProbeLogLines(Widen(probePath));
}

std::vector<std::wstring> ProbeLogLines(const std::wstring& probePath) {
    std::vector<std::wstring> lines;
    std::wstring log = ProbeLog(probePath);
    for (size_t start = 0, end; (end = log.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        lines.push_back(log.substr(start, end - start));
    return lines;
}

std::wstring WaitForProbeLog(const Text& probePath, size_t lines, unsigned timeoutMs) {
    return WaitForProbeLog(Widen(probePath), lines, timeoutMs);
}

std::wstring WaitForProbeLog(const std::wstring& probePath, size_t lines, unsigned timeoutMs) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    std::wstring log;
    do {
        log = ProbeLog(probePath);
        if (static_cast<size_t>(std::count(log.begin(), log.end(), L'\n')) >= lines)
            return log;
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return log;
}

namespace {

const wchar_t* const SessionManagerKey = L"System\\CurrentControlSet\\Control\\Session Manager";
const wchar_t* const PendingValue = L"PendingFileRenameOperations";

std::wstring ReadPendingRenames() {
    DWORD size = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, SessionManagerKey, PendingValue, RRF_RT_REG_MULTI_SZ, nullptr,
                     nullptr, &size) != ERROR_SUCCESS ||
        size == 0)
        return std::wstring();
    std::wstring data(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, SessionManagerKey, PendingValue, RRF_RT_REG_MULTI_SZ, nullptr,
                     data.data(), &size) != ERROR_SUCCESS)
        return std::wstring();
    data.resize(size / sizeof(wchar_t));
    return data;
}

// Pairs of strings; a source is never empty, so the first empty one ends the list.
std::vector<PendingRenames::Move> PendingMoves(const std::wstring& data) {
    std::vector<std::wstring> strings;
    for (size_t at = 0; at < data.size();) {
        size_t end = data.find(L'\0', at);
        if (end == std::wstring::npos)
            end = data.size();
        strings.push_back(data.substr(at, end - at));
        at = end + 1;
    }
    std::vector<PendingRenames::Move> moves;
    for (size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2)
        moves.emplace_back(strings[i], strings[i + 1]);
    return moves;
}

} // namespace

PendingRenames::PendingRenames() : saved_(ReadPendingRenames()) {}

PendingRenames::~PendingRenames() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SessionManagerKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (saved_.empty())
        RegDeleteValueW(key, PendingValue);
    else
        RegSetValueExW(key, PendingValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(saved_.data()),
                       static_cast<DWORD>(saved_.size() * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::vector<PendingRenames::Move> PendingRenames::Added() const {
    const std::vector<Move> now = PendingMoves(ReadPendingRenames());
    const size_t before = PendingMoves(saved_).size();
    return now.size() > before ? std::vector<Move>(now.begin() + before, now.end()) : std::vector<Move>();
}
