#include "win/shortcut.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

#include "paths.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/handles.h"

namespace {

struct SavedLink {
    std::wstring path, workingDir, description, iconFile;
    int iconIndex = -1;
    int showCommand = 0;
};

SavedLink LoadLink(const std::wstring& file);

SavedLink LoadLink(const Text& file) {
    return LoadLink(Widen(file));
}

SavedLink LoadLink(const std::wstring& file) {
    SavedLink saved;
    ComInit com;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> persist;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.receive())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, persist.receive())) ||
        FAILED(persist->Load(file.c_str(), STGM_READ)))
        return saved;
    wchar_t buffer[MAX_PATH];
    if (link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK)
        saved.path = buffer;
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH)))
        saved.workingDir = buffer;
    if (SUCCEEDED(link->GetDescription(buffer, MAX_PATH)))
        saved.description = buffer;
    if (SUCCEEDED(link->GetIconLocation(buffer, MAX_PATH, &saved.iconIndex)))
        saved.iconFile = buffer;
    // Read the show command from the file's header itself: Wine's loader does not restore it.
    auto bytes = ReadFileBytes(file);
    if (bytes && bytes->size() >= 0x40)
        std::memcpy(&saved.showCommand, bytes->data() + 0x3C, sizeof saved.showCommand);
    return saved;
}

TEST(Shortcuts, CreatedAndResolvedAgain) {
    ScratchFolder folder("Shortcuts");
    Text target = folder.file("長い名前のプログラム.exe");
    InstallProbe(target);
    Text link = folder.file("ショートカット.lnk");
    ASSERT_TRUE(CreateShortcut(link, target, folder.path(), target, 1, 2));

    SavedLink saved = LoadLink(link);
    EXPECT_EQ(saved.path, Widen(target));
    EXPECT_EQ(saved.workingDir, Widen(folder.path()));
    EXPECT_EQ(saved.description, L"Produced by Morivane Tools");
    EXPECT_EQ(saved.iconFile, Widen(target));
    EXPECT_EQ(saved.iconIndex, 1);
    EXPECT_EQ(saved.showCommand, SW_SHOWMAXIMIZED);

    EXPECT_EQ(GetShortcutTarget(link), GetShortPath(target));
}

TEST(Shortcuts, ShowModesAndOptionalParts) {
    ScratchFolder folder("ShortcutModes");
    Text target = folder.file("t.exe");
    InstallProbe(target);
    Text minimised = folder.file("min.lnk");
    ASSERT_TRUE(CreateShortcut(minimised, target, "", "", 0, 1));
    EXPECT_EQ(LoadLink(minimised).showCommand, SW_SHOWMINNOACTIVE);
    EXPECT_EQ(LoadLink(minimised).workingDir, L"");
    Text normal = folder.file("normal.lnk");
    ASSERT_TRUE(CreateShortcut(normal, target, "", "", 0, 0));
    EXPECT_EQ(LoadLink(normal).showCommand, SW_SHOWNORMAL);
}

TEST(Shortcuts, WhatIsNotAShortcutResolvesToItself) {
    ScratchFolder folder("NotAShortcut");
    Text plain = folder.file("plain.lnk");
    WriteBytes(plain, "not a link");
    EXPECT_EQ(GetShortcutTarget(plain), plain);
    EXPECT_EQ(GetShortcutTarget(folder.file("missing.lnk")), folder.file("missing.lnk"));
}

// Wine keeps a link's target only in the ANSI code page, so a target CP932 cannot hold
// comes back changed there (Windows stores it in UTF-16 as well).
bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(Shortcuts, WideNamesForLinkFolderAndIcon) {
    ScratchFolder folder("ShortcutsWide");
    std::wstring dir = folder.file(L"Jos\u00E9");
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    std::wstring target = JoinPath(dir, L"\u5915\u713C\u3051.exe");
    InstallProbe(target);
    std::wstring icon = JoinPath(dir, L"\uD55C\uAE00.ico");
    std::wstring link = folder.file(L"\U0001F600 \uD55C\uAE00.lnk");
    ASSERT_TRUE(CreateShortcut(link, target, dir, icon, 0, 0));
    SavedLink saved = LoadLink(link);
    EXPECT_EQ(saved.workingDir, dir);
    EXPECT_EQ(saved.iconFile, icon);
    EXPECT_EQ(GetShortcutTarget(link), GetShortPath(target));
    if (RunningUnderWine())
        GTEST_SKIP() << "Wine stores a link's target text in the ANSI code page only";
    EXPECT_EQ(saved.path, target);
}

TEST(Shortcuts, TheCp932FormNeverAnswersWithAnUnheldName) {
    ScratchFolder folder("ShortcutsNarrow");
    std::wstring target = folder.file(L"\u5915\u713C\u3051 caf\u00E9.exe");
    InstallProbe(target);
    Text link = folder.file("ショートカット.lnk");
    ASSERT_TRUE(CreateShortcut(Widen(link), target, L"", L"", 0, 0));
    Text answer = GetShortcutTarget(link);
    EXPECT_FALSE(ContainsChar('?', answer)) << answer;
    EXPECT_TRUE(answer == link || FileExists(answer)) << answer;
}

TEST(Shortcuts, AMissingTargetIsStillASavedShortcut) {
    ScratchFolder folder("ShortcutMissing");
    Text link = folder.file("gone.lnk");
    // Resolving finds nothing (and shows no search dialog), but the link was saved.
    EXPECT_TRUE(CreateShortcut(link, folder.file("removed\\tool.exe"), "", "", 0, 0));
    EXPECT_TRUE(FileExists(link));
    EXPECT_EQ(LoadLink(link).path, Widen(folder.file("removed\\tool.exe")));
}

TEST(Shortcuts, PathsTooLongForTheLinkAreRefusedWhole) {
    ScratchFolder folder("ShortcutLong");
    Text link = folder.file("long.lnk");
    Text longTarget = "C:\\" + Text(260, 'a') + ".exe";
    EXPECT_FALSE(CreateShortcut(link, longTarget, "", "", 0, 0));
    EXPECT_FALSE(CreateShortcut(link, "C:\\a.exe", "C:\\" + Text(260, 'd'), "", 0, 0));
    EXPECT_FALSE(CreateShortcut(link, "C:\\a.exe", "", "C:\\" + Text(260, 'i'), 0, 0));
    EXPECT_FALSE(FileExists(link));
    Text fits = "C:\\" + Text(250, 'b') + ".exe"; // 257 characters
    EXPECT_TRUE(CreateShortcut(link, fits, "", "", 0, 0));
    EXPECT_EQ(LoadLink(link).path, Widen(fits));
}

} // namespace
