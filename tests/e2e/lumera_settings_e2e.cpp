// The tray program's settings window, driven as a user would: opened from the tray menu,
// edited with the mouse and the keyboard, confirmed or dismissed; what it wrote is read
// back from the registry, and the menu it rebuilt from the tray.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>

#include "lumera_support.h"

using namespace lumera_e2e;

namespace {

const Text FolderMissingMessage = "ﾌｫﾙﾀﾞが存在しません。存在するﾌｫﾙﾀﾞを入力してください。";

int SelectedTab(HWND tabControl) {
    return static_cast<int>(SendMessageW(tabControl, TCM_GETCURSEL, 0, 0));
}

class SettingsWindowE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        // The logo folder is the third folder box; the installer creates it beside the program.
        CreateDirectoryW(Widen(installation.file("LogoDir")).c_str(), nullptr);
    }
    void TearDown() override {
        robot::ParkMouse();
        if (lumera.process.running()) {
            EXPECT_TRUE(lumera.Exit());
        }
        ResetSettings();
    }

    bool Start() { return lumera.Start(installation); }

    // "設定(&S)" from the tray; the settings window once it shows.
    HWND OpenSettings() {
        robot::ParkMouse(); // a menu opening under the cursor would select the item there
        lumera.Choose({"設定(&S)"});
        form = robot::WaitForWindow("TLumeraMainForm", "", lumera.process.id());
        return form;
    }

    HWND Control(const Text& name) { return robot::FindControl(form, name); }

    bool WaitHidden() {
        return robot::WaitUntil([this] { return !IsWindowVisible(form); });
    }

    // The program is still resident: its tray menu opens.
    bool TrayMenuOpens() {
        robot::ParkMouse();
        bool opened = !lumera.OpenMenu().empty();
        lumera.menus().CloseAll();
        return opened;
    }

    Installation installation{"settings"};
    RunningLumera lumera;
    HWND form = nullptr;
};

TEST_F(SettingsWindowE2E, OpensWithTheStoredValuesAndRefillsOnTheNextRequest) {
    SetSettingIntRaw("Wall", "Visible", 0);
    SetSettingStringRaw("Wall", "Path", installation.folder());
    SetSettingIntRaw("OtherSet", "Interval", 500);
    SetSettingIntRaw("OtherSet", "SplashVisible", 0);
    SetSettingIntRaw("Position", "SetBarTab", 3);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenSettings());

    EXPECT_EQ(robot::TextOf(form), "Lumera Deck for Windows");
    RECT client;
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 386);
    EXPECT_EQ(client.bottom, 431);
    EXPECT_NE(GetMenu(form), nullptr); // the help menu bar

    EXPECT_FALSE(robot::IsChecked(Control("CheckBox1")));
    EXPECT_TRUE(robot::IsChecked(Control("CheckBox2")));
    EXPECT_TRUE(robot::IsChecked(Control("CheckBox12")));
    EXPECT_FALSE(robot::IsChecked(Control("CheckBox17")));
    // The logo and drive features do not exist on the NT family.
    for (int i = 6; i <= 11; ++i) {
        HWND box = Control("CheckBox" + std::to_string(i));
        EXPECT_FALSE(IsWindowEnabled(box)) << i;
        EXPECT_FALSE(robot::IsChecked(box)) << i;
    }
    EXPECT_TRUE(IsWindowEnabled(Control("CheckBox12")));
    EXPECT_EQ(robot::TextOf(Control("CheckBox16")), "画面のﾌﾟﾛﾊﾟﾃｨ(&P)");
    EXPECT_EQ(robot::TextOf(Control("Edit1")), installation.folder());
    EXPECT_EQ(robot::TextOf(Control("Edit3")), installation.folder() + "\\LogoDir");
    EXPECT_EQ(robot::TextOf(Control("SpinEdit1")), "500");
    EXPECT_EQ(robot::TextOf(Control("BitBtn1")), "OK(&Y)");
    EXPECT_EQ(robot::TextOf(Control("BitBtn2")), "ｷｬﾝｾﾙ(&N)");

    // The stored tab is active, and "参照(&B)" has nothing to browse for on it.
    HWND tabs = Control("PageControl1");
    EXPECT_EQ(robot::TabCaptions(tabs), (std::vector<Text>{"基本設定", "実行", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ"}));
    EXPECT_EQ(SelectedTab(tabs), 2);
    HWND browse = Control("BitBtn4");
    EXPECT_EQ(robot::TextOf(browse), "参照(&B)");
    EXPECT_FALSE(IsWindowEnabled(browse));
    robot::Screenshot(form, "lumera-settings-3.bmp");
    ASSERT_TRUE(robot::SelectTab(tabs, "実行"));
    EXPECT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(browse) != FALSE; }));
    robot::Screenshot(form, "lumera-settings-2.bmp");
    ASSERT_TRUE(robot::SelectTab(tabs, "基本設定"));
    robot::Screenshot(form, "lumera-settings-1.bmp");

    // An unconfirmed edit is lost when the window is asked for again.
    robot::SetText(Control("Edit1"), "C:\\unconfirmed");
    OpenSettings();
    EXPECT_TRUE(robot::WaitForText(Control("Edit1"), installation.folder()));

    robot::Click(Control("BitBtn2"));
    EXPECT_TRUE(WaitHidden());
    EXPECT_EQ(SettingInt("Position", "SetBarTab"), 3u); // written at the end only
    ASSERT_TRUE(lumera.Exit());
    EXPECT_EQ(SettingInt("Position", "SetBarTab"), 1u);
    EXPECT_EQ(SettingInt("Position", "Run2"), 100u);
    EXPECT_EQ(SettingInt("Position", "Clipboard3"), 234u);
}

TEST_F(SettingsWindowE2E, AMissingFirstFolderIsRejectedAndNothingIsWritten) {
    SetSettingStringRaw("Wall", "Path", "C:\\no-such-folder;C:\\windows");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenSettings());
    robot::Click(Control("CheckBox12"));
    HWND tabs = Control("PageControl1");
    ASSERT_TRUE(robot::SelectTab(tabs, "実行"));
    robot::ClickMouse(Control("BitBtn1"));

    auto box = robot::WaitForMessageBox(lumera.process.id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Lumera Deck for Windows");
    EXPECT_EQ(box->text, "C:\\no-such-folder\r\n" + FolderMissingMessage);
    EXPECT_EQ(SelectedTab(tabs), 0);
    ASSERT_TRUE(robot::AnswerMessageBox(box->window, IDOK));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::FocusedControl(form) == Control("Edit1"); }));
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_EQ(SettingInt("Run", "Visible"), 1u); // as the first start wrote it
    EXPECT_EQ(SettingInt("Wall", "Visible"), std::nullopt);
    EXPECT_EQ(SettingString("Wall", "Path"), "C:\\no-such-folder;C:\\windows");

    // The boxes are checked in order: the screen-saver box comes next.
    robot::SetText(Control("Edit1"), "C:\\windows");
    robot::SetText(Control("Edit2"), "C:\\no-such-savers");
    robot::ClickMouse(Control("BitBtn1"));
    box = robot::WaitForMessageBox(lumera.process.id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "C:\\no-such-savers\r\n" + FolderMissingMessage);
    ASSERT_TRUE(robot::AnswerMessageBox(box->window, IDOK));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::FocusedControl(form) == Control("Edit2"); }));
    EXPECT_EQ(SettingString("Wall", "Path"), "C:\\no-such-folder;C:\\windows");
}

TEST_F(SettingsWindowE2E, AMissingFolderAfterAnExistingOneIsAccepted) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenSettings());
    robot::SetText(Control("Edit1"), "C:\\windows;C:\\no-such-folder");
    robot::ClickMouse(Control("BitBtn1"));
    ASSERT_TRUE(WaitHidden());
    EXPECT_EQ(SettingString("Wall", "Path"), "C:\\windows;C:\\no-such-folder");
    EXPECT_EQ(SettingInt("Wall", "Visible"), 1u);
    EXPECT_EQ(SettingInt("OtherSet", "SplashVisible"), 1u);
    EXPECT_EQ(SettingInt("Logo", "Visible"), 0u); // unticked on the NT family
    EXPECT_TRUE(TrayMenuOpens());
}

TEST_F(SettingsWindowE2E, ConfirmingWritesTheBoxesAndRenumbersTheRunList) {
    SetSettingIntRaw("Run", "Visible", 1);
    const char* const names[] = {"one", "two", "three"};
    const char* const files[] = {"C:\\one.exe", "C:\\two.exe", "C:\\three.exe"};
    for (int n = 1; n <= 3; ++n) {
        SetSettingStringRaw("Run", "Name" + std::to_string(n), names[n - 1]);
        SetSettingStringRaw("Run", "File" + std::to_string(n), files[n - 1]);
    }
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenSettings());
    robot::Click(Control("CheckBox2"));
    ASSERT_TRUE(robot::WaitUntil([&] { return !robot::IsChecked(Control("CheckBox2")); }));
    ASSERT_TRUE(robot::SelectTab(Control("PageControl1"), "実行"));

    // Row 2's content: make it current, open the editor on it, empty it, commit.
    HWND grid = Control("StringGrid1");
    robot::ClickAt(CellCentre(grid, 2, 2));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::FocusedControl(form) == grid; }));
    robot::PressKey(grid, VK_RETURN); // F2 is the about box's shortcut in this window
    robot::PressKey(grid, VK_DELETE);
    robot::PressKey(grid, VK_RETURN);
    robot::ClickMouse(Control("BitBtn1"));
    ASSERT_TRUE(WaitHidden());

    EXPECT_EQ(SettingInt("Wall", "SetVisible"), 0u);
    EXPECT_EQ(SettingInt("Wall", "Visible"), 1u);
    EXPECT_EQ(SettingString("Run", "Name1"), "one");
    EXPECT_EQ(SettingString("Run", "File1"), "C:\\one.exe");
    EXPECT_EQ(SettingString("Run", "Name2"), "three");
    EXPECT_EQ(SettingString("Run", "File2"), "C:\\three.exe");
    EXPECT_EQ(SettingString("Run", "Name3"), std::nullopt);
    EXPECT_EQ(SettingString("Run", "File3"), std::nullopt);

    // The menu was rebuilt from what was written.
    robot::ParkMouse();
    std::vector<robot::PopupMenu> menus = lumera.OpenMenu();
    ASSERT_FALSE(menus.empty());
    EXPECT_EQ(menus[0].Find("全体(&T)"), nullptr);
    ASSERT_TRUE(lumera.menus().Choose("実行(&R)"));
    menus = lumera.menus().WaitForMenus(2);
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[1].Captions(), (std::vector<Text>{"ﾌｧｲﾙ名を指定して実行(&R)...", "one", "three"}));
    lumera.menus().CloseAll();
}

TEST_F(SettingsWindowE2E, TypingIntoTheLastRowMakesItAnEntryAndAddsARow) {
    SetSettingIntRaw("Run", "Visible", 1); // and no entries
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenSettings());
    ASSERT_TRUE(robot::SelectTab(Control("PageControl1"), "実行"));
    HWND grid = Control("StringGrid1");
    robot::ClickAt(CellCentre(grid, 2, 1));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::FocusedControl(form) == grid; }));
    // An existing file names the entry; Tab goes on into the row that was added for it.
    robot::TypeText(grid, "C:\\windows\\notepad.exe");
    robot::PressKey(grid, VK_TAB);
    robot::TypeText(grid, "ﾒﾓ");
    robot::PressKey(grid, VK_TAB);
    robot::TypeText(grid, "http://example.com/");
    robot::PressKey(grid, VK_RETURN);
    robot::Screenshot(form, "lumera-settings-grid.bmp");
    robot::ClickMouse(Control("BitBtn1"));
    ASSERT_TRUE(WaitHidden());

    EXPECT_EQ(SettingString("Run", "Name1"), "notepad");
    EXPECT_EQ(SettingString("Run", "File1"), "C:\\windows\\notepad.exe");
    EXPECT_EQ(SettingString("Run", "Name2"), "ﾒﾓ");
    EXPECT_EQ(SettingString("Run", "File2"), "http://example.com/");
    EXPECT_EQ(SettingString("Run", "File3"), std::nullopt);
}

TEST_F(SettingsWindowE2E, TheRefreshIntervalIsWrittenWithinItsRange) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenSettings());
    HWND spin = Control("SpinEdit1");
    EXPECT_EQ(robot::TextOf(spin), "1000"); // the refresh timer's interval
    ASSERT_TRUE(robot::Focus(spin));
    robot::TypeText(spin, "499");
    robot::PressKey(spin, VK_UP);
    ASSERT_TRUE(robot::WaitForText(spin, "500"));
    robot::PressKey(spin, VK_RETURN); // the default button
    ASSERT_TRUE(WaitHidden());
    EXPECT_EQ(SettingInt("OtherSet", "Interval"), 500u);

    ASSERT_TRUE(OpenSettings());
    EXPECT_TRUE(robot::WaitForText(Control("SpinEdit1"), "500"));
    ASSERT_TRUE(robot::Focus(spin));
    robot::TypeText(spin, "20000");
    robot::PressKey(spin, VK_RETURN);
    ASSERT_TRUE(WaitHidden());
    EXPECT_EQ(SettingInt("OtherSet", "Interval"), 10000u);
}

TEST_F(SettingsWindowE2E, CloseBoxCancelAndEscapeHideWithoutWriting) {
    ASSERT_TRUE(Start());
    const std::function<void()> closers[] = {
        [this] { PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0); },
        [this] { robot::ClickMouse(Control("BitBtn2")); },
        [this] { robot::PressKey(form, VK_ESCAPE); },
    };
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(OpenSettings()) << i;
        robot::Click(Control("CheckBox1"));
        robot::SetText(Control("Edit1"), "C:\\windows;C:\\");
        closers[i]();
        EXPECT_TRUE(WaitHidden()) << i;
        EXPECT_EQ(SettingInt("Wall", "Visible"), std::nullopt) << i;
        EXPECT_EQ(SettingString("Wall", "Path"), std::nullopt) << i;
        EXPECT_TRUE(lumera.process.running()) << i;
        EXPECT_TRUE(TrayMenuOpens()) << i;
    }
}

TEST_F(SettingsWindowE2E, EscapeLeavesTheWindowOpenWhenSwitchedOff) {
    SetSettingIntRaw("OtherSet", "EscToClose", 0);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenSettings());
    robot::PressKey(form, VK_ESCAPE);
    EXPECT_FALSE(robot::WaitUntil([this] { return !IsWindowVisible(form); }, 1500));
    robot::ClickMouse(Control("BitBtn2"));
    EXPECT_TRUE(WaitHidden());
}

// The hidden form keeps the keyboard after the tray menu; Esc there must not end the program.
TEST_F(SettingsWindowE2E, EscapeWhileTheWindowIsHiddenChangesNothing) {
    ASSERT_TRUE(Start());
    HWND hidden = robot::FindTopWindows("TLumeraMainForm", "", lumera.process.id()).at(0);
    ASSERT_TRUE(TrayMenuOpens());
    robot::PressKey(hidden, VK_ESCAPE);
    robot::PressKey(hidden, VK_ESCAPE);
    EXPECT_FALSE(lumera.process.WaitForExit(1500).has_value());
    EXPECT_TRUE(TrayMenuOpens());
}

// "参照(&B)" browses for the folder box that last had the focus, or for the Run entry.
TEST_F(SettingsWindowE2E, BrowseFollowsTheTabAndTheLastFolderBox) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenSettings());
    robot::ClickMouse(Control("Edit2"));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::FocusedControl(form) == Control("Edit2"); }));
    robot::ClickMouse(Control("BitBtn4"));
    HWND chooser = robot::WaitForWindow("#32770", "", lumera.process.id());
    ASSERT_TRUE(chooser);
    bool titled = robot::WaitUntil([&] {
        for (const robot::ControlInfo& control : robot::ListControls(chooser))
            if (control.text == "基本ﾌｫﾙﾀﾞ [ｽｸﾘｰﾝｾｰﾊﾞｰ]")
                return true;
        return false;
    });
    EXPECT_TRUE(titled);
    ASSERT_TRUE(robot::AnswerMessageBox(chooser, IDCANCEL));

    ASSERT_TRUE(robot::SelectTab(Control("PageControl1"), "実行"));
    robot::ClickMouse(Control("BitBtn4"));
    HWND open = robot::WaitForWindow("#32770", "実行", lumera.process.id());
    ASSERT_TRUE(open);
    ASSERT_TRUE(robot::AnswerMessageBox(open, IDCANCEL));
    EXPECT_TRUE(IsWindowVisible(form));
}

// On the Windows 95 family the logo and drive boxes are there to be used.
TEST_F(SettingsWindowE2E, LogoAndDriveBoxesAreEnabledOnThe95Family) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Lumera.exe", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t version[] = L"win98";
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof version);
    RegCloseKey(key);
    SetSettingIntRaw("Kickon", "RunVisible", 0);
    bool started = Start();
    HWND opened = started ? OpenSettings() : nullptr;
    if (opened) {
        for (int i = 6; i <= 11; ++i)
            EXPECT_TRUE(IsWindowEnabled(Control("CheckBox" + std::to_string(i)))) << i;
        EXPECT_TRUE(robot::IsChecked(Control("CheckBox6")));
        EXPECT_FALSE(robot::IsChecked(Control("CheckBox10")));
        robot::Click(Control("BitBtn2"));
        EXPECT_TRUE(WaitHidden());
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Lumera.exe");
    EXPECT_TRUE(started);
    EXPECT_TRUE(opened);
}

} // namespace
