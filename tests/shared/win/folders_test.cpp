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

TEST(SystemFolders, WideFormsAgreeWithTheCp932Forms) {
    EXPECT_EQ(GetWindowsDirWide(), Widen(GetWindowsDir()));
    EXPECT_EQ(GetSystemDirWide(), Widen(GetSystemDir()));
    EXPECT_EQ(GetUserNameWide(), Widen(GetUserNameText()));
    EXPECT_EQ(GetSetupPathWide("BootDir"), Widen(GetSetupPath("BootDir")));
    // The fallback folders are the same Japanese names in both forms.
    for (const char* name : {"Start Menu", "Programs", "Startup", "Desktop", "SendTo", "Recent"}) {
        EXPECT_EQ(ShellFolderFallback(PlatformNT, L"C:\\W", L"u", name),
                  Widen(ShellFolderFallback(PlatformNT, "C:\\W", "u", name)));
    }
}

TEST(ShellFolders, ProfilesBeyondCp932StayWholeInTheWideForm) {
    ValueOverride desktop(HKEY_CURRENT_USER, ShellFoldersKey, "Desktop");
    const std::wstring jose = L"C:\\Users\\Jos\u00E9\\Desktop";
    desktop.Set(jose);
    EXPECT_EQ(GetShellFolderWide("Desktop"), jose);
    EXPECT_EQ(GetShellFolder("Desktop"), ""); // never "C:\Users\Jos?\Desktop"

    desktop.Set(L"C:\\Users\\Administrator\\\uBC14\uD0D5 \uD654\uBA74");
    std::wstring user = GetUserNameWide();
    EXPECT_EQ(GetShellFolderWide("Desktop"),
              ReplaceAdministrator(L"C:\\Users\\Administrator\\\uBC14\uD0D5 \uD654\uBA74", user));

    ValueOverride startup(HKEY_CURRENT_USER, ShellFoldersKey, "Startup");
    startup.Remove();
    EXPECT_EQ(GetShellFolderWide("Startup"), Widen(GetShellFolder("Startup")));

    // Folders stored as REG_EXPAND_SZ come back expanded.
    ValueOverride recent(HKEY_CURRENT_USER, ShellFoldersKey, "Recent");
    ASSERT_TRUE(WriteExpandString(HKEY_CURRENT_USER, ShellFoldersKey, "Recent", L"%SystemRoot%\\Recent"));
    EXPECT_EQ(GetShellFolderWide("Recent"), GetWindowsDirWide() + L"\\Recent");
}

TEST(PathForms, WideNamesAndWildcards) {
    ScratchFolder folder("PathFormsWide");
    std::wstring dir = folder.file(L"Zo\u00EB's Long Folder");
    std::wstring file = JoinPath(dir, L"\u5915\u713C\u3051 caf\u00E9.jpg");
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    std::wstring shortFile = GetShortPath(file);
    EXPECT_TRUE(FileExists(shortFile));
    EXPECT_EQ(GetLongName(shortFile), L"\u5915\u713C\u3051 caf\u00E9.jpg");
    EXPECT_TRUE(SameText(Narrow(GetLongPath(shortFile)), Narrow(file)));
    EXPECT_EQ(GetLongPath(shortFile).size(), file.size());

    // The CP932 forms never return a name they cannot hold: the given name stays.
    Text narrowShort;
    if (NarrowExact(shortFile, narrowShort)) {
        EXPECT_EQ(GetLongName(narrowShort), ExtractFileName(narrowShort));
        EXPECT_EQ(GetShortPath(narrowShort), narrowShort);
    }

    // "?" is a wildcard to the platform, never a name: it must not find "a.txt".
    WriteBytes(folder.file("a.txt"), "x");
    EXPECT_EQ(GetLongName(folder.file("?.txt")), "?.txt");
    EXPECT_EQ(GetLongName(folder.file(L"*.txt")), L"*.txt");
}

} // namespace
