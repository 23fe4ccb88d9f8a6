// The tray program from start to end: the application block, the menu skeleton, the
// instance rule, closing and the window's place.
#include <gtest/gtest.h>

#include "lumera_support.h"

using namespace lumera_e2e;

namespace {

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
    void TearDown() override { ResetSettings(); }
};

bool MutexExists(const Text& name) {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, Widen(name).c_str());
    if (!mutex)
        return false;
    CloseHandle(mutex);
    return true;
}

TEST_F(Lifecycle, FirstStartWritesTheApplicationBlockAndShowsTheSkeleton) {
    Installation installation("Lifecycle1");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    EXPECT_EQ(SettingString("Setup", "Title"), Text("Lumera Deck for Windows"));
    EXPECT_EQ(SettingString("Setup", "Version"), Text("Morivane Tool   Ver1.20"));
    EXPECT_TRUE(SettingString("Setup", "CopyRight").has_value());
    EXPECT_EQ(SettingString("Setup", "ExePath"), installation.exe());
    EXPECT_EQ(SettingString("Setup", "ExeDir"), installation.folder());
    EXPECT_EQ(SettingString("Setup", "ExeName"), Text("Lumera.exe"));
    EXPECT_TRUE(MutexExists("MorivaneLumera"));

    auto menus = lumera.OpenMenu();
    ASSERT_EQ(menus.size(), 1u);
    robot::SaveScreenshot("lumera-tray-menu.bmp");
    // The NT family: no logo and drive groups.
    std::vector<Text> expected = {
        "壁紙(&B)",          "全体(&T)",         "中央(&C)",     "ｽｸﾘｰﾝの大きさ(&W)",
        "ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)",    "有効(&T)",         "無効(&F)",     "即起動(&D)   [DblClick]",
        "実行(&R)",          "ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)", "ｽﾀｰﾄｱｯﾌﾟ(&S)", "Windowsの終了(&U)",
        "画面のﾌﾟﾛﾊﾟﾃｨ(&P)", "設定(&S)",         "ﾍﾙﾌﾟ(&H)",     "終了(&X)"};
    EXPECT_EQ(menus[0].Captions(), expected);
    int separators = 0;
    for (const auto& item : menus[0].items)
        separators += item.separator ? 1 : 0;
    EXPECT_EQ(separators, 3);
    lumera.menus().CloseAll();
    EXPECT_TRUE(lumera.Exit());
    EXPECT_FALSE(MutexExists("MorivaneLumera"));
}

TEST_F(Lifecycle, HiddenGroupsTakeTheirSeparatorWithThem) {
    SetSettingIntRaw("Wall", "Visible", 0);
    SetSettingIntRaw("Wall", "SetVisible", 0);
    SetSettingIntRaw("OtherSet", "ScreenProVisible", 0);
    Installation installation("Lifecycle2");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    auto menus = lumera.OpenMenu();
    ASSERT_EQ(menus.size(), 1u);
    ASSERT_FALSE(menus[0].items.empty());
    EXPECT_EQ(menus[0].items.front().caption, "ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)");
    EXPECT_EQ(menus[0].Find("画面のﾌﾟﾛﾊﾟﾃｨ(&P)"), nullptr);
    lumera.menus().CloseAll();
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(Lifecycle, ASecondStartHandsOverToTheFirst) {
    Installation installation("Lifecycle3");
    RunningLumera first;
    ASSERT_TRUE(first.Start(installation));
    first.Choose({"設定(&S)"});
    HWND form = MainForm(first.process.id());
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(form) != FALSE; }));
    ShowWindow(form, SW_MINIMIZE);
    ASSERT_TRUE(robot::WaitUntil([&] { return IsIconic(form) != FALSE; }));

    robot::Process second;
    ASSERT_TRUE(second.Start(installation.exe()));
    auto exitCode = second.WaitForExit(15000);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_TRUE(robot::WaitUntil([&] { return IsIconic(form) == FALSE; })); // restored
    EXPECT_EQ(robot::FindTopWindows("TLumeraMainForm").size(), 1u);
    EXPECT_TRUE(first.Exit());
}

TEST_F(Lifecycle, FurtherInstancesRunWithTheirOwnSlot) {
    SetSettingIntRaw("OtherSet", "2ndStart", 1);
    Installation installation("Lifecycle4");
    RunningLumera first, second;
    ASSERT_TRUE(first.Start(installation));
    ASSERT_TRUE(second.Start(installation));
    EXPECT_TRUE(MutexExists("MorivaneLumera"));
    EXPECT_TRUE(MutexExists("MorivaneLumera1"));
    EXPECT_TRUE(second.Exit());
    EXPECT_TRUE(SettingInt("Position", "MainTop1").has_value());
    EXPECT_TRUE(SettingInt("Position", "MainLeft1").has_value());
    EXPECT_FALSE(SettingInt("Position", "MainTop").has_value());
    EXPECT_TRUE(first.Exit());
    EXPECT_TRUE(SettingInt("Position", "MainTop").has_value());
}

TEST_F(Lifecycle, EndMessageNoKeepsTheProgramRunning) {
    SetSettingIntRaw("OtherSet", "EndMsg", 1);
    Installation installation("Lifecycle5");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    lumera.Choose({"終了(&X)"});
    auto question = robot::WaitForMessageBox(lumera.process.id());
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->text, "ﾌﾟﾛｸﾞﾗﾑを終了してもよろしいですか？");
    EXPECT_EQ(question->caption, "Lumera Deck for Windows");
    ASSERT_TRUE(robot::AnswerMessageBox(question->window, IDNO));
    EXPECT_FALSE(lumera.process.WaitForExit(1500).has_value());
    EXPECT_FALSE(SettingInt("Position", "MainTop").has_value()); // nothing written

    lumera.Choose({"終了(&X)"});
    question = robot::WaitForMessageBox(lumera.process.id());
    ASSERT_TRUE(question.has_value());
    ASSERT_TRUE(robot::AnswerMessageBox(question->window, IDYES));
    EXPECT_TRUE(lumera.ExpectExitCodeZero(15000));
    EXPECT_EQ(SettingInt("Screen", "Enabled"), DWORD(1));
}

TEST_F(Lifecycle, ClosingTheSettingsWindowHidesItAndStoredOutOfRangePlacesCentre) {
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SetSettingIntRaw("Position", "MainTop", static_cast<DWORD>(screenHeight));
    SetSettingIntRaw("Position", "MainLeft", 40);
    Installation installation("Lifecycle6");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    lumera.Choose({"設定(&S)"});
    HWND form = MainForm(lumera.process.id());
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(form) != FALSE; }));
    RECT rect = robot::ScreenRectOf(form);
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, (screenHeight - (rect.bottom - rect.top)) / 2);

    PostMessageW(form, WM_CLOSE, 0, 0); // the close box
    EXPECT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(form) == FALSE; }));
    EXPECT_TRUE(lumera.process.running());
    EXPECT_EQ(lumera.OpenMenu().size(), 1u); // still in the tray
    lumera.menus().CloseAll();
    EXPECT_TRUE(lumera.Exit());
    EXPECT_EQ(SettingInt("Position", "MainLeft"), DWORD(40));
}

} // namespace
