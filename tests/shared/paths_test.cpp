#include "paths.h"

#include <gtest/gtest.h>

namespace {

TEST(Paths, JoinPutsExactlyOneBackslash) {
    EXPECT_EQ(JoinPath("C:\\", "\\x"), "C:\\x");
    EXPECT_EQ(JoinPath("C:", "x"), "C:\\x");
    EXPECT_EQ(JoinPath("C:\\a\\", "\\\\b"), "C:\\a\\b");
    EXPECT_EQ(JoinPath("", "x"), "\\x");
    EXPECT_EQ(JoinPath("C:\\ソ", "表"), "C:\\ソ\\表");
    EXPECT_EQ(JoinPath("C:\\表", "\\ソ"), "C:\\表\\ソ");
}

TEST(Paths, BackslashesAfterDoubleByteCharacters) {
    EXPECT_EQ(AddBackslash("C:\\ソ"), "C:\\ソ\\");
    EXPECT_EQ(AddBackslash("C:\\ソ\\"), "C:\\ソ\\");
    EXPECT_EQ(RemoveBackslash("C:\\ソ"), "C:\\ソ");
    EXPECT_EQ(RemoveBackslash("C:\\ソ\\"), "C:\\ソ");
    EXPECT_EQ(RemoveBackslash("C:\\\\"), "C:");
}

TEST(Paths, NameDirectoryAndExtension) {
    EXPECT_EQ(ExtractFileName("C:\\dir\\file.txt"), "file.txt");
    EXPECT_EQ(ExtractFileName("C:file"), "file");
    EXPECT_EQ(ExtractFileName("C:\\ソ"), "ソ");
    EXPECT_EQ(ExtractFileName("ソ表"), "ソ表");
    EXPECT_EQ(ExtractFileDir("C:\\dir\\file.txt"), "C:\\dir");
    EXPECT_EQ(ExtractFileDir("C:\\file.txt"), "C:\\");
    EXPECT_EQ(ExtractFileDir("C:\\"), "C:\\");
    EXPECT_EQ(ExtractFileDir("C:file"), "C:");
    EXPECT_EQ(ExtractFileDir("file"), "");
    EXPECT_EQ(ExtractFileDir("\\file"), "\\");
    EXPECT_EQ(ExtractFileDir("C:\\ソ\\表.txt"), "C:\\ソ");
    EXPECT_EQ(ExtractFileDir("C:\\ソ"), "C:\\");
    EXPECT_EQ(ExtractFileExt("C:\\a.b\\c"), "");
    EXPECT_EQ(ExtractFileExt("C:\\a\\c.tar.gz"), ".gz");
    EXPECT_EQ(FileNameWithoutExt("C:\\dir\\表.bmp"), "表");
    EXPECT_EQ(FileNameWithoutExt("C:\\a.b\\name"), "name");
    EXPECT_EQ(FileNameWithoutExt("a.b.c"), "a.b");
}

} // namespace
