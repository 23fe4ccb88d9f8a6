// An icon in the notification area. The shell's mouse messages for it become events, or
// pop up the menu assigned to the button. All icons of a process share one hidden
// "TCallbackWindow" that receives the shell's callback message 1224 and finds the icon by
// its id (1 to 99).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "gdi.h"
#include "menu.h"
#include "timer.h"
#include "tray_rules.h"
#include "win/handles.h"

class Form;

enum class MouseButton { Left, Right, Middle };
// The one button flag of the shift state; keyboard modifiers are not reported.
enum class ShiftState { None, Left, Right, Middle };

constexpr UINT TrayCallbackMessage = WM_USER + 200; // 1224
extern const char* const TrayIconError; // "タスクトレイにアイコンを登録できません。"

class TTrayIcon {
public:
    // The owner form is brought to the foreground before a menu pops up.
    explicit TTrayIcon(Form* owner);
    ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    // 0 when the process already had 99 icons; such an icon never shows.
    int id() const { return id_; }

    HIMAGELIST AnimateIcons() const { return animateIcons_; }
    void SetAnimateIcons(HIMAGELIST icons); // not owned
    int AnimateRate() const { return animateRate_; }
    void SetAnimateRate(int milliseconds);
    bool AutoPopup = true;
    HICON Icon() const { return icon_.get(); }
    // Keeps a copy at the tray's size (the small icon size for the DPI), made anew from the
    // given icon when the icon is added again, so the given icon must outlive its use (a
    // shared icon from LoadIcon does); null releases the icon and hides it.
    void SetIcon(HICON icon);
    Menu* LBPopupMenu = nullptr;
    Menu* RBPopupMenu = nullptr;
    const Text& TipHelp() const { return tip_; }
    void SetTipHelp(const Text& tip);
    // Whether the icon is meant to be in the tray; the wish outlives a refusal by the shell
    // (which may simply not run yet), see EnsureAdded.
    bool Visible() const { return visible_; }
    // False when the shell refuses the icon for now. The add is retried every second, quietly
    // (at log-on the shell may still be starting); a refusal that lasts a minute is told.
    bool SetVisible(bool visible);
    // Adds the icon when it is meant to be visible, once the owner is set up.
    void Loaded();
    // Quietly tries the add again when the icon is meant to be visible but is not in the
    // tray; true when it is in the tray now.
    bool EnsureAdded();
    bool inTray() const { return added_; }

    // Steps through AnimateIcons at AnimateRate until stopped.
    void StartAnimation();
    void StopAnimation();
    bool Animating() const { return animating_; }

    std::function<void(TTrayIcon&)> OnDblClick;
    std::function<void(TTrayIcon&, MouseButton, ShiftState, int x, int y)> OnMouseDown;
    std::function<void(TTrayIcon&, ShiftState, int x, int y)> OnMouseMove;
    std::function<void(TTrayIcon&, MouseButton, ShiftState, int x, int y)> OnMouseUp;

    // The shell's callback for this icon (from the shared window); ignored until the icon
    // is in the tray. With version 4 the menu opens on WM_CONTEXTMENU (the mouse's or the
    // keyboard's) at the anchor the shell gives.
    void HandleCallback(const TrayCallback& callback);
    // Explorer started again: a visible icon adds itself anew.
    void Readd();

private:
    enum class TrayOperation { Add, Modify, Delete };
    bool Notify(TrayOperation operation);
    // An add that failed: quiet retries, the message when they keep failing.
    void AddRefused();
    void RetryAdd();
    void ButtonDown(Menu* menu, MouseButton button, ShiftState shift, int x, int y);
    void NextFrame();

    Form* owner_;
    int id_ = 0;
    HIMAGELIST animateIcons_ = nullptr;
    int animateRate_ = 500;
    HICON source_ = nullptr; // as given to SetIcon, not owned
    UniqueIcon icon_;
    Text tip_ = "TipHelp";
    bool visible_ = false;
    bool loaded_ = false;
    bool added_ = false;
    int retries_ = 0;
    Timer retryTimer_{1000, false};
    bool animating_ = false;
    int frameIndex_ = 0;
    UniqueIcon frameIcon_;
    Timer frameTimer_{500, false};
};
