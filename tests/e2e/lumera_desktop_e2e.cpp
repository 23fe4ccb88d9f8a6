// The tray program's wallpaper and screen-saver groups: choices write the user's desktop
// settings, and the check marks follow the settings at the next refresh, also when
// something else changed them.
#include <gtest/gtest.h>

#include "lumera_support.h"

using namespace lumera_e2e;

namespace {

// Puts the desktop values a test touches back as they were.
class DesktopValuesGuard {
public:
    DesktopValuesGuard() {
        for (const char* name : Names)
            saved_.emplace_back(name, DesktopValue(name));
    }
    ~DesktopValuesGuard() {
        for (const auto& [name, value] : saved_)
            SetDesktopValue(name, value);
    }

private:
    static constexpr const char* Names[] = {"Wallpaper", "TileWallpaper", "WallpaperStyle", "SCRNSAVE.EXE"};
    std::vector<std::pair<Text, std::optional<Text>>> saved_;
};

void WriteEmptyFile(const Text& path) {
    CloseHandle(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

// The top-level tray menu as it is now (opened and closed again).
std::optional<robot::PopupMenu> ReadTrayMenu(RunningLumera& lumera) {
    std::vector<robot::PopupMenu> menus = lumera.OpenMenu();
    lumera.menus().CloseAll();
    if (menus.empty())
        return std::nullopt;
    return menus[0];
}

// One submenu of the tray menu as it is now.
std::optional<robot::PopupMenu> ReadSubmenu(RunningLumera& lumera, const Text& caption) {
    // A menu that opened late is closed all the same, so it cannot block the next look.
    std::vector<robot::PopupMenu> menus;
    if (!lumera.OpenMenu().empty() && lumera.menus().Choose(caption))
        menus = lumera.menus().WaitForMenus(2);
    lumera.menus().CloseAll();
    if (menus.size() < 2)
        return std::nullopt;
    return menus[1];
}

// The captions that carry a check mark.
std::vector<Text> Checked(const std::optional<robot::PopupMenu>& menu) {
    std::vector<Text> checked;
    if (menu) {
        for (const robot::MenuEntry& entry : menu->items) {
            if (entry.checked)
                checked.push_back(entry.caption);
        }
    }
    return checked;
}

bool WaitForSubmenuMarks(RunningLumera& lumera, const Text& submenu, const std::vector<Text>& expected) {
    return robot::WaitUntil([&] { return Checked(ReadSubmenu(lumera, submenu)) == expected; });
}

bool WaitForTrayMarks(RunningLumera& lumera, const std::vector<Text>& expected) {
    return robot::WaitUntil([&] {
        std::vector<Text> checked = Checked(ReadTrayMenu(lumera));
        std::vector<Text> relevant;
        for (const Text& caption : checked) {
            if (caption != "壁紙(&B)" && caption != "ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)")
                relevant.push_back(caption);
        }
        return relevant == expected;
    });
}

// An installation with two pictures and one screen saver in folders of its own, which
// the settings name as the places to look.
class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        pictures = installation.file("pictures");
        savers = installation.file("savers");
        CreateDirectoryW(Widen(pictures).c_str(), nullptr);
        CreateDirectoryW(Widen(savers).c_str(), nullptr);
        WriteBitmap(pictures + "\\Blue Sky.bmp", 0, 0, 255);
        WriteBitmap(pictures + "\\green.bmp", 0, 255, 0);
        WriteBitmap(installation.file("elsewhere.bmp"), 255, 0, 0);
        WriteEmptyFile(savers + "\\Stars.scr");
        SetSettingStringRaw("Wall", "Path", pictures);
        SetSettingStringRaw("Screen", "Path", savers);
        SetSettingIntRaw("OtherSet", "SplashVisible", 0);
        SetDesktopValue("Wallpaper", Text());
        SetDesktopValue("SCRNSAVE.EXE", std::nullopt);
        SetDesktopValue("TileWallpaper", Text("0"));
        SetDesktopValue("WallpaperStyle", Text("0"));
    }
    void TearDown() override { ResetSettings(); }

    DesktopValuesGuard desktop;
    Installation installation{"desktop"};
    Text pictures, savers;
};

TEST_F(DesktopTest, AChosenWallpaperIsWrittenAndMarkedAtTheNextRefresh) {
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    std::optional<robot::PopupMenu> walls = ReadSubmenu(lumera, "壁紙(&B)");
    ASSERT_TRUE(walls);
    EXPECT_EQ(walls->Captions(), (std::vector<Text>{"(なし)", "Blue Sky", "green", "(その他)"}));
    EXPECT_EQ(Checked(walls), std::vector<Text>{}); // no wallpaper at start: nothing marked

    ASSERT_TRUE(Choose(lumera, {"壁紙(&B)", "Blue Sky"}));
    EXPECT_TRUE(robot::WaitUntil([&] {
        return IsShortFormOf(DesktopValue("Wallpaper"), pictures + "\\Blue Sky.bmp");
    })) << DesktopValue("Wallpaper").value_or("(missing)");
    EXPECT_TRUE(WaitForSubmenuMarks(lumera, "壁紙(&B)", {"Blue Sky"}));
    lumera.OpenMenu();
    ASSERT_TRUE(lumera.menus().Choose("壁紙(&B)"));
    ASSERT_EQ(lumera.menus().WaitForMenus(2).size(), 2u);
    robot::SaveScreenshot("lumera-menu.bmp");
    lumera.menus().CloseAll();

    // Another program sets a listed picture, in its long form.
    SetDesktopValue("Wallpaper", pictures + "\\green.bmp");
    EXPECT_TRUE(WaitForSubmenuMarks(lumera, "壁紙(&B)", {"green"}));
    // A picture outside the listed folders marks "(その他)".
    SetDesktopValue("Wallpaper", installation.file("elsewhere.bmp"));
    EXPECT_TRUE(WaitForSubmenuMarks(lumera, "壁紙(&B)", {"(その他)"}));

    ASSERT_TRUE(Choose(lumera, {"壁紙(&B)", "(なし)"}));
    EXPECT_TRUE(robot::WaitUntil([] { return DesktopValue("Wallpaper").value_or("") == ""; }));
    EXPECT_TRUE(WaitForSubmenuMarks(lumera, "壁紙(&B)", {"(なし)"}));
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(DesktopTest, ArrangementItemsWriteTheStyleAndTheirMarksFollowTheSystem) {
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    EXPECT_TRUE(WaitForTrayMarks(lumera, {"中央(&C)", "無効(&F)"}));

    ASSERT_TRUE(Choose(lumera, {"全体(&T)"}));
    EXPECT_TRUE(robot::WaitUntil([] { return DesktopValue("TileWallpaper") == Text("1"); }));
    EXPECT_EQ(DesktopValue("WallpaperStyle"), Text("0"));
    EXPECT_TRUE(WaitForTrayMarks(lumera, {"全体(&T)", "無効(&F)"}));

    ASSERT_TRUE(Choose(lumera, {"ｽｸﾘｰﾝの大きさ(&W)"}));
    EXPECT_TRUE(robot::WaitUntil([] { return DesktopValue("WallpaperStyle") == Text("2"); }));
    EXPECT_EQ(DesktopValue("TileWallpaper"), Text("0"));
    EXPECT_TRUE(WaitForTrayMarks(lumera, {"ｽｸﾘｰﾝの大きさ(&W)", "無効(&F)"}));

    // Changed behind the program's back: the marks follow at the next refresh.
    SetDesktopValue("WallpaperStyle", Text("0"));
    EXPECT_TRUE(WaitForTrayMarks(lumera, {"中央(&C)", "無効(&F)"}));

    // Fill, fit and span are none of the three; the program leaves them be, also when a
    // wallpaper is chosen, until the user picks an arrangement.
    for (const char* later : {"10", "6", "22"}) {
        SetDesktopValue("WallpaperStyle", Text(later));
        EXPECT_TRUE(WaitForTrayMarks(lumera, {"無効(&F)"})) << later;
    }
    ASSERT_TRUE(Choose(lumera, {"壁紙(&B)", "green"}));
    EXPECT_TRUE(WaitForSubmenuMarks(lumera, "壁紙(&B)", {"green"}));
    EXPECT_TRUE(WaitForTrayMarks(lumera, {"無効(&F)"}));
    EXPECT_EQ(DesktopValue("WallpaperStyle"), Text("22"));
    ASSERT_TRUE(Choose(lumera, {"中央(&C)"}));
    EXPECT_TRUE(robot::WaitUntil([] { return DesktopValue("WallpaperStyle") == Text("0"); }));
    EXPECT_TRUE(WaitForTrayMarks(lumera, {"中央(&C)", "無効(&F)"}));
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(DesktopTest, SwitchingOffLastsUntilTheProgramEnds) {
    const Text saver = savers + "\\Stars.scr";
    SetDesktopValue("SCRNSAVE.EXE", saver);
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    // The first refresh finds the screen saver, marks it and switches on.
    EXPECT_TRUE(robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 1u; }));
    EXPECT_TRUE(WaitForSubmenuMarks(lumera, "ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", {"Stars"}));
    std::optional<robot::PopupMenu> tray = ReadTrayMenu(lumera);
    ASSERT_TRUE(tray && tray->Find("有効(&T)") && tray->Find("即起動(&D)   [DblClick]"));
    EXPECT_TRUE(tray->Find("有効(&T)")->checked);
    EXPECT_TRUE(tray->Find("有効(&T)")->enabled);
    EXPECT_TRUE(tray->Find("即起動(&D)   [DblClick]")->enabled);
    robot::SaveScreenshot("lumera-saver-on.bmp"); // the tray shows the main icon

    ASSERT_TRUE(Choose(lumera, {"無効(&F)"}));
    EXPECT_TRUE(robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 0u; }));
    EXPECT_FALSE(DesktopValue("SCRNSAVE.EXE"));
    EXPECT_TRUE(WaitForTrayMarks(lumera, {"中央(&C)", "無効(&F)"}));
    robot::SaveScreenshot("lumera-saver-off.bmp"); // ... and the second icon while off

    ASSERT_TRUE(lumera.Exit());
    EXPECT_EQ(SettingInt("Screen", "Enabled"), 1u);
    EXPECT_TRUE(IsShortFormOf(DesktopValue("SCRNSAVE.EXE"), saver))
        << DesktopValue("SCRNSAVE.EXE").value_or("(missing)");
}

// The user's screen-saver policy values, removed again at the end.
class ScreenSaverPolicyGuard {
public:
    ~ScreenSaverPolicyGuard() {
        for (const char* name : {"ScreenSaveActive", "SCRNSAVE.EXE", "ScreenSaverIsSecure"})
            Set(name, std::nullopt);
    }
    void Set(const Text& name, const std::optional<Text>& value) {
        SetRegistryString(HKEY_CURRENT_USER, "Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop",
                          name, value);
    }
};

// The switch items and the screen-saver submenu as the tray menu shows them.
struct SaverItems {
    bool onChecked, onEnabled, offChecked, offEnabled, choiceEnabled;
    bool operator==(const SaverItems& other) const {
        return onChecked == other.onChecked && onEnabled == other.onEnabled &&
               offChecked == other.offChecked && offEnabled == other.offEnabled &&
               choiceEnabled == other.choiceEnabled;
    }
};

std::optional<SaverItems> ReadSaverItems(RunningLumera& lumera) {
    std::optional<robot::PopupMenu> tray = ReadTrayMenu(lumera);
    if (!tray || !tray->Find("有効(&T)") || !tray->Find("無効(&F)") || !tray->Find("ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)"))
        return std::nullopt;
    return SaverItems{tray->Find("有効(&T)")->checked, tray->Find("有効(&T)")->enabled,
                      tray->Find("無効(&F)")->checked, tray->Find("無効(&F)")->enabled,
                      tray->Find("ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)")->enabled};
}

TEST_F(DesktopTest, AScreenSaverSetByPolicyGreysTheSwitchWhichThenWritesNothing) {
    const Text saver = savers + "\\Stars.scr";
    SetDesktopValue("SCRNSAVE.EXE", saver);
    ScreenSaverPolicyGuard policy;
    policy.Set("SCRNSAVE.EXE", saver);
    policy.Set("ScreenSaverIsSecure", Text("1"));
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    // On, as the policy has it; neither the switch nor the choice can change it.
    EXPECT_TRUE(robot::WaitUntil([&] {
        return ReadSaverItems(lumera) == SaverItems{true, false, false, false, false};
    }));
    robot::SaveScreenshot("lumera-saver-policy.bmp");
    // The stored switch asks for off: the user's setting stays, since it would change nothing.
    SetSettingIntRaw("Screen", "Enabled", 0);
    EXPECT_FALSE(robot::WaitUntil([] { return !DesktopValue("SCRNSAVE.EXE"); }, 3000));

    // A policy that switches screen savers off: the marks follow; the choice is free again.
    policy.Set("SCRNSAVE.EXE", std::nullopt);
    policy.Set("ScreenSaveActive", Text("0"));
    EXPECT_TRUE(robot::WaitUntil([&] {
        return ReadSaverItems(lumera) == SaverItems{false, false, true, false, true};
    }));

    // Without the policy the stored switch (off) decides again.
    policy.Set("ScreenSaveActive", std::nullopt);
    EXPECT_TRUE(robot::WaitUntil([] { return !DesktopValue("SCRNSAVE.EXE"); }));
    EXPECT_TRUE(robot::WaitUntil([&] {
        return ReadSaverItems(lumera) == SaverItems{false, true, true, true, true};
    }));
    ASSERT_TRUE(lumera.Exit());
    EXPECT_TRUE(IsShortFormOf(DesktopValue("SCRNSAVE.EXE"), saver));
}

TEST_F(DesktopTest, TheStoredSwitchIsFollowedWhileRunning) {
    const Text saver = savers + "\\Stars.scr";
    SetDesktopValue("SCRNSAVE.EXE", saver);
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    ASSERT_TRUE(robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 1u; }));

    // Another writer (a second instance, the settings window) switches off.
    SetSettingIntRaw("Screen", "Enabled", 0);
    EXPECT_TRUE(robot::WaitUntil([] { return !DesktopValue("SCRNSAVE.EXE"); }));
    EXPECT_TRUE(WaitForTrayMarks(lumera, {"中央(&C)", "無効(&F)"}));
    EXPECT_EQ(SettingInt("Screen", "Enabled"), 0u);

    // ... and on again.
    SetSettingIntRaw("Screen", "Enabled", 1);
    EXPECT_TRUE(robot::WaitUntil([&] { return IsShortFormOf(DesktopValue("SCRNSAVE.EXE"), saver); }));
    EXPECT_TRUE(WaitForTrayMarks(lumera, {"中央(&C)", "有効(&T)"}));
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(DesktopTest, ChoosingAScreenSaverSwitchesOnAndNoneSwitchesOff) {
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    // None set at start: switched off, and nothing to switch on with.
    EXPECT_TRUE(robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 0u; }));
    std::optional<robot::PopupMenu> tray = ReadTrayMenu(lumera);
    ASSERT_TRUE(tray && tray->Find("有効(&T)"));
    EXPECT_FALSE(tray->Find("有効(&T)")->enabled);

    ASSERT_TRUE(Choose(lumera, {"ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", "Stars"}));
    EXPECT_TRUE(robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 1u; }));
    EXPECT_TRUE(IsShortFormOf(DesktopValue("SCRNSAVE.EXE"), savers + "\\Stars.scr"));
    EXPECT_TRUE(WaitForSubmenuMarks(lumera, "ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", {"Stars"}));
    EXPECT_TRUE(WaitForTrayMarks(lumera, {"中央(&C)", "有効(&T)"}));

    ASSERT_TRUE(Choose(lumera, {"ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", "(なし)"}));
    EXPECT_TRUE(robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 0u; }));
    EXPECT_FALSE(DesktopValue("SCRNSAVE.EXE"));
    EXPECT_TRUE(WaitForSubmenuMarks(lumera, "ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", {"(なし)"}));
    tray = ReadTrayMenu(lumera);
    ASSERT_TRUE(tray && tray->Find("有効(&T)"));
    EXPECT_FALSE(tray->Find("有効(&T)")->enabled);
    EXPECT_TRUE(tray->Find("無効(&F)")->checked);

    // With no screen saver known, the end of the program has none to restore.
    ASSERT_TRUE(lumera.Exit());
    EXPECT_FALSE(DesktopValue("SCRNSAVE.EXE"));
}

} // namespace
