#include "error_reason.h"

#include "tool_params.h"
#include "win/encoding.h"

std::wstring ErrorReason(DWORD error) {
    const DWORD flags =
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
    wchar_t buffer[1024];
    DWORD length = 0;
    for (LANGID language : {LANGID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)), LANGID(0)}) {
        length = FormatMessageW(flags, nullptr, error, language, buffer, 1024, nullptr);
        if (length != 0)
            break;
    }
    std::wstring reason = TrimBlanks(std::wstring(buffer, length));
    if (reason.empty())
        return Widen("ｴﾗｰ番号 ") + std::to_wstring(error);
    return reason;
}
