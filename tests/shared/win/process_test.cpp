#include "win/process.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(Privileges, UnknownNamesFailKnownOnesAdjust) {
    EXPECT_FALSE(SetProcessPrivilege("SeNoSuchPrivilege", false));
    EXPECT_TRUE(SetProcessPrivilege("SeBackupPrivilege", false));
    EXPECT_TRUE(SetProcessPrivilege("SeBackupPrivilege", true));
}

TEST(Eject, UnansweredOnTheNtFamily) {
    // No VWIN32 service here: the request goes unanswered and AX comes back as sent.
    EXPECT_EQ(EjectMedia(4), 0x440Du);
}

} // namespace
