// The tray menu's folder listing: names beyond CP932 survive in the targets and
// captions, and only files with the pattern's own extension become items.
#include <gtest/gtest.h>

#include "../../shared/win/test_support.h"
#include "menu.h"
#include "paths.h"
#include "tray_menu.h"
#include "win/encoding.h"

namespace {

class FolderItemsTest : public ::testing::Test {
protected:
    ScratchFolder scratch{"tray-menu"};
    std::wstring folder = Widen(scratch.path());
    MenuItem submenu;
    MenuItem::Handler choice = [](MenuItem&) {};
};

TEST_F(FolderItemsTest, ANameBeyondCp932KeepsItsFullPathAndCaption) {
    const std::wstring name = L"\uD55C\uAE00 \u00E9t\u00E9"; // Hangul and accents: no CP932 form
    MakeFile(folder + L"\\" + name + L".bmp");
    ASSERT_EQ(AppendFolderItems(submenu, folder, {L"*.bmp"}, choice), 1u);
    EXPECT_EQ(submenu[0].target, folder + L"\\" + name + L".bmp");
    EXPECT_EQ(submenu[0].displayCaption(), name);
    EXPECT_EQ(submenu[0].tag, 0);
}

TEST_F(FolderItemsTest, FoldersOfTheListArePatternByPatternAndOnlyFilesOfTheExtensionCount) {
    CreateDirectoryW((folder + L"\\a").c_str(), nullptr);
    CreateDirectoryW((folder + L"\\b").c_str(), nullptr);
    CreateDirectoryW((folder + L"\\a\\folder.bmp").c_str(), nullptr); // a folder is no picture
    MakeFile(folder + L"\\a\\one.bmp");
    MakeFile(folder + L"\\a\\two.jpg");
    MakeFile(folder + L"\\a\\three.bmpx");
    MakeFile(folder + L"\\b\\four.BMP");
    submenu.Add("(なし)");
    // Empty entries and a missing folder are passed over.
    std::wstring list = folder + L"\\a;;" + folder + L"\\missing;" + folder + L"\\b;";
    ASSERT_EQ(AppendFolderItems(submenu, list, {L"*.bmp", L"*.jpg"}, choice), 3u);
    ASSERT_EQ(submenu.count(), 4u);
    EXPECT_EQ(submenu[1].displayCaption(), L"one");
    EXPECT_EQ(submenu[2].displayCaption(), L"two");
    EXPECT_EQ(submenu[3].displayCaption(), L"four");
    EXPECT_EQ(submenu[3].target, folder + L"\\b\\four.BMP");
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(submenu[static_cast<size_t>(i)].tag, i); // each its own index
}

TEST_F(FolderItemsTest, AnAmpersandInAFileNameIsShownAsItIs) {
    MakeFile(folder + L"\\Tom & Jerry.bmp");
    ASSERT_EQ(AppendFolderItems(submenu, folder, {L"*.bmp"}, choice), 1u);
    EXPECT_EQ(submenu[0].displayCaption(), L"Tom & Jerry");
    EXPECT_EQ(submenu[0].target, folder + L"\\Tom & Jerry.bmp");
}

} // namespace
