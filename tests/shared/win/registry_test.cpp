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

} // namespace
