#include "win/file_facts.h"

#include <gtest/gtest.h>

#include <regex>

#include "paths.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
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

TEST(FileDescription, WildcardsNeverDescribeAnotherFile) {
    ScratchFolder folder("DescribeWildcard");
    WriteBytes(folder.file("a.txt"), "x");
    // "?" is what an unnarrowable name ("한.txt") became; it must not describe "a.txt".
    EXPECT_EQ(GetFileDescription(folder.file("?.txt")), "ｻｲｽﾞ不明 日付不明 属性不明");
    EXPECT_EQ(GetFileDescription(folder.file("*")), "ｻｲｽﾞ不明 日付不明 属性不明");
    EXPECT_EQ(GetFileDescription(folder.file(L"?.txt")), Widen("ｻｲｽﾞ不明 日付不明 属性不明"));
}

TEST(FileDescription, WideNamesAndSeparatorsBeyondCp932) {
    ScratchFolder folder("DescribeWide");
    std::wstring photo = folder.file(L"\u5915\u713C\u3051 caf\u00E9.jpg");
    ASSERT_TRUE(WriteFileBytes(photo, Text(1234, 'x')));
    std::wstring description = GetFileDescription(photo);
    EXPECT_EQ(description.substr(0, 11), L"1,234 byte ") << Narrow(description);
    EXPECT_EQ(description.substr(description.size() - 8), L" _ _ _ A");

    // A locale whose thousands separator is U+202F: the wide form keeps it, the CP932
    // form writes a blank instead of "?".
    wchar_t saved[8] = L"";
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved, 8), 0);
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, L"\u202F"));
    std::wstring wide = GetFileDescription(photo);
    ScratchFolder plain("DescribeSeparator");
    WriteBytes(plain.file("1234.bin"), Text(1234, 'x'));
    Text narrowPlain = GetFileDescription(plain.file("1234.bin"));
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved);
    EXPECT_EQ(wide.substr(0, 11), L"1\u202F234 byte ") << Narrow(wide);
    EXPECT_EQ(narrowPlain.substr(0, 11), "1 234 byte ") << narrowPlain;
}

TEST(FileTypes, ExpandableDefaultIconsAndWideExtensions) {
    ClassOverride extension(".lumexp", "LumExp.File");
    ValueOverride icon(HKEY_CLASSES_ROOT, "LumExp.File\\DefaultIcon", "");
    ASSERT_TRUE(
        WriteExpandString(HKEY_CLASSES_ROOT, "LumExp.File\\DefaultIcon", "", L"%SystemRoot%\\x.dll,3"));
    EXPECT_EQ(GetDefaultIconSpec("lumexp"), GetWindowsDir() + "\\x.dll,3");
    EXPECT_EQ(GetDefaultIconSpec(L".lumexp"), GetWindowsDirWide() + L"\\x.dll,3");

    ASSERT_TRUE(RegWriteString(HKEY_CLASSES_ROOT, L".lum\uD55C", L"", L"Lum\u00E9.File"));
    EXPECT_EQ(RegisteredFileType(L"lum\uD55C"), L"Lum\u00E9.File");
    EXPECT_EQ(RegisteredFileType(L"a\\b"), L"");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".lum\uD55C");
}

// A DefaultIcon index of -1 asks for a count, which must never be used as an icon.
TEST(FileIcons, IndexMinusOneFallsBackToTheShellIcon) {
    ScratchFolder folder("IconMinusOne");
    ClassOverride extension(".lumneg", "LumNeg.File");
    ClassOverride icon("LumNeg.File\\DefaultIcon", JoinPath(GetSystemDir(), "shell32.dll") + ",-1");
    std::wstring document = folder.file(L"caf\u00E9.lumneg");
    ASSERT_TRUE(WriteFileBytes(document, "x"));
    UniqueIcon found(GetFileIcon(document));
    ASSERT_TRUE(found);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(found.get(), &info)) << "not an icon handle";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

} // namespace
