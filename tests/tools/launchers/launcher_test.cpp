// Where a launcher looks for its program, and which show command it passes on.
#include <gtest/gtest.h>

#include "launcher.h"

namespace {

TEST(LauncherTest, TheProgramIsLookedForBesideTheLauncherWithOneBackslash) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\", L"C:\\Halto.exe"},
        {L"C:\\Tools", L"C:\\Tools\\Halto.exe"},
        {L"C:\\Users\\Jos\u00e9\\\ud55c\uae00", L"C:\\Users\\Jos\u00e9\\\ud55c\uae00\\Halto.exe"},
        {L"\\\\server\\share", L"\\\\server\\share\\Halto.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LauncherTargetPath(c.folder, L"Halto.exe"), c.expected);
}

TEST(LauncherTest, TheShowCommandIsPassedOnOnlyWhenOneWasGiven) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    EXPECT_EQ(StartShowCommand(startup), SW_SHOWNORMAL);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    EXPECT_EQ(StartShowCommand(startup), SW_SHOWMINNOACTIVE);
    startup.wShowWindow = SW_HIDE;
    EXPECT_EQ(StartShowCommand(startup), SW_HIDE);
}

} // namespace
