// The Run menu and clipboard snippets, the shutdown tool and the display properties.
#include "launching.h"

#include "launch_rules.h"
#include "main_form.h"
#include "paths.h"
#include "publisher.h"
#include "settings.h"
#include "tray_settings.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/launch.h"

#include <shlobj.h>

namespace {

const char* const FileNotFound = "ﾌｧｲﾙが見つかりません。";

void ReportMissing(const std::wstring& path) {
    ShowAppMessage(path + L"\n" + Widen(FileNotFound), "", MB_ICONSTOP | MB_OK);
}

void WriteList(const Text& section, const char* contentName, const std::vector<ListRow>& rows) {
    RegistrySettings store;
    store.WriteInt(section, "Visible", 1);
    WriteNumberedList(store, section, contentName, rows);
}

} // namespace

void Launching::WriteDefaultLists() {
    std::wstring home = Widen(Publisher::HomePage);
    if (!SettingExists("Run", "Visible")) {
        std::wstring windows = GetWindowsDirWide();
        std::wstring system = GetSystemDirWide();
        std::wstring mail = L"mailto:" + Widen(Publisher::MailAddress);
        WriteList("Run", "File",
                  {{Widen("メモ帳"), JoinPath(windows, L"notepad.exe")},
                   {Widen("電卓"), DefaultCalculator(GetPlatformFamily(), windows, system)},
                   {Widen("Windowsﾌｫﾙﾀﾞ"), windows},
                   {Widen("Systemﾌｫﾙﾀﾞ"), system},
                   {home, home},
                   {mail, mail}});
    }
    if (!SettingExists("Clipboard", "Visible")) {
        WriteList("Clipboard", "Clip",
                  {{Widen("氏名"), Widen("(氏名)")},
                   {Widen("郵便番号"), Widen("(郵便番号)")},
                   {Widen("住所"), Widen("(住所)")},
                   {Widen("電話番号"), Widen("(電話番号)")},
                   {L"E-Mail(Morivane)", Widen(Publisher::MailAddress)},
                   {L"URL(Morivane)", home}});
    }
}

void Launching::Run(const MenuItem& item) {
    // The entry as stored, never its CP932 form: "张伟 notes.txt" must reach the shell whole.
    const std::wstring& target = item.target;
    if (target.empty())
        return;
    // A quoted program ("C:\Program Files\x.exe" -p) is a command line on a drive too.
    bool quotedOnDrive = target[0] == L'"' && BeginsWithDriveLetter(target.substr(1));
    if (BeginsWithDriveLetter(target) || quotedOnDrive) {
        WideCommandLineParts command = SplitCommandLine(target);
        if (!FileExists(command.program) && !DirectoryExists(command.program)) {
            ReportMissing(command.program);
            return;
        }
        ShellOpen(command.program, command.parameters, L"");
    } else {
        // Addresses, bare names found on the search path and network paths: the shell decides.
        ShellOpen(target, L"", L"");
    }
}

void Launching::CopySnippet(const MenuItem& item) {
    SetClipboardText(item.target, host_.OwnerWindow());
}

void Launching::StartShutdownTool(int tag) {
    std::wstring tool = JoinPath(RunningProgramFolder(), L"Halto.exe");
    if (!FileExists(tool)) {
        ReportMissing(tool);
        return;
    }
    ShellOpen(tool, Widen(ShutdownSwitch(tag)), L"");
}

void Launching::ShowDisplayProperties() {
    ShellOpen("rundll32.exe", "shell32.dll,Control_RunDLL DESK.CPL",
              GetPlatformFamily() == PlatformNT ? GetSystemDir() : GetWindowsDir());
}
