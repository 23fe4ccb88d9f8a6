#include "win/file_facts.h"

#include <gtest/gtest.h>

#include <regex>

#include "paths.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/handles.h"
#include "win/registry.h"

namespace {

void MakeFileOfSize(const Text& path, long long size) {
    UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER end;
    end.QuadPart = size;
    ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file.get()));
}

TEST(FileDescription, SizeTimeAndFlags) {
    ScratchFolder folder("Describe");
    Text file = folder.file("説明.txt");
    MakeFileOfSize(file, 1234567);
    SetFileAttributesW(Widen(file).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    Text description = GetFileDescription(file);
    EXPECT_TRUE(std::regex_match(
        description, std::regex("1,234,567 byte \\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d _ _ R A")))
        << description;
    SetFileAttributesW(Widen(file).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileDescription, SizesOfTwoGigabytesAndMoreStayPositive) {
    ScratchFolder folder("DescribeBig");
    Text file = folder.file("big.bin");
    MakeFileOfSize(file, 2147483648LL + 5);
    EXPECT_EQ(GetFileDescription(file).substr(0, 19), "2,147,483,653 byte ");
}

TEST(FileDescription, MissingFile) {
    EXPECT_EQ(GetFileDescription("C:\\no\\such\\file.txt"), "ｻｲｽﾞ不明 日付不明 属性不明");
}

TEST(FileTypes, DefaultIconAndTypeLookup) {
    ASSERT_TRUE(RegWriteString(HKEY_CLASSES_ROOT, ".lumtest", "", "LumTest.File"));
    ASSERT_TRUE(RegWriteString(HKEY_CLASSES_ROOT, "LumTest.File\\DefaultIcon", "", "C:\\ソ\\icons.dll,3"));
    EXPECT_EQ(RegisteredFileType("lumtest"), "LumTest.File");
    EXPECT_EQ(GetDefaultIconSpec("lumtest"), "C:\\ソ\\icons.dll,3");
    EXPECT_EQ(GetDefaultIconSpec(".lumtest"), "C:\\ソ\\icons.dll,3");
    EXPECT_EQ(GetDefaultIconSpec("a\\lumtest"), "");
    EXPECT_EQ(GetDefaultIconSpec(""), "");
    // An extension with no registered type is its own type name.
    EXPECT_EQ(RegisteredFileType("lumnone"), ".lumnone");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".lumtest");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"LumTest.File");
}

TEST(FileIcons, SelectionOrder) {
    ScratchFolder folder("Icons");
    UniqueIcon folderIcon(GetFileIcon(folder.path()));
    EXPECT_TRUE(folderIcon);
    EXPECT_EQ(GetFileIcon(folder.file("missing.txt")), nullptr);
    Text dotted = folder.file("name.");
    WriteBytes(dotted, "x");
    EXPECT_EQ(GetFileIcon(dotted), nullptr);
    // The probe carries no icon: programs fall back to the shell's program icon.
    Text program = folder.file("probe.exe");
    InstallProbe(program);
    UniqueIcon programIcon(GetFileIcon(program));
    EXPECT_TRUE(programIcon);
    Text document = folder.file("memo.txt");
    WriteBytes(document, "x");
    UniqueIcon documentIcon(GetFileIcon(document));
    EXPECT_TRUE(documentIcon);
}

} // namespace
