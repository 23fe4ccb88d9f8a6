// The tray program's one form: the settings window, and the owner of everything that lives
// while the program runs (tray icon and menu, desktop settings, dialogs, two timers).
// Its components are public, as a form's components are, so that each topic's file can
// work with them.
#pragma once

#include <map>
#include <memory>

#include "controls.h"
#include "dialogs.h"
#include "form.h"
#include "menu.h"
#include "settings_window.h"
#include "timer.h"
#include "tray_icon.h"
#include "tray_settings.h"
#include "win_utility.h"

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
    Text soundTada = "tada.wav";
    Text soundChord = "chord.wav";
};

ProgramOptions& Options();
// The folder of Lumera.exe.
Text ProgramFolder();
// The folder lists' defaults on this machine.
FolderDefaults MachineFolderDefaults();

class TLumeraMainForm : public Form {
public:
    explicit TLumeraMainForm(const InstanceInfo& instance);
    ~TLumeraMainForm() override;

    // Creates the window and its components (hidden, placed off screen).
    bool FormCreate();

    // ---- Lifecycle (start-up, refresh, closing) ----
    void Timer1Timer();
    void Timer2Timer();
    // True when the program may end; hides the settings window instead when it is shown.
    bool FormCloseQuery();
    bool FormKeyDown(WPARAM key);
    void ExitRightClick(MenuItem&);
    // The session ends (log-off, shutdown): the closing write-back without any question.
    void FormEndSession();
    // A later start handed over to this instance.
    void FormHandOver();
    // Releases the splash window at the end of the start-up.
    std::function<void()> onSplashDone;
    void PlaceWindow();
    // The file-open dialog, prepared as every "参照" of the program does it (filter index 1,
    // the proposed file and its folder). True with OpenDialog1.fileName chosen; a request
    // while another modal window of the menus is open is ignored.
    bool ChooseFile(const Text& filter, const Text& defaultExt, const Text& title, const Text& proposedFile);
    void FindSoundFiles();

    // ---- Tray menu ----
    void CreateTrayMenuSkeleton();
    void BuildTrayMenu();
    // Shows the items whose switches are on, and the separators of groups with an item.
    void ApplyMenuVisibility();
    // Realizes the tray menu now, or once it has closed when it is open.
    void RealizeTrayMenu();
    // The icon in the tray, retried quietly while the shell has no tray yet; true once
    // it is there.
    bool EnsureTrayIcon();
    // Appends one item per file of the patterns in the ";"-separated folders (each folder
    // pattern by pattern); returns how many.
    size_t ScanFolders(MenuItem& submenu, const Text& folderList, const std::vector<Text>& patterns,
                       const MenuItem::Handler& onClick);
    size_t ScanFolders(MenuItem& submenu, const Text& folderList, const Text& pattern,
                       const MenuItem::Handler& onClick) {
        return ScanFolders(submenu, folderList, std::vector<Text>{pattern}, onClick);
    }
    void TrayIconDblClick(TTrayIcon&);

    // ---- Wallpaper and screen saver ----
    void Wall0RightClick(MenuItem& item);
    void WallTileRightClick(MenuItem&);
    void WallCenterRightClick(MenuItem&);
    void WallStretchRightClick(MenuItem&);
    void Screen0RightClick(MenuItem& item);
    void ScreenTrueRightClick(MenuItem&);
    void ScreenFalseRightClick(MenuItem&);
    void ScreenStartRightClick(MenuItem&);
    void SwitchScreenSaverOn();
    void SwitchScreenSaverOff();
    // A start after an abrupt end puts back the screen saver that was switched off then.
    void RestoreNotedScreenSaver();
    // Marks and on/off state follow the system (part of every refresh).
    void RefreshDesktopMarks();

    // ---- Logo pictures (95 family) ----
    void CompleteLogoSettings(); // target defaults and the first-start copies
    void BuildLogoSubmenus();    // menu construction, with the marks of the installed files
    void Logo0RightClick(MenuItem& item);
    void Logow0RightClick(MenuItem& item);
    void Logos0RightClick(MenuItem& item);

    // ---- Kickon watch, run and eject (95 family) ----
    void BuildDriveSubmenus(); // menu construction: one item per removable or CD-ROM drive
    void Auto0RightClick(MenuItem& item);
    void Kickon0RightClick(MenuItem& item);
    void AutoEject0RightClick(MenuItem& item);
    void WatchDrives(); // part of every refresh
    void RunDriveAutorun(char driveLetter);
    void StoreWatchedDrives(); // at the program's end

    // ---- Run menu and clipboard ----
    void WriteDefaultLists(); // at the first start
    void Run0RightClick(MenuItem& item);
    void Clip0RightClick(MenuItem& item);

    // ---- Start-up folder items ----
    void ShowStartUpState();
    void StartUpFalseRightClick(MenuItem&);
    void StartUpTrueRightClick(MenuItem&);

    // ---- Shutdown and display properties ----
    void Halto0RightClick(MenuItem& item);
    void ScreenProRightClick(MenuItem&);

    // ---- Settings window ----
    void CreateSettingsControls();
    void ApplySettingsLayout(); // captions, grid headers, column widths, active tab
    void SetRightClick(MenuItem&);
    // Data in, data out: the stored settings into the controls, the controls' values back.
    void FillSettingsWindow(const TraySettings& stored);
    TraySettings ReadSettingsWindow() const;
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn4Click();
    void Edit1Enter(int tag);
    void StringGrid1SetEditText(TStringGrid& grid, int col, int row, const Text& value);
    void PageControl1Change();
    void StoreSettingsLayout(); // at the program's end

    // ---- Help items and about box ----
    void AddHelpItems(MenuItem& helpMenu);
    void HelpTopicItemClick(MenuItem&);
    void HelpUseItemClick(MenuItem&);
    void HelpHomeItemClick(MenuItem&);
    void HelpHome2ItemClick(MenuItem&);
    void HelpAboutItemClick(MenuItem&);

    // ---- Components ----
    InstanceInfo instance;
    TTrayIcon TrayIcon1{this};
    Menu TrayMenu;
    TWinUtility WinUtility1;
    OpenFileDialog OpenDialog1;
    Timer Timer1{1, true};
    Timer Timer2{1000, false};
    SettingsWindowControls settings;

    // Skeleton items of the tray menu (owned by TrayMenu).
    MenuItem* WallRight = nullptr;
    MenuItem* WallTileRight = nullptr;
    MenuItem* WallCenterRight = nullptr;
    MenuItem* WallStretchRight = nullptr;
    MenuItem* ScreenRight = nullptr;
    MenuItem* ScreenTrueRight = nullptr;
    MenuItem* ScreenFalseRight = nullptr;
    MenuItem* ScreenStartRight = nullptr;
    MenuItem* LogoRight = nullptr;
    MenuItem* LogowRight = nullptr;
    MenuItem* LogosRight = nullptr;
    MenuItem* AutoRight = nullptr;
    MenuItem* KickonRight = nullptr;
    MenuItem* AutoEjectRight = nullptr;
    MenuItem* RunRight = nullptr;
    MenuItem* Run0Right = nullptr;
    MenuItem* ClipRight = nullptr;
    MenuItem* StartUpRight = nullptr;
    MenuItem* StartUpTrueRight = nullptr;
    MenuItem* StartUpFalseRight = nullptr;
    MenuItem* HaltoRight = nullptr;
    MenuItem* ScreenProRight = nullptr;
    MenuItem* SetRight = nullptr;
    MenuItem* HelpRight = nullptr;
    MenuItem* ExitRight = nullptr;
    // The separators after the groups, top to bottom.
    MenuItem* Separator1 = nullptr;
    MenuItem* Separator2 = nullptr;
    MenuItem* Separator3 = nullptr;
    MenuItem* Separator4 = nullptr;
    MenuItem* Separator5 = nullptr;

    // ---- State ----
    TraySettings menuSettings; // what the tray menu was last built from
    bool FBusy = false;
    int FWallIndex = 0;
    int FScreenIndex = 0;
    int FLogoIndex = 0;
    int FLogowIndex = 0;
    int FLogosIndex = 0;
    int FLastEditTag = 0;
    Text FKnownWallpaper;
    Text FKnownScreenSaver;
    std::map<char, bool> FWatchChoices; // drive letter: watched, as chosen since the start
    bool closing = false;

protected:
    void OnCloseRequest() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Writes back what the program keeps between runs; only the first call does anything.
    void WriteBackState();
    void EndProgram();
    void MarkReady();

    bool wroteBack_ = false;
    bool ready_ = false;        // start-up done and the icon in the tray
    bool startedUp_ = false;    // the deferred initialisation has run
    bool trayMenuOpen_ = false; // the tray menu is being tracked
    bool realizePending_ = false;
    HWND refusingTray_ = nullptr; // the shell tray that last refused the icon
};

// The screen saver switched off from the menu, noted where a start after an abrupt end
// finds it ("Screen" section).
extern const char* const NotedScreenSaverValue;

// Posted by a later start to the running instance's form (registered message).
UINT HandOverMessage();
