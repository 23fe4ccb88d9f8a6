#include "win/files.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "paths.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/handles.h"

namespace {

TEST(Files, ForceDirectoriesCreatesEveryMissingLevel) {
    ScratchFolder folder("Force");
    Text deep = folder.file("ソ\\表\\三段目");
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep)); // already there
    WriteBytes(folder.file("plain"), "x");
    EXPECT_FALSE(ForceDirectories(folder.file("plain\\below"))); // a file stands in the way
    EXPECT_FALSE(ForceDirectories(""));
}

// Names of every kind a user may give a file, beyond what CP932 holds.
const std::wstring WideNames[] = {L"caf\u00E9.txt", L"\uD55C\uAE00 \uBA54\uBAA8.txt", L"\u5F20\u4F1F.doc",
                                  L"\U0001F600.png", L"\u5915\u713C\u3051 caf\u00E9.jpg"};

// The files in a folder, by their wide names.
std::vector<std::wstring> Listing(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(JoinPath(folder, L"*").c_str(), &found));
    if (search) {
        do {
            if (found.cFileName[0] != L'.')
                names.push_back(found.cFileName);
        } while (FindNextFileW(search.get(), &found));
    }
    return names;
}

TEST(Files, WideNamesStayWhole) {
    ScratchFolder folder("WideNames");
    for (const std::wstring& name : WideNames) {
        std::wstring path = folder.file(name);
        ASSERT_TRUE(WriteFileBytes(path, "x")) << Narrow(name);
        EXPECT_TRUE(FileExists(path));
        EXPECT_FALSE(DirectoryExists(path));
        EXPECT_EQ(ReadFileBytes(path).value_or("?"), "x");
    }
    // Each name made its own file; none was narrowed into another (or into "?").
    EXPECT_EQ(Listing(Widen(folder.path())).size(), std::size(WideNames));
    EXPECT_FALSE(FileExists(folder.file("caf?.txt")));
    std::wstring deep = folder.file(L"Zo\u00EB\\Jos\u00E9\\\U0001F600");
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
}

TEST(Files, AFolderTreeGoesWholeReadOnlyEntriesAndWideNamesIncluded) {
    ScratchFolder folder("tree");
    std::wstring root = Widen(folder.path()) + L"\\\ud55c\uae00 tree";
    std::wstring deep = root + L"\\caf\u00e9\\\u5f20\u4f1f";
    ASSERT_TRUE(ForceDirectories(deep));
    ASSERT_TRUE(WriteFileBytes(deep + L"\\a.txt", "a"));
    ASSERT_TRUE(WriteFileBytes(root + L"\\b.txt", "b"));
    SetFileAttributesW((deep + L"\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(RemoveFolderTree(root));
    EXPECT_FALSE(DirectoryExists(root));
    EXPECT_TRUE(DirectoryExists(Widen(folder.path())));
}

TEST(SafeWrite, ReplacesThroughAUniqueTemporaryAndLeavesNothingBehind) {
    ScratchFolder folder("SafeWrite");
    std::wstring target = folder.file(L"caf\u00E9.ini");
    // Files that carry names a fixed temporary could have had are never touched.
    WriteFileBytes(target + L".~tmp", "keep 1");
    WriteFileBytes(target + L".tmp", "keep 2");
    ASSERT_TRUE(WriteFileBytes(target, "old"));
    ASSERT_TRUE(WriteFileBytes(target, "new"));
    EXPECT_EQ(ReadFileBytes(target).value_or(""), "new");
    EXPECT_EQ(ReadFileBytes(target + L".~tmp").value_or(""), "keep 1");
    EXPECT_EQ(ReadFileBytes(target + L".tmp").value_or(""), "keep 2");
    EXPECT_EQ(Listing(Widen(folder.path())).size(), 3u);
    EXPECT_TRUE(WriteFileBytes(target, ""));
    EXPECT_EQ(ReadFileBytes(target).value_or("x"), "");
}

TEST(SafeWrite, KeepsAttributesAndRefusesReadOnlyFiles) {
    ScratchFolder folder("SafeWriteAttributes");
    std::wstring hidden = folder.file(L"\uD55C\uAE00.ini");
    ASSERT_TRUE(WriteFileBytes(hidden, "old"));
    ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(WriteFileBytes(hidden, "new"));
    EXPECT_EQ(ReadFileBytes(hidden).value_or(""), "new");
    EXPECT_TRUE(GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN);

    std::wstring locked = folder.file(L"Zo\u00EB.ini");
    ASSERT_TRUE(WriteFileBytes(locked, "precious"));
    ASSERT_TRUE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WriteFileBytes(locked, "overwritten"));
    EXPECT_EQ(ReadFileBytes(locked).value_or(""), "precious");
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_FALSE(WriteFileBytes(folder.file(L"no\\such\\dir.ini"), "x"));
    EXPECT_FALSE(WriteFileBytes(Widen(folder.path()), "x")); // a folder is not replaced
    EXPECT_EQ(Listing(Widen(folder.path())).size(), 2u);
}

} // namespace
