// Desktop shortcuts against the real shell link object, in a scratch folder standing in
// for the desktop.
#include <gtest/gtest.h>

#include "paths.h"
#include "pinnet_core.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/shortcut.h"

namespace {

const std::wstring Suffix = Widen("へのｼｮｰﾄｶｯﾄ.lnk");

TEST(PinnetShortcuts, NamedAfterTheItemPointingAtItWithItsFolder) {
    ScratchFolder desktop("PinDesk");
    ScratchFolder work("PinWork");
    std::wstring memo = work.file(L"caf\u00E9.txt");
    std::wstring folder = work.file(L"\uD55C\uAE00 \uBA54\uBAA8");
    ASSERT_TRUE(WriteFileBytes(memo, "x"));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));

    std::vector<std::wstring> failed;
    size_t tried = MakeShortcuts(Widen(desktop.path()), {memo, folder + L"\\"},
                                 [&](const std::wstring& item) { failed.push_back(item); });
    EXPECT_EQ(tried, 2u);
    EXPECT_TRUE(failed.empty());
    std::wstring memoLink = JoinPath(Widen(desktop.path()), L"caf\u00E9.txt" + Suffix);
    std::wstring folderLink = JoinPath(Widen(desktop.path()), L"\uD55C\uAE00 \uBA54\uBAA8" + Suffix);
    ASSERT_TRUE(FileExists(memoLink));
    ASSERT_TRUE(FileExists(folderLink));
    EXPECT_EQ(GetLongPath(GetShortcutTarget(memoLink)), memo);
    EXPECT_EQ(GetLongPath(GetShortcutTarget(folderLink)), folder);

    // Made again: saved over, not refused.
    EXPECT_TRUE(MakeShortcutIn(Widen(desktop.path()), memo));
}

TEST(PinnetShortcuts, EachFailureIsReportedOnceAndThePassGoesOn) {
    ScratchFolder desktop("PinFail");
    ScratchFolder work("PinFailWork");
    std::wstring blocked = work.file(L"blocked.txt");
    std::wstring fine = work.file(L"fine.txt");
    ASSERT_TRUE(WriteFileBytes(blocked, "x"));
    ASSERT_TRUE(WriteFileBytes(fine, "x"));
    // A folder where the shortcut file would go: the link cannot be saved there.
    ASSERT_TRUE(CreateDirectoryW(JoinPath(Widen(desktop.path()), L"blocked.txt" + Suffix).c_str(), nullptr));

    std::vector<std::wstring> failed;
    MakeShortcuts(Widen(desktop.path()), {blocked, fine},
                  [&](const std::wstring& item) { failed.push_back(item); });
    EXPECT_EQ(failed, std::vector<std::wstring>{blocked});
    EXPECT_TRUE(FileExists(JoinPath(Widen(desktop.path()), L"fine.txt" + Suffix)));

    // Without a desktop folder nothing lands in the current folder.
    EXPECT_FALSE(MakeShortcutIn(L"", fine));
    EXPECT_EQ(ShortcutFailureText(fine), fine + L"\n" + Widen("ｼｮｰﾄｶｯﾄの作成に失敗しました。"));
}

TEST(PinnetShortcuts, FileNames) {
    EXPECT_EQ(ShortcutFileName(L"C:\\Work\\memo.txt"), L"memo.txt" + Suffix);
    EXPECT_EQ(ShortcutFileName(L"C:\\My Documents\\"), L"My Documents" + Suffix);
    EXPECT_EQ(ShortcutFileName(L"C:\\d\\\U0001F600.png"), L"\U0001F600.png" + Suffix);
}

} // namespace
