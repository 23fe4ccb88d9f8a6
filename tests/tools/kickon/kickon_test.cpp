// The .inf association written into a scratch classes store, the button rule, and the file
// a double-click hands over.
#include <gtest/gtest.h>

#include "kickon_core.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/registry.h"

namespace {

TEST(KickonAssociation, WritesTheTableAndTakesItBack) {
    ScratchKey key("KickonClasses");
    ClassesStore store{HKEY_CURRENT_USER, Widen(key.path()) + L"\\"};
    ClassOverride platformOpen("inffile\\shell\\open\\Command", "notepad.exe %1");
    ValueOverride platformInstall(HKEY_CLASSES_ROOT, "inffile\\shell\\install\\Command", "");
    platformInstall.Remove();
    const std::wstring program = L"C:\\LUMERA~1\\Kickon.exe";
    WriteAssociation(store, program);

    auto read = [&](const std::wstring& subkey) {
        return RegReadString(HKEY_CURRENT_USER, store.prefix + subkey, L"", L"(missing)");
    };
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L".inf", L"Lumera(Kickon)"},
        {L"Lumera(Kickon)", Widen("ｾｯﾄｱｯﾌﾟ情報/Autorun")},
        {L"Lumera(Kickon)\\shell\\open\\command", L"\"" + program + L"\" \"%1\""},
        {L"Lumera(Kickon)\\DefaultIcon", program + L",0"},
        {L"Lumera(Kickon)\\shell\\open", Widen("実行")},
        {L"Lumera(Kickon)\\shell\\open(edit)", Widen("開く(&O)")},
        {L"Lumera(Kickon)\\shell\\open(edit)\\Command", L"notepad.exe %1"},
        {L"Lumera(Kickon)\\shell\\install", Widen("ｲﾝｽﾄｰﾙ(&I)")},
        {L"Lumera(Kickon)\\shell\\install\\Command", L""}, // missing on the platform: empty
    };
    for (const auto& [subkey, value] : expected)
        EXPECT_EQ(read(subkey), value) << Narrow(subkey);

    RemoveAssociation(store);
    EXPECT_EQ(read(L".inf"), L"inffile");
    EXPECT_EQ(read(L"Lumera(Kickon)\\shell\\open\\command"), L"\"" + program + L"\" \"%1\""); // left in place
}

// At uninstall: ".inf" opens as before when it still opens with this Kickon, a choice the
// user made since stays, and a Kickon elsewhere is none of this one's business.
TEST(KickonAssociation, UndoTakesBackOnlyThisProgramsAssociation) {
    const std::wstring program = L"C:\\LUMERA~1\\Kickon.exe";
    const struct {
        const char* why;
        std::wstring registeredProgram; // whose Kickon wrote the association
        const wchar_t* chosenSince;     // what ".inf" was set to afterwards, or nullptr
        const wchar_t* infAfter;        // nullptr: no value left
        bool typeStays;
        bool unquoted = false; // written by an earlier version: program and %1 unquoted
    } cases[] = {
        {"still this Kickon", program, nullptr, nullptr, false},
        {"this Kickon, written unquoted", program, nullptr, nullptr, false, true},
        {"the user chose another program", program, L"txtfile", L"txtfile", false},
        {"another Kickon's", L"D:\\OTHER~1\\Kickon.exe", nullptr, L"Lumera(Kickon)", true},
        {"another Kickon's, unquoted", L"D:\\OTHER~1\\Kickon.exe", nullptr, L"Lumera(Kickon)", true, true},
    };
    for (const auto& c : cases) {
        ScratchKey key("KickonUndo");
        // As the real store: a key path below the root, without a leading "\".
        ClassesStore store{HKEY_CURRENT_USER, Widen(key.path().substr(1)) + L"\\"};
        WriteAssociation(store, c.registeredProgram);
        if (c.unquoted)
            RegWriteString(store.root, store.prefix + L"Lumera(Kickon)\\shell\\open\\command", L"",
                           c.registeredProgram + L" %1");
        if (c.chosenSince)
            RegWriteString(store.root, store.prefix + L".inf", L"", c.chosenSince);

        UndoAssociation(store, program);
        const std::wstring inf = RegReadString(store.root, store.prefix + L".inf", L"", L"(none)");
        EXPECT_EQ(inf, c.infAfter ? c.infAfter : L"(none)") << c.why;
        if (!c.infAfter) {
            EXPECT_FALSE(RegKeyExists(store.root, Narrow(store.prefix), ".inf")) << c.why;
        }
        EXPECT_EQ(RegKeyExists(store.root, Narrow(store.prefix), "Lumera(Kickon)"), c.typeStays) << c.why;
    }
}

TEST(KickonAssociation, StoreFollowsThePlatformFamily) {
    ClassesStore nt = AssociationStore(true);
    EXPECT_EQ(nt.root, HKEY_CURRENT_USER);
    EXPECT_EQ(nt.prefix, L"Software\\Classes\\");
    ClassesStore win95 = AssociationStore(false);
    EXPECT_EQ(win95.root, HKEY_CLASSES_ROOT);
    EXPECT_EQ(win95.prefix, L"");
}

TEST(KickonAssociation, OfferedUnlessTheOpenCommandIsThisProgram) {
    ScratchFolder folder("KickonShort");
    const std::wstring program = folder.file(L"long program name.exe");
    ASSERT_TRUE(WriteFileBytes(program, "x"));
    const std::wstring shortProgram = GetShortPath(program);
    std::wstring lower = OpenCommandOf(shortProgram);
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    const struct {
        std::wstring command;
        bool offered;
    } cases[] = {
        {L"", true},
        {L"notepad.exe %1", true},
        {OpenCommandOf(shortProgram), false},
        {shortProgram + L" %1", false}, // an earlier version's form
        {shortProgram + L" \"%1\"", false},
        {L"\"" + program + L"\" \"%1\"", false}, // the long path names the same program
        {lower, false},                          // letter case does not count
        {shortProgram + L" %1 /x", true},        // more than the file is another command
        {shortProgram, true},
        {L"\"" + folder.file(L"other.exe") + L"\" \"%1\"", true},
        {L"\"" + shortProgram, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AssociationOffered(c.command, shortProgram), c.offered) << Narrow(c.command);
}

// What a double-click runs: the type's default verb, not always "open"; the user's classes
// where the platform's lookup does not show them (Wine's classes root does not).
TEST(KickonAssociation, DoubleClickCommandFollowsTheDefaultVerb) {
    // Verb keys an earlier run left would count as verbs.
    auto forget = [] {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"LumKick.Machine");
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\LumKick.User");
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.lumkick");
    };
    forget();
    ClassOverride machineType(".lumkick", "LumKick.Machine");
    ClassOverride machineOpen("LumKick.Machine\\shell\\open\\command", "machine.exe %1");
    EXPECT_EQ(DoubleClickCommand(L".lumkick"), L"machine.exe %1");
    {
        ClassOverride defaultVerb("LumKick.Machine\\shell", "install");
        ClassOverride machineInstall("LumKick.Machine\\shell\\install\\command", "installer.exe %1");
        EXPECT_EQ(DoubleClickCommand(L".lumkick"), L"installer.exe %1");
    }
    {
        ValueOverride userType(HKEY_CURRENT_USER, "Software\\Classes\\.lumkick", "");
        userType.Set("LumKick.User");
        ValueOverride userCommand(HKEY_CURRENT_USER, "Software\\Classes\\LumKick.User\\shell\\open\\command",
                                  "");
        userCommand.Set("user.exe \"%1\"");
        EXPECT_EQ(DoubleClickCommand(L".lumkick"), L"user.exe \"%1\"");
    }
    forget();
    EXPECT_EQ(DoubleClickCommand(L".lumnothing"), L"");
}

// The current user's classes come first, key by key, as in the merged view.
TEST(KickonAssociation, MergedOpenCommandPrefersTheUsersClasses) {
    ClassOverride machineType(".lumkick", "LumKick.Machine");
    ClassOverride machineCommand("LumKick.Machine\\shell\\open\\command", "machine.exe %1");
    ClassOverride userCommandInMachine("LumKick.User\\shell\\open\\command", "shared.exe %1");
    EXPECT_EQ(MergedOpenCommand(L".lumkick"), L"machine.exe %1");
    {
        ValueOverride userType(HKEY_CURRENT_USER, "Software\\Classes\\.lumkick", "");
        userType.Set("LumKick.User");
        EXPECT_EQ(MergedOpenCommand(L".lumkick"), L"shared.exe %1");
        ValueOverride userCommand(HKEY_CURRENT_USER, "Software\\Classes\\LumKick.User\\shell\\open\\command",
                                  "");
        userCommand.Set(L"C:\\Jos\u00E9\\own.exe %1");
        EXPECT_EQ(MergedOpenCommand(L".lumkick"), L"C:\\Jos\u00E9\\own.exe %1");
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\LumKick.User");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.lumkick");
    EXPECT_EQ(MergedOpenCommand(L".lumnothing"), L"");
}

TEST(KickonGivenFile, ParameterOneOrASplitPath) {
    ScratchFolder folder("KickonGiven");
    std::wstring disc = folder.file(L"My Disc \u00E9");
    ASSERT_TRUE(CreateDirectoryW(disc.c_str(), nullptr));
    std::wstring inf = disc + L"\\AUTORUN.INF";
    ASSERT_TRUE(WriteFileBytes(inf, "[autorun]\r\n"));
    std::wstring base = folder.file(L"My");

    EXPECT_EQ(GivenFile({inf}), inf);
    EXPECT_EQ(GivenFile({inf, L"extra"}), inf);
    EXPECT_EQ(GivenFile({base, L"Disc", L"\u00E9\\AUTORUN.INF"}), inf);
    // A folder, or a file that does not exist, is no file: the window is shown.
    EXPECT_EQ(GivenFile({disc}), L"");
    EXPECT_EQ(GivenFile({disc + L"\\NONE.INF"}), L"");
    EXPECT_EQ(GivenFile({}), L"");
}

} // namespace
