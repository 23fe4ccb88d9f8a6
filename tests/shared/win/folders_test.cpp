#include "win/folders.h"

#include <gtest/gtest.h>

#include "paths.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/registry.h"

namespace {

const Text ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(SystemFolders, FamilyAndFolders) {
    EXPECT_EQ(GetPlatformFamily(), PlatformNT);
    Text windows = GetWindowsDir();
    EXPECT_TRUE(DirectoryExists(windows));
    EXPECT_FALSE(EndsWithChar(windows, '\\'));
    Text system = GetSystemDir();
    EXPECT_TRUE(SameText(system, JoinPath(windows, "system32"))) << system;
    EXPECT_TRUE(FileExists(JoinPath(system, "SHELL32.DLL")));
    EXPECT_FALSE(GetUserNameText().empty());
}

TEST(SystemFolders, SetupPathsAndTheMediaFallback) {
    const Text setupKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";
    const Text versionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    ValueOverride inSetup(HKEY_LOCAL_MACHINE, setupKey, "MediaPath");
    ValueOverride inVersion(HKEY_LOCAL_MACHINE, versionKey, "MediaPath");
    inSetup.Remove();
    inVersion.Remove();
    EXPECT_EQ(GetSetupPath("MediaPath"), GetWindowsDir() + "\\media");
    inVersion.Set("D:\\音");
    EXPECT_EQ(GetSetupPath("MediaPath"), "D:\\音");
    inSetup.Set("E:\\setup");
    EXPECT_EQ(GetSetupPath("MediaPath"), "E:\\setup");

    ValueOverride bootDir(HKEY_LOCAL_MACHINE, setupKey, "BootDir");
    ValueOverride bootDirVersion(HKEY_LOCAL_MACHINE, versionKey, "BootDir");
    bootDir.Remove();
    bootDirVersion.Remove();
    EXPECT_EQ(GetSetupPath("BootDir"), "");
}

TEST(ShellFolders, RegistryValueWithAdministratorReplaced) {
    ValueOverride desktop(HKEY_CURRENT_USER, ShellFoldersKey, "Desktop");
    desktop.Set("C:\\WINNT\\Profiles\\Administrator\\ﾃﾞｽｸﾄｯﾌﾟ");
    Text user = GetUserNameText();
    Text expected = user == "Administrator" ? "C:\\WINNT\\Profiles\\Administrator\\ﾃﾞｽｸﾄｯﾌﾟ"
                                            : "C:\\WINNT\\Profiles\\" + user + "\\ﾃﾞｽｸﾄｯﾌﾟ";
    EXPECT_EQ(GetShellFolder("Desktop"), expected);
}

TEST(ShellFolders, MissingValuesFallBackToJapaneseFolderNames) {
    ValueOverride startup(HKEY_CURRENT_USER, ShellFoldersKey, "Startup");
    startup.Remove();
    Text profile = JoinPath(GetWindowsDir(), "Profiles\\" + GetUserNameText());
    EXPECT_EQ(GetShellFolder("Startup"), profile + "\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\ｽﾀｰﾄｱｯﾌﾟ");
    ValueOverride other(HKEY_CURRENT_USER, ShellFoldersKey, "LumeraNoSuchFolder");
    other.Remove();
    EXPECT_EQ(GetShellFolder("LumeraNoSuchFolder"), "");
}

TEST(PathForms, ShortAndLongFormsRoundTrip) {
    ScratchFolder folder("PathForms");
    Text longDir = folder.file("A Rather Long Folder Name");
    Text longFile = JoinPath(longDir, "表示用の長いファイル名.txt");
    ASSERT_TRUE(CreateDirectoryW(Widen(longDir).c_str(), nullptr));
    WriteBytes(longFile, "x");

    Text shortFile = GetShortPath(longFile);
    EXPECT_NE(shortFile, longFile);
    EXPECT_TRUE(FileExists(shortFile));
    EXPECT_EQ(GetLongName(shortFile), "表示用の長いファイル名.txt");
    EXPECT_EQ(GetLongPath(shortFile), GetLongPath(longFile));
    EXPECT_TRUE(SameText(GetLongPath(shortFile), longFile)) << GetLongPath(shortFile);

    Text missing = folder.file("nothing here.txt");
    EXPECT_EQ(GetShortPath(missing), missing);
    EXPECT_EQ(GetLongName(missing), "nothing here.txt");
    EXPECT_EQ(GetLongPath("C:\\"), "C:\\");
}

} // namespace
