// Names CP932 cannot hold ("Zoë", "张伟", "한글") pass through the tray program whole: the
// wallpaper and screen saver it sets, the programs and snippets of its lists, the Startup
// items it parks, and the settings its window writes back. Such characters are written as
// escapes: the narrow execution character set (CP932) cannot spell them, even in the text
// that the test macros make of their arguments.
#include <windows.h>

#include <gtest/gtest.h>

#include "lumera_support.h"
#include "win/files.h"
#include "win/registry.h"

using namespace lumera_e2e;

namespace {

const std::wstring DesktopKey = L"Control Panel\\Desktop";
const std::wstring SettingsKey = L"Software\\Morivane\\Lumera\\";
const std::wstring ShellFoldersKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::optional<std::wstring> ReadWide(const std::wstring& key, const std::wstring& name) {
    return ReadWideValue(HKEY_CURRENT_USER, Narrow(key), Narrow(name));
}

// Writes a string value, or deletes it for none.
void WriteWide(const std::wstring& key, const std::wstring& name, const std::optional<std::wstring>& value) {
    if (value)
        RegWriteString(HKEY_CURRENT_USER, key, name, *value);
    else
        RegDeleteValue(HKEY_CURRENT_USER, Narrow(key), Narrow(name));
}

std::optional<std::wstring> Setting(const std::wstring& section, const std::wstring& name) {
    return ReadWide(SettingsKey + section, name);
}

void SetSetting(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
    WriteWide(SettingsKey + section, name, value);
}

// Two stored paths name the same file: the program may store a short form.
bool SameFile(const std::optional<std::wstring>& stored, const std::wstring& path) {
    if (!stored || stored->empty())
        return false;
    wchar_t a[MAX_PATH], b[MAX_PATH];
    DWORD lengthA = GetLongPathNameW(stored->c_str(), a, MAX_PATH);
    DWORD lengthB = GetLongPathNameW(path.c_str(), b, MAX_PATH);
    return lengthA > 0 && lengthA < MAX_PATH && lengthB > 0 && lengthB < MAX_PATH &&
           CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

std::optional<std::wstring> ClipboardText() {
    std::optional<std::wstring> text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// One submenu of the tray menu as it is now (opened and closed again).
std::vector<Text> CheckedIn(RunningLumera& lumera, const Text& submenu) {
    std::vector<robot::PopupMenu> menus;
    if (!lumera.OpenMenu().empty() && lumera.menus().Choose(submenu))
        menus = lumera.menus().WaitForMenus(2);
    lumera.menus().CloseAll();
    std::vector<Text> checked;
    if (menus.size() >= 2) {
        for (const robot::MenuEntry& entry : menus[1].items)
            if (entry.checked)
                checked.push_back(entry.caption);
    }
    return checked;
}

// Puts registry values a test changes back as they were.
class ValuesGuard {
public:
    ValuesGuard(std::wstring key, std::initializer_list<const wchar_t*> names) : key_(std::move(key)) {
        for (const wchar_t* name : names)
            saved_.emplace_back(name, ReadWide(key_, name));
    }
    ~ValuesGuard() {
        for (const auto& [name, value] : saved_)
            WriteWide(key_, name, value);
    }
    ValuesGuard(const ValuesGuard&) = delete;
    ValuesGuard& operator=(const ValuesGuard&) = delete;

private:
    std::wstring key_;
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

class NamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        SetSettingIntRaw("OtherSet", "SplashVisible", 0);
        CreateDirectoryW(pictures.c_str(), nullptr);
        CreateDirectoryW(savers.c_str(), nullptr);
        SetSetting(L"Wall", L"Path", pictures);
        SetSetting(L"Screen", L"Path", savers);
    }
    void TearDown() override {
        robot::ParkMouse();
        if (lumera.process.running()) {
            EXPECT_TRUE(lumera.Exit());
        }
        ResetSettings();
    }

    std::wstring In(const std::wstring& name) const { return Widen(installation.folder()) + L"\\" + name; }

    ValuesGuard desktop{DesktopKey, {L"Wallpaper", L"TileWallpaper", L"WallpaperStyle", L"SCRNSAVE.EXE"}};
    Installation installation{"names"};
    const std::wstring pictures = In(L"Zo\u00EB pictures");
    const std::wstring savers = In(L"\uD55C\uAE00 savers");
    RunningLumera lumera;
};

TEST_F(NamesTest, AListedWallpaperAndScreenSaverAreSetUnderTheirOwnNamesAndMarked) {
    const std::wstring picture = pictures + L"\\夕焼け caf\u00E9.jpg";
    const std::wstring saver = savers + L"\\\uD55C\uAE00 \uD654\uBA74.scr";
    WriteBytes(picture, "not shown, only named");
    WriteBytes(pictures + L"\\plain.bmp", "BM");
    WriteBytes(saver, "");
    WriteWide(DesktopKey, L"Wallpaper", L"");
    WriteWide(DesktopKey, L"SCRNSAVE.EXE", std::nullopt);
    ASSERT_TRUE(lumera.Start(installation));

    // The menu shows what CP932 can of the names; the robot reads them the same way.
    const Text pictureCaption = Narrow(L"夕焼け caf\u00E9");
    const Text saverCaption = Narrow(L"\uD55C\uAE00 \uD654\uBA74");
    ASSERT_TRUE(Choose(lumera, {"壁紙(&B)", pictureCaption}));
    EXPECT_TRUE(robot::WaitUntil([&] { return SameFile(ReadWide(DesktopKey, L"Wallpaper"), picture); }))
        << Narrow(ReadWide(DesktopKey, L"Wallpaper").value_or(L"(none)"));
    EXPECT_TRUE(
        robot::WaitUntil([&] { return CheckedIn(lumera, "壁紙(&B)") == std::vector<Text>{pictureCaption}; }));

    ASSERT_TRUE(Choose(lumera, {"ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", saverCaption}));
    EXPECT_TRUE(robot::WaitUntil([&] { return SameFile(ReadWide(DesktopKey, L"SCRNSAVE.EXE"), saver); }))
        << Narrow(ReadWide(DesktopKey, L"SCRNSAVE.EXE").value_or(L"(none)"));
    EXPECT_TRUE(robot::WaitUntil(
        [&] { return CheckedIn(lumera, "ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)") == std::vector<Text>{saverCaption}; }));

    // Switched off and on again, the screen saver comes back under its own name.
    ASSERT_TRUE(Choose(lumera, {"無効(&F)"}));
    EXPECT_TRUE(robot::WaitUntil([] { return !ReadWide(DesktopKey, L"SCRNSAVE.EXE"); }));
    ASSERT_TRUE(Choose(lumera, {"有効(&T)"}));
    EXPECT_TRUE(robot::WaitUntil([&] { return SameFile(ReadWide(DesktopKey, L"SCRNSAVE.EXE"), saver); }));
}

TEST_F(NamesTest, AScreenSaverChosenInTheDialogKeepsItsName) {
    const std::wstring elsewhere = In(L"Jos\u00E9");
    CreateDirectoryW(elsewhere.c_str(), nullptr);
    const std::wstring saver = elsewhere + L"\\\uD55C\uAE00 \uD654\uBA74.scr";
    WriteBytes(saver, "");
    WriteWide(DesktopKey, L"SCRNSAVE.EXE", std::nullopt);
    ASSERT_TRUE(lumera.Start(installation));

    ASSERT_TRUE(Choose(lumera, {"ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", "(その他)"}));
    HWND dialog = robot::WaitForWindow("#32770", "ｽｸﾘｰﾝｾｰﾊﾞｰ参照", lumera.process.id());
    ASSERT_TRUE(dialog);
    HWND nameBox = nullptr;
    robot::WaitUntil([&] {
        for (const robot::ControlInfo& control : robot::ListControls(dialog))
            if (control.className == "Edit" && control.id == 0x47C && control.visible)
                nameBox = control.window;
        return nameBox != nullptr;
    });
    ASSERT_TRUE(nameBox);
    // Set as UTF-16: the robot's own text calls go through CP932.
    SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saver.c_str()));
    ASSERT_TRUE(robot::AnswerMessageBox(dialog, IDOK));
    EXPECT_TRUE(robot::WaitUntil([&] { return SameFile(ReadWide(DesktopKey, L"SCRNSAVE.EXE"), saver); }))
        << Narrow(ReadWide(DesktopKey, L"SCRNSAVE.EXE").value_or(L"(none)"));
    // Not among the listed ones: "(その他)" carries the mark.
    EXPECT_TRUE(robot::WaitUntil(
        [&] { return CheckedIn(lumera, "ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)") == std::vector<Text>{"(その他)"}; }));
}

TEST_F(NamesTest, RunEntriesAndSnippetsBeyondCp932ReachTheSystemWhole) {
    const std::wstring folder = In(L"\u5F20\u4F1F tools");
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring program = folder + L"\\Zo\u00EB.exe";
    ASSERT_TRUE(CopyFileW(Widen(robot::ProgramFolder() + "probe.exe").c_str(), program.c_str(), FALSE));
    SetSettingIntRaw("Run", "Visible", 1);
    SetSetting(L"Run", L"Name1", L"Runner");
    SetSetting(L"Run", L"File1", program + L" -x Jos\u00E9");
    SetSetting(L"Run", L"File2", folder + L"\\missing \uD55C\uAE00.exe");
    SetSettingIntRaw("Clipboard", "Visible", 1);
    SetSetting(L"Clipboard", L"Name1", L"住所");
    SetSetting(L"Clipboard", L"Clip1", L"Jos\u00E9 \u5F20\u4F1F \uD55C\uAE00");
    ASSERT_TRUE(lumera.Start(installation));

    ASSERT_TRUE(Choose(lumera, {"実行(&R)", "Runner"}));
    ASSERT_TRUE(robot::WaitUntil([&] { return !ProbeLogLines(program).empty(); }))
        << "the program was not started";
    std::wstring line = ProbeLogLines(program)[0];
    EXPECT_NE(line.find(program), std::wstring::npos) << Narrow(line);
    EXPECT_NE(line.find(L" -x Jos\u00E9|"), std::wstring::npos) << Narrow(line);

    // A missing program is reported, not looked for under a "?" name that might exist.
    ASSERT_TRUE(Choose(lumera, {"実行(&R)", Narrow(L"missing \uD55C\uAE00")}));
    std::optional<robot::MessageBoxInfo> box = robot::WaitForMessageBox(lumera.process.id());
    ASSERT_TRUE(box);
    EXPECT_NE(box->text.find("ﾌｧｲﾙが見つかりません。"), Text::npos) << box->text;
    robot::AnswerMessageBox(box->window, IDOK);

    ASSERT_TRUE(Choose(lumera, {"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)", "住所"}));
    EXPECT_TRUE(robot::WaitUntil([] {
        return ClipboardText() == std::wstring(L"Jos\u00E9 \u5F20\u4F1F \uD55C\uAE00");
    })) << Narrow(ClipboardText().value_or(L"(none)"));
}

TEST_F(NamesTest, StartupItemsOfAProfileBeyondCp932AreParkedAndRestored) {
    ValuesGuard shellFolders{ShellFoldersKey, {L"Startup"}};
    const std::wstring profile = In(L"Jos\u00E9");
    const std::wstring startup = profile + L"\\Startup";
    const std::wstring parked = startup + L"[無効]";
    CreateDirectoryW(profile.c_str(), nullptr);
    CreateDirectoryW(startup.c_str(), nullptr);
    WriteWide(ShellFoldersKey, L"Startup", startup);
    WriteBytes(startup + L"\\\uD55C\uAE00 \uBA54\uBAA8.lnk", "memo");
    WriteBytes(startup + L"\\caf\u00E9.txt", "cafe notes");
    ASSERT_TRUE(lumera.Start(installation));

    ASSERT_TRUE(Choose(lumera, {"ｽﾀｰﾄｱｯﾌﾟ(&S)", "無効(&F)"}));
    ASSERT_TRUE(robot::WaitUntil([&] { return Exists(parked + L"\\\uD55C\uAE00 \uBA54\uBAA8.lnk"); }));
    EXPECT_TRUE(robot::WaitUntil([&] { return Exists(parked + L"\\caf\u00E9.txt"); }));
    EXPECT_FALSE(Exists(startup + L"\\\uD55C\uAE00 \uBA54\uBAA8.lnk"));
    EXPECT_EQ(ReadFileBytes(parked + L"\\\uD55C\uAE00 \uBA54\uBAA8.lnk"), std::string("memo"));
    EXPECT_TRUE(
        robot::WaitUntil([&] { return CheckedIn(lumera, "ｽﾀｰﾄｱｯﾌﾟ(&S)") == std::vector<Text>{"無効(&F)"}; }));

    ASSERT_TRUE(Choose(lumera, {"ｽﾀｰﾄｱｯﾌﾟ(&S)", "有効(&T)"}));
    ASSERT_TRUE(robot::WaitUntil([&] { return Exists(startup + L"\\\uD55C\uAE00 \uBA54\uBAA8.lnk"); }));
    EXPECT_TRUE(robot::WaitUntil([&] { return Exists(startup + L"\\caf\u00E9.txt"); }));
    EXPECT_EQ(ReadFileBytes(startup + L"\\caf\u00E9.txt"), std::string("cafe notes"));
    // Emptied, the twin goes away.
    EXPECT_TRUE(robot::WaitUntil([&] { return !Exists(parked); }));
}

TEST_F(NamesTest, ConfirmingTheSettingsWindowKeepsEntriesBeyondCp932) {
    const std::wstring document = In(L"\u5F20\u4F1F notes.txt");
    SetSettingIntRaw("Run", "Visible", 1);
    SetSetting(L"Run", L"Name1", L"Zo\u00EB");
    SetSetting(L"Run", L"File1", document);
    SetSetting(L"Run", L"File2", In(L"Jos\u00E9\\tool.exe") + L" -n \uD55C\uAE00");
    SetSettingIntRaw("Clipboard", "Visible", 1);
    SetSetting(L"Clipboard", L"Clip1", L"Jos\u00E9 \u5F20\u4F1F");
    const std::wstring wallPath = pictures + L";" + In(L"夕焼け caf\u00E9");
    SetSetting(L"Wall", L"Path", wallPath);
    ASSERT_TRUE(lumera.Start(installation));

    robot::ParkMouse();
    ASSERT_TRUE(Choose(lumera, {"設定(&S)"}));
    HWND form = robot::WaitForWindow("TLumeraMainForm", "", lumera.process.id());
    ASSERT_TRUE(form);
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(form) != FALSE; }));
    // The run page shown once, as a user would look at it, and left alone.
    ASSERT_TRUE(robot::SelectTab(robot::FindControl(form, "PageControl1"), "実行"));
    HWND grid = robot::FindControl(form, "StringGrid1");
    ASSERT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(grid) != FALSE; }));
    robot::Screenshot(form, "lumera-names-run-page.bmp");
    robot::ClickMouse(robot::FindControl(form, "BitBtn1"));
    ASSERT_TRUE(robot::WaitUntil([&] { return !IsWindowVisible(form); }));

    EXPECT_EQ(Setting(L"Run", L"Name1"), std::wstring(L"Zo\u00EB"));
    EXPECT_EQ(Setting(L"Run", L"File1"), document);
    // An unnamed entry is shown under its file's name, and confirming names it so.
    EXPECT_EQ(Setting(L"Run", L"Name2"), std::wstring(L"tool"));
    EXPECT_EQ(Setting(L"Run", L"File2"), In(L"Jos\u00E9\\tool.exe") + L" -n \uD55C\uAE00");
    EXPECT_EQ(Setting(L"Clipboard", L"Clip1"), std::wstring(L"Jos\u00E9 \u5F20\u4F1F"));
    EXPECT_EQ(Setting(L"Wall", L"Path"), wallPath);
    EXPECT_EQ(Setting(L"Screen", L"Path"), savers);
}

} // namespace
