#include "registry_entry.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct WriteCase {
    const char* entry;
    RegistryRoot root;
    const char* keyPath;
    const char* valueName;
    RegistryValueKind kind;
    const char* data;
};

TEST(RegistryWriteEntry, EveryForm) {
    const WriteCase cases[] = {
        {"HKEY_CURRENT_USER\\Software\\Maker\\App\\Name=<String>text", RegistryRoot::CurrentUser,
         "Software\\Maker\\App", "Name", RegistryValueKind::String, "text"},
        {"\\HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\Count=<Integer>12", RegistryRoot::LocalMachine, "SOFTWARE\\X",
         "Count", RegistryValueKind::Integer, "12"},
        // Data may hold "=", "\" and ">".
        {"HKEY_CLASSES_ROOT\\.abc\\@=<String>a=b\\c>d", RegistryRoot::ClassesRoot, ".abc", "",
         RegistryValueKind::String, "a=b\\c>d"},
        // The root's own default value; "@" as the key path is the root too.
        {"HKEY_USERS\\@=<String>v", RegistryRoot::Users, "", "", RegistryValueKind::String, "v"},
        {"HKEY_USERS\\@\\N=<Double>1.5", RegistryRoot::Users, "", "N", RegistryValueKind::Double, "1.5"},
        {"HKEY_CURRENT_CONFIG\\K\\=<Currency>", RegistryRoot::CurrentConfig, "K", "",
         RegistryValueKind::Currency, ""},
        {"HKEY_DYN_DATA\\V=<String>", RegistryRoot::DynData, "", "V", RegistryValueKind::String, ""},
        // A name with "\" before "=" can only be a deeper key path.
        {"HKEY_CURRENT_USER\\K\\a\\b=<String>x", RegistryRoot::CurrentUser, "K\\a", "b",
         RegistryValueKind::String, "x"},
        // "ソ" (83 5C) in a key name is one character, not a separator.
        {"HKEY_CURRENT_USER\\\x83\x5C\\\x95\x5C=<String>x", RegistryRoot::CurrentUser, "\x83\x5C", "\x95\x5C",
         RegistryValueKind::String, "x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        auto parsed = ParseRegistryWriteEntry(c.entry);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->root, c.root);
        EXPECT_EQ(parsed->keyPath, c.keyPath);
        EXPECT_EQ(parsed->valueName, c.valueName);
        EXPECT_EQ(parsed->kind, c.kind);
        EXPECT_EQ(parsed->data, c.data);
    }
}

TEST(RegistryWriteEntry, MalformedEntriesWriteNothing) {
    const char* malformed[] = {
        "",
        "HKEY_CURRENT_USER",
        "HKEY_CURRENT_USER=<String>x",           // no "\" at all
        "HKEY_CURRENT_USER\\K\\V",               // no "="
        "HKEY_CURRENT_USER=<String>\\x",         // first "\" after "="
        "HKEY_CURRENT_USER\\K\\V=<String",       // no ">" after "="
        "HKEY_CURRENT_USER\\K\\V=String>x",      // unknown marker
        "HKEY_CURRENT_USER\\K\\V=<string>x",     // markers are case-sensitive
        "HKEY_CURRENT_USER\\K\\V= <String>x",    // marker must follow "=" directly
        "hkey_current_user\\K\\V=<String>x",     // roots are case-sensitive
        "HKCU\\K\\V=<String>x",                  // abbreviations are no roots
        "\\\\HKEY_CURRENT_USER\\K\\V=<String>x", // only one leading "\"
        "HKEY_PERFORMANCE_DATA\\K\\V=<String>x", // not among the six
        "\\=<String>x",
    };
    for (const char* entry : malformed)
        EXPECT_FALSE(ParseRegistryWriteEntry(entry)) << entry;
}

struct DeleteCase {
    const char* entry;
    RegistryDeleteKind kind;
    RegistryRoot root;
    const char* keyPath;
    const char* name;
};

TEST(RegistryDeleteEntry, EveryForm) {
    const DeleteCase cases[] = {
        {"<Key>HKEY_CURRENT_USER\\Software\\Maker\\App", RegistryDeleteKind::Key, RegistryRoot::CurrentUser,
         "Software\\Maker", "App"},
        {"<Key>\\HKEY_CURRENT_USER\\Software\\Maker\\App\\", RegistryDeleteKind::Key,
         RegistryRoot::CurrentUser, "Software\\Maker", "App"},
        {"<Value>HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\Name=ignored\\y", RegistryDeleteKind::Value,
         RegistryRoot::LocalMachine, "SOFTWARE\\X", "Name"},
        {"<Value>HKEY_CLASSES_ROOT\\.abc\\@", RegistryDeleteKind::Value, RegistryRoot::ClassesRoot, ".abc",
         ""},
        {"<Value>HKEY_CLASSES_ROOT\\.abc\\", RegistryDeleteKind::Value, RegistryRoot::ClassesRoot, "",
         ".abc"},
        {"<Value>HKEY_USERS\\@\\N", RegistryDeleteKind::Value, RegistryRoot::Users, "", "N"},
        {"<Key>HKEY_CLASSES_ROOT\\.abc", RegistryDeleteKind::Key, RegistryRoot::ClassesRoot, "", ".abc"},
        {"<Value>HKEY_CURRENT_USER\\", RegistryDeleteKind::Value, RegistryRoot::CurrentUser, "", ""},
        {"<Key>HKEY_CURRENT_USER\\\x83\x5C\\\x95\x5C", RegistryDeleteKind::Key, RegistryRoot::CurrentUser,
         "\x83\x5C", "\x95\x5C"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        auto parsed = ParseRegistryDeleteEntry(c.entry);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->kind, c.kind);
        EXPECT_EQ(parsed->root, c.root);
        EXPECT_EQ(parsed->keyPath, c.keyPath);
        EXPECT_EQ(parsed->name, c.name);
    }
}

TEST(RegistryDeleteEntry, MalformedEntriesDeleteNothing) {
    const char* malformed[] = {
        "",
        "HKEY_CURRENT_USER\\Software\\X", // no marker
        "<Key>HKEY_CURRENT_USER",         // no "\" after the root
        "<Tree>HKEY_CURRENT_USER\\X",     // unknown marker
        "<key>HKEY_CURRENT_USER\\X",      // case-sensitive
        " <Key>HKEY_CURRENT_USER\\X",     // marker must start the entry
        "<Key>HKCU\\X",
        "<Key>\\\\HKEY_CURRENT_USER\\X",
        "<Key>HKEY_CURRENT_USER=\\Software", // the "\" lies in the ignored part
        "<Value>=<Key>HKEY_CURRENT_USER\\X",
    };
    for (const char* entry : malformed)
        EXPECT_FALSE(ParseRegistryDeleteEntry(entry)) << entry;
}

TEST(RegistryEntryData, Integers) {
    EXPECT_EQ(RegistryIntegerData("42"), 42);
    EXPECT_EQ(RegistryIntegerData(" -2147483648 "), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RegistryIntegerData("4294967295"), -1); // the full DWORD range
    EXPECT_FALSE(RegistryIntegerData("4294967296"));
    EXPECT_FALSE(RegistryIntegerData(""));
    EXPECT_FALSE(RegistryIntegerData("12a"));
    EXPECT_FALSE(RegistryIntegerData("1.0"));
}

TEST(RegistryEntryData, FloatsFollowTheGivenSeparator) {
    EXPECT_EQ(RegistryFloatData("1.5", "."), 1.5);
    EXPECT_EQ(RegistryFloatData(" -0.25e2 ", "."), -25.0);
    EXPECT_EQ(RegistryFloatData("3", "."), 3.0);
    EXPECT_EQ(RegistryFloatData(".5", "."), 0.5);
    EXPECT_EQ(RegistryFloatData("2.", "."), 2.0);
    EXPECT_EQ(RegistryFloatData("1,5", ","), 1.5);
    // A point where the system uses a comma is no number, and the other way round.
    EXPECT_FALSE(RegistryFloatData("1.5", ","));
    EXPECT_FALSE(RegistryFloatData("1,5", "."));
    for (const char* bad : {"", ".", "-", "e5", "1e", "1e+", "inf", "nan", "0x10", "1.2.3", "1e999", "1 2"})
        EXPECT_FALSE(RegistryFloatData(bad, ".")) << bad;
}

TEST(RegistryEntryData, CurrencyKeepsFourPlaces) {
    EXPECT_EQ(RegistryCurrencyData("12.3456", "."), 123456);
    EXPECT_EQ(RegistryCurrencyData("-1.5", "."), -15000);
    EXPECT_EQ(RegistryCurrencyData("7", "."), 70000);
    EXPECT_EQ(RegistryCurrencyData("0.00005", "."), 1);
    EXPECT_EQ(RegistryCurrencyData("0.00004999", "."), 0);
    EXPECT_EQ(RegistryCurrencyData("-0.00005", "."), -1);
    EXPECT_EQ(RegistryCurrencyData("1,25", ","), 12500);
    EXPECT_EQ(RegistryCurrencyData("922337203685477.5807", "."), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(RegistryCurrencyData("-922337203685477.5808", "."), std::numeric_limits<std::int64_t>::min());
    EXPECT_FALSE(RegistryCurrencyData("922337203685477.5808", "."));
    EXPECT_FALSE(RegistryCurrencyData("922337203685477.58075", "."));
    EXPECT_FALSE(RegistryCurrencyData("99999999999999999999", "."));
    for (const char* bad : {"", ".", "1e3", "1.5.0", "abc", "1,5"})
        EXPECT_FALSE(RegistryCurrencyData(bad, ".")) << bad;
}

TEST(RegistryEntry, LegacyRecordsGainTheirMarker) {
    EXPECT_EQ(LegacyWriteEntry("HKEY_CURRENT_USER\\K\\V=x=y", LegacyKind::String),
              "HKEY_CURRENT_USER\\K\\V=<String>x=y");
    EXPECT_EQ(LegacyWriteEntry("HKEY_CURRENT_USER\\K\\V=5", LegacyKind::Integer),
              "HKEY_CURRENT_USER\\K\\V=<Integer>5");
    EXPECT_EQ(LegacyWriteEntry("HKEY_CURRENT_USER\\K\\V", LegacyKind::String), "");
}

} // namespace

namespace {

struct KeyCase {
    RegistryRoot root;
    const char* keyPath;
    bool shared;
};

TEST(RegistryDeleteEntry, SharedKeysAreRefusedAProductsOwnKeyIsNot) {
    using R = RegistryRoot;
    const KeyCase cases[] = {
        // Roots and every key directly below one.
        {R::CurrentUser, "", true},
        {R::CurrentUser, "\\", true},
        {R::CurrentUser, "Software", true},
        {R::CurrentUser, "\\Software\\", true},
        {R::CurrentUser, "software", true},
        {R::CurrentUser, "Software\\\\", true},
        {R::CurrentUser, "AppEvents", true},
        {R::CurrentUser, "\x83\x5C", true}, // "ソ": one component, not two
        {R::LocalMachine, "SYSTEM", true},
        {R::CurrentConfig, "Software", true},
        {R::DynData, "PerfStats", true},
        {R::ClassesRoot, "CLSID", true},
        {R::ClassesRoot, "Interface", true},
        {R::ClassesRoot, "TypeLib", true},
        {R::ClassesRoot, ".txt", true},
        {R::Users, ".DEFAULT", true},
        // The keys every program shares, in either hive, in the 32-bit view and per user.
        {R::CurrentUser, "Software\\Classes", true},
        {R::CurrentUser, "Software\\Classes\\CLSID", true},
        {R::CurrentUser, "Software\\Microsoft", true},
        {R::CurrentUser, "Software\\Microsoft\\Windows", true},
        {R::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion", true},
        {R::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", true},
        {R::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\", true},
        {R::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true},
        {R::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", true},
        {R::LocalMachine, "SOFTWARE\\Policies", true},
        {R::LocalMachine, "SOFTWARE\\Wow6432Node", true},
        {R::LocalMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", true},
        {R::LocalMachine, "SOFTWARE\\Classes\\Wow6432Node\\CLSID", true},
        {R::LocalMachine, "SYSTEM\\CurrentControlSet", true},
        {R::LocalMachine, "SYSTEM\\ControlSet001\\Services", true},
        {R::ClassesRoot, "Wow6432Node\\Interface", true},
        {R::ClassesRoot, "*\\shellex\\ContextMenuHandlers", true},
        {R::Users, "S-1-5-21-1\\Software\\Microsoft", true},
        {R::Users, "S-1-5-21-1_Classes\\CLSID", true},
        // A product's own keys below them are deleted as before.
        {R::CurrentUser, "Software\\Morivane\\Lumera", false},
        {R::CurrentUser, "Software\\Morivane", false},
        {R::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Sub", false},
        {R::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumera Deck", false},
        {R::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumera.exe", false},
        {R::LocalMachine, "SOFTWARE\\Wow6432Node\\Morivane\\Lumera", false},
        {R::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\LumeraSvc", false},
        {R::ClassesRoot, "CLSID\\{01234567-89AB-CDEF-0123-456789ABCDEF}", false},
        {R::ClassesRoot, "Lumera.Document\\shell", false},
        {R::CurrentUser, "Software\\Classes\\CLSID\\{01234567-89AB-CDEF-0123-456789ABCDEF}", false},
        {R::Users, "S-1-5-21-1\\Software\\Morivane", false},
        {R::CurrentConfig, "Software\\Morivane", false},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(IsSharedRegistryKey(c.root, c.keyPath), c.shared) << c.keyPath;

    // A delete entry names the key as its key path and its last component.
    auto refused = [](const Text& entry) { return RefusesDeletion(*ParseRegistryDeleteEntry(entry)); };
    EXPECT_TRUE(refused("<Key>HKEY_CURRENT_USER\\Software"));
    EXPECT_TRUE(refused("<Key>HKEY_CURRENT_USER\\Software\\"));
    EXPECT_TRUE(refused("<Key>\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run=x"));
    EXPECT_FALSE(refused("<Key>HKEY_CURRENT_USER\\Software\\Morivane\\Lumera"));
    EXPECT_FALSE(
        refused("<Value>HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Lumera"));
}

} // namespace
