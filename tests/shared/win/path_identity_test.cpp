#include "win/path_identity.h"

#include <gtest/gtest.h>

#include "paths.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"

namespace {

TEST(PathIdentity, EverySpellingOfAFolderBecomesOne) {
    ScratchFolder scratch("path identity");
    const std::wstring folder = JoinPath(Widen(scratch.path()), std::wstring(L"Long folder name"));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring canonical = CanonicalPath(folder);
    const std::wstring shortForm = GetShortPath(folder);
    ASSERT_FALSE(shortForm.empty());
    struct Case {
        std::wstring given;
        const char* what;
    } cases[] = {
        {shortForm, "short form"},
        {folder + L"\\", "trailing backslash"},
        {folder + L"\\\\", "two trailing backslashes"},
        {L"\\\\?\\" + folder, "long prefix"},
        {JoinPath(folder, std::wstring(L"sub\\..")), "dots"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(SamePath(CanonicalPath(c.given), canonical)) << c.what << ": " << Narrow(c.given);
    // The part that does not exist yet is kept as given, behind the long form of the rest.
    EXPECT_TRUE(SamePath(CanonicalPath(JoinPath(shortForm, std::wstring(L"not yet\\here"))),
                         JoinPath(canonical, std::wstring(L"not yet\\here"))));
    EXPECT_EQ(CanonicalPath(L""), L"");
}

TEST(PathIdentity, RootsKeepTheirBackslash) {
    EXPECT_EQ(CanonicalPath(L"C:\\"), L"C:\\");
    EXPECT_EQ(CanonicalPath(L"\\\\?\\C:\\"), L"C:\\");
    EXPECT_TRUE(SamePath(CanonicalPath(L"\\\\?\\UNC\\server\\share\\dir\\"), L"\\\\server\\share\\dir"));
}

TEST(PathIdentity, SameOrInsideAFolder) {
    struct Case {
        const wchar_t* inner;
        const wchar_t* folder;
        bool inside;
    } cases[] = {
        {L"C:\\App", L"C:\\App", true},
        {L"c:\\app\\data", L"C:\\App", true},
        {L"C:\\Apple", L"C:\\App", false}, // a shared beginning is not a parent
        {L"C:\\", L"C:\\App", false},
        {L"C:\\App\\x", L"C:\\", true},
        {L"\\\\server\\share\\dir", L"\\\\server\\share", true},
        {L"D:\\App", L"C:\\App", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSameOrInside(c.inner, c.folder), c.inside)
            << Narrow(c.inner) << " in " << Narrow(c.folder);
}

} // namespace
