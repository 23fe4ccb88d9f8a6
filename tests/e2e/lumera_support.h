// Helpers for the tray program's end-to-end tests: a copy of Lumera.exe in a folder of its
// own (the program looks beside itself for Tezzo.exe, Halto.exe, LogoDir, ...) and the tray
// menu opened and chosen from as a user would. What serves every program's tests is in the
// robot and the test support.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>

#include "robot.h"
#include "test_support.h"
#include "win/encoding.h"

namespace lumera_e2e {

// A folder C:\lumera-e2e\<name> holding a copy of Lumera.exe; removed again afterwards.
class Installation {
public:
    explicit Installation(const Text& name) : folder_("C:\\lumera-e2e\\" + name) {
        DeleteTree(folder_);
        CreateDirectoryW(L"C:\\lumera-e2e", nullptr);
        CreateDirectoryW(Widen(folder_).c_str(), nullptr);
        CopyFileW(Widen(BuiltProgram("Lumera.exe")).c_str(), Widen(exe()).c_str(), FALSE);
    }
    ~Installation() { DeleteTree(folder_); }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const Text& folder() const { return folder_; }
    Text exe() const { return file("Lumera.exe"); }
    Text file(const Text& name) const { return folder_ + "\\" + name; }
    // Puts a copy of the probe program (it logs how it was started to "<path>.log") here.
    Text InstallProbe(const Text& name) const {
        CopyFileW(Widen(robot::ProgramFolder() + "probe.exe").c_str(), Widen(file(name)).c_str(), FALSE);
        return file(name);
    }

private:
    Text folder_;
};

// Lumera running from an installation, with its tray menu at hand.
class RunningLumera {
public:
    RunningLumera() = default;
    RunningLumera(const RunningLumera&) = delete;
    RunningLumera& operator=(const RunningLumera&) = delete;
    // A program that ended by itself with anything but 0 (a crash on the way out: Wine
    // reports heap corruption as 0x80000101) fails the test, however it was ended.
    ~RunningLumera() {
        DWORD code = 0;
        if (!exitChecked_ && process.handle() && !process.running() &&
            GetExitCodeProcess(process.handle(), &code) && code != 0)
            ADD_FAILURE() << "Lumera.exe ended with exit code 0x" << std::hex << code;
    }

    // Starts the program and waits until its start-up has finished: the main form carries
    // the window property "LumeraReady" once the icon is in the tray. Nothing is clicked
    // before, since a tray message during the start-up is no user's doing.
    bool Start(const Installation& installation, const Text& arguments = "") {
        if (!process.Start(installation.exe(), arguments, installation.folder()))
            return false;
        menus_ = std::make_unique<robot::MenuReader>(process.id());
        return WaitUntilReady(process.id(), 20000);
    }

    // True once a main form of the process carries "LumeraReady".
    static bool IsReady(DWORD processId) {
        for (HWND form : robot::FindTopWindows("TLumeraMainForm", "", processId)) {
            if (GetPropW(form, L"LumeraReady"))
                return true;
        }
        return false;
    }
    static bool WaitUntilReady(DWORD processId, DWORD timeout) {
        return robot::WaitUntil([processId] { return IsReady(processId); }, timeout);
    }

    // Right-clicks the tray icon; the open menus, outermost first.
    std::vector<robot::PopupMenu> OpenMenu(DWORD timeout = robot::DefaultTimeout) {
        robot::SendTrayCallback(process.id(), 1, WM_RBUTTONDOWN);
        return menus_->WaitForMenus(1, timeout);
    }

    // Opens the tray menu and chooses along the captions ("壁紙(&B)", "(なし)"); the
    // menus open before the last choice are returned for inspection. Under load Wine can
    // lose a click on a menu; a choice that did not happen clicked nothing, so it is
    // tried again from the start.
    std::vector<robot::PopupMenu> Choose(std::initializer_list<Text> path) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            std::vector<robot::PopupMenu> seen = ChooseOnce(path);
            if (!seen.empty())
                return seen;
            menus_->CloseAll();
        }
        return {};
    }

    robot::MenuReader& menus() { return *menus_; }

private:
    std::vector<robot::PopupMenu> ChooseOnce(std::initializer_list<Text> path) {
        robot::ParkMouse();
        std::vector<robot::PopupMenu> seen = OpenMenu();
        if (seen.empty())
            return {};
        int level = 1;
        size_t index = 0;
        for (const Text& caption : path) {
            if (++index == path.size())
                break;
            if (!menus_->Choose(caption))
                return {};
            seen = menus_->WaitForMenus(++level);
            if (static_cast<int>(seen.size()) < level)
                return {};
        }
        // A command runs only once its menu has closed, and a submenu item opens one more
        // menu: while neither happens the click was lost, and clicking again cannot run the
        // command twice.
        for (int click = 0; click < 3; ++click) {
            if (!menus_->Choose(*(path.end() - 1)))
                return {};
            if (robot::WaitUntil([&] { return menus_->OpenCount() == 0 || menus_->OpenCount() > level; },
                                 3000))
                return seen;
        }
        return {};
    }

public:
    // Ends the program through "終了(&X)"; a success once it has gone with exit code 0.
    [[nodiscard]] ::testing::AssertionResult Exit() {
        Choose({"終了(&X)"});
        return ExpectExitCodeZero(15000);
    }

    // Waits for the program to end by whatever it was asked; a success for exit code 0.
    [[nodiscard]] ::testing::AssertionResult ExpectExitCodeZero(DWORD timeout = robot::DefaultTimeout) {
        std::optional<DWORD> code = process.WaitForExit(timeout);
        if (!code)
            return ::testing::AssertionFailure() << "Lumera.exe did not end";
        exitChecked_ = true;
        if (*code != 0)
            return ::testing::AssertionFailure() << "Lumera.exe ended with exit code 0x" << std::hex << *code;
        return ::testing::AssertionSuccess();
    }

    // Kills the program as a crash or the task manager would; true once it has gone.
    bool Kill() {
        process.Terminate();
        exitChecked_ = process.WaitForExit(10000).has_value();
        return exitChecked_;
    }

    robot::Process process;

private:
    std::unique_ptr<robot::MenuReader> menus_;
    bool exitChecked_ = false;
};

// Chooses along the captions of the tray menu (RunningLumera::Choose retries lost clicks).
inline bool Choose(RunningLumera& lumera, std::initializer_list<Text> path) {
    return !lumera.Choose(path).empty();
}

// The program's two tray icons, as its tray icon takes them from the program file.
class TrayIcons {
public:
    enum Which { ScreenSaverOn = 0, ScreenSaverOff = 1 };
    explicit TrayIcons(const Text& program)
        : icons_{robot::LoadTrayIcon(program, "MAINICON"), robot::LoadTrayIcon(program, "SUBICON")} {}
    ~TrayIcons() {
        for (HICON icon : icons_)
            if (icon)
                DestroyIcon(icon);
    }
    TrayIcons(const TrayIcons&) = delete;
    TrayIcons& operator=(const TrayIcons&) = delete;

    bool loaded() const { return icons_[0] && icons_[1]; }
    // Waits until the tray shows that icon (and not the other).
    bool WaitForShown(Which which, DWORD timeout = robot::DefaultTimeout) const {
        return robot::WaitUntil([&] { return robot::TrayShownIcon(icons_) == which; }, timeout);
    }

private:
    std::vector<HICON> icons_;
};

// Waits until the program's refresh timer has run at least `ticks` more times. A refresh that
// finds "Screen"/"Enabled" at 1 switches the screen saver on; with none on the system it
// switches it off instead and stores 0, so each round trip is one refresh seen through.
// Only for a system without a screen saver.
inline bool WaitForRefreshes(int ticks, DWORD timeout = robot::DefaultTimeout) {
    for (int tick = 0; tick < ticks; ++tick) {
        if (!SetSettingIntRaw("Screen", "Enabled", 1) ||
            !robot::WaitUntil([] { return SettingInt("Screen", "Enabled") == 0u; }, timeout))
            return false;
    }
    return true;
}

// The first main form of the process.
inline HWND MainForm(DWORD processId) {
    auto forms = robot::FindTopWindows("TLumeraMainForm", "", processId);
    return forms.empty() ? nullptr : forms.front();
}

// The short (8.3) form of a path; the path itself when it has none (missing file).
inline Text ShortForm(const Text& path) {
    wchar_t buffer[MAX_PATH];
    DWORD length = GetShortPathNameW(Widen(path).c_str(), buffer, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? path : Narrow(buffer);
}

// A stored value that names the file in its short form, as the program writes paths.
inline bool IsShortFormOf(const std::optional<Text>& value, const Text& path) {
    return value && CompareStringOrdinal(Widen(*value).c_str(), -1, Widen(ShortForm(path)).c_str(), -1,
                                         TRUE) == CSTR_EQUAL;
}

// A stored value that names the file, in whichever form.
inline bool SamePath(const std::optional<Text>& value, const Text& path) {
    return value && CompareStringOrdinal(Widen(ShortForm(*value)).c_str(), -1, Widen(ShortForm(path)).c_str(),
                                         -1, TRUE) == CSTR_EQUAL;
}

// A 2x2 24-bit bitmap of one colour.
inline void WriteBitmap(const Text& path, BYTE red, BYTE green, BYTE blue) {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    const DWORD rowBytes = 8; // 2 pixels * 3 bytes, padded to 4
    info.biSize = sizeof info;
    info.biWidth = 2;
    info.biHeight = 2;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = rowBytes * 2;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int row = 0; row < 2; ++row) {
        const char pixel[] = {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red)};
        bytes.append(pixel, 3);
        bytes.append(pixel, 3);
        bytes.append(2, '\0');
    }
    HANDLE handle = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
}

// The user's desktop values (wallpaper, screen saver), absent as nullopt.
const Text DesktopKey = "Control Panel\\Desktop";

inline std::optional<Text> DesktopValue(const Text& name) {
    return robot::ReadRegistryString(HKEY_CURRENT_USER, DesktopKey, name);
}

inline void SetDesktopValue(const Text& name, const std::optional<Text>& value) {
    SetRegistryString(HKEY_CURRENT_USER, DesktopKey, name, value);
}

// Column widths and row height of the settings window's entry grids as it lays them out
// (96 DPI, one-pixel grid lines, the grid's client edge of two pixels).
constexpr int ColWidths[] = {20, 100, 234};
constexpr int RowHeight = 24;

// Where a user clicks to make a cell of an entry grid current.
inline POINT CellCentre(HWND grid, int col, int row) {
    RECT rect = robot::ScreenRectOf(grid);
    int x = rect.left + 2;
    for (int c = 0; c < col; ++c)
        x += ColWidths[c] + 1;
    int y = rect.top + 2 + row * (RowHeight + 1);
    return {x + ColWidths[col] / 2, y + RowHeight / 2};
}

} // namespace lumera_e2e
