// Where things are: platform family, user name, Windows and system folders, setup paths,
// the user's shell folders with their fallbacks, and short and long path forms.
// Nothing fails loudly: a failed platform call gives the empty text or the fallback.
#pragma once

#include "../jjstring.h"
#include "../platform_rules.h"

PlatformFamily GetPlatformFamily();
Text GetUserNameText();
Text GetWindowsDir();
Text GetSystemDir();
Text GetSetupPath(const Text& name);
Text GetShellFolder(const Text& name);
Text GetShortPath(const Text& path);
Text GetLongName(const Text& path);
Text GetLongPath(const Text& path);
