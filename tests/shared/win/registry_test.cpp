#include "win/registry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "test_support.h"
#include "win/encoding.h"

namespace {

// Raw look at a value, bypassing the helpers under test.
bool ReadRaw(const Text& key, const Text& name, DWORD& type, std::string& data) {
    BYTE buffer[256];
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, Widen(key.substr(1)).c_str(), Widen(name).c_str(), RRF_RT_ANY, &type,
                     buffer, &size) != ERROR_SUCCESS)
        return false;
    data.assign(reinterpret_cast<char*>(buffer), size);
    return true;
}

TEST(Registry, WritesCreateEveryLevelAndReadBack) {
    ScratchKey scratch("Write");
    Text key = scratch.path() + "\\一\\二";
    EXPECT_TRUE(RegWriteString(HKEY_CURRENT_USER, key, "名前", "値ソ"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key, "名前", "x"), "値ソ");
    EXPECT_TRUE(RegWriteInteger(HKEY_CURRENT_USER, key, "Count", -5));
    EXPECT_EQ(RegReadInteger(HKEY_CURRENT_USER, key, "Count", 0), -5);
    // A leading "\" and none address the same key.
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key.substr(1), "名前", "x"), "値ソ");
    EXPECT_TRUE(RegWriteString(HKEY_CURRENT_USER, key, "", "default"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key, "", "x"), "default");
}

TEST(Registry, ReadsFallBackToTheDefault) {
    ScratchKey scratch("Defaults");
    Text missing = scratch.path() + "\\Missing";
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, missing, "v", "dflt"), "dflt");
    EXPECT_EQ(RegReadInteger(HKEY_CURRENT_USER, missing, "v", 7), 7);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, scratch.path(), "Missing")); // reading created nothing

    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, scratch.path(), "Text", "12"));
    ASSERT_TRUE(RegWriteInteger(HKEY_CURRENT_USER, scratch.path(), "Number", 3));
    EXPECT_EQ(RegReadInteger(HKEY_CURRENT_USER, scratch.path(), "Text", 9), 9);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, scratch.path(), "Number", "n"), "n");
    EXPECT_EQ(RegReadInteger(HKEY_CURRENT_USER, scratch.path(), "Absent", 4), 4);
}

TEST(Registry, FloatAndCurrencyAreEightByteBinaries) {
    ScratchKey scratch("Binary");
    ASSERT_TRUE(RegWriteFloat(HKEY_CURRENT_USER, scratch.path(), "F", 2.5));
    ASSERT_TRUE(RegWriteCurrency(HKEY_CURRENT_USER, scratch.path(), "C", -123456789));
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadRaw(scratch.path(), "F", type, data));
    EXPECT_EQ(type, DWORD(REG_BINARY));
    ASSERT_EQ(data.size(), 8u);
    double f;
    std::memcpy(&f, data.data(), 8);
    EXPECT_EQ(f, 2.5);
    ASSERT_TRUE(ReadRaw(scratch.path(), "C", type, data));
    ASSERT_EQ(data.size(), 8u);
    Currency c;
    std::memcpy(&c, data.data(), 8);
    EXPECT_EQ(c, -123456789);
}

TEST(Registry, ExistenceAndContent) {
    ScratchKey scratch("Exists");
    Text empty = scratch.path() + "\\Empty";
    Text withDefault = scratch.path() + "\\WithDefault";
    Text withChild = scratch.path() + "\\WithChild";
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, withDefault, "", "x"));
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, withChild + "\\Child", "v", "x"));
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, empty + "\\Tmp", "v", "x"));
    ASSERT_TRUE(RegDeleteKey(HKEY_CURRENT_USER, empty, "Tmp"));

    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, scratch.path(), "Empty"));
    EXPECT_FALSE(RegKeyHasContent(HKEY_CURRENT_USER, empty));
    EXPECT_TRUE(RegKeyHasContent(HKEY_CURRENT_USER, withDefault));
    EXPECT_TRUE(RegKeyHasContent(HKEY_CURRENT_USER, withChild));
    EXPECT_FALSE(RegKeyHasContent(HKEY_CURRENT_USER, scratch.path() + "\\Nowhere"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, withDefault, ""));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, withDefault, "other"));
    // A key that cannot be opened: the subkey is looked for beneath the root.
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "\\No\\Such\\Key", "Software"));
}

TEST(Registry, Deleting) {
    ScratchKey scratch("Delete");
    Text key = scratch.path() + "\\Target";
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key, "v", "x"));
    EXPECT_FALSE(RegDeleteKey(HKEY_CURRENT_USER, scratch.path(), ""));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, scratch.path(), "Target"));

    EXPECT_TRUE(RegDeleteValue(HKEY_CURRENT_USER, key, "v"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key, "v"));
    EXPECT_TRUE(RegDeleteValue(HKEY_CURRENT_USER, key, "v")); // already gone

    EXPECT_TRUE(RegDeleteKey(HKEY_CURRENT_USER, scratch.path(), "Target"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, scratch.path(), "Target"));
    // A missing parent never sends the deletion to the root.
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, scratch.path() + "\\Kept", "v", "x"));
    EXPECT_TRUE(RegDeleteKey(HKEY_CURRENT_USER, "\\Software\\Morivane\\LumeraTests\\NoSuchParent",
                             scratch.path().substr(1) + "\\Kept"));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, scratch.path(), "Kept"));
}

TEST(Registry, WideStringsKeepNamesBeyondCp932) {
    ScratchKey scratch("Wide");
    const std::wstring photo = L"C:\\Users\\Jos\u00E9\\\u5915\u713C\u3051 caf\u00E9.jpg";
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, scratch.path(), "File1", photo));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, scratch.path(), "File1", L""), photo);
    // The CP932 read refuses what it cannot hold instead of handing back "?" names.
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, scratch.path(), "File1", "dflt"), "dflt");
    // Key and value names may be wide too; narrow text reads through the wide form.
    std::wstring wideKey = Widen(scratch.path()) + L"\\\uD55C\uAE00";
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, wideKey, L"\U0001F600", L"Zo\u00EB"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, wideKey, L"\U0001F600", L""), L"Zo\u00EB");
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, scratch.path(), "Plain", "値ソ"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, scratch.path(), "Plain", L""), Widen("値ソ"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, scratch.path(), "Missing", L"d"), L"d");
    ASSERT_TRUE(RegWriteInteger(HKEY_CURRENT_USER, scratch.path(), "Number", 1));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, scratch.path(), "Number", L"n"), L"n");
}

TEST(Registry, ExpandableStringsComeBackExpanded) {
    ScratchKey scratch("Expand");
    ASSERT_TRUE(
        WriteExpandString(HKEY_CURRENT_USER, scratch.path(), "Cmd", L"%SystemRoot%\\notepad.exe \"%1\""));
    wchar_t root[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH), 0u);
    std::wstring expected = std::wstring(root) + L"\\notepad.exe \"%1\"";
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, scratch.path(), "Cmd", L""), expected);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, scratch.path(), "Cmd", ""), Narrow(expected));
    // A reference to no variable stays as it is.
    ASSERT_TRUE(WriteExpandString(HKEY_CURRENT_USER, scratch.path(), "Odd", L"%LumeraNoSuchVariable%\\x"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, scratch.path(), "Odd", ""), "%LumeraNoSuchVariable%\\x");
}

TEST(Registry, DeletingNeverAddressesTheKeyItself) {
    ScratchKey scratch("DeleteSelf");
    Text key = scratch.path() + "\\Parent";
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key + "\\Child", "v", "x"));
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key, "v", "x"));
    for (const Text& self : {Text("\\"), Text("\\\\"), Text("\\\\\\")}) {
        EXPECT_FALSE(RegDeleteKey(HKEY_CURRENT_USER, key, self)) << self;
        EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, key, "v"));
        EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, key, "Child"));
    }
    EXPECT_TRUE(RegDeleteKey(HKEY_CURRENT_USER, key, "\\Child\\"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, key, "Child"));
}

} // namespace
