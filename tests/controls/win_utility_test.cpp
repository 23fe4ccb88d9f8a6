#include "win_utility.h"

#include <gtest/gtest.h>

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

// The main window of the test: notes the screen-saver requests it gets.
class MainForm : public Form {
public:
    MainForm() {
        CreateForm({"TWinUtilityTestForm", "test", WS_OVERLAPPEDWINDOW, 100, 100});
        Application::SetMainWindow(handle());
    }
    ~MainForm() override { Application::SetMainWindow(nullptr); }
    int screenSaveRequests = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_SCREENSAVE) {
            ++screenSaveRequests;
            return 0;
        }
        return Form::HandleMessage(message, wParam, lParam);
    }
};

TEST(DesktopScreenSaver, OnlyScrFilesCount) {
    TWinUtility desktop(PlatformNT);
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, Desktop, "SCRNSAVE.EXE", "C:\\WINDOWS\\SYSTEM\\LOGON.EXE"));
    EXPECT_EQ(desktop.GetScreenSaver(), "");
    EXPECT_FALSE(desktop.LaunchScreenSaver(0));
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, Desktop, "SCRNSAVE.EXE", "C:\\ソ\\星.SCR"));
    EXPECT_EQ(desktop.GetScreenSaver(), "C:\\ソ\\星.SCR");
}

TEST(DesktopScreenSaver, SettingWritesAndSwitchesOnOrOff) {
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

TEST(DesktopScreenSaver, NinetyFiveFamilyUsesSystemIni) {
    Text systemIni = JoinPath(GetWindowsDir(), "System.INI");
    auto saved = ReadFileBytes(systemIni);
    TWinUtility desktop(PlatformWin95);
    ASSERT_TRUE(IniWriteString("System.INI", "boot", "SCRNSAVE.EXE", "C:\\WINDOWS\\SYSTEM\\夜.scr"));
    ASSERT_TRUE(IniWriteString("System.INI", "boot", "shell", "Explorer.exe"));
    EXPECT_EQ(desktop.GetScreenSaver(), "C:\\WINDOWS\\SYSTEM\\夜.scr");
    desktop.SetScreenSaver("");
    EXPECT_EQ(IniReadString("System.INI", "boot", "SCRNSAVE.EXE", "x"), "");
    EXPECT_EQ(IniReadString("System.INI", "boot", "shell", ""), "Explorer.exe"); // other lines kept
    EXPECT_FALSE(ScreenSaverActive());
    if (saved)
        WriteFileBytes(systemIni, *saved);
}

TEST(DesktopScreenSaver, LaunchWaitsResponsivelyAndRefusesASecondStart) {
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

TEST(DesktopWallpaper, StyleValues) {
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

TEST(DesktopWallpaper, ApplyMakesTheStoredBitmapCurrent) {
    TWinUtility desktop(PlatformNT);
    Text bitmap = JoinPath(GetWindowsDir(), "壁紙テスト.bmp");
    WriteSmallBitmap(bitmap);
    desktop.SetWallpaperFile(bitmap);
    EXPECT_EQ(desktop.GetWallpaper(), bitmap);
    desktop.ApplyWallpaper();
    EXPECT_TRUE(SameText(CurrentWallpaper(), bitmap)) << CurrentWallpaper();

    // A picture that is not a bitmap counts as none, so applying removes the wallpaper.
    desktop.SetWallpaperFile("C:\\photos\\旅行.jpg");
    EXPECT_EQ(desktop.GetWallpaper(), "");
    desktop.ApplyWallpaper();
    EXPECT_EQ(CurrentWallpaper(), "");
    DeleteFileW(Widen(bitmap).c_str());
}

} // namespace
