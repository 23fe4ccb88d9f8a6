#include "encoding.h"

#include <windows.h>

namespace {

constexpr UINT CodePage932 = 932;

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
    if (text.empty())
        return Text();
    int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(CodePage932, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    Text narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CodePage932, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

Text Narrow(const wchar_t* text) {
    return text ? Narrow(std::wstring(text)) : Text();
}
