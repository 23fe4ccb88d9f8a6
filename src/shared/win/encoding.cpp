#include "encoding.h"

#include <windows.h>

namespace {

constexpr UINT CodePage932 = 932;

// No best fit: a character without a CP932 form becomes the default character and is
// reported, instead of turning silently into a different valid character.
Text NarrowReporting(const std::wstring& text, bool& lossy) {
    lossy = false;
    if (text.empty())
        return Text();
    int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0,
                                     nullptr, &usedDefault);
    Text narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, text.data(), size, narrow.data(), length, nullptr,
                        &usedDefault);
    lossy = usedDefault || length == 0;
    return narrow;
}

} // namespace

std::wstring Widen(const Text& text) {
    if (text.empty())
        return std::wstring();
    int size = static_cast<int>(text.size());
    int length = MultiByteToWideChar(CodePage932, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CodePage932, 0, text.data(), size, wide.data(), length);
    return wide;
}

Text Narrow(const std::wstring& text) {
    bool lossy = false;
    return NarrowReporting(text, lossy);
}

Text Narrow(const wchar_t* text) {
    return text ? Narrow(std::wstring(text)) : Text();
}

bool NarrowExact(const std::wstring& text, Text& out) {
    bool lossy = false;
    Text narrow = NarrowReporting(text, lossy);
    // The round trip also catches mappings the platform does not report as lossy.
    if (lossy || Widen(narrow) != text)
        return false;
    out = std::move(narrow);
    return true;
}

Text NarrowOrEmpty(const std::wstring& text) {
    Text narrow;
    return NarrowExact(text, narrow) ? narrow : Text();
}
