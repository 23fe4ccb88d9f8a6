// What a file is: a one-line description (size, time stamp, attributes) and the icon
// that stands for it.
#pragma once

#include <windows.h>

#include "../jjstring.h"

// "1,234 byte 2026/12/08 09:30:00 _ _ _ A"; the size is the full 64-bit size.
Text GetFileDescription(const Text& path);
// The file type registered for an extension (with or without its dot), the extension
// itself when none is registered, or empty for an empty text or one holding "\".
Text RegisteredFileType(const Text& extension);
Text GetDefaultIconSpec(const Text& extension);
// An icon the caller owns (DestroyIcon), or null.
HICON GetFileIcon(const Text& path);
