#include "uninstall_record.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "win/registry.h"

namespace {

// Records of made-up products, removed before and after each test.
class UninstallRecordTest : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        for (const wchar_t* name : {TwoWords, Korean})
            RegDeleteTreeW(HKEY_CURRENT_USER,
                           (L"Software\\Morivane\\BrisaSetup\\" + std::wstring(name)).c_str());
        DeleteKeyIfEmpty(HKEY_CURRENT_USER, L"Software\\Morivane\\BrisaSetup");
    }
    static constexpr const wchar_t* TwoWords = L"Lumera Test Deck";
    static constexpr const wchar_t* Korean = L"\ud55c\uae00 Deck";
};

TEST_F(UninstallRecordTest, WhatIsWrittenIsReadBack) {
    const std::wstring profile = L"C:\\Users\\Jos\u00e9";
    SYSTEMTIME time = {2026, 12, 2, 8, 13, 5, 9, 0};
    EXPECT_TRUE(WriteRecordValue(TwoWords, L"SetupPath", std::wstring(L"C:\\Program Files\\Lumera \u00e9")));
    EXPECT_TRUE(WriteRecordValue(TwoWords, L"StartPath", std::wstring(L"\uae40\ubbfc\uc900")));
    for (int n = 1; n <= 2; ++n)
        EXPECT_TRUE(WriteRecordValue(TwoWords, RecordValueName(RecordList::DeskTopName, n),
                                     profile + L"\\Desktop\\Link" + std::to_wstring(n) + L".lnk"));
    // After a gap nothing more belongs to the list.
    WriteRecordValue(TwoWords, RecordValueName(RecordList::DeskTopName, 4), std::wstring(L"C:\\late.lnk"));
    const Text entry = "<HKEY_CURRENT_USER>\\Software\\ソ表<Key>";
    EXPECT_TRUE(WriteRecordValue(TwoWords, RecordValueName(RecordList::RegDelete, 1), entry));
    // Not from a data file: left out, but the list goes on behind it.
    WriteRecordValue(TwoWords, RecordValueName(RecordList::RegKey, 1), std::wstring(L"\u00e9<Value>"));
    WriteRecordValue(TwoWords, RecordValueName(RecordList::RegKey, 2), Text("Old<Value>"));

    EXPECT_FALSE(ReadUninstallRecord(TwoWords).present()) << "no DateTime yet";
    EXPECT_TRUE(WriteRecordDateTime(TwoWords, time));

    UninstallRecord record = ReadUninstallRecord(TwoWords);
    ASSERT_TRUE(record.present());
    EXPECT_NE(record.dateTime.find(L"2026"), std::wstring::npos);
    EXPECT_NE(record.dateTime.find(L"13"), std::wstring::npos);
    EXPECT_EQ(record.setupPath, L"C:\\Program Files\\Lumera \u00e9");
    EXPECT_EQ(record.startPath, L"\uae40\ubbfc\uc900");
    EXPECT_EQ(record.deskTopNames, (std::vector<std::wstring>{profile + L"\\Desktop\\Link1.lnk",
                                                              profile + L"\\Desktop\\Link2.lnk"}));
    EXPECT_EQ(record.regDeletes, std::vector<Text>{entry});
    EXPECT_EQ(record.regKeys, std::vector<Text>{"Old<Value>"});
    EXPECT_TRUE(record.files.empty());
    EXPECT_TRUE(record.regWrites.empty());
    EXPECT_FALSE(ReadUninstallRecord(L"Lumera Test").present()) << "only the whole two-word name";
}

TEST_F(UninstallRecordTest, EscToCloseAndNamesThatAddressNoRecord) {
    EXPECT_EQ(RecordEscToClose(Korean), 1);
    ASSERT_TRUE(RegWriteInteger(
        HKEY_CURRENT_USER, "\\Software\\Morivane\\BrisaSetup\\Lumera Test Deck\\OtherSet", "EscToClose", 0));
    EXPECT_EQ(RecordEscToClose(TwoWords), 0);

    // An empty name would reach the key every record shares.
    EXPECT_FALSE(WriteRecordValue(L"", L"DateTime", std::wstring(L"now")));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, "\\Software\\Morivane\\BrisaSetup", "DateTime"));
    EXPECT_FALSE(ReadUninstallRecord(L"").present());

    SYSTEMTIME time = {2026, 1, 4, 1, 0, 0, 0, 0};
    EXPECT_TRUE(WriteRecordDateTime(Korean, time));
    EXPECT_TRUE(ReadUninstallRecord(Korean).present());
    EXPECT_EQ(UninstallRecordKey(Korean), L"\\Software\\Morivane\\BrisaSetup\\\ud55c\uae00 Deck");
}

} // namespace
