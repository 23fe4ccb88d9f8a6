#include "launch_rules.h"

#include "paths.h"

bool BeginsWithDriveLetter(const Text& target) {
    const char* cursor = target.c_str();
    if (NextChar(cursor) == 0)
        return false;
    return *cursor == ':';
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

bool IsMovedStartupEntry(const Text& name, bool isFolder) {
    return !isFolder && !name.empty() && name[0] != '.';
}
