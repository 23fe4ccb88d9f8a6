#include "cmdline.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A file system that holds exactly the given files.
FileExistsTest Files(std::set<Text> files) {
    return [files = std::move(files)](const Text& path) { return files.count(path) != 0; };
}

void ExpectSplit(const Text& line, const Text& program, const Text& parameters,
                 const FileExistsTest& exists) {
    CommandLineParts parts = SplitCommandLine(line, exists);
    EXPECT_EQ(parts.program, program) << line;
    EXPECT_EQ(parts.parameters, parameters) << line;
    EXPECT_EQ(SplitProgram(line, exists), program) << line;
}

TEST(SplitCommandLine, ExeFollowedByBlankSplitsThere) {
    auto none = Files({});
    ExpectSplit("C:\\Program Files\\App\\app.exe -x", "C:\\Program Files\\App\\app.exe", "-x", none);
    ExpectSplit("c:\\program files\\app\\APP.Exe  two  words ", "c:\\program files\\app\\APP.Exe",
                " two  words", none);
}

TEST(SplitCommandLine, ExistingPrefixWins) {
    ExpectSplit("C:\\PROGRA~1\\tool -a b", "C:\\PROGRA~1\\tool", "-a b", Files({"C:\\PROGRA~1\\tool"}));
    // The first existing prefix from the left, not the longest.
    ExpectSplit("C:\\my tool x", "C:\\my", "tool x", Files({"C:\\my", "C:\\my tool"}));
}

TEST(SplitCommandLine, BlankAfterLastDotOtherwise) {
    auto none = Files({});
    ExpectSplit("C:\\docs\\read me.txt now", "C:\\docs\\read me.txt", "now", none);
    ExpectSplit("C:\\a.b\\tool", "C:\\a.b\\tool", "", none);
    ExpectSplit("program with words", "program with words", "", none);
}

TEST(SplitCommandLine, QuotesAndBlanks) {
    auto none = Files({});
    ExpectSplit("\"C:\\Program Files\\x.exe\" -y", "C:\\Program Files\\x.exe", "", none);
    ExpectSplit("\"C:\\open ended.exe -z", "C:\\open ended.exe", "-z", none);
    ExpectSplit("\x81\x40 notepad.exe a.txt \x81\x40", "notepad.exe", "a.txt", none);
    ExpectSplit("", "", "", none);
    ExpectSplit("  ", "", "", none);
    ExpectSplit("\"\"", "", "", none);
}

TEST(SplitCommandLine, JapaneseNamesStayWhole) {
    auto none = Files({});
    ExpectSplit("C:\\ソフト\\表示.exe /s", "C:\\ソフト\\表示.exe", "/s", none);
}

} // namespace
