// The data file's path macros and start-menu locations, expanded to UTF-16 paths so
// that shell folders under a profile such as "C:\Users\José" stay whole.
#pragma once

#include <string>

#include "jjstring.h"

// What the wizard's fields hold when paths are expanded: the installation folder
// ("<Setup>") and the program group ("<Default>" and locations without a prefix).
struct PathContext {
    std::wstring installFolder;
    std::wstring programGroup;
};

// "<Setup>", "<Prog>", "<Win>", "<Sys>", "<Media>", "<BootDir>" or "<Start>" at the very
// start (case matters) is replaced by its folder; text without one is kept. The result
// has no trailing "\" except at a drive root ("D:\"). A macro whose folder is unknown
// expands to the empty text, never to a path at the root of the current drive.
std::wstring ExpandPath(const Text& text, const PathContext& context);

// The shortcut file of a start-menu location ("<Startup>", "<Startup2>", "<Default>",
// "<Program>" or none), ".lnk" appended unless present; empty when its folder is unknown.
std::wstring ExpandShortcutPath(const Text& location, const PathContext& context);

// A desktop or Send To shortcut file: the location inside the folder, ".lnk" appended
// unless present; empty when the folder is.
std::wstring ShortcutFileIn(const std::wstring& folder, const Text& location);

// The Programs folder joined with the program group.
std::wstring ProgramGroupFolder(const PathContext& context);

// A path that names one place whatever the current drive and folder: a drive letter, ":"
// and "\" ("C:\Apps"), or a share ("\\server\share\Apps"). "Apps", "C:Apps" and "\Apps"
// are not.
bool IsFullPath(const std::wstring& path);
