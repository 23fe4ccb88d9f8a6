#include "textops.h"

#include <charconv>
#include <cstdlib>

Text CopyFrom(const Text& text, long position) {
    if (position < 1)
        position = 1;
    if (static_cast<size_t>(position) > text.size())
        return Text();
    return text.substr(static_cast<size_t>(position - 1));
}

Text RightBytes(const Text& text, long count) {
    if (count <= 0)
        return Text();
    if (static_cast<size_t>(count) >= text.size())
        return text;
    return text.substr(text.size() - static_cast<size_t>(count));
}

Text RightChars(const Text& text, long count) {
    if (count <= 0)
        return Text();
    size_t length = CharLength(text);
    if (static_cast<size_t>(count) >= length)
        return text;
    return MbCopy(text, static_cast<long>(length) - count + 1, count);
}

size_t PosFrom(const Text& pattern, const Text& text, size_t start) {
    if (pattern.empty() || start == 0 || start > text.size())
        return 0;
    size_t found = text.find(pattern, start - 1);
    return found == Text::npos ? 0 : found + 1;
}

size_t Pos(const Text& pattern, const Text& text) {
    return PosFrom(pattern, text, 1);
}

size_t LastPos(const Text& pattern, const Text& text) {
    size_t last = 0;
    for (size_t p = Pos(pattern, text); p != 0; p = PosFrom(pattern, text, p + 1))
        last = p;
    return last;
}

Text IntToStrOrEmpty(long value, long emptyValue) {
    return value == emptyValue ? Text() : std::to_string(value);
}

namespace {

// Byte length of the character at index; an embedded zero byte counts as one character.
size_t CharSizeAt(const Text& text, size_t index) {
    return IsLeadByteAt(text.c_str() + index) ? 2 : 1;
}

bool IsAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimAsciiBlanks(std::string_view s) {
    while (!s.empty() && IsAsciiBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsAsciiBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

} // namespace

double TextToFloat(const Text& text) {
    std::string_view s = TrimAsciiBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // Only plain decimal notation: no "inf", "nan" or hexadecimal floats.
    if (s.empty() || !(s.front() == '.' || (s.front() >= '0' && s.front() <= '9')))
        return 0;
    double value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (error != std::errc() || end != s.data() + s.size())
        return 0;
    return negative ? -value : value;
}

bool TryTextToInt(const Text& text, long& value) {
    std::string_view s = TrimAsciiBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    } else if (s.size() > 1 && s[0] == '$') {
        base = 16;
        s.remove_prefix(1);
    }
    if (s.empty() || s.front() == '+' || s.front() == '-')
        return false;
    long long parsed = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), parsed, base);
    if (error != std::errc() || end != s.data() + s.size())
        return false;
    if (negative)
        parsed = -parsed;
    if (parsed < -2147483648LL || parsed > 4294967295LL)
        return false;
    // Hexadecimal texts above 0x7FFFFFFF wrap, as 32-bit profile and registry numbers do.
    value = static_cast<long>(static_cast<int>(static_cast<unsigned>(parsed)));
    return true;
}

Text UpperCaseText(const Text& text) {
    Text result = text;
    for (size_t i = 0; i < result.size(); i += CharSizeAt(text, i)) {
        if (CharSizeAt(text, i) == 1 && result[i] >= 'a' && result[i] <= 'z')
            result[i] = static_cast<char>(result[i] - 'a' + 'A');
    }
    return result;
}

bool SameText(const Text& a, const Text& b) {
    return a.size() == b.size() && UpperCaseText(a) == UpperCaseText(b);
}

size_t FindCharFrom(char c, const Text& text, size_t start) {
    if (start == 0)
        return 0;
    for (size_t i = 0; i < text.size(); i += CharSizeAt(text, i)) {
        if (i + 1 >= start && text[i] == c && CharSizeAt(text, i) == 1)
            return i + 1;
    }
    return 0;
}

size_t FindLastChar(char c, const Text& text) {
    size_t last = 0;
    for (size_t p = FindCharFrom(c, text, 1); p != 0; p = FindCharFrom(c, text, p + 1))
        last = p;
    return last;
}

bool ContainsChar(char c, const Text& text) {
    return FindCharFrom(c, text, 1) != 0;
}

size_t LastCharPos(const Text& text) {
    size_t last = 0;
    for (size_t i = 0; i < text.size(); i += CharSizeAt(text, i))
        last = i + 1;
    return last;
}

bool EndsWithChar(const Text& text, char c) {
    size_t last = LastCharPos(text);
    return last != 0 && last == text.size() && text.back() == c;
}

Text AddTrailingChar(char c, const Text& text) {
    return EndsWithChar(text, c) ? text : text + c;
}

Text StripLeadingChars(char c, const Text& text) {
    size_t begin = 0;
    while (begin < text.size() && text[begin] == c && CharSizeAt(text, begin) == 1)
        ++begin;
    return text.substr(begin);
}

Text StripTrailingChars(char c, const Text& text) {
    // Keep everything up to the end of the last character that is not c.
    size_t keep = 0;
    for (size_t i = 0; i < text.size(); i += CharSizeAt(text, i)) {
        if (!(text[i] == c && CharSizeAt(text, i) == 1))
            keep = i + CharSizeAt(text, i);
    }
    return text.substr(0, keep);
}
