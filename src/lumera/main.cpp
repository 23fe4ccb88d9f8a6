// The tray program's entry: the instance rule, the splash, the application-information
// block, the form and its message loop.
#include <windows.h>

#include "app.h"
#include "dialogs.h"
#include "instance_rules.h"
#include "main_form.h"
#include "paths.h"
#include "publisher.h"
#include "settings.h"
#include "splash.h"
#include "win/elevation.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/handles.h"
#include "win/process.h"
#include "win/system_libraries.h"

namespace {

// Hands over to the running instance: its window comes forward, restored when minimised.
void ActivateFirstInstance() {
    HWND first = FindWindowW(L"TLumeraMainForm", nullptr);
    if (!first)
        return;
    // A first instance whose icon never reached the tray shows its window instead.
    PostMessageW(first, HandOverMessage(), 0, 0);
    SetForegroundWindow(first);
    if (IsIconic(first))
        ShowWindow(first, SW_SHOWNORMAL);
}

void WriteApplicationInformation() {
    // Other programs of the suite find this one here: the path as the platform names it.
    std::wstring exePath = RunningProgramPath();
    SetSettingString("Setup", "Title", ProductTitle);
    SetSettingString("Setup", "Version", Publisher::ToolVersion);
    SetSettingString("Setup", "CopyRight", Publisher::Copyright);
    SetSettingWide("Setup", "ExePath", exePath);
    SetSettingWide("Setup", "ExeDir", ExtractFileDir(exePath));
    SetSettingWide("Setup", "ExeName", ExtractFileName(exePath));
}

} // namespace

int WINAPI wWinMain(HINSTANCE instanceHandle, HINSTANCE, PWSTR, int) {
    RestrictLibrarySearch();
    Application::Initialize(instanceHandle, ProductTitle);

    SlotScan scan =
        ScanInstanceSlots([](int slot) { return NamedMutexExists(Widen(InstanceMutexName(slot))); });
    if (scan.tooMany) {
        ShowAppMessage("同時に起動できるのは256個までです。", "", MB_ICONSTOP | MB_OK);
        return 0;
    }
    if (scan.otherInstances > 0 && GetSettingInt("OtherSet", "2ndStart", 0) == 0) {
        ActivateFirstInstance();
        return 0;
    }
    EnableBackupPrivilege();

    InstanceInfo instance;
    instance.slot = scan.slot;
    instance.otherInstances = scan.otherInstances;
    bool showSplash = scan.otherInstances == 0 && GetSettingFlag("OtherSet", "SplashVisible", true);
    instance.splashShown = showSplash;

    WriteApplicationInformation();
    Options().escCloses = GetSettingFlag("OtherSet", "EscToClose", true);
    Options().soundEnabled = GetSettingFlag("Sound", "Visible", true);

    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, Widen(InstanceMutexName(instance.slot)).c_str()));
    // An update of the suite closes this program to replace its file and starts it again
    // through the Restart Manager, which restarts only what registered; never after a crash,
    // a hang or a reboot (the Startup shortcut starts it at log-on).
    RegisterApplicationRestart(L"", RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
    int exitCode = 0;
    {
        // The hidden form and its tray window first: the splash costs a shown top-level window,
        // and nothing else may wait for it.
        TLumeraMainForm form(instance);
        if (!form.FormCreate())
            return 1;
        std::unique_ptr<TSplashWindow> splash;
        if (showSplash) {
            splash = std::make_unique<TSplashWindow>();
            splash->ShowNow();
        }
        form.onSplashDone = [&splash] { splash.reset(); };
        exitCode = Application::Run();
        CloseHelp(); // the viewer goes with the program, as the old one did
    }
    DisableAllPrivileges();
    return exitCode;
}
