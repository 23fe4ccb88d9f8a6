#include "label_rules.h"

#include <cstdint>
#include <cstdlib>

namespace {

int ShiftFor(int offset, bool nearEdge, bool farEdge, bool centred) {
    if (centred)
        return offset / 2; // toward zero
    if ((nearEdge && offset >= 0) || (farEdge && offset < 0))
        return offset;
    return 0;
}

// numerator / denominator rounded to the nearest integer, ties to even; denominator > 0.
int64_t RoundHalfEven(int64_t numerator, int64_t denominator) {
    int64_t quotient = numerator / denominator;
    int64_t remainder = numerator % denominator;
    if (remainder < 0) { // make it a floor division
        quotient -= 1;
        remainder += denominator;
    }
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0))
        quotient += 1;
    return quotient;
}

} // namespace

ShadowShift ShadowShiftFor(LabelAlignment alignment, LabelLayout layout, int offsetLeft, int offsetTop) {
    ShadowShift shift;
    shift.dx = ShiftFor(offsetLeft, alignment == LabelAlignment::Left, alignment == LabelAlignment::Right,
                        alignment == LabelAlignment::Center);
    shift.dy = ShiftFor(offsetTop, layout == LabelLayout::Top, layout == LabelLayout::Bottom,
                        layout == LabelLayout::Center);
    return shift;
}

int LayoutOffset(LabelLayout layout, int clientHeight, int textHeight) {
    switch (layout) {
    case LabelLayout::Center:
        return (clientHeight - textHeight) / 2;
    case LabelLayout::Bottom:
        return clientHeight - textHeight;
    default:
        return 0;
    }
}

int MarqueeX(int counter, int steps, int width, int textWidth, TDirection direction, bool shadowVisible,
             int offsetLeft) {
    steps = ClampSteps(steps);
    int64_t w = static_cast<int64_t>(textWidth) + std::llabs(offsetLeft);
    int64_t travel = width + w;
    // Exact rational arithmetic: round(r * travel) with r = counter / steps.
    int64_t part = direction == mlLeftToRight ? counter : static_cast<int64_t>(steps) - counter;
    int64_t x = RoundHalfEven(part * travel, steps) - w;
    if (shadowVisible && offsetLeft < 0)
        x -= offsetLeft;
    return static_cast<int>(x);
}

int MarqueeY(int height, int textHeight, bool shadowVisible, int offsetTop) {
    if (textHeight >= height)
        return 0;
    return (height - textHeight - (shadowVisible ? offsetTop : 0)) / 2;
}

int ClampBlinkRate(int rate) {
    return rate != 0 && rate < 100 ? 100 : rate;
}

int ClampSpeed(int speed) {
    return speed > 1000 ? 1000 : speed < 1 ? 1 : speed;
}

int ClampSteps(int steps) {
    return steps < 1 ? 1 : steps;
}

void MarqueePass::Start(int firstStep) {
    if (running_)
        return;
    counter_ = firstStep >= 0 && firstStep <= steps_ ? firstStep : 0;
    running_ = true;
    if (onRunningChange)
        onRunningChange(true);
}

void MarqueePass::Tick() {
    if (!running_)
        return;
    if (counter_ == 0 && onBegin)
        onBegin();
    ++counter_;
    if (onStep)
        onStep();
    // ">=": a pass started at the last step, or whose Steps shrank meanwhile, must still end.
    if (counter_ < steps_)
        return;
    running_ = false;
    counter_ = 0;
    if (onRunningChange)
        onRunningChange(false);
    // Last, so that OnEnd may start the next pass at any step.
    if (onEnd)
        onEnd();
}
