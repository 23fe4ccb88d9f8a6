#include "tool_startup.h"

#include "app.h"
#include "dialogs.h"
#include "help_topics.h"
#include "paths.h"
#include "publisher.h"
#include "tool_settings.h"
#include "win/elevation.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/process.h"

namespace {

constexpr const char* ToolVersion = "Morivane Tool   Ver1.00";
bool escFlag = false;

bool OtherCopyRuns(const ToolIdentity& tool) {
    return NamedMutexExists(Widen(tool.mutexName));
}

void HandOver(const ToolIdentity& tool) {
    if (!tool.mainClass)
        return;
    HWND running = FindWindowW(Widen(tool.mainClass).c_str(), nullptr);
    if (!running)
        return;
    SetForegroundWindow(running);
    if (IsIconic(running))
        ShowWindow(running, SW_SHOWNORMAL);
}

// The first ShowWindow of a process takes the show command its starter asked for; a
// hidden throwaway window takes it instead, so the tool's windows appear as they decide.
void ConsumeStartShowCommand() {
    HWND sink = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!sink)
        return;
    ShowWindow(sink, SW_HIDE);
    DestroyWindow(sink);
}

void WriteSetupValues(const ToolIdentity& tool) {
    std::wstring exePath = RunningProgramPath();
    DataWriteString("Setup", "Title", tool.title);
    DataWriteString("Setup", "Version", ToolVersion);
    DataWriteString("Setup", "CopyRight", Publisher::Copyright);
    DataWriteWide("Setup", "ExePath", exePath);
    DataWriteWide("Setup", "ExeDir", ExtractFileDir(exePath));
    DataWriteWide("Setup", "ExeName", ExtractFileName(exePath));
}

} // namespace

ToolStartup::ToolStartup(HINSTANCE instance, const ToolIdentity& tool) {
    Application::Initialize(instance, tool.title);
    SetCurrentTool(tool);
    if (OtherCopyRuns(tool) && DataReadInteger("OtherSet", "2ndStart", tool.secondStartDefault) == 0) {
        HandOver(tool);
        return;
    }
    EnableBackupPrivilege();
    ConsumeStartShowCommand();
    WriteSetupValues(tool);
    escFlag = DataReadInteger("OtherSet", "EscToClose", 0) == 1;
    mutex_.reset(CreateMutexW(nullptr, FALSE, Widen(tool.mutexName).c_str()));
    proceed_ = true;
}

ToolStartup::~ToolStartup() {
    CloseHelp();
    if (mutex_)
        ReleaseMutex(mutex_.get());
}

void SetToolHelpFile() {
    std::wstring folder = RunningProgramFolder();
    if (!folder.empty())
        Application::SetHelpFile(JoinPath(folder, ManualFileName));
}

bool EscFlag() {
    return escFlag;
}

Text VersionBoxText(const ToolIdentity& tool) {
    const Text indent(20, ' ');
    return Text(tool.title) + "\n" + Text(10, ' ') + ToolVersion + "\n\n" + indent +
           Publisher::CopyrightFirst + "\n" + indent + Publisher::CopyrightSecond;
}

void ShowVersionBox() {
    ShowMessageBox(VersionBoxText(CurrentTool()), "ﾊﾞｰｼﾞｮﾝ情報", MB_ICONINFORMATION);
}
