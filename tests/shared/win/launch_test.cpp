#include "win/launch.h"

#include <gtest/gtest.h>

#include "paths.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/registry.h"

namespace {

TEST(Autorun, OpenKeyStartsItsProgramInTheDiscFolder) {
    ScratchFolder disc("DiscOpen");
    InstallProbe(disc.file("セットアップ.exe"));
    Text inf = disc.file("AUTORUN.INF");
    WriteBytes(inf, "[AutoRun]\r\nopen=セットアップ.exe /install ソ\r\nicon=disc.ico\r\n");
    ASSERT_TRUE(ExecuteInfOrTrack(inf, false));
    std::wstring log = WaitForProbeLog(disc.file("セットアップ.exe"));
    EXPECT_NE(log.find(L"/install \u30BD|"), std::wstring::npos) << log;
    EXPECT_NE(log.find(L"|" + Widen(disc.path()) + L"\n"), std::wstring::npos) << log;
}

TEST(Autorun, IconOnlyOpensTheDiscFolder) {
    ScratchFolder disc("DiscIcon");
    Text shell = disc.file("folder-opener.exe");
    InstallProbe(shell);
    ClassOverride folderOpen("Folder\\shell\\open\\command", "\"" + shell + "\" \"%1\"");
    ClassOverride directoryOpen("Directory\\shell\\open\\command", "\"" + shell + "\" \"%1\"");
    Text inf = disc.file("autorun.inf");
    WriteBytes(inf, "[autorun]\r\nicon=disc.ico\r\n");
    ASSERT_TRUE(ExecuteInfOrTrack(inf, false));
    std::wstring log = WaitForProbeLog(shell);
    EXPECT_NE(log.find(Widen(disc.path())), std::wstring::npos) << log;
}

TEST(Autorun, NeitherKeyOpensTheFileInTheInfEditor) {
    ScratchFolder disc("DiscEdit");
    Text editor = disc.file("editor.exe");
    InstallProbe(editor);
    ClassOverride infEditor("inffile\\shell\\open\\Command", editor + " %1");
    Text inf = disc.file("Autorun.Inf");
    WriteBytes(inf, "[autorun]\r\nlabel=x\r\n");
    ASSERT_TRUE(ExecuteInfOrTrack(inf, false));
    std::wstring log = WaitForProbeLog(editor);
    EXPECT_NE(log.find(Widen(inf) + L"|" + Widen(disc.path())), std::wstring::npos) << log;

    // The suite's own edit command wins over the INF editor.
    Text ownEditor = disc.file("own editor.exe");
    InstallProbe(ownEditor);
    ClassOverride own("Lumera\\shell\\open(edit)\\Command", ownEditor + " \"%1\"");
    ASSERT_TRUE(ExecuteInfOrTrack(inf, false));
    EXPECT_NE(WaitForProbeLog(ownEditor).find(Widen(inf)), std::wstring::npos);
}

TEST(Autorun, NotepadWhenNoEditorIsRegistered) {
    ScratchFolder disc("DiscNotepad");
    ValueOverride infEditor(HKEY_CLASSES_ROOT, "inffile\\shell\\open\\Command", "");
    ValueOverride ownEditor(HKEY_CLASSES_ROOT, "Lumera\\shell\\open(edit)\\Command", "");
    infEditor.Remove();
    ownEditor.Remove();
    // The shell looks in the working folder first, so a probe there answers for notepad.
    Text notepad = disc.file("notepad.exe");
    InstallProbe(notepad);
    Text inf = disc.file("AUTORUN.INF");
    WriteBytes(inf, "[other]\r\nopen=x.exe\r\n");
    ASSERT_TRUE(ExecuteInfOrTrack(inf, false));
    EXPECT_NE(WaitForProbeLog(notepad).find(Widen(inf)), std::wstring::npos);
}

TEST(Autorun, AudioTrackStartsTheCdPlayer) {
    Text player = JoinPath(GetWindowsDir(), "cdplayer.exe");
    InstallProbe(player);
    Text track = "D:\\Track01.cda";
    ASSERT_TRUE(ExecuteInfOrTrack(track, false));
    std::wstring log = WaitForProbeLog(player);
    EXPECT_NE(log.find(L"-play D:\\Track01.cda|"), std::wstring::npos) << log;
    DeleteFileW(Widen(player).c_str());
    DeleteFileW(Widen(player + ".log").c_str());
}

TEST(Autorun, OtherFilesOpenTheirFolderOnlyWhenAsked) {
    ScratchFolder disc("DiscOther");
    Text shell = disc.file("folder-opener.exe");
    InstallProbe(shell);
    ClassOverride folderOpen("Folder\\shell\\open\\command", "\"" + shell + "\" \"%1\"");
    ClassOverride directoryOpen("Directory\\shell\\open\\command", "\"" + shell + "\" \"%1\"");
    Text readme = disc.file("readme.txt");
    WriteBytes(readme, "x");
    EXPECT_FALSE(ExecuteInfOrTrack(readme, false));
    EXPECT_TRUE(ExecuteInfOrTrack(readme, true));
    std::wstring log = WaitForProbeLog(shell);
    EXPECT_NE(log.find(Widen(disc.path())), std::wstring::npos) << log;
    EXPECT_EQ(log.find(L"readme"), std::wstring::npos) << log;
}

TEST(OpenCommand, FollowsTheFileType) {
    ClassOverride extension(".lumrun", "LumRun.File");
    ClassOverride command("LumRun.File\\shell\\open\\command", "C:\\ソ\\viewer.exe \"%1\"");
    EXPECT_EQ(GetOpenCommand("lumrun"), "C:\\ソ\\viewer.exe \"%1\"");
    EXPECT_EQ(GetOpenCommand(".lumrun"), "C:\\ソ\\viewer.exe \"%1\"");
    EXPECT_EQ(GetOpenCommand("x\\lumrun"), "");
    EXPECT_EQ(GetOpenCommand(""), "");
    EXPECT_EQ(GetOpenCommand("lumnothing"), "");
}

TEST(SplitAgainstDisk, ExistingFileWithoutExtension) {
    ScratchFolder folder("Split");
    Text tool = folder.file("my tool");
    WriteBytes(tool, "x");
    CommandLineParts parts = SplitCommandLine(tool + " -a b");
    EXPECT_EQ(parts.program, tool);
    EXPECT_EQ(parts.parameters, "-a b");
    // A folder of that name does not count.
    ScratchFolder other("Split2");
    CreateDirectoryW(Widen(other.file("dir")).c_str(), nullptr);
    EXPECT_EQ(SplitProgram(other.file("dir") + " x"), other.file("dir") + " x");
}

TEST(Autorun, DiscFoldersAndProgramsBeyondCp932) {
    ScratchFolder disc("DiscWide");
    std::wstring folder = disc.file(L"\uD55C\uAE00 \uBA54\uBAA8");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring setup = JoinPath(folder, L"setup.exe");
    InstallProbe(setup);
    std::wstring inf = JoinPath(folder, L"AUTORUN.INF");
    ASSERT_TRUE(WriteFileBytes(inf, "[autorun]\r\nopen=setup.exe /x\r\n"));
    ASSERT_TRUE(ExecuteInfOrTrack(inf, false));
    std::wstring log = WaitForProbeLog(setup);
    EXPECT_NE(log.find(L"/x|" + folder + L"\n"), std::wstring::npos) << Narrow(log);
    EXPECT_FALSE(ExecuteInfOrTrack(JoinPath(folder, L"\U0001F600.png"), false));
}

TEST(Launch, WideProgramsDocumentsAndTheirFolders) {
    ScratchFolder folder("LaunchWide");
    std::wstring dir = folder.file(L"Zo\u00EB");
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    std::wstring program = JoinPath(dir, L"Jos\u00E9 tool.exe");
    InstallProbe(program);
    std::wstring document = JoinPath(dir, L"\u5915\u713C\u3051 caf\u00E9.jpg");
    ShellOpen(program, L"\"" + document + L"\"", dir);
    std::wstring log = WaitForProbeLog(program);
    EXPECT_NE(log.find(document + L"\"|" + dir), std::wstring::npos) << Narrow(log);

    // Split against the disk: an existing program without extension takes the blank.
    std::wstring tool = JoinPath(dir, L"\u5F20\u4F1F tool");
    ASSERT_TRUE(WriteFileBytes(tool, "x"));
    WideCommandLineParts parts = SplitCommandLine(tool + L" -a \U0001F600");
    EXPECT_EQ(parts.program, tool);
    EXPECT_EQ(parts.parameters, L"-a \U0001F600");
    EXPECT_EQ(SplitProgram(dir + L" x"), dir + L" x"); // a folder does not count
}

TEST(OpenCommand, ExpandableAndWideCommands) {
    ClassOverride extension(".lumexp2", "LumExp2.File");
    ValueOverride command(HKEY_CLASSES_ROOT, "LumExp2.File\\shell\\open\\command", "");
    ASSERT_TRUE(WriteExpandString(HKEY_CLASSES_ROOT, "LumExp2.File\\shell\\open\\command", "",
                                  L"%SystemRoot%\\viewer.exe \"%1\""));
    EXPECT_EQ(GetOpenCommand("lumexp2"), GetWindowsDir() + "\\viewer.exe \"%1\"");
    EXPECT_EQ(GetOpenCommand(L"lumexp2"), GetWindowsDirWide() + L"\\viewer.exe \"%1\"");

    command.Set(L"C:\\Users\\Jos\u00E9\\viewer.exe \"%1\"");
    EXPECT_EQ(GetOpenCommand(L".lumexp2"), L"C:\\Users\\Jos\u00E9\\viewer.exe \"%1\"");
    EXPECT_EQ(GetOpenCommand(".lumexp2"), ""); // never "C:\Users\Jos?\viewer.exe"
}

int timerTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
    ++timerTicks;
}

TEST(Waiting, KeepsMessagesFlowing) {
    timerTicks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, CountTick);
    ULONGLONG start = GetTickCount64();
    DelayWithMessages(300);
    ULONGLONG elapsed = GetTickCount64() - start;
    KillTimer(nullptr, timer);
    EXPECT_GE(elapsed, 300u);
    EXPECT_LT(elapsed, 2000u);
    EXPECT_GE(timerTicks, 3);
}

} // namespace
