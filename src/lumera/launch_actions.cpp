// The Run menu and clipboard snippets, parking and restoring the Startup folder's items,
// the shutdown tool and the display properties.
#include "launch_rules.h"
#include "main_form.h"
#include "paths.h"
#include "publisher.h"
#include "settings.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/handles.h"
#include "win/launch.h"

#include <shlobj.h>

namespace {

const char* const FileNotFound = "ﾌｧｲﾙが見つかりません。";

void ReportMissing(const Text& path) {
    ShowAppMessage(path + "\n" + FileNotFound, "", MB_ICONSTOP | MB_OK);
}

void WriteList(const Text& section, const char* contentName, const std::vector<std::pair<Text, Text>>& rows) {
    SetSettingInt(section, "Visible", 1);
    int n = 0;
    for (const auto& [name, content] : rows) {
        Text number = std::to_string(++n);
        SetSettingString(section, "Name" + number, name);
        SetSettingString(section, contentName + number, content);
    }
}

// The names of the files directly in a folder that are moved when parking or restoring.
std::vector<Text> MovedEntries(const Text& folder) {
    std::vector<Text> names;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Widen(JoinPath(folder, "*.*")).c_str(), &found));
    if (!search)
        return names;
    do {
        Text name = Narrow(found.cFileName);
        if (IsMovedStartupEntry(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0))
            names.push_back(name);
    } while (FindNextFileW(search.get(), &found));
    return names;
}

// Moves each file under its own name; a name already taken on the other side keeps both
// files where they are.
void MoveEntries(const Text& from, const Text& to) {
    for (const Text& name : MovedEntries(from))
        MoveFileW(Widen(JoinPath(from, name)).c_str(), Widen(JoinPath(to, name)).c_str());
}

bool HoldsShortcut(const Text& folder) {
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Widen(JoinPath(folder, "*.lnk")).c_str(), &found));
    if (!search)
        return false;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return true;
    } while (FindNextFileW(search.get(), &found));
    return false;
}

void MarkStartUp(TLumeraMainForm& form, bool parked) {
    form.StartUpFalseRight->SetChecked(parked);
    form.StartUpTrueRight->SetChecked(!parked);
}

} // namespace

void TLumeraMainForm::WriteDefaultLists() {
    if (!SettingExists("Run", "Visible")) {
        Text windows = GetWindowsDir();
        Text mail = Text("mailto:") + Publisher::MailAddress;
        WriteList("Run", "File",
                  {{"メモ帳", JoinPath(windows, "notepad.exe")},
                   {"電卓", JoinPath(windows, "calc.exe")},
                   {"Windowsﾌｫﾙﾀﾞ", windows},
                   {"Systemﾌｫﾙﾀﾞ", GetSystemDir()},
                   {Publisher::HomePage, Publisher::HomePage},
                   {mail, mail}});
    }
    if (!SettingExists("Clipboard", "Visible")) {
        WriteList("Clipboard", "Clip",
                  {{"氏名", "(氏名)"},
                   {"郵便番号", "(郵便番号)"},
                   {"住所", "(住所)"},
                   {"電話番号", "(電話番号)"},
                   {"E-Mail(Morivane)", Publisher::MailAddress},
                   {"URL(Morivane)", Publisher::HomePage}});
    }
}

void TLumeraMainForm::Run0RightClick(MenuItem& item) {
    const Text& target = item.hint;
    if (target.empty())
        return;
    if (BeginsWithDriveLetter(target)) {
        CommandLineParts command = SplitCommandLine(target);
        if (!FileExists(command.program) && !DirectoryExists(command.program)) {
            ReportMissing(command.program);
            return;
        }
        ShellOpen(command.program, command.parameters, "");
    } else {
        // Addresses, bare names found on the search path and network paths: the shell decides.
        ShellOpen(target, "", "");
    }
}

void TLumeraMainForm::Clip0RightClick(MenuItem& item) {
    SetClipboardText(item.hint, handle());
}

void TLumeraMainForm::ShowStartUpState() {
    Text parked = DisabledStartupFolder(GetShellFolder("Startup"));
    MarkStartUp(*this, !parked.empty() && HoldsShortcut(parked));
}

void TLumeraMainForm::StartUpFalseRightClick(MenuItem&) {
    Text startup = RemoveBackslash(GetShellFolder("Startup"));
    Text parked = DisabledStartupFolder(startup);
    if (!parked.empty()) {
        ForceDirectories(parked);
        if (DirectoryExists(parked))
            MoveEntries(startup, parked);
    }
    MarkStartUp(*this, true);
}

void TLumeraMainForm::StartUpTrueRightClick(MenuItem&) {
    Text startup = RemoveBackslash(GetShellFolder("Startup"));
    Text parked = DisabledStartupFolder(startup);
    if (!parked.empty()) {
        MoveEntries(parked, startup);
        RemoveDirectoryW(Widen(parked).c_str()); // only when nothing stayed behind
    }
    MarkStartUp(*this, false);
}

void TLumeraMainForm::Halto0RightClick(MenuItem& item) {
    Text tool = JoinPath(ProgramFolder(), "Halto.exe");
    if (!FileExists(tool)) {
        ReportMissing(tool);
        return;
    }
    ShellOpen(tool, ShutdownSwitch(item.tag), "");
}

void TLumeraMainForm::ScreenProRightClick(MenuItem&) {
    // The properties show the current screen saver, not the none of the switched-off state.
    SwitchScreenSaverOn();
    ShellOpen("rundll32.exe", "shell32.dll,Control_RunDLL DESK.CPL",
              GetPlatformFamily() == PlatformNT ? GetSystemDir() : GetWindowsDir());
}
