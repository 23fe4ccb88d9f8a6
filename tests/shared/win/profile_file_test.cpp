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

} // namespace
