// Rules of the label effects that need no window: where the drop shadow and the text go,
// where the marquee text stands at a step, the limits of the properties, and one pass of
// the marquee as a small state machine.
#pragma once

#include <functional>

enum class LabelAlignment { Left, Right, Center };
enum class LabelLayout { Top, Center, Bottom };
enum TDirection { mlRightToLeft = 0, mlLeftToRight = 1 };

struct ShadowShift {
    int dx = 0;
    int dy = 0;
};

// How far the text rectangle moves before the shadow is drawn; the text itself is then
// drawn at that shift minus the offsets, so text and shadow together stay inside the
// label whatever the sign of the offsets.
ShadowShift ShadowShiftFor(LabelAlignment alignment, LabelLayout layout, int offsetLeft, int offsetTop);

// How far down the text starts for a layout, given the measured text height.
int LayoutOffset(LabelLayout layout, int clientHeight, int textHeight);

// Left edge of the marquee caption at step `counter` of `steps`: at 0 the text lies just
// beyond one edge, at `steps` just beyond the other. `textWidth` is the caption's own
// width; the horizontal shadow offset is added to it.
int MarqueeX(int counter, int steps, int width, int textWidth, TDirection direction, bool shadowVisible,
             int offsetLeft);
// Top of the marquee caption: centred (leaving room for the shadow) when it fits, else 0.
int MarqueeY(int height, int textHeight, bool shadowVisible, int offsetTop);

// A non-zero rate below 100 ms becomes 100; 0 means no blinking.
int ClampBlinkRate(int rate);
int ClampSpeed(int speed); // 1 to 1000 ms
int ClampSteps(int steps); // at least 1

// One marquee pass. Start begins a pass unless one runs; each Tick advances one step.
// The owner drives a timer from onRunningChange and repaints from onStep.
class MarqueePass {
public:
    int Steps() const { return steps_; }
    void SetSteps(int steps) { steps_ = ClampSteps(steps); }
    int Counter() const { return counter_; }
    bool Running() const { return running_; }

    // Starts at `firstStep` when it lies within 0..Steps, else at 0; ignored while running.
    void Start(int firstStep);
    // Ignored while no pass runs.
    void Tick();

    std::function<void()> onBegin, onStep, onEnd;
    std::function<void(bool running)> onRunningChange;

private:
    int steps_ = 50;
    int counter_ = 0;
    bool running_ = false;
};
