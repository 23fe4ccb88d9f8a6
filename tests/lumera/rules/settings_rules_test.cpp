#include "settings_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

TEST(SettingsRules, EveryCheckBoxEditsItsOwnSetting) {
    std::set<std::pair<Text, Text>> settings;
    for (const SettingsCheckBox& box : SettingsCheckBoxTable())
        settings.insert({box.section, box.value});
    EXPECT_EQ(settings.size(), SettingsCheckBoxTable().size());
    // Only the logo and drive boxes (6 to 11) depend on the platform family.
    for (size_t i = 0; i < SettingsCheckBoxTable().size(); ++i)
        EXPECT_EQ(SettingsCheckBoxTable()[i].win95Only, i >= 5 && i <= 10) << "CheckBox" << i + 1;
}

TEST(SettingsRules, OnlyTheListTabsAreRemembered) {
    EXPECT_EQ(TabIndexFromSetting(1), 0);
    EXPECT_EQ(TabIndexFromSetting(2), 1);
    EXPECT_EQ(TabIndexFromSetting(3), 2);
    EXPECT_EQ(TabIndexFromSetting(0), 0);
    EXPECT_EQ(TabIndexFromSetting(4), 0);
    EXPECT_EQ(TabIndexFromSetting(-1), 0);
}

TEST(SettingsRules, NewEntriesAreNumberedAfterTheRowAbove) {
    EXPECT_EQ(NextEntryNumber("", true), 1);
    EXPECT_EQ(NextEntryNumber("No.", true), 1); // whatever the header says
    EXPECT_EQ(NextEntryNumber("3", false), 4);
    EXPECT_EQ(NextEntryNumber("", false), 1); // a row above that never got a number
    EXPECT_EQ(NextEntryNumber("abc", false), 1);
}

TEST(SettingsRules, OnlyTextInTheLastRowGrowsTheGrid) {
    // Rows: header, two entries, the new-entry row 3.
    EXPECT_TRUE(EntryEditEffectOf("x", 3, 4, true, false).appendRow);
    EXPECT_FALSE(EntryEditEffectOf("", 3, 4, true, false).appendRow);
    EXPECT_FALSE(EntryEditEffectOf("x", 2, 4, true, false).appendRow);
    // An empty grid: typing into row 1 makes it entry 1.
    EXPECT_TRUE(EntryEditEffectOf("x", 1, 2, true, false).appendRow);
}

TEST(SettingsRules, AnExistingFileNamesAnUnnamedEntry) {
    EXPECT_TRUE(EntryEditEffectOf("C:\\a.exe", 1, 3, true, true).fillName);
    EXPECT_FALSE(EntryEditEffectOf("C:\\a.exe", 1, 3, false, true).fillName);
    EXPECT_FALSE(EntryEditEffectOf("C:\\missing.exe", 1, 3, true, false).fillName);
}

class FakeStore {
public:
    std::map<Text, std::wstring> values;
    NumberedListStore store() {
        return {[this](const Text& name, const std::wstring& value) { values[name] = value; },
                [this](const Text& name) { return values.count(name) != 0; },
                [this](const Text& name) { values.erase(name); }};
    }
};

TEST(SettingsRules, ListsAreRenumberedAndTheSurplusDeleted) {
    FakeStore fake;
    fake.values = {{"Name1", L"a"}, {"File1", L"A"}, {"Name2", L"b"},  {"File2", L"B"},
                   {"Name3", L"c"}, {"File3", L"C"}, {"Visible", L"1"}};
    WriteNumberedList({{L"a", L"A"}, {L"b", L""}, {L"c", L"C"}}, "File", fake.store());
    std::map<Text, std::wstring> expected = {
        {"Name1", L"a"}, {"File1", L"A"}, {"Name2", L"c"}, {"File2", L"C"}, {"Visible", L"1"}};
    EXPECT_EQ(fake.values, expected);
}

TEST(SettingsRules, SurplusDeletionStopsAtTheFirstGap) {
    FakeStore fake;
    fake.values = {{"Name1", L"a"}, {"Clip1", L"A"}, {"Name2", L"b"}, {"Clip2", L"B"}, {"Clip4", L"D"}};
    WriteNumberedList({}, "Clip", fake.store());
    std::map<Text, std::wstring> expected = {{"Clip4", L"D"}}; // unreachable for readers anyway
    EXPECT_EQ(fake.values, expected);
}

TEST(SettingsRules, AnEmptyNameIsRemovedNotWritten) {
    FakeStore fake;
    fake.values = {{"Name1", L"old"}, {"File1", L"X"}};
    WriteNumberedList({{L"", L"http://example.com/"}}, "File", fake.store());
    std::map<Text, std::wstring> expected = {{"File1", L"http://example.com/"}};
    EXPECT_EQ(fake.values, expected);
}

} // namespace
