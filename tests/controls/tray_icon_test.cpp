#include "tray_icon.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <functional>
#include <memory>
#include <vector>

#include "app.h"
#include "form.h"

namespace {

// A hidden owner form that notes when a menu loop starts (a pop-up was shown).
class OwnerForm : public Form {
public:
    OwnerForm() { CreateForm({"TTrayTestForm", "tray test", WS_OVERLAPPEDWINDOW, 200, 100}); }
    int menuLoops = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ENTERMENULOOP)
            ++menuLoops;
        return Form::HandleMessage(message, wParam, lParam);
    }
};

HWND CallbackWindow() {
    return FindWindowW(L"TCallbackWindow", nullptr);
}

// Where the last pop-up opened by a callback stood on the screen.
POINT menuAt = {};

// Sends the shell's callback for an icon; a pop-up it opens is closed again at once.
void SendCallback(WPARAM wParam, LPARAM lParam) {
    UINT_PTR closer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        RECT rect = {};
        if (HWND popup = FindWindowW(L"#32768", nullptr); popup && GetWindowRect(popup, &rect))
            menuAt = {rect.left, rect.top};
        EndMenu();
    });
    SendMessageW(CallbackWindow(), TrayCallbackMessage, wParam, lParam);
    KillTimer(nullptr, closer);
}

// As shells before version 4 send it: the id and the mouse message.
void ShellSends(int id, UINT mouseMessage) {
    SendCallback(static_cast<WPARAM>(id), mouseMessage);
}

// As version 4 sends it: the event and the id in lParam, the anchor in wParam.
void ShellSendsV4(int id, UINT event, int x, int y) {
    SendCallback(MAKEWPARAM(static_cast<WORD>(x), static_cast<WORD>(y)), MAKELPARAM(event, id));
}

bool ShellKnows(int id) {
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = CallbackWindow();
    data.uID = static_cast<UINT>(id);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// The shell only talks about icons it holds.
void PutInTray(TTrayIcon& icon) {
    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    icon.Loaded();
    ASSERT_TRUE(icon.SetVisible(true));
    ASSERT_TRUE(icon.inTray());
}

// The shell's own entry for an id, made behind the icon's back (the tray then refuses
// the icon's add) or removed (as if the tray had gone away).
bool ShellEntry(int id, DWORD operation) {
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = CallbackWindow();
    data.uID = static_cast<UINT>(id);
    return Shell_NotifyIconW(operation, &data) != FALSE;
}

int boxesAnswered = 0;

// Answers (and counts) a message box of the component.
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (std::wstring(className) == L"#32770") {
                PostMessageW(window, WM_COMMAND, IDOK, 0);
                ++boxesAnswered;
            }
            return TRUE;
        },
        0);
}

// Runs the message loop (and with it the component's timers) until the condition holds.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeout) {
    ULONGLONG deadline = GetTickCount64() + timeout;
    while (!condition()) {
        if (GetTickCount64() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Application::ProcessMessages();
    }
    return true;
}

struct Events {
    std::vector<std::pair<MouseButton, ShiftState>> downs, ups;
    int doubleClicks = 0;
    int moves = 0;
    POINT lastDownAt = {};
};

void Record(TTrayIcon& icon, Events& events) {
    icon.OnMouseDown = [&events](TTrayIcon&, MouseButton b, ShiftState s, int x, int y) {
        events.downs.push_back({b, s});
        events.lastDownAt = {x, y};
    };
    icon.OnMouseUp = [&events](TTrayIcon&, MouseButton b, ShiftState s, int, int) {
        events.ups.push_back({b, s});
    };
    icon.OnDblClick = [&events](TTrayIcon&) { ++events.doubleClicks; };
    icon.OnMouseMove = [&events](TTrayIcon&, ShiftState, int, int) { ++events.moves; };
}

TEST(TrayIcon, AddedToTheShellOnlyWithAnIcon) {
    OwnerForm owner;
    TTrayIcon icon(&owner);
    icon.Loaded();
    EXPECT_TRUE(icon.SetVisible(true));
    EXPECT_FALSE(icon.Visible()); // no icon yet
    EXPECT_FALSE(ShellKnows(icon.id()));

    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    icon.SetTipHelp("Lumera Deck for Windows");
    ASSERT_TRUE(icon.SetVisible(true));
    EXPECT_TRUE(icon.Visible());
    EXPECT_TRUE(ShellKnows(icon.id()));

    icon.SetIcon(nullptr); // releasing the icon hides it
    EXPECT_FALSE(icon.Visible());
    EXPECT_FALSE(ShellKnows(icon.id()));
}

TEST(TrayIcon, TipIsCutAndEmptyTipStillShows) {
    OwnerForm owner;
    TTrayIcon icon(&owner);
    EXPECT_EQ(icon.TipHelp(), "TipHelp");
    icon.SetTipHelp(Text(70, 'x'));
    EXPECT_EQ(icon.TipHelp(), Text(62, 'x'));
    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    icon.SetTipHelp("");
    icon.Loaded();
    ASSERT_TRUE(icon.SetVisible(true));
    EXPECT_TRUE(ShellKnows(icon.id()));
}

TEST(TrayIcon, IdsCountUpToNinetyNine) {
    OwnerForm owner;
    std::vector<std::unique_ptr<TTrayIcon>> icons;
    for (int i = 0; i < 99; ++i)
        icons.push_back(std::make_unique<TTrayIcon>(&owner));
    EXPECT_EQ(icons.front()->id(), 1);
    EXPECT_EQ(icons.back()->id(), 99);
    TTrayIcon hundredth(&owner);
    EXPECT_EQ(hundredth.id(), 0);
    hundredth.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    icons.pop_back(); // the last id is free again; one in the middle would not be
    TTrayIcon again(&owner);
    EXPECT_EQ(again.id(), 99);
}

// An icon in the tray with a right-button menu, its events recorded.
class TrayIconMenu : public ::testing::Test {
protected:
    void SetUp() override {
        PutInTray(icon);
        Record(icon, events);
        menu.items().Add("終了(&X)");
        icon.RBPopupMenu = &menu;
    }

    OwnerForm owner;
    TTrayIcon icon{&owner};
    Events events;
    Menu menu;
};

TEST_F(TrayIconMenu, RightButtonPopsTheMenuInsteadOfMouseDown) {

    ShellSends(icon.id(), WM_RBUTTONDOWN);
    EXPECT_EQ(owner.menuLoops, 1);
    EXPECT_TRUE(events.downs.empty());

    icon.AutoPopup = false;
    ShellSends(icon.id(), WM_RBUTTONDOWN);
    EXPECT_EQ(owner.menuLoops, 1);
    ASSERT_EQ(events.downs.size(), 1u);
    EXPECT_EQ(events.downs[0].first, MouseButton::Right);
    EXPECT_EQ(events.downs[0].second, ShiftState::Right);
}

TEST_F(TrayIconMenu, VersionFourOpensTheMenuOnContextMenuAtTheAnchor) {

    ShellSendsV4(icon.id(), WM_RBUTTONDOWN, 300, 200); // the menu waits for the context menu
    EXPECT_EQ(owner.menuLoops, 0);
    EXPECT_TRUE(events.downs.empty());
    menuAt = {};
    ShellSendsV4(icon.id(), WM_CONTEXTMENU, 300, 200); // mouse or keyboard, at the icon
    EXPECT_EQ(owner.menuLoops, 1);
    EXPECT_EQ(menuAt.x, 300);
    EXPECT_EQ(menuAt.y, 200);
    ShellSends(icon.id(), WM_CONTEXTMENU); // not an event of the earlier form
    EXPECT_EQ(owner.menuLoops, 1);

    // Without a menu to open, the button is an event at the anchor; the context menu is none.
    icon.AutoPopup = false;
    ShellSendsV4(icon.id(), WM_RBUTTONDOWN, -200, 50);
    ShellSendsV4(icon.id(), WM_CONTEXTMENU, -200, 50);
    EXPECT_EQ(owner.menuLoops, 1);
    ASSERT_EQ(events.downs.size(), 1u);
    EXPECT_EQ(events.downs[0].first, MouseButton::Right);
    EXPECT_EQ(events.lastDownAt.x, -200);
    EXPECT_EQ(events.lastDownAt.y, 50);
    ShellSendsV4(icon.id(), WM_LBUTTONDBLCLK, 10, 10);
    EXPECT_EQ(events.doubleClicks, 1);
}

TEST(TrayIcon, MouseMessagesBecomeEvents) {
    OwnerForm owner;
    TTrayIcon icon(&owner);
    PutInTray(icon);
    Events events;
    Record(icon, events);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MBUTTONDOWN,
                         WM_MBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_RBUTTONUP})
        ShellSends(icon.id(), message);
    EXPECT_EQ(events.moves, 1);
    EXPECT_EQ(events.doubleClicks, 1); // only the left double click
    ASSERT_EQ(events.downs.size(), 2u);
    EXPECT_EQ(events.downs[0].first, MouseButton::Left);
    EXPECT_EQ(events.downs[1].first, MouseButton::Middle);
    ASSERT_EQ(events.ups.size(), 3u);
    EXPECT_EQ(events.ups[2].first, MouseButton::Right);
    EXPECT_EQ(events.ups[2].second, ShiftState::Right);

    size_t before = events.downs.size();
    ShellSends(icon.id() + 50, WM_LBUTTONDOWN); // an id nobody has
    EXPECT_EQ(events.downs.size(), before);
}

TEST(TrayIcon, ExplorerRestartAddsVisibleIconsAgain) {
    OwnerForm owner;
    TTrayIcon icon(&owner);
    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    icon.Loaded();
    ASSERT_TRUE(icon.SetVisible(true));
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = CallbackWindow();
    data.uID = static_cast<UINT>(icon.id());
    Shell_NotifyIconW(NIM_DELETE, &data); // as if the tray had gone away
    ASSERT_FALSE(ShellKnows(icon.id()));
    HICON before = icon.Icon();
    SendMessageW(CallbackWindow(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(ShellKnows(icon.id()));
    // Made anew from the given icon, for the DPI the new task bar has.
    EXPECT_NE(icon.Icon(), before);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon.Icon(), &info));
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
}

TEST(TrayIcon, MessagesBeforeTheAddAreIgnored) {
    OwnerForm owner;
    TTrayIcon icon(&owner);
    Events events;
    Record(icon, events);
    Menu menu;
    menu.items().Add("終了(&X)");
    icon.RBPopupMenu = &menu;
    ShellSends(icon.id(), WM_RBUTTONDOWN);
    ShellSends(icon.id(), WM_LBUTTONDOWN);
    EXPECT_EQ(owner.menuLoops, 0);
    EXPECT_TRUE(events.downs.empty());

    PutInTray(icon);
    ShellSends(icon.id(), WM_RBUTTONDOWN);
    EXPECT_EQ(owner.menuLoops, 1);
}

TEST(TrayIcon, RefusedAddKeepsTheWishAndIsRetried) {
    OwnerForm owner;
    TTrayIcon icon(&owner);
    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    ASSERT_TRUE(icon.SetVisible(true));
    ASSERT_TRUE(ShellEntry(icon.id(), NIM_ADD)); // the tray refuses a second add of the id
    boxesAnswered = 0;
    UINT_PTR answer = SetTimer(nullptr, 0, 50, AnswerBox);
    icon.Loaded(); // quietly: a shell still starting at log-on refuses too
    EXPECT_TRUE(icon.Visible());
    EXPECT_FALSE(icon.inTray());
    EXPECT_FALSE(icon.EnsureAdded());
    EXPECT_FALSE(PumpUntil([&] { return icon.inTray(); }, 1500)); // retried, still refused

    ASSERT_TRUE(ShellEntry(icon.id(), NIM_DELETE));              // the tray is ready now
    EXPECT_TRUE(PumpUntil([&] { return icon.inTray(); }, 3000)); // the next retry adds it
    EXPECT_TRUE(ShellKnows(icon.id()));
    KillTimer(nullptr, answer);
    EXPECT_EQ(boxesAnswered, 0);

    // Refused again, then the shell starts anew and says so.
    ASSERT_TRUE(ShellEntry(icon.id(), NIM_DELETE));
    ASSERT_TRUE(ShellEntry(icon.id(), NIM_ADD));
    SendMessageW(CallbackWindow(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(icon.Visible());
    EXPECT_FALSE(icon.inTray());
    ASSERT_TRUE(ShellEntry(icon.id(), NIM_DELETE));
    SendMessageW(CallbackWindow(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(icon.inTray());

    icon.SetVisible(false);
    EXPECT_FALSE(ShellKnows(icon.id()));
    EXPECT_FALSE(icon.EnsureAdded()); // not wanted: nothing to retry
}

TEST(TrayIcon, TrayGetsTheSmallIconSize) {
    OwnerForm owner;
    TTrayIcon icon(&owner);
    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION)); // the large icon
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon.Icon(), &info));
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
}

TEST(TrayIcon, ClickDuringAModalWindowBringsItForward) {
    OwnerForm owner;
    TTrayIcon icon(&owner);
    PutInTray(icon);
    Menu menu;
    menu.items().Add("終了(&X)");
    icon.RBPopupMenu = &menu;
    Form about;
    about.CreateForm({"TModalTestForm", "about", WS_POPUP | WS_CAPTION, 100, 50, owner.handle()});
    about.Show();
    auto modal = std::make_unique<Application::ModalScope>(about.handle());
    EnableWindow(owner.handle(), FALSE); // as a modal loop does
    SetForegroundWindow(owner.handle());

    ShellSends(icon.id(), WM_RBUTTONDOWN);
    EXPECT_EQ(owner.menuLoops, 0);
    EXPECT_EQ(GetForegroundWindow(), about.handle());

    modal.reset();
    EnableWindow(owner.handle(), TRUE);
    about.Hide();
    ShellSends(icon.id(), WM_RBUTTONDOWN);
    EXPECT_EQ(owner.menuLoops, 1);
}

} // namespace
