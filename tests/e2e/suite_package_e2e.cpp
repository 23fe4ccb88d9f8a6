// The suite's own package from outside: copied from the staging folder to a "disc",
// installed with "Setup.exe /SILENT", looked at (programs, shortcuts, record, uninstall
// entry), then uninstalled with "Morivane.exe Lumera Deck /SILENT". Everything the
// installation touches is snapshotted first and must be as it was afterwards. An update
// and an uninstall run over the installed tray program and a file held as Windows holds a
// running program's.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "lumera_support.h"
#include "robot.h"
#include "publisher.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/handles.h"
#include "win/profile_file.h"
#include "win/shortcut.h"

namespace {

const Text AppName = "Lumera Deck";
const Text RecordKey = "Software\\Morivane\\BrisaSetup\\" + AppName;
const Text SettingsKey = "Software\\Morivane\\Lumera";
const wchar_t* const SavedSettingsKey = L"Software\\LumeraTestsSaved\\suite_package_e2e";
const Text UninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const Text Disc = "C:\\suite-package-e2e";

// The staging folder the build names, as Wine's Z: drive sees it.
Text PackageFolder() {
    Text path = "Z:" LUMERA_PACKAGE_DIR;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

Text InstallFolder() {
    return GetSetupPath("ProgramFilesDir") + "\\" + AppName;
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

// Every file and folder below a folder, with each file's size; "(none)" for a missing folder.
using Listing = std::map<std::wstring, long long>;
void ListInto(const std::wstring& folder, const std::wstring& prefix, Listing& listing) {
    for (const std::wstring& name : NamesIn(folder)) {
        const std::wstring path = folder + L"\\" + name;
        WIN32_FILE_ATTRIBUTE_DATA facts;
        if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &facts))
            continue;
        if (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            listing[prefix + name + L"\\"] = -1;
            ListInto(path, prefix + name + L"\\", listing);
        } else {
            listing[prefix + name] = (static_cast<long long>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
        }
    }
}
Listing ListTree(const std::wstring& folder) {
    Listing listing;
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        listing[L"(none)"] = 0;
    else
        ListInto(folder, L"", listing);
    return listing;
}

// Every key and value below a key, the values with their type and bytes.
using RegistryDump = std::map<std::wstring, std::string>;
void DumpInto(HKEY key, const std::wstring& path, RegistryDump& dump) {
    dump[path + L"\\"] = "";
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        BYTE data[65536];
        DWORD dataLength = sizeof data, type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
            break;
        dump[path + L"\\@" + name] =
            std::to_string(type) + ":" + std::string(reinterpret_cast<const char*>(data), dataLength);
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY child;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
            DumpInto(child, path + L"\\" + name, dump);
            RegCloseKey(child);
        }
    }
}
RegistryDump DumpKey(HKEY root, const Text& path) {
    RegistryDump dump;
    HKEY key;
    if (RegOpenKeyExW(root, Widen(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return dump;
    DumpInto(key, L"", dump);
    RegCloseKey(key);
    return dump;
}

// What an installation of the suite touches.
struct PrefixState {
    Listing installFolder, programs, desktop, sendTo, startup, favourites;
    RegistryDump morivane, uninstallEntries, infType, kickonType;
    std::optional<std::string> uninstaller;

    static PrefixState Now() {
        return {ListTree(Widen(InstallFolder())),
                ListTree(GetShellFolderWide("Programs")),
                ListTree(GetShellFolderWide("Desktop")),
                ListTree(GetShellFolderWide("SendTo")),
                ListTree(GetShellFolderWide("Startup")),
                ListTree(Widen(WindowsFolder() + "\\Favorites")),
                DumpKey(HKEY_CURRENT_USER, "Software\\Morivane"),
                DumpKey(HKEY_LOCAL_MACHINE, UninstallKey),
                DumpKey(HKEY_CURRENT_USER, "Software\\Classes\\.inf"),
                DumpKey(HKEY_CURRENT_USER, "Software\\Classes\\Lumera(Kickon)"),
                robot::ReadFileBytes(WindowsFolder() + "\\Morivane.exe")};
    }
};

template <typename Map> std::string Differences(const Map& before, const Map& after) {
    std::string text;
    for (const auto& [name, value] : before)
        if (!after.count(name) || after.at(name) != value)
            text += " changed or gone: " + Narrow(name) + ";";
    for (const auto& [name, value] : after)
        if (!before.count(name))
            text += " new: " + Narrow(name) + ";";
    return text;
}

std::wstring Canonical(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 2];
    DWORD length = GetLongPathNameW(path.c_str(), buffer, MAX_PATH * 2);
    std::wstring result = length > 0 && length < MAX_PATH * 2 ? std::wstring(buffer, length) : path;
    std::transform(result.begin(), result.end(), result.begin(), [](wchar_t c) { return std::towlower(c); });
    return result;
}

int RunningCopies(const wchar_t* exeName) {
    int count = 0;
    for (const robot::RunningProcess& process : robot::RunningProcesses())
        count += lstrcmpiW(process.exeName.c_str(), exeName) == 0;
    return count;
}

std::optional<std::wstring> ReadWide(HKEY root, const std::wstring& key, const std::wstring& name) {
    wchar_t value[2048];
    DWORD size = sizeof value;
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

std::vector<std::wstring> RecordList(const Text& stem) {
    std::vector<std::wstring> values;
    for (int n = 1;; ++n) {
        auto value = ReadWide(HKEY_CURRENT_USER, Widen(RecordKey), Widen(stem + std::to_string(n)));
        if (!value || value->empty())
            return values;
        values.push_back(*value);
    }
}

// The desktop the test gives the installer: a folder of its own (the prefix's desktop is
// the Unix home) whose name goes beyond CP932.
const Text DeskRoot = "C:\\suite-package-e2e-desk";
const std::wstring Desktop = L"C:\\suite-package-e2e-desk\\Desk caf\u00e9";

class SuitePackageE2e : public ::testing::Test {
protected:
    void SetUp() override {
        uninstallerWasThere_ = robot::FileExists(WindowsFolder() + "\\Morivane.exe");
        // Settings earlier tests left would be removed by the uninstaller; they are kept aside.
        RegDeleteTreeW(HKEY_CURRENT_USER, SavedSettingsKey);
        HKEY saved;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, SavedSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &saved, nullptr) == ERROR_SUCCESS) {
            hadSettings_ =
                RegCopyTreeW(HKEY_CURRENT_USER, Widen(SettingsKey).c_str(), saved) == ERROR_SUCCESS;
            RegCloseKey(saved);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(SettingsKey).c_str());

        // The uninstaller prunes the record's parent keys once they are empty, rightly; empty
        // ones other tests left would otherwise differ from the snapshot.
        DeleteKeyIfEmpty(HKEY_CURRENT_USER, L"Software\\Morivane\\BrisaSetup");
        DeleteKeyIfEmpty(HKEY_CURRENT_USER, L"Software\\Morivane");

        // The desktop window Wine shows keeps watching the desktop folder an earlier test of
        // this program pointed it at, so that folder may outlive its deletion.
        DeleteTree(DeskRoot);
        ASSERT_TRUE(CreateDirectoryW(Widen(DeskRoot).c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        ASSERT_TRUE(CreateDirectoryW(Desktop.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        desktop_ = std::make_unique<ShellFolderOverride>("Desktop", Desktop);

        // Where the Windows folder has "Favorites", the installer puts its link there.
        madeFavourites_ = CreateDirectoryW(Widen(WindowsFolder() + "\\Favorites").c_str(), nullptr) != 0;

        DeleteTree(Disc);
        ASSERT_TRUE(CreateDirectoryW(Widen(Disc).c_str(), nullptr));
        for (const std::wstring& name : NamesIn(Widen(PackageFolder())))
            ASSERT_TRUE(CopyFileW((Widen(PackageFolder()) + L"\\" + name).c_str(),
                                  (Widen(Disc) + L"\\" + name).c_str(), FALSE))
                << Narrow(name);
    }
    void TearDown() override {
        // A failed run must not leave the suite installed for the next one.
        if (robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "DateTime"))
            Run(WindowsFolder() + "\\Morivane.exe", AppName + " /SILENT");
        DeleteTree(Disc);
        if (madeFavourites_)
            DeleteTree(WindowsFolder() + "\\Favorites");
        desktop_.reset();
        DeleteTree(DeskRoot);
        if (!uninstallerWasThere_)
            DeleteFileW(Widen(WindowsFolder() + "\\Morivane.exe").c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(SettingsKey).c_str());
        HKEY saved;
        if (hadSettings_ &&
            RegOpenKeyExW(HKEY_CURRENT_USER, SavedSettingsKey, 0, KEY_READ, &saved) == ERROR_SUCCESS) {
            HKEY settings;
            if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(SettingsKey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &settings, nullptr) == ERROR_SUCCESS) {
                RegCopyTreeW(saved, nullptr, settings);
                RegCloseKey(settings);
            }
            RegCloseKey(saved);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\LumeraTestsSaved");
    }

    std::optional<DWORD> Run(const Text& program, const Text& arguments) {
        robot::Process process;
        if (!process.Start(program, arguments))
            return std::nullopt;
        return process.WaitForExit(120000);
    }

    std::unique_ptr<ShellFolderOverride> desktop_;
    bool hadSettings_ = false;
    bool uninstallerWasThere_ = false;
    bool madeFavourites_ = false;
};

TEST_F(SuitePackageE2e, StagedPackageNamesTheBuildsVersionAndPublisher) {
    const std::wstring data = Widen(Disc + "\\Setup.dat");
    EXPECT_EQ(IniReadString(data, "Infomation", "Version", ""), Text("Version " LUMERA_VERSION));
    EXPECT_EQ(IniReadString(data, "Infomation", "Copyright", ""), Text(Publisher::Copyright));
    EXPECT_EQ(IniReadString(data, "UnInstall", "DisplayVersion", ""), Text(LUMERA_VERSION));
    EXPECT_EQ(IniReadString(data, "UnInstall", "Publisher", ""), Text(Publisher::CopyrightSecond));
    const Text toolVersion = Publisher::ToolVersion;
    EXPECT_EQ(toolVersion.substr(toolVersion.size() - Text(LUMERA_VERSION).size()), Text(LUMERA_VERSION))
        << "the tools' version box says " << toolVersion;
    auto readme = robot::ReadFileBytes(Disc + "\\Readme.txt");
    ASSERT_TRUE(readme.has_value());
    EXPECT_NE(readme->find("Version " LUMERA_VERSION "\r\n"), std::string::npos);
}

TEST_F(SuitePackageE2e, InstallsEverythingSilentlyAndUninstallsToThePrefixAsItWas) {
    ASSERT_FALSE(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "DateTime").has_value())
        << "the prefix already holds an installation of the suite";
    const PrefixState before = PrefixState::Now();
    const int lumerasBefore = RunningCopies(L"Lumera.exe");

    ASSERT_EQ(Run(Disc + "\\Setup.exe", "/SILENT /LOG=" + Disc + "\\install.log"), 0u);
    const Text installed = InstallFolder();

    // Every program of the package, byte for byte; Setup.exe only as the uninstaller.
    int programs = 0;
    for (const std::wstring& name : NamesIn(Widen(Disc))) {
        const Text file = Narrow(name);
        if (file == "Setup.exe" || file == "Setup.dat" || file == "install.log")
            continue;
        programs += file.size() > 4 && file.substr(file.size() - 4) == ".exe";
        EXPECT_EQ(robot::ReadFileBytes(installed + "\\" + file), robot::ReadFileBytes(Disc + "\\" + file))
            << file;
    }
    EXPECT_EQ(programs, 11);
    EXPECT_EQ(robot::ReadFileBytes(WindowsFolder() + "\\Morivane.exe"),
              robot::ReadFileBytes(Disc + "\\Setup.exe"));

    // Each shortcut the record names exists and opens a file of the installation.
    const std::vector<std::wstring> group = RecordList("StartName"), desktop = RecordList("DeskTopName"),
                                    sendTo = RecordList("SendToName");
    EXPECT_EQ(group.size(), 8u);
    EXPECT_EQ(desktop, std::vector<std::wstring>{Desktop + L"\\Lumera Deck.lnk"});
    EXPECT_EQ(sendTo.size(), 2u);
    std::vector<std::wstring> shortcuts = group;
    shortcuts.insert(shortcuts.end(), desktop.begin(), desktop.end());
    shortcuts.insert(shortcuts.end(), sendTo.begin(), sendTo.end());
    const std::wstring installedFolder = Canonical(Widen(installed)) + L"\\";
    for (const std::wstring& shortcut : shortcuts) {
        const std::wstring target = Canonical(GetShortcutTarget(shortcut));
        EXPECT_EQ(target.rfind(installedFolder, 0), 0u) << Narrow(shortcut) << " -> " << Narrow(target);
        EXPECT_NE(GetFileAttributesW(target.c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(shortcut);
    }
    auto opens = [&](const std::wstring& shortcut, const Text& program) {
        return Canonical(GetShortcutTarget(shortcut)) == Canonical(Widen(installed + "\\" + program));
    };
    const std::wstring groupFolder = GetShellFolderWide("Programs") + L"\\" + Widen(AppName);
    const std::wstring sendToFolder = GetShellFolderWide("SendTo");
    EXPECT_TRUE(opens(groupFolder + Widen("\\Lumera 常駐メニュー.lnk"), "Lumera.exe"));
    EXPECT_TRUE(opens(groupFolder + Widen("\\Tezzo ファイル名を指定して実行.lnk"), "Tezzo.exe"));
    EXPECT_TRUE(opens(GetShellFolderWide("Startup") + L"\\Lumera Deck.lnk", "Lumera.exe"))
        << "starts at log-on";
    EXPECT_TRUE(opens(Desktop + L"\\Lumera Deck.lnk", "Lumera.exe"));
    EXPECT_TRUE(opens(sendToFolder + Widen("\\Ferrox で移動・コピー・削除.lnk"), "Ferrox.exe"));
    EXPECT_TRUE(opens(sendToFolder + Widen("\\Pinnet でデスクトップにショートカット.lnk"), "Pinnet.exe"));

    // The record and the system's uninstall entry.
    EXPECT_EQ(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "SetupPath"), installed);
    EXPECT_EQ(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "StartPath"), AppName);
    EXPECT_EQ(RecordList("File").size(), 19u);
    const Text entry = UninstallKey + "\\" + AppName;
    EXPECT_EQ(robot::ReadRegistryString(HKEY_LOCAL_MACHINE, entry, "DisplayName"), AppName);
    EXPECT_EQ(robot::ReadRegistryString(HKEY_LOCAL_MACHINE, entry, "UninstallString"),
              WindowsFolder() + "\\Morivane.exe " + AppName);
    EXPECT_EQ(robot::ReadRegistryString(HKEY_LOCAL_MACHINE, entry, "DisplayVersion"), Text(LUMERA_VERSION));
    EXPECT_EQ(robot::ReadRegistryString(HKEY_LOCAL_MACHINE, entry, "Publisher"),
              Text(Publisher::CopyrightSecond));
    // The data file tells the wizard "約 11 MB"; the installation must not outgrow it.
    auto size = robot::ReadRegistryDword(HKEY_LOCAL_MACHINE, entry, "EstimatedSize");
    ASSERT_TRUE(size.has_value());
    EXPECT_GT(*size, 1024u);
    EXPECT_LE(*size, 11u * 1024);

    // The suite in use keeps its settings, and the tray program's first start makes its logo
    // folder (empty on a machine without start-up pictures to save); the uninstaller removes
    // them with the rest.
    ASSERT_TRUE(CreateDirectoryW(Widen(installed + "\\LogoDir").c_str(), nullptr));
    HKEY settings;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(SettingsKey + "\\Ferrox").c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &settings, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(settings, L"Left", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&programs),
                   sizeof programs);
    RegCloseKey(settings);

    // The favourites link, and ".inf" files associated with the installed Kickon as its
    // window offers.
    const Text favourite = WindowsFolder() + "\\Favorites\\Morivane Lounge.url";
    EXPECT_TRUE(robot::FileExists(favourite));
    EXPECT_EQ(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "Favorites"), favourite);
    {
        robot::Process kickon;
        ASSERT_TRUE(kickon.Start(installed + "\\Kickon.exe", ""));
        HWND form = robot::WaitForWindow("TKickonMainForm", "", kickon.id());
        ASSERT_NE(form, nullptr);
        robot::Click(robot::FindControl(form, "Button1"));
        EXPECT_EQ(kickon.WaitForExit(), 0u);
        EXPECT_EQ(robot::ReadRegistryString(HKEY_CURRENT_USER, "Software\\Classes\\.inf", ""),
                  Text("Lumera(Kickon)"));
    }

    // The silent run never shows the run page, so nothing was started.
    EXPECT_EQ(RunningCopies(L"Lumera.exe"), lumerasBefore);

    const Text uninstaller = WindowsFolder() + "\\Morivane.exe";
    ASSERT_EQ(Run(uninstaller, AppName + " /SILENT /LOG=" + Disc + "\\uninstall.log"), 0u);
    const PrefixState after = PrefixState::Now();
    EXPECT_EQ(after.installFolder, before.installFolder)
        << Differences(before.installFolder, after.installFolder);
    EXPECT_EQ(after.programs, before.programs) << Differences(before.programs, after.programs);
    EXPECT_EQ(after.desktop, before.desktop) << Differences(before.desktop, after.desktop);
    EXPECT_EQ(after.sendTo, before.sendTo) << Differences(before.sendTo, after.sendTo);
    EXPECT_EQ(after.startup, before.startup) << Differences(before.startup, after.startup);
    EXPECT_EQ(after.favourites, before.favourites) << Differences(before.favourites, after.favourites);
    EXPECT_EQ(after.morivane, before.morivane) << Differences(before.morivane, after.morivane);
    EXPECT_EQ(after.uninstallEntries, before.uninstallEntries)
        << Differences(before.uninstallEntries, after.uninstallEntries);
    EXPECT_EQ(after.infType, before.infType) << Differences(before.infType, after.infType);
    EXPECT_EQ(after.kickonType, before.kickonType) << Differences(before.kickonType, after.kickonType);
    // The one exception: the uninstaller is shared by every product installed with it and
    // is never removed, so a prefix that had none now holds the suite's.
    if (before.uninstaller)
        EXPECT_EQ(after.uninstaller, before.uninstaller);
    else
        EXPECT_EQ(after.uninstaller, robot::ReadFileBytes(Disc + "\\Setup.exe"));
    EXPECT_EQ(RunningCopies(L"Lumera.exe"), lumerasBefore);

    // Nothing recorded any more: a repeat does nothing and says so by its code.
    EXPECT_EQ(Run(uninstaller, AppName + " /SILENT"), 2u);
}

// Windows will not replace or remove a running program's file, and Wine's Restart Manager
// does nothing: the tray program keeps its file through the update as one that would not
// close, and a file held open without sharing stands in for another such program's. The
// test then makes the request the Restart Manager makes of the tray program. No question
// stops either run (before, a silent update over a held file exited 1).
TEST_F(SuitePackageE2e, AnUpdateAndAnUninstallOverRunningProgramsLeaveWhatStaysHeldToTheRestart) {
    ASSERT_FALSE(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "DateTime").has_value())
        << "the prefix already holds an installation of the suite";
    ASSERT_EQ(Run(Disc + "\\Setup.exe", "/SILENT"), 0u);
    const auto folder = robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "SetupPath");
    ASSERT_TRUE(folder.has_value());
    const Text installed = *folder;
    robot::Process tray;
    ASSERT_TRUE(tray.Start(installed + "\\Lumera.exe", "", installed));
    ASSERT_TRUE(lumera_e2e::RunningLumera::WaitUntilReady(tray.id(), 20000));

    // A newer package: every program but the installer changed, and later.
    std::vector<Text> newer;
    for (const std::wstring& name : NamesIn(Widen(Disc))) {
        const Text file = Narrow(name);
        if (file.size() <= 4 || file.substr(file.size() - 4) != ".exe" || file == "Setup.exe")
            continue;
        auto bytes = robot::ReadFileBytes(Disc + "\\" + file);
        ASSERT_TRUE(bytes.has_value());
        ASSERT_TRUE(WriteBytes(Disc + "\\" + file, *bytes + "update"));
        newer.push_back(file);
    }
    auto hold = [](const Text& file) {
        return UniqueHandle(
            CreateFileW(Widen(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    PendingRenames pending;
    UniqueHandle holder = hold(installed + "\\Tezzo.exe");
    ASSERT_TRUE(holder);

    EXPECT_EQ(Run(Disc + "\\Setup.exe", "/SILENT /LOG=" + Disc + "\\update.log"), 5u);
    const Text updateLog = robot::ReadFileBytes(Disc + "\\update.log").value_or("");
    std::vector<PendingRenames::Move> replaced;
    for (const Text& file : newer) {
        const Text path = installed + "\\" + file;
        if (file == "Lumera.exe" || file == "Tezzo.exe") {
            EXPECT_NE(updateLog.find("Replaced at restart, in use: " + path + "\r\n"), Text::npos)
                << updateLog;
            EXPECT_EQ(robot::ReadFileBytes(path + ".new"), robot::ReadFileBytes(Disc + "\\" + file));
            replaced.push_back({L"\\??\\" + Widen(path + ".new"), L"!\\??\\" + Widen(path)});
        } else {
            EXPECT_EQ(robot::ReadFileBytes(path), robot::ReadFileBytes(Disc + "\\" + file)) << file;
        }
    }
    std::vector<PendingRenames::Move> moves = pending.Added();
    std::sort(moves.begin(), moves.end());
    std::sort(replaced.begin(), replaced.end());
    EXPECT_EQ(moves, replaced);

    // What the Restart Manager asks of the tray program: it ends at once, its place saved.
    HWND form = lumera_e2e::MainForm(tray.id());
    ASSERT_NE(form, nullptr);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(form, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000,
                                    &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutW(form, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_EQ(tray.WaitForExit(15000), std::optional<DWORD>(0));
    EXPECT_TRUE(SettingInt("Position", "MainTop").has_value());

    // The uninstall with a program of the update's own holding its file: it goes at the
    // restart, the rest now, and the entry goes.
    holder = hold(installed + "\\Ferrox.exe");
    ASSERT_TRUE(holder);
    const Text ferrox = installed + "\\Ferrox.exe";
    const size_t updateMoves = pending.Added().size();
    EXPECT_EQ(Run(WindowsFolder() + "\\Morivane.exe", AppName + " /SILENT /LOG=" + Disc + "\\uninstall.log"),
              5u);
    const Text uninstallLog = robot::ReadFileBytes(Disc + "\\uninstall.log").value_or("");
    EXPECT_NE(uninstallLog.find("Removed at restart, in use: " + ferrox + "\r\n"), Text::npos)
        << uninstallLog;
    // The held file and then its folder go at the restart; the copies the update left
    // waiting go now with the files they were to replace, so the restart brings none back.
    moves = pending.Added();
    ASSERT_GE(moves.size(), updateMoves);
    EXPECT_EQ(std::vector<PendingRenames::Move>(moves.begin() + updateMoves, moves.end()),
              (std::vector<PendingRenames::Move>{{L"\\??\\" + Widen(ferrox), L""},
                                                 {L"\\??\\" + Widen(installed), L""}}));
    for (const char* file : {"Lumera.exe", "Tezzo.exe"}) {
        EXPECT_FALSE(robot::FileExists(installed + "\\" + file + ".new")) << file;
        EXPECT_FALSE(robot::FileExists(installed + "\\" + file)) << file;
    }
    EXPECT_FALSE(robot::FileExists(installed + "\\Pinnet.exe"));
    EXPECT_FALSE(robot::ReadRegistryString(HKEY_CURRENT_USER, RecordKey, "DateTime").has_value());

    holder.reset();
    DeleteTree(installed);
}

} // namespace
