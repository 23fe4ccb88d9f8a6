#include "menu.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "form.h"
#include "win/encoding.h"

namespace {

class OwnerForm : public Form {
public:
    OwnerForm() { CreateForm({"TMenuTestForm", "menu test", WS_OVERLAPPEDWINDOW, 200, 100}); }
};

std::wstring MenuString(HMENU menu, int position) {
    wchar_t buffer[512] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), buffer, 512, MF_BYPOSITION);
    return buffer;
}

bool IsSeparatorAt(HMENU menu, int position) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return (info.fType & MFT_SEPARATOR) != 0;
}

// Work done by thread timers while a pop-up menu is open (its modal loop dispatches them).
struct WhileOpen {
    static inline std::function<void()> work;
    static void CALLBACK Run(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (work)
            work();
    }
    static void CALLBACK Close(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        EndMenu();
    }
};

TEST(Menu, RealizeWhileOpenWaitsUntilTheMenuCloses) {
    OwnerForm owner;
    Menu menu;
    menu.items().Add("old one");
    MenuItem& sub = menu.items().Add("sub");
    sub.Add("old child");
    HMENU before = menu.Realize();

    bool sawOpenMenuIntact = false;
    HMENU returnedWhileOpen = nullptr;
    WhileOpen::work = [&] {
        // What the tray program's deferred start-up does when the menu is already open.
        menu.items().Clear();
        menu.items().Add("new one");
        menu.items().Add("new two");
        returnedWhileOpen = menu.Realize();
        sawOpenMenuIntact = menu.tracking() && IsMenu(before) && GetMenuItemCount(before) == 2;
    };
    SetTimer(nullptr, 0, 30, WhileOpen::Run);
    SetTimer(nullptr, 0, 300, WhileOpen::Close);
    menu.Popup(owner.handle(), 10, 10);
    WhileOpen::work = nullptr;

    EXPECT_TRUE(sawOpenMenuIntact);
    EXPECT_EQ(returnedWhileOpen, before);
    EXPECT_FALSE(menu.tracking());
    ASSERT_NE(menu.handle(), nullptr);
    EXPECT_NE(menu.handle(), before); // realized anew once closed
    ASSERT_EQ(GetMenuItemCount(menu.handle()), 2);
    EXPECT_EQ(MenuString(menu.handle(), 1), L"new two");
    EXPECT_TRUE(MenuCommands::Run(GetMenuItemID(menu.handle(), 1)));
}

TEST(Menu, ItemsKeepTheirCommandIdsAcrossRealize) {
    Menu menu;
    int runs = 0;
    MenuItem& item = menu.items().Add("item", [&runs](MenuItem&) { ++runs; });
    menu.Realize();
    UINT id = item.commandId();
    ASSERT_NE(id, 0u);
    menu.Realize(); // a command posted from the menu just closed must still find its item
    EXPECT_EQ(item.commandId(), id);
    EXPECT_TRUE(MenuCommands::Run(id));
    EXPECT_EQ(runs, 1);
    menu.items().Clear();
    EXPECT_FALSE(MenuCommands::Run(id)); // a deleted item's id leads nowhere
}

TEST(Menu, CommandIdsAreRecycledBeyondTheIdSpace) {
    size_t inUse = MenuCommands::CommandIdsInUse();
    Menu menu;
    MenuItem& list = menu.items().Add("list");
    // 45 builds of 900 items: far more ids than the 28,672 the space holds.
    for (int round = 0; round < 45; ++round) {
        list.Clear();
        for (int i = 0; i < 900; ++i)
            list.Add("item" + std::to_string(i));
        menu.Realize();
        std::set<UINT> ids;
        for (size_t i = 0; i < list.count(); ++i)
            ids.insert(list[i].commandId());
        ASSERT_EQ(ids.size(), 900u) << "round " << round;
        ASSERT_EQ(ids.count(0u), 0u) << "round " << round;
        EXPECT_EQ(MenuCommands::CommandIdsInUse(), inUse + 901);
    }
    list.Clear();
    EXPECT_EQ(MenuCommands::CommandIdsInUse(), inUse + 1);
}

TEST(Menu, LongListsBecomeChunksFilledWhenOpened) {
    size_t inUse = MenuCommands::CommandIdsInUse();
    Menu menu;
    MenuItem& list = menu.items().Add("list");
    for (int i = 0; i < 30000; ++i)
        list.Add("picture" + std::to_string(i));
    menu.Realize();
    HMENU listMenu = GetSubMenu(menu.handle(), 0);
    ASSERT_EQ(GetMenuItemCount(listMenu), 30);
    EXPECT_EQ(MenuString(listMenu, 0), L"picture0 - picture999");
    EXPECT_EQ(MenuCommands::CommandIdsInUse(), inUse + 1); // nothing shown yet, no ids taken

    // Opening every chunk needs more ids than there are: older chunks give theirs back.
    for (int chunk = 0; chunk < 30; ++chunk) {
        HMENU chunkMenu = GetSubMenu(listMenu, chunk);
        ASSERT_TRUE(MenuCommands::OnInitMenuPopup(chunkMenu));
        ASSERT_EQ(GetMenuItemCount(chunkMenu), 1000);
        UINT id = GetMenuItemID(chunkMenu, 999);
        ASSERT_NE(id, 0u) << "chunk " << chunk;
        EXPECT_EQ(list[static_cast<size_t>(chunk) * 1000 + 999].commandId(), id);
    }
    EXPECT_LE(MenuCommands::CommandIdsInUse(), size_t{0xEFFF - 0x8000 + 1});
    HMENU first = GetSubMenu(listMenu, 0);
    EXPECT_EQ(GetMenuItemCount(first), 0); // emptied for the later ones
    ASSERT_TRUE(MenuCommands::OnInitMenuPopup(first));
    ASSERT_EQ(GetMenuItemCount(first), 1000);
    UINT id = GetMenuItemID(first, 5);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(list[5].commandId(), id);
}

TEST(Menu, LazySubmenuIsPopulatedOnFirstOpeningOnly) {
    Menu menu;
    int populated = 0;
    MenuItem& lazy = menu.items().Add("lazy");
    lazy.onPopulate = [&populated](MenuItem& item) {
        ++populated;
        for (int i = 0; i < 30000; ++i)
            item.Add("file" + std::to_string(i));
    };
    double started = static_cast<double>(GetTickCount64());
    menu.Realize();
    EXPECT_EQ(populated, 0);
    EXPECT_TRUE(lazy.count() == 0 && !lazy.populated());
    HMENU sub = GetSubMenu(menu.handle(), 0);
    ASSERT_NE(sub, nullptr); // shown as a submenu before it has items
    ASSERT_TRUE(MenuCommands::OnInitMenuPopup(sub));
    double opened = static_cast<double>(GetTickCount64()) - started;
    std::printf("30,000 lazy items: realized and opened in %.0f ms\n", opened);
    EXPECT_EQ(populated, 1);
    EXPECT_EQ(lazy.count(), 30000u);
    EXPECT_EQ(GetMenuItemCount(sub), 30);
    EXPECT_FALSE(MenuCommands::OnInitMenuPopup(sub)); // already filled
    EXPECT_EQ(populated, 1);
}

TEST(Menu, LazyMenuIsFilledWhenItPopsUp) {
    OwnerForm owner;
    Menu menu;
    menu.items().onPopulate = [](MenuItem& root) { root.Add("filled on opening"); };
    menu.Realize();
    EXPECT_EQ(GetMenuItemCount(menu.handle()), 0);
    int countWhileOpen = -1;
    WhileOpen::work = [&] { countWhileOpen = GetMenuItemCount(menu.handle()); };
    SetTimer(nullptr, 0, 30, WhileOpen::Run);
    SetTimer(nullptr, 0, 200, WhileOpen::Close);
    menu.Popup(owner.handle(), 10, 10); // WM_INITMENUPOPUP reaches the layer through the owner
    WhileOpen::work = nullptr;
    EXPECT_EQ(countWhileOpen, 1);
    EXPECT_EQ(MenuString(menu.handle(), 0), L"filled on opening");
}

TEST(Menu, SeparatorsOfEmptyGroupsCollapse) {
    Menu menu;
    MenuItem& root = menu.items();
    root.AddSeparator();
    root.Add("A");
    root.AddSeparator();
    root.Add("hidden").visible = false;
    root.AddSeparator();
    root.AddSeparator();
    root.Add("B");
    root.AddSeparator();
    MenuItem& hiddenSeparator = root.AddSeparator();
    hiddenSeparator.visible = false;
    menu.Realize();
    HMENU handle = menu.handle();
    ASSERT_EQ(GetMenuItemCount(handle), 3);
    EXPECT_EQ(MenuString(handle, 0), L"A");
    EXPECT_TRUE(IsSeparatorAt(handle, 1));
    EXPECT_EQ(MenuString(handle, 2), L"B");

    root[1].visible = false; // the first group empties: its separator goes too
    menu.Realize();
    ASSERT_EQ(GetMenuItemCount(menu.handle()), 1);
    EXPECT_EQ(MenuString(menu.handle(), 0), L"B");
}

TEST(Menu, WideCaptionIsShownAndTheChosenItemKeepsItsWidePath) {
    const std::wstring sunset = L"\u5915\u713c\u3051 caf\u00e9"; // 夕焼け café
    const std::wstring hangul = L"\ud55c\uae00";                 // 한글
    const std::wstring emoji = L"photo \U0001F305";              // outside the BMP
    const std::wstring ampersand = L"Tom & Jerry";
    Menu menu;
    MenuItem& wall = menu.items().Add("wall");
    const MenuItem* chosen = nullptr;
    auto choose = [&chosen](MenuItem& item) { chosen = &item; };
    for (const std::wstring& name : {sunset, hangul, emoji, ampersand}) {
        MenuItem& item = wall.Add(name, choose);
        item.target = L"C:\\pictures\\" + name + L".jpg";
    }
    wall.Add("(その他)", choose);
    menu.Realize();
    HMENU sub = GetSubMenu(menu.handle(), 0);
    EXPECT_EQ(MenuString(sub, 0), sunset);
    EXPECT_EQ(MenuString(sub, 1), hangul);
    EXPECT_EQ(MenuString(sub, 2), emoji);
    EXPECT_EQ(MenuString(sub, 3), L"Tom && Jerry"); // a file name's "&" is no accelerator
    EXPECT_EQ(MenuString(sub, 4), Widen("(その他)"));
    EXPECT_EQ(wall[1].caption, Narrow(hangul)); // CP932 form for the text operations

    ASSERT_TRUE(MenuCommands::Run(GetMenuItemID(sub, 1)));
    ASSERT_EQ(chosen, &wall[1]);
    EXPECT_EQ(chosen->target, L"C:\\pictures\\" + hangul + L".jpg");

    wall[0].caption = "renamed"; // a caption set later replaces the wide one
    menu.Realize();
    EXPECT_EQ(MenuString(GetSubMenu(menu.handle(), 0), 0), L"renamed");
}

TEST(Menu, LongCaptionsEndInAnEllipsis) {
    Menu menu;
    MenuItem& huge = menu.items().Add(std::wstring(100000, L'x'));
    // A character outside the BMP across the cut is never halved.
    std::wstring edge = std::wstring(MaxMenuCaptionChars - 1, L'y') + L"\U0001F305" + L"zz";
    menu.items().Add(edge);
    MenuItem& withShortcut = menu.items().Add(Text(80, 'a'));
    withShortcut.shortcut = "F1";
    menu.Realize();
    std::wstring shown = MenuString(menu.handle(), 0);
    EXPECT_EQ(shown, std::wstring(MaxMenuCaptionChars, L'x') + L"\u2026");
    EXPECT_EQ(huge.caption.size(), 100000u); // the item keeps its whole name
    EXPECT_EQ(MenuString(menu.handle(), 1), std::wstring(MaxMenuCaptionChars - 1, L'y') + L"\u2026");
    EXPECT_EQ(MenuString(menu.handle(), 2), std::wstring(MaxMenuCaptionChars, L'a') + L"\u2026\tF1");
}

} // namespace
