#include "drive_rules.h"

#include <cstring>

char DriveLetter(int driveNumber) {
    return static_cast<char>('A' + driveNumber - 1);
}

Text DriveItemCaption(unsigned driveType, char letter) {
    Text drive = Text(1, letter) + ":)";
    if (driveType == DriveTypeRemovable)
        return "FD/ﾘﾑｰﾊﾞﾌﾞﾙ (" + drive;
    if (driveType == DriveTypeCdRom)
        return "CD-ROM (" + drive;
    return Text();
}

bool AsksBeforeWatching(const Text& caption) {
    static const char removable[] = "ﾘﾑｰﾊﾞﾌﾞﾙ";
    const size_t length = std::strlen(removable);
    // Compared only at character starts: a trail byte may equal a half-width kana.
    for (const char* cursor = caption.c_str(); *cursor != '\0';) {
        if (std::strncmp(cursor, removable, length) == 0)
            return true;
        NextChar(cursor);
    }
    return false;
}

Text WatchHint(char letter, bool mediumPresent) {
    return Text(1, letter) + (mediumPresent ? '1' : '0');
}

WatchLook LookAtDrive(const Text& hint, char letter, bool mediumPresent) {
    char seen = hint.size() >= 2 ? hint[1] : '\0';
    char now = mediumPresent ? '1' : '0';
    if (seen == now)
        return {hint, false};
    return {WatchHint(letter, mediumPresent), mediumPresent};
}

Text DriveRootFile(char letter, const Text& name) {
    return Text(1, letter) + ":\\" + name;
}
