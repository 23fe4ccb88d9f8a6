// A numeric entry field with a pair of arrow buttons inside its right edge.
//
//   TTimerSpeedButton  a flat button of our own drawing that repeats its click while held
//                      (400 ms after the press, then every 100 ms).
//   TSpinButton        the up/down pair, also usable on its own; raises onUpClick and
//                      onDownClick, takes Up, Down and Space when it has the focus.
//   TSpinEdit          the platform edit control holding a TSpinButton; its text is an
//                      integer kept within MinValue..MaxValue (equal bounds: no bounds).
//
// A property P is read with P() and written with SetP() (Value(), SetValue()); events are
// public std::function members (onUpClick). Bitmaps given to the glyph properties are not
// owned and must outlive the buttons. Handlers must not throw (no exception crosses a
// window procedure); a repeat click that throws anyway stops the repeat.
#pragma once

#include <functional>

#include "controls.h"
#include "gdi.h"
#include "timer.h"
#include "window.h"

class TTimerSpeedButton : public Window {
public:
    enum Flag : unsigned { DrawFocus = 1, AutoRepeat = 2 };
    enum class Arrow { Up, Down };

    bool Create(Widget& parent, const Bounds& bounds, Arrow arrow);

    unsigned ButtonFlags() const { return flags_; }
    void SetButtonFlags(unsigned flags);
    // numGlyphs images side by side: the first normal, the second (when present) disabled.
    // Without a glyph the button draws its arrow itself.
    HBITMAP Glyph() const { return glyph_; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetGlyph(HBITMAP glyph, int numGlyphs = 1);

    bool pressed() const { return pressed_; }
    void Click();

    std::function<void()> onClick;
    // A left button press, before the button reacts to it.
    std::function<void()> onMouseDown;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& area);
    void DrawArrow(HDC dc, const RECT& face);
    void DrawGlyph(HDC dc, const RECT& face);
    void SetPressed(bool pressed);
    void RepeatTick();
    void EndTracking();

    Arrow arrow_ = Arrow::Up;
    unsigned flags_ = 0;
    HBITMAP glyph_ = nullptr;
    int numGlyphs_ = 1;
    bool tracking_ = false; // the left button went down here and has not come up
    bool pressed_ = false;  // drawn pressed: tracking with the mouse over the button
    Timer repeat_{0, false};
};

class TSpinButton : public Window {
public:
    // Default size 20 × 25; with tabStop the control takes the focus and shows it.
    bool Create(Widget& parent, const Bounds& bounds = {0, 0, 20, 25}, bool tabStop = false);

    // The control that gets the focus when an arrow is pressed (not owned; forgotten when
    // its window goes away).
    HWND FocusControl() const;
    void SetFocusControl(HWND control) { focusControl_ = control; }

    HBITMAP UpGlyph() const { return up_.Glyph(); }
    int UpNumGlyphs() const { return up_.NumGlyphs(); }
    void SetUpGlyph(HBITMAP glyph, int numGlyphs = 1) { up_.SetGlyph(glyph, numGlyphs); }
    HBITMAP DownGlyph() const { return down_.Glyph(); }
    int DownNumGlyphs() const { return down_.NumGlyphs(); }
    void SetDownGlyph(HBITMAP glyph, int numGlyphs = 1) { down_.SetGlyph(glyph, numGlyphs); }

    TTimerSpeedButton& UpButton() { return up_; }
    TTimerSpeedButton& DownButton() { return down_; }
    TTimerSpeedButton& FocusedButton() { return *focused_; }

    std::function<void()> onUpClick, onDownClick;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CanTakeFocus(HWND window) const;
    void SetFocusButton(TTimerSpeedButton& button);
    void ButtonMouseDown(TTimerSpeedButton& button);
    void LayOut(int width, int height);

    TTimerSpeedButton up_, down_;
    TTimerSpeedButton* focused_ = &up_;
    HWND focusControl_ = nullptr;
    bool created_ = false;
};

class TSpinEdit : public Edit {
public:
    // The initial text is "0". The edit's usual interface (text, SetReadOnly, SelectAll,
    // onChange, onEnter, onExit) comes from Edit.
    bool Create(Widget& parent, const Bounds& bounds);

    int Value() const;
    void SetValue(int value);
    int MinValue() const { return minValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value) { maxValue_ = value; }
    int Increment() const { return increment_; }
    void SetIncrement(int increment) { increment_ = increment; }
    // When false the text changes only through the arrows.
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool enabled) { editorEnabled_ = enabled; }
    bool ReadOnly() const { return readOnly(); }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }

    // The steps of the arrows and the Up and Down keys; they beep when the field is read-only.
    void UpClick();
    void DownClick();

    TSpinButton& Button() { return button_; }

protected:
    LRESULT HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr int InnerButtonWidth = 15; // 96-DPI pixels
    int ButtonWidth() const;
    int MinHeight() const;
    void LayOut();
    void PlaceButton();
    void SetEditRect();
    void Step(long long delta);

    TSpinButton button_;
    int minValue_ = 0, maxValue_ = 0, increment_ = 1;
    bool editorEnabled_ = true;
    bool autoSelect_ = true;
    bool mouseDownHere_ = false; // a click into the field places the caret, not select all
};
