#include "win/files.h"

#include <gtest/gtest.h>

#include "paths.h"
#include "test_support.h"

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

} // namespace
