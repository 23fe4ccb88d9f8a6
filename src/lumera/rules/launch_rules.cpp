#include "launch_rules.h"

#include "paths.h"

bool BeginsWithDriveLetter(const Text& target) {
    const char* cursor = target.c_str();
    if (NextChar(cursor) == 0)
        return false;
    return *cursor == ':';
}

bool BeginsWithDriveLetter(const std::wstring& target) {
    // The first character may be a surrogate pair.
    size_t second = !target.empty() && target[0] >= 0xD800 && target[0] <= 0xDBFF ? 2 : 1;
    return target.size() > second && target[second] == L':';
}

std::wstring DefaultCalculator(PlatformFamily family, const std::wstring& windowsDir,
                               const std::wstring& systemDir) {
    return JoinPath(family == PlatformNT ? systemDir : windowsDir, L"calc.exe");
}

Text ShutdownSwitch(int tag) {
    switch (tag) {
    case 1:
        return "-S";
    case 2:
        return "-R";
    case 3:
        return "-L";
    default:
        return Text();
    }
}

Text DisabledStartupFolder(const Text& startupFolder) {
    Text folder = RemoveBackslash(startupFolder);
    return folder.empty() ? Text() : folder + "[無効]";
}

std::wstring DisabledStartupFolder(const std::wstring& startupFolder) {
    std::wstring folder = RemoveBackslash(startupFolder);
    return folder.empty() ? std::wstring() : folder + L"[無効]";
}

bool IsMovedStartupEntry(const std::wstring& name, bool isFolder) {
    return !isFolder && !name.empty() && name[0] != L'.';
}

bool IsMovedStartupEntry(const Text& name, bool isFolder) {
    return !isFolder && !name.empty() && name[0] != '.';
}
