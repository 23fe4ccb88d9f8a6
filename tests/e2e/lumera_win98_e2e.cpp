// The tray program's Windows 95 family features: the logo pictures and the Kickon watch on
// removable and CD-ROM drives. Wine reports Windows 98 to Lumera.exe alone (AppDefaults),
// and its mount manager makes a folder a CD-ROM or floppy drive whose medium is "in" while
// the folder exists.
#include <gtest/gtest.h>

#include <algorithm>

#include "lumera_support.h"

#include <winioctl.h> // after <windows.h>

using namespace lumera_e2e;

namespace {

// While it lives, Wine tells Lumera.exe that it runs on Windows 98.
class Windows98Mode {
public:
    Windows98Mode() {
        HKEY key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        const wchar_t version[] = L"win98";
        RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof version);
        RegCloseKey(key);
    }
    ~Windows98Mode() { RegDeleteTreeW(HKEY_CURRENT_USER, Key); }
    Windows98Mode(const Windows98Mode&) = delete;
    Windows98Mode& operator=(const Windows98Mode&) = delete;

private:
    static constexpr const wchar_t* Key = L"Software\\Wine\\AppDefaults\\Lumera.exe";
};

// Sets a machine setup path ("BootDir") and puts the old value back afterwards.
class SetupPathGuard {
public:
    SetupPathGuard(const Text& name, const Text& value) : name_(name) {
        saved_ = robot::ReadRegistryString(HKEY_LOCAL_MACHINE, SetupKey, name);
        Write(value);
    }
    ~SetupPathGuard() { Write(saved_); }
    SetupPathGuard(const SetupPathGuard&) = delete;
    SetupPathGuard& operator=(const SetupPathGuard&) = delete;

private:
    static constexpr const char* SetupKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";
    void Write(const std::optional<Text>& value) {
        SetRegistryString(HKEY_LOCAL_MACHINE, SetupKey, name_, value);
    }
    Text name_;
    std::optional<Text> saved_;
};

// A drive letter that Wine's mount manager maps to a folder, reported as the given drive
// type. Wine reads its drive settings only when its session starts; asking the running
// mount manager (as winecfg does) takes effect at once and writes the dosdevices link and
// the "Drives" type itself.
class WineDrive {
public:
    WineDrive(char letter, ULONG type, const Text& folder) : letter_(letter) {
        using ToUnix = char*(CDECL*)(const wchar_t*);
        FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
        auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(found));
        if (!toUnix)
            return; // not Wine
        char* unixPath = toUnix(Widen(folder).c_str());
        if (!unixPath)
            return;
        defined_ = Define(type, unixPath);
        HeapFree(GetProcessHeap(), 0, unixPath);
    }
    ~WineDrive() {
        if (defined_)
            Define(DRIVE_NO_ROOT_DIR, nullptr);
    }
    WineDrive(const WineDrive&) = delete;
    WineDrive& operator=(const WineDrive&) = delete;

    bool defined() const { return defined_; }
    UINT type() const { return GetDriveTypeW(Root().c_str()); }
    bool mediumPresent() const {
        DWORD old = 0;
        SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old);
        ULARGE_INTEGER available;
        bool present = GetDiskFreeSpaceExW(Root().c_str(), &available, nullptr, nullptr);
        SetThreadErrorMode(old, nullptr);
        return present;
    }

private:
    // Wine's request block (include/ddk/mountmgr.h), followed by the Unix path.
    struct UnixDrive {
        ULONG size, type, fsType;
        DWORD serial;
        ULONGLONG unixDevice;
        WCHAR letter;
        USHORT mountPointOffset, deviceOffset, labelOffset;
    };

    std::wstring Root() const { return {static_cast<wchar_t>(letter_), L':', L'\\'}; }

    bool Define(ULONG type, const char* unixPath) {
        size_t pathBytes = unixPath ? strlen(unixPath) + 1 : 0;
        std::vector<char> block(sizeof(UnixDrive) + pathBytes);
        auto* drive = reinterpret_cast<UnixDrive*>(block.data());
        drive->size = static_cast<ULONG>(block.size());
        drive->type = type;
        drive->letter = static_cast<WCHAR>(tolower(letter_));
        if (unixPath) {
            memcpy(block.data() + sizeof(UnixDrive), unixPath, pathBytes);
            drive->mountPointOffset = sizeof(UnixDrive);
        }
        HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (manager == INVALID_HANDLE_VALUE)
            return false;
        const DWORD defineUnixDrive =
            CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
        BOOL done = DeviceIoControl(manager, defineUnixDrive, block.data(), static_cast<DWORD>(block.size()),
                                    nullptr, 0, nullptr, nullptr);
        CloseHandle(manager);
        return done;
    }

    char letter_;
    bool defined_ = false;
};

void WriteBytes(const Text& path, const std::string& bytes) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void RemoveFile(const Text& path) {
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(Widen(path).c_str());
}

Text WindowsFolder() {
    wchar_t buffer[MAX_PATH];
    GetWindowsDirectoryW(buffer, MAX_PATH);
    return Narrow(buffer);
}

// The three system logo files, with distinct contents; removed again afterwards.
class LogoTargets {
public:
    LogoTargets()
        : startup_("C:\\LOGO.SYS"), restart_(WindowsFolder() + "\\LOGOW.SYS"),
          shutdown_(WindowsFolder() + "\\LOGOS.SYS") {
        Clear();
    }
    ~LogoTargets() { Clear(); }
    LogoTargets(const LogoTargets&) = delete;
    LogoTargets& operator=(const LogoTargets&) = delete;

    const Text& startup() const { return startup_; }
    const Text& restart() const { return restart_; }
    const Text& shutdown() const { return shutdown_; }

private:
    void Clear() {
        for (const Text* path : {&startup_, &restart_, &shutdown_})
            RemoveFile(*path);
    }
    Text startup_, restart_, shutdown_;
};

std::string FileText(const Text& path) {
    return robot::ReadFileBytes(path).value_or("(missing)");
}

// The checked captions of a popup menu.
std::vector<Text> Checked(const robot::PopupMenu& menu) {
    std::vector<Text> checked;
    for (const robot::MenuEntry& item : menu.items) {
        if (item.checked)
            checked.push_back(item.caption);
    }
    return checked;
}

// Opens the tray menu and one of its submenus, reads it and closes the menus again. Under
// load the tray menu now and then does not open or take a click in time; such a look has
// chosen nothing and is tried again.
robot::PopupMenu ReadSubmenu(RunningLumera& lumera, const Text& caption, const Text& screenshot = "") {
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<robot::PopupMenu> menus;
        if (!lumera.OpenMenu().empty() && lumera.menus().Choose(caption))
            menus = lumera.menus().WaitForMenus(2);
        if (menus.size() >= 2 && !screenshot.empty())
            robot::SaveScreenshot(screenshot);
        lumera.menus().CloseAll();
        if (menus.size() >= 2)
            return menus[1];
    }
    return robot::PopupMenu();
}

// Whether the submenu's item carries a check mark; no value when the item is missing.
std::optional<bool> IsMarked(const robot::PopupMenu& menu, const Text& caption) {
    const robot::MenuEntry* item = menu.Find(caption);
    return item ? std::optional<bool>(item->checked) : std::nullopt;
}

size_t LogLines(const Text& probe) {
    std::optional<std::string> log = robot::ReadFileBytes(probe + ".log");
    if (!log)
        return 0;
    std::wstring text(reinterpret_cast<const wchar_t*>(log->data()), log->size() / sizeof(wchar_t));
    return static_cast<size_t>(std::count(text.begin(), text.end(), L'\n'));
}

Text LastLogLine(const Text& probe) {
    std::optional<std::string> log = robot::ReadFileBytes(probe + ".log");
    if (!log)
        return "";
    std::wstring text(reinterpret_cast<const wchar_t*>(log->data()), log->size() / sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\n')
        text.pop_back();
    return Narrow(text.substr(text.rfind(L'\n') == std::wstring::npos ? 0 : text.rfind(L'\n') + 1));
}

// A "disc": the folder is prepared under another name and moved into place at once, so the
// watch never sees a drive whose AUTORUN.INF is still being written.
void InsertMedium(const Text& driveFolder, const Text& autorunOpen) {
    Text staging = driveFolder + "-staging";
    DeleteTree(staging);
    CreateDirectoryW(Widen(staging).c_str(), nullptr);
    WriteBytes(staging + "\\AUTORUN.INF", "[autorun]\r\nopen=" + autorunOpen + "\r\n");
    ASSERT_TRUE(MoveFileW(Widen(staging).c_str(), Widen(driveFolder).c_str()));
}

const Text QuestionText =
    "一部のﾘﾑｰﾊﾞﾌﾞﾙ機器(MO等)に設定すると不都合が生じ可能性があります。\n設定しますか？";

class Win98Test : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        CreateDirectoryW(L"C:\\lumera-e2e", nullptr);
    }
    void TearDown() override { ResetSettings(); }
    Windows98Mode win98;
};

TEST_F(Win98Test, FirstStartSavesTheLogosAndMarksTheSavedCopies) {
    LogoTargets targets;
    SetupPathGuard bootDir("BootDir", "C:\\");
    WriteBytes(targets.startup(), "start-up picture");
    WriteBytes(targets.restart(), "restart picture");
    // No shutdown logo on this machine: nothing to save for it.

    Installation installation("win98-logo-first");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));

    Text logoDir = installation.file("LogoDir");
    EXPECT_EQ(FileText(logoDir + "\\起動.BMP"), "start-up picture");
    EXPECT_EQ(FileText(logoDir + "\\再起動.BMP"), "restart picture");
    EXPECT_FALSE(robot::FileExists(logoDir + "\\終了.BMP"));
    EXPECT_EQ(SettingString("Logo", "LogoSys"), Text("C:\\LOGO.SYS"));
    EXPECT_EQ(SettingString("Logo", "LogowSys"), targets.restart());
    EXPECT_EQ(SettingString("Logo", "LogosSys"), targets.shutdown());
    EXPECT_EQ(SettingString("Logo", "LogoFile"), logoDir + "\\起動.BMP");
    EXPECT_EQ(SettingString("Logo", "LogowFile"), logoDir + "\\再起動.BMP");
    EXPECT_EQ(SettingString("Logo", "LogosFile"), Text());

    robot::PopupMenu startup = ReadSubmenu(lumera, "起動ﾛｺﾞ(&L)", "lumera-win98-menu.bmp");
    std::vector<Text> captions = startup.Captions();
    ASSERT_EQ(captions.size(), 4u);
    EXPECT_EQ(captions.front(), "(標準)");
    EXPECT_EQ(captions.back(), "(その他)");
    EXPECT_EQ(Checked(startup), std::vector<Text>{"起動"});
    robot::PopupMenu restart = ReadSubmenu(lumera, "再起動ﾛｺﾞ(&R)");
    EXPECT_EQ(restart.Captions().front(), "(なし)");
    EXPECT_EQ(restart.Captions().size(), 4u);
    EXPECT_EQ(Checked(restart), std::vector<Text>{"再起動"});
    EXPECT_EQ(Checked(ReadSubmenu(lumera, "終了ﾛｺﾞ(&E)")), std::vector<Text>{"(なし)"});
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(Win98Test, ChoosingAPictureReplacesEvenAReadOnlyLogoAndTheFirstItemDeletesIt) {
    LogoTargets targets;
    SetupPathGuard bootDir("BootDir", "C:\\WINDOWS");
    WriteBytes(targets.startup(), "start-up picture");
    WriteBytes(targets.restart(), "restart picture");
    WriteBytes(targets.shutdown(), "shutdown picture");
    SetFileAttributesW(Widen(targets.restart()).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    Installation installation("win98-logo-choice");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    Text savedStartup = installation.file("LogoDir\\起動.BMP");

    ASSERT_TRUE(Choose(lumera, {"再起動ﾛｺﾞ(&R)", "起動"}));
    EXPECT_TRUE(robot::WaitUntil([&] { return FileText(targets.restart()) == "start-up picture"; }));
    EXPECT_EQ(GetFileAttributesW(Widen(targets.restart()).c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(SettingString("Logo", "LogowFile"), savedStartup);

    ASSERT_TRUE(Choose(lumera, {"起動ﾛｺﾞ(&L)", "(標準)"}));
    EXPECT_TRUE(robot::WaitUntil([&] { return !robot::FileExists(targets.startup()); }));
    EXPECT_EQ(SettingString("Logo", "LogoFile"), Text());

    ASSERT_TRUE(Choose(lumera, {"終了ﾛｺﾞ(&E)", "(なし)"}));
    EXPECT_TRUE(robot::WaitUntil([&] { return !robot::FileExists(targets.shutdown()); }));

    EXPECT_EQ(Checked(ReadSubmenu(lumera, "起動ﾛｺﾞ(&L)")), std::vector<Text>{"(標準)"});
    EXPECT_EQ(Checked(ReadSubmenu(lumera, "再起動ﾛｺﾞ(&R)")), std::vector<Text>{"起動"});
    EXPECT_EQ(Checked(ReadSubmenu(lumera, "終了ﾛｺﾞ(&E)")), std::vector<Text>{"(なし)"});
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(Win98Test, AnExistingLogoFolderIsNotFilledAtStart) {
    LogoTargets targets;
    SetupPathGuard bootDir("BootDir", "C:\\");
    WriteBytes(targets.startup(), "start-up picture");
    Installation installation("win98-logo-own");
    Text own = installation.file("Mine");
    CreateDirectoryW(Widen(own).c_str(), nullptr);
    WriteBytes(own + "\\ﾛｺﾞ.bmp", "my picture");
    ASSERT_TRUE(SetSettingStringRaw("Logo", "Path", own + ";" + installation.file("Second")));
    // The installed file is not a listed picture: "(その他)" carries the mark.
    ASSERT_TRUE(SetSettingStringRaw("Logo", "LogoFile", "C:\\elsewhere\\old.bmp"));

    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    EXPECT_FALSE(robot::FileExists(own + "\\起動.BMP"));
    EXPECT_EQ(SettingString("Logo", "LogowFile"), std::nullopt);
    robot::PopupMenu startup = ReadSubmenu(lumera, "起動ﾛｺﾞ(&L)");
    EXPECT_EQ(startup.Captions(), (std::vector<Text>{"(標準)", "ﾛｺﾞ", "(その他)"}));
    EXPECT_EQ(Checked(startup), std::vector<Text>{"(その他)"});
    EXPECT_TRUE(lumera.Exit());
}

TEST_F(Win98Test, ACdInsertedIntoAWatchedDriveRunsItsAutorun) {
    const Text driveFolder = "C:\\lumera-e2e\\cd-r";
    DeleteTree(driveFolder); // no disc in the drive
    WineDrive drive('R', DRIVE_CDROM, driveFolder);
    if (!drive.defined())
        GTEST_SKIP() << "needs Wine's mount manager";
    ASSERT_EQ(drive.type(), static_cast<UINT>(DRIVE_CDROM));
    ASSERT_FALSE(drive.mediumPresent());
    ASSERT_TRUE(SetSettingIntRaw("OtherSet", "Interval", 200));

    Installation installation("win98-cd");
    Text probe = installation.InstallProbe("Disc.exe");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));

    robot::PopupMenu watch = ReadSubmenu(lumera, "AUTORUN監視(&A)");
    ASSERT_EQ(IsMarked(watch, "CD-ROM (R:)"), false);
    ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", "CD-ROM (R:)"}));
    EXPECT_FALSE(robot::WaitForMessageBox(lumera.process.id(), 1000)) << "a CD-ROM drive asks nothing";
    EXPECT_EQ(IsMarked(ReadSubmenu(lumera, "AUTORUN監視(&A)", "lumera-win98-drives.bmp"), "CD-ROM (R:)"),
              true);

    InsertMedium(driveFolder, probe + " inserted");
    ASSERT_TRUE(drive.mediumPresent());
    ASSERT_TRUE(robot::WaitUntil([&] { return LogLines(probe) == 1; }, 5000));
    EXPECT_EQ(LastLogLine(probe), "\"" + probe + "\" inserted|R:\\");

    ASSERT_TRUE(Choose(lumera, {"AUTORUN実行(&R)", "CD-ROM (R:)"}));
    EXPECT_TRUE(robot::WaitUntil([&] { return LogLines(probe) == 2; }, 5000));

    EXPECT_TRUE(lumera.Exit());
    EXPECT_EQ(SettingInt("Kickon", "R"), 1u);
    DeleteTree(driveFolder);
}

TEST_F(Win98Test, ARemovableDriveAsksBeforeItIsWatchedAndADiscAlreadyInsideStartsNothing) {
    const Text driveFolder = "C:\\lumera-e2e\\fd-p";
    DeleteTree(driveFolder);
    WineDrive drive('P', DRIVE_REMOVABLE, driveFolder);
    if (!drive.defined())
        GTEST_SKIP() << "needs Wine's mount manager";
    ASSERT_EQ(drive.type(), static_cast<UINT>(DRIVE_REMOVABLE));
    ASSERT_TRUE(SetSettingIntRaw("OtherSet", "Interval", 100));

    Installation installation("win98-fd");
    Text probe = installation.InstallProbe("Floppy.exe");
    InsertMedium(driveFolder, probe + " inside");
    const Text item = "FD/ﾘﾑｰﾊﾞﾌﾞﾙ (P:)";
    {
        RunningLumera lumera;
        ASSERT_TRUE(lumera.Start(installation));

        ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", item}));
        std::optional<robot::MessageBoxInfo> question = robot::WaitForMessageBox(lumera.process.id());
        ASSERT_TRUE(question);
        EXPECT_EQ(question->text, QuestionText);
        EXPECT_EQ(question->caption, "Lumera Deck for Windows");
        ASSERT_TRUE(robot::AnswerMessageBox(question->window, IDNO));
        EXPECT_EQ(IsMarked(ReadSubmenu(lumera, "AUTORUN監視(&A)"), item), false);

        ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", item}));
        question = robot::WaitForMessageBox(lumera.process.id());
        ASSERT_TRUE(question);
        ASSERT_TRUE(robot::AnswerMessageBox(question->window, IDYES));
        EXPECT_EQ(IsMarked(ReadSubmenu(lumera, "AUTORUN監視(&A)"), item), true);
        // Ten refreshes with the disc that was inside when the watch began: nothing may start.
        ASSERT_TRUE(WaitForRefreshes(10));
        EXPECT_EQ(LogLines(probe), 0u);

        // Switching off asks nothing; the stored choice is written at the end, for every drive.
        ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", item}));
        EXPECT_FALSE(robot::WaitForMessageBox(lumera.process.id(), 1000));
        ASSERT_TRUE(Choose(lumera, {"AUTORUN監視(&A)", item}));
        ASSERT_TRUE((question = robot::WaitForMessageBox(lumera.process.id())));
        ASSERT_TRUE(robot::AnswerMessageBox(question->window, IDYES));
        EXPECT_TRUE(lumera.Exit());
        EXPECT_EQ(SettingInt("Kickon", "P"), 1u);
    }

    // The next start shows the drive watched, and a disc inserted later runs.
    DeleteTree(driveFolder);
    RunningLumera again;
    ASSERT_TRUE(again.Start(installation));
    EXPECT_EQ(IsMarked(ReadSubmenu(again, "AUTORUN監視(&A)"), item), true);
    InsertMedium(driveFolder, probe + " later");
    EXPECT_TRUE(robot::WaitUntil([&] { return LogLines(probe) == 1; }, 5000));
    EXPECT_TRUE(again.Exit());
    DeleteTree(driveFolder);
}

TEST(Win98NtFamily, LogoAndDriveSubmenusAreAbsent) {
    ResetSettings();
    Installation installation("win98-nt");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    std::vector<robot::PopupMenu> menus = lumera.OpenMenu();
    ASSERT_FALSE(menus.empty());
    std::vector<Text> captions = menus[0].Captions();
    lumera.menus().CloseAll();
    EXPECT_NE(std::find(captions.begin(), captions.end(), "壁紙(&B)"), captions.end());
    for (const char* absent :
         {"起動ﾛｺﾞ(&L)", "再起動ﾛｺﾞ(&R)", "終了ﾛｺﾞ(&E)", "AUTORUN監視(&A)", "AUTORUN実行(&R)", "ｲｼﾞｪｸﾄ(&E)"})
        EXPECT_EQ(std::find(captions.begin(), captions.end(), absent), captions.end()) << absent;
    EXPECT_TRUE(lumera.Exit());
    ResetSettings();
}

} // namespace
