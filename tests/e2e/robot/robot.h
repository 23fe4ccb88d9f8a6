// The end-to-end robot: drives the suite's real programs from a test program, as a person
// would, through the Windows API only. It starts a program, finds its windows and controls
// (by class, caption, text or component name), reads and sets texts and states, clicks and
// types with real input, answers message boxes, sends tray callbacks, reads pop-up menus
// through its hook DLL, reads the registry and files afterwards, and takes screenshots.
//
// Actions return as soon as the input is queued; the program reacts in its own time, so
// checks that follow an action wait for their condition (WaitUntil) instead of sleeping.
// Texts are CP932 (Text), converted at the edge like everywhere in the suite.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "jjstring.h"

namespace robot {

constexpr DWORD DefaultTimeout = 10000; // ms; generous, since Wine can be slow to start a program

// Polls the condition every few milliseconds until it holds (true) or the time is up (false).
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout = DefaultTimeout);

// The folder of the running test program, with a trailing "\"; programs under test and the
// hook DLL are built beside it.
Text ProgramFolder();

// ---- Processes ---------------------------------------------------------------------------

// A program started by the test. Whatever happens to the test, the program does not outlive
// this object: the destructor asks its windows to close and then terminates it.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts the program; arguments are appended to its quoted path as they stand. A show
    // command of 0 or more is handed over as a shortcut's "run minimised" would (STARTUPINFO).
    bool Start(const Text& path, const Text& arguments = "", const Text& workingFolder = "",
               int showCommand = -1);
    // The same with UTF-16 text, for names beyond CP932.
    bool Start(const std::wstring& path, const std::wstring& arguments,
               const std::wstring& workingFolder = L"", int showCommand = -1);
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }
    bool running() const;
    // The exit code once the program has ended within the timeout.
    std::optional<DWORD> WaitForExit(DWORD timeout = DefaultTimeout);
    // Posts WM_CLOSE to the program's visible top-level windows.
    void CloseWindows();
    void Terminate();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// One entry of the system's process list.
struct RunningProcess {
    DWORD id;
    DWORD parent;
    std::wstring exeName; // the file name only
};
// Every process running now.
std::vector<RunningProcess> RunningProcesses();

// ---- Windows and controls ----------------------------------------------------------------

Text ClassOf(HWND window);
Text TextOf(HWND window);                    // WM_GETTEXT
bool SetText(HWND window, const Text& text); // WM_SETTEXT
// The same in UTF-16, for texts beyond CP932 (GetWindowTextW reads only another program's
// caption).
std::wstring WideTextOf(HWND window);
bool SetText(HWND window, const std::wstring& text);
Text NameOf(HWND window); // the component name ("Button1"), empty when it has none
DWORD ProcessOf(HWND window);
RECT ScreenRectOf(HWND window);

// Top-level windows (including hidden ones) matching a class and/or caption (empty matches
// any) and, when processId is not 0, belonging to that process.
std::vector<HWND> FindTopWindows(const Text& className, const Text& caption = "", DWORD processId = 0);
// Waits for a visible top-level window; nullptr when none appeared in time.
HWND WaitForWindow(const Text& className, const Text& caption = "", DWORD processId = 0,
                   DWORD timeout = DefaultTimeout);

struct ControlInfo {
    HWND window = nullptr;
    Text className, text, name;
    int id = 0;
    bool visible = false, enabled = false, checked = false;
    RECT rect = {}; // on the screen
};
// Every descendant of the window, in Z order depth first.
std::vector<ControlInfo> ListControls(HWND parent);
// nullptr when there is none.
HWND FindControl(HWND parent, const Text& name);
HWND FindControlByText(HWND parent, const Text& className, const Text& text);
HWND FindControlByIndex(HWND parent, const Text& className, int index); // 0-based, Z order
HWND WaitForControl(HWND parent, const Text& name, DWORD timeout = DefaultTimeout);

int CheckState(HWND button); // BM_GETCHECK: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
bool IsChecked(HWND button);
// The control with the keyboard focus in the window's thread.
HWND FocusedControl(HWND anyWindowOfThread);
bool WaitForText(HWND window, const Text& text, DWORD timeout = DefaultTimeout);

// The captions of a tab control's tabs, and selecting one of them as the user would (the
// program hears of the change).
std::vector<Text> TabCaptions(HWND tabControl);
bool SelectTab(HWND tabControl, const Text& caption);

// ---- Input -------------------------------------------------------------------------------

// Makes the window's top-level window the foreground window; true once it is.
bool BringToFront(HWND window);
// Posts BM_CLICK: the button's click runs in the program's own time.
bool Click(HWND button);
// A real left click (SendInput) at the centre of the window.
bool ClickMouse(HWND window);
// Moves the cursor (SendInput) and waits until it is there.
bool MoveMouse(POINT screen);
// Moves the cursor to the top-left corner of the screen, out of every window: a pop-up menu
// that opens under the cursor would otherwise select the item there, and open its submenu.
bool ParkMouse();
// A real click at a screen position with the left or right button.
bool ClickAt(POINT screen, bool rightButton = false);
// Gives the control the keyboard focus from inside its thread's input state.
bool Focus(HWND control);

enum Modifiers : unsigned { NoModifiers = 0, Shift = 1, Control = 2, Alt = 4 };
// Presses and releases a virtual key (VK_TAB, VK_RETURN, VK_ESCAPE, arrows, F-keys, ...)
// with modifiers. The target's top-level window is brought to the foreground first unless
// its thread already has it.
bool PressKey(HWND target, WORD virtualKey, unsigned modifiers = NoModifiers);
// Types the text as Unicode characters into whatever has the focus in the target's thread.
bool TypeText(HWND target, const Text& text);
// Characters code page 932 cannot hold arrive as typed.
bool TypeText(HWND target, const std::wstring& text);

// ---- Message boxes -----------------------------------------------------------------------

struct MessageBoxInfo {
    HWND window = nullptr;
    Text caption, text;
};
// Waits for a visible "#32770" dialog of the process and reads its caption and message.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, DWORD timeout = DefaultTimeout);
// Answers with a button (IDOK, IDYES, IDNO, IDCANCEL, ...); true once the box has gone.
bool AnswerMessageBox(HWND box, int buttonId, DWORD timeout = DefaultTimeout);
// The box's message in UTF-16, for names beyond CP932.
std::wstring WideMessage(HWND box);

// ---- Drops -------------------------------------------------------------------------------

// Drops the files on the window as the shell does: a DROPFILES block with the wide paths,
// placed in the program's memory (where the handle must be valid) and posted to the window.
bool PostDrop(HWND target, const std::vector<std::wstring>& paths);

// ---- Tray --------------------------------------------------------------------------------

constexpr UINT TrayCallbackMessage = 1224;
// The process's hidden "TCallbackWindow", or nullptr.
HWND FindTrayCallbackWindow(DWORD processId);
// Posts the shell's callback as if the icon had been clicked: mouseMessage is WM_LBUTTONDOWN,
// WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, ... (a right-button press pops up the tray menu).
bool SendTrayCallback(DWORD processId, UINT iconId, UINT mouseMessage);

// The shell keeps no icon handle another process could read, so the tray is read as the
// user sees it: each candidate icon is drawn at the tray's icon size and looked for in the
// shell's "Shell_TrayWnd" on screen, compared on its opaque pixels. The index of the one
// candidate found, or -1 when none or more than one is.
int TrayShownIcon(const std::vector<HICON>& candidates);
// Loads an icon resource of a program file at the tray's icon size (the image the program's
// tray icon takes); nullptr when the file has no such icon. The caller destroys it.
HICON LoadTrayIcon(const Text& programPath, const Text& resourceName);

// ---- Pop-up menus ------------------------------------------------------------------------

struct MenuEntry {
    Text text;     // as the menu holds it: "ﾄﾋﾟｯｸの検索(&H)\tF1"
    Text caption;  // before the tab: "ﾄﾋﾟｯｸの検索(&H)"
    Text shortcut; // after the tab: "F1"
    bool separator = false, checked = false, enabled = true, hasSubmenu = false, highlighted = false;
    RECT rect = {}; // on the screen
};

struct PopupMenu {
    HWND window = nullptr;
    int level = 0; // 0 for the menu that was popped up, 1 for its open submenu, ...
    RECT rect = {};
    std::vector<MenuEntry> items;
    // The item whose caption (with or without its shortcut) is the given text.
    const MenuEntry* Find(const Text& caption) const;
    // The non-separator captions in order.
    std::vector<Text> Captions() const;
};

// Visible "#32768" menu windows of the process.
int OpenMenuCount(DWORD processId);

// A control's text measured inside the program with the control's own font, against the
// room the control gives it (client pixels).
struct TextFit {
    HWND window = nullptr;
    Text className, text, name;
    RECT rect = {}; // on the screen
    SIZE need = {}, have = {};
    bool fits() const { return need.cx <= have.cx && need.cy <= have.cy; }
};

// Reads a program's open pop-up menus through the hook DLL (robot_menu_hook.dll beside the
// test program), which it installs into the thread showing the menu and removes again when
// destroyed.
class MenuReader {
public:
    explicit MenuReader(DWORD processId);
    ~MenuReader();
    MenuReader(const MenuReader&) = delete;
    MenuReader& operator=(const MenuReader&) = delete;

    bool ready() const { return block_ != nullptr && hookProc_ != nullptr; }
    // Every open pop-up menu, outermost first; empty when none is open.
    std::vector<PopupMenu> ReadAll();
    // The innermost open menu.
    std::optional<PopupMenu> ReadInnermost();
    // Waits until at least count menus are open, and reads them.
    std::vector<PopupMenu> WaitForMenus(int count = 1, DWORD timeout = DefaultTimeout);
    // Clicks the item with that caption, looking from the innermost menu outwards; for an
    // item with a submenu this opens the submenu. False when there is no such enabled item.
    bool Choose(const Text& caption);
    // Closes every open menu (Escape, then the hook's EndMenu if keys do not reach it).
    bool CloseAll(DWORD timeout = DefaultTimeout);
    // How many menus of the process are open now.
    int OpenCount() const;
    // The texts of the window's visible-styled controls (hidden pages included): statics,
    // check boxes, radio buttons, group box captions and buttons, measured by the hook.
    std::vector<TextFit> MeasureTexts(HWND topWindow);

private:
    bool Ask(HWND menuWindow, int command);
    bool HookThread(DWORD threadId);

    DWORD processId_;
    HMODULE dll_ = nullptr;
    HOOKPROC hookProc_ = nullptr;
    HANDLE mapping_ = nullptr;
    void* block_ = nullptr;
    int request_ = 0;
    std::map<DWORD, HHOOK> hooks_;
};

// ---- Registry and files ------------------------------------------------------------------

std::optional<Text> ReadRegistryString(HKEY root, const Text& key, const Text& valueName);
std::optional<DWORD> ReadRegistryDword(HKEY root, const Text& key, const Text& valueName);
std::optional<std::string> ReadFileBytes(const Text& path);
bool FileExists(const Text& path);

// ---- Screenshots -------------------------------------------------------------------------

// LUMERA_SCREENSHOTS (a Windows path, or a Unix path under Wine), else the test program's
// folder; with a trailing "\".
Text ScreenshotFolder();
// The screen's pixels in the area, row by row from its top left, as 0x00RRGGBB.
std::vector<uint32_t> ScreenPixels(const RECT& area);
// Saves the whole screen as a 24-bit BMP under the screenshot folder; the file's path, or
// empty on failure.
Text SaveScreenshot(const Text& fileName);
// Writes the screen into a BMP file at the path.
bool WriteScreenBmp(const Text& path);
// The window repainted as it shows now, then the screen saved as SaveScreenshot does.
Text Screenshot(HWND window, const Text& fileName);

} // namespace robot
