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

// Wide paths keep names CP932 cannot hold; the rules are those of the CP932 forms.
TEST(WidePaths, JoinAndBackslashes) {
    EXPECT_EQ(JoinPath(L"C:\\Users\\Jos\u00E9\\", L"\\\\\uD55C\uAE00 \uBA54\uBAA8.txt"),
              L"C:\\Users\\Jos\u00E9\\\uD55C\uAE00 \uBA54\uBAA8.txt");
    EXPECT_EQ(JoinPath(L"C:", L"x"), L"C:\\x");
    EXPECT_EQ(JoinPath(L"", L"x"), L"\\x");
    EXPECT_EQ(JoinPath(L"C:\\d", L"\\"), L"C:\\d\\");
    EXPECT_EQ(AddBackslash(L""), L"\\");
    EXPECT_EQ(AddBackslash(L"C:\\caf\u00E9"), L"C:\\caf\u00E9\\");
    EXPECT_EQ(AddBackslash(L"C:\\caf\u00E9\\"), L"C:\\caf\u00E9\\");
    EXPECT_EQ(RemoveBackslash(L"C:\\\\"), L"C:");
    EXPECT_EQ(RemoveBackslash(L"\\\\"), L"");
    EXPECT_EQ(RemoveBackslash(L"C:\\Zo\u00EB"), L"C:\\Zo\u00EB");
    EXPECT_EQ(WithoutTrailingBackslash(L"C:\\Zo\u00EB\\\\"), L"C:\\Zo\u00EB");
    EXPECT_EQ(WithoutTrailingBackslash(L"C:\\\\"), L"C:\\");
    EXPECT_EQ(WithoutTrailingBackslash(L"C:"), L"C:");
    EXPECT_EQ(WithoutTrailingBackslash(L"\\\\server\\share\\"), L"\\\\server\\share");
}

TEST(WidePaths, NameDirectoryAndExtension) {
    const std::wstring photo = L"C:\\\u5915\u713C\u3051\\\u5915\u713C\u3051 caf\u00E9.jpg";
    EXPECT_EQ(ExtractFileName(photo), L"\u5915\u713C\u3051 caf\u00E9.jpg");
    EXPECT_EQ(ExtractFileDir(photo), L"C:\\\u5915\u713C\u3051");
    EXPECT_EQ(ExtractFileExt(photo), L".jpg");
    EXPECT_EQ(FileNameWithoutExt(photo), L"\u5915\u713C\u3051 caf\u00E9");
    EXPECT_EQ(FileNameWithoutExt(L"D:\\\U0001F600.png"), L"\U0001F600");
    EXPECT_EQ(ExtractFileName(L"C:file"), L"file");
    EXPECT_EQ(ExtractFileDir(L"C:\\file.txt"), L"C:\\");
    EXPECT_EQ(ExtractFileDir(L"C:\\"), L"C:\\");
    EXPECT_EQ(ExtractFileDir(L"C:file"), L"C:");
    EXPECT_EQ(ExtractFileDir(L"file"), L"");
    EXPECT_EQ(ExtractFileDir(L"\\file"), L"\\");
    EXPECT_EQ(ExtractFileDir(L"\\\\server\\share"), L"\\\\server");
    EXPECT_EQ(ExtractFileExt(L"C:\\a.b\\c"), L"");
    EXPECT_EQ(ExtractFileExt(L"C:.x"), L".x");
    EXPECT_EQ(ExtractFileExt(L"a.tar.gz"), L".gz");
    EXPECT_EQ(FileNameWithoutExt(L"C:\\a.b\\name"), L"name");
}

} // namespace
