#include "jjstring.h"

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsLeadByteAt(const char* p) {
    return p[0] != 0 && IsLeadByte(static_cast<unsigned char>(p[0])) && p[1] != 0;
}

unsigned CharCodeAt(const char* p) {
    auto first = static_cast<unsigned char>(p[0]);
    if (IsLeadByteAt(p))
        return first * 256u + static_cast<unsigned char>(p[1]);
    return first;
}

bool IsBlankChar(const char* p, bool wide) {
    unsigned code = CharCodeAt(p);
    return code <= 0x20 || code == 0x7F || (wide && code == WideSpaceCode);
}

int NextChar(const char*& cursor) {
    if (*cursor == 0)
        return 0;
    int length = IsLeadByteAt(cursor) ? 2 : 1;
    cursor += length;
    return length;
}

int CopyChar(char*& dest, const char*& source, bool doubleByte) {
    if (*source == 0)
        return 0;
    int length = doubleByte && IsLeadByteAt(source) ? 2 : 1;
    for (int i = 0; i < length; ++i)
        *dest++ = *source++;
    return length;
}

size_t SkipChars(const char* text, size_t count, size_t& bytesWalked) {
    bytesWalked = 0;
    size_t walked = 0;
    while (count == 0 || walked < count) {
        int length = NextChar(text);
        if (length == 0)
            break;
        bytesWalked += length;
        ++walked;
    }
    return walked;
}

size_t CharLength(const Text& text) {
    size_t bytes;
    return SkipChars(text.c_str(), 0, bytes);
}

Text MbCopy(const Text& text, long index, long count) {
    if (index < 0 || count <= 0)
        return Text();
    if (index == 0)
        index = 1;
    size_t offset = 0;
    size_t before = static_cast<size_t>(index - 1);
    if (before > 0 && SkipChars(text.c_str(), before, offset) < before)
        return Text();
    size_t length;
    SkipChars(text.c_str() + offset, static_cast<size_t>(count), length);
    return text.substr(offset, length);
}

Text CharToStr(unsigned code) {
    char buffer[3];
    char* end = WriteCharCode(buffer, code);
    return Text(buffer, end);
}

char* WriteCharCode(char* buffer, unsigned code) {
    code &= 0xFFFF;
    if (code == 0)
        return buffer;
    if (code >= 256)
        *buffer++ = static_cast<char>(code >> 8);
    *buffer++ = static_cast<char>(code & 0xFF);
    return buffer;
}

Text& TrimText(Text& text, TrimMode mode, bool wide) {
    // In place: the write cursor never overtakes the read cursor.
    char* start = text.data();
    const char* read = start;
    char* write = start;
    char* runStart = start;
    bool inBlankRun = false;
    bool stillLeading = mode != TrimTrailing;
    while (*read != 0) {
        if (IsBlankChar(read, wide)) {
            switch (mode) {
            case TrimBoth:
            case TrimLeading:
                if (stillLeading) {
                    NextChar(read);
                    continue;
                }
                if (mode == TrimBoth && !inBlankRun) {
                    runStart = write;
                    inBlankRun = true;
                }
                break;
            case TrimTrailing:
                if (!inBlankRun)
                    runStart = write;
                inBlankRun = true;
                break;
            case TrimEverywhere:
                NextChar(read);
                continue;
            }
        } else {
            inBlankRun = false;
            stillLeading = false;
        }
        CopyChar(write, read, true);
    }
    if (inBlankRun)
        write = runStart;
    text.resize(static_cast<size_t>(write - start));
    return text;
}

Text MbTrim(const Text& text) {
    Text copy = text;
    return TrimText(copy, TrimBoth, true);
}
