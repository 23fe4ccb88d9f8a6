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
    ExpectSplit("\"C:\\open ended.exe -z", "C:\\open ended.exe", "-z", none);
    ExpectSplit("\x81\x40 notepad.exe a.txt \x81\x40", "notepad.exe", "a.txt", none);
    ExpectSplit("", "", "", none);
    ExpectSplit("  ", "", "", none);
    ExpectSplit("\"\"", "", "", none);
}

// What follows the closing quote is the parameter part, behind any the quoted text yields.
TEST(SplitCommandLine, TextAfterTheClosingQuoteIsKept) {
    auto none = Files({});
    ExpectSplit("\"C:\\Program Files\\x.exe\" -y", "C:\\Program Files\\x.exe", "-y", none);
    ExpectSplit("\"C:\\Program Files\\x.exe\"   -p  \"a b\" ", "C:\\Program Files\\x.exe", "-p  \"a b\"",
                none);
    ExpectSplit("\"C:\\x.exe\"-p", "C:\\x.exe", "-p", none);
    ExpectSplit("\"C:\\Program Files\\x.exe\"", "C:\\Program Files\\x.exe", "", none);
    ExpectSplit("\"C:\\x.exe -a\" -b", "C:\\x.exe", "-a -b", none);
    ExpectSplit("\"C:\\PROGRA~1\\tool -a\" b", "C:\\PROGRA~1\\tool", "-a b", Files({"C:\\PROGRA~1\\tool"}));
    ExpectSplit("\"C:\\My Docs\\read me\" now", "C:\\My Docs\\read me", "now", none);
    ExpectSplit("\"\" -p", "", "-p", none);
    ExpectSplit("\"C:\\ソフト\\表示.exe\" /s", "C:\\ソフト\\表示.exe", "/s", none);
}

TEST(SplitCommandLine, JapaneseNamesStayWhole) {
    auto none = Files({});
    ExpectSplit("C:\\ソフト\\表示.exe /s", "C:\\ソフト\\表示.exe", "/s", none);
}

void ExpectWideSplit(const std::wstring& line, const std::wstring& program, const std::wstring& parameters,
                     std::set<std::wstring> files = {}) {
    auto exists = [&files](const std::wstring& path) { return files.count(path) != 0; };
    WideCommandLineParts parts = SplitCommandLine(line, exists);
    EXPECT_EQ(parts.program, program);
    EXPECT_EQ(parts.parameters, parameters);
    EXPECT_EQ(SplitProgram(line, exists), program);
}

// Names CP932 cannot hold split by the same rules.
TEST(SplitCommandLine, WideLinesFollowTheSameRules) {
    ExpectWideSplit(L"C:\\Users\\Jos\u00E9\\app.EXE  \uD55C\uAE00.txt", L"C:\\Users\\Jos\u00E9\\app.EXE",
                    L" \uD55C\uAE00.txt");
    ExpectWideSplit(L"C:\\Zo\u00EB\\my tool -a b", L"C:\\Zo\u00EB\\my tool", L"-a b",
                    {L"C:\\Zo\u00EB\\my tool"});
    ExpectWideSplit(L"C:\\d\\\U0001F600 me.png now", L"C:\\d\\\U0001F600 me.png", L"now");
    ExpectWideSplit(L"\"C:\\\u5F20\u4F1F.doc\" x", L"C:\\\u5F20\u4F1F.doc", L"x");
    ExpectWideSplit(L"\"C:\\Jos\u00E9\\a.exe -a\"  \uD55C\uAE00", L"C:\\Jos\u00E9\\a.exe",
                    L"-a \uD55C\uAE00");
    ExpectWideSplit(L"\"\"\t-p", L"", L"-p");
    ExpectWideSplit(L"\"C:\\open ended.exe -z", L"C:\\open ended.exe", L"-z");
    ExpectWideSplit(L"\u3000 notepad.exe a.txt \u3000\t", L"notepad.exe", L"a.txt");
    ExpectWideSplit(L"program with words", L"program with words", L"");
    ExpectWideSplit(L"   ", L"", L"");
    ExpectWideSplit(L"\"\"", L"", L"");
}

} // namespace
