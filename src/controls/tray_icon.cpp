#include "tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "app.h"
#include "dialogs.h"
#include "dpi.h"
#include "form.h"
#include "tray_rules.h"
#include "win/elevation.h"
#include "win/encoding.h"

const char* const TrayIconError = "タスクトレイにアイコンを登録できません。";

namespace {

// Process-wide: the icons by id in the order they were registered, and the one window
// the shell talks to.
std::vector<std::pair<int, TTrayIcon*>>& RegisteredIcons() {
    static std::vector<std::pair<int, TTrayIcon*>> icons;
    return icons;
}

TTrayIcon* FindIcon(int id) {
    for (auto& [iconId, icon] : RegisteredIcons()) {
        if (iconId == id)
            return icon;
    }
    return nullptr;
}

class TCallbackWindow : public Window {
public:
    explicit TCallbackWindow(HWND owner) {
        WindowParams params;
        params.className = "TCallbackWindow";
        params.style = WS_POPUP;
        params.exStyle = WS_EX_TOOLWINDOW;
        params.parent = owner;
        Create(params);
        taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
        // An elevated copy would never hear of Explorer's restart, and lose its icon.
        if (taskbarCreated_)
            AllowMessagesFromDesktop(handle(), {taskbarCreated_});
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TrayCallbackMessage) {
            TrayCallback callback = DecodeTrayCallback(wParam, lParam);
            if (TTrayIcon* icon = FindIcon(callback.id))
                icon->HandleCallback(callback);
            return 0;
        }
        if (message == taskbarCreated_ && taskbarCreated_ != 0) {
            // Copy: re-adding may show a message box that pumps messages.
            auto icons = RegisteredIcons();
            for (auto& [id, icon] : icons)
                icon->Readd();
            return 0;
        }
        return DefaultHandling(message, wParam, lParam);
    }

private:
    UINT taskbarCreated_ = 0;
};

std::unique_ptr<TCallbackWindow>& CallbackWindow() {
    static std::unique_ptr<TCallbackWindow> window;
    return window;
}

// The shell shows tray icons at the small icon size of the DPI; a copy made at that size
// looks right where the shell would otherwise shrink the large icon itself.
HICON TrayCopy(HICON icon, HWND window) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static auto getSystemMetricsForDpi = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetSystemMetricsForDpiFn>(
                            reinterpret_cast<void*>(GetProcAddress(user32, "GetSystemMetricsForDpi")))
                      : nullptr;
    }();
    int width = 0, height = 0;
    if (getSystemMetricsForDpi) {
        UINT dpi = static_cast<UINT>(DpiScale::ForWindow(window).dpi());
        width = getSystemMetricsForDpi(SM_CXSMICON, dpi);
        height = getSystemMetricsForDpi(SM_CYSMICON, dpi);
    }
    if (width <= 0 || height <= 0) {
        width = GetSystemMetrics(SM_CXSMICON);
        height = GetSystemMetrics(SM_CYSMICON);
    }
    // From the resource when the icon has one (the best image of that size), else scaled.
    HANDLE copy = CopyImage(icon, IMAGE_ICON, width, height, LR_COPYFROMRESOURCE);
    if (!copy)
        copy = CopyImage(icon, IMAGE_ICON, width, height, 0);
    return copy ? static_cast<HICON>(copy) : CopyIcon(icon);
}

ShiftState ShiftOf(MouseButton button) {
    return button == MouseButton::Left    ? ShiftState::Left
           : button == MouseButton::Right ? ShiftState::Right
                                          : ShiftState::Middle;
}

} // namespace

TTrayIcon::TTrayIcon(Form* owner) : owner_(owner) {
    std::vector<int> ids;
    for (auto& entry : RegisteredIcons())
        ids.push_back(entry.first);
    id_ = NextTrayIconId(ids);
    if (id_ == 0)
        return; // a hundredth icon: it can never be added
    RegisteredIcons().emplace_back(id_, this);
    if (!CallbackWindow())
        CallbackWindow() = std::make_unique<TCallbackWindow>(owner ? owner->handle() : nullptr);
    frameTimer_.SetHandler([this] { NextFrame(); });
    retryTimer_.SetHandler([this] { RetryAdd(); });
}

TTrayIcon::~TTrayIcon() {
    if (added_)
        Notify(TrayOperation::Delete);
    auto& icons = RegisteredIcons();
    icons.erase(
        std::remove_if(icons.begin(), icons.end(), [this](auto& entry) { return entry.second == this; }),
        icons.end());
    if (icons.empty())
        CallbackWindow().reset();
}

bool TTrayIcon::Notify(TrayOperation operation) {
    if (id_ == 0 || !CallbackWindow())
        return false;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = CallbackWindow()->handle();
    data.uID = static_cast<UINT>(id_);
    data.uCallbackMessage = TrayCallbackMessage;
    data.hIcon = animating_ && frameIcon_ ? frameIcon_.get() : icon_.get();
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    if (!tip_.empty()) {
        data.uFlags |= NIF_TIP;
        std::wstring tip = Widen(tip_);
        tip.copy(data.szTip, std::min<size_t>(tip.size(), 63));
    }
    switch (operation) {
    case TrayOperation::Add:
        if (!visible_)
            return false;
        if (!Shell_NotifyIconW(NIM_ADD, &data))
            return false;
        added_ = true;
        retryTimer_.SetEnabled(false);
        // Keyboard opening and the anchor of the click come with version 4; a shell without
        // it keeps talking the earlier way, which the callback window also understands.
        data.uVersion = NOTIFYICON_VERSION_4;
        Shell_NotifyIconW(NIM_SETVERSION, &data);
        return true;
    case TrayOperation::Modify:
        return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    case TrayOperation::Delete:
        Shell_NotifyIconW(NIM_DELETE, &data);
        added_ = false;
        return true;
    }
    return false;
}

void TTrayIcon::SetAnimateIcons(HIMAGELIST icons) {
    if (icons == animateIcons_ || animating_)
        return;
    frameIndex_ = 0;
    animateIcons_ = icons;
}

void TTrayIcon::SetAnimateRate(int milliseconds) {
    if (milliseconds == animateRate_)
        return;
    animateRate_ = std::max(milliseconds, 100);
    if (animating_)
        frameTimer_.SetInterval(static_cast<unsigned>(animateRate_));
}

void TTrayIcon::SetIcon(HICON icon) {
    if (icon && icon == icon_.get())
        return;
    if (!icon) {
        source_ = nullptr;
        icon_.reset();
        SetVisible(false);
        return;
    }
    source_ = icon;
    icon_.reset(TrayCopy(icon, CallbackWindow() ? CallbackWindow()->handle() : nullptr));
    if (added_ && !Notify(TrayOperation::Modify))
        ShowMessageBox(TrayIconError, "", MB_ICONSTOP);
}

void TTrayIcon::SetTipHelp(const Text& tip) {
    Text cut = CutTip(tip);
    if (cut == tip_)
        return;
    tip_ = cut;
    if (added_ && !Notify(TrayOperation::Modify))
        ShowMessageBox(TrayIconError, "", MB_ICONSTOP);
}

// A refused add keeps the wish to be visible: the shell's tray may simply not be there yet
// (at log-on), and "TaskbarCreated" or EnsureAdded adds the icon once it is.
bool TTrayIcon::SetVisible(bool visible) {
    if (visible == visible_ && (!visible || added_ || !loaded_))
        return true;
    visible_ = visible && icon_;
    if (!loaded_)
        return true;
    if (visible_) {
        if (!added_ && !Notify(TrayOperation::Add)) {
            AddRefused();
            return false;
        }
    } else {
        retryTimer_.SetEnabled(false);
        if (added_)
            Notify(TrayOperation::Delete);
    }
    return true;
}

void TTrayIcon::Loaded() {
    loaded_ = true;
    if (visible_ && !added_ && !Notify(TrayOperation::Add))
        AddRefused();
}

void TTrayIcon::AddRefused() {
    if (retryTimer_.enabled())
        return;
    retries_ = 0;
    retryTimer_.SetEnabled(true);
}

void TTrayIcon::RetryAdd() {
    if (EnsureAdded() || !visible_) {
        retryTimer_.SetEnabled(false);
        return;
    }
    if (++retries_ < 60)
        return;
    // A minute is far longer than a shell takes to start: this one refuses the icon. A new
    // task bar ("TaskbarCreated") still adds it.
    retryTimer_.SetEnabled(false);
    ShowMessageBox(TrayIconError, "", MB_ICONSTOP);
}

bool TTrayIcon::EnsureAdded() {
    if (!added_ && visible_ && loaded_)
        Notify(TrayOperation::Add);
    return added_;
}

void TTrayIcon::Readd() {
    added_ = false;
    // The new task bar may come with another DPI (a changed scale sends "TaskbarCreated").
    if (source_ && icon_)
        icon_.reset(TrayCopy(source_, CallbackWindow() ? CallbackWindow()->handle() : nullptr));
    EnsureAdded();
}

void TTrayIcon::StartAnimation() {
    if (!animateIcons_ || ImageList_GetImageCount(animateIcons_) == 0)
        return;
    animating_ = true;
    frameIndex_ = -1;
    NextFrame();
    frameTimer_.SetInterval(static_cast<unsigned>(animateRate_));
    frameTimer_.SetEnabled(true);
}

void TTrayIcon::StopAnimation() {
    frameTimer_.SetEnabled(false);
    animating_ = false;
    frameIcon_.reset();
    if (added_)
        Notify(TrayOperation::Modify);
}

void TTrayIcon::NextFrame() {
    int count = animateIcons_ ? ImageList_GetImageCount(animateIcons_) : 0;
    if (count == 0) {
        StopAnimation();
        return;
    }
    frameIndex_ = (frameIndex_ + 1) % count;
    frameIcon_.reset(ImageList_GetIcon(animateIcons_, frameIndex_, ILD_NORMAL));
    if (added_)
        Notify(TrayOperation::Modify);
}

void TTrayIcon::ButtonDown(Menu* menu, MouseButton button, ShiftState shift, int x, int y) {
    if (menu && AutoPopup) {
        // A menu command must not run underneath a modal window of the program (the about
        // box, a folder chooser): the click brings that window forward instead.
        if (HWND modal = Application::ActiveModalWindow()) {
            SetForegroundWindow(modal);
            return;
        }
        if (owner_) {
            SetForegroundWindow(owner_->handle());
            Application::ProcessMessages();
        }
        menu->Popup(owner_ ? owner_->handle() : CallbackWindow()->handle(), x, y);
    } else if (OnMouseDown) {
        OnMouseDown(*this, button, shift, x, y);
    }
}

void TTrayIcon::HandleCallback(const TrayCallback& callback) {
    // Before the add the program may still be setting up (its menu not built yet).
    if (!added_)
        return;
    int x = callback.x;
    int y = callback.y;
    if (!callback.anchored) {
        POINT cursor;
        GetCursorPos(&cursor);
        x = cursor.x;
        y = cursor.y;
    }
    auto up = [&](MouseButton button) {
        if (OnMouseUp)
            OnMouseUp(*this, button, ShiftOf(button), x, y);
    };
    auto down = [&](MouseButton button) {
        if (OnMouseDown)
            OnMouseDown(*this, button, ShiftOf(button), x, y);
    };
    // In the version 4 form the right button's menu waits for WM_CONTEXTMENU, which the
    // keyboard (menu key, Shift+F10) sends as well, anchored at the icon.
    bool menuOnContext = callback.anchored && RBPopupMenu && AutoPopup;
    switch (callback.event) {
    case WM_MOUSEMOVE:
        if (OnMouseMove)
            OnMouseMove(*this, ShiftState::None, x, y);
        break;
    case WM_LBUTTONDOWN:
        ButtonDown(LBPopupMenu, MouseButton::Left, ShiftState::Left, x, y);
        break;
    case WM_LBUTTONUP:
        up(MouseButton::Left);
        break;
    case WM_LBUTTONDBLCLK:
        if (OnDblClick)
            OnDblClick(*this);
        break;
    case WM_RBUTTONDOWN:
        if (!menuOnContext)
            ButtonDown(RBPopupMenu, MouseButton::Right, ShiftState::Right, x, y);
        break;
    case WM_CONTEXTMENU:
        if (menuOnContext)
            ButtonDown(RBPopupMenu, MouseButton::Right, ShiftState::Right, x, y);
        break;
    case WM_RBUTTONUP:
        up(MouseButton::Right);
        break;
    case WM_MBUTTONDOWN:
        down(MouseButton::Middle);
        break;
    case WM_MBUTTONUP:
        up(MouseButton::Middle);
        break;
    default:
        break; // right and middle double clicks, NIN_SELECT and NIN_KEYSELECT included
    }
}
