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

UINT HandOverMessage() {
    static UINT message = RegisterWindowMessageW(L"LumeraHandOver");
    return message;
}

ProgramOptions& Options() {
    static ProgramOptions options;
    return options;
}

FolderDefaults MachineFolderDefaults() {
    return {GetWindowsDirWide(), GetSystemDirWide(), JoinPath(RunningProgramFolder(), L"LogoDir")};
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
    menu_.CreateSkeleton(*this);
    TrayIcon1.OnDblClick = [this](TTrayIcon& icon) {
        if (ready_)
            TrayIconDblClick(icon);
    };
    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer2.SetHandler([this] { Timer2Timer(); });
    return true;
}

MenuItem::Handler TLumeraMainForm::Forward(void (TLumeraMainForm::*handler)(MenuItem&)) {
    return [this, handler](MenuItem& item) { (this->*handler)(item); };
}

void TLumeraMainForm::ShowTrayNote(const Text& note) {
    TrayIcon1.SetTipHelp(note.empty() ? Text(ProductTitle) : Text(ProductTitle) + "\n" + note);
}

void TLumeraMainForm::ForgetMarks() {
    desktop_.Forget();
    logos_.Forget();
}

void TLumeraMainForm::Timer1Timer() {
    Timer1.SetEnabled(false);
    FBusy = false;
    TrayIcon1.SetTipHelp(ProductTitle);
    Application::SetTitle(ProductTitle);
    menu_.SetRunDialogFile(JoinPath(RunningProgramFolder(), L"Tezzo.exe"));
    ForgetMarks();
    // Another running instance may have switched the screen saver off itself.
    if (instance.otherInstances == 0)
        desktop_.RestoreNoted();
    logos_.CompleteSettings(GetSettingWide("Logo", "Path", MachineFolderDefaults().logo));
    launching_.WriteDefaultLists();
    OpenDialog1.initialDir = GetSettingWide("History", "OpenDir", RunningProgramFolder());
    OpenDialog1.filterIndex = GetSettingInt("History", "OpenFilter", 1);
    // The icon first: nothing after it (the menu, the sound files) may keep the user waiting
    // for it. Without a shell tray yet the program still starts, and the refresh retries.
    Hide();
    TrayIcon1.SetIcon(Application::MainIcon());
    TrayIcon1.Loaded();
    EnsureTrayIcon();
    if (onSplashDone)
        onSplashDone();
    BuildTrayMenu();
    Timer2Timer();
    FindSoundFiles();
    SetText(ProductTitle);
    PlaceWindow();
    startedUp_ = true;
    if (TrayIcon1.inTray())
        MarkReady();
    Timer2.SetEnabled(true);
}

void TLumeraMainForm::Timer2Timer() {
    if (startedUp_ && !ready_ && EnsureTrayIcon())
        MarkReady();
    desktop_.Refresh();
    drives_.Poll();
}

void TLumeraMainForm::BuildTrayMenu() {
    RegistrySettings store;
    menuSettings_ = LoadMenuSettings(store, MachineFolderDefaults());
    if (menuSettings_.interval >= 1 && menuSettings_.interval <= 10000)
        Timer2.SetInterval(static_cast<unsigned>(menuSettings_.interval));
    bool ntFamily = GetPlatformFamily() == PlatformNT;
    menu_.ApplyVisibility(menuSettings_, ntFamily);
    desktop_.BuildSubmenus(menuSettings_, ntFamily, Forward(&TLumeraMainForm::Wall0RightClick),
                           Forward(&TLumeraMainForm::Screen0RightClick));
    const MenuItem::Handler logoChoices[LogoCount] = {Forward(&TLumeraMainForm::Logo0RightClick),
                                                      Forward(&TLumeraMainForm::Logow0RightClick),
                                                      Forward(&TLumeraMainForm::Logos0RightClick)};
    logos_.BuildSubmenus(menuSettings_.logoPath, logoChoices);
    drives_.BuildSubmenus(ntFamily, Forward(&TLumeraMainForm::Auto0RightClick),
                          Forward(&TLumeraMainForm::Kickon0RightClick),
                          Forward(&TLumeraMainForm::AutoEject0RightClick));
    menu_.BuildLists(Forward(&TLumeraMainForm::Run0RightClick), Forward(&TLumeraMainForm::Clip0RightClick));
    if (menu_.StartUpRight->visible)
        parking_.ShowState();
    menu_.Realize();
}

void TLumeraMainForm::TrayIconDblClick(TTrayIcon&) {
    desktop_.StartNow();
}

void TLumeraMainForm::ScreenProRightClick(MenuItem&) {
    // The properties show the current screen saver, not the none of the switched-off state.
    desktop_.SwitchOn();
    launching_.ShowDisplayProperties();
}

void TLumeraMainForm::EnsureSettingsWindow() {
    if (settingsCreated_)
        return;
    settingsCreated_ = true;
    settingsWindow_.Create(*this);
    settingsWindow_.FolderEntered(0);
    settingsWindow_.ApplyLayout();
    // Placed again now that its menu bar really exists, in case the bar is higher than
    // the start-up placement assumed; a window the user has seen stays where it is.
    if (startedUp_ && !IsWindowVisible(handle()))
        PlaceWindow();
}

void TLumeraMainForm::SetRightClick(MenuItem&) {
    EnsureSettingsWindow();
    RegistrySettings store;
    settingsWindow_.Fill(LoadTraySettings(store, MachineFolderDefaults()), menuSettings_,
                         GetPlatformFamily() == PlatformNT, Timer2.interval());
    if (IsIconic(handle()))
        ShowWindow(handle(), SW_RESTORE);
    Show();
    settingsWindow_.FocusIfOutside(handle());
}

void TLumeraMainForm::BitBtn1Click() {
    if (!settingsWindow_.CheckFolders())
        return;
    RegistrySettings store;
    StoreTraySettings(store, settingsWindow_.Read());

    desktop_.SwitchOn();
    Timer2.SetEnabled(false);
    ForgetMarks();
    BuildTrayMenu();
    Timer2.SetEnabled(true);
    Timer2Timer();
    Hide();
}

bool TLumeraMainForm::EnsureTrayIcon() {
    // After a refusal the component keeps the wish: quiet retries here, and its re-add when
    // the shell announces a new task bar.
    if (TrayIcon1.Visible())
        return TrayIcon1.EnsureAdded();
    // Quiet while the shell has no tray yet (an early log-on); a tray that refuses is told once.
    return FindWindowW(L"Shell_TrayWnd", nullptr) && TrayIcon1.SetVisible(true) && TrayIcon1.inTray();
}

void TLumeraMainForm::MarkReady() {
    ready_ = true;
    // Only now may the menu pop up: before, it could open empty and be rebuilt while open.
    TrayIcon1.RBPopupMenu = &menu_.popup();
    SetPropW(handle(), L"LumeraReady", reinterpret_cast<HANDLE>(1));
}

void TLumeraMainForm::FindSoundFiles() {
    std::vector<std::wstring> folders;
    for (const std::wstring& folder : {GetSetupPathWide("MediaPath"), GetWindowsDirWide(), GetSystemDirWide(),
                                       GetSetupPathWide("OldWinDir"), RunningProgramFolder()}) {
        if (!folder.empty())
            folders.push_back(folder);
    }
    auto find = [&folders](const std::wstring& name) {
        if (folders.empty() || FileExists(name))
            return name;
        for (const std::wstring& folder : folders) {
            std::wstring candidate = JoinPath(folder, name);
            if (FileExists(candidate))
                return candidate;
        }
        return name; // the platform's sound call looks for it by itself
    };
    Options().soundTada = find(L"tada.wav");
    Options().soundChord = find(L"chord.wav");
}

void TLumeraMainForm::PlaceWindow() {
    FitTexts(); // placed at the size it shows with
    RECT window;
    GetWindowRect(handle(), &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    if (!GetMenu(handle())) {
        // Placed before the settings window's menu bar exists: as high as it will be then.
        RECT client = {0, 0, 0, 0};
        RECT withBar = client;
        auto style = static_cast<DWORD>(GetWindowLongPtrW(handle(), GWL_STYLE));
        auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(handle(), GWL_EXSTYLE));
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
        AdjustWindowRectEx(&withBar, style, TRUE, exStyle);
        height += (withBar.bottom - withBar.top) - (client.bottom - client.top);
    }
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

std::wstring TLumeraMainForm::ChooseFile(const Text& filter, const Text& defaultExt, const Text& title,
                                         const std::wstring& proposedFile) {
    if (FBusy)
        return {};
    FBusy = true;
    OpenDialog1.filter = filter;
    OpenDialog1.filterIndex = 1;
    OpenDialog1.defaultExt = defaultExt;
    OpenDialog1.title = title;
    OpenDialog1.fileName = proposedFile;
    if (!proposedFile.empty())
        OpenDialog1.initialDir = ExtractFileDir(proposedFile);
    bool confirmed = OpenDialog1.Execute(handle());
    FBusy = false;
    return confirmed ? OpenDialog1.fileName : std::wstring();
}

bool TLumeraMainForm::FormCloseQuery() {
    if (IsWindowVisible(handle())) {
        Hide();
        return false;
    }
    if (GetSettingInt("OtherSet", "EndMsg", 0) == 1 &&
        ShowAppMessage("ﾌﾟﾛｸﾞﾗﾑを終了してもよろしいですか？", "", MB_ICONQUESTION | MB_YESNO) == IDNO)
        return false;
    WriteBackState();
    return true;
}

void TLumeraMainForm::WriteBackState() {
    if (wroteBack_)
        return;
    wroteBack_ = true;
    Timer1.SetEnabled(false);
    Timer2.SetEnabled(false);
    // Before the start-up nothing is known yet: writing would only lose the user's settings.
    if (!startedUp_)
        return;
    desktop_.RestoreAtEnd();
    drives_.Store();
    if (GetSettingInt("OtherSet", "PositionMemory", 1) == 1) {
        RECT window;
        GetWindowRect(handle(), &window);
        SetSettingInt("Position", InstanceValueName("MainTop", instance.slot), window.top);
        SetSettingInt("Position", InstanceValueName("MainLeft", instance.slot), window.left);
    }
    // Never opened: the stored or default layout is written as it would have been shown.
    EnsureSettingsWindow();
    settingsWindow_.StoreLayout();
    SetSettingWide("History", "OpenDir", OpenDialog1.initialDir);
    SetSettingInt("History", "OpenFilter", OpenDialog1.filterIndex);
}

void TLumeraMainForm::OnCloseRequest() {
    if (closing_ || !FormCloseQuery())
        return;
    EndProgram();
}

void TLumeraMainForm::EndProgram() {
    if (closing_)
        return;
    closing_ = true;
    TrayIcon1.SetVisible(false);
    DestroyWindow(handle());
    PostQuitMessage(0);
}

void TLumeraMainForm::FormEndSession() {
    // The system may end the process as soon as this returns: write now, ask nothing.
    WriteBackState();
    EndProgram();
}

void TLumeraMainForm::FormHandOver() {
    // Without a tray icon the user has no other way to reach this instance.
    if (startedUp_ && !TrayIcon1.Visible() && !closing_)
        SetRightClick(*menu_.SetRight);
}

LRESULT TLumeraMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            FormEndSession();
        return 0;
    default:
        if (message == HandOverMessage() && message != 0) {
            FormHandOver();
            return 0;
        }
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

bool TLumeraMainForm::FormKeyDown(WPARAM key) {
    if (HandleHelpShortcut(menu_.HelpRight, key))
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
