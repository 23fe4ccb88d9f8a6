// The tray program's choices carried through to the end: file dialogs confirmed (not only
// cancelled), the clipboard list and the refresh interval from the settings window, the
// window's place and the grid columns written back at the end, and stored values outside
// their range.
#include <windows.h>

#include <gtest/gtest.h>

#include "lumera_support.h"

using namespace lumera_e2e;

namespace {

class ConfirmE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        SetSettingIntRaw("OtherSet", "SplashVisible", 0);
    }
    void TearDown() override {
        robot::ParkMouse();
        if (lumera.process.running()) {
            EXPECT_TRUE(lumera.Exit());
        }
        ResetSettings();
    }

    HWND OpenSettings() {
        robot::ParkMouse();
        lumera.Choose({"設定(&S)"});
        form = robot::WaitForWindow("TLumeraMainForm", "", lumera.process.id());
        return form;
    }
    HWND Control(const Text& name) { return robot::FindControl(form, name); }
    bool WaitHidden() {
        return robot::WaitUntil([this] { return !IsWindowVisible(form); });
    }

    // Types a path into the open file dialog and confirms it with its OK button.
    bool ConfirmFileDialog(HWND dialog, const Text& path) {
        // The file-name box: the edit inside the dialog's combo box cmb13 (0x47C).
        HWND nameBox = nullptr;
        robot::WaitUntil([&] {
            for (const robot::ControlInfo& control : robot::ListControls(dialog))
                if (control.className == "Edit" && control.id == 0x47C && control.visible)
                    nameBox = control.window;
            return nameBox != nullptr;
        });
        if (!nameBox || !robot::SetText(nameBox, path))
            return Explain(dialog, "no file-name box");
        return robot::AnswerMessageBox(dialog, IDOK) || Explain(dialog, "the dialog stayed");
    }

    static bool Explain(HWND dialog, const char* what) {
        robot::SaveScreenshot("lumera-confirm-dialog.bmp");
        for (const robot::ControlInfo& control : robot::ListControls(dialog))
            std::printf("%s: %s id=%d text=%s visible=%d\n", what, control.className.c_str(), control.id,
                        control.text.c_str(), control.visible);
        return false;
    }

    Installation installation{"confirm-設定"};
    RunningLumera lumera;
    HWND form = nullptr;
};

// ---- File dialogs -------------------------------------------------------------------------

// Puts the desktop's wallpaper back as it was.
class WallpaperGuard {
public:
    WallpaperGuard()
        : saved_(robot::ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper")) {}
    ~WallpaperGuard() { SetRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", saved_); }

private:
    std::optional<Text> saved_;
};

// "(その他)" of the wallpaper submenu: the picture chosen in the dialog becomes the wallpaper.
TEST_F(ConfirmE2E, AWallpaperChosenInTheDialogIsSet) {
    WallpaperGuard wallpaperGuard;
    const Text folder = installation.file("写真");
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    const Text picture = folder + "\\表示.bmp";
    WriteBitmap(picture, 192, 128, 64);
    const Text listed = installation.file("listed");
    CreateDirectoryW(Widen(listed).c_str(), nullptr);
    WriteBitmap(listed + "\\空.bmp", 192, 128, 64);
    SetSettingStringRaw("Wall", "Path", listed); // the chosen picture is not among those listed
    ASSERT_TRUE(lumera.Start(installation));

    ASSERT_TRUE(Choose(lumera, {"壁紙(&B)", "(その他)"}));
    HWND dialog = robot::WaitForWindow("#32770", "", lumera.process.id());
    if (!dialog)
        robot::SaveScreenshot("lumera-confirm-no-dialog.bmp");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(robot::TextOf(dialog), "壁紙参照");
    ASSERT_TRUE(ConfirmFileDialog(dialog, picture));
    EXPECT_TRUE(robot::WaitUntil([&] {
        auto value = robot::ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper");
        return value && SamePath(*value, picture);
    }));
    ASSERT_TRUE(lumera.Exit());
}

// Puts the system's screen saver back as it was.
class ScreenSaverGuard {
public:
    ScreenSaverGuard() : saved_(robot::ReadRegistryString(HKEY_CURRENT_USER, Desktop, "SCRNSAVE.EXE")) {
        SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active_, 0);
    }
    ~ScreenSaverGuard() {
        SetRegistryString(HKEY_CURRENT_USER, Desktop, "SCRNSAVE.EXE", saved_);
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active_, nullptr, SPIF_UPDATEINIFILE);
    }

private:
    static constexpr const char* Desktop = "Control Panel\\Desktop";
    std::optional<Text> saved_;
    BOOL active_ = FALSE;
};

// The tray shows whether the screen saver is on: the main icon while it is, the other one
// once "無効(&F)" switched it off, the main one again after "有効(&T)".
TEST_F(ConfirmE2E, TheTrayIconFollowsTheScreenSaverSwitch) {
    ScreenSaverGuard screenSaverGuard;
    const Text saver = installation.InstallProbe("保護.scr");
    SetRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", saver);
    TrayIcons icons(installation.exe());
    ASSERT_TRUE(icons.loaded());
    ASSERT_TRUE(lumera.Start(installation));

    EXPECT_TRUE(icons.WaitForShown(TrayIcons::ScreenSaverOn));
    ASSERT_TRUE(Choose(lumera, {"無効(&F)"}));
    EXPECT_TRUE(icons.WaitForShown(TrayIcons::ScreenSaverOff));
    EXPECT_FALSE(robot::ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE"));
    ASSERT_TRUE(Choose(lumera, {"有効(&T)"}));
    EXPECT_TRUE(icons.WaitForShown(TrayIcons::ScreenSaverOn));
    auto restored = robot::ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE");
    EXPECT_TRUE(restored && SamePath(*restored, saver));
    if (HasFailure())
        robot::SaveScreenshot("lumera-confirm-tray-icon.bmp");
    ASSERT_TRUE(lumera.Exit());
}

// "参照(&B)" on the Run page: the chosen program goes into the current row, names it, and
// OK writes it.
TEST_F(ConfirmE2E, AProgramChosenForTheRunListIsWrittenByOk) {
    SetSettingIntRaw("Run", "Visible", 1); // and no entries
    const Text program = installation.InstallProbe("計算.exe");
    ASSERT_TRUE(lumera.Start(installation));
    ASSERT_TRUE(OpenSettings());
    ASSERT_TRUE(robot::SelectTab(Control("PageControl1"), "実行"));
    robot::ClickAt(CellCentre(Control("StringGrid1"), 2, 1));
    robot::ClickMouse(Control("BitBtn4"));
    HWND dialog = robot::WaitForWindow("#32770", "実行", lumera.process.id());
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ConfirmFileDialog(dialog, program));
    robot::ClickMouse(Control("BitBtn1"));
    ASSERT_TRUE(WaitHidden());

    auto file = SettingString("Run", "File1");
    ASSERT_TRUE(file.has_value());
    EXPECT_TRUE(SamePath(*file, program)) << *file;
    EXPECT_EQ(SettingString("Run", "Name1"), Text("計算"));
    EXPECT_EQ(SettingString("Run", "File2"), std::nullopt);
}

// ---- The settings window's lists and values ----------------------------------------------

// OK writes the clipboard page: a changed entry, the kept one and the one added in the
// new-entry row, numbered on.
TEST_F(ConfirmE2E, OkWritesTheClipboardList) {
    SetSettingIntRaw("Clipboard", "Visible", 1);
    SetSettingStringRaw("Clipboard", "Name1", "氏名");
    SetSettingStringRaw("Clipboard", "Clip1", "(氏名)");
    SetSettingStringRaw("Clipboard", "Name2", "住所");
    SetSettingStringRaw("Clipboard", "Clip2", "東京都");
    ASSERT_TRUE(lumera.Start(installation));
    ASSERT_TRUE(OpenSettings());
    ASSERT_TRUE(robot::SelectTab(Control("PageControl1"), "ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ"));
    HWND grid = Control("StringGrid2");
    robot::ClickAt(CellCentre(grid, 2, 1));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::FocusedControl(form) == grid; }));
    robot::TypeText(grid, "森 太郎");
    robot::PressKey(grid, VK_RETURN);
    robot::ClickAt(CellCentre(grid, 1, 3));
    robot::TypeText(grid, "電話");
    robot::PressKey(grid, VK_TAB);
    robot::TypeText(grid, "03-1234-5678");
    robot::PressKey(grid, VK_RETURN);
    robot::ClickMouse(Control("BitBtn1"));
    ASSERT_TRUE(WaitHidden());

    EXPECT_EQ(SettingString("Clipboard", "Name1"), Text("氏名"));
    EXPECT_EQ(SettingString("Clipboard", "Clip1"), Text("森 太郎"));
    EXPECT_EQ(SettingString("Clipboard", "Name2"), Text("住所"));
    EXPECT_EQ(SettingString("Clipboard", "Clip2"), Text("東京都"));
    EXPECT_EQ(SettingString("Clipboard", "Name3"), Text("電話"));
    EXPECT_EQ(SettingString("Clipboard", "Clip3"), Text("03-1234-5678"));
    EXPECT_EQ(SettingString("Clipboard", "Clip4"), std::nullopt);

    // The tray's clipboard submenu follows at once.
    robot::ParkMouse();
    ASSERT_TRUE(Choose(lumera, {"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)"}));
    std::vector<robot::PopupMenu> menus = lumera.menus().WaitForMenus(2);
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[1].Captions(), (std::vector<Text>{"氏名", "住所", "電話"}));
    lumera.menus().CloseAll();
}

// A stored refresh interval outside 1..10000 ms is not taken: the refresh keeps its 1000 ms,
// which the settings window shows and OK writes.
TEST_F(ConfirmE2E, AStoredIntervalOutOfRangeKeepsTheDefault) {
    for (DWORD stored : {0u, 20000u}) {
        SetSettingIntRaw("OtherSet", "Interval", stored);
        RunningLumera running;
        ASSERT_TRUE(running.Start(installation)) << stored;
        robot::ParkMouse();
        running.Choose({"設定(&S)"});
        HWND window = robot::WaitForWindow("TLumeraMainForm", "", running.process.id());
        ASSERT_TRUE(window) << stored;
        EXPECT_TRUE(robot::WaitForText(robot::FindControl(window, "SpinEdit1"), "1000")) << stored;
        robot::ClickMouse(robot::FindControl(window, "BitBtn1"));
        EXPECT_TRUE(robot::WaitUntil([&] { return !IsWindowVisible(window); })) << stored;
        EXPECT_EQ(SettingInt("OtherSet", "Interval"), 1000u) << stored;
        EXPECT_TRUE(running.Exit()) << stored;
    }
}

// ---- Written back at the end -------------------------------------------------------------

// With PositionMemory = 0 the stored place is neither used nor written: the window opens
// centred and the end leaves the stored values alone.
TEST_F(ConfirmE2E, PositionMemoryOffIgnoresAndKeepsTheStoredPlace) {
    SetSettingIntRaw("OtherSet", "PositionMemory", 0);
    SetSettingIntRaw("Position", "MainTop", 10);
    SetSettingIntRaw("Position", "MainLeft", 20);
    ASSERT_TRUE(lumera.Start(installation));
    ASSERT_TRUE(OpenSettings());
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(form) != FALSE; }));
    RECT rect = robot::ScreenRectOf(form);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
    SetWindowPos(form, nullptr, 30, 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); // moved by the user
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::ScreenRectOf(form).left == 30; }));
    robot::Click(Control("BitBtn2"));
    ASSERT_TRUE(WaitHidden());
    ASSERT_TRUE(lumera.Exit());
    EXPECT_EQ(SettingInt("Position", "MainTop"), 10u);
    EXPECT_EQ(SettingInt("Position", "MainLeft"), 20u);

    // With it on (the default), the moved place is what the end writes.
    SetSettingIntRaw("OtherSet", "PositionMemory", 1);
    RunningLumera again;
    ASSERT_TRUE(again.Start(installation));
    robot::ParkMouse();
    again.Choose({"設定(&S)"});
    HWND shown = robot::WaitForWindow("TLumeraMainForm", "", again.process.id());
    ASSERT_TRUE(shown);
    EXPECT_EQ(robot::ScreenRectOf(shown).left, 20);
    EXPECT_EQ(robot::ScreenRectOf(shown).top, 10);
    SetWindowPos(shown, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::ScreenRectOf(shown).left == 50; }));
    PostMessageW(shown, WM_CLOSE, 0, 0);
    ASSERT_TRUE(robot::WaitUntil([&] { return !IsWindowVisible(shown); }));
    ASSERT_TRUE(again.Exit());
    EXPECT_EQ(SettingInt("Position", "MainLeft"), 50u);
    EXPECT_EQ(SettingInt("Position", "MainTop"), 60u);
}

// The grids' column widths are written at the end: the defaults when none were stored, a
// stored width as it was, a stored width beyond the limit as the grid took it.
TEST_F(ConfirmE2E, ColumnWidthsAreWrittenBackAtTheEnd) {
    SetSettingIntRaw("Position", "Run2", 150);
    SetSettingIntRaw("Position", "Clipboard3", 20000);
    ASSERT_TRUE(lumera.Start(installation));
    ASSERT_TRUE(lumera.Exit());
    EXPECT_EQ(SettingInt("Position", "Run1"), DWORD(ColWidths[0]));
    EXPECT_EQ(SettingInt("Position", "Run2"), 150u);
    EXPECT_EQ(SettingInt("Position", "Run3"), DWORD(ColWidths[2]));
    EXPECT_EQ(SettingInt("Position", "Clipboard1"), DWORD(ColWidths[0]));
    EXPECT_EQ(SettingInt("Position", "Clipboard2"), DWORD(ColWidths[1]));
    EXPECT_EQ(SettingInt("Position", "Clipboard3"), 10000u);
}

} // namespace
