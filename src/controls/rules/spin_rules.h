// Rules of the spin edit and its arrow buttons that need no window: bounds, reading the
// text, which typed characters the field takes, sizes and the repeat schedule.
#pragma once

#include <optional>

#include "jjstring.h"

// The value bounded by [minValue, maxValue]; equal bounds mean no bounds at all.
int ClampValue(int value, int minValue, int maxValue);

// The text as a decimal integer (optional sign, surrounding blanks allowed); nothing when
// it is not one or does not fit in an int.
std::optional<int> ParseSpinText(const Text& text);

// What the field's value is for a text: the integer, or minValue for anything else.
int SpinValueFromText(const Text& text, int minValue);

// One step of delta from value, bounded; never overflows, even without bounds.
int StepValue(int value, long long delta, int minValue, int maxValue);

// Whether leaving the field must rewrite the text: it is not an integer, or the bounds
// change the value it holds.
bool NeedsCorrection(const Text& text, int minValue, int maxValue);

// Whether the field takes a typed character (a UTF-16 code unit). The decimal separator
// is the locale's, passed in so the rule does not ask the machine.
bool AcceptSpinChar(unsigned ch, unsigned decimalSeparator, bool editorEnabled);

// The smallest height of the field that shows its text: the font height, a quarter of the
// smaller of the system and the field font, four borders and two pixels.
int SpinEditMinHeight(int fontHeight, int systemFontHeight, int borderHeight);

struct SpinRect {
    int left = 0, top = 0, width = 0, height = 0;
};

inline bool operator==(const SpinRect& a, const SpinRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// Where the arrow pair sits in a field of the given outer size: inside the client edge
// for fields with one, else against the right edge below the one-pixel border.
SpinRect SpinButtonPlacement(int editWidth, int editHeight, int buttonWidth, bool clientEdge);

// The right end of the field's formatting rectangle: text stops short of the arrows.
int SpinTextRight(int clientWidth, int buttonWidth);

constexpr int SpinButtonMinWidth = 15; // 96-DPI pixels

struct SpinButtonLayout {
    int width = 0; // the control's width after raising it to the minimum
    SpinRect up, down;
};

// The two arrows of a control of the given size: the upper half and the rest, sharing
// one pixel row so their borders meet.
SpinButtonLayout LayOutSpinButton(int width, int height, int minWidth);

constexpr unsigned InitialRepeatDelayMs = 400;
constexpr unsigned RepeatIntervalMs = 100;

// The timer interval after the given number of expiries: a longer pause first, so that a
// quick press steps only once.
unsigned RepeatIntervalAfter(int expiries);

// How many repeat clicks a press held for heldMs gives (the click at release not counted).
int RepeatClicksWhileHeld(unsigned heldMs);
