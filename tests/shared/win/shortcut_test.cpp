#include "win/shortcut.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

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

SavedLink LoadLink(const Text& file) {
    SavedLink saved;
    ComInit com;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> persist;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.receive())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, persist.receive())) ||
        FAILED(persist->Load(Widen(file).c_str(), STGM_READ)))
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

} // namespace
