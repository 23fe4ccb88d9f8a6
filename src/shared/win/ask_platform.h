// Asks a "fill this buffer" function of the platform (GetWindowsDirectoryW,
// GetFullPathNameW, ...) for its whole answer, growing the buffer once when the answer is
// longer than a path usually is. Empty when the platform gives nothing.
#pragma once

#include <windows.h>

#include <string>

template <typename Fill> std::wstring AskPlatform(Fill fill) {
    std::wstring buffer(MAX_PATH + 1, L'\0');
    DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.assign(length + 1, L'\0');
        length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size())
        return std::wstring();
    buffer.resize(length);
    return buffer;
}
