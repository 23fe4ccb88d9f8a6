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

void ReportMissing(const Text& path) {
    ShowAppMessage(path + "\n" + FileNotFound, "", MB_ICONSTOP | MB_OK);
}

void WriteList(const Text& section, const char* contentName, const std::vector<ListRow>& rows) {
    RegistrySettings store;
    store.WriteInt(section, "Visible", 1);
    WriteNumberedList(store, section, contentName, rows);
}

} // namespace

void Launching::WriteDefaultLists() {
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

void Launching::Run(const MenuItem& item) {
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

void Launching::CopySnippet(const MenuItem& item) {
    SetClipboardText(item.hint, host_.OwnerWindow());
}

void Launching::StartShutdownTool(int tag) {
    Text tool = JoinPath(ProgramFolder(), "Halto.exe");
    if (!FileExists(tool)) {
        ReportMissing(tool);
        return;
    }
    ShellOpen(tool, ShutdownSwitch(tag), "");
}

void Launching::ShowDisplayProperties() {
    ShellOpen("rundll32.exe", "shell32.dll,Control_RunDLL DESK.CPL",
              GetPlatformFamily() == PlatformNT ? GetSystemDir() : GetWindowsDir());
}
