// The launchers: each starts its program from its own folder with its fixed parameter and
// its own show command, or names the full path it looked for. The program they start is
// the probe under the target's name; it logs how it was started.
#include <gtest/gtest.h>

#include "robot.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"

namespace {

// A folder whose name code page 932 cannot hold, like a profile folder "C:\Users\José".
const std::wstring WideFolder = L"C:\\lumera-e2e\\Jos\u00e9 \ud55c\uae00";

std::wstring WideFile(const std::wstring& name) {
    return WideFolder + L"\\" + name;
}

void PutLauncher(const Text& launcher) {
    CopyFileW(Widen(BuiltProgram(launcher)).c_str(), WideFile(Widen(launcher)).c_str(), FALSE);
}

class LaunchersE2E : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteTree(WideFolder);
        CreateDirectoryW(L"C:\\lumera-e2e", nullptr);
        ASSERT_TRUE(CreateDirectoryW(WideFolder.c_str(), nullptr));
    }
    void TearDown() override { DeleteTree(WideFolder); }

    // Runs the launcher from the folder with the show command (-1: none) and waits for it
    // to end with exit code 0.
    void RunLauncher(const Text& launcher, int showCommand) {
        robot::Process process;
        ASSERT_TRUE(process.Start(WideFile(Widen(launcher)), L"", L"C:\\", showCommand));
        auto code = process.WaitForExit();
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0u);
    }
};

TEST_F(LaunchersE2E, EachLauncherStartsItsProgramWithItsParameterAndItsOwnShowCommand) {
    struct Case {
        const char* launcher;
        const wchar_t* target;
        const wchar_t* parameter;
        int showCommand;   // the launcher's own; -1 none
        Text expectedShow; // as the started program was asked
    } cases[] = {
        {"HaltoL.exe", L"Halto.exe", L"-L", SW_SHOWMINNOACTIVE, "7"},
        {"HaltoS.exe", L"Halto.exe", L"-S", -1, "1"},
        {"SlumboS.exe", L"Slumbo.exe", L"1", SW_SHOWMAXIMIZED, "3"},
        {"LumeraRun.exe", L"Lumera.exe", L"-", SW_SHOWMINIMIZED, "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.launcher);
        PutLauncher(c.launcher);
        InstallProbe(WideFile(c.target));
        DeleteFileW((WideFile(c.target) + L".show.log").c_str());
        RunLauncher(c.launcher, c.showCommand);

        // The probe writes the show command last.
        ASSERT_TRUE(
            robot::WaitUntil([&] { return ReadFileBytes(WideFile(c.target) + L".show.log").has_value(); }));
        std::wstring line = ProbeLog(WideFile(c.target));
        // One start: "<program path>" <parameter>|<working folder>
        EXPECT_NE(line.find(WideFile(c.target)), std::wstring::npos) << Narrow(line);
        EXPECT_NE(line.find(std::wstring(L" ") + c.parameter + L"|" + WideFolder + L"\n"), std::wstring::npos)
            << Narrow(line);
        EXPECT_EQ(std::count(line.begin(), line.end(), L'\n'), 1);
        EXPECT_EQ(ReadFileBytes(WideFile(c.target) + L".show.log"), c.expectedShow + "\n");
    }
}

TEST_F(LaunchersE2E, AMissingProgramIsNamedWithTheFullPathItWasLookedFor) {
    struct Case {
        const char* launcher;
        const wchar_t* target;
        const char* caption;
    } cases[] = {
        {"HaltoL.exe", L"Halto.exe", "Halto (Lumera Deck for Windows)"},
        {"SlumboS.exe", L"Slumbo.exe", "Slumbo (Lumera Deck for Windows)"},
        {"LumeraRun.exe", L"Lumera.exe", "Lumera Deck for Windows"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.launcher);
        PutLauncher(c.launcher);
        robot::Process process;
        ASSERT_TRUE(process.Start(WideFile(Widen(c.launcher)), L"", L"C:\\"));
        auto box = robot::WaitForMessageBox(process.id());
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, c.caption);
        EXPECT_EQ(robot::WideMessage(box->window),
                  WideFile(c.target) + L"\n" + Widen("ﾌﾟﾛｸﾞﾗﾑが存在しません。"));
        EXPECT_NE(GetDlgItem(box->window, IDOK), nullptr);
        robot::AnswerMessageBox(box->window, IDOK);
        auto code = process.WaitForExit();
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0u);
    }
}

TEST_F(LaunchersE2E, ALauncherInADriveRootLooksBesideItselfWithoutADoubledBackslash) {
    const std::wstring root = L"C:\\HaltoS.exe";
    ASSERT_TRUE(CopyFileW(Widen(BuiltProgram("HaltoS.exe")).c_str(), root.c_str(), FALSE));
    ASSERT_FALSE(robot::FileExists("C:\\Halto.exe"));
    robot::Process process;
    ASSERT_TRUE(process.Start("C:\\HaltoS.exe"));
    auto box = robot::WaitForMessageBox(process.id());
    EXPECT_TRUE(box.has_value());
    if (box) {
        EXPECT_EQ(box->text, "C:\\Halto.exe\nﾌﾟﾛｸﾞﾗﾑが存在しません。");
        robot::AnswerMessageBox(box->window, IDOK);
    }
    auto code = process.WaitForExit();
    DeleteFileW(root.c_str());
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

} // namespace
