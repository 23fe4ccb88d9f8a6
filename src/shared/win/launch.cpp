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

bool EndsWithName(const std::wstring& path, const std::wstring& upperName) {
    if (path.size() < upperName.size())
        return false;
    for (size_t i = 0; i < upperName.size(); ++i) {
        wchar_t c = path[path.size() - upperName.size() + i];
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        if (c != upperName[i])
            return false;
    }
    return true;
}

void RunAutorun(const std::wstring& infPath) {
    std::wstring folder = ExtractFileDir(infPath);
    // The file's keys are CP932 text; the names they give meet the disk in UTF-16.
    std::wstring open = Widen(IniReadString(infPath, "autorun", "open", ""));
    std::wstring icon = open.empty() ? Widen(IniReadString(infPath, "autorun", "icon", "")) : std::wstring();
    if (!open.empty() || !icon.empty()) {
        if (open.empty())
            open = folder;
        WideCommandLineParts command = SplitCommandLine(open);
        ShellOpen(command.program, command.parameters, folder);
        return;
    }
    // Neither key: show the file in the editor registered for INF files.
    std::wstring editor =
        RegReadString(HKEY_CLASSES_ROOT, "inffile\\shell\\open\\Command", "", L"notepad.exe");
    editor = RegReadString(HKEY_CLASSES_ROOT, "Lumera\\shell\\open(edit)\\Command", "", editor);
    ShellOpen(SplitProgram(editor), infPath, folder);
}

} // namespace

void ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& workingDir) {
    ShellExecuteW(ApplicationWindow(), L"OPEN", file.c_str(), OptionalText(parameters),
                  OptionalText(workingDir), SW_SHOW);
}

void ShellOpen(const Text& file, const Text& parameters, const Text& workingDir) {
    ShellOpen(Widen(file), Widen(parameters), Widen(workingDir));
}

CommandLineParts SplitCommandLine(const Text& commandLine) {
    return SplitCommandLine(commandLine, [](const Text& path) { return FileExists(path); });
}

Text SplitProgram(const Text& commandLine) {
    return SplitCommandLine(commandLine).program;
}

WideCommandLineParts SplitCommandLine(const std::wstring& commandLine) {
    return SplitCommandLine(commandLine, [](const std::wstring& path) { return FileExists(path); });
}

std::wstring SplitProgram(const std::wstring& commandLine) {
    return SplitCommandLine(commandLine).program;
}

bool ExecuteInfOrTrack(const std::wstring& path, bool openFolder) {
    if (EndsWithName(path, L"AUTORUN.INF")) {
        RunAutorun(path);
        return true;
    }
    if (EndsWithName(path, L"TRACK01.CDA")) {
        ShellOpen(JoinPath(GetWindowsDirWide(), L"cdplayer.exe"), L"-play " + path, L"");
        return true;
    }
    if (openFolder) {
        ShellOpen(ExtractFileDir(path), L"", L"");
        return true;
    }
    return false;
}

bool ExecuteInfOrTrack(const Text& path, bool openFolder) {
    return ExecuteInfOrTrack(Widen(path), openFolder);
}

std::wstring GetOpenCommand(const std::wstring& extension) {
    std::wstring type = RegisteredFileType(extension);
    if (type.empty())
        return std::wstring();
    return RegReadString(HKEY_CLASSES_ROOT, type + L"\\shell\\open\\command", L"", L"");
}

Text GetOpenCommand(const Text& extension) {
    return NarrowOrEmpty(GetOpenCommand(Widen(extension)));
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
