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
