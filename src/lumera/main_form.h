// The tray program's one form: the settings window, and the owner of everything that lives
// while the program runs. Each topic (tray menu, desktop marks, logo pictures, drive watch,
// launching, Startup parking, settings window) is a small class that owns its state and
// reaches the form only through LumeraHost; the form keeps the handler names of its menus
// and controls as forwarders, and the life cycle: start-up, refresh and the write-back.
#pragma once

#include <map>
#include <memory>

#include "controls.h"
#include "desktop_marks.h"
#include "dialogs.h"
#include "drive_rules.h"
#include "drive_watch.h"
#include "form.h"
#include "launching.h"
#include "logo_pictures.h"
#include "lumera_host.h"
#include "menu.h"
#include "settings_window.h"
#include "startup_parking.h"
#include "timer.h"
#include "tray_icon.h"
#include "tray_menu.h"
#include "tray_settings.h"
#include "win/encoding.h"

// What the program entry found out about the running instances.
struct InstanceInfo {
    int slot = 0;           // InstanceSlot
    int otherInstances = 0; // OtherInstances
    bool splashShown = false;
};

// Settings read once at start.
struct ProgramOptions {
    bool escCloses = true;    // EscCloses
    bool soundEnabled = true; // SoundEnabled
    std::wstring soundTada = L"tada.wav";
    std::wstring soundChord = L"chord.wav";
};

ProgramOptions& Options();
// The folder lists' defaults on this machine.
FolderDefaults MachineFolderDefaults();

class TLumeraMainForm : public Form, private LumeraHost {
    // First, so that the references below bind to a constructed menu.
    class TrayMenu menu_;

public:
    explicit TLumeraMainForm(const InstanceInfo& instance);
    ~TLumeraMainForm() override;

    // Creates the window and its components (hidden, placed off screen).
    bool FormCreate();
    // Releases the splash window at the end of the start-up.
    std::function<void()> onSplashDone;

    // ---- Lifecycle ----
    void Timer1Timer();
    void Timer2Timer();
    // True when the program may end; hides the settings window instead when it is shown.
    bool FormCloseQuery();
    bool FormKeyDown(WPARAM key);
    // The session ends (log-off, shutdown): the closing write-back without any question.
    void FormEndSession();
    // A later start handed over to this instance.
    void FormHandOver();
    void ExitRightClick(MenuItem&);

    // ---- Tray menu ----
    void BuildTrayMenu();
    void TrayIconDblClick(TTrayIcon&);

    // ---- Wallpaper and screen saver ----
    void Wall0RightClick(MenuItem& item) { desktop_.ChooseWallpaper(item); }
    void WallTileRightClick(MenuItem& item) { desktop_.ChooseArrangement(item, 1); }
    void WallCenterRightClick(MenuItem& item) { desktop_.ChooseArrangement(item, 0); }
    void WallStretchRightClick(MenuItem& item) { desktop_.ChooseArrangement(item, 2); }
    void Screen0RightClick(MenuItem& item) { desktop_.ChooseScreenSaver(item); }
    void ScreenTrueRightClick(MenuItem&) { desktop_.SwitchOn(); }
    void ScreenFalseRightClick(MenuItem&) { desktop_.SwitchOff(); }
    void ScreenStartRightClick(MenuItem&) { desktop_.StartNow(); }

    // ---- Logo pictures (95 family) ----
    void Logo0RightClick(MenuItem& item) { logos_.Choose(StartupLogo, item); }
    void Logow0RightClick(MenuItem& item) { logos_.Choose(RestartLogo, item); }
    void Logos0RightClick(MenuItem& item) { logos_.Choose(ShutdownLogo, item); }

    // ---- Kickon watch, run and eject (95 family) ----
    void Auto0RightClick(MenuItem& item) { drives_.ToggleWatch(item); }
    void Kickon0RightClick(MenuItem& item) { drives_.RunAutorun(DriveLetter(item.tag)); }
    void AutoEject0RightClick(MenuItem& item) { drives_.Eject(item.tag); }

    // ---- Run menu and clipboard ----
    void Run0RightClick(MenuItem& item) { launching_.Run(item); }
    void Clip0RightClick(MenuItem& item) { launching_.CopySnippet(item); }

    // ---- Start-up folder items ----
    void StartUpFalseRightClick(MenuItem&) { parking_.Park(); }
    void StartUpTrueRightClick(MenuItem&) { parking_.Restore(); }

    // ---- Shutdown and display properties ----
    void Halto0RightClick(MenuItem& item) { launching_.StartShutdownTool(item.tag); }
    void ScreenProRightClick(MenuItem&);

    // ---- Settings window ----
    void SetRightClick(MenuItem&);
    void BitBtn1Click();
    void BitBtn2Click() { Close(); }
    void BitBtn4Click() { settingsWindow_.Browse(); }
    void Edit1Enter(int tag) { settingsWindow_.FolderEntered(tag); }
    void StringGrid1SetEditText(TStringGrid& grid, int, int row, const Text& value) {
        settingsWindow_.GridEdited(grid, row, value);
    }
    void PageControl1Change() { settingsWindow_.PageChanged(); }

    // ---- Help items and about box ----
    void AddHelpItems(MenuItem& helpMenu);
    void HelpTopicItemClick(MenuItem&);
    void HelpUseItemClick(MenuItem&);
    void HelpHomeItemClick(MenuItem&);
    void HelpHome2ItemClick(MenuItem&);
    void HelpAboutItemClick(MenuItem&);

protected:
    void OnCloseRequest() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // LumeraHost
    HWND OwnerWindow() const override { return handle(); }
    std::wstring ChooseFile(const Text& filter, const Text& defaultExt, const Text& title,
                            const std::wstring& proposedFile) override;
    void ShowTrayIcon(HICON icon) override { TrayIcon1.SetIcon(icon); }
    void ShowTrayNote(const Text& note) override;

    void FindSoundFiles();
    // The settings window's controls are made when first needed: most starts never show it.
    void EnsureSettingsWindow();
    void PlaceWindow();
    // Forgets every mark and known file before the menu is built anew.
    void ForgetMarks();
    // A menu item's handler that runs one of the form's handlers.
    MenuItem::Handler Forward(void (TLumeraMainForm::*handler)(MenuItem&));
    // The icon in the tray, retried quietly while the shell has no tray yet; true once
    // it is there.
    bool EnsureTrayIcon();
    void MarkReady();
    // Writes back what the program keeps between runs; only the first call does anything.
    void WriteBackState();
    void EndProgram();

    InstanceInfo instance;
    TTrayIcon TrayIcon1{this};
    OpenFileDialog OpenDialog1;
    Timer Timer1{1, true};
    Timer Timer2{1000, false};

    TraySettings menuSettings_; // what the tray menu was last built from
    DesktopMarks desktop_{*this, menu_};
    LogoPictures logos_{*this, menu_};
    DriveWatch drives_{menu_};
    Launching launching_{*this};
    StartupParking parking_{menu_};
    SettingsWindow settingsWindow_{*this};

    bool FBusy = false;
    bool closing_ = false;
    bool wroteBack_ = false;
    bool ready_ = false;     // start-up done and the icon in the tray
    bool startedUp_ = false; // the deferred initialisation has run
    bool settingsCreated_ = false;
};

// Posted by a later start to the running instance's form (registered message).
UINT HandOverMessage();
