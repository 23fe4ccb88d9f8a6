#include "cmdline.h"

#include "textops.h"

namespace {

// A line cut at its quotes: what stands between the first quote and the next one (or
// everything after an unclosed quote), and what follows the closing quote without its
// leading blanks. A line that does not begin with a quote is all inside.
struct QuotedLine {
    Text inside, after;
};

QuotedLine Unquote(const Text& line) {
    if (line.empty() || line[0] != '"')
        return {line, Text()};
    size_t closing = PosFrom("\"", line, 2);
    if (closing == 0)
        return {line.substr(1), Text()};
    size_t after = line.find_first_not_of(" \t", closing);
    return {line.substr(1, closing - 2), after == Text::npos ? Text() : line.substr(after)};
}

// The parameters the quoted text yields, then those after the closing quote.
Text JoinParameters(const Text& inside, const Text& after) {
    if (inside.empty())
        return after;
    return after.empty() ? inside : inside + " " + after;
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
    QuotedLine quoted = Unquote(MbTrim(commandLine));
    const Text& line = quoted.inside;
    size_t split = line.empty() ? 0 : FindSplitPoint(line, fileExists);
    if (split == 0)
        return {line, quoted.after};
    return {line.substr(0, split - 1), JoinParameters(line.substr(split), quoted.after)};
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

struct WideQuotedLine {
    std::wstring inside, after;
};

WideQuotedLine Unquote(const std::wstring& line) {
    if (line.empty() || line[0] != L'"')
        return {line, std::wstring()};
    size_t closing = line.find(L'"', 1);
    if (closing == std::wstring::npos)
        return {line.substr(1), std::wstring()};
    size_t after = line.find_first_not_of(L" \t", closing + 1);
    return {line.substr(1, closing - 1), after == std::wstring::npos ? std::wstring() : line.substr(after)};
}

std::wstring JoinParameters(const std::wstring& inside, const std::wstring& after) {
    if (inside.empty())
        return after;
    return after.empty() ? inside : inside + L" " + after;
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
    WideQuotedLine quoted = Unquote(TrimWideBlanks(commandLine));
    const std::wstring& line = quoted.inside;
    size_t split = line.empty() ? std::wstring::npos : FindSplitPoint(line, fileExists);
    if (split == std::wstring::npos)
        return {line, quoted.after};
    return {line.substr(0, split), JoinParameters(line.substr(split + 1), quoted.after)};
}

std::wstring SplitProgram(const std::wstring& commandLine, const WideFileExistsTest& fileExists) {
    return SplitCommandLine(commandLine, fileExists).program;
}
