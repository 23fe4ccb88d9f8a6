#include "win/profile_file.h"

#include <gtest/gtest.h>

#include "paths.h"
#include "test_support.h"
#include "win/files.h"
#include "win/encoding.h"
#include "win/folders.h"

namespace {

TEST(ProfileFile, JapaneseSectionsKeysAndValues) {
    ScratchFolder folder("Ini");
    Text file = folder.file("設定.ini");
    WriteBytes(file, "[一般]\r\n表示 = はい\r\n回数=12\r\n; 説明\r\n");
    EXPECT_EQ(IniReadString(file, "一般", "表示", "x"), "はい");
    EXPECT_EQ(IniReadInteger(file, "一般", "回数", 0), 12);
    EXPECT_EQ(IniReadInteger(file, "一般", "表示", 5), 5); // not a number
    EXPECT_EQ(IniReadString(file, "一般", "無い", "既定"), "既定");
    EXPECT_EQ(IniReadString(file, "無い", "表示", "既定"), "既定");
    EXPECT_EQ(IniReadString(folder.file("missing.ini"), "一般", "表示", "既定"), "既定");

    EXPECT_TRUE(IniWriteString(file, "一般", "表示", "いいえ"));
    EXPECT_TRUE(IniWriteString(file, "新規", "キー", "ソ"));
    EXPECT_EQ(ReadFileBytes(file).value_or(""),
              "[一般]\r\n表示 =いいえ\r\n回数=12\r\n; 説明\r\n[新規]\r\nキー=ソ\r\n");
}

TEST(ProfileFile, WritingCreatesTheFile) {
    ScratchFolder folder("IniNew");
    Text file = folder.file("new.ini");
    EXPECT_TRUE(IniWriteString(file, "s", "k", "v"));
    EXPECT_EQ(IniReadString(file, "S", "K", ""), "v");
    EXPECT_FALSE(IniWriteString(folder.file("no\\such\\dir.ini"), "s", "k", "v"));
}

TEST(ProfileFile, BareNamesMeanTheWindowsFolder) {
    Text name = "lumera-test-profile.ini";
    Text inWindows = JoinPath(GetWindowsDir(), name);
    ASSERT_TRUE(IniWriteString(name, "boot", "SCRNSAVE.EXE", "C:\\ソ\\a.scr"));
    EXPECT_TRUE(FileExists(inWindows));
    EXPECT_EQ(IniReadString(inWindows, "boot", "scrnsave.exe", ""), "C:\\ソ\\a.scr");
    DeleteFileW(Widen(inWindows).c_str());
}

TEST(ProfileFile, WideFileNames) {
    ScratchFolder folder("IniWide");
    std::wstring file = folder.file(L"\u5915\u713C\u3051 caf\u00E9.ini");
    EXPECT_TRUE(IniWriteString(file, "一般", "写真", "C:\\ソ\\a.jpg"));
    EXPECT_EQ(IniReadString(file, "一般", "写真", ""), "C:\\ソ\\a.jpg");
    EXPECT_TRUE(IniWriteString(file, "一般", "回数", "7"));
    EXPECT_EQ(IniReadInteger(file, "一般", "回数", 0), 7);
    EXPECT_FALSE(FileExists(folder.file("? caf?.ini")));
}

TEST(ProfileFile, LineBreaksInNamesOrValuesAreRefused) {
    ScratchFolder folder("IniInject");
    Text file = folder.file("autorun.inf");
    const Text original = "[autorun]\r\nopen=setup.exe\r\n";
    WriteBytes(file, original);
    EXPECT_FALSE(IniWriteString(file, "autorun", "label", "x\r\n[boot]\r\nshell=evil.exe"));
    EXPECT_FALSE(IniWriteString(file, "autorun]\n[boot", "k", "v"));
    EXPECT_FALSE(IniWriteString(file, "autorun", "open\nshell", "v"));
    EXPECT_FALSE(IniWriteString(file, "autorun", "open=x", "v"));
    EXPECT_EQ(ReadFileBytes(file).value_or(""), original);
}

TEST(ProfileFile, ReadOnlyFilesAreRefusedAndKept) {
    ScratchFolder folder("IniReadOnly");
    Text file = folder.file("system.ini");
    WriteBytes(file, "[boot]\r\nSCRNSAVE.EXE=a.scr\r\n");
    SetFileAttributesW(Widen(file).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(IniWriteString(file, "boot", "SCRNSAVE.EXE", "b.scr"));
    EXPECT_EQ(IniReadString(file, "boot", "SCRNSAVE.EXE", ""), "a.scr");
    SetFileAttributesW(Widen(file).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ProfileFile, Utf16FilesAreReadButNeverAppendedTo) {
    ScratchFolder folder("IniUtf16");
    Text file = folder.file("AUTORUN.INF");
    std::wstring wide = L"\uFEFF[autorun]\r\nopen=\u30BB\u30C3\u30C8.exe\r\n";
    const Text original(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
    WriteBytes(file, original);
    EXPECT_EQ(IniReadString(file, "AutoRun", "open", ""), "セット.exe");
    EXPECT_FALSE(IniWriteString(file, "autorun", "label", "x"));
    EXPECT_EQ(ReadFileBytes(file).value_or(""), original);
}

} // namespace
