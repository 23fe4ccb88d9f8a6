// Tezzo's name handling against the real file system and shell.
#include <gtest/gtest.h>

#include "tezzo_core.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"

namespace {

TEST(TezzoName, SplitParametersJoinedInTheirLongForm) {
    ScratchFolder folder("TezzoInit");
    std::wstring dir = folder.file(L"Program Files \u00E9");
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    std::wstring file = dir + L"\\x.txt";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    std::wstring shortFile = GetShortPath(file);

    EXPECT_EQ(InitialName({}), L"");
    EXPECT_EQ(InitialName({folder.file(L"Program"), L"Files", L"\u00E9\\x.txt"}), file);
    EXPECT_EQ(InitialName({shortFile}), file);
    // Not a path: the joined text as it stands.
    EXPECT_EQ(InitialName({L"notepad", L"-x"}), L"notepad -x");
}

TEST(TezzoStart, StartsWithSwitchesOrReportsTheReason) {
    ScratchFolder folder("TezzoStart");
    std::wstring dir = folder.file(L"my tools \uD55C\uAE00");
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    std::wstring program = dir + L"\\runner.exe";
    InstallProbe(program);

    EXPECT_EQ(StartName(nullptr, program + L" -x \"a b\""), 0u);
    std::wstring log = WaitForProbeLog(program);
    EXPECT_NE(log.find(L" -x \"a b\"|"), std::wstring::npos) << Narrow(log);
    EXPECT_EQ(StartName(nullptr, L"\"" + program + L"\" -q"), 0u);
    log = WaitForProbeLog(program, 2);
    EXPECT_NE(log.find(L" -q|"), std::wstring::npos) << Narrow(log);

    DWORD error = StartName(nullptr, folder.file(L"nowhere\\tool.exe -a"));
    EXPECT_NE(error, 0u);
    std::wstring text = StartFailureText(folder.file(L"nowhere\\tool.exe"), error);
    EXPECT_EQ(text.find(folder.file(L"nowhere\\tool.exe") + L"\n"), 0u) << Narrow(text);
    EXPECT_FALSE(ErrorReason(error).empty());
    EXPECT_NE(StartName(nullptr, L"   "), 0u);
}

} // namespace
