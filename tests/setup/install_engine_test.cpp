#include "install_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "fake_files_in_use.h"
#include "paths.h"
#include "record_twin.h"
#include "test_support.h"
#include "uninstall_record.h"
#include "uninstall_run.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/registry.h"
#include "win/shortcut.h"

namespace {

const char* const ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const UserShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const AppName = "Lumera Test Deck";
const char* const SystemEntry = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumera Test Deck";

// Answers continue questions from a script (Yes once the script runs out) and keeps
// every bar report in order.
class ScriptedProgress : public InstallProgress {
public:
    void SetBar(InstallBar bar, int position, int max) override {
        if (position > 0)
            advanced.push_back(bar);
        positions[bar] = position;
        maxima[bar] = max;
    }
    bool AskContinue(const std::wstring& text) override {
        questions.push_back(text);
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void Log(const std::wstring& line) override { log.push_back(line); }
    void RestartNeeded(const std::wstring& notice) override { notices.push_back(notice); }

    std::vector<bool> answers;
    std::vector<std::wstring> questions, log, notices;
    std::vector<InstallBar> advanced;
    std::array<int, 4> positions{}, maxima{};
};

void SetWriteTime(const std::wstring& file, WORD year) {
    SYSTEMTIME system = {year, 1, 0, 1, 12, 0, 0, 0};
    FILETIME time;
    SystemTimeToFileTime(&system, &time);
    HANDLE handle =
        CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    SetFileTime(handle, nullptr, nullptr, &time);
    CloseHandle(handle);
}

Text Contents(const std::wstring& file) {
    return ReadFileBytes(file).value_or("(missing)");
}

// A setup folder with its data file and files, a user profile beyond CP932 holding the
// start menu, desktop and Send To folders, and a Windows folder of the test's own.
class InstallEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clean();
        RemoveFolderTree(Widen(scratch.path()));
        setupFolder = scratch.file("Disc");
        ForceDirectories(setupFolder);
        const std::wstring root = Widen(scratch.path());
        profile = JoinPath(root, std::wstring(L"Users\\\uae40\ubbfc\uc900"));
        programs = profile + L"\\Start Menu\\Programs";
        Point("Programs", programs);
        Point("Desktop", profile + L"\\Desktop");
        Point("SendTo", profile + L"\\SendTo");
        folders = {root + L"\\Windows", profile + L"\\Desktop", profile + L"\\SendTo"};
        ForceDirectories(folders.windows + L"\\Favorites");
        choices.paths = {profile + L"\\Apps\\Lumera \u00e9", L"Lumera \uadf8\ub8f9"};
        choices.startMenu = choices.desktop = choices.sendTo = true;
        WriteBytes(setupFolder + "\\Setup.exe", "uninstaller");
        WriteBytes(setupFolder + "\\tool.exe", "tool, new");
        WriteBytes(setupFolder + "\\readme.txt", "readme");
    }
    void TearDown() override {
        Clean();
        RemoveFolderTree(Widen(scratch.path()));
    }
    static void Clean() {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Morivane\\BrisaSetup\\Lumera Test Deck");
        DeleteKeyIfEmpty(HKEY_CURRENT_USER, L"Software\\Morivane\\BrisaSetup");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, Widen(Text(SystemEntry).substr(1)).c_str());
    }

    void Point(const Text& name, const std::wstring& folder) {
        for (const char* key : {ShellFoldersKey, UserShellFoldersKey}) {
            overrides.push_back(std::make_unique<ValueOverride>(HKEY_CURRENT_USER, key, name));
            overrides.back()->Set(folder);
        }
    }

    void WriteData(const Text& text) { WriteBytes(setupFolder + "\\Setup.dat", text); }
    SetupData Data() const { return SetupData(Widen(setupFolder)); }
    std::wstring Installed(const wchar_t* name) const { return choices.paths.installFolder + L"\\" + name; }

    ScratchFolder scratch{"engine"};
    ScratchKey key{"engine"};
    Text setupFolder;
    std::vector<std::unique_ptr<ValueOverride>> overrides;
    std::wstring profile, programs;
    InstallFolders folders;
    InstallChoices choices;
    ScriptedProgress progress;
};

const Text FullData =
    "[Infomation]\r\nAppName=Lumera Test Deck\r\n"
    "[Install]\r\n"
    "Dir1=<Setup>\r\nDir2=<Setup>\\Data\r\n"
    "File1=<Setup>\\tool.exe\r\nFile2=<Setup>\\Data\\readme.txt\r\n"
    "StartMenu1=<Default>\\ツール|<Setup>\\tool.exe|<Setup>\\Data|3|<Setup>\\tool.exe|2\r\n"
    "StartMenu2=<Default>\\Four|<Setup>\\tool.exe|<Setup>|0|<Setup>\\tool.exe\r\n"
    "DeskTop1=Tool|<Setup>\\tool.exe|<Setup>|0|<Setup>\\tool.exe|x\r\n"
    "SendTo1=Tool.LNK|<Setup>\\tool.exe||0||0\r\n"
    "RegWrite1=HKEY_CURRENT_USER\\Software\\Morivane\\LumeraTests\\engine\\Name=<String>ソ表\r\n"
    "RegWrite2=HKEY_CURRENT_USER\\Software\\Morivane\\LumeraTests\\engine\\Old=<String>x\r\n"
    "RegDelete1=<Value>HKEY_CURRENT_USER\\Software\\Morivane\\LumeraTests\\engine\\Old\r\n"
    "[UnInstall]\r\nVisible=1\r\n"
    "File1=<Setup>\\tool.exe\r\nFile2=<Setup>\\Data\\readme.txt\r\n"
    "Dir1=<Setup>\\Data\r\nDir2=<Setup>\r\n"
    "StartMenu1=<Default>\\ツール|ignored\r\n"
    "DeskTop1=Tool\r\nSendTo1=Tool.LNK\r\n"
    "RegDelete1=<Key>HKEY_CURRENT_USER\\Software\\Morivane\\LumeraTests\\engine\r\n";

TEST_F(InstallEngineTest, InstallsEverythingInOrderIntoAProfileBeyondCp932) {
    WriteData(FullData);
    // Installed before with a newer readme (kept) and an older tool (replaced).
    ForceDirectories(Installed(L"Data"));
    ASSERT_TRUE(WriteFileBytes(Installed(L"Data\\readme.txt"), "newer, kept"));
    ASSERT_TRUE(WriteFileBytes(Installed(L"tool.exe"), "tool, old"));
    SetWriteTime(Installed(L"tool.exe"), 2001);
    SetWriteTime(Installed(L"Data\\readme.txt"), 2030);

    EXPECT_EQ(RunInstallation(Data(), choices, folders, progress), InstallResult::Completed);
    EXPECT_TRUE(progress.questions.empty());

    // Every bar filled, and no step of a bar after a later bar's.
    EXPECT_EQ(progress.maxima, (std::array<int, 4>{2, 3, 4, 16}));
    EXPECT_EQ(progress.positions, progress.maxima);
    EXPECT_TRUE(std::is_sorted(progress.advanced.begin(), progress.advanced.end()));

    EXPECT_EQ(Contents(Installed(L"tool.exe")), "tool, new");
    EXPECT_EQ(Contents(Installed(L"Data\\readme.txt")), "newer, kept");
    EXPECT_EQ(Contents(folders.windows + L"\\Morivane.exe"), "uninstaller");
    EXPECT_EQ(Contents(folders.windows + L"\\Favorites\\Morivane Lounge.url")
                  .rfind("[InternetShortcut]\r\nURL=", 0),
              0u);

    const std::wstring group = programs + L"\\Lumera \uadf8\ub8f9";
    EXPECT_EQ(GetShortcutTarget(group + L"\\\u30c4\u30fc\u30eb.lnk"), GetShortPath(Installed(L"tool.exe")));
    EXPECT_FALSE(FileExists(group + L"\\Four.lnk")) << "four \"|\" make no shortcut";
    EXPECT_EQ(GetShortcutTarget(folders.desktop + L"\\Tool.lnk"), GetShortPath(Installed(L"tool.exe")));
    EXPECT_TRUE(FileExists(folders.sendTo + L"\\Tool.LNK"));
    EXPECT_FALSE(FileExists(folders.sendTo + L"\\Tool.LNK.lnk"));

    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key.path(), "Name", Text()), "ソ表");
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key.path(), "Old"));

    const UninstallRecord record = ReadUninstallRecord(Widen(AppName));
    ASSERT_TRUE(record.present());
    EXPECT_EQ(record.setupPath, choices.paths.installFolder);
    EXPECT_EQ(record.startPath, choices.paths.programGroup);
    EXPECT_EQ(record.files,
              (std::vector<std::wstring>{Installed(L"tool.exe"), Installed(L"Data\\readme.txt")}));
    EXPECT_EQ(record.dirs, (std::vector<std::wstring>{Installed(L"Data"), choices.paths.installFolder}));
    EXPECT_EQ(record.startNames, std::vector<std::wstring>{group + L"\\\u30c4\u30fc\u30eb.lnk"});
    EXPECT_EQ(record.deskTopNames, std::vector<std::wstring>{folders.desktop + L"\\Tool.lnk"});
    EXPECT_EQ(record.sendToNames, std::vector<std::wstring>{folders.sendTo + L"\\Tool.LNK"});
    EXPECT_EQ(record.regDeletes,
              std::vector<Text>{"<Key>HKEY_CURRENT_USER\\Software\\Morivane\\LumeraTests\\engine"});
    EXPECT_TRUE(record.regWrites.empty());

    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, SystemEntry, "DisplayName", Text()), AppName);
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, Text(SystemEntry), "UninstallString", std::wstring()),
              folders.windows + L"\\Morivane.exe Lumera Test Deck");
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, Text(SystemEntry), "QuietUninstallString", std::wstring()),
              folders.windows + L"\\Morivane.exe Lumera Test Deck /SILENT");
    // "tool, new" and "newer, kept": two small files, the uninstaller not among them.
    EXPECT_EQ(RegReadInteger(HKEY_LOCAL_MACHINE, SystemEntry, "EstimatedSize", -1), 1);
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, SystemEntry, "DisplayVersion")) << "no key, no row";
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, SystemEntry, "Publisher"));
}

TEST_F(InstallEngineTest, VersionAndPublisherRowsFollowTheDataFile) {
    const Text head = "[Infomation]\r\nAppName=Lumera Test Deck\r\n[UnInstall]\r\nVisible=1\r\n";
    WriteData(head + "DisplayVersion=2.10.0\r\nPublisher=森ヴァネ ソフト\r\n");
    EXPECT_EQ(RunInstallation(Data(), choices, folders, progress), InstallResult::Completed);
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, SystemEntry, "DisplayVersion", Text()), "2.10.0");
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, Text(SystemEntry), "Publisher", std::wstring()),
              L"\u68ee\u30f4\u30a1\u30cd \u30bd\u30d5\u30c8");
    // The rows are extras: the registry bar counts what it counted before.
    EXPECT_EQ(progress.maxima[RegistryBar], 5);

    // A later version without them drops the rows instead of showing the old version.
    WriteData(head + "DisplayVersion=\r\n");
    ScriptedProgress again;
    EXPECT_EQ(RunInstallation(Data(), choices, folders, again), InstallResult::Completed);
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, SystemEntry, "DisplayVersion"));
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, SystemEntry, "Publisher"));
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, SystemEntry, "DisplayName", Text()), AppName);
}

TEST_F(InstallEngineTest, MissingFileAsksAndNoStopsBeforeTheRecord) {
    WriteData(FullData);
    DeleteFileW(Widen(setupFolder + "\\tool.exe").c_str());

    progress.answers = {true}; // Yes: the next file is still copied
    EXPECT_EQ(RunInstallation(Data(), choices, folders, progress), InstallResult::Completed);
    ASSERT_EQ(progress.questions.size(), 1u);
    EXPECT_EQ(progress.questions[0],
              Widen(setupFolder) + L"\\tool.exe\r\nﾌｧｲﾙが見つかりません。ｾｯﾄｱｯﾌﾟを続行しますか？");
    EXPECT_EQ(Contents(Installed(L"Data\\readme.txt")), "readme");
    EXPECT_TRUE(ReadUninstallRecord(Widen(AppName)).present());

    Clean();
    DeleteFileW(Installed(L"Data\\readme.txt").c_str());
    ScriptedProgress refusing;
    refusing.answers = {false};
    EXPECT_EQ(RunInstallation(Data(), choices, folders, refusing), InstallResult::Stopped);
    EXPECT_EQ(refusing.questions.size(), 1u);
    EXPECT_FALSE(FileExists(Installed(L"Data\\readme.txt"))) << "every later step is skipped";
    EXPECT_EQ(refusing.positions[ShortcutBar], 0);
    EXPECT_FALSE(ReadUninstallRecord(Widen(AppName)).present());
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, SystemEntry, "DisplayName"));
    EXPECT_TRUE(DirectoryExists(Installed(L"Data"))) << "what was made stays";
}

TEST_F(InstallEngineTest, SecondFolderChoiceWithoutUninstallerCopiesNothing) {
    WriteData("[Infomation]\r\nAppName=Lumera Test Deck\r\n"
              "[Install]\r\nDir1=<Setup>\\Made\r\nDir2=\r\nDir3=<Setup>\\AfterGap\r\n"
              "File1=<Setup>\\tool.exe\r\n"
              "DeskTop1=Tool|<Setup>\\tool.exe|<Setup>|0|<Setup>\\tool.exe|0\r\n"
              "[UnInstall]\r\nVisible=0\r\nDir1=<Setup>\\Made\r\n");
    choices.intoSetupFolder = true;
    choices.startMenu = choices.sendTo = false;

    EXPECT_EQ(RunInstallation(Data(), choices, folders, progress), InstallResult::Completed);
    EXPECT_EQ(progress.maxima, (std::array<int, 4>{1, 0, 1, 1}));
    EXPECT_TRUE(DirectoryExists(Widen(setupFolder + "\\Made")));
    EXPECT_FALSE(DirectoryExists(Widen(setupFolder + "\\AfterGap")));
    EXPECT_FALSE(DirectoryExists(choices.paths.installFolder));
    EXPECT_EQ(GetShortcutTarget(folders.desktop + L"\\Tool.lnk"),
              GetShortPath(Widen(setupFolder + "\\tool.exe")));
    EXPECT_FALSE(FileExists(folders.windows + L"\\Morivane.exe"));
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, SystemEntry, "DisplayName"));

    const UninstallRecord record = ReadUninstallRecord(Widen(AppName));
    ASSERT_TRUE(record.present());
    EXPECT_TRUE(record.setupPath.empty());
    EXPECT_TRUE(record.startPath.empty());
    EXPECT_TRUE(record.dirs.empty());
}

TEST_F(InstallEngineTest, NoAppNameIsRefusedBeforeAnyStep) {
    // Without a name nothing could be recorded, so nothing could be uninstalled; and the
    // entry's key would be the one holding every product's entry.
    WriteData(
        "[Install]\r\nDir1=<Setup>\\Made\r\nRegWrite1=HKEY_CURRENT_USER\\Software\\Morivane\\LumeraTests"
        "\\engine\\Name=<String>x\r\n[UnInstall]\r\nVisible=1\r\n");
    const Text uninstallKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    EXPECT_EQ(RunInstallation(Data(), choices, folders, progress), InstallResult::Refused);
    EXPECT_FALSE(DirectoryExists(Widen(setupFolder + "\\Made")));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key.path(), "Name"));
    EXPECT_FALSE(FileExists(folders.windows + L"\\Morivane.exe"));
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName"));
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString"));
}

// Undoes an installation as a silent uninstall would, answering Yes.
struct YesUninstall : UninstallProgress {
    void SetBarMaximum(UninstallBar, int) override {}
    void StepBar(UninstallBar) override {}
    bool ConfirmUninstall(const std::wstring&) override { return true; }
    bool AskContinue(const std::wstring&) override { return true; }
    void RestartNeeded(const std::wstring&) override {}
};

TEST_F(InstallEngineTest, AReinstallsRecordHoldsExactlyWhatItWrote) {
    WriteData(FullData);
    ASSERT_EQ(RunInstallation(Data(), choices, folders, progress), InstallResult::Completed);
    const std::wstring app = Widen(AppName);
    // Left by a version before: a list entry past the new lists' ends, and the user's setting.
    ASSERT_TRUE(
        WriteRecordValue(app, L"RegDelete2", std::wstring(L"<Key>HKEY_CURRENT_USER\\Software\\Shared")));
    ASSERT_TRUE(
        RegWriteInteger(HKEY_CURRENT_USER, Narrow(UninstallRecordKey(app)) + "\\OtherSet", "EscToClose", 0));

    // The newer data file drops its delete entry and its Start menu shortcut.
    Text newer = FullData;
    for (const Text& line :
         {Text("RegDelete1=<Key>HKEY_CURRENT_USER\\Software\\Morivane\\LumeraTests\\engine\r\n"),
          Text("StartMenu1=<Default>\\ツール|ignored\r\n")})
        newer.erase(newer.rfind(line), line.size());
    WriteData(newer);
    ScriptedProgress again;
    ASSERT_EQ(RunInstallation(Data(), choices, folders, again), InstallResult::Completed);
    const UninstallRecord record = ReadUninstallRecord(app);
    EXPECT_TRUE(record.regDeletes.empty());
    EXPECT_TRUE(record.startNames.empty());
    EXPECT_EQ(record.files.size(), 2u);
    EXPECT_EQ(RecordEscToClose(app), 0) << "the user's setting is not part of the list";
    EXPECT_EQ(CheckRecordTwin(app), TwinCheck::Matches);
}

TEST_F(InstallEngineTest, UninstallRemovesOnlyTheFilesThisProductPutThere) {
    // Beside the product's own files: a user's newer readme in the target folder, another
    // product's newer shared file in the Windows folder, and a shared file only this one uses.
    const std::wstring readme = Installed(L"Data\\readme.txt");
    const std::wstring otherDll = folders.windows + L"\\other.dll", ownDll = folders.windows + L"\\own.dll";
    WriteBytes(setupFolder + "\\other.dll", "ours, older");
    WriteBytes(setupFolder + "\\own.dll", "ours");
    ForceDirectories(Installed(L"Data"));
    ASSERT_TRUE(WriteFileBytes(readme, "the user's own"));
    ASSERT_TRUE(WriteFileBytes(otherDll, "another product's, newer"));
    SetWriteTime(readme, 2030);
    SetWriteTime(otherDll, 2030);
    const Text shared = "LumeraSharedKeyTest";
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, shared, "Keep", Text("1")));
    Text data = FullData + "File3=" + Narrow(otherDll) + "\r\nFile4=" + Narrow(ownDll) +
                "\r\nFile5=<Setup>\\made.ini\r\n";
    data.insert(data.find("[UnInstall]"), "File3=" + Narrow(otherDll) + "\r\nFile4=" + Narrow(ownDll) +
                                              "\r\nRegDelete2=<Key>HKEY_CURRENT_USER\\" + shared + "\\\r\n");
    WriteData(data);

    // Installed twice: the second run skips every file the first one copied.
    ASSERT_EQ(RunInstallation(Data(), choices, folders, progress), InstallResult::Completed);
    ScriptedProgress again;
    ASSERT_EQ(RunInstallation(Data(), choices, folders, again), InstallResult::Completed);
    EXPECT_NE(std::find_if(again.log.begin(), again.log.end(),
                           [](const std::wstring& line) { return line.rfind(L"Refused: ", 0) == 0; }),
              again.log.end())
        << "a key directly below a root is refused with a line in the log";
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, shared, "Keep"));
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(shared).c_str());
    EXPECT_EQ(SharedUseCount(otherDll), 2u) << "its first user, and this product once";
    EXPECT_EQ(SharedUseCount(ownDll), 1u);
    ASSERT_TRUE(WriteFileBytes(Installed(L"made.ini"), "made by the product as it ran"));

    YesUninstall uninstall;
    ASSERT_EQ(RunUninstall(Widen(AppName), uninstall), UninstallOutcome::Completed);
    EXPECT_FALSE(FileExists(Installed(L"tool.exe"))) << "skipped by the reinstall, put there by the first";
    EXPECT_FALSE(FileExists(Installed(L"made.ini")));
    EXPECT_EQ(Contents(readme), "the user's own");
    EXPECT_EQ(Contents(otherDll), "another product's, newer");
    EXPECT_EQ(SharedUseCount(otherDll), 1u);
    EXPECT_FALSE(FileExists(ownDll)) << "its last user is gone";
    EXPECT_EQ(SharedUseCount(ownDll), 0u);
    unsigned long left = 0;
    ReleaseSharedUse(otherDll, left);
}

TEST_F(InstallEngineTest, CopyIfNewerResults) {
    const std::wstring source = Widen(setupFolder + "\\tool.exe");
    const std::wstring target = profile + L"\\Deep\\\u00e9\\tool.exe";
    EXPECT_EQ(CopyIfNewer(source + L"x", target), CopyResult::SourceMissing);
    EXPECT_FALSE(DirectoryExists(ExtractFileDir(target)));
    EXPECT_EQ(CopyIfNewer(source, target), CopyResult::Copied);
    EXPECT_EQ(CopyIfNewer(source, target), CopyResult::Skipped) << "same time stamp";
    SetWriteTime(source, 2040);
    EXPECT_EQ(CopyIfNewer(source, target), CopyResult::Copied);
    // A folder where the file should go cannot be overwritten.
    ForceDirectories(profile + L"\\Blocked\\tool.exe");
    EXPECT_EQ(CopyIfNewer(source, profile + L"\\Blocked\\tool.exe"), CopyResult::Failed);
}

// A package unpacked from a download carries the zone mark on every file; installed copies
// must not. Wine keeps "name:stream" as a file of that name and CopyFileW leaves it behind,
// so the mark a Windows copy would carry over is put on the destination here.
TEST_F(InstallEngineTest, CopiesLeaveTheDownloadMarkBehind) {
    const std::wstring source = Widen(setupFolder + "\\tool.exe");
    const std::wstring target = profile + L"\\Marked\\tool.exe";
    const Text mark = "[ZoneTransfer]\r\nZoneId=3\r\n";
    ASSERT_TRUE(WriteFileBytes(source + L":Zone.Identifier", mark));
    ForceDirectories(ExtractFileDir(target));
    ASSERT_TRUE(WriteFileBytes(target + L":Zone.Identifier", mark));

    EXPECT_EQ(CopyIfNewer(source, target), CopyResult::Copied);
    EXPECT_FALSE(FileExists(target + L":Zone.Identifier"));
    EXPECT_TRUE(FileExists(source + L":Zone.Identifier")) << "the package stays as it came";
}

} // namespace

namespace {

bool AppearsWithin(const std::wstring& file, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 100) {
        if (FileExists(file))
            return true;
        Sleep(100);
    }
    return FileExists(file);
}

TEST_F(InstallEngineTest, RunProgramsStartTickedBoxesWithTheTextAfterAQuoteAsParameters) {
    // A program in a folder whose name has a blank, quoted, followed by its parameter.
    const Text folder = setupFolder + "\\with blank";
    ForceDirectories(folder);
    WriteBytes(folder + "\\mark.bat", "@echo off\r\necho marked>\"%~dp0%1.txt\"\r\n");
    WriteData("[Run]\r\nProgram1=\"" + folder + "\\mark.bat\" first\r\n" + "Program2=\"" + folder +
              "\\mark.bat\" second\r\nProgram3=<Setup>\\with blank\\mark.bat third\r\n");
    choices.paths.installFolder = Widen(setupFolder);

    StartRunPrograms(Data(), choices.paths, {true, false, true});
    EXPECT_TRUE(AppearsWithin(Widen(folder + "\\first.txt"), 10000));
    EXPECT_TRUE(AppearsWithin(Widen(folder + "\\third.txt"), 10000));
    EXPECT_FALSE(FileExists(Widen(folder + "\\second.txt"))) << "its box is not ticked";
}

TEST_F(InstallEngineTest, FavouritesLinkNeedsItsFolder) {
    const std::wstring windows = profile + L"\\Win";
    ForceDirectories(windows);
    EXPECT_FALSE(WriteFavouritesLink(windows));
    EXPECT_FALSE(DirectoryExists(windows + L"\\Favorites")) << "the folder is not made";
    ForceDirectories(windows + L"\\Favorites");
    ASSERT_TRUE(WriteFavouritesLink(windows));
    EXPECT_EQ(Contents(windows + L"\\Favorites\\Morivane Lounge.url"),
              "[InternetShortcut]\r\nURL=http://www.morivane.example/\r\n");
}

TEST_F(InstallEngineTest, ProposalsFollowTheDataFileThenTheRecord) {
    const Text target = setupFolder + "\\Target";
    WriteData("[Infomation]\r\nAppName=Lumera Test Deck\r\n[Install]\r\nPath=" + target +
              "\r\nStartMenu1=<Startup>\\Tray|x|x|0|x|0\r\nStartMenu2=<Default>\\Tool|x|x|0|x|0\r\n"
              "SendTo1=Tool|x|x|0|x|0\r\nDeskTop2=Gap|x|x|0|x|0\r\n");
    InstallProposal proposal = ProposeInstallation(Data());
    EXPECT_EQ(proposal.choices.paths.installFolder, Widen(target));
    EXPECT_TRUE(proposal.folderChoiceAvailable);
    EXPECT_FALSE(proposal.choices.intoSetupFolder);
    EXPECT_TRUE(proposal.groupNeeded);
    EXPECT_EQ(proposal.choices.paths.programGroup, L"Lumera Test Deck") << "the AppName without a StartPath";
    EXPECT_TRUE(proposal.choices.startMenu);
    EXPECT_FALSE(proposal.choices.desktop) << "only a second entry";
    EXPECT_TRUE(proposal.choices.sendTo);

    // An earlier installation's record wins, names beyond CP932 included.
    const std::wstring app = Widen(AppName);
    WriteRecordValue(app, L"SetupPath", Widen(setupFolder));
    WriteRecordValue(app, L"StartPath", std::wstring(L"\uadf8\ub8f9"));
    proposal = ProposeInstallation(Data());
    EXPECT_EQ(proposal.choices.paths.installFolder, Widen(setupFolder));
    EXPECT_TRUE(proposal.choices.intoSetupFolder) << "the setup program's own folder";
    EXPECT_EQ(proposal.choices.paths.programGroup, L"\uadf8\ub8f9");
}

TEST_F(InstallEngineTest, ProposalWithoutFolderOrGroup) {
    WriteData("[Infomation]\r\nAppName=Lumera Test Deck\r\n[Install]\r\nStartPath=Unused\r\n"
              "StartMenu1=<Program>\\Tool|x|x|0|x|0\r\nStartMenu2=<Startup>\\Tray|x|x|0|x|0\r\n");
    const InstallProposal proposal = ProposeInstallation(Data());
    EXPECT_FALSE(proposal.folderChoiceAvailable);
    EXPECT_TRUE(proposal.choices.intoSetupFolder);
    EXPECT_FALSE(proposal.groupNeeded);
    EXPECT_TRUE(proposal.choices.paths.programGroup.empty());
    EXPECT_TRUE(proposal.choices.startMenu);
}

TEST_F(InstallEngineTest, SilentRunStopsAtTheFirstQuestionAndLogsInUtf8) {
    WriteData(FullData);
    DeleteFileW(Widen(setupFolder + "\\readme.txt").c_str());
    const std::wstring logFile = profile + L"\\install \uae40.log";
    ForceDirectories(profile);
    ASSERT_TRUE(WriteFileBytes(logFile, "from an earlier run\r\n"));
    {
        InstallLog log(logFile);
        ASSERT_TRUE(log.IsOpen());
        SilentProgress silent(log);
        EXPECT_EQ(RunInstallation(Data(), choices, folders, silent), InstallResult::Stopped);
    }
    EXPECT_FALSE(ReadUninstallRecord(Widen(AppName)).present());

    const Text bytes = Contents(logFile);
    EXPECT_EQ(bytes.find("earlier"), Text::npos) << "the log is made afresh";
    // UTF-8 of the profile's name, and the question on one line of its own at the end.
    EXPECT_NE(bytes.find("\xEA\xB9\x80\xEB\xAF\xBC\xEC\xA4\x80"), Text::npos);
    EXPECT_NE(bytes.find("Copied: "), Text::npos);
    std::vector<Text> lines;
    for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != Text::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.back(), "Stopped.");
    EXPECT_EQ(lines[lines.size() - 2].rfind("Answered No: ", 0), 0u);
    EXPECT_EQ(lines[lines.size() - 2].find('\n'), Text::npos) << "the question's line break is a blank";
    EXPECT_FALSE(InstallLog(L"").IsOpen());
}

} // namespace

namespace {

// An update while a program holds the installed tool: it is asked to close and started
// again, without a question; a file it still holds goes in at the next restart, and the
// record claims the file the restart leaves there.
TEST_F(InstallEngineTest, AnUpdateClosesWhatHoldsItsFilesAndLeavesWhatStaysHeldToTheRestart) {
    struct Case {
        const char* what;
        bool held, closes, movesAllowed;
        bool replacedNow, atRestart;
    };
    const Case cases[] = {
        {"nothing holds it", false, false, true, true, false},
        {"its program closes when asked", true, true, true, true, false},
        {"its program will not close", true, false, true, false, true},
        {"not even a move at the restart can be arranged", true, false, false, false, false},
    };
    WriteData(FullData);
    const std::wstring tool = Installed(L"tool.exe"), source = Widen(setupFolder + "\\tool.exe");
    FakeFilesInUse first;
    ASSERT_EQ(RunInstallation(Data(), choices, folders, progress, first), InstallResult::Completed);
    EXPECT_TRUE(first.registered.empty()) << "a first install overwrites nothing";
    WORD year = 2030;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Text newer = "tool, " + std::to_string(year);
        ASSERT_TRUE(WriteBytes(setupFolder + "\\tool.exe", newer));
        SetWriteTime(source, year++);
        const Text before = Contents(tool);
        PendingRenames pending;
        auto inUse = std::make_unique<FakeFilesInUse>();
        inUse->movesAllowed = c.movesAllowed;
        if (c.held) {
            ASSERT_TRUE(inUse->Hold(L"Lumera", tool, c.closes));
        }
        ScriptedProgress update;

        EXPECT_EQ(RunInstallation(Data(), choices, folders, update, *inUse), InstallResult::Completed);
        // Only the file the update overwrites; the readme and the uninstaller are as new.
        EXPECT_EQ(inUse->registered, std::vector<std::wstring>{tool});
        EXPECT_EQ(inUse->closeAsked, c.held ? 1 : 0);
        EXPECT_EQ(inUse->restartAsked, c.held ? 1 : 0);
        inUse.reset(); // the program ends
        EXPECT_EQ(update.questions.size(), c.held && !c.closes && !c.movesAllowed ? 1u : 0u);
        EXPECT_EQ(Contents(tool), c.replacedNow ? newer : before);
        const auto moves = pending.Added();
        if (c.atRestart) {
            ASSERT_EQ(moves.size(), 1u);
            const std::wstring beside = tool + L".new";
            EXPECT_EQ(moves[0], PendingRenames::Move(L"\\??\\" + beside, L"!\\??\\" + tool));
            EXPECT_EQ(Contents(beside), newer);
            ASSERT_EQ(update.notices.size(), 1u);
            EXPECT_NE(update.notices[0].find(tool), std::wstring::npos);
            EXPECT_NE(
                std::find(update.log.begin(), update.log.end(), L"Replaced at restart, in use: " + tool),
                update.log.end());
            DeleteFileW(beside.c_str());
        } else {
            EXPECT_TRUE(moves.empty());
            EXPECT_TRUE(update.notices.empty());
            EXPECT_FALSE(FileExists(tool + L".new")) << "nothing left beside it";
        }
        // Claimed as the file that is there once the update is complete.
        WIN32_FILE_ATTRIBUTE_DATA facts;
        ASSERT_TRUE(GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &facts));
        const FileOwnership claim = ReadFileClaims(Widen(AppName), 2)[0];
        if (c.replacedNow || c.atRestart) {
            EXPECT_EQ(claim.claim, FileClaim::Copied);
            EXPECT_EQ(claim.size, newer.size());
            EXPECT_EQ(claim.writeTime,
                      (static_cast<unsigned long long>(facts.ftLastWriteTime.dwHighDateTime) << 32) |
                          facts.ftLastWriteTime.dwLowDateTime);
        }
        EXPECT_EQ(CheckRecordTwin(Widen(AppName)), TwinCheck::Matches);
    }
}

} // namespace

namespace {

// An update left the new tool beside the held one for the restart, and the uninstall runs
// before that restart: the tool standing there is the version the update replaced, so it
// goes with the waiting copy, and nothing is left for the restart to put back. A waiting
// copy that no longer matches the claim is nobody's to remove.
TEST_F(InstallEngineTest, AnUninstallBeforeTheRestartTakesThePendingReplacementWithTheFileItReplaces) {
    struct Case {
        const char* what;
        bool heldAtUninstall, besideChanged;
    };
    const Case cases[] = {
        {"the program ended since", false, false},
        {"the program still holds it", true, false},
        {"the waiting copy was changed since", false, true},
    };
    WriteData(FullData);
    const std::wstring tool = Installed(L"tool.exe"), beside = tool + L".new";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteBytes(setupFolder + "\\tool.exe", "tool, first"));
        SetWriteTime(Widen(setupFolder + "\\tool.exe"), 2020);
        FakeFilesInUse none;
        ASSERT_EQ(RunInstallation(Data(), choices, folders, progress, none), InstallResult::Completed);
        ASSERT_TRUE(WriteBytes(setupFolder + "\\tool.exe", "tool, update"));
        SetWriteTime(Widen(setupFolder + "\\tool.exe"), 2021);
        PendingRenames pending;
        {
            FakeFilesInUse running;
            ASSERT_TRUE(running.Hold(L"Lumera", tool, false));
            ScriptedProgress update;
            ASSERT_EQ(RunInstallation(Data(), choices, folders, update, running), InstallResult::Completed);
        }
        ASSERT_EQ(Contents(beside), "tool, update");
        if (c.besideChanged) {
            ASSERT_TRUE(WriteFileBytes(beside, "another program's"));
            SetWriteTime(beside, 2021);
        }
        const size_t updateMoves = pending.Added().size();
        auto inUse = std::make_unique<FakeFilesInUse>();
        if (c.heldAtUninstall) {
            ASSERT_TRUE(inUse->Hold(L"Lumera", tool, false));
        }
        YesUninstall uninstall;

        EXPECT_EQ(RunUninstall(Widen(AppName), uninstall, *inUse), UninstallOutcome::Completed);
        const std::vector<std::wstring> registered = inUse->registered;
        inUse.reset(); // the program ends
        const auto moves = pending.Added();
        ASSERT_GE(moves.size(), updateMoves);
        const std::vector<PendingRenames::Move> added(moves.begin() + updateMoves, moves.end());
        if (c.besideChanged) {
            EXPECT_EQ(Contents(tool), "tool, first") << "another file stands there since the install";
            EXPECT_EQ(Contents(beside), "another program's");
            EXPECT_TRUE(added.empty());
        } else {
            EXPECT_FALSE(FileExists(beside)) << "the restart has nothing to move";
            EXPECT_EQ(FileExists(tool), c.heldAtUninstall);
            if (c.heldAtUninstall) {
                // Then the folders its removal empties, up to the first one that holds more.
                const std::wstring folder = choices.paths.installFolder;
                EXPECT_EQ(added, (std::vector<PendingRenames::Move>{
                                     {L"\\??\\" + tool, L""},
                                     {L"\\??\\" + folder, L""},
                                     {L"\\??\\" + ExtractFileDir(folder), L""},
                                 }));
                EXPECT_NE(std::find(registered.begin(), registered.end(), tool), registered.end())
                    << "its program was asked to close";
            } else {
                EXPECT_TRUE(added.empty());
                EXPECT_FALSE(DirectoryExists(choices.paths.installFolder));
            }
        }
        EXPECT_FALSE(ReadUninstallRecord(Widen(AppName)).present());
        DeleteFileW(tool.c_str());
        DeleteFileW(beside.c_str());
    }
}

// What the system does at the restart: each noted move in turn, skipped when its file is gone.
void Restart(const std::vector<PendingRenames::Move>& moves) {
    const auto bare = [](std::wstring path) {
        if (!path.empty() && path[0] == L'!')
            path.erase(0, 1);
        return path.rfind(L"\\??\\", 0) == 0 ? path.substr(4) : path;
    };
    for (const PendingRenames::Move& move : moves) {
        const std::wstring from = bare(move.first), to = bare(move.second);
        if (!FileExists(from))
            continue;
        if (to.empty())
            DeleteFileW(from.c_str());
        else
            MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

// An update leaves the tool waiting beside the held one; a second update comes before the
// restart, then maybe an uninstall. The restart must leave what the last step meant: the
// second update's tool, or nothing; never the first update's copy moving in after all.
TEST_F(InstallEngineTest, ASecondStepBeforeTheRestartOutranksTheCopyTheFirstUpdateLeftWaiting) {
    struct Case {
        const char* what;
        bool heldAgain, uninstall;
        bool older = false; // the second run installs the first package again: a skip
    };
    const Case cases[] = {
        {"the second update replaces it directly", false, false},
        {"the second update finds it held again", true, false},
        {"an uninstall follows the direct replacement", false, true},
        {"an uninstall follows the second waiting copy", true, true},
        {"the first package again leaves the update waiting", false, false, true},
        {"an uninstall follows the first package again", false, true, true},
    };
    WriteData(FullData);
    const std::wstring tool = Installed(L"tool.exe"), source = Widen(setupFolder + "\\tool.exe");
    const auto update = [&](const Text& text, WORD year, bool held) {
        ASSERT_TRUE(WriteBytes(setupFolder + "\\tool.exe", text));
        SetWriteTime(source, year);
        FakeFilesInUse inUse;
        if (held) {
            ASSERT_TRUE(inUse.Hold(L"Lumera", tool, false));
        }
        ScriptedProgress run;
        ASSERT_EQ(RunInstallation(Data(), choices, folders, run, inUse), InstallResult::Completed);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PendingRenames pending;
        update("tool, first", 2020, false);
        update("tool, update", 2021, true);
        ASSERT_EQ(Contents(tool + L".new"), "tool, update");
        if (c.older)
            update("tool, first", 2020, c.heldAgain);
        else
            update("tool, second update", 2022, c.heldAgain);
        const FileOwnership claim = ReadFileClaims(Widen(AppName), 2)[0];
        EXPECT_EQ(claim.beside, c.heldAgain || c.older ? L"tool.exe.new" : L"")
            << "one waiting copy, by the first name";
        if (c.uninstall) {
            YesUninstall yes;
            FakeFilesInUse none;
            EXPECT_EQ(RunUninstall(Widen(AppName), yes, none), UninstallOutcome::Completed);
        }

        Restart(pending.Added());
        EXPECT_EQ(Contents(tool), c.uninstall ? "(missing)"
                                  : c.older   ? "tool, update"
                                              : "tool, second update");
        for (const wchar_t* left : {L".new", L".new2"})
            EXPECT_FALSE(FileExists(tool + left)) << "left beside it: " << Narrow(left);
        DeleteFileW(tool.c_str());
    }
}

// The claim names the waiting copy by a name in the file's own folder, never by a path.
TEST(FileClaimText, ACopyWaitingBesideReadsBackOnlyByANameInTheSameFolder) {
    const struct {
        const wchar_t* text;
        FileClaim claim;
        const wchar_t* beside;
    } cases[] = {
        {L"copied 5 7", FileClaim::Copied, L""},
        {L"copied 5 7 beside tool.exe.new2", FileClaim::Copied, L"tool.exe.new2"},
        {L"copied 5 7 beside a b.exe.new", FileClaim::Copied, L"a b.exe.new"},
        {L"copied 5 7 beside ..\\tool.exe", FileClaim::None, L""},
        {L"copied 5 7 beside C:tool.exe", FileClaim::None, L""},
        {L"copied 5 7 beside ", FileClaim::None, L""},
        {L"copied 5 7 x", FileClaim::None, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        const FileOwnership ownership = ParseOwnership(c.text);
        EXPECT_EQ(ownership.claim, c.claim);
        EXPECT_EQ(ownership.beside, c.beside);
        if (c.claim != FileClaim::None) {
            EXPECT_EQ(FormatOwnership(ownership), c.text);
        }
    }
}

} // namespace
