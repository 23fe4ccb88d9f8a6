// Path operations on CP932 paths. Every search for "\" and ":" steps by characters,
// so a trail byte 0x5C ("ソ", "表") is never taken for a separator.
//
// Each has a wide twin for paths that come from the platform and go back to it as
// UTF-16, so names CP932 cannot hold ("café", "한글", "😀") stay whole.
#pragma once

#include <string>

#include "textops.h"

Text AddBackslash(const Text& path);
Text RemoveBackslash(const Text& path);
// Exactly one "\" between directory and name, whatever either side holds.
Text JoinPath(const Text& directory, const Text& name);

// The part after the last "\" or ":".
Text ExtractFileName(const Text& path);
// Everything before the last "\" or ":", keeping the delimiter of a root ("C:\", "C:").
Text ExtractFileDir(const Text& path);
// The last "." of the file name and what follows it, or empty.
Text ExtractFileExt(const Text& path);
Text FileNameWithoutExt(const Text& path);

std::wstring AddBackslash(const std::wstring& path);
std::wstring RemoveBackslash(const std::wstring& path);
// RemoveBackslash, except that a drive root keeps its own ("C:" alone would name the
// drive's current folder).
std::wstring WithoutTrailingBackslash(const std::wstring& path);
std::wstring JoinPath(const std::wstring& directory, const std::wstring& name);
std::wstring ExtractFileName(const std::wstring& path);
std::wstring ExtractFileDir(const std::wstring& path);
std::wstring ExtractFileExt(const std::wstring& path);
std::wstring FileNameWithoutExt(const std::wstring& path);
