// The gallery driven from outside, as a person would: the robot reads and changes its
// standard controls and its pop-up menu under Wine.
#include <gtest/gtest.h>

#include "robot.h"
#include "win/encoding.h"

namespace {

class GalleryE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gallery_.Start(robot::ProgramFolder() + "gallery.exe"));
        form_ = robot::WaitForWindow("TGalleryForm", "", gallery_.id(), 30000);
        ASSERT_NE(form_, nullptr) << "the gallery's form did not appear";
        tabs_ = robot::FindControl(form_, "PageControl1");
        ASSERT_NE(tabs_, nullptr);
    }

    void TearDown() override {
        if (!gallery_.running())
            return;
        gallery_.CloseWindows();
        // The form quits the program when it is closed; a leftover menu or box would stop it.
        EXPECT_EQ(gallery_.WaitForExit(10000), std::optional<DWORD>(0));
    }

    HWND Control(const Text& name) {
        HWND control = robot::FindControl(form_, name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    robot::Process gallery_;
    HWND form_ = nullptr;
    HWND tabs_ = nullptr;
};

TEST_F(GalleryE2E, StandardControlsAnswerTheRobot) {
    ASSERT_TRUE(robot::SelectTab(tabs_, "標準"));
    HWND edit = Control("Edit1");
    HWND check = Control("CheckBox1");
    HWND combo = Control("ComboBox1");
    HWND button = Control("Button1");
    ASSERT_TRUE(edit && check && combo && button);
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(edit) != FALSE; }));

    // "ソ" and "表" end in the byte of "\": the text must survive both conversions whole.
    EXPECT_EQ(robot::TextOf(edit), "表示ソ");
    EXPECT_EQ(robot::TextOf(edit), Narrow(L"\u8868\u793A\u30BD"));
    ASSERT_TRUE(robot::SetText(edit, "C:\\ソフト\\表示"));
    EXPECT_EQ(robot::TextOf(edit), "C:\\ソフト\\表示");

    // A real mouse click toggles the check box both ways.
    ASSERT_TRUE(robot::IsChecked(check));
    ASSERT_TRUE(robot::ClickMouse(check));
    EXPECT_TRUE(robot::WaitUntil([&] { return !robot::IsChecked(check); }));
    ASSERT_TRUE(robot::ClickMouse(check));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::IsChecked(check); }));

    // Typed Japanese arrives as characters in the combo box's edit field.
    HWND comboEdit = robot::FindControlByIndex(combo, "Edit", 0);
    ASSERT_NE(comboEdit, nullptr);
    ASSERT_TRUE(robot::SetText(combo, ""));
    ASSERT_TRUE(robot::ClickMouse(comboEdit));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::FocusedControl(form_) == comboEdit; }));
    ASSERT_TRUE(robot::TypeText(comboEdit, "D:\\表示ｿﾌﾄ"));
    EXPECT_TRUE(robot::WaitForText(combo, "D:\\表示ｿﾌﾄ")) << robot::TextOf(combo);

    HWND label = robot::FindControlByText(form_, "Static", "名前(&N):");
    ASSERT_NE(label, nullptr);
    ASSERT_TRUE(robot::Click(button));
    EXPECT_TRUE(robot::WaitForText(label, "押されました")) << robot::TextOf(label);

    // Tab and Shift+Tab walk the tab stops in creation order.
    ASSERT_TRUE(robot::Focus(edit));
    ASSERT_TRUE(robot::PressKey(edit, VK_TAB));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::FocusedControl(form_) == check; }));
    ASSERT_TRUE(robot::PressKey(edit, VK_TAB, robot::Shift));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::FocusedControl(form_) == edit; }));

    EXPECT_FALSE(robot::SaveScreenshot("gallery.bmp").empty());
}

TEST_F(GalleryE2E, ControlListShowsNamesAndStates) {
    ASSERT_TRUE(robot::SelectTab(tabs_, "標準"));
    bool sawCheck = false;
    for (const robot::ControlInfo& control : robot::ListControls(form_)) {
        if (control.name == "CheckBox1") {
            sawCheck = true;
            EXPECT_EQ(control.className, "Button");
            EXPECT_EQ(control.text, "壁紙(&B)");
            EXPECT_TRUE(control.checked && control.visible && control.enabled);
            EXPECT_GT(control.rect.right, control.rect.left);
        }
    }
    EXPECT_TRUE(sawCheck);
    EXPECT_EQ(robot::FindControl(form_, "NoSuchControl"), nullptr);
}

TEST_F(GalleryE2E, PopupMenuIsReadAndChosenFrom) {
    ASSERT_TRUE(robot::SelectTab(tabs_, "メニュー"));
    HWND button = Control("MenuButton");
    HWND result = Control("MenuResult");
    ASSERT_TRUE(button && result);
    robot::MenuReader menus(gallery_.id());
    ASSERT_TRUE(menus.ready()) << "robot_menu_hook.dll beside the test program";
    EXPECT_TRUE(menus.ReadAll().empty());

    // Under Wine a cursor move can reach the menu late and open the submenu it lands on,
    // so the tests read the pop-up menu by its level rather than count the open menus.
    ASSERT_TRUE(robot::ParkMouse());
    ASSERT_TRUE(robot::Click(button));
    std::vector<robot::PopupMenu> open = menus.WaitForMenus(1);
    ASSERT_FALSE(open.empty());
    const robot::PopupMenu top = open[0];
    EXPECT_EQ(top.level, 0);
    ASSERT_EQ(top.items.size(), 6u);
    EXPECT_EQ(top.Captions(),
              (std::vector<Text>{"壁紙(&B)", "有効(&T)", "即起動(&D)   [DblClick]", "ﾍﾙﾌﾟ(&H)", "終了(&X)"}));
    EXPECT_TRUE(top.items[1].separator);
    EXPECT_TRUE(top.items[0].hasSubmenu && top.items[4].hasSubmenu);
    EXPECT_FALSE(top.items[5].hasSubmenu);
    EXPECT_TRUE(top.Find("有効(&T)")->checked);
    EXPECT_FALSE(top.Find("即起動(&D)   [DblClick]")->enabled);
    EXPECT_TRUE(top.Find("終了(&X)")->enabled && !top.Find("終了(&X)")->checked);
    // Items stack downwards inside the menu window, below the button.
    RECT buttonRect = robot::ScreenRectOf(button);
    EXPECT_GE(top.items[0].rect.top, buttonRect.bottom - 1);
    EXPECT_LT(top.items[0].rect.bottom, top.items[5].rect.top);

    ASSERT_TRUE(menus.Choose("ﾍﾙﾌﾟ(&H)"));
    open = menus.WaitForMenus(2);
    ASSERT_EQ(open.size(), 2u);
    EXPECT_TRUE(open[0].Find("ﾍﾙﾌﾟ(&H)")->highlighted);
    EXPECT_EQ(open[1].level, 1);
    ASSERT_EQ(open[1].items.size(), 1u);
    EXPECT_EQ(open[1].items[0].text, "ﾄﾋﾟｯｸの検索(&H)\tF1");
    EXPECT_EQ(open[1].items[0].caption, "ﾄﾋﾟｯｸの検索(&H)");
    EXPECT_EQ(open[1].items[0].shortcut, "F1");

    // Another item of the outer menu swaps the open submenu.
    ASSERT_TRUE(menus.Choose("壁紙(&B)"));
    std::optional<robot::PopupMenu> wallpaper;
    EXPECT_TRUE(robot::WaitUntil([&] {
        wallpaper = menus.ReadInnermost();
        return wallpaper && wallpaper->Find("bitmap1") != nullptr;
    }));
    ASSERT_TRUE(wallpaper);
    EXPECT_EQ(wallpaper->Captions(), (std::vector<Text>{"(なし)", "bitmap1", "(その他)"}));
    EXPECT_TRUE(wallpaper->Find("(なし)")->checked);
    EXPECT_FALSE(wallpaper->Find("bitmap1")->checked);
    EXPECT_EQ(robot::OpenMenuCount(gallery_.id()), 2);
    EXPECT_FALSE(robot::SaveScreenshot("gallery-menu.bmp").empty());

    ASSERT_TRUE(menus.Choose("bitmap1"));
    EXPECT_TRUE(robot::WaitForText(result, "bitmap1")) << robot::TextOf(result);
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::OpenMenuCount(gallery_.id()) == 0; }));
}

TEST_F(GalleryE2E, ClosedMenuChoosesNothingAndDisabledItemsCannotBeChosen) {
    ASSERT_TRUE(robot::SelectTab(tabs_, "メニュー"));
    HWND button = Control("MenuButton");
    HWND result = Control("MenuResult");
    ASSERT_TRUE(button && result);
    robot::MenuReader menus(gallery_.id());

    ASSERT_TRUE(robot::ParkMouse());
    ASSERT_TRUE(robot::Click(button));
    ASSERT_FALSE(menus.WaitForMenus(1).empty());
    EXPECT_FALSE(menus.Choose("即起動(&D)   [DblClick]"));
    EXPECT_FALSE(menus.Choose("存在しない"));
    EXPECT_TRUE(menus.CloseAll());
    EXPECT_EQ(robot::OpenMenuCount(gallery_.id()), 0);
    EXPECT_EQ(robot::TextOf(result), "(なし)");

    // Opened again, the menu still works: the top-level item runs its handler.
    ASSERT_TRUE(robot::ParkMouse());
    ASSERT_TRUE(robot::Click(button));
    ASSERT_FALSE(menus.WaitForMenus(1).empty());
    ASSERT_TRUE(menus.Choose("終了(&X)"));
    EXPECT_TRUE(robot::WaitForText(result, "終了(&X)")) << robot::TextOf(result);
}

TEST_F(GalleryE2E, QuestionBoxIsReadAndAnswered) {
    ASSERT_TRUE(robot::SelectTab(tabs_, "メニュー"));
    HWND question = Control("QuestionButton");
    HWND result = Control("MenuResult");
    ASSERT_TRUE(question && result);

    for (int answer : {IDNO, IDYES}) {
        ASSERT_TRUE(robot::Click(question));
        std::optional<robot::MessageBoxInfo> box = robot::WaitForMessageBox(gallery_.id());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->caption, "確認");
        EXPECT_EQ(box->text, "壁紙を変更しますか?");
        // The box is modal: the form takes no input until it is answered.
        EXPECT_FALSE(IsWindowEnabled(form_));
        ASSERT_TRUE(robot::AnswerMessageBox(box->window, answer));
        EXPECT_TRUE(robot::WaitForText(result, answer == IDYES ? "はい" : "いいえ")) << robot::TextOf(result);
        EXPECT_TRUE(IsWindowEnabled(form_));
    }
}

} // namespace
