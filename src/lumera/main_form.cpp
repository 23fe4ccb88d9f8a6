#include "main_form.h"

#include "app.h"
#include "help_items.h"
#include "instance_rules.h"
#include "paths.h"
#include "settings.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"

namespace {

constexpr int FormClientWidth = 386;
constexpr int FormClientHeight = 431;

} // namespace

ProgramOptions& Options() {
    static ProgramOptions options;
    return options;
}

Text ProgramFolder() {
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? Text() : ExtractFileDir(Narrow(self));
}

TLumeraMainForm::TLumeraMainForm(const InstanceInfo& instanceInfo) : instance(instanceInfo) {}

TLumeraMainForm::~TLumeraMainForm() {
    Timer1.SetEnabled(false);
    Timer2.SetEnabled(false);
}

bool TLumeraMainForm::FormCreate() {
    if (!CreateForm({"TLumeraMainForm", ProductTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                     FormClientWidth, FormClientHeight}))
        return false;
    // Off screen until it is placed, so it can never flash up.
    SetWindowPos(handle(), nullptr, 0, -1000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Application::SetMainWindow(handle());
    keyPreview = true;
    onKeyDown = [this](WPARAM key) { return FormKeyDown(key); };
    CreateTrayMenuSkeleton();
    CreateSettingsControls();
    TrayIcon1.RBPopupMenu = &TrayMenu;
    TrayIcon1.OnDblClick = [this](TTrayIcon& icon) { TrayIconDblClick(icon); };
    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer2.SetHandler([this] { Timer2Timer(); });
    return true;
}

void TLumeraMainForm::Timer1Timer() {
    Timer1.SetEnabled(false);
    FBusy = false;
    TrayIcon1.SetTipHelp(ProductTitle);
    Application::SetTitle(ProductTitle);
    Run0Right->hint = JoinPath(ProgramFolder(), "Tezzo.exe");
    FWallIndex = FScreenIndex = FLogoIndex = FLogowIndex = FLogosIndex = 0;
    FKnownWallpaper.clear();
    FKnownScreenSaver.clear();
    CompleteLogoSettings();
    WriteDefaultLists();
    BuildTrayMenu();
    OpenDialog1.initialDir = Widen(GetSettingString("History", "OpenDir", ProgramFolder()));
    OpenDialog1.filterIndex = GetSettingInt("History", "OpenFilter", 1);
    FindSoundFiles();
    if (onSplashDone)
        onSplashDone();

    Hide();
    TrayIcon1.SetIcon(Application::MainIcon());
    TrayIcon1.Loaded();
    if (!TrayIcon1.SetVisible(true))
        return; // the tray refused the icon; the user has been told
    Timer2Timer();
    FLastEditTag = 0;
    SetText(ProductTitle);
    ApplySettingsLayout();
    PlaceWindow();
    Timer2.SetEnabled(true);
    SetPropW(handle(), L"LumeraReady", reinterpret_cast<HANDLE>(1)); // start-up done, icon in the tray
}

void TLumeraMainForm::Timer2Timer() {
    // The form is the settings window: while it is hidden the program has no taskbar entry.
    RefreshDesktopMarks();
    WatchDrives();
}

void TLumeraMainForm::FindSoundFiles() {
    std::vector<Text> folders;
    for (const Text& folder : {GetSetupPath("MediaPath"), GetWindowsDir(), GetSystemDir(),
                               GetSetupPath("OldWinDir"), ProgramFolder()}) {
        if (!folder.empty())
            folders.push_back(folder);
    }
    auto find = [&folders](const Text& name) {
        if (folders.empty() || FileExists(name))
            return name;
        for (const Text& folder : folders) {
            Text candidate = JoinPath(folder, name);
            if (FileExists(candidate))
                return candidate;
        }
        return name; // the platform's sound call looks for it by itself
    };
    Options().soundTada = find("tada.wav");
    Options().soundChord = find("chord.wav");
}

void TLumeraMainForm::PlaceWindow() {
    RECT window;
    GetWindowRect(handle(), &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    long top = -1;
    long left = -1;
    if (GetSettingInt("OtherSet", "PositionMemory", 1) == 1) {
        top = GetSettingInt("Position", InstanceValueName("MainTop", instance.slot), -1);
        left = GetSettingInt("Position", InstanceValueName("MainLeft", instance.slot), -1);
    }
    SetWindowPos(handle(), nullptr, PlacedCoordinate(left, screenWidth, width),
                 PlacedCoordinate(top, screenHeight, height), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TLumeraMainForm::ChooseFile(const Text& filter, const Text& defaultExt, const Text& title,
                                 const Text& proposedFile) {
    if (FBusy)
        return false;
    FBusy = true;
    OpenDialog1.filter = filter;
    OpenDialog1.filterIndex = 1;
    OpenDialog1.defaultExt = defaultExt;
    OpenDialog1.title = title;
    OpenDialog1.fileName = Widen(proposedFile);
    if (!proposedFile.empty())
        OpenDialog1.initialDir = Widen(ExtractFileDir(proposedFile));
    bool chosen = OpenDialog1.Execute(handle());
    FBusy = false;
    return chosen;
}

bool TLumeraMainForm::FormCloseQuery() {
    if (IsWindowVisible(handle())) {
        Hide();
        return false;
    }
    if (GetSettingInt("OtherSet", "EndMsg", 0) == 1 &&
        ShowAppMessage("ﾌﾟﾛｸﾞﾗﾑを終了してもよろしいですか？", "", MB_ICONQUESTION | MB_YESNO) == IDNO)
        return false;

    Timer2.SetEnabled(false);
    WinUtility1.SetScreenSaver(GetShortPath(FKnownScreenSaver));
    SetSettingInt("Screen", "Enabled", 1);
    StoreWatchedDrives();
    if (GetSettingInt("OtherSet", "PositionMemory", 1) == 1) {
        RECT window;
        GetWindowRect(handle(), &window);
        SetSettingInt("Position", InstanceValueName("MainTop", instance.slot), window.top);
        SetSettingInt("Position", InstanceValueName("MainLeft", instance.slot), window.left);
    }
    StoreSettingsLayout();
    SetSettingString("History", "OpenDir", Narrow(OpenDialog1.initialDir));
    SetSettingInt("History", "OpenFilter", OpenDialog1.filterIndex);
    return true;
}

void TLumeraMainForm::OnCloseRequest() {
    if (!FormCloseQuery())
        return;
    closing = true;
    TrayIcon1.SetVisible(false);
    DestroyWindow(handle());
    PostQuitMessage(0);
}

bool TLumeraMainForm::FormKeyDown(WPARAM key) {
    if (HandleHelpShortcut(*this, key))
        return true;
    if (key != VK_ESCAPE)
        return false;
    // While hidden the form only has the focus for the tray menu's sake; Esc there closes
    // the menu, never the program.
    if (!IsWindowVisible(handle()))
        return true;
    if (!Options().escCloses)
        return false;
    Close();
    return true;
}

void TLumeraMainForm::ExitRightClick(MenuItem&) {
    Hide();
    Close();
}
