// What a file is: a one-line description (size, time stamp, attributes) and the icon
// that stands for it.
#pragma once

#include <windows.h>

#include <string>

#include "../jjstring.h"

// "1,234 byte 2026/12/08 09:30:00 _ _ _ A"; the size is the full 64-bit size. A path
// with a wildcard ("*", "?") describes no file. A thousands separator CP932 cannot hold
// (U+202F) is written as a blank.
Text GetFileDescription(const Text& path);
// The file type registered for an extension (with or without its dot), the extension
// itself when none is registered, or empty for an empty text or one holding "\".
Text RegisteredFileType(const Text& extension);
Text GetDefaultIconSpec(const Text& extension);
// An icon the caller owns (DestroyIcon), or null.
HICON GetFileIcon(const Text& path);

// The same for names as the platform gives them; the description keeps the locale's
// separator as it is.
std::wstring GetFileDescription(const std::wstring& path);
std::wstring RegisteredFileType(const std::wstring& extension);
std::wstring GetDefaultIconSpec(const std::wstring& extension);
HICON GetFileIcon(const std::wstring& path);
