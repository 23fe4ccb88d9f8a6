#include "remove_files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

#include "paths.h"
#include "test_support.h"
#include "wine_drive.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"

namespace {

// A user whose profile and shell folders lie in a scratch folder under a name CP932
// cannot hold, as the registry and the environment tell every program.
class RemoveFilesTest : public ::testing::TestWithParam<const wchar_t*> {
protected:
    ScratchFolder scratch{"RemoveFiles"};
    FakeProfile user{JoinPath(Widen(scratch.path()), std::wstring(L"Users\\") + GetParam())};
    const std::wstring &profile = user.path, &startMenu = user.startMenu, &programs = user.programs;

    void SetUp() override { ASSERT_TRUE(DirectoryExists(programs)); }
};

TEST_P(RemoveFilesTest, LastShortcutOfAGroupTakesTheGroupButNeverProgramsOrStartMenu) {
    std::wstring group = JoinPath(programs, L"Lumera Deck \u00e9\\Tools");
    std::wstring link = JoinPath(group, L"Ferrox.lnk");
    ASSERT_TRUE(MakeFile(link, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

    EXPECT_TRUE(DeleteFileAndFolders(link));
    EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(DirectoryExists(ExtractFileDir(group)));
    EXPECT_TRUE(DirectoryExists(programs));
    EXPECT_TRUE(DirectoryExists(startMenu));
}

TEST_P(RemoveFilesTest, TheWalkStopsBelowTheProfile) {
    // Nothing else in the profile: only the protection keeps it.
    RemoveEmptyFolders(programs, ProtectedFolders({profile}));
    ASSERT_FALSE(DirectoryExists(startMenu));
    ASSERT_TRUE(DirectoryExists(profile));
    std::wstring file = JoinPath(profile, L"Stuff\\Deeper\\notes.txt");
    ASSERT_TRUE(MakeFile(file));

    EXPECT_TRUE(DeleteFileAndFolders(file));
    EXPECT_FALSE(DirectoryExists(JoinPath(profile, L"Stuff")));
    EXPECT_TRUE(DirectoryExists(profile));
}

TEST_P(RemoveFilesTest, ProgramFilesAndAFolderThatIsNotEmptyStay) {
    std::wstring programFiles = JoinPath(profile, L"Prog");
    ValueOverride programFilesDir(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                  "ProgramFilesDir");
    programFilesDir.Set(programFiles);
    std::wstring app = JoinPath(programFiles, L"Lumera Deck");
    ASSERT_TRUE(MakeFile(JoinPath(app, L"bin\\Lumera.exe")));
    ASSERT_TRUE(MakeFile(JoinPath(app, L"bin\\Ferrox.exe")));
    ASSERT_TRUE(ForceDirectories(JoinPath(app, L"data")));
    SetFileAttributesW(JoinPath(app, L"data").c_str(), FILE_ATTRIBUTE_HIDDEN);

    ProtectedFolders keep = ProtectedFolders::ForCurrentUser();
    EXPECT_TRUE(DeleteFileAndFolders(JoinPath(app, L"bin\\Lumera.exe"), keep));
    EXPECT_TRUE(FileExists(JoinPath(app, L"bin\\Ferrox.exe")));
    EXPECT_TRUE(DeleteFileAndFolders(JoinPath(app, L"bin\\Ferrox.exe"), keep));
    EXPECT_FALSE(DirectoryExists(JoinPath(app, L"bin")));
    EXPECT_TRUE(DirectoryExists(app)) << "holds the hidden empty folder";

    RemoveEmptyFolders(JoinPath(app, L"data"), keep);
    EXPECT_FALSE(DirectoryExists(app));
    EXPECT_TRUE(DirectoryExists(programFiles));
}

// "<Startup>" fills the tidy twin when it exists, and the tray program parks the user's
// start-up items in the disabled one: the suite's last shortcut in either takes no folder.
TEST_P(RemoveFilesTest, TheStartupFoldersTwinsStay) {
    const std::wstring startup = JoinPath(programs, L"Startup");
    ProtectedFolders keep = ProtectedFolders::ForCurrentUser();
    for (const char* twin : {"[きれい好き]", "[無効]"}) {
        const std::wstring folder = startup + Widen(twin);
        const std::wstring link = JoinPath(folder, L"Lumera Deck.lnk");
        ASSERT_TRUE(MakeFile(link));
        EXPECT_TRUE(DeleteFileAndFolders(link, keep));
        EXPECT_TRUE(DirectoryExists(folder)) << twin;
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, RemoveFilesTest, ::testing::Values(L"Jos\u00e9", L"\uae40\ubbfc\uc900"));

TEST(ProtectedFolders, OneFolderInEverySpelling) {
    ScratchFolder scratch("ProtectedSpelling");
    std::wstring kept = scratch.file(std::wstring(L"A Rather Long Program Group \u00e9"));
    ASSERT_TRUE(ForceDirectories(JoinPath(kept, L"Sub")));
    std::wstring shortForm = GetShortPath(kept);
    ASSERT_NE(shortForm, kept);
    ProtectedFolders keep({shortForm + L"\\"});

    CharUpperW(kept.data());
    for (const std::wstring& spelling :
         {kept, kept + L"\\\\", L"\\\\?\\" + kept, JoinPath(kept, L"Sub\\.."), GetShortPath(kept)})
        EXPECT_TRUE(keep.Contains(spelling)) << Narrow(spelling);
    EXPECT_FALSE(keep.Contains(JoinPath(kept, L"Sub")));
    EXPECT_FALSE(keep.Contains(kept + L" 2"));

    RemoveEmptyFolders(JoinPath(kept, L"Sub"), keep);
    EXPECT_FALSE(DirectoryExists(JoinPath(kept, L"Sub")));
    EXPECT_TRUE(DirectoryExists(kept));
}

TEST(ProtectedFolders, TheSystemsFolders) {
    ProtectedFolders keep = ProtectedFolders::ForCurrentUser();
    std::wstring windows = GetWindowsDirWide();
    for (const std::wstring& folder :
         {windows, GetSystemDirWide(), JoinPath(windows, L"media"), GetSetupPathWide("ProgramFilesDir"),
          std::wstring(L"C:\\Program Files (x86)"), std::wstring(L"C:\\Program Files\\Common Files"),
          GetShellFolderWide("Programs"), GetShellFolderWide("Start Menu"), GetShellFolderWide("Recent"),
          std::wstring(L"D:\\")})
        EXPECT_TRUE(keep.Contains(folder)) << Narrow(folder);
    wchar_t profile[MAX_PATH] = L"";
    GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    EXPECT_TRUE(keep.Contains(profile)) << Narrow(profile);
    EXPECT_FALSE(keep.Contains(JoinPath(windows, L"Lumera Deck")));
}

TEST(DeleteFileAndFolders, AFileThatCannotGoKeepsItsAttributesAndFolder) {
    ScratchFolder scratch("DeleteInUse");
    std::wstring file = scratch.file(std::wstring(L"Group\\in use \u00e9.txt"));
    ASSERT_TRUE(MakeFile(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    HANDLE open =
        CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);

    EXPECT_FALSE(DeleteFileAndFolders(file, ProtectedFolders({})));
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(GetFileAttributesW(file.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    CloseHandle(open);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);

    // A damaged record naming a folder: nothing in it or about it changes.
    std::wstring group = ExtractFileDir(file);
    SetFileAttributesW(group.c_str(), FILE_ATTRIBUTE_HIDDEN);
    DWORD groupAttributes = GetFileAttributesW(group.c_str());
    EXPECT_FALSE(DeleteFileAndFolders(group, ProtectedFolders({})));
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(GetFileAttributesW(group.c_str()), groupAttributes);
    SetFileAttributesW(group.c_str(), FILE_ATTRIBUTE_NORMAL);

    // A file already gone still lets the walk clear what it left empty.
    ASSERT_TRUE(DeleteFileW(file.c_str()));
    EXPECT_FALSE(DeleteFileAndFolders(file, ProtectedFolders({Widen(scratch.path())})));
    EXPECT_FALSE(DirectoryExists(group));
    EXPECT_TRUE(DirectoryExists(Widen(scratch.path())));
}

TEST(DeleteFileAndFolders, TheWalkStopsAtADriveRoot) {
    ScratchFolder scratch("DriveRoot");
    std::wstring target = scratch.file(std::wstring(L"\u00e9 drive"));
    ASSERT_TRUE(ForceDirectories(target));
    WineDrive drive(L'R', DRIVE_FIXED, target);
    if (!drive.defined())
        GTEST_SKIP() << "no drive letter for a folder here";
    std::wstring file = L"R:\\Lumera Deck\\bin\\Lumera.exe";
    ASSERT_TRUE(MakeFile(file));

    EXPECT_TRUE(DeleteFileAndFolders(file, ProtectedFolders({})));
    EXPECT_FALSE(DirectoryExists(std::wstring(L"R:\\Lumera Deck")));
    EXPECT_TRUE(DirectoryExists(std::wstring(L"R:\\")));
    EXPECT_TRUE(DirectoryExists(target));
}

// A link in the walk is an entry the install did not make: it stays, its target is never
// removed or emptied, and the walk does not climb past it.
TEST(RemoveEmptyFolders, ALinkAndItsTargetStay) {
    ScratchFolder scratch("Links");
    const std::wstring target = scratch.file(std::wstring(L"Elsewhere \u00e9\\Target"));
    const std::wstring app = scratch.file(std::wstring(L"App"));
    const std::wstring link = JoinPath(app, L"Data");
    ASSERT_TRUE(ForceDirectories(target));
    ASSERT_TRUE(ForceDirectories(app));
    UnixLink made(link, target);
    ASSERT_TRUE(made.made()) << "no link to test with";
    const ProtectedFolders keep({Widen(scratch.path())});

    // The link itself, as a recorded folder, with an empty target.
    RemoveEmptyFolders(link, keep);
    EXPECT_TRUE(DirectoryExists(target));
    EXPECT_NE(GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES);

    // A file the install put there through the link: the file and its own folder go, the
    // walk ends at the link.
    const std::wstring file = JoinPath(link, L"Cache\\x.bin");
    ASSERT_TRUE(MakeFile(file));
    EXPECT_TRUE(DeleteFileAndFolders(file, keep));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(JoinPath(target, L"Cache")));
    EXPECT_TRUE(DirectoryExists(target));
    EXPECT_NE(GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(DirectoryExists(app));
}

// Relative paths would be resolved against the current folder, whatever it is.
TEST(DeleteFileAndFolders, ARelativePathIsNeverResolved) {
    ScratchFolder scratch("Relative");
    const std::wstring folder = scratch.file(std::wstring(L"Cool"));
    ASSERT_TRUE(MakeFile(JoinPath(folder, L"x.dll")));
    wchar_t saved[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(Widen(scratch.path()).c_str()));
    const bool deleted = DeleteFileAndFolders(L"Cool\\x.dll", ProtectedFolders({}));
    RemoveEmptyFolders(L"Cool", ProtectedFolders({}));
    SetCurrentDirectoryW(saved);
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(FileExists(JoinPath(folder, L"x.dll")));
}

TEST(NotifyFolderChanged, LeavesTheGroupAsItIs) {
    ScratchFolder scratch("Notify");
    std::wstring group = scratch.file(std::wstring(L"\uae40 Group"));
    ASSERT_TRUE(MakeFile(JoinPath(group, L"Tezzo.lnk")));

    NotifyFolderChanged(group);
    EXPECT_TRUE(FileExists(JoinPath(group, L"Tezzo.lnk")));
    EXPECT_FALSE(DirectoryExists(group + L"Morivane"));

    DeleteFileAndFolders(JoinPath(group, L"Tezzo.lnk"), ProtectedFolders({Widen(scratch.path())}));
    ASSERT_FALSE(DirectoryExists(group));
    NotifyFolderChanged(group);
    NotifyFolderChanged(L"");
    EXPECT_FALSE(DirectoryExists(group));
    EXPECT_TRUE(DirectoryExists(Widen(scratch.path())));
}

} // namespace
