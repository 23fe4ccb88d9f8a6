#include "spin_rules.h"

#include <algorithm>
#include <climits>

int ClampValue(int value, int minValue, int maxValue) {
    if (minValue == maxValue)
        return value;
    if (value < minValue)
        return minValue;
    if (value > maxValue)
        return maxValue;
    return value;
}

std::optional<int> ParseSpinText(const Text& text) {
    size_t pos = 0, end = text.size();
    while (pos < end && text[pos] == ' ')
        ++pos;
    while (end > pos && text[end - 1] == ' ')
        --end;
    bool negative = false;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == end)
        return std::nullopt;
    long long magnitude = 0;
    for (; pos < end; ++pos) {
        char c = text[pos];
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

int SpinValueFromText(const Text& text, int minValue) {
    return ParseSpinText(text).value_or(minValue);
}

int StepValue(int value, long long delta, int minValue, int maxValue) {
    long long sum = value + delta;
    sum = std::clamp<long long>(sum, INT_MIN, INT_MAX);
    return ClampValue(static_cast<int>(sum), minValue, maxValue);
}

bool NeedsCorrection(const Text& text, int minValue, int maxValue) {
    std::optional<int> value = ParseSpinText(text);
    return !value || ClampValue(*value, minValue, maxValue) != *value;
}

bool AcceptSpinChar(unsigned ch, unsigned decimalSeparator, bool editorEnabled) {
    bool accepted =
        ch == '+' || ch == '-' || (ch >= '0' && ch <= '9') || ch == decimalSeparator || (ch < 32 && ch != 13);
    if (accepted && !editorEnabled && (ch >= 32 || ch == 8 || ch == 46))
        return false;
    return accepted;
}

int SpinEditMinHeight(int fontHeight, int systemFontHeight, int borderHeight) {
    return fontHeight + std::min(systemFontHeight, fontHeight) / 4 + 4 * borderHeight + 2;
}

SpinRect SpinButtonPlacement(int editWidth, int editHeight, int buttonWidth, bool clientEdge) {
    if (clientEdge)
        return {editWidth - buttonWidth - 5, 0, buttonWidth, editHeight - 5};
    return {editWidth - buttonWidth, 1, buttonWidth, editHeight - 3};
}

int SpinTextRight(int clientWidth, int buttonWidth) {
    return clientWidth - buttonWidth - 2;
}

SpinButtonLayout LayOutSpinButton(int width, int height, int minWidth) {
    SpinButtonLayout layout;
    layout.width = std::max(width, minWidth);
    int upHeight = height / 2;
    layout.up = {0, 0, layout.width, upHeight};
    layout.down = {0, upHeight - 1, layout.width, height - upHeight + 1};
    return layout;
}

unsigned RepeatIntervalAfter(int expiries) {
    return expiries == 0 ? InitialRepeatDelayMs : RepeatIntervalMs;
}

int RepeatClicksWhileHeld(unsigned heldMs) {
    if (heldMs < InitialRepeatDelayMs)
        return 0;
    return 1 + static_cast<int>((heldMs - InitialRepeatDelayMs) / RepeatIntervalMs);
}
