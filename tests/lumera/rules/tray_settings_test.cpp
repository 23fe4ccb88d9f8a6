#include "tray_settings.h"

#include <gtest/gtest.h>

#include "memory_store.h"
#include "settings_rules.h"

namespace {

const FolderDefaults Defaults{L"C:\\WINDOWS", L"C:\\WINDOWS\\SYSTEM", L"C:\\Lumera\\LogoDir"};

TEST(TraySettings, AnEmptyStoreGivesTheDefaults) {
    MemoryStore store;
    TraySettings settings = LoadTraySettings(store, Defaults);
    for (bool shown : settings.shown)
        EXPECT_TRUE(shown);
    EXPECT_TRUE(settings.splashVisible);
    EXPECT_EQ(settings.wallPath, L"C:\\WINDOWS");
    EXPECT_EQ(settings.screenPath, L"C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(settings.logoPath, L"C:\\Lumera\\LogoDir");
    EXPECT_EQ(settings.interval, 0);
    EXPECT_TRUE(settings.run.empty());
    EXPECT_TRUE(settings.clipboard.empty());
}

TEST(TraySettings, TheMenuSettingsLeaveTheListsToTheirSubmenus) {
    MemoryStore store;
    store.WriteWide("Run", "File1", L"C:\\a.exe");
    store.WriteWide("Clipboard", "Clip1", L"text");
    store.WriteInt("Wall", "Visible", 0);
    store.WriteInt("OtherSet", "Interval", 250);
    TraySettings full = LoadTraySettings(store, Defaults);
    TraySettings menu = LoadMenuSettings(store, Defaults);
    EXPECT_EQ(full.run.size(), 1u);
    EXPECT_EQ(full.clipboard.size(), 1u);
    EXPECT_TRUE(menu.run.empty());
    EXPECT_TRUE(menu.clipboard.empty());
    EXPECT_EQ(menu.shown, full.shown);
    EXPECT_EQ(menu.interval, 250);
    EXPECT_EQ(menu.wallPath, full.wallPath);
}

TEST(TraySettings, OnlyTheNumberOneSwitchesOn) {
    MemoryStore store;
    store.WriteInt("Wall", "Visible", 2);
    store.WriteInt("Screen", "StartVisible", 0);
    store.WriteString("Run", "Visible", "1"); // the wrong type: the default
    store.WriteInt("OtherSet", "SplashVisible", -1);
    TraySettings settings = LoadTraySettings(store, Defaults);
    EXPECT_FALSE(settings.shown[WallpaperSwitch]);
    EXPECT_FALSE(settings.shown[SaverStartSwitch]);
    EXPECT_TRUE(settings.shown[RunSwitch]);
    EXPECT_TRUE(settings.shown[ArrangementSwitch]);
    EXPECT_FALSE(settings.splashVisible);
}

TEST(TraySettings, StoringWritesEverySwitchToItsOwnSettingAndClampsTheInterval) {
    MemoryStore store;
    TraySettings settings;
    for (size_t i = 0; i < settings.shown.size(); ++i)
        settings.shown[i] = i % 2 == 0;
    settings.splashVisible = false;
    settings.wallPath = L"C:\\Pictures;D:\\More";
    settings.interval = 20000;
    StoreTraySettings(store, settings);

    const auto& table = SettingsCheckBoxTable();
    for (size_t i = 0; i < settings.shown.size(); ++i) {
        const MemoryStore::Value* value = store.Find(table[i].section, table[i].value);
        ASSERT_NE(value, nullptr) << table[i].value;
        EXPECT_TRUE(value->isNumber);
        EXPECT_EQ(value->number, i % 2 == 0 ? 1 : 0) << "CheckBox" << i + 1;
    }
    EXPECT_EQ(store.ReadInt("OtherSet", "SplashVisible", 1), 0);
    EXPECT_EQ(store.ReadWide("Wall", "Path", L""), L"C:\\Pictures;D:\\More");
    EXPECT_EQ(store.ReadInt("OtherSet", "Interval", 0), 10000);
    settings.interval = 0;
    StoreTraySettings(store, settings);
    EXPECT_EQ(store.ReadInt("OtherSet", "Interval", 0), 1);

    TraySettings back = LoadTraySettings(store, Defaults);
    EXPECT_EQ(back.shown, settings.shown);
    EXPECT_EQ(back.wallPath, settings.wallPath);
    EXPECT_FALSE(back.splashVisible);
}

TEST(TraySettings, ASnippetWithoutANameStaysWithoutOne) {
    MemoryStore store;
    store.WriteWide("Clipboard", "Clip1", L"info@example.jp");
    store.WriteWide("Clipboard", "Name2", L"住所");
    store.WriteWide("Clipboard", "Clip2", L"(住所)");
    TraySettings settings = LoadTraySettings(store, Defaults);
    ASSERT_EQ(settings.clipboard.size(), 2u);
    EXPECT_EQ(settings.clipboard[0].name, L"");
    EXPECT_EQ(settings.clipboard[1].name, L"住所");

    StoreTraySettings(store, settings);
    EXPECT_FALSE(store.Exists("Clipboard", "Name1"));
    EXPECT_EQ(store.ReadWide("Clipboard", "Clip1", L""), L"info@example.jp");
    EXPECT_EQ(store.ReadWide("Clipboard", "Name2", L""), L"住所");
}

TEST(TraySettings, AnEmptiedRunEntryIsDroppedAndTheListRenumbered) {
    MemoryStore store;
    for (int n = 1; n <= 3; ++n) {
        store.WriteWide("Run", "Name" + std::to_string(n), L"n" + std::to_wstring(n));
        store.WriteWide("Run", "File" + std::to_string(n), L"C:\\f" + std::to_wstring(n) + L".exe");
    }
    TraySettings settings = LoadTraySettings(store, Defaults);
    ASSERT_EQ(settings.run.size(), 3u);
    settings.run[1].content.clear();
    StoreTraySettings(store, settings);

    std::vector<ListRow> run = ReadNumberedList(store, "Run", "File");
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(run[1].name, L"n3");
    EXPECT_EQ(run[1].content, L"C:\\f3.exe");
    EXPECT_FALSE(store.Exists("Run", "Name3"));
    EXPECT_FALSE(store.Exists("Run", "File3"));
}

TEST(TraySettings, AListEndsAtTheFirstEmptyContent) {
    MemoryStore store;
    store.WriteWide("Run", "File1", L"a");
    store.WriteWide("Run", "File2", L"");
    store.WriteWide("Run", "File3", L"c");
    EXPECT_EQ(ReadNumberedList(store, "Run", "File").size(), 1u);
    EXPECT_TRUE(ReadNumberedList(store, "Clipboard", "Clip").empty());
}

TEST(TraySettings, TheNtFamilyShowsNoLogoOrDriveItems) {
    for (int i = 0; i < MenuSwitchCount; ++i) {
        auto item = static_cast<MenuSwitch>(i);
        bool win95Only = i >= StartupLogoSwitch && i <= EjectSwitch;
        EXPECT_EQ(ShownOnPlatform(item, true, true), !win95Only) << i;
        EXPECT_TRUE(ShownOnPlatform(item, true, false)) << i;
        EXPECT_FALSE(ShownOnPlatform(item, false, false)) << i;
    }
}

// Paths and entries beyond CP932 are stored and read back through the wide values.
TEST(TraySettings, NamesBeyondCp932SurviveARoundTrip) {
    MemoryStore store;
    TraySettings settings;
    settings.wallPath = L"C:\\Zo\u00EB;D:\\\u5F20\u4F1F";
    settings.screenPath = L"C:\\\uD55C\uAE00";
    settings.logoPath = L"C:\\Jos\u00E9\\LogoDir";
    settings.run = {{L"Zo\u00EB", L"C:\\\u5F20\u4F1F notes.txt"},
                    {L"", L"C:\\Jos\u00E9\\a.exe -x \uD55C\uAE00"}};
    settings.clipboard = {{L"住所", L"Jos\u00E9"}};
    StoreTraySettings(store, settings);
    EXPECT_EQ(store.ReadString("Wall", "Path", "narrow"), "narrow"); // never a "?" copy beside it
    TraySettings back = LoadTraySettings(store, Defaults);
    EXPECT_EQ(back.wallPath, settings.wallPath);
    EXPECT_EQ(back.screenPath, settings.screenPath);
    EXPECT_EQ(back.logoPath, settings.logoPath);
    ASSERT_EQ(back.run.size(), 2u);
    EXPECT_EQ(back.run[0].name, L"Zo\u00EB");
    EXPECT_EQ(back.run[0].content, L"C:\\\u5F20\u4F1F notes.txt");
    EXPECT_EQ(back.run[1].name, L"");
    EXPECT_EQ(back.run[1].content, L"C:\\Jos\u00E9\\a.exe -x \uD55C\uAE00");
    ASSERT_EQ(back.clipboard.size(), 1u);
    EXPECT_EQ(back.clipboard[0].content, L"Jos\u00E9");
}

} // namespace
