#include "spin.h"

#include <algorithm>
#include <string>

#include "spin_rules.h"

namespace {

void MoveChild(HWND child, const SpinRect& r) {
    SetWindowPos(child, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE WindowSize(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool HasTabStop(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP) != 0;
}

// Visible, and neither it nor a parent disabled: SetFocus would take.
bool CanFocus(HWND window) {
    if (!window || !IsWindowVisible(window))
        return false;
    for (HWND w = window; w; w = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr) {
        if (!IsWindowEnabled(w))
            return false;
    }
    return true;
}

void FillSolid(HDC dc, int left, int top, int width, int height, COLORREF color) {
    SetBkColor(dc, color);
    RECT r = {left, top, left + width, top + height};
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

unsigned DecimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 0 && separator[0])
        return separator[0];
    return '.';
}

} // namespace

// ---------------------------------------------------------------------------------------
// TTimerSpeedButton

bool TTimerSpeedButton::Create(Widget& parent, const Bounds& bounds, Arrow arrow) {
    arrow_ = arrow;
    repeat_.SetHandler([this] { RepeatTick(); });
    WindowParams params;
    params.className = "TTimerSpeedButton";
    params.style = WS_CHILD | WS_VISIBLE;
    params.parent = parent.handle();
    params.bounds = bounds;
    params.classStyle = 0; // a quick second press is another press, not a double click
    params.background = nullptr;
    return Window::Create(params);
}

void TTimerSpeedButton::SetButtonFlags(unsigned flags) {
    if (flags == flags_)
        return;
    flags_ = flags;
    if (!(flags_ & AutoRepeat))
        repeat_.SetEnabled(false);
    InvalidateRect(handle(), nullptr, FALSE);
}

void TTimerSpeedButton::SetGlyph(HBITMAP glyph, int numGlyphs) {
    glyph_ = glyph;
    numGlyphs_ = std::max(1, numGlyphs);
    InvalidateRect(handle(), nullptr, FALSE);
}

void TTimerSpeedButton::Click() {
    if (onClick)
        onClick();
}

void TTimerSpeedButton::SetPressed(bool pressed) {
    if (pressed == pressed_)
        return;
    pressed_ = pressed;
    InvalidateRect(handle(), nullptr, FALSE);
}

void TTimerSpeedButton::RepeatTick() {
    repeat_.SetInterval(RepeatIntervalAfter(1));
    if (!handle() || !pressed_ || GetCapture() != handle())
        return;
    try {
        Click();
    } catch (...) {
        repeat_.SetEnabled(false);
        throw; // passed on to the timer's catch-all, which reports it
    }
}

void TTimerSpeedButton::EndTracking() {
    tracking_ = false;
    repeat_.SetEnabled(false);
    SetPressed(false);
    if (GetCapture() == handle())
        ReleaseCapture();
}

LRESULT TTimerSpeedButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintBuffered(handle(), [this](HDC dc, const RECT& client) { Paint(dc, client); });
        return 0;
    case WM_LBUTTONDOWN:
        if (onMouseDown)
            onMouseDown();
        tracking_ = true;
        SetCapture(handle());
        SetPressed(true);
        if (flags_ & AutoRepeat) {
            repeat_.SetEnabled(false);
            repeat_.SetInterval(RepeatIntervalAfter(0));
            repeat_.SetEnabled(true);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (tracking_) {
            RECT client;
            GetClientRect(handle(), &client);
            POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            SetPressed(PtInRect(&client, point) != FALSE);
        }
        return 0;
    case WM_LBUTTONUP:
        if (tracking_) {
            bool releasedOver = pressed_;
            EndTracking();
            if (releasedOver)
                Click();
        }
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away (a message box, Alt+Tab): the press is abandoned.
        if (tracking_ && reinterpret_cast<HWND>(lParam) != handle())
            EndTracking();
        return 0;
    case WM_ENABLE:
        InvalidateRect(handle(), nullptr, FALSE);
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

void TTimerSpeedButton::Paint(HDC dc, const RECT& area) {
    RECT face = area;
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed_ ? DFCS_PUSHED : 0));
    RECT content = face;
    if (pressed_)
        OffsetRect(&content, 1, 1);
    if (glyph_)
        DrawGlyph(dc, content);
    else
        DrawArrow(dc, content);
    if (flags_ & DrawFocus) {
        int inset = dpi().Scale(3);
        RECT focus = area;
        InflateRect(&focus, -inset, -inset);
        if (pressed_)
            OffsetRect(&focus, 1, 1);
        if (focus.right > focus.left && focus.bottom > focus.top) {
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            DrawFocusRect(dc, &focus);
        }
    }
}

// A small filled triangle, drawn row by row so that it is symmetric at any size.
void TTimerSpeedButton::DrawArrow(HDC dc, const RECT& face) {
    int width = face.right - face.left, height = face.bottom - face.top;
    int half = std::max(1, std::min((width - 4) / 4, (height - 2) / 2));
    int cx = face.left + (width - 1) / 2;
    int top = face.top + (height - (half + 1)) / 2;
    auto draw = [&](int dx, int dy, COLORREF color) {
        for (int row = 0; row <= half; ++row) {
            int span = arrow_ == Arrow::Up ? row : half - row;
            FillSolid(dc, cx - span + dx, top + row + dy, 2 * span + 1, 1, color);
        }
    };
    if (IsWindowEnabled(handle())) {
        draw(0, 0, GetSysColor(COLOR_BTNTEXT));
    } else {
        draw(1, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        draw(0, 0, GetSysColor(COLOR_GRAYTEXT));
    }
}

// The glyph's image centred, its bottom-left pixel's colour transparent.
void TTimerSpeedButton::DrawGlyph(HDC dc, const RECT& face) {
    BITMAP info = {};
    if (!GetObjectW(glyph_, sizeof info, &info))
        return;
    int width = info.bmWidth / numGlyphs_, height = info.bmHeight;
    int index = (!IsWindowEnabled(handle()) && numGlyphs_ >= 2) ? 1 : 0;
    int x = face.left + (face.right - face.left - width) / 2;
    int y = face.top + (face.bottom - face.top - height) / 2;

    HDC glyphDc = CreateCompatibleDC(dc);
    HDC maskDc = CreateCompatibleDC(dc);
    {
        SelectObjectScope glyph(glyphDc, glyph_);
        UniqueGdiObject maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
        SelectObjectScope mask(maskDc, maskBitmap.get());
        // Colour to monochrome: pixels of the background colour become white.
        SetBkColor(glyphDc, GetPixel(glyphDc, index * width, height - 1));
        BitBlt(maskDc, 0, 0, width, height, glyphDc, index * width, 0, SRCCOPY);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        BitBlt(dc, x, y, width, height, glyphDc, index * width, 0, SRCINVERT);
        BitBlt(dc, x, y, width, height, maskDc, 0, 0, SRCAND);
        BitBlt(dc, x, y, width, height, glyphDc, index * width, 0, SRCINVERT);
    }
    DeleteDC(maskDc);
    DeleteDC(glyphDc);
}

// ---------------------------------------------------------------------------------------
// TSpinButton

bool TSpinButton::Create(Widget& parent, const Bounds& bounds, bool tabStop) {
    WindowParams params;
    params.className = "TSpinButton";
    params.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | (tabStop ? WS_TABSTOP : 0);
    params.parent = parent.handle();
    params.bounds = bounds;
    params.classStyle = 0;
    if (!Window::Create(params))
        return false;
    Bounds half = {0, 0, bounds.width, bounds.height / 2};
    if (!up_.Create(*this, half, TTimerSpeedButton::Arrow::Up) ||
        !down_.Create(*this, half, TTimerSpeedButton::Arrow::Down))
        return false;
    for (TTimerSpeedButton* button : {&up_, &down_}) {
        button->SetButtonFlags(TTimerSpeedButton::AutoRepeat);
        button->onMouseDown = [this, button] { ButtonMouseDown(*button); };
    }
    up_.onClick = [this] {
        if (onUpClick)
            onUpClick();
    };
    down_.onClick = [this] {
        if (onDownClick)
            onDownClick();
    };
    created_ = true;
    SIZE size = WindowSize(handle());
    int minWidth = dpi().Scale(SpinButtonMinWidth);
    if (size.cx < minWidth)
        SetWindowPos(handle(), nullptr, 0, 0, minWidth, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut(ClientWidth(), ClientHeight());
    return true;
}

HWND TSpinButton::FocusControl() const {
    return focusControl_ && IsWindow(focusControl_) ? focusControl_ : nullptr;
}

void TSpinButton::LayOut(int width, int height) {
    SpinButtonLayout layout = LayOutSpinButton(width, height, dpi().Scale(SpinButtonMinWidth));
    MoveChild(up_.handle(), layout.up);
    MoveChild(down_.handle(), layout.down);
}

void TSpinButton::SetFocusButton(TTimerSpeedButton& button) {
    if (!HasTabStop(handle()) || !CanFocus(handle()) || &button == focused_)
        return;
    focused_->SetButtonFlags(focused_->ButtonFlags() & ~TTimerSpeedButton::DrawFocus);
    focused_ = &button;
    if (GetFocus() == handle())
        focused_->SetButtonFlags(focused_->ButtonFlags() | TTimerSpeedButton::DrawFocus);
}

void TSpinButton::ButtonMouseDown(TTimerSpeedButton& button) {
    SetFocusButton(button);
    HWND control = FocusControl();
    if (control && HasTabStop(control) && CanFocus(control) && GetFocus() != control)
        SetFocus(control);
    else if (HasTabStop(handle()) && GetFocus() != handle() && CanFocus(handle()))
        SetFocus(handle());
}

LRESULT TSpinButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            TTimerSpeedButton& button = wParam == VK_UP ? up_ : down_;
            SetFocusButton(button);
            button.Click();
            return 0;
        }
        if (wParam == VK_SPACE) {
            focused_->Click();
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (created_) {
            unsigned flags = focused_->ButtonFlags() & ~TTimerSpeedButton::DrawFocus;
            focused_->SetButtonFlags(flags |
                                     (message == WM_SETFOCUS ? unsigned(TTimerSpeedButton::DrawFocus) : 0u));
        }
        return 0;
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOSIZE))
            pos->cx = std::max(pos->cx, dpi().Scale(SpinButtonMinWidth));
        break;
    }
    case WM_SIZE:
        if (created_)
            LayOut(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_ENABLE:
        if (created_) {
            up_.SetEnabled(wParam != 0);
            down_.SetEnabled(wParam != 0);
        }
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// TSpinEdit

bool TSpinEdit::Create(Widget& parent, const Bounds& bounds) {
    // Multi-line only so that the formatting rectangle can keep text clear of the arrows.
    if (!Control::Create(parent, WC_EDITW, "0",
                         WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | ES_MULTILINE | ES_AUTOHSCROLL,
                         WS_EX_CLIENTEDGE, bounds))
        return false;
    if (!button_.Create(*this, {0, 0, InnerButtonWidth, 17}))
        return false;
    button_.SetFocusControl(handle());
    button_.onUpClick = [this] { UpClick(); };
    button_.onDownClick = [this] { DownClick(); };
    LayOut();
    return true;
}

int TSpinEdit::Value() const {
    return SpinValueFromText(text(), minValue_);
}

void TSpinEdit::SetValue(int value) {
    SetText(std::to_string(ClampValue(value, minValue_, maxValue_)));
}

void TSpinEdit::UpClick() {
    Step(increment_);
}

void TSpinEdit::DownClick() {
    Step(-static_cast<long long>(increment_));
}

void TSpinEdit::Step(long long delta) {
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    SetValue(StepValue(Value(), delta, minValue_, maxValue_));
}

// The arrows' width as designed, for the DPI the field is shown at now, so that they
// follow the field to a monitor of another DPI.
int TSpinEdit::ButtonWidth() const {
    return button_.handle() ? dpi().Scale(InnerButtonWidth) : 0;
}

int TSpinEdit::MinHeight() const {
    HDC dc = GetDC(nullptr);
    TEXTMETRICW system = {}, field = {};
    GetTextMetricsW(dc, &system); // a fresh screen DC holds the system font
    HFONT own = font();
    HGDIOBJ old = SelectObject(dc, own ? static_cast<HGDIOBJ>(own) : GetStockObject(SYSTEM_FONT));
    GetTextMetricsW(dc, &field);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SpinEditMinHeight(field.tmHeight, system.tmHeight, GetSystemMetrics(SM_CYBORDER));
}

void TSpinEdit::LayOut() {
    SIZE size = WindowSize(handle());
    int minHeight = MinHeight();
    if (size.cy < minHeight) {
        // The resize comes back through WM_SIZE, which places the arrows.
        SetWindowPos(handle(), nullptr, 0, 0, size.cx, minHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    PlaceButton();
    SetEditRect();
}

void TSpinEdit::PlaceButton() {
    if (!button_.handle())
        return;
    SIZE size = WindowSize(handle());
    bool clientEdge = (GetWindowLongW(handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    MoveChild(button_.handle(), SpinButtonPlacement(size.cx, size.cy, ButtonWidth(), clientEdge));
}

void TSpinEdit::SetEditRect() {
    if (!button_.handle())
        return;
    RECT rect = {0, 0, SpinTextRight(ClientWidth(), ButtonWidth()), ClientHeight() + 1};
    SendMessageW(handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
}

LRESULT TSpinEdit::HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        // One line to the user: Tab, Enter and Escape belong to the form.
        return CallPlatform(message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    case WM_KEYDOWN:
        if (wParam == VK_UP)
            UpClick();
        else if (wParam == VK_DOWN)
            DownClick();
        else if (wParam == VK_DELETE && !editorEnabled_) {
            // The Delete key edits without a character; refuse it like one.
            MessageBeep(0);
            return 0;
        } else if (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0) {
            // The edit control pastes Shift+Insert itself, without WM_PASTE; asking for the
            // paste by message puts it under the same rule as every other paste.
            SendMessageW(handle(), WM_PASTE, 0, 0);
            return 0;
        }
        break;
    case WM_CHAR:
        if (!AcceptSpinChar(static_cast<unsigned>(wParam), DecimalSeparator(), editorEnabled_)) {
            MessageBeep(0);
            return 0;
        }
        // Accepted, but a multi-line edit would put them into the text.
        if (wParam == '\t' || wParam == '\n')
            return 0;
        break;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
        if (!editorEnabled_ || ReadOnly())
            return 0;
        break;
    case WM_LBUTTONDOWN: {
        mouseDownHere_ = true;
        LRESULT result = CallPlatform(message, wParam, lParam);
        mouseDownHere_ = false;
        return result;
    }
    case WM_SETFOCUS: {
        LRESULT result = CallPlatform(message, wParam, lParam);
        if (autoSelect_ && !mouseDownHere_)
            SelectAll();
        return result;
    }
    case WM_KILLFOCUS: {
        LRESULT result = CallPlatform(message, wParam, lParam);
        if (handle() && NeedsCorrection(text(), minValue_, maxValue_))
            SetValue(Value());
        return result;
    }
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOSIZE))
            pos->cy = std::max(pos->cy, MinHeight());
        break;
    }
    case WM_SIZE: {
        // The platform resets the formatting rectangle to the client area here.
        LRESULT result = CallPlatform(message, wParam, lParam);
        PlaceButton();
        SetEditRect();
        return result;
    }
    case WM_SETFONT: {
        LRESULT result = CallPlatform(message, wParam, lParam);
        LayOut();
        return result;
    }
    case WM_ENABLE:
        if (button_.handle())
            button_.SetEnabled(wParam != 0);
        break;
    }
    return CallPlatform(message, wParam, lParam);
}
