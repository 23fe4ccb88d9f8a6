// Slumbo counts down over its question and then starts the screen saver. The screen saver
// is the probe under a ".scr" name beyond code page 932; it logs how it was started.
#include <gtest/gtest.h>

#include "robot.h"
#include "test_support.h"
#include "win/encoding.h"

namespace {

const Text SlumboKey = "Software\\Morivane\\Lumera\\Slumbo";
const Text Title = "Slumbo (Lumera Deck for Windows)";
const std::wstring SaverFolder = L"C:\\lumera-e2e\\slumbo-\u00e9t\u00e9";
const std::wstring Saver = SaverFolder + L"\\\u591c caf\u00e9.scr";

Text Countdown(int remaining) {
    return "あと " + std::to_string(remaining) + " 秒後に、\nｽｸﾘｰﾝ ｾｰﾊﾞｰを起動します。";
}

class SlumboE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &savedActive_, 0);
        DeleteTree(SaverFolder);
        CreateDirectoryW(L"C:\\lumera-e2e", nullptr);
        ASSERT_TRUE(CreateDirectoryW(SaverFolder.c_str(), nullptr));
        ASSERT_TRUE(CopyFileW(Widen(robot::ProgramFolder() + "probe.exe").c_str(), Saver.c_str(), FALSE));
        saver_.emplace(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE");
        saver_->Set(Saver);
    }
    void TearDown() override {
        saver_.reset();
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, savedActive_, nullptr, SPIF_UPDATEINIFILE);
        DeleteTree(SaverFolder);
        ResetSettings();
    }

    HWND Start(robot::Process& process, const Text& arguments) {
        if (!process.Start(BuiltProgram("Slumbo.exe"), arguments))
            return nullptr;
        return robot::WaitForWindow("TSlumboMainForm", Title, process.id());
    }

    static ::testing::AssertionResult EndedWithZero(robot::Process& process, DWORD timeout = 10000) {
        auto code = process.WaitForExit(timeout);
        if (!code)
            return ::testing::AssertionFailure() << "Slumbo did not end";
        if (*code != 0)
            return ::testing::AssertionFailure() << "Slumbo ended with 0x" << std::hex << *code;
        return ::testing::AssertionSuccess();
    }

    static std::optional<DWORD> SlumboInt(const Text& section, const Text& name) {
        return robot::ReadRegistryDword(HKEY_CURRENT_USER, SlumboKey + "\\" + section, name);
    }

    static bool SaverStartedOnce() {
        return robot::WaitUntil([] { return !ProbeLogLines(Saver).empty(); }) &&
               ProbeLogLines(Saver).size() == 1 &&
               ProbeLogLines(Saver)[0].find(L"\" /s|") != std::wstring::npos;
    }

    // The user's screen saver, set to the probe and put back as it was.
    std::optional<ValueOverride> saver_;

private:
    BOOL savedActive_ = FALSE;
};

TEST_F(SlumboE2E, ANumberCountsDownOverTheQuestionAndThenStartsTheScreenSaver) {
    robot::Process slumbo;
    ULONGLONG started = GetTickCount64();
    HWND form = Start(slumbo, "2");
    ASSERT_TRUE(form);
    HWND label = robot::FindControl(form, "Label3");
    EXPECT_TRUE(IsWindowVisible(robot::FindControl(form, "Panel1")));
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(form, "Button1")));
    EXPECT_TRUE(robot::WaitForText(label, Countdown(2), 1000));
    robot::SaveScreenshot("slumbo-countdown.bmp");
    EXPECT_TRUE(robot::WaitForText(label, Countdown(1), 2000));
    EXPECT_TRUE(EndedWithZero(slumbo));
    EXPECT_GE(GetTickCount64() - started, 1500u);
    EXPECT_TRUE(SaverStartedOnce());
    // The tray program is told to switch its screen saver on; a command-line delay is not
    // remembered.
    EXPECT_EQ(robot::ReadRegistryDword(HKEY_CURRENT_USER, "Software\\Morivane\\Lumera\\Screen", "Enabled"),
              1u);
    EXPECT_FALSE(SlumboInt("History", "WaitTime").has_value());
    EXPECT_TRUE(SlumboInt("Position", "MainTop").has_value());
}

TEST_F(SlumboE2E, ZeroOrANegativeNumberCountsOneSecond) {
    for (const char* argument : {"0", "-5"}) {
        SCOPED_TRACE(argument);
        DeleteFileW((Saver + L".log").c_str());
        robot::Process slumbo;
        HWND form = Start(slumbo, argument);
        ASSERT_TRUE(form);
        EXPECT_EQ(robot::TextOf(robot::FindControl(form, "SpinEdit1")), "1");
        EXPECT_EQ(robot::TextOf(robot::FindControl(form, "Label3")), Countdown(1));
        EXPECT_TRUE(EndedWithZero(slumbo));
        EXPECT_TRUE(SaverStartedOnce());
    }
}

TEST_F(SlumboE2E, WithoutANumberItAsksWithTheRememberedDelayAndYesRemembersTheNewOne) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(SlumboKey + "\\History").c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    DWORD remembered = 42;
    RegSetValueExW(key, L"WaitTime", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&remembered),
                   sizeof remembered);
    RegCloseKey(key);

    robot::Process slumbo;
    HWND form = Start(slumbo, "abc");
    ASSERT_TRUE(form);
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(form, "Panel1")));
    EXPECT_EQ(robot::TextOf(robot::FindControl(form, "Label1")), "ｽｸﾘｰﾝｾｰﾊﾞｰを起動しますか？");
    HWND spin = robot::FindControl(form, "SpinEdit1");
    EXPECT_EQ(robot::TextOf(spin), "42");
    robot::SaveScreenshot("slumbo-asking.bmp");
    EXPECT_EQ(SlumboInt("History", "WaitTime"), 42u); // not before はい

    robot::SetText(spin, "1");
    robot::Click(robot::FindControl(form, "Button1"));
    EXPECT_TRUE(
        robot::WaitUntil([&] { return IsWindowVisible(robot::FindControl(form, "Panel1")) != FALSE; }));
    EXPECT_TRUE(EndedWithZero(slumbo));
    EXPECT_EQ(SlumboInt("History", "WaitTime"), 1u);
    EXPECT_TRUE(SaverStartedOnce());
}

// Enter confirms while the field still holds the typed text: the delay is held to 1..3600.
TEST_F(SlumboE2E, AnEntryBeyondTheRangeIsHeldToItWhenConfirmedWithEnter) {
    robot::Process slumbo;
    HWND form = Start(slumbo, "");
    ASSERT_TRUE(form);
    HWND spin = robot::FindControl(form, "SpinEdit1");
    robot::SetText(spin, "5000");
    robot::Focus(spin);
    robot::PressKey(spin, VK_RETURN);
    EXPECT_TRUE(robot::WaitForText(robot::FindControl(form, "Label3"), Countdown(3600)));
    EXPECT_EQ(SlumboInt("History", "WaitTime"), 3600u);
    slumbo.CloseWindows();
    EXPECT_TRUE(EndedWithZero(slumbo));
    EXPECT_TRUE(ProbeLogLines(Saver).empty());
}

TEST_F(SlumboE2E, NoEndsWithoutCountingOrRemembering) {
    robot::Process slumbo;
    HWND form = Start(slumbo, "");
    ASSERT_TRUE(form);
    EXPECT_EQ(robot::TextOf(robot::FindControl(form, "SpinEdit1")), "1");
    robot::Click(robot::FindControl(form, "Button2"));
    EXPECT_TRUE(EndedWithZero(slumbo));
    EXPECT_TRUE(ProbeLogLines(Saver).empty());
    EXPECT_FALSE(SlumboInt("History", "WaitTime").has_value());
    EXPECT_FALSE(
        robot::ReadRegistryDword(HKEY_CURRENT_USER, "Software\\Morivane\\Lumera\\Screen", "Enabled"));
}

TEST_F(SlumboE2E, WithoutAScreenSaverTheCountdownEndsInAMessage) {
    for (const std::optional<std::wstring>& setting :
         {std::optional<std::wstring>(), std::optional<std::wstring>(SaverFolder + L"\\logon.exe")}) {
        if (setting)
            saver_->Set(*setting);
        else
            saver_->Remove();
        robot::Process slumbo;
        ASSERT_TRUE(slumbo.Start(BuiltProgram("Slumbo.exe"), "1"));
        auto box = robot::WaitForMessageBox(slumbo.id());
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, Title);
        EXPECT_EQ(box->text, "ｽｸﾘｰﾝ ｾｰﾊﾞｰが存在しないか、無効になっているため起動できません。");
        robot::AnswerMessageBox(box->window, IDOK);
        EXPECT_TRUE(EndedWithZero(slumbo));
    }
    EXPECT_TRUE(ProbeLogLines(Saver).empty());
}

TEST_F(SlumboE2E, ASecondStartOnlyBringsTheFirstForward) {
    robot::Process first;
    HWND form = Start(first, "");
    ASSERT_TRUE(form);
    robot::Process second;
    ASSERT_TRUE(second.Start(BuiltProgram("Slumbo.exe"), "1"));
    EXPECT_TRUE(EndedWithZero(second));
    EXPECT_EQ(robot::FindTopWindows("TSlumboMainForm").size(), 1u);
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(form, "Panel1")));
    robot::Click(robot::FindControl(form, "Button2"));
    EXPECT_TRUE(EndedWithZero(first));
    EXPECT_TRUE(ProbeLogLines(Saver).empty());
}

TEST_F(SlumboE2E, EscEndsARunningCountdownWhenAllowed) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(SlumboKey + "\\OtherSet").c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    DWORD on = 1;
    RegSetValueExW(key, L"EscToClose", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegCloseKey(key);
    robot::Process slumbo;
    HWND form = Start(slumbo, "30");
    ASSERT_TRUE(form);
    robot::PressKey(form, VK_ESCAPE);
    EXPECT_TRUE(EndedWithZero(slumbo, 5000));
    EXPECT_TRUE(ProbeLogLines(Saver).empty());
}

} // namespace
