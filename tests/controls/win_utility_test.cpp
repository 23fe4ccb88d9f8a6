#include "win_utility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "desktop_rules.h"
#include "app.h"
#include "form.h"
#include "paths.h"
#include "timer.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/profile_file.h"
#include "win/registry.h"

namespace {

const Text Desktop = "\\Control Panel\\Desktop";

bool ScreenSaverActive() {
    BOOL active = FALSE;
    SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    return active != FALSE;
}

// Every test here changes the user's desktop settings; the fixture puts back exactly what
// was there (values, their absence, the screen-saver flag, the current wallpaper and
// "System.INI"), also when a test fails part-way.
class DesktopSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"SCRNSAVE.EXE", L"Wallpaper", L"TileWallpaper", L"WallpaperStyle"})
            saved_.push_back(Save(name));
        BOOL active = FALSE;
        SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        screenSaverActive_ = active != FALSE;
        wchar_t wallpaper[MAX_PATH * 2] = L"";
        SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH * 2, wallpaper, 0);
        currentWallpaper_ = wallpaper;
        systemIni_ = JoinPath(GetWindowsDir(), "System.INI");
        systemIniBytes_ = ReadFileBytes(systemIni_);
    }
    void TearDown() override {
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, screenSaverActive_, nullptr, SPIF_UPDATEINIFILE);
        std::wstring wallpaper = currentWallpaper_;
        wallpaper.resize(std::max<size_t>(wallpaper.size() + 1, MAX_PATH), L'\0');
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, wallpaper.data(), SPIF_UPDATEINIFILE);
        // The stored values last, so the calls above cannot leave theirs behind.
        for (const SavedValue& value : saved_)
            Restore(value);
        if (systemIniBytes_)
            WriteFileBytes(systemIni_, *systemIniBytes_);
        else
            DeleteFileW(Widen(systemIni_).c_str());
    }

private:
    struct SavedValue {
        std::wstring name;
        bool present = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    static SavedValue Save(const wchar_t* name) {
        SavedValue value;
        value.name = name;
        DWORD bytes = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_ANY | RRF_NOEXPAND,
                         &value.type, nullptr, &bytes) != ERROR_SUCCESS)
            return value;
        value.data.resize(bytes);
        value.present =
            RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_ANY | RRF_NOEXPAND,
                         &value.type, value.data.data(), &bytes) == ERROR_SUCCESS;
        value.data.resize(bytes);
        return value;
    }
    static void Restore(const SavedValue& value) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS)
            return;
        if (value.present)
            RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        else
            RegDeleteValueW(key, value.name.c_str());
        RegCloseKey(key);
    }

    std::vector<SavedValue> saved_;
    bool screenSaverActive_ = false;
    std::wstring currentWallpaper_;
    Text systemIni_;
    std::optional<Text> systemIniBytes_;
};

// The main window of the test: notes the screen-saver requests it gets.
class MainForm : public Form {
public:
    MainForm() {
        CreateForm({"TWinUtilityTestForm", "test", WS_OVERLAPPEDWINDOW, 100, 100});
        Application::SetMainWindow(handle());
    }
    ~MainForm() override { Application::SetMainWindow(nullptr); }
    int screenSaveRequests = 0;
    int screenSaverAnnouncements = 0; // the system's word to every window that it changed

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_SCREENSAVE) {
            ++screenSaveRequests;
            return 0;
        }
        if (message == WM_SETTINGCHANGE && wParam == SPI_SETSCREENSAVEACTIVE)
            ++screenSaverAnnouncements;
        return Form::HandleMessage(message, wParam, lParam);
    }
};

TEST_F(DesktopSettingsTest, ScreenSaverOnlyScrFilesCount) {
    TWinUtility desktop(PlatformNT);
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, Desktop, "SCRNSAVE.EXE", "C:\\WINDOWS\\SYSTEM\\LOGON.EXE"));
    EXPECT_EQ(desktop.GetScreenSaver(), "");
    EXPECT_FALSE(desktop.LaunchScreenSaver(0));
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, Desktop, "SCRNSAVE.EXE", "C:\\ソ\\星.SCR"));
    EXPECT_EQ(desktop.GetScreenSaver(), "C:\\ソ\\星.SCR");
}

TEST_F(DesktopSettingsTest, ScreenSaverSettingWritesAndSwitchesOnOrOff) {
    TWinUtility desktop(PlatformNT);
    desktop.SetScreenSaver("C:\\savers\\a.scr");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, Desktop, "SCRNSAVE.EXE", ""), "C:\\savers\\a.scr");
    EXPECT_TRUE(ScreenSaverActive());

    desktop.SetScreenSaver("");
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, Desktop, "SCRNSAVE.EXE"));
    EXPECT_FALSE(ScreenSaverActive());

    // The current value again: nothing is written and the active flag is left alone.
    desktop.SetScreenSaver("C:\\savers\\a.scr");
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, SPIF_UPDATEINIFILE);
    desktop.SetScreenSaver("C:\\savers\\a.scr");
    EXPECT_FALSE(ScreenSaverActive());
}

TEST_F(DesktopSettingsTest, ScreenSaverSwitchIsAnnouncedToEveryWindow) {
    MainForm main;
    TWinUtility desktop(PlatformNT);
    desktop.SetScreenSaver("C:\\savers\\a.scr");
    EXPECT_EQ(main.screenSaverAnnouncements, 1);
    desktop.SetScreenSaver("");
    EXPECT_EQ(main.screenSaverAnnouncements, 2);
}

TEST_F(DesktopSettingsTest, ScreenSaverPolicyIsReadFromTheUsersPolicyKey) {
    const Text policies = "\\Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop";
    struct PolicyValues {
        Text key;
        ~PolicyValues() {
            for (const char* name : {"ScreenSaveActive", "SCRNSAVE.EXE", "ScreenSaverIsSecure"})
                RegDeleteValue(HKEY_CURRENT_USER, key, name);
        }
    } cleanup{policies};
    TWinUtility desktop(PlatformNT);
    EXPECT_FALSE(desktop.GetScreenSaverPolicy().governed);

    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, policies, "SCRNSAVE.EXE", "C:\\ソ\\lock.scr"));
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, policies, "ScreenSaverIsSecure", "1"));
    ScreenSaverPolicy policy = desktop.GetScreenSaverPolicy();
    EXPECT_TRUE(policy.governed && policy.on && policy.fileFixed && policy.secure);
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, policies, "ScreenSaveActive", "0"));
    EXPECT_FALSE(desktop.GetScreenSaverPolicy().on);
    // The user's own value of the same name is no policy.
    RegDeleteValue(HKEY_CURRENT_USER, policies, "SCRNSAVE.EXE");
    RegDeleteValue(HKEY_CURRENT_USER, policies, "ScreenSaveActive");
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, Desktop, "ScreenSaveActive", "1"));
    EXPECT_FALSE(desktop.GetScreenSaverPolicy().governed);
    // The 95 family has no policy key of this kind.
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, policies, "ScreenSaveActive", "0"));
    EXPECT_FALSE(TWinUtility(PlatformWin95).GetScreenSaverPolicy().governed);
}

TEST_F(DesktopSettingsTest, ScreenSaverNinetyFiveFamilyUsesSystemIni) {
    TWinUtility desktop(PlatformWin95);
    ASSERT_TRUE(IniWriteString("System.INI", "boot", "SCRNSAVE.EXE", "C:\\WINDOWS\\SYSTEM\\夜.scr"));
    ASSERT_TRUE(IniWriteString("System.INI", "boot", "shell", "Explorer.exe"));
    EXPECT_EQ(desktop.GetScreenSaver(), "C:\\WINDOWS\\SYSTEM\\夜.scr");
    desktop.SetScreenSaver("");
    EXPECT_EQ(IniReadString("System.INI", "boot", "SCRNSAVE.EXE", "x"), "");
    EXPECT_EQ(IniReadString("System.INI", "boot", "shell", ""), "Explorer.exe"); // other lines kept
    EXPECT_FALSE(ScreenSaverActive());
}

TEST_F(DesktopSettingsTest, ScreenSaverLaunchWaitsResponsivelyAndRefusesASecondStart) {
    MainForm main;
    TWinUtility desktop(PlatformNT);
    desktop.SetScreenSaver("C:\\savers\\a.scr");

    EXPECT_TRUE(desktop.LaunchScreenSaver(0));
    EXPECT_EQ(main.screenSaveRequests, 1);

    int secondAnswers = 0;
    bool secondResult = true;
    Timer during(200);
    during.SetHandler([&] {
        during.SetEnabled(false);
        ++secondAnswers;
        secondResult = desktop.LaunchScreenSaver(0);
    });
    ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(desktop.LaunchScreenSaver(1));
    EXPECT_GE(GetTickCount64() - start, 1000u);
    EXPECT_EQ(secondAnswers, 1); // the timer ran during the wait
    EXPECT_FALSE(secondResult);
    EXPECT_EQ(main.screenSaveRequests, 2);
    EXPECT_FALSE(desktop.Busy());
}

TEST_F(DesktopSettingsTest, WallpaperStyleValues) {
    TWinUtility desktop(PlatformNT);
    RegWriteString(HKEY_CURRENT_USER, Desktop, "WallpaperStyle", "2");
    RegWriteString(HKEY_CURRENT_USER, Desktop, "TileWallpaper", "1");
    EXPECT_EQ(desktop.GetWallpaperStyle(), 2);
    RegWriteString(HKEY_CURRENT_USER, Desktop, "WallpaperStyle", "0");
    EXPECT_EQ(desktop.GetWallpaperStyle(), 1);
    RegDeleteValue(HKEY_CURRENT_USER, Desktop, "WallpaperStyle");
    EXPECT_EQ(desktop.GetWallpaperStyle(), 0);

    desktop.SetWallpaperStyle(1);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, Desktop, "TileWallpaper", ""), "1");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, Desktop, "WallpaperStyle", ""), "0");
    EXPECT_EQ(desktop.GetWallpaperStyle(), 1);
    desktop.SetWallpaperStyle(2);
    EXPECT_EQ(desktop.GetWallpaperStyle(), 2);
}

// A 2 × 2 24-bit bitmap file.
void WriteSmallBitmap(const Text& path) {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = 2;
    info.biHeight = 2;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const size_t pixels = 16; // two rows of 6 bytes padded to 8
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels);
    Text bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(pixels, '\x40');
    WriteFileBytes(path, bytes);
}

Text CurrentWallpaper() {
    wchar_t buffer[MAX_PATH] = L"";
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, buffer, 0);
    return Narrow(buffer);
}

TEST_F(DesktopSettingsTest, WallpaperApplyMakesTheStoredBitmapCurrent) {
    TWinUtility desktop(PlatformNT);
    Text bitmap = JoinPath(GetWindowsDir(), "壁紙テスト.bmp");
    WriteSmallBitmap(bitmap);
    desktop.SetWallpaperFile(bitmap);
    EXPECT_EQ(desktop.GetWallpaper(), bitmap);
    desktop.ApplyWallpaper();
    EXPECT_TRUE(SameText(CurrentWallpaper(), bitmap)) << CurrentWallpaper();

    DeleteFileW(Widen(bitmap).c_str());
}

const unsigned char SmallPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x01, 0x03, 0x00, 0x00, 0x00, 0x48, 0x78, 0x9F, 0x67, 0x00,
    0x00, 0x00, 0x03, 0x50, 0x4C, 0x54, 0x45, 0x40, 0x80, 0xC0, 0x77, 0x07, 0xEA, 0xE1, 0x00, 0x00, 0x00,
    0x0C, 0x49, 0x44, 0x41, 0x54, 0x08, 0xD7, 0x63, 0x60, 0x60, 0x60, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01,
    0x27, 0x34, 0x27, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
};
const unsigned char SmallJpeg[] = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00,
    0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x10, 0x0B, 0x0C, 0x0E, 0x0C, 0x0A, 0x10, 0x0E, 0x0D,
    0x0E, 0x12, 0x11, 0x10, 0x13, 0x18, 0x28, 0x1A, 0x18, 0x16, 0x16, 0x18, 0x31, 0x23, 0x25, 0x1D, 0x28,
    0x3A, 0x33, 0x3D, 0x3C, 0x39, 0x33, 0x38, 0x37, 0x40, 0x48, 0x5C, 0x4E, 0x40, 0x44, 0x57, 0x45, 0x37,
    0x38, 0x50, 0x6D, 0x51, 0x57, 0x5F, 0x62, 0x67, 0x68, 0x67, 0x3E, 0x4D, 0x71, 0x79, 0x70, 0x64, 0x78,
    0x5C, 0x65, 0x67, 0x63, 0xFF, 0xDB, 0x00, 0x43, 0x01, 0x11, 0x12, 0x12, 0x18, 0x15, 0x18, 0x2F, 0x1A,
    0x1A, 0x2F, 0x63, 0x42, 0x38, 0x42, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63,
    0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63,
    0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63,
    0x63, 0x63, 0x63, 0x63, 0x63, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0x02, 0x00, 0x02, 0x03, 0x01, 0x22,
    0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xFF, 0xC4, 0x00, 0x15, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0xFF, 0xC4, 0x00, 0x14,
    0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0xFF, 0xC4, 0x00, 0x14, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0xFF, 0xC4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01,
    0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00, 0x88, 0x05, 0x07, 0x3F, 0xFF, 0xD9,
};

// A folder under the temporary folder whose name code page 932 cannot hold, with real
// pictures in it; removed with them.
class PictureFolder {
public:
    PictureFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"Zo\u00EB \u58C1\u7D19";
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~PictureFolder() {
        for (const std::wstring& file : files_)
            DeleteFileW(file.c_str());
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring Add(const std::wstring& name, const void* bytes, size_t size) {
        std::wstring file = path_ + L"\\" + name;
        HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        if (handle != INVALID_HANDLE_VALUE) {
            WriteFile(handle, bytes, static_cast<DWORD>(size), &written, nullptr);
            CloseHandle(handle);
        }
        files_.push_back(file);
        return written == size ? file : std::wstring();
    }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

std::wstring StoredWallpaper() {
    wchar_t value[MAX_PATH * 2] = L"";
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ, nullptr,
                     value, &bytes) != ERROR_SUCCESS)
        return L"<none>";
    return value;
}

TEST_F(DesktopSettingsTest, WallpaperEveryArrangementKeepsAJpegOrPngOnTheNtFamily) {
    PictureFolder folder;
    for (const std::wstring& picture :
         {folder.Add(L"\u5915\u713C\u3051 caf\u00E9.jpg", SmallJpeg, sizeof SmallJpeg),
          folder.Add(L"\uAE40\uBBFC\uC900.PNG", SmallPng, sizeof SmallPng)}) {
        ASSERT_FALSE(picture.empty());
        TWinUtility desktop(PlatformNT);
        desktop.SetWallpaperFile(picture);
        EXPECT_EQ(desktop.GetWallpaperW(), picture);
        for (int style : {WallpaperCentred, WallpaperTiled, WallpaperStretched}) {
            // What the tray program does for "全体", "中央" and the screen-sized arrangement.
            desktop.SetWallpaperStyle(style);
            desktop.ApplyWallpaper();
            EXPECT_EQ(StoredWallpaper(), picture) << style;
            EXPECT_EQ(desktop.GetWallpaperW(), picture) << style;
            EXPECT_EQ(desktop.GetWallpaperStyle(), style);
        }
    }
}

TEST_F(DesktopSettingsTest, WallpaperBitmapInAFolderBeyondCodePage932IsAppliedWhole) {
    PictureFolder folder;
    Text bitmapBytes;
    {
        Text scratch = JoinPath(GetWindowsDir(), "壁紙テスト.bmp");
        WriteSmallBitmap(scratch);
        bitmapBytes = ReadFileBytes(scratch).value_or(Text());
        DeleteFileW(Widen(scratch).c_str());
    }
    std::wstring bitmap = folder.Add(L"Zo\u00EB.bmp", bitmapBytes.data(), bitmapBytes.size());
    ASSERT_FALSE(bitmap.empty());
    TWinUtility desktop(PlatformNT);
    desktop.SetWallpaperFile(bitmap);
    desktop.SetWallpaperStyle(WallpaperTiled);
    desktop.ApplyWallpaper();
    EXPECT_EQ(StoredWallpaper(), bitmap); // not "Zoe.bmp" or "Zo?.bmp" from a CP932 round trip
    wchar_t current[MAX_PATH * 2] = L"";
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH * 2, current, 0);
    EXPECT_EQ(std::wstring(current), bitmap);
}

TEST_F(DesktopSettingsTest, WallpaperNinetyFiveFamilyShowsBitmapsOnly) {
    // A picture that is not a bitmap counts as none, so applying removes the wallpaper.
    TWinUtility desktop(PlatformWin95);
    desktop.SetWallpaperFile("C:\\photos\\旅行.jpg");
    EXPECT_EQ(desktop.GetWallpaper(), "");
    desktop.ApplyWallpaper();
    EXPECT_EQ(CurrentWallpaper(), "");
    EXPECT_EQ(StoredWallpaper(), L"");
}

} // namespace
