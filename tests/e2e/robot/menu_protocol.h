// What the menu hook DLL and the robot share: a registered message that asks the hook to
// act inside the program's UI thread, and the layout of the named shared memory block in
// which it answers. Pop-up menus cannot be read from another process, so the hook reads
// them where they live.
#pragma once

#include <windows.h>

#include <cstdint>

namespace menu_protocol {

// Sent to any window of the hooked thread; the hook acts before the window sees it.
inline const wchar_t* const TriggerMessageName = L"Lumera.Robot.MenuHook";
// The block's name is this prefix followed by the program's process id in decimal.
inline const wchar_t* const BlockNamePrefix = L"Lumera.Robot.MenuBlock.";
// The DLL's exported WH_CALLWNDPROC procedure.
inline const char* const HookProcName = "LumeraMenuHookProc";

enum Command : std::int32_t {
    ReadMenus = 1,    // fill in the open pop-up menus
    EndMenus = 2,     // close every open menu of the thread (EndMenu)
    MeasureTexts = 3, // measure the texts of the target window's controls with their own fonts
};

constexpr int MaxMenus = 8;
constexpr int MaxItems = 64;
constexpr int MaxText = 128;

enum ItemFlags : std::uint32_t {
    Separator = 1,
    Checked = 2,
    Grayed = 4,
    HasSubmenu = 8,
    Highlighted = 16,
};

struct Item {
    wchar_t text[MaxText]; // as the menu holds it, with "\t" before a shortcut
    std::uint32_t flags;
    RECT rect; // on the screen
};

struct OpenMenu {
    std::uint64_t window; // the "#32768" window
    std::int32_t level;   // 0 for the menu that was popped up, 1 for its open submenu, ...
    std::int32_t itemCount;
    RECT windowRect;
    Item items[MaxItems];
};

constexpr int MaxTexts = 160;

// A control's text measured inside the program: GDI fonts do not cross processes.
struct MeasuredText {
    std::uint64_t window;
    wchar_t className[32];
    wchar_t text[MaxText];
    RECT rect;               // on the screen
    std::int32_t needWidth;  // pixels the text takes with the control's own font, box
    std::int32_t needHeight; // glyph and margins included
    std::int32_t haveWidth;  // pixels the control gives it
    std::int32_t haveHeight;
};

struct Block {
    volatile std::int32_t request;  // written last by the robot
    volatile std::int32_t answered; // set to request by the hook once the rest is written
    std::int32_t command;
    std::int32_t menuCount;
    OpenMenu menus[MaxMenus];
    std::uint64_t target; // MeasureTexts: the top-level window
    std::int32_t textCount;
    MeasuredText texts[MaxTexts];
};

} // namespace menu_protocol
