#include "label_effects.h"

#include <algorithm>

#include "win/encoding.h"

// ---- TShadow ----

TShadow& TShadow::operator=(const TShadow& other) {
    if (this == &other)
        return *this;
    bool changed = color_ != other.color_ || offsetLeft_ != other.offsetLeft_ ||
                   offsetTop_ != other.offsetTop_ || visible_ != other.visible_;
    CopyValues(other);
    if (changed)
        Changed();
    return *this;
}

void TShadow::CopyValues(const TShadow& other) {
    color_ = other.color_;
    offsetLeft_ = other.offsetLeft_;
    offsetTop_ = other.offsetTop_;
    visible_ = other.visible_;
}

void TShadow::Changed() {
    if (OnChange)
        OnChange(*this);
}

void TShadow::SetColor(COLORREF color) {
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TShadow::SetOffsetLeft(int offset) {
    if (offset == offsetLeft_)
        return;
    offsetLeft_ = offset;
    Changed();
}

void TShadow::SetOffsetTop(int offset) {
    if (offset == offsetTop_)
        return;
    offsetTop_ = offset;
    Changed();
}

void TShadow::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    Changed();
}

// ---- LabelEffectBase ----

LabelEffectBase::LabelEffectBase()
    : color_(GetSysColor(COLOR_BTNFACE)), fontColor_(GetSysColor(COLOR_WINDOWTEXT)) {
    shadow_.OnChange = [this](TShadow&) { Repaint(); };
}

bool LabelEffectBase::CreateLabel(const Text& className, Widget& parent, const Text& caption,
                                  const Bounds& bounds) {
    WindowParams params;
    params.className = className;
    params.caption = caption;
    params.style = WS_CHILD | WS_VISIBLE;
    params.parent = parent.handle();
    params.bounds = bounds;
    params.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    params.background = nullptr; // the label paints all of itself
    if (!Window::Create(params))
        return false;
    if (hasFontSpec_)
        MakeOwnFont(); // now for the DPI of the window
    else
        SetFont(parent.font());
    return true;
}

void LabelEffectBase::SetColor(COLORREF color) {
    if (color == color_)
        return;
    color_ = color;
    Repaint();
}

void LabelEffectBase::SetFontColor(COLORREF color) {
    if (color == fontColor_)
        return;
    fontColor_ = color;
    Repaint();
}

void LabelEffectBase::SetFontSpec(const FontSpec& spec) {
    fontSpec_ = spec;
    hasFontSpec_ = true;
    MakeOwnFont();
}

void LabelEffectBase::MakeOwnFont() {
    UniqueGdiObject font = CreateFontFor(fontSpec_, handle() ? dpi().dpi() : DpiScale::ForSystem().dpi());
    if (!font)
        return;
    if (handle())
        SetFont(AsFont(font));
    ownFont_ = std::move(font); // the old one only now, after the window let go of it
}

void LabelEffectBase::SetShadow(const TShadow& shadow) {
    shadow_ = shadow;
    Repaint();
}

void LabelEffectBase::Repaint() {
    if (handle())
        InvalidateRect(handle(), nullptr, FALSE);
}

HFONT LabelEffectBase::LabelFont() const {
    HFONT current = font();
    return current ? current : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

LRESULT LabelEffectBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PaintScope paint(handle());
        Paint(paint.dc(), paint.area());
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(handle(), &client);
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // painted with the rest, so nothing flashes in between
    case WM_SETTEXT: {
        LRESULT result = DefaultHandling(message, wParam, lParam);
        Repaint();
        return result;
    }
    case WM_SETFONT:
        DefaultHandling(message, wParam, lParam);
        if (lParam)
            Repaint();
        return 0;
    case WM_ENABLE:
        Repaint();
        return 0;
    case WM_DPICHANGED_AFTERPARENT:
        if (hasFontSpec_)
            MakeOwnFont();
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

// ---- TBlinkLabel ----

TBlinkLabel::TBlinkLabel() : blinkTimer_(500, true) {}

bool TBlinkLabel::Create(Widget& parent, const Text& caption, const Bounds& bounds) {
    if (!CreateLabel("TBlinkLabel", parent, caption, bounds))
        return false;
    blinkTimer_.SetHandler([this] {
        textShown_ = !textShown_;
        Repaint();
    });
    return true;
}

void TBlinkLabel::SetAlignment(LabelAlignment alignment) {
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    Repaint();
}

void TBlinkLabel::SetLayout(LabelLayout layout) {
    if (layout == layout_)
        return;
    layout_ = layout;
    Repaint();
}

void TBlinkLabel::SetTransparent(bool transparent) {
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Repaint();
}

void TBlinkLabel::SetShowAccelChar(bool show) {
    if (show == showAccelChar_)
        return;
    showAccelChar_ = show;
    Repaint();
}

void TBlinkLabel::SetWordWrap(bool wrap) {
    if (wrap == wordWrap_)
        return;
    wordWrap_ = wrap;
    Repaint();
}

void TBlinkLabel::SetBlinkRate(int rate) {
    rate = ClampBlinkRate(rate);
    if (rate == 0 && !textShown_) {
        textShown_ = true;
        Repaint();
    }
    blinkRate_ = rate;
    blinkTimer_.SetInterval(static_cast<unsigned>(rate)); // 0 stops the timer
}

// Has the parent draw its background into our DC, shifted so that its client area lines
// up: its WM_ERASEBKGND (the class brush, or whatever it paints there) and WM_PRINTCLIENT
// for what it draws in WM_PAINT. Unlike WS_EX_TRANSPARENT this needs no help from the
// parent's painting order and works the same under Wine.
void TBlinkLabel::PaintParentBackground(HDC dc) {
    HWND parent = GetParent(handle());
    if (!parent)
        return;
    POINT origin = {0, 0};
    MapWindowPoints(handle(), parent, &origin, 1);
    POINT old;
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void TBlinkLabel::DrawLabelText(HDC dc, RECT rect, UINT format, COLORREF color) {
    std::wstring caption = Widen(Caption());
    SetTextColor(dc, color);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rect, format);
}

void TBlinkLabel::Paint(HDC dc, const RECT& clip) {
    if (transparent_) {
        PaintParentBackground(dc);
    } else {
        UniqueGdiObject brush(CreateSolidBrush(Color()));
        FillRect(dc, &clip, static_cast<HBRUSH>(brush.get()));
    }
    if (!textShown_)
        return;

    UINT format = DT_EXPANDTABS;
    format |= alignment_ == LabelAlignment::Right    ? DT_RIGHT
              : alignment_ == LabelAlignment::Center ? DT_CENTER
                                                     : DT_LEFT;
    if (!showAccelChar_)
        format |= DT_NOPREFIX;
    if (wordWrap_)
        format |= DT_WORDBREAK;
    SetBkMode(dc, TRANSPARENT);
    SelectObjectScope font(dc, LabelFont());

    RECT rect;
    GetClientRect(handle(), &rect);
    if (layout_ != LabelLayout::Top) {
        std::wstring caption = Widen(Caption());
        RECT measured = rect;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, format | DT_CALCRECT);
        OffsetRect(&rect, 0, LayoutOffset(layout_, rect.bottom - rect.top, measured.bottom - measured.top));
    }
    // The offsets are 96-DPI pixels like every position of the forms.
    const TShadow& shadow = Shadow();
    DpiScale scale = dpi();
    if (shadow.Visible()) {
        int offsetLeft = scale.Scale(shadow.OffsetLeft()), offsetTop = scale.Scale(shadow.OffsetTop());
        ShadowShift shift = ShadowShiftFor(alignment_, layout_, offsetLeft, offsetTop);
        OffsetRect(&rect, shift.dx, shift.dy);
        DrawLabelText(dc, rect, format, shadow.Color());
        OffsetRect(&rect, -offsetLeft, -offsetTop);
    }
    if (!enabled()) {
        int emboss = std::max(1, scale.Scale(1));
        OffsetRect(&rect, emboss, emboss);
        DrawLabelText(dc, rect, format, GetSysColor(COLOR_BTNHIGHLIGHT));
        OffsetRect(&rect, -emboss, -emboss);
        DrawLabelText(dc, rect, format, GetSysColor(COLOR_BTNSHADOW));
    } else {
        DrawLabelText(dc, rect, format, FontColor());
    }
}

// ---- TMarqueeLabel ----

TMarqueeLabel::TMarqueeLabel() : stepTimer_(100, false) {
    pass_.onRunningChange = [this](bool running) { stepTimer_.SetEnabled(running); };
    pass_.onBegin = [this] {
        if (OnBegin)
            OnBegin();
    };
    pass_.onStep = [this] {
        if (OnStep)
            OnStep();
        Repaint();
        if (handle())
            UpdateWindow(handle()); // show every step, not only the last before the loop idles
    };
    pass_.onEnd = [this] {
        if (OnEnd)
            OnEnd();
    };
    stepTimer_.SetHandler([this] { pass_.Tick(); });
}

bool TMarqueeLabel::Create(Widget& parent, const Text& caption, const Bounds& bounds) {
    return CreateLabel("TMarqueeLabel", parent, caption, bounds);
}

void TMarqueeLabel::SetDirection(TDirection direction) {
    direction_ = direction;
}

void TMarqueeLabel::SetSpeed(int speed) {
    speed = ClampSpeed(speed);
    if (speed == speed_)
        return;
    speed_ = speed;
    stepTimer_.SetInterval(static_cast<unsigned>(speed));
}

void TMarqueeLabel::Start(int firstStep) {
    pass_.Start(firstStep);
}

void TMarqueeLabel::Paint(HDC dc, const RECT&) {
    RECT client;
    GetClientRect(handle(), &client);
    int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0)
        return;
    OffscreenBitmap buffer(dc, width, height);
    HDC canvas = buffer.dc();
    SelectObjectScope font(canvas, LabelFont());
    std::wstring caption = Widen(Caption());
    int length = static_cast<int>(caption.size());
    SIZE size = {};
    GetTextExtentPoint32W(canvas, caption.c_str(), length, &size);

    UniqueGdiObject brush(CreateSolidBrush(Color()));
    FillRect(canvas, &client, static_cast<HBRUSH>(brush.get()));

    const TShadow& shadow = Shadow();
    DpiScale scale = dpi();
    int offsetLeft = scale.Scale(shadow.OffsetLeft()), offsetTop = scale.Scale(shadow.OffsetTop());
    int y = MarqueeY(height, size.cy, shadow.Visible(), offsetTop);
    int x = MarqueeX(Counter(), Steps(), width, size.cx, direction_, shadow.Visible(), offsetLeft);
    SetBkMode(canvas, TRANSPARENT);
    if (shadow.Visible()) {
        SetTextColor(canvas, shadow.Color());
        TextOutW(canvas, x + offsetLeft, y + offsetTop, caption.c_str(), length);
    }
    SetTextColor(canvas, FontColor());
    TextOutW(canvas, x, y, caption.c_str(), length);
    BitBlt(dc, 0, 0, width, height, canvas, 0, 0, SRCCOPY);
}
