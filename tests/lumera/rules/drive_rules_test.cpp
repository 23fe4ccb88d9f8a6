#include "drive_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(DriveRules, OnlyRemovableAndCdRomDrivesGetItems) {
    EXPECT_EQ(DriveItemCaption(DriveTypeRemovable, 'A'), "FD/ﾘﾑｰﾊﾞﾌﾞﾙ (A:)");
    EXPECT_EQ(DriveItemCaption(DriveTypeCdRom, 'Q'), "CD-ROM (Q:)");
    for (unsigned other : {0u, 1u, 3u, 4u, 6u})
        EXPECT_EQ(DriveItemCaption(other, 'C'), "") << other;
    EXPECT_EQ(DriveLetter(1), 'A');
    EXPECT_EQ(DriveLetter(26), 'Z');
}

TEST(DriveRules, OnlyRemovableDrivesAskBeforeTheWatch) {
    EXPECT_TRUE(AsksBeforeWatching(DriveItemCaption(DriveTypeRemovable, 'B')));
    EXPECT_FALSE(AsksBeforeWatching(DriveItemCaption(DriveTypeCdRom, 'B')));
    EXPECT_FALSE(AsksBeforeWatching(""));
    // "ﾘ" (D8) as the trail byte of "惨" (8E D8) is no start of the word.
    EXPECT_FALSE(AsksBeforeWatching("\x8E\xD8ﾑｰﾊﾞﾌﾞﾙ"));
    EXPECT_TRUE(AsksBeforeWatching("惨ﾘﾑｰﾊﾞﾌﾞﾙ"));
}

TEST(DriveRules, OnlyAnArrivingMediumRunsItsAutorun) {
    EXPECT_EQ(WatchHint('D', true), "D1");
    EXPECT_EQ(WatchHint('D', false), "D0");

    WatchLook arrived = LookAtDrive("D0", 'D', true);
    EXPECT_EQ(arrived.hint, "D1");
    EXPECT_TRUE(arrived.mediumArrived);

    WatchLook stillThere = LookAtDrive("D1", 'D', true);
    EXPECT_EQ(stillThere.hint, "D1");
    EXPECT_FALSE(stillThere.mediumArrived);

    WatchLook removed = LookAtDrive("D1", 'D', false);
    EXPECT_EQ(removed.hint, "D0");
    EXPECT_FALSE(removed.mediumArrived);

    EXPECT_FALSE(LookAtDrive("D0", 'D', false).mediumArrived);
    // A hint without a state counts as "not seen".
    EXPECT_TRUE(LookAtDrive("D", 'D', true).mediumArrived);
    EXPECT_EQ(LookAtDrive("D", 'D', false).hint, "D0");
}

TEST(DriveRules, AutorunFilesLieInTheDriveRoot) {
    EXPECT_EQ(DriveRootFile('R', "autorun.inf"), "R:\\autorun.inf");
    EXPECT_EQ(DriveRootFile('A', "track01.cda"), "A:\\track01.cda");
}

} // namespace
