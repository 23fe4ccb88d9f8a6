#include "launch.h"

#include <windows.h>
#include <shellapi.h>

#include "../paths.h"
#include "app_window.h"
#include "encoding.h"
#include "file_facts.h"
#include "files.h"
#include "folders.h"
#include "profile_file.h"
#include "registry.h"

namespace {

const wchar_t* OptionalText(const std::wstring& wide) {
    return wide.empty() ? nullptr : wide.c_str();
}

bool EndsWithName(const Text& path, const Text& upperName) {
    return UpperCaseText(RightBytes(path, static_cast<long>(upperName.size()))) == upperName;
}

void RunAutorun(const Text& infPath) {
    Text folder = ExtractFileDir(infPath);
    Text open = IniReadString(infPath, "autorun", "open", "");
    Text icon = open.empty() ? IniReadString(infPath, "autorun", "icon", "") : Text();
    if (!open.empty() || !icon.empty()) {
        if (open.empty())
            open = folder;
        CommandLineParts command = SplitCommandLine(open);
        ShellOpen(command.program, command.parameters, folder);
        return;
    }
    // Neither key: show the file in the editor registered for INF files.
    Text editor = RegReadString(HKEY_CLASSES_ROOT, "inffile\\shell\\open\\Command", "", "notepad.exe");
    editor = RegReadString(HKEY_CLASSES_ROOT, "Lumera\\shell\\open(edit)\\Command", "", editor);
    ShellOpen(SplitProgram(editor), infPath, folder);
}

} // namespace

void ShellOpen(const Text& file, const Text& parameters, const Text& workingDir) {
    std::wstring wideFile = Widen(file);
    std::wstring wideParameters = Widen(parameters);
    std::wstring wideDir = Widen(workingDir);
    ShellExecuteW(ApplicationWindow(), L"OPEN", wideFile.c_str(), OptionalText(wideParameters),
                  OptionalText(wideDir), SW_SHOW);
}

CommandLineParts SplitCommandLine(const Text& commandLine) {
    return SplitCommandLine(commandLine, FileExists);
}

Text SplitProgram(const Text& commandLine) {
    return SplitProgram(commandLine, FileExists);
}

bool ExecuteInfOrTrack(const Text& path, bool openFolder) {
    if (EndsWithName(path, "AUTORUN.INF")) {
        RunAutorun(path);
        return true;
    }
    if (EndsWithName(path, "TRACK01.CDA")) {
        ShellOpen(JoinPath(GetWindowsDir(), "cdplayer.exe"), "-play " + path, "");
        return true;
    }
    if (openFolder) {
        ShellOpen(ExtractFileDir(path), "", "");
        return true;
    }
    return false;
}

Text GetOpenCommand(const Text& extension) {
    Text type = RegisteredFileType(extension);
    if (type.empty())
        return Text();
    return RegReadString(HKEY_CLASSES_ROOT, type + "\\shell\\open\\command", "", "");
}

void DelayWithMessages(unsigned milliseconds) {
    ULONGLONG start = GetTickCount64();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam)); // leave it for the main loop
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds - elapsed), QS_ALLINPUT);
    }
}
