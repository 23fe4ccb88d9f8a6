// Helpers for the tray program's Windows 95 family end-to-end tests: Wine reports Windows 98
// to Lumera.exe alone (AppDefaults), its mount manager makes a folder a CD-ROM or floppy
// drive whose medium is "in" while the folder exists, and the system's logo files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "../shared/win/wine_drive.h"
#include "lumera_support.h"

namespace lumera_e2e {

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

inline void RemoveFile(const Text& path) {
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(Widen(path).c_str());
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

// The checked captions of a popup menu.
inline std::vector<Text> Checked(const robot::PopupMenu& menu) {
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
inline robot::PopupMenu ReadSubmenu(RunningLumera& lumera, const Text& caption, const Text& screenshot = "") {
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
inline std::optional<bool> IsMarked(const robot::PopupMenu& menu, const Text& caption) {
    const robot::MenuEntry* item = menu.Find(caption);
    return item ? std::optional<bool>(item->checked) : std::nullopt;
}

inline size_t LogLines(const Text& probe) {
    return ProbeLogLines(probe).size();
}

inline Text LastLogLine(const Text& probe) {
    std::vector<std::wstring> lines = ProbeLogLines(probe);
    return lines.empty() ? "" : Narrow(lines.back());
}

// A "disc": the folder is prepared under another name and moved into place at once, so the
// watch never sees a drive whose AUTORUN.INF is still being written.
inline void InsertMedium(const Text& driveFolder, const Text& autorunOpen) {
    Text staging = driveFolder + "-staging";
    DeleteTree(staging);
    CreateDirectoryW(Widen(staging).c_str(), nullptr);
    WriteBytes(staging + "\\AUTORUN.INF", "[autorun]\r\nopen=" + autorunOpen + "\r\n");
    ASSERT_TRUE(MoveFileW(Widen(staging).c_str(), Widen(driveFolder).c_str()));
}

inline const Text QuestionText =
    "一部のﾘﾑｰﾊﾞﾌﾞﾙ機器(MO等)に設定すると不都合が生じ可能性があります。\n設定しますか？";

// A test of the 95 family: settings reset around it, the scratch folder there, and Wine
// reporting Windows 98 to the program while it runs.
class Win98Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        CreateDirectoryW(L"C:\\lumera-e2e", nullptr);
    }
    void TearDown() override { ResetSettings(); }
    Windows98Mode win98;
};

} // namespace lumera_e2e
