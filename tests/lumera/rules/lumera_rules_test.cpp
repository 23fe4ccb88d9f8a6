#include "instance_rules.h"
#include "list_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(InstanceRules, SlotNamesCarryTheirNumberFromOne) {
    EXPECT_EQ(InstanceMutexName(0), "MorivaneLumera");
    EXPECT_EQ(InstanceMutexName(1), "MorivaneLumera1");
    EXPECT_EQ(InstanceMutexName(255), "MorivaneLumera255");
    EXPECT_EQ(InstanceValueName("MainTop", 0), "MainTop");
    EXPECT_EQ(InstanceValueName("MainLeft", 2), "MainLeft2");
}

TEST(InstanceRules, TheFirstFreeSlotIsTaken) {
    SlotScan none = ScanInstanceSlots([](int) { return false; });
    EXPECT_EQ(none.slot, 0);
    EXPECT_EQ(none.otherInstances, 0);
    std::set<int> taken = {0, 1, 3};
    SlotScan some = ScanInstanceSlots([&](int slot) { return taken.count(slot) != 0; });
    EXPECT_EQ(some.slot, 2);
    EXPECT_EQ(some.otherInstances, 3);
    SlotScan all = ScanInstanceSlots([](int) { return true; });
    EXPECT_TRUE(all.tooMany);
    SlotScan allButLast = ScanInstanceSlots([](int slot) { return slot < 255; });
    EXPECT_FALSE(allButLast.tooMany);
    EXPECT_EQ(allButLast.slot, 255);
}

TEST(InstanceRules, PlacementCentresOutOfRangeValues) {
    EXPECT_EQ(PlacedCoordinate(100, 768, 431), 100);
    EXPECT_EQ(PlacedCoordinate(-1, 768, 431), 168);
    EXPECT_EQ(PlacedCoordinate(768, 768, 431), 168); // equal to the screen height
    EXPECT_EQ(PlacedCoordinate(767, 768, 431), 767);
    EXPECT_EQ(PlacedCoordinate(-1, 100, 431), -165); // rounded toward zero
}

TEST(ListRules, FolderListsWithAndWithoutTheFinalSemicolon) {
    EXPECT_EQ(SplitFolderList("C:\\a;D:\\b"), SplitFolderList("C:\\a;D:\\b;"));
    EXPECT_EQ(SplitFolderList("C:\\a;D:\\b").size(), 2u);
    EXPECT_EQ(SplitFolderList(""), std::vector<Text>());
    EXPECT_EQ(SplitFolderList("C:\\a;;D:\\b"), (std::vector<Text>{"C:\\a", "D:\\b"}));
    EXPECT_EQ(FirstFolder("C:\\missing;C:\\windows"), "C:\\missing");
    EXPECT_EQ(FirstFolder("C:\\ソ"), "C:\\ソ");
}

TEST(ListRules, RowsWithoutContentAreDropped) {
    auto kept = CompactList({{L"a", L"x.exe"}, {L"b", L""}, {L"", L"y.exe"}});
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1].content, L"y.exe");
    EXPECT_TRUE(SamePathForm("C:\\PROGRA~1\\x.bmp", "c:\\progra~1\\X.BMP"));
    EXPECT_FALSE(SamePathForm("C:\\a.bmp", "C:\\b.bmp"));
}

TEST(ListRules, WideFolderListsSplitLikeNarrowOnes) {
    EXPECT_EQ(SplitFolderList(std::wstring(L"C:\\Zo\u00EB;;D:\\\u5F20\u4F1F;")),
              (std::vector<std::wstring>{L"C:\\Zo\u00EB", L"D:\\\u5F20\u4F1F"}));
    EXPECT_TRUE(SplitFolderList(std::wstring()).empty());
    EXPECT_EQ(FirstFolder(std::wstring(L"C:\\Jos\u00E9;C:\\windows")), L"C:\\Jos\u00E9");
    EXPECT_EQ(FirstFolder(std::wstring(L"C:\\Jos\u00E9")), L"C:\\Jos\u00E9");
    EXPECT_TRUE(SamePathForm(std::wstring(L"c:\\jos\u00E9\\A.BMP"), std::wstring(L"C:\\JOS\u00E9\\a.bmp")));
    EXPECT_FALSE(SamePathForm(std::wstring(L"C:\\jos\u00E9"), std::wstring(L"C:\\JOS\u00C9")));
    EXPECT_FALSE(SamePathForm(std::wstring(L"C:\\a"), std::wstring(L"C:\\ab")));
}

} // namespace
