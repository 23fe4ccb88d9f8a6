// Shell shortcuts (.lnk) through the shell's link object.
#pragma once

#include "../jjstring.h"

// Show mode 1 saves "minimised", 2 "maximised"; any other leaves the default.
bool CreateShortcut(const Text& shortcutFile, const Text& target, const Text& workingDir,
                    const Text& iconFile, int iconIndex, int showMode);
// The target in its short form, or the path itself when the shortcut cannot be resolved.
Text GetShortcutTarget(const Text& shortcutFile);
