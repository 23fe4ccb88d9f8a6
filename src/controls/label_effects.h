// The label effects: a drop shadow (TShadow) shared by a label that can blink
// (TBlinkLabel) and a one-line label whose text slides across it (TMarqueeLabel).
//
// Properties read as `Name()` and change through `SetName(value)`; a setter repaints the
// label when the value changes. State every window has (enabled, visible, bounds, font
// handle) keeps the Widget accessors: `SetEnabled`, `SetVisible`, `SetBounds`, `SetFont`.
// The labels draw the font set with `SetFont` (not owned) or `SetFontSpec` (owned); at
// creation they take their parent's font.
#pragma once

#include <functional>

#include "fonts.h"
#include "label_rules.h"
#include "timer.h"
#include "window.h"

// Drop-shadow settings. Copying takes the values only: a copy has no OnChange, and
// assigning to a shadow keeps its own OnChange (and fires it when a value changed).
class TShadow {
public:
    TShadow() = default;
    TShadow(const TShadow& other) { CopyValues(other); }
    TShadow& operator=(const TShadow& other);

    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    // Pixels; negative values put the shadow left of or above the text.
    int OffsetLeft() const { return offsetLeft_; }
    void SetOffsetLeft(int offset);
    int OffsetTop() const { return offsetTop_; }
    void SetOffsetTop(int offset);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // Fired after a setter changed a value; the owning label repaints from it.
    std::function<void(TShadow& sender)> OnChange;

private:
    void CopyValues(const TShadow& other);
    void Changed();

    COLORREF color_ = RGB(128, 128, 128);
    int offsetLeft_ = 2;
    int offsetTop_ = 2;
    bool visible_ = true;
};

// What both labels share: a window of their own class, colours, an optional owned font
// and the shadow, whose changes repaint the label.
class LabelEffectBase : public Window {
public:
    LabelEffectBase();

    Text Caption() const { return text(); }
    void SetCaption(const Text& caption) { SetText(caption); } // repaints
    // Background colour.
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    COLORREF FontColor() const { return fontColor_; }
    void SetFontColor(COLORREF color);
    // Creates a font for the label's DPI and keeps it (remade when the DPI changes).
    void SetFontSpec(const FontSpec& spec);

    TShadow& Shadow() { return shadow_; }
    const TShadow& Shadow() const { return shadow_; }
    // Copies the values into the label's own shadow and repaints.
    void SetShadow(const TShadow& shadow);

protected:
    bool CreateLabel(const Text& className, Widget& parent, const Text& caption, const Bounds& bounds);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Draws the whole label into dc; clip is the area that needs it.
    virtual void Paint(HDC dc, const RECT& clip) = 0;
    void Repaint();
    HFONT LabelFont() const;

private:
    COLORREF color_;
    COLORREF fontColor_;
    void MakeOwnFont();

    FontSpec fontSpec_;
    bool hasFontSpec_ = false;
    UniqueGdiObject ownFont_;
    TShadow shadow_;
};

// A label that draws its text with a drop shadow and can blink: every BlinkRate
// milliseconds the text hides or shows again.
class TBlinkLabel : public LabelEffectBase {
public:
    TBlinkLabel();
    bool Create(Widget& parent, const Text& caption, const Bounds& bounds);

    LabelAlignment Alignment() const { return alignment_; }
    void SetAlignment(LabelAlignment alignment);
    LabelLayout Layout() const { return layout_; }
    void SetLayout(LabelLayout layout);
    // A transparent label shows its parent's background instead of Color.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // With ShowAccelChar, "&X" underlines X; without, "&" shows as it is.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);

    // Half-period in milliseconds; 0 stops blinking and leaves the text shown. A non-zero
    // rate below 100 becomes 100.
    int BlinkRate() const { return blinkRate_; }
    void SetBlinkRate(int rate);
    // The blink phase: false while the text is hidden.
    bool TextShown() const { return textShown_; }

protected:
    void Paint(HDC dc, const RECT& clip) override;

private:
    void PaintParentBackground(HDC dc);
    void DrawLabelText(HDC dc, RECT rect, UINT format, COLORREF color);

    LabelAlignment alignment_ = LabelAlignment::Left;
    LabelLayout layout_ = LabelLayout::Top;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    bool wordWrap_ = false;
    int blinkRate_ = 500;
    bool textShown_ = true;
    Timer blinkTimer_;
};

// A one-line label whose caption crosses it in Steps steps of Speed milliseconds once
// Start is called: from beyond one edge (the right one for mlRightToLeft) to beyond the
// other. It paints off-screen and never erases, so the moving text does not flicker.
class TMarqueeLabel : public LabelEffectBase {
public:
    TMarqueeLabel();
    bool Create(Widget& parent, const Text& caption, const Bounds& bounds);

    TDirection Direction() const { return direction_; }
    void SetDirection(TDirection direction); // shown from the next paint on
    // Milliseconds between steps, 1 to 1000.
    int Speed() const { return speed_; }
    void SetSpeed(int speed);
    // Steps of one pass, at least 1.
    int Steps() const { return pass_.Steps(); }
    void SetSteps(int steps) { pass_.SetSteps(steps); }

    // Starts a pass at firstStep (0 when outside 0..Steps) unless one is running.
    void Start(int firstStep = 0);
    bool Running() const { return pass_.Running(); }
    // The step the text stands at; 0 while idle.
    int Counter() const { return pass_.Counter(); }

    // The first step of a pass, every step, and after the last step.
    std::function<void()> OnBegin, OnStep, OnEnd;

protected:
    void Paint(HDC dc, const RECT& clip) override;

private:
    TDirection direction_ = mlRightToLeft;
    int speed_ = 100;
    MarqueePass pass_;
    Timer stepTimer_;
};
