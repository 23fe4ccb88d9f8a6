#include "path_macros.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "paths.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"

namespace {

const char* const ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const UserShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const SetupKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::wstring Tidy = L"[\u304D\u308C\u3044\u597D\u304D]";

// A user profile beyond CP932 holding the start menu, desktop and Send To folders; the
// prefix's shell folder values point there for the test and are put back afterwards.
class ForeignProfile : public ::testing::Test {
protected:
    void SetUp() override {
        profile = JoinPath(Widen(scratch.path()), std::wstring(L"Users\\Jos\u00e9"));
        programs = profile + L"\\Start Menu\\Programs";
        startup = programs + L"\\Startup";
        Point("Programs", programs);
        Point("Startup", startup);
        Point("Desktop", profile + L"\\Desktop");
        Point("SendTo", profile + L"\\SendTo");
        ASSERT_TRUE(ForceDirectories(startup));
    }

    void Point(const Text& name, const std::wstring& folder) {
        for (const char* key : {ShellFoldersKey, UserShellFoldersKey}) {
            overrides.push_back(std::make_unique<ValueOverride>(HKEY_CURRENT_USER, key, name));
            overrides.back()->Set(folder);
        }
    }

    ScratchFolder scratch{"macros"};
    std::vector<std::unique_ptr<ValueOverride>> overrides;
    std::wstring profile, programs, startup;
    PathContext context{L"D:\\Apps\\\u5f20\u4f1f", L"Lumera \U0001F600"};
};

TEST_F(ForeignProfile, PathMacrosAtTheStartOnly) {
    ASSERT_EQ(GetShellFolderWide("Programs"), programs);
    EXPECT_EQ(ExpandPath("<Setup>\\bin\\", context), L"D:\\Apps\\\u5f20\u4f1f\\bin");
    EXPECT_EQ(ExpandPath("<Setup>bin", context), L"D:\\Apps\\\u5f20\u4f1f\\bin");
    EXPECT_EQ(ExpandPath("<Setup>", context), L"D:\\Apps\\\u5f20\u4f1f");
    EXPECT_EQ(ExpandPath("<Start>\\Group", context), programs + L"\\Group");
    EXPECT_EQ(ExpandPath("<Win>\\ソ表", context), GetWindowsDirWide() + L"\\\u30bd\u8868");
    EXPECT_EQ(ExpandPath("<Sys>", context), GetSystemDirWide());
    EXPECT_EQ(ExpandPath("<Media>\\a.wav", context), GetSetupPathWide("MediaPath") + L"\\a.wav");
    // Case matters, and a macro later in the text is plain text.
    EXPECT_EQ(ExpandPath("<setup>\\x", context), L"<setup>\\x");
    EXPECT_EQ(ExpandPath("C:\\<Setup>\\x\\\\", context), L"C:\\<Setup>\\x");
    EXPECT_EQ(ExpandPath("", context), L"");
    // A drive root keeps its "\": "D:" alone would be drive D's current folder.
    EXPECT_EQ(ExpandPath("<Setup>", PathContext{L"D:\\", L""}), L"D:\\");
    EXPECT_EQ(ExpandPath("E:\\", context), L"E:\\");
}

TEST_F(ForeignProfile, UnknownMacroFolderExpandsToNothing) {
    ValueOverride setup(HKEY_LOCAL_MACHINE, Text(SetupKey) + "\\Setup", "ProgramFilesDir");
    ValueOverride current(HKEY_LOCAL_MACHINE, SetupKey, "ProgramFilesDir");
    setup.Remove();
    current.Remove();
    EXPECT_EQ(ExpandPath("<Prog>", context), L"");
    // Never "\Lumera Deck" at the root of the current drive.
    EXPECT_EQ(ExpandPath("<Prog>\\Lumera Deck", context), L"");
    current.Set("C:\\Program Files\\");
    EXPECT_EQ(ExpandPath("<Prog>\\Lumera Deck", context), L"C:\\Program Files\\Lumera Deck");
    EXPECT_EQ(ExpandPath("<Setup>\\x", PathContext{}), L"");
}

TEST_F(ForeignProfile, StartMenuLocations) {
    const std::wstring group = programs + L"\\Lumera \U0001F600";
    EXPECT_EQ(ExpandShortcutPath("<Default>\\Tool", context), group + L"\\Tool.lnk");
    EXPECT_EQ(ExpandShortcutPath("Sub\\Tool.LNK", context), group + L"\\Sub\\Tool.LNK");
    EXPECT_EQ(ExpandShortcutPath("<Program>Tool.lnk", context), programs + L"\\Tool.lnk");
    EXPECT_EQ(ExpandShortcutPath("<Startup>\\Lumera", context), startup + L"\\Lumera.lnk");
    EXPECT_EQ(ExpandShortcutPath("<Startup2>Lumera", context), startup + L"\\Lumera.lnk");
    EXPECT_EQ(ProgramGroupFolder(context), group);
    EXPECT_EQ(ShortcutFileIn(profile + L"\\Desktop", "Lumera"), profile + L"\\Desktop\\Lumera.lnk");
    EXPECT_EQ(ShortcutFileIn(profile + L"\\SendTo", "\\Ferrox.Lnk"), profile + L"\\SendTo\\Ferrox.Lnk");
    EXPECT_EQ(ShortcutFileIn(L"", "Lumera"), L"");
}

TEST_F(ForeignProfile, TidyStartupTwinTakesStartupShortcutsOnlyWhenPlain) {
    const std::wstring twin = startup + Tidy;
    ASSERT_TRUE(CreateDirectoryW(twin.c_str(), nullptr));
    ASSERT_EQ(GetFileAttributesW(twin.c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(ExpandShortcutPath("<Startup>Lumera", context), twin + L"\\Lumera.lnk");
    // "<Startup2>" always means the Startup folder itself.
    EXPECT_EQ(ExpandShortcutPath("<Startup2>Lumera", context), startup + L"\\Lumera.lnk");

    // Any other attribute bit on the twin (read-only, hidden, ...) sends the shortcut to
    // the real Startup folder. Wine keeps only some bits on folders: try each.
    int honoured = 0;
    for (DWORD extra :
         {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_ARCHIVE}) {
        ASSERT_TRUE(SetFileAttributesW(twin.c_str(), extra));
        if (GetFileAttributesW(twin.c_str()) == (FILE_ATTRIBUTE_DIRECTORY | extra)) {
            ++honoured;
            EXPECT_EQ(ExpandShortcutPath("<Startup>Lumera", context), startup + L"\\Lumera.lnk") << extra;
        }
        ASSERT_TRUE(SetFileAttributesW(twin.c_str(), FILE_ATTRIBUTE_NORMAL));
    }
    EXPECT_GT(honoured, 0);

    // A file of that name is no folder.
    ASSERT_TRUE(RemoveDirectoryW(twin.c_str()));
    ASSERT_TRUE(WriteFileBytes(twin, "x"));
    EXPECT_EQ(ExpandShortcutPath("<Startup>Lumera", context), startup + L"\\Lumera.lnk");
}

} // namespace

namespace {

TEST(IsFullPath, OnlyADriveWithItsRootOrAShare) {
    for (const wchar_t* full : {L"C:\\", L"c:\\Apps\\Cool", L"\\\\server\\share", L"\\\\server\\share\\Apps"})
        EXPECT_TRUE(IsFullPath(full)) << Narrow(full);
    for (const wchar_t* relative : {L"", L"Cool", L"Cool\\Apps", L"C:", L"C:Cool", L"\\Cool", L"\\\\server",
                                    L"\\\\\\share", L"1:\\Cool", L"\u00e9:\\Cool", L".\\Cool"})
        EXPECT_FALSE(IsFullPath(relative)) << Narrow(relative);
}

} // namespace
