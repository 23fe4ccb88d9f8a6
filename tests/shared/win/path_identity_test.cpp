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
    for (const Case& c : cases) {
        EXPECT_TRUE(SamePath(CanonicalPath(c.given), canonical)) << c.what << ": " << Narrow(c.given);
        EXPECT_TRUE(SamePath(CanonicalPath(c.given, PathForm::Short), shortForm)) << c.what;
    }
    // The part that does not exist yet is kept as given, behind the long form of the rest.
    EXPECT_TRUE(SamePath(CanonicalPath(JoinPath(shortForm, std::wstring(L"not yet\\here"))),
                         JoinPath(canonical, std::wstring(L"not yet\\here"))));
    EXPECT_EQ(CanonicalPath(L""), L"");
}

TEST(PathIdentity, RootsKeepTheirBackslash) {
    EXPECT_EQ(CanonicalPath(L"C:\\"), L"C:\\");
    EXPECT_EQ(CanonicalPath(L"\\\\?\\C:\\"), L"C:\\");
    EXPECT_EQ(FullPath(L"C:\\\\"), L"C:\\");
    EXPECT_TRUE(SamePath(CanonicalPath(L"\\\\?\\UNC\\server\\share\\dir\\"), L"\\\\server\\share\\dir"));
    for (const wchar_t* root :
         {L"C:\\", L"c:", L"C:/", L"\\\\server\\share", L"\\\\server\\share\\", L"\\\\?\\C:\\", L"\\\\?\\C:"})
        EXPECT_TRUE(IsRootFolder(root)) << Narrow(root);
    for (const wchar_t* below : {L"C:\\x", L"\\\\server\\share\\x", L""})
        EXPECT_FALSE(IsRootFolder(below)) << Narrow(below);
}

// A link is an entry of its own: no spelling of a path through it names the folder it leads
// to, so nothing done to the link's side counts as done inside its target, or back.
TEST(PathIdentity, ALinkIsAPlaceOfItsOwn) {
    ScratchFolder scratch("path identity links");
    const std::wstring target = scratch.file(std::wstring(L"Target \u00e9"));
    const std::wstring link = scratch.file(std::wstring(L"Link to a long named target"));
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(JoinPath(target, L"Sub").c_str(), nullptr));
    UnixLink made(link, target);
    if (!made.made())
        GTEST_SKIP() << "no link to test with";

    const std::wstring canonicalLink = CanonicalPath(link);
    const std::wstring canonicalTarget = CanonicalPath(target);
    for (const std::wstring& spelling : {JoinPath(link, L"Sub"), JoinPath(GetShortPath(link), L"sub\\"),
                                         L"\\\\?\\" + JoinPath(link, L"Sub\\..\\Sub")}) {
        const std::wstring canonical = CanonicalPath(spelling);
        EXPECT_TRUE(IsSameOrInside(canonical, canonicalLink)) << Narrow(spelling);
        EXPECT_FALSE(IsSameOrInside(canonical, canonicalTarget)) << Narrow(spelling);
    }
    EXPECT_FALSE(SamePath(canonicalLink, canonicalTarget));
    EXPECT_FALSE(IsSameOrInside(JoinPath(canonicalTarget, L"Sub"), canonicalLink));
    EXPECT_FALSE(SamePath(CanonicalPath(link, PathForm::Short), CanonicalPath(target, PathForm::Short)));
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
