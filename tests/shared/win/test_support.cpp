#include "test_support.h"

#include <shellapi.h>

#include <algorithm>

#include "paths.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/registry.h"

namespace {

void DeleteTree(const Text& path) {
    std::wstring from = Widen(path) + L'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&operation);
}

} // namespace

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

ScratchKey::ScratchKey(const Text& name) : path_("\\Software\\Morivane\\LumeraTests\\" + name) {
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path_.substr(1)).c_str());
}

ScratchKey::~ScratchKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path_.substr(1)).c_str());
}

ValueOverride::ValueOverride(HKEY root, const Text& key, const Text& name)
    : root_(root), key_(key), name_(name), old_(RegReadString(root, key, name, "")),
      existed_(RegValueExists(root, key, name)) {}

ValueOverride::~ValueOverride() {
    if (existed_)
        RegWriteString(root_, key_, name_, old_);
    else
        RegDeleteValue(root_, key_, name_);
}

void ValueOverride::Set(const Text& value) {
    RegWriteString(root_, key_, name_, value);
}

void ValueOverride::Remove() {
    RegDeleteValue(root_, key_, name_);
}

Text TestProgramDir() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return ExtractFileDir(Narrow(self));
}

void WriteBytes(const Text& path, const Text& bytes) {
    WriteFileBytes(path, bytes);
}

void InstallProbe(const Text& path) {
    CopyFileW(Widen(JoinPath(TestProgramDir(), "probe.exe")).c_str(), Widen(path).c_str(), FALSE);
    DeleteFileW(Widen(path + ".log").c_str());
}

std::wstring WaitForProbeLog(const Text& probePath, size_t lines, unsigned timeoutMs) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    std::wstring log;
    do {
        auto bytes = ReadFileBytes(probePath + ".log");
        if (bytes) {
            log.assign(reinterpret_cast<const wchar_t*>(bytes->data()), bytes->size() / sizeof(wchar_t));
            if (static_cast<size_t>(std::count(log.begin(), log.end(), L'\n')) >= lines)
                return log;
        }
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return log;
}
