// Kickon: the association window offering exactly one of associate/remove, the association
// written where the current user may write it, and the one-shot run of an AUTORUN.INF.
#include <windows.h>

#include <gtest/gtest.h>

#include "robot.h"
#include "test_support.h"
#include "win/encoding.h"

namespace {

const Text MainClass = "TKickonMainForm";
const std::wstring Work = L"C:\\kickon-e2e";

// Kickon started with a UTF-16 command line; ended with the test whatever happens.
class Kickon : public robot::Process {
public:
    bool Start(const std::wstring& parameters = L"") {
        return robot::Process::Start(Widen(BuiltProgram("Kickon.exe")), parameters);
    }
    HWND WaitForMainWindow() { return robot::WaitForWindow(MainClass, "", id()); }
};

std::wstring ShortProgramPath() {
    std::wstring program = Widen(BuiltProgram("Kickon.exe"));
    wchar_t full[MAX_PATH], shortPath[MAX_PATH];
    GetFullPathNameW(program.c_str(), MAX_PATH, full, nullptr);
    DWORD length = GetShortPathNameW(full, shortPath, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? full : shortPath;
}

std::optional<std::wstring> ClassValue(HKEY root, const std::wstring& key) {
    wchar_t value[1024];
    DWORD size = sizeof value;
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

void ForgetAssociation() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.inf");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\Lumera(Kickon)");
}

struct ButtonStates {
    bool associate, remove;
    bool operator==(const ButtonStates& other) const {
        return associate == other.associate && remove == other.remove;
    }
};

ButtonStates StatesOf(HWND form) {
    return {IsWindowEnabled(robot::FindControl(form, "Button1")) != FALSE,
            IsWindowEnabled(robot::FindControl(form, "Button2")) != FALSE};
}

class KickonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        ForgetAssociation();
        DeleteTree(Narrow(Work));
        CreateDirectoryW(Work.c_str(), nullptr);
    }
    void TearDown() override {
        ForgetAssociation();
        DeleteTree(Narrow(Work));
        ResetSettings();
    }
};

TEST_F(KickonTest, OffersOnlyTheActionThatChangesSomething) {
    const std::wstring command = L"\"" + ShortProgramPath() + L"\" \"%1\"";
    {
        Kickon kickon;
        ASSERT_TRUE(kickon.Start());
        HWND form = kickon.WaitForMainWindow();
        ASSERT_TRUE(form);
        EXPECT_EQ(robot::TextOf(form), "Kickon (Lumera Deck for Windows)");
        const std::pair<const char*, const char*> texts[] = {
            {"Label1", "CD-ROM等に入っている「AUTORAN.INF」をﾀﾞﾌﾞﾙｸﾘｯｸで実行できるように関連付けします。"},
            {"Button1", "する(&Y)"},
            {"Button2", "しない(&N)"},
            {"Button3", "ｷｬﾝｾﾙ"}};
        for (const auto& [name, text] : texts)
            EXPECT_EQ(robot::TextOf(robot::FindControl(form, name)), text) << name;
        EXPECT_TRUE(robot::FindControl(form, "Image1"));
        EXPECT_EQ(GetWindowLongW(form, GWL_STYLE) & WS_MINIMIZEBOX, 0);
        EXPECT_TRUE(StatesOf(form) == (ButtonStates{true, false}));
        // Cancel holds the focus; the tab order goes on to associate.
        EXPECT_TRUE(robot::WaitUntil(
            [&] { return robot::FocusedControl(form) == robot::FindControl(form, "Button3"); }));
        robot::PressKey(form, VK_TAB);
        EXPECT_TRUE(robot::WaitUntil(
            [&] { return robot::FocusedControl(form) == robot::FindControl(form, "Button1"); }));
        // Centred without a stored position.
        RECT window = robot::ScreenRectOf(form);
        EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2);
        EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2);
        robot::Screenshot(form, "kickon-main.bmp");

        robot::Click(robot::FindControl(form, "Button1"));
        EXPECT_EQ(kickon.WaitForExit(), 0u);
    }
    // Written for the current user (Wine's classes root does not merge it in; Windows's does).
    EXPECT_EQ(ClassValue(HKEY_CURRENT_USER, L"Software\\Classes\\.inf"), L"Lumera(Kickon)");
    EXPECT_EQ(ClassValue(HKEY_CURRENT_USER, L"Software\\Classes\\Lumera(Kickon)\\shell\\open\\command"),
              command);
    EXPECT_EQ(ClassValue(HKEY_CURRENT_USER, L"Software\\Classes\\Lumera(Kickon)\\DefaultIcon"),
              ShortProgramPath() + L",0");
    {
        Kickon kickon;
        ASSERT_TRUE(kickon.Start());
        HWND form = kickon.WaitForMainWindow();
        ASSERT_TRUE(form);
        EXPECT_TRUE(StatesOf(form) == (ButtonStates{false, true}));
        robot::Click(robot::FindControl(form, "Button2"));
        EXPECT_EQ(kickon.WaitForExit(), 0u);
    }
    EXPECT_EQ(ClassValue(HKEY_CURRENT_USER, L"Software\\Classes\\.inf"), L"inffile");
    {
        Kickon kickon;
        ASSERT_TRUE(kickon.Start());
        HWND form = kickon.WaitForMainWindow();
        ASSERT_TRUE(form);
        EXPECT_TRUE(StatesOf(form) == (ButtonStates{true, false}));
        robot::Click(robot::FindControl(form, "Button3"));
        EXPECT_EQ(kickon.WaitForExit(), 0u);
    }
    EXPECT_EQ(ClassValue(HKEY_CURRENT_USER, L"Software\\Classes\\.inf"), L"inffile");
    // The closed window's position is remembered.
    EXPECT_TRUE(SettingInt("Kickon\\Position", "MainTop"));
}

TEST_F(KickonTest, EscClosesWhenTheSettingSaysSo) {
    SetSettingIntRaw("Kickon\\OtherSet", "EscToClose", 1);
    Kickon kickon;
    ASSERT_TRUE(kickon.Start());
    HWND form = kickon.WaitForMainWindow();
    ASSERT_TRUE(form);
    robot::PressKey(form, VK_ESCAPE);
    EXPECT_EQ(kickon.WaitForExit(), 0u);
    EXPECT_FALSE(ClassValue(HKEY_CURRENT_USER, L"Software\\Classes\\.inf"));
}

TEST_F(KickonTest, AGivenAutorunRunsItsOpenLineInItsFolderWithoutAWindow) {
    // The disc's folder has a blank and a letter beyond CP932; the "open" lines give
    // parameters after a plain and after a quoted program.
    const std::wstring disc = Work + L"\\Disc caf\u00E9";
    const std::wstring quotedDisc = Work + L"\\Quoted";
    for (const std::wstring& folder : {disc, quotedDisc}) {
        CreateDirectoryW(folder.c_str(), nullptr);
        CopyFileW(Widen(robot::ProgramFolder() + "probe.exe").c_str(), (folder + L"\\runner.exe").c_str(),
                  FALSE);
    }
    WriteBytes(disc + L"\\AUTORUN.INF", "[autorun]\r\nopen=runner.exe -x \"a b\"\r\n");
    WriteBytes(quotedDisc + L"\\AUTORUN.INF", "[autorun]\r\nopen=\"runner.exe\" -q\r\n");

    const struct {
        std::wstring parameters, folder, expected;
    } cases[] = {
        {L"\"" + disc + L"\\AUTORUN.INF\"", disc, L" -x \"a b\"|" + disc},
        // An earlier version's unquoted "%1" split a path with blanks.
        {disc + L"\\AUTORUN.INF", disc, L" -x \"a b\"|" + disc},
        {quotedDisc + L"\\AUTORUN.INF", quotedDisc, L" -q|" + quotedDisc},
    };
    for (const auto& c : cases) {
        const std::wstring runner = c.folder + L"\\runner.exe";
        DeleteFileW((runner + L".log").c_str());
        Kickon kickon;
        ASSERT_TRUE(kickon.Start(c.parameters));
        EXPECT_EQ(kickon.WaitForExit(), 0u) << Narrow(c.parameters);
        EXPECT_TRUE(robot::FindTopWindows(MainClass, "", kickon.id()).empty());
        ASSERT_TRUE(robot::WaitUntil([&] { return !ProbeLog(runner).empty(); })) << Narrow(c.parameters);
        std::wstring log = ProbeLog(runner);
        EXPECT_NE(log.find(c.expected + L"\n"), std::wstring::npos) << Narrow(log);
    }
}

TEST_F(KickonTest, AFolderOrAMissingFileShowsTheWindow) {
    for (const std::wstring& parameter : {Work, Work + L"\\NONE.INF"}) {
        Kickon kickon;
        ASSERT_TRUE(kickon.Start(L"\"" + parameter + L"\""));
        HWND form = kickon.WaitForMainWindow();
        ASSERT_TRUE(form) << Narrow(parameter);
        robot::Click(robot::FindControl(form, "Button3"));
        EXPECT_EQ(kickon.WaitForExit(), 0u);
    }
}

} // namespace
