#include "win_utility.h"

#include <windows.h>

#include <algorithm>

#include "app.h"
#include "desktop_rules.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/handles.h"
#include "win/profile_file.h"
#include "win/registry.h"

namespace {

const Text DesktopKey = "\\Control Panel\\Desktop";

// The desktop key is opened without creating it: a user without one gets nothing written.
UniqueHKey OpenDesktopKey() {
    UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, key.receive()) !=
        ERROR_SUCCESS)
        key.release();
    return key;
}

void WriteDesktopValue(const wchar_t* name, const std::wstring& value) {
    if (UniqueHKey key = OpenDesktopKey()) {
        RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
}

void WriteDesktopValue(const wchar_t* name, const Text& value) {
    WriteDesktopValue(name, Widen(value));
}

Text ReadDesktopValue(const Text& name) {
    return RegReadString(HKEY_CURRENT_USER, DesktopKey, name, "");
}

// A string value as UTF-16, without the round trip through code page 932.
std::wstring ReadDesktopValueW(const wchar_t* name) {
    return RegReadString(HKEY_CURRENT_USER, L"\\Control Panel\\Desktop", name, L"");
}

// Wine's default window handling ignores SC_SCREENSAVE: there the file is started as the
// platform starts a screen saver, with "/s".
bool DefaultHandlingStartsScreenSavers() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return !(ntdll && GetProcAddress(ntdll, "wine_get_version"));
}

void StartScreenSaverFile(const std::wstring& file) {
    std::wstring commandLine = L"\"" + file + L"\" /s";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessW(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
}

} // namespace

TWinUtility::TWinUtility(PlatformFamily family) : family_(family) {}

PlatformFamily TWinUtility::DesktopSettingsFamily() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info))
        return PlatformWin95;
#pragma GCC diagnostic pop
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return PlatformOther;
    case VER_PLATFORM_WIN32_NT:
        return PlatformNT;
    default:
        return PlatformWin95;
    }
}

Text TWinUtility::GetScreenSaver() const {
    return Narrow(GetScreenSaverW());
}

std::wstring TWinUtility::GetScreenSaverW() const {
    std::wstring file = family_ == PlatformWin95
                            ? Widen(IniReadString("System.INI", "boot", "SCRNSAVE.EXE", ""))
                            : ReadDesktopValueW(L"SCRNSAVE.EXE");
    return HasExtension(file, L".SCR") ? file : std::wstring();
}

void TWinUtility::SetScreenSaver(const Text& file) {
    SetScreenSaver(Widen(file));
}

void TWinUtility::SetScreenSaver(const std::wstring& file) {
    if (file == GetScreenSaverW())
        return;
    if (family_ == PlatformWin95) {
        // "System.INI" is a CP932 file: a name it cannot hold goes in by its short form, and
        // without one the setting stays as it is rather than naming another file.
        Text narrow;
        if (NarrowExact(file, narrow) || NarrowExact(GetShortPath(file), narrow))
            IniWriteString("System.INI", "boot", "SCRNSAVE.EXE", narrow);
    } else if (!file.empty()) {
        WriteDesktopValue(L"SCRNSAVE.EXE", file);
    } else if (UniqueHKey key = OpenDesktopKey()) {
        RegDeleteValueW(key.get(), L"SCRNSAVE.EXE");
    }
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, file.empty() ? FALSE : TRUE, nullptr,
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

ScreenSaverPolicy TWinUtility::GetScreenSaverPolicy() const {
    if (family_ == PlatformWin95)
        return {};
    const Text key = "\\Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop";
    return ScreenSaverPolicyFromValues(RegReadString(HKEY_CURRENT_USER, key, "ScreenSaveActive", ""),
                                       RegReadString(HKEY_CURRENT_USER, key, "SCRNSAVE.EXE", ""),
                                       RegReadString(HKEY_CURRENT_USER, key, "ScreenSaverIsSecure", ""));
}

bool TWinUtility::LaunchScreenSaver(int delaySeconds) {
    if (GetScreenSaverW().empty() || busy_)
        return false;
    busy_ = true;
    ULONGLONG start = GetTickCount64();
    ULONGLONG delay = static_cast<ULONGLONG>(delaySeconds > 0 ? delaySeconds : 0) * 1000;
    for (ULONGLONG elapsed; (elapsed = GetTickCount64() - start) < delay;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(delay - elapsed), QS_ALLINPUT);
        Application::ProcessMessages();
    }
    SendMessageW(Application::MainWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    if (!DefaultHandlingStartsScreenSavers()) {
        // The file may have been changed or removed during the wait.
        std::wstring file = GetScreenSaverW();
        if (!file.empty())
            StartScreenSaverFile(file);
    }
    busy_ = false;
    return true;
}

Text TWinUtility::GetWallpaper() const {
    return Narrow(GetWallpaperW());
}

std::wstring TWinUtility::GetWallpaperW() const {
    std::wstring file = ReadDesktopValueW(L"Wallpaper");
    return WallpaperCounts(file, family_ == PlatformWin95) ? file : std::wstring();
}

void TWinUtility::SetWallpaperFile(const Text& file) {
    WriteDesktopValue(L"Wallpaper", file);
}

void TWinUtility::SetWallpaperFile(const std::wstring& file) {
    WriteDesktopValue(L"Wallpaper", file);
}

int TWinUtility::GetWallpaperStyle() const {
    return WallpaperStyleFromValues(ReadDesktopValue("WallpaperStyle"), ReadDesktopValue("TileWallpaper"));
}

void TWinUtility::SetWallpaperStyle(int style) {
    WallpaperStyleTexts texts = WallpaperStyleToValues(style);
    WriteDesktopValue(L"TileWallpaper", texts.tileWallpaper);
    WriteDesktopValue(L"WallpaperStyle", texts.wallpaperStyle);
}

void TWinUtility::ApplyWallpaper() {
    std::wstring file = GetWallpaperW();
    file.resize(std::max<size_t>(file.size() + 1, MAX_PATH), L'\0');
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, file.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}
