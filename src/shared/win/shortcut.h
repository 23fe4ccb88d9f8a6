// Shell shortcuts (.lnk) through the shell's link object. Nothing here shows the shell's
// search dialog: a broken link is resolved quietly or not at all.
#pragma once

#include <string>

#include "../jjstring.h"

// Show mode 1 saves "minimised", 2 "maximised"; any other leaves the default. True when
// the shortcut was saved; a file, target, folder or icon path the link cannot hold
// whole (260 characters or more) is refused before anything is written.
bool CreateShortcut(const Text& shortcutFile, const Text& target, const Text& workingDir,
                    const Text& iconFile, int iconIndex, int showMode);
bool CreateShortcut(const std::wstring& shortcutFile, const std::wstring& target,
                    const std::wstring& workingDir, const std::wstring& iconFile, int iconIndex,
                    int showMode);
// The target in its short form, or the path itself when the shortcut cannot be resolved
// (or, for the CP932 form, when CP932 cannot hold the target).
Text GetShortcutTarget(const Text& shortcutFile);
std::wstring GetShortcutTarget(const std::wstring& shortcutFile);
