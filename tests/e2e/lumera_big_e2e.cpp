// The tray program with very big lists: a wallpaper folder of 30,000 pictures and a Run
// list of 5,000 entries neither delay the icon nor make the submenus unusable, since they
// are listed only when their submenu first opens. Such a submenu is listed anew after the
// settings change, and the settings window made only when needed still has its layout
// written at the end.
#include <gtest/gtest.h>

#include <string>

#include "lumera_support.h"

using namespace lumera_e2e;

namespace {

constexpr int Pictures = 30000;
constexpr int RunEntries = 5000;
// Far below what listing 30,000 files into the menu at the start took.
constexpr DWORD ReadyWithin = 5000;

// The pictures (empty files: the menu looks at names only), made by the test's CTest
// fixture on the Unix side: pic00000.bmp .. pic29999.bmp.
const Text PictureFolder = "C:\\lumera-big-pictures";

int CountFiles(const Text& folder) {
    int count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(Widen(folder + "\\*.bmp").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do
        ++count;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

// One key opened for the whole list: thousands of single writes would take long.
void WriteRunList(const Text& target, int count) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Morivane\\Lumera\\Run", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    auto write = [key](const std::wstring& name, const std::wstring& value) {
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    for (int n = 1; n <= count; ++n) {
        write(L"Name" + std::to_wstring(n), L"entry" + std::to_wstring(n));
        write(L"File" + std::to_wstring(n), Widen(target));
    }
    DWORD visible = 1;
    RegSetValueExW(key, L"Visible", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&visible), sizeof visible);
    RegCloseKey(key);
}

const robot::MenuEntry* FindByPrefix(const robot::PopupMenu& menu, const Text& prefix) {
    for (const robot::MenuEntry& entry : menu.items) {
        if (entry.caption.compare(0, prefix.size(), prefix) == 0)
            return &entry;
    }
    return nullptr;
}

class BigListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        savedWallpaper = robot::ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper");
        SetRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", Text());
        pictures = PictureFolder;
        SetSettingStringRaw("Wall", "Path", pictures);
        SetSettingIntRaw("Wall", "Visible", 1);
        SetSettingIntRaw("OtherSet", "SplashVisible", 0);
    }
    void TearDown() override {
        ResetSettings();
        SetRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", savedWallpaper);
    }

    Installation installation{"big"};
    Text pictures;
    std::optional<Text> savedWallpaper;
};

TEST_F(BigListsTest, TheIconComesAtOnceAndAPictureDeepInTheFolderCanBeChosen) {
    ASSERT_EQ(CountFiles(pictures), Pictures) << "made by the CTest fixture lumera_big_pictures";
    WriteRunList(installation.exe(), RunEntries);
    RunningLumera lumera;
    DWORD started = GetTickCount();
    ASSERT_TRUE(lumera.Start(installation));
    EXPECT_LT(GetTickCount() - started, ReadyWithin);

    // The submenu lists the folder now, as chunks of a thousand: "(なし)" and "(その他)"
    // are in the first and last.
    robot::ParkMouse();
    ASSERT_FALSE(lumera.OpenMenu().empty());
    ASSERT_TRUE(lumera.menus().Choose("壁紙(&B)"));
    std::vector<robot::PopupMenu> open = lumera.menus().WaitForMenus(2, 20000);
    ASSERT_EQ(open.size(), 2u);
    const std::vector<robot::MenuEntry>& chunks = open[1].items;
    ASSERT_EQ(chunks.size(), static_cast<size_t>((Pictures + 2 + 999) / 1000));
    EXPECT_EQ(chunks.front().caption.compare(0, 6, "(なし)"), 0) << chunks.front().caption;
    EXPECT_NE(chunks.back().caption.find("(その他)"), Text::npos) << chunks.back().caption;

    // Deep in the folder: an item of the 26th chunk, near its top so that it is on screen.
    Text chunkCaption = chunks[25].caption;
    ASSERT_TRUE(lumera.menus().Choose(chunkCaption));
    open = lumera.menus().WaitForMenus(3, 20000);
    ASSERT_EQ(open.size(), 3u);
    ASSERT_GT(open[2].items.size(), 5u); // the robot reads the first 64
    Text chosen = open[2].items[5].caption;
    ASSERT_EQ(chosen.compare(0, 3, "pic"), 0) << chosen;
    lumera.menus().CloseAll();
    // Under load Wine can lose a click on a menu item: the choice is made again then.
    auto written = [&] {
        return IsShortFormOf(
            robot::ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"),
            pictures + "\\" + chosen + ".bmp");
    };
    bool chosenAndWritten = false;
    for (int attempt = 0; attempt < 3 && !chosenAndWritten; ++attempt)
        chosenAndWritten =
            Choose(lumera, {"壁紙(&B)", chunkCaption, chosen}) && robot::WaitUntil(written, 10000);
    EXPECT_TRUE(chosenAndWritten) << chosen;

    // The refresh marks the chosen picture in the listed submenu.
    EXPECT_TRUE(robot::WaitUntil(
        [&] {
            std::vector<robot::PopupMenu> menus;
            if (!lumera.OpenMenu().empty() && lumera.menus().Choose("壁紙(&B)") &&
                lumera.menus().WaitForMenus(2).size() == 2 && lumera.menus().Choose(chunkCaption))
                menus = lumera.menus().WaitForMenus(3);
            lumera.menus().CloseAll();
            if (menus.size() < 3)
                return false;
            const robot::MenuEntry* entry = menus[2].Find(chosen);
            return entry && entry->checked;
        },
        20000));

    // The Run list: 5,000 entries after "ﾌｧｲﾙ名を指定して実行(&R)...", in chunks too.
    robot::ParkMouse();
    ASSERT_FALSE(lumera.OpenMenu().empty());
    ASSERT_TRUE(lumera.menus().Choose("実行(&R)"));
    open = lumera.menus().WaitForMenus(2, 20000);
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[1].items.size(), static_cast<size_t>((RunEntries + 1 + 999) / 1000));
    const robot::MenuEntry* chunk = FindByPrefix(open[1], "entry4000 - ");
    EXPECT_TRUE(chunk && chunk->caption.find("entry4999") != Text::npos);
    EXPECT_EQ(open[1].items.back().caption, "entry5000 - entry5000");
    lumera.menus().CloseAll();
    EXPECT_TRUE(lumera.Exit());
}

// Small folders whose listing a test changes while the program runs.
class RefillTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        savedWallpaper = robot::ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper");
        for (const char* name : {"first", "second"}) {
            CreateDirectoryW(Widen(installation.file(name)).c_str(), nullptr);
            CloseHandle(CreateFileW(Widen(installation.file(name) + "\\" + name + ".bmp").c_str(),
                                    GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
        SetSettingStringRaw("Wall", "Path", installation.file("first"));
        SetSettingIntRaw("Wall", "Visible", 1);
        SetSettingIntRaw("OtherSet", "SplashVisible", 0);
    }
    void TearDown() override {
        ResetSettings();
        SetRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", savedWallpaper);
    }

    std::optional<robot::PopupMenu> WallpaperSubmenu() {
        robot::ParkMouse();
        std::vector<robot::PopupMenu> menus;
        if (!lumera.OpenMenu().empty() && lumera.menus().Choose("壁紙(&B)"))
            menus = lumera.menus().WaitForMenus(2);
        lumera.menus().CloseAll();
        if (menus.size() < 2)
            return std::nullopt;
        return menus[1];
    }

    Installation installation{"refill"};
    RunningLumera lumera;
    std::optional<Text> savedWallpaper;
};

TEST_F(RefillTest, AConfirmedFolderChangeRefillsTheSubmenuAtItsNextOpeningWithItsMark) {
    // The current wallpaper lies in the folder the settings will name.
    SetRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper",
                      installation.file("second") + "\\second.bmp");
    ASSERT_TRUE(lumera.Start(installation));
    std::optional<robot::PopupMenu> walls = WallpaperSubmenu();
    ASSERT_TRUE(walls);
    EXPECT_EQ(walls->Captions(), (std::vector<Text>{"(なし)", "first", "(その他)"}));
    // Listed after the refresh knew the wallpaper: marked as the refresh would have.
    const robot::MenuEntry* other = walls->Find("(その他)");
    EXPECT_TRUE(other && other->checked);

    robot::ParkMouse();
    ASSERT_TRUE(Choose(lumera, {"設定(&S)"}));
    HWND form = robot::WaitForWindow("TLumeraMainForm", "", lumera.process.id());
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(form) != FALSE; }));
    robot::SetText(robot::FindControl(form, "Edit1"), installation.file("second"));
    robot::ClickMouse(robot::FindControl(form, "BitBtn1"));
    ASSERT_TRUE(robot::WaitUntil([&] { return !IsWindowVisible(form); }));

    walls = WallpaperSubmenu();
    ASSERT_TRUE(walls);
    EXPECT_EQ(walls->Captions(), (std::vector<Text>{"(なし)", "second", "(その他)"}));
    const robot::MenuEntry* second = walls->Find("second");
    EXPECT_TRUE(second && second->checked);
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(RefillTest, TheEndWritesTheStoredOrDefaultLayoutOfANeverOpenedSettingsWindow) {
    SetSettingIntRaw("Position", "SetBarTab", 3);
    SetSettingIntRaw("Position", "Run2", 150);
    ASSERT_TRUE(lumera.Start(installation));
    EXPECT_TRUE(lumera.Exit());
    EXPECT_EQ(SettingInt("Position", "SetBarTab"), 3u);
    EXPECT_EQ(SettingInt("Position", "Run2"), 150u);
    EXPECT_EQ(SettingInt("Position", "Run3"), 234u); // the default, written as when shown
    EXPECT_EQ(SettingInt("Position", "Clipboard2"), 100u);
}

} // namespace
