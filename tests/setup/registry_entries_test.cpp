#include "registry_entries.h"

#include <gtest/gtest.h>

#include <cstring>

#include "test_support.h"
#include "win/encoding.h"
#include "win/registry.h"

namespace {

const Text User = "HKEY_CURRENT_USER";

bool KeyExists(HKEY root, const Text& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Widen(path[0] == '\\' ? path.substr(1) : path).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

template <typename T> bool ReadBinary(const Text& key, const Text& name, T& out) {
    DWORD type = 0, size = sizeof out;
    return RegGetValueW(HKEY_CURRENT_USER, Widen(key.substr(1)).c_str(), Widen(name).c_str(), RRF_RT_ANY,
                        &type, &out, &size) == ERROR_SUCCESS &&
           type == REG_BINARY && size == sizeof out;
}

TEST(RegistryEntries, WritesEveryKind) {
    ScratchKey key("entries");
    const Text base = User + key.path();
    EXPECT_TRUE(WriteRegistryEntry(base + "\\Sub\\ソ表\\Name=<String>a=b\\c>d"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key.path() + "\\Sub\\ソ表", "Name", ""), "a=b\\c>d");
    EXPECT_TRUE(WriteRegistryEntry("\\" + base + "\\Count=<Integer>-12"));
    EXPECT_EQ(RegReadInteger(HKEY_CURRENT_USER, key.path(), "Count", 0), -12);
    EXPECT_TRUE(WriteRegistryEntry(base + "\\@=<String>default"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key.path(), "", ""), "default");

    EXPECT_TRUE(WriteRegistryEntry(base + "\\Ratio=<Double>2.5"));
    double ratio = 0;
    ASSERT_TRUE(ReadBinary(key.path(), "Ratio", ratio));
    EXPECT_EQ(ratio, 2.5);
    EXPECT_TRUE(WriteRegistryEntry(base + "\\Price=<Currency>12.34567"));
    Currency price = 0;
    ASSERT_TRUE(ReadBinary(key.path(), "Price", price));
    EXPECT_EQ(price, 123457);
}

TEST(RegistryEntries, UnconvertibleOrMalformedWritesNothing) {
    ScratchKey key("entries");
    const Text base = User + key.path();
    EXPECT_FALSE(WriteRegistryEntry(base + "\\Count=<Integer>twelve"));
    EXPECT_FALSE(WriteRegistryEntry(base + "\\Ratio=<Double>2,5")); // the system's separator is "."
    EXPECT_FALSE(WriteRegistryEntry(base + "\\Price=<Currency>"));
    EXPECT_FALSE(WriteRegistryEntry(base + "\\Other=<Binary>00"));
    EXPECT_FALSE(WriteRegistryEntry(base + "\\NoMarker=text"));
    EXPECT_FALSE(WriteRegistryEntry("HKCU" + key.path() + "\\V=<String>x"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key.path()));
}

TEST(RegistryEntries, RootDefaultValue) {
    ValueOverride rootDefault(HKEY_CURRENT_USER, "", "");
    EXPECT_TRUE(WriteRegistryEntry("HKEY_CURRENT_USER\\@=<String>root text"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, "", "", ""), "root text");
    EXPECT_TRUE(DeleteRegistryEntry("<Value>HKEY_CURRENT_USER\\@"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, "", ""));
}

TEST(RegistryEntries, DeletesValuesAndTrees) {
    ScratchKey key("entries");
    const Text base = User + key.path();
    RegWriteString(HKEY_CURRENT_USER, key.path(), "Keep", "1");
    RegWriteString(HKEY_CURRENT_USER, key.path(), "Drop", "1");
    RegWriteString(HKEY_CURRENT_USER, key.path() + "\\Tree\\a\\b", "v", "1");
    RegWriteString(HKEY_CURRENT_USER, key.path() + "\\Tree\\c", "v", "1");
    // A subkey whose name CP932 cannot hold goes with its tree too.
    RegWriteString(HKEY_CURRENT_USER, Widen(key.path() + "\\Tree\\") + L"\ud55c\uae00", L"v", L"1");

    EXPECT_TRUE(DeleteRegistryEntry("<Value>" + base + "\\Drop=ignored"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key.path(), "Drop"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, key.path(), "Keep"));

    EXPECT_TRUE(DeleteRegistryEntry("<Key>\\" + base + "\\Tree\\"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key.path() + "\\Tree"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, key.path(), "Keep")); // has content: not pruned

    EXPECT_FALSE(DeleteRegistryEntry("<Key>HKEY_CURRENT_USER"));
    EXPECT_FALSE(DeleteRegistryEntry("<Tree>" + base + "\\Keep"));
}

TEST(RegistryEntries, NoSubkeyNamedDeletesNothing) {
    ScratchKey key("entries");
    RegWriteString(HKEY_CURRENT_USER, key.path() + "\\Child", "v", "1");
    EXPECT_FALSE(DeleteKeyTree(HKEY_CURRENT_USER, key.path(), ""));
    EXPECT_FALSE(DeleteKeyTree(HKEY_CURRENT_USER, key.path(), "\\"));
    EXPECT_FALSE(DeleteKeyTree(HKEY_CURRENT_USER, "", ""));
    EXPECT_FALSE(DeleteRegistryEntry("<Key>" + User + key.path() + "\\@"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key.path() + "\\Child"));
    // A key that is not there is gone afterwards: nothing to do.
    EXPECT_TRUE(DeleteKeyTree(HKEY_CURRENT_USER, key.path(), "Missing"));
}

TEST(RegistryEntries, PruningStopsAtTheFirstComponent) {
    const Text top = "LumeraPruneTest";
    RegWriteString(HKEY_CURRENT_USER, top + "\\a\\b\\c\\d", "v", "1");
    EXPECT_TRUE(DeleteRegistryEntry("<Key>HKEY_CURRENT_USER\\" + top + "\\a\\b\\c"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, top + "\\a"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, top)); // the first component survives, empty
    RegDeleteKey(HKEY_CURRENT_USER, "", top);

    // With a leading "\" on the key path the rule is the same.
    RegWriteString(HKEY_CURRENT_USER, top + "\\a\\b", "v", "1");
    RegWriteString(HKEY_CURRENT_USER, top + "\\x", "v", "1");
    EXPECT_TRUE(DeleteKeyAndPrune(HKEY_CURRENT_USER, "\\" + top + "\\a\\", "b"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, top + "\\a"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, top + "\\x")); // not empty: stays
    DeleteKeyTree(HKEY_CURRENT_USER, "", top);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, top));
}

TEST(RegistryEntries, LegacyRecords) {
    ScratchKey key("entries");
    const Text base = User + key.path();
    ConvertLegacyEntry(base + "\\Name=old text", LegacyKind::String);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key.path(), "Name", ""), "old text");
    ConvertLegacyEntry(base + "\\Count=7", LegacyKind::Integer);
    EXPECT_EQ(RegReadInteger(HKEY_CURRENT_USER, key.path(), "Count", 0), 7);
    ConvertLegacyEntry(base + "\\Bad", LegacyKind::String);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key.path(), "Bad"));
    // "RegKey" and "RegSec" records are delete entries without their marker.
    EXPECT_TRUE(DeleteRegistryEntry("<Value>" + base + "\\Name"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key.path(), "Name"));
}

} // namespace
