// The spin edit and its arrows as real windows on a form, driven by messages.
#include "spin.h"

#include <gtest/gtest.h>

#include "app.h"
#include "dialogs.h"
#include "form.h"
#include "spin_rules.h"

namespace {

void Pump() {
    Application::ProcessMessages();
}

// Runs the message loop (timers included) for the given time.
void PumpFor(DWORD ms) {
    ULONGLONG end = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        Pump();
    }
}

void Type(Widget& target, const char* keys) {
    for (const char* key = keys; *key; ++key)
        SendMessageW(target.handle(), WM_CHAR, static_cast<unsigned char>(*key), 1);
}

void TypeCode(Widget& target, unsigned code) {
    SendMessageW(target.handle(), WM_CHAR, code, 1);
}

void CaretToEnd(Widget& edit) {
    SendMessageW(edit.handle(), EM_SETSEL, 0x7FFF, 0x7FFF);
}

RECT ChildRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

POINT CentreOf(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right / 2, client.bottom / 2};
}

void PressOn(HWND button) {
    POINT centre = CentreOf(button), screen = centre;
    ClientToScreen(button, &screen);
    SetCursorPos(screen.x, screen.y); // so a stray mouse move keeps the button pressed
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
}

void ReleaseOn(HWND button) {
    POINT centre = CentreOf(button);
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
}

class SpinTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application::Initialize(GetModuleHandleW(nullptr), "spin test");
        ASSERT_TRUE(form.CreateForm({"TSpinTestForm", "Spin", WS_OVERLAPPEDWINDOW, 320, 200}));
        ASSERT_TRUE(spin.Create(form, {10, 10, 121, 21}));
        ASSERT_TRUE(other.Create(form, "next", {10, 60, 80, 22}));
        ASSERT_TRUE(cancel.Create(form, "cancel", {100, 60, 80, 25}));
        form.SetCancelButton(cancel);
        cancel.onClick = [this] { ++cancelClicks; };
        form.Show();
        Pump();
    }
    void TearDown() override {
        if (form.handle())
            DestroyWindow(form.handle());
        Pump();
    }
    void Bound(int minValue, int maxValue) {
        spin.SetMinValue(minValue);
        spin.SetMaxValue(maxValue);
    }

    Form form;
    TSpinEdit spin;
    Edit other;
    Button cancel;
    int cancelClicks = 0;
};

TEST_F(SpinTest, ValueIsWrittenWithinTheBounds) {
    EXPECT_EQ(spin.text(), "0");
    Bound(1, 3600);
    spin.SetValue(0);
    EXPECT_EQ(spin.text(), "1");
    spin.SetValue(5000);
    EXPECT_EQ(spin.text(), "3600");
    spin.SetValue(60);
    EXPECT_EQ(spin.Value(), 60);

    Bound(0, 0);
    for (int value : {-123456, 0, 2147483647}) {
        spin.SetValue(value);
        EXPECT_EQ(spin.Value(), value);
    }
}

TEST_F(SpinTest, TypedCharactersAreFilteredKeyByKey) {
    Bound(1, 3600);
    spin.SetText("");
    Type(spin, "1abc2");
    EXPECT_EQ(spin.text(), "12");
    Type(spin, "\r\t ");
    TypeCode(spin, '\n'); // Ctrl+Enter
    EXPECT_EQ(spin.text(), "12");
    EXPECT_EQ(SendMessageW(spin.handle(), EM_GETLINECOUNT, 0, 0), 1);
    TypeCode(spin, 8); // backspace
    EXPECT_EQ(spin.text(), "1");
}

TEST_F(SpinTest, LeavingTheFieldCorrectsItsText) {
    Bound(1, 3600);
    spin.Focus();
    spin.SetText("");
    EXPECT_EQ(spin.Value(), 1);
    other.Focus();
    EXPECT_EQ(spin.text(), "1");

    for (const char* entered : {"5000", "abc", "0"}) {
        spin.Focus();
        spin.SetText(entered);
        other.Focus();
        EXPECT_EQ(spin.text(), entered == Text("5000") ? "3600" : "1") << entered;
    }

    Bound(0, 0);
    spin.Focus();
    spin.SetText("-987654");
    other.Focus();
    EXPECT_EQ(spin.text(), "-987654");
}

TEST_F(SpinTest, KeysAndArrowsStepByTheIncrement) {
    Bound(1, 100);
    spin.SetIncrement(5);
    spin.SetValue(50);
    SendMessageW(spin.handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(spin.Value(), 55);
    SendMessageW(spin.handle(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(spin.handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(spin.Value(), 45);
    spin.SetValue(98);
    spin.UpClick();
    EXPECT_EQ(spin.Value(), 100);

    // A quick click on an arrow steps once and gives the field the focus.
    other.Focus();
    HWND down = spin.Button().DownButton().handle();
    PressOn(down);
    ReleaseOn(down);
    EXPECT_EQ(spin.Value(), 95);
    EXPECT_TRUE(spin.focused());
}

TEST_F(SpinTest, ReadOnlyFieldKeepsItsValue) {
    Bound(1, 10);
    spin.SetValue(5);
    spin.SetReadOnly(true);
    spin.UpClick();
    SendMessageW(spin.handle(), WM_KEYDOWN, VK_DOWN, 0);
    HWND up = spin.Button().UpButton().handle();
    PressOn(up);
    ReleaseOn(up);
    EXPECT_EQ(spin.Value(), 5);
}

TEST_F(SpinTest, DisabledEditorTakesOnlyArrowsAndNavigation) {
    spin.SetEditorEnabled(false);
    spin.SetValue(42);
    spin.Focus();
    CaretToEnd(spin);
    Type(spin, "7.");
    TypeCode(spin, 8);
    EXPECT_EQ(spin.text(), "42");
    SendMessageW(spin.handle(), EM_SETSEL, 0, 0);
    SendMessageW(spin.handle(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(spin.text(), "42");
    SendMessageW(spin.handle(), EM_SETSEL, 0, -1);
    SendMessageW(spin.handle(), WM_CUT, 0, 0);
    EXPECT_EQ(spin.text(), "42");
    spin.UpClick();
    EXPECT_EQ(spin.text(), "43");

    // Tab and Escape reach the form: the focus moves on, the cancel button is clicked.
    PostMessageW(spin.handle(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_TRUE(other.focused());
    spin.Focus();
    PostMessageW(spin.handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_EQ(cancelClicks, 1);
    EXPECT_EQ(spin.text(), "43");
}

TEST_F(SpinTest, PasteOnlyIntoAnEditableField) {
    ASSERT_TRUE(OpenClipboard(form.handle()));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 4 * sizeof(wchar_t));
    wcscpy(static_cast<wchar_t*>(GlobalLock(memory)), L"777");
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();

    spin.SetEditorEnabled(false);
    SendMessageW(spin.handle(), EM_SETSEL, 0, -1);
    SendMessageW(spin.handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(spin.text(), "0");
    spin.SetEditorEnabled(true);
    spin.SetReadOnly(true);
    SendMessageW(spin.handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(spin.text(), "0");
    spin.SetReadOnly(false);
    SendMessageW(spin.handle(), EM_SETSEL, 0, -1);
    SendMessageW(spin.handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(spin.text(), "777");
}

// Holds keys down in this thread's keyboard state for as long as it lives.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        GetKeyboardState(saved_);
        BYTE state[256];
        memcpy(state, saved_, sizeof state);
        for (int key : keys)
            state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

TEST_F(SpinTest, PasteKeysFollowThePasteRule) {
    ASSERT_TRUE(SetClipboardText("42", form.handle()));
    spin.SetEditorEnabled(false);
    for (auto key : {std::pair<int, int>{VK_SHIFT, VK_INSERT}, std::pair<int, int>{VK_CONTROL, 'V'}}) {
        SendMessageW(spin.handle(), EM_SETSEL, 0, -1);
        {
            HeldKeys held({key.first});
            SendMessageW(spin.handle(), WM_KEYDOWN, key.second, 0);
            if (key.second == 'V')
                SendMessageW(spin.handle(), WM_CHAR, 0x16, 0); // what TranslateMessage makes of Ctrl+V
        }
        EXPECT_EQ(spin.text(), "0") << "key " << key.second;
    }
    spin.SetEditorEnabled(true);
    SendMessageW(spin.handle(), EM_SETSEL, 0, -1);
    {
        HeldKeys held({VK_SHIFT});
        SendMessageW(spin.handle(), WM_KEYDOWN, VK_INSERT, 0);
    }
    EXPECT_EQ(spin.text(), "42");
}

TEST_F(SpinTest, EnteringSelectsAllUnlessClickedIntoTheField) {
    spin.SetValue(1234);
    other.Focus();
    spin.Focus();
    DWORD start = 0, end = 0;
    SendMessageW(spin.handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);

    other.Focus();
    SendMessageW(spin.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(spin.handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    SendMessageW(spin.handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_TRUE(spin.focused());
    EXPECT_EQ(start, end);
}

TEST_F(SpinTest, HeldArrowRepeatsAfterAPauseAndOnceMoreAtRelease) {
    Bound(0, 1000);
    spin.SetValue(0);
    HWND up = spin.Button().UpButton().handle();
    PressOn(up);
    PumpFor(150);
    EXPECT_EQ(spin.Value(), 0) << "nothing before the first pause is over";
    PumpFor(900); // held for about 1050 ms
    int whileHeld = spin.Value();
    ReleaseOn(up);
    // 400 ms, then every 100 ms: 7 steps in a second. Wine's timers may lag a tick.
    EXPECT_GE(whileHeld, RepeatClicksWhileHeld(1000) - 1);
    EXPECT_LE(whileHeld, RepeatClicksWhileHeld(1050) + 1);
    EXPECT_EQ(spin.Value(), whileHeld + 1);
    PumpFor(300);
    EXPECT_EQ(spin.Value(), whileHeld + 1) << "the repeat stops at release";
    EXPECT_FALSE(spin.Button().UpButton().pressed());
}

TEST_F(SpinTest, ArrowsSitInsideTheRightEdgeAndTextStopsShortOfThem) {
    HWND button = spin.Button().handle();
    auto check = [&] {
        RECT edit, placed = ChildRect(button);
        GetWindowRect(spin.handle(), &edit);
        int width = edit.right - edit.left, height = edit.bottom - edit.top;
        int buttonWidth = placed.right - placed.left;
        EXPECT_EQ(buttonWidth, spin.dpi().Scale(15));
        EXPECT_EQ(placed.left, width - buttonWidth - 5);
        EXPECT_EQ(placed.top, 0);
        EXPECT_EQ(placed.bottom - placed.top, height - 5);
        RECT format;
        SendMessageW(spin.handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        int rightMargin = HIWORD(SendMessageW(spin.handle(), EM_GETMARGINS, 0, 0));
        // The platform takes its margin and a pixel for the client edge off what it is given.
        int textRight = spin.ClientWidth() - buttonWidth - 2;
        EXPECT_LE(format.right, textRight);
        EXPECT_GE(format.right, textRight - rightMargin - 1);
    };
    check();
    spin.SetBounds({10, 10, 200, 40});
    check();

    // Too low for the font: raised to the minimum height, which still shows a line.
    spin.SetBounds({10, 10, 200, 4});
    HDC dc = GetDC(spin.handle());
    SelectObjectScope font(dc, spin.font());
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    ReleaseDC(spin.handle(), dc);
    RECT edit;
    GetWindowRect(spin.handle(), &edit);
    EXPECT_GE(edit.bottom - edit.top, metrics.tmHeight + 4);
    check();
}

class SpinButtonTest : public SpinTest {
protected:
    void SetUp() override {
        SpinTest::SetUp();
        ASSERT_TRUE(arrows.Create(form, {200, 10, 20, 25}, true));
        arrows.onUpClick = [this] { ++ups; };
        arrows.onDownClick = [this] { ++downs; };
    }
    bool Focused(TTimerSpeedButton& button) {
        return (button.ButtonFlags() & TTimerSpeedButton::DrawFocus) != 0;
    }
    TSpinButton arrows;
    int ups = 0, downs = 0;
};

TEST_F(SpinButtonTest, ArrowsSplitTheControl) {
    auto expectAt = [](TTimerSpeedButton& button, const SpinRect& where) {
        RECT r = ChildRect(button.handle());
        EXPECT_EQ(r.left, where.left);
        EXPECT_EQ(r.top, where.top);
        EXPECT_EQ(r.right - r.left, where.width);
        EXPECT_EQ(r.bottom - r.top, where.height);
    };
    ASSERT_EQ(arrows.dpi().dpi(), 96);
    expectAt(arrows.UpButton(), {0, 0, 20, 12});
    expectAt(arrows.DownButton(), {0, 11, 20, 14});
    arrows.SetBounds({200, 10, 8, 16});
    EXPECT_EQ(arrows.bounds().width, 15);
    expectAt(arrows.UpButton(), {0, 0, 15, 8});
    expectAt(arrows.DownButton(), {0, 7, 15, 9});
}

TEST_F(SpinButtonTest, KeysClickAndMoveTheFocusRectangle) {
    EXPECT_EQ(SendMessageW(arrows.handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    EXPECT_FALSE(Focused(arrows.UpButton()));
    arrows.Focus();
    EXPECT_TRUE(Focused(arrows.UpButton()));

    SendMessageW(arrows.handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(&arrows.FocusedButton(), &arrows.DownButton());
    EXPECT_TRUE(Focused(arrows.DownButton()));
    EXPECT_FALSE(Focused(arrows.UpButton()));
    SendMessageW(arrows.handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(downs, 2);
    SendMessageW(arrows.handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(ups, 1);
    EXPECT_TRUE(Focused(arrows.UpButton()));

    other.Focus();
    EXPECT_FALSE(Focused(arrows.UpButton()));
    EXPECT_FALSE(Focused(arrows.DownButton()));
}

TEST_F(SpinButtonTest, PressGoesToTheFocusControlOrTheButtonItself) {
    other.Focus();
    PressOn(arrows.DownButton().handle());
    ReleaseOn(arrows.DownButton().handle());
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(arrows.focused());
    EXPECT_TRUE(Focused(arrows.DownButton()));

    // Released away from the button: no click.
    PressOn(arrows.UpButton().handle());
    SendMessageW(arrows.UpButton().handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 200));
    EXPECT_FALSE(arrows.UpButton().pressed());
    SendMessageW(arrows.UpButton().handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    EXPECT_EQ(ups, 0);

    {
        Edit target;
        ASSERT_TRUE(target.Create(form, "", {10, 100, 80, 22}));
        arrows.SetFocusControl(target.handle());
        PressOn(arrows.UpButton().handle());
        ReleaseOn(arrows.UpButton().handle());
        EXPECT_EQ(ups, 1);
        EXPECT_TRUE(target.focused());
    }
    EXPECT_EQ(arrows.FocusControl(), nullptr); // its window is gone
}

} // namespace
