#include "uninstall_run.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "fake_files_in_use.h"
#include "paths.h"
#include "record_twin.h"
#include "test_support.h"
#include "uninstall_record.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/registry.h"

namespace {

const Text SystemEntries = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const Text RecordParent = "\\Software\\Morivane\\BrisaSetup";

// Answers and remembers what a run reports.
struct ScriptedProgress : UninstallProgress {
    void SetBarMaximum(UninstallBar bar, int maximum) override { maxima[static_cast<int>(bar)] = maximum; }
    void StepBar(UninstallBar bar) override { ++steps[static_cast<int>(bar)]; }
    bool ConfirmUninstall(const std::wstring& question) override {
        confirmations.push_back(question);
        return confirm;
    }
    bool AskContinue(const std::wstring& question) override {
        questions.push_back(question);
        return goOn;
    }
    void RestartNeeded(const std::wstring& notice) override { notices.push_back(notice); }

    bool confirm = true, goOn = true;
    int maxima[4] = {-1, -1, -1, -1};
    int steps[4] = {};
    std::vector<std::wstring> confirmations, questions, notices;
};

// A product installed for a user whose profile lies under a name CP932 cannot hold: files
// under a program-files folder of that profile, a program group, desktop and Send To
// shortcuts, registry values, the system's uninstall entry and the record listing it all.
class UninstallRunTest : public ::testing::TestWithParam<const wchar_t*> {
protected:
    void SetUp() override {
        programFilesDir.Set(programFiles);
        for (const std::wstring& folder : {programs, desktop, sendTo, programFiles})
            ASSERT_TRUE(ForceDirectories(folder));

        app = JoinPath(programFiles, L"Lumera Deck");
        group = JoinPath(programs, L"Lumera Deck");
        files = {JoinPath(app, L"Lumera.exe"), JoinPath(app, L"bin\\Ferrox.exe"),
                 JoinPath(app, L"bin\\Pinnet.exe")};
        startNames = {JoinPath(group, L"Lumera.lnk"), JoinPath(group, L"Tools\\Ferrox.lnk")};
        deskTopNames = {JoinPath(desktop, L"Lumera.lnk")};
        sendToNames = {JoinPath(sendTo, L"Ferrox.lnk")};
        for (const auto* list : {&files, &startNames, &deskTopNames, &sendToNames})
            for (const std::wstring& path : *list)
                ASSERT_TRUE(MakeFile(path));
        ASSERT_TRUE(ForceDirectories(JoinPath(app, L"data\\cache")));

        settings = scratchKey.path();
        ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, settings, "Keep", Text("stays")));
        ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, settings, "Gone", Text("goes")));
        ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, settings + "\\Sub\\Deeper", "Gone", Text("goes")));
        ASSERT_TRUE(RegWriteString(HKLM(), SystemEntries + "\\" + name, "DisplayName", Widen(name)));

        SetUpRecordAgain();
    }
    void TearDown() override { DeleteKeyAndPruneBoth(); }

    // As an install writes it: the record, its twin, and the files claimed as copied.
    void SetUpRecordAgain() {
        writer = std::make_unique<RecordWriter>(wname(), true);
        Record(RecordList::File, files);
        for (size_t i = 0; i < files.size(); ++i)
            ASSERT_TRUE(writer->Claim(static_cast<int>(i + 1), Copied(files[i])));
        Record(RecordList::Dir, {JoinPath(app, L"data\\cache"), JoinPath(app, L"data")});
        Record(RecordList::StartName, startNames);
        Record(RecordList::DeskTopName, deskTopNames);
        Record(RecordList::SendToName, sendToNames);
        Record(RecordList::RegWrite, {Widen("HKEY_CURRENT_USER\\" + settings + "\\Uninstalled=<Integer>1")});
        Record(RecordList::RegDelete, {Widen("<Value>HKEY_CURRENT_USER\\" + settings + "\\Gone"),
                                       Widen("<Key>HKEY_CURRENT_USER\\" + settings + "\\Sub")});
        ASSERT_TRUE(writer->Write(L"DateTime", L"2026/01/02 3:04:05"));
    }
    static HKEY HKLM() { return HKEY_LOCAL_MACHINE; }
    std::wstring wname() const { return Widen(name); }
    void Record(RecordList list, const std::vector<std::wstring>& values) {
        for (size_t i = 0; i < values.size(); ++i)
            ASSERT_TRUE(writer->Write(RecordValueName(list, static_cast<int>(i + 1)), values[i]));
    }
    static FileOwnership Copied(const std::wstring& file) {
        WIN32_FILE_ATTRIBUTE_DATA facts{};
        GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &facts);
        return {FileClaim::Copied,
                (static_cast<unsigned long long>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow,
                (static_cast<unsigned long long>(facts.ftLastWriteTime.dwHighDateTime) << 32) |
                    facts.ftLastWriteTime.dwLowDateTime};
    }
    bool RecordExists() const { return RegKeyExists(HKEY_CURRENT_USER, RecordParent, name); }
    bool SystemEntryExists() const { return RegKeyExists(HKEY_LOCAL_MACHINE, SystemEntries, name); }
    void DeleteKeyAndPruneBoth() {
        RegDeleteKey(HKEY_CURRENT_USER, RecordParent + "\\" + name, Text("OtherSet"));
        RegDeleteKey(HKEY_CURRENT_USER, RecordParent, name);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, SystemUninstallEntryKey(wname()).substr(1).c_str());
    }

    // Two words, and a trail byte 0x5C ("ソ"), as a data file's AppName may have.
    const Text name = "Lumera Deck ソフト";
    ScratchFolder scratch{"UninstallRun"};
    ScratchKey scratchKey{"UninstallRun"};
    Text settings;
    FakeProfile user{JoinPath(Widen(scratch.path()), std::wstring(L"Users\\") + GetParam())};
    const std::wstring &profile = user.path, &programs = user.programs, &desktop = user.desktop,
                       &sendTo = user.sendTo;
    const std::wstring programFiles = JoinPath(profile, L"Prog");
    ValueOverride programFilesDir{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                  "ProgramFilesDir"};
    std::wstring app, group;
    std::vector<std::wstring> files, startNames, deskTopNames, sendToNames;
    std::unique_ptr<RecordWriter> writer;
};

TEST_P(UninstallRunTest, RemovesExactlyWhatTheRecordListsAndKeepsTheUsersFolders) {
    std::wstring own = JoinPath(app, L"bin\\notes of mine.txt");
    std::wstring otherIcon = JoinPath(desktop, L"Other.lnk");
    ASSERT_TRUE(MakeFile(own));
    ASSERT_TRUE(MakeFile(otherIcon));
    ScriptedProgress progress;

    ASSERT_EQ(RunUninstall(wname(), progress), UninstallOutcome::Completed);
    // Often this product's entry was the only one in the test prefix.
    EXPECT_TRUE(
        RegKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Uninstall"));

    ASSERT_EQ(progress.confirmations.size(), 1u);
    EXPECT_NE(progress.confirmations[0].find(L"\"" + wname() + L"\""), std::wstring::npos);
    EXPECT_TRUE(progress.questions.empty());
    for (const auto* list : {&files, &startNames, &deskTopNames, &sendToNames})
        for (const std::wstring& path : *list)
            EXPECT_FALSE(FileExists(path)) << Narrow(path);
    EXPECT_TRUE(FileExists(own)) << "a file the record does not list stays, and so does its folder";
    EXPECT_TRUE(FileExists(otherIcon));
    EXPECT_FALSE(DirectoryExists(JoinPath(app, L"data")));
    EXPECT_FALSE(DirectoryExists(group)) << "the emptied program group goes";
    for (const std::wstring& kept : {programs, desktop, sendTo, programFiles})
        EXPECT_TRUE(DirectoryExists(kept)) << Narrow(kept);

    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, settings, "Keep", Text()), "stays");
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, settings, "Gone"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, settings, "Sub"));
    EXPECT_EQ(RegReadInteger(HKEY_CURRENT_USER, settings, "Uninstalled", 0), 1);
    EXPECT_FALSE(RecordExists());
    EXPECT_FALSE(SystemEntryExists());
    EXPECT_FALSE(ReadUninstallRecord(wname()).present());

    const int maxima[4] = {3, 2, 4, 5};
    for (int bar = 0; bar < 4; ++bar) {
        EXPECT_EQ(progress.maxima[bar], maxima[bar]) << bar;
        EXPECT_EQ(progress.steps[bar], maxima[bar]) << "every bar ends full: " << bar;
    }
}

TEST_P(UninstallRunTest, NoToTheFirstQuestionTouchesNothing) {
    ScriptedProgress progress;
    progress.confirm = false;

    EXPECT_EQ(RunUninstall(wname(), progress), UninstallOutcome::Declined);
    for (const auto* list : {&files, &startNames, &deskTopNames, &sendToNames})
        for (const std::wstring& path : *list)
            EXPECT_TRUE(FileExists(path)) << Narrow(path);
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, settings, "Gone"));
    EXPECT_TRUE(RecordExists());
    EXPECT_TRUE(SystemEntryExists());
    EXPECT_EQ(progress.steps[0] + progress.steps[1] + progress.steps[2] + progress.steps[3], 0);
}

TEST_P(UninstallRunTest, AFileInUseAsksAndNoStopsTheRunLeavingTheRecordForARepeat) {
    // Open without delete sharing: the file cannot go while the handle lives.
    HANDLE busy =
        CreateFileW(files[1].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    ScriptedProgress progress;
    progress.goOn = false;
    FakeFilesInUse noRights;
    noRights.movesAllowed = false;

    EXPECT_EQ(RunUninstall(wname(), progress, noRights), UninstallOutcome::Stopped);
    CloseHandle(busy);
    ASSERT_EQ(progress.questions.size(), 1u);
    EXPECT_EQ(progress.questions[0].rfind(files[1] + L"\n", 0), 0u) << "the question starts with the path";
    EXPECT_FALSE(FileExists(files[0])) << "removed before the stop";
    EXPECT_TRUE(FileExists(files[2])) << "nothing after the stop";
    EXPECT_TRUE(FileExists(startNames[0]));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, settings, "Gone"));
    EXPECT_TRUE(RecordExists());
    EXPECT_TRUE(SystemEntryExists());

    // Repeating the uninstallation finishes it.
    ScriptedProgress again;
    EXPECT_EQ(RunUninstall(wname(), again), UninstallOutcome::Completed);
    EXPECT_FALSE(FileExists(files[1]));
    EXPECT_FALSE(DirectoryExists(app));
    EXPECT_FALSE(RecordExists());
}

// A file that stays with nothing to remove it later: the rest goes, but the record and the
// uninstall entry stay, so the product can still be uninstalled.
TEST_P(UninstallRunTest, YesAfterAFileInUseGoesOnWithTheNextAndKeepsTheRecordForARepeat) {
    HANDLE busy =
        CreateFileW(files[0].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    ScriptedProgress progress;
    FakeFilesInUse noRights;
    noRights.movesAllowed = false;

    EXPECT_EQ(RunUninstall(wname(), progress, noRights), UninstallOutcome::Stopped);
    CloseHandle(busy);
    EXPECT_EQ(progress.questions.size(), 1u);
    EXPECT_TRUE(FileExists(files[0]));
    EXPECT_TRUE(DirectoryExists(app)) << "still holds the file that stayed";
    EXPECT_FALSE(FileExists(files[2]));
    EXPECT_FALSE(FileExists(startNames[0]));
    EXPECT_TRUE(RecordExists());
    EXPECT_TRUE(SystemEntryExists());
}

// A program holding a file of the product is asked to close before the files go; a file
// still held goes at the next restart, without a question, and the uninstall completes.
TEST_P(UninstallRunTest, ProgramsHoldingItsFilesCloseOrLeaveThemToTheRestart) {
    for (bool closes : {true, false}) {
        SCOPED_TRACE(closes ? "closes when asked" : "will not close");
        for (const auto* list : {&files, &startNames, &deskTopNames, &sendToNames})
            for (const std::wstring& path : *list)
                MakeFile(path);
        SetUpRecordAgain();
        ASSERT_TRUE(RegWriteString(HKLM(), SystemEntries + "\\" + name, "DisplayName", wname()));
        PendingRenames pending;
        auto inUse = std::make_unique<FakeFilesInUse>();
        ASSERT_TRUE(inUse->Hold(L"Lumera", files[0], closes));
        ScriptedProgress progress;

        EXPECT_EQ(RunUninstall(wname(), progress, *inUse), UninstallOutcome::Completed);
        EXPECT_EQ(inUse->registered, files);
        EXPECT_EQ(inUse->closeAsked, 1);
        EXPECT_EQ(inUse->restartAsked, 0) << "nothing is left to start";
        inUse.reset();
        EXPECT_TRUE(progress.questions.empty());
        EXPECT_FALSE(RecordExists());
        EXPECT_FALSE(SystemEntryExists());
        const auto moves = pending.Added();
        if (closes) {
            EXPECT_FALSE(FileExists(files[0]));
            EXPECT_TRUE(moves.empty());
            EXPECT_TRUE(progress.notices.empty());
        } else {
            EXPECT_TRUE(FileExists(files[0])) << "until the restart";
            // Then the product's folder it alone keeps, but never the program-files folder.
            EXPECT_EQ(moves, (std::vector<PendingRenames::Move>{{L"\\??\\" + files[0], L""},
                                                                {L"\\??\\" + app, L""}}));
            ASSERT_EQ(progress.notices.size(), 1u);
            EXPECT_NE(progress.notices[0].find(files[0]), std::wstring::npos);
            DeleteFileW(files[0].c_str());
        }
        EXPECT_FALSE(FileExists(files[1]));
    }
}

TEST_P(UninstallRunTest, OldRecordListsAndAnotherProductsRecord) {
    Record(RecordList::RegString, {Widen("HKEY_CURRENT_USER\\" + settings + "\\Text=old text")});
    Record(RecordList::RegInteger, {Widen("HKEY_CURRENT_USER\\" + settings + "\\Count=7")});
    // A key directly below a root is refused, in an old record as in a new one.
    const Text shared = "LumeraSharedKeyTest";
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, shared, "Keep", Text("1")));
    Record(RecordList::RegSec,
           {Widen("HKEY_CURRENT_USER\\" + settings + "\\Sub"), Widen("HKEY_CURRENT_USER\\" + shared)});
    Record(RecordList::RegKey, {Widen("HKEY_CURRENT_USER\\" + settings + "\\Keep")});
    const std::wstring other = L"Another Product";
    ASSERT_TRUE(WriteRecordValue(other, L"DateTime", std::wstring(L"yesterday")));
    ScriptedProgress progress;

    EXPECT_EQ(RunUninstall(wname(), progress), UninstallOutcome::Completed);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, settings, "Text", Text()), "old text");
    EXPECT_EQ(RegReadInteger(HKEY_CURRENT_USER, settings, "Count", 0), 7);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, settings, "Sub"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, settings, "Keep"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, shared, "Keep"));
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(shared).c_str());
    EXPECT_EQ(progress.maxima[3], 10);
    EXPECT_EQ(progress.steps[3], 10);
    EXPECT_FALSE(RecordExists());
    EXPECT_TRUE(ReadUninstallRecord(other).present()) << "the shared key stays while it holds another record";
    RegDeleteKey(HKEY_CURRENT_USER, RecordParent, Narrow(other));
}

// The run works in the Windows folder: a relative entry must not mean a file there.
TEST_P(UninstallRunTest, RelativeEntriesAreSkippedNeverResolved) {
    const std::wstring cool = JoinPath(GetWindowsDirWide(), L"UninstallRunCool");
    const std::wstring dll = JoinPath(cool, L"x.dll"), link = JoinPath(cool, L"Tool.lnk");
    ASSERT_TRUE(MakeFile(dll));
    ASSERT_TRUE(MakeFile(link));
    std::vector<std::wstring> withRelative = files;
    withRelative.push_back(L"UninstallRunCool\\x.dll");
    Record(RecordList::File, withRelative);
    Record(RecordList::Dir, {L"UninstallRunCool", L"\\UninstallRunCool"});
    Record(RecordList::SendToName, {L"C:UninstallRunCool\\Tool.lnk"});
    ScriptedProgress progress;

    EXPECT_EQ(RunUninstall(wname(), progress), UninstallOutcome::Completed);
    const bool dllStayed = FileExists(dll), linkStayed = FileExists(link);
    DeleteFileW(dll.c_str());
    DeleteFileW(link.c_str());
    RemoveDirectoryW(cool.c_str());
    EXPECT_TRUE(dllStayed);
    EXPECT_TRUE(linkStayed);
    EXPECT_TRUE(progress.questions.empty());
    for (const std::wstring& path : files)
        EXPECT_FALSE(FileExists(path)) << Narrow(path);
}

// A recorded program runs, before the files go, only when it is a file of this installation:
// an entry naming any other program, or one without its folder, is not run.
TEST_P(UninstallRunTest, OnlyAProgramOfTheInstallationIsRun) {
    const std::wstring own = JoinPath(app, L"cmd.exe"), system = JoinPath(GetSystemDirWide(), L"cmd.exe");
    ASSERT_TRUE(CopyFileW(system.c_str(), own.c_str(), FALSE));
    std::vector<std::wstring> withProgram = files;
    withProgram.push_back(own);
    Record(RecordList::File, withProgram);
    ASSERT_TRUE(writer->Claim(static_cast<int>(withProgram.size()), Copied(own)));
    auto mkdir = [&](const std::wstring& program, const wchar_t* marker) {
        return program + L" /c mkdir \"" + scratch.file(std::wstring(marker)) + L"\"";
    };
    Record(RecordList::Execute,
           {mkdir(own, L"Ran"), mkdir(system, L"Forged"), mkdir(L"cmd.exe", L"Relative")});
    ScriptedProgress progress;

    EXPECT_EQ(RunUninstall(wname(), progress), UninstallOutcome::Completed);
    EXPECT_TRUE(DirectoryExists(scratch.file(std::wstring(L"Ran"))));
    EXPECT_FALSE(DirectoryExists(scratch.file(std::wstring(L"Forged"))));
    EXPECT_FALSE(DirectoryExists(scratch.file(std::wstring(L"Relative"))));
    EXPECT_FALSE(FileExists(own));
}

TEST_P(UninstallRunTest, ARecordThatIsNotWhatTheInstallWroteIsRefusedAndNothingIsTouched) {
    // What a program running as the user could aim at: a file outside any install and a
    // machine-wide key.
    const std::wstring victim = JoinPath(Widen(scratch.path()), std::wstring(L"Elsewhere\\victim.txt"));
    ASSERT_TRUE(MakeFile(victim));
    const Text machineKey = "SOFTWARE\\Morivane\\LumeraTests\\forged";
    ASSERT_TRUE(RegWriteString(HKLM(), machineKey, "Keep", Text("1")));
    const std::wstring userKey = UninstallRecordKey(wname());
    auto set = [&](const wchar_t* value, const std::wstring& text) {
        ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, userKey, value, text));
    };
    const std::pair<const char*, std::function<void()>> forgeries[] = {
        {"an added file", [&] { set(L"File4", victim); }},
        {"a changed file", [&] { set(L"File2", victim); }},
        {"an added machine-wide delete",
         [&] { set(L"RegDelete3", Widen("<Key>HKEY_LOCAL_MACHINE\\" + machineKey)); }},
        {"a shrunk list",
         [&] { RegDeleteKeyValueW(HKEY_CURRENT_USER, userKey.substr(1).c_str(), L"File3"); }},
        {"the same text as an expandable string",
         [&] { ASSERT_TRUE(WriteExpandString(HKEY_CURRENT_USER, Narrow(userKey), "File1", files[0])); }},
        {"a record made from nothing, without a twin",
         [&] { RegDeleteTreeW(HKLM(), RecordTwinKey(wname()).substr(1).c_str()); }},
        {"another product's record under this name",
         [&] {
             RegDeleteTreeW(HKEY_CURRENT_USER, userKey.substr(1).c_str());
             set(L"DateTime", L"2026/01/02 3:04:05");
             set(L"File1", victim);
         }},
    };
    for (const auto& [what, forge] : forgeries) {
        SCOPED_TRACE(what);
        // Each forgery starts from the record as the install wrote it.
        RegDeleteTreeW(HKEY_CURRENT_USER, userKey.substr(1).c_str());
        SetUpRecordAgain();
        ASSERT_EQ(CheckRecordTwin(wname()), TwinCheck::Matches);
        forge();
        ScriptedProgress progress;
        EXPECT_EQ(RunUninstall(wname(), progress), UninstallOutcome::Refused);
        EXPECT_TRUE(progress.confirmations.empty()) << "refused before anything is asked";
        EXPECT_TRUE(FileExists(victim));
        for (const std::wstring& path : files)
            EXPECT_TRUE(FileExists(path)) << Narrow(path);
        EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, settings, "Gone"));
        EXPECT_TRUE(RegKeyExists(HKLM(), "SOFTWARE\\Morivane\\LumeraTests", "forged"));
        EXPECT_TRUE(SystemEntryExists());
        EXPECT_TRUE(RecordExists());
    }
    RegDeleteTreeW(HKLM(), Widen(machineKey).c_str());
    DeleteKeyIfEmpty(HKLM(), L"SOFTWARE\\Morivane\\LumeraTests");
    DeleteKeyIfEmpty(HKLM(), L"SOFTWARE\\Morivane");
}

TEST_P(UninstallRunTest, FilesThisProductDidNotPutThereStay) {
    // File1 was there before the install and is not claimed; File2 was copied but another
    // file stands there now; File3 is made by the product as it runs.
    const std::wstring twinFiles = RecordTwinKey(wname()) + L"\\Files";
    RegDeleteKeyValueW(HKLM(), twinFiles.substr(1).c_str(), L"File1");
    ASSERT_TRUE(writer->Claim(3, {FileClaim::Later}));
    ASSERT_TRUE(WriteFileBytes(files[1], "another product's newer file"));
    ScriptedProgress progress;

    EXPECT_EQ(RunUninstall(wname(), progress), UninstallOutcome::Completed);
    EXPECT_TRUE(FileExists(files[0]));
    EXPECT_EQ(ReadFileBytes(files[1]).value_or(""), "another product's newer file");
    EXPECT_FALSE(FileExists(files[2]));
    EXPECT_TRUE(progress.questions.empty());
    EXPECT_EQ(progress.steps[0], 3) << "a file kept is a step done";
}

INSTANTIATE_TEST_SUITE_P(Profiles, UninstallRunTest, ::testing::Values(L"Jos\u00e9", L"\uae40\ubbfc\uc900"));

TEST(UninstallRun, WithoutARecordNothingIsAskedOrTouched) {
    ScriptedProgress progress;
    EXPECT_EQ(RunUninstall(L"No Such Product", progress), UninstallOutcome::NoRecord);
    EXPECT_EQ(RunUninstall(L"", progress), UninstallOutcome::NoRecord);
    EXPECT_EQ(RunUninstall(L"\uae40\ubbfc\uc900", progress), UninstallOutcome::NoRecord);
    EXPECT_TRUE(progress.confirmations.empty());
    EXPECT_EQ(progress.maxima[3], -1);
}

TEST(UninstallRun, TheWindowsFolderMeansUninstallWhateverItsSpelling) {
    std::wstring windows = GetWindowsDirWide();
    ASSERT_FALSE(windows.empty());
    std::wstring upper = windows;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    EXPECT_TRUE(IsUninstallerFolder(windows, windows));
    EXPECT_TRUE(IsUninstallerFolder(upper + L"\\", windows));
    EXPECT_TRUE(IsUninstallerFolder(JoinPath(windows, L"System32\\.."), windows));
    EXPECT_FALSE(IsUninstallerFolder(JoinPath(windows, L"System32"), windows));
    EXPECT_FALSE(IsUninstallerFolder(ExtractFileDir(windows), windows));
    EXPECT_FALSE(IsUninstallerFolder(L"", windows));
    EXPECT_FALSE(RunsAsUninstaller()) << "the tests do not run from the Windows folder";
}

TEST(UninstallRun, TheNameIsEveryParameterJoinedWithOneBlank) {
    UninstallCommand plain = ParseUninstallCommandLine(L"C:\\Windows\\Morivane.exe Lumera   Deck");
    EXPECT_EQ(plain.appName, L"Lumera Deck");
    EXPECT_FALSE(plain.silent);
    UninstallCommand quiet =
        ParseUninstallCommandLine(L"Morivane.exe \"Jos\u00e9 Tools\" /silent \"/LOG=C:\\my logs\\u.txt\" v2");
    EXPECT_EQ(quiet.appName, L"Jos\u00e9 Tools v2");
    EXPECT_TRUE(quiet.silent);
    EXPECT_EQ(quiet.logFile, L"C:\\my logs\\u.txt");
    EXPECT_TRUE(ParseUninstallCommandLine(L"Morivane.exe").appName.empty());
    EXPECT_TRUE(ParseUninstallCommandLine(nullptr).appName.empty());
}

TEST(UninstallRun, StartMessagesNameTheTitleAndTheProduct) {
    std::wstring title = Widen(SetupTitle);
    EXPECT_NE(NoAppNameMessage().find(L"\u300c" + title + L"\u300d"), std::wstring::npos);
    std::wstring noRecord = NoRecordMessage(L"\uae40 Tools");
    EXPECT_EQ(noRecord.rfind(L"\u300c\uae40 Tools\u300d", 0), 0u);
    EXPECT_NE(noRecord.find(L"\u300c" + title + L"\u300d"), std::wstring::npos);
    EXPECT_NE(DeleteFailedQuestion(L"C:\\a.txt").find(L"\n"), std::wstring::npos);
}

} // namespace
