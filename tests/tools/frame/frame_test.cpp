// The tool frame against the real registry: the single-instance rule, the "Setup" values,
// the settings block, histories and position restoring.
#include <gtest/gtest.h>

#include "app.h"
#include "test_support.h"
#include "tool_form.h"
#include "tool_params.h"
#include "tool_settings.h"
#include "tool_startup.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/handles.h"
#include "win/registry.h"

namespace {

// Each test starts from a tool without settings.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override { Forget(); }
    void TearDown() override { Forget(); }
    static void Forget() {
        for (const wchar_t* tool : {L"Ferrox", L"Slumbo"})
            RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Morivane\\Lumera\\") + tool).c_str());
    }
};

TEST_F(FrameTest, SecondStartHandsOverOnlyWhereTheToolsRuleSaysSo) {
    struct Case {
        const ToolIdentity& tool;
        long stored; // -1: absent
        bool proceeds;
    } cases[] = {
        {Tools::Ferrox, -1, true}, {Tools::Slumbo, -1, false}, {Tools::Ferrox, 0, false},
        {Tools::Slumbo, 1, true},  {Tools::Slumbo, 7, true},
    };
    for (const Case& c : cases) {
        Forget();
        SetCurrentTool(c.tool);
        if (c.stored >= 0)
            DataWriteInteger("OtherSet", "2ndStart", c.stored);
        UniqueHandle running(CreateMutexW(nullptr, FALSE, Widen(c.tool.mutexName).c_str()));
        ToolStartup second(GetModuleHandleW(nullptr), c.tool);
        EXPECT_EQ(second.proceed(), c.proceeds) << c.tool.title << " stored " << c.stored;
        // A copy that hands over writes nothing.
        EXPECT_EQ(DataReadString("Setup", "Title", "").empty(), !c.proceeds);
    }
}

TEST_F(FrameTest, EveryStartWritesTheSixSetupValuesAndReadsTheEscFlag) {
    SetCurrentTool(Tools::Slumbo);
    DataWriteString("Setup", "Version", "old");
    DataWriteInteger("OtherSet", "EscToClose", 1);
    {
        ToolStartup start(GetModuleHandleW(nullptr), Tools::Slumbo);
        ASSERT_TRUE(start.proceed());
        EXPECT_TRUE(EscFlag());
        // Its own mutex now marks the copy as running.
        UniqueHandle mine(OpenMutexW(SYNCHRONIZE, FALSE, L"MorivaneSlumbo"));
        EXPECT_TRUE(mine);
    }
    EXPECT_EQ(DataReadString("Setup", "Title", ""), "Slumbo (Lumera Deck for Windows)");
    EXPECT_EQ(DataReadString("Setup", "Version", ""), "Morivane Tool   Ver1.00");
    EXPECT_FALSE(DataReadString("Setup", "CopyRight", "").empty());
    wchar_t self[MAX_PATH];
    std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    EXPECT_EQ(DataReadWide("Setup", "ExePath", L""), path);
    EXPECT_EQ(DataReadWide("Setup", "ExeDir", L""), path.substr(0, path.find_last_of(L'\\')));
    EXPECT_EQ(DataReadWide("Setup", "ExeName", L""), path.substr(path.find_last_of(L'\\') + 1));

    DataWriteInteger("OtherSet", "EscToClose", 2);
    ToolStartup again(GetModuleHandleW(nullptr), Tools::Slumbo);
    EXPECT_FALSE(EscFlag());
}

TEST_F(FrameTest, HistoryPutsTheNewEntryFirstWithoutCaseBlindDuplicates) {
    using H = std::vector<std::wstring>;
    const H abc = {L"A", L"B", L"C"};
    EXPECT_EQ(PushHistory(abc, L"B", 100), (H{L"B", L"A", L"C"}));
    EXPECT_EQ(PushHistory(abc, L"b", 100), (H{L"b", L"A", L"C"}));
    EXPECT_EQ(PushHistory(abc, L"D", 3), (H{L"D", L"A", L"B"}));
    EXPECT_EQ(PushHistory({L"C:\\Zo\u00eb", L"x"}, L"c:\\ZO\u00cb", 100), (H{L"c:\\ZO\u00cb", L"x"}));

    SetCurrentTool(Tools::Ferrox);
    DataWriteHistory("History", "Path", {L"A", L"B", L"C", L"D", L"E"});
    DataWriteHistory("History", "Path", PushHistory({L"A", L"B", L"C"}, L"\ud55c\uae00", 100));
    EXPECT_EQ(DataReadHistory("History", "Path", 100), (H{L"\ud55c\uae00", L"A", L"B", L"C"}));
    EXPECT_EQ(DataReadWide("History", "Path5", L"gone"), L"");
}

TEST(FrameRules, StoredEdgesOffTheScreenFallBack) {
    EXPECT_EQ(RestoredEdge(-1, 768, 100), 100);
    EXPECT_EQ(RestoredEdge(0, 768, 100), 0);
    EXPECT_EQ(RestoredEdge(767, 768, 100), 767);
    EXPECT_EQ(RestoredEdge(768, 768, 100), 100);
}

TEST(FrameRules, VersionBoxLinesAreIndented) {
    Text text = VersionBoxText(Tools::Pinnet);
    EXPECT_EQ(
        text.rfind(
            "Pinnet (Lumera Deck for Windows)\n          Morivane Tool   Ver1.00\n\n                    ", 0),
        0u);
}

} // namespace

namespace {

TEST(FrameParameters, SplitPathsAreJoinedUntilTheyNameSomething) {
    ScratchFolder folder("params");
    std::wstring spaced = Widen(folder.path()) + L"\\My Docs \ud55c\uae00";
    ASSERT_TRUE(CreateDirectoryW(spaced.c_str(), nullptr));
    std::wstring file = folder.file(std::wstring(L"caf\u00e9.txt"));
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    std::wstring head = Widen(folder.path()) + L"\\My";
    auto items = AccumulateExistingPaths({head, L"Docs", L"\ud55c\uae00", file, L"nothing", L"here"});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], GetLongPath(spaced));
    EXPECT_EQ(items[1], GetLongPath(file));
    EXPECT_TRUE(AccumulateExistingPaths({}).empty());
    EXPECT_EQ(TrimBlanks(L"  a b  "), L"a b");
}

TEST(FrameParameters, AParameterThatNamesNothingIsPassedOverOnItsOwn) {
    ScratchFolder folder("params");
    std::wstring root = Widen(folder.path());
    std::wstring a = root + L"\\a.txt", b = root + L"\\b \u00e9t\u00e9.txt", c = root + L"\\c.txt";
    for (const std::wstring& file : {a, b, c})
        CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::wstring missing = root + L"\\missing.txt";
    struct Case {
        std::vector<std::wstring> parameters, items;
    } cases[] = {
        {{a, missing, c}, {a, c}},
        {{missing, a, missing, missing, c}, {a, c}},
        {{a, missing, root + L"\\b", L"\u00e9t\u00e9.txt"}, {a, b}}, // a split path right after a missing one
        {{missing, L"x", L"y"}, {}},
    };
    for (const Case& test : cases) {
        std::vector<std::wstring> expected;
        for (const std::wstring& item : test.items)
            expected.push_back(GetLongPath(item));
        EXPECT_EQ(AccumulateExistingPaths(test.parameters), expected) << Narrow(test.parameters[1]);
    }
    // A relative item becomes absolute, so the shell sees where it is.
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(root.c_str());
    std::vector<std::wstring> relative = AccumulateExistingPaths({L"c.txt", L".\\a.txt"});
    SetCurrentDirectoryW(current);
    EXPECT_EQ(relative, (std::vector<std::wstring>{GetLongPath(c), GetLongPath(a)}));
}

} // namespace

namespace {

TEST(FrameHelp, TheHelpFileLiesBesideTheExecutable) {
    SetToolHelpFile();
    wchar_t self[MAX_PATH];
    std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    EXPECT_EQ(Application::HelpFile(), path.substr(0, path.find_last_of(L'\\')) + L"\\Lumera.chm");
}

} // namespace
