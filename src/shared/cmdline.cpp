#include "cmdline.h"

#include "textops.h"

namespace {

// Removes surrounding quotes: keeps what stands between the first quote and the next
// one (or everything after an unclosed quote) and drops the rest.
Text Unquote(const Text& line) {
    if (line.empty() || line[0] != '"')
        return line;
    size_t closing = PosFrom("\"", line, 2);
    if (closing == 0)
        return line.substr(1);
    return line.substr(1, closing - 2);
}

// 1-based position of the blank that ends the program part, 0 when the line is all program.
size_t FindSplitPoint(const Text& line, const FileExistsTest& fileExists) {
    size_t exe = Pos(".EXE ", UpperCaseText(line));
    if (exe != 0)
        return exe + 4;
    for (size_t blank = Pos(" ", line); blank != 0; blank = PosFrom(" ", line, blank + 1)) {
        if (fileExists(line.substr(0, blank - 1)))
            return blank;
    }
    size_t dot = LastPos(".", line);
    return dot == 0 ? 0 : PosFrom(" ", line, dot);
}

} // namespace

CommandLineParts SplitCommandLine(const Text& commandLine, const FileExistsTest& fileExists) {
    Text line = Unquote(MbTrim(commandLine));
    if (line.empty())
        return {};
    size_t split = FindSplitPoint(line, fileExists);
    if (split == 0)
        return {line, Text()};
    return {line.substr(0, split - 1), line.substr(split)};
}

Text SplitProgram(const Text& commandLine, const FileExistsTest& fileExists) {
    return SplitCommandLine(commandLine, fileExists).program;
}

namespace {

// The blanks MbTrim removes with wide blanks on: controls, space, DEL and the ideographic space.
bool IsWideBlank(wchar_t c) {
    return c <= L' ' || c == 0x7F || c == 0x3000;
}

std::wstring TrimWideBlanks(const std::wstring& line) {
    size_t first = 0;
    size_t last = line.size();
    while (first < last && IsWideBlank(line[first]))
        ++first;
    while (last > first && IsWideBlank(line[last - 1]))
        --last;
    return line.substr(first, last - first);
}

std::wstring Unquote(const std::wstring& line) {
    if (line.empty() || line[0] != L'"')
        return line;
    size_t closing = line.find(L'"', 1);
    if (closing == std::wstring::npos)
        return line.substr(1);
    return line.substr(1, closing - 1);
}

std::wstring UpperCaseAscii(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

// 0-based index of the blank that ends the program part, npos when the line is all program.
size_t FindSplitPoint(const std::wstring& line, const WideFileExistsTest& fileExists) {
    size_t exe = UpperCaseAscii(line).find(L".EXE ");
    if (exe != std::wstring::npos)
        return exe + 4;
    for (size_t blank = line.find(L' '); blank != std::wstring::npos; blank = line.find(L' ', blank + 1)) {
        if (fileExists(line.substr(0, blank)))
            return blank;
    }
    size_t dot = line.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring::npos : line.find(L' ', dot);
}

} // namespace

WideCommandLineParts SplitCommandLine(const std::wstring& commandLine, const WideFileExistsTest& fileExists) {
    std::wstring line = Unquote(TrimWideBlanks(commandLine));
    if (line.empty())
        return {};
    size_t split = FindSplitPoint(line, fileExists);
    if (split == std::wstring::npos)
        return {line, std::wstring()};
    return {line.substr(0, split), line.substr(split + 1)};
}

std::wstring SplitProgram(const std::wstring& commandLine, const WideFileExistsTest& fileExists) {
    return SplitCommandLine(commandLine, fileExists).program;
}
