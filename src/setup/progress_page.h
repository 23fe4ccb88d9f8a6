// The progress page of an install or uninstall run: the text, four labelled bars (a bar
// that counts nothing is hidden with its label) and the completion text, hidden until the
// end, whose visibility is what allows the window to close.
#pragma once

#include <array>
#include <string>

#include "controls.h"

class ProgressPage : public Panel {
public:
    bool Create(Widget& parent, const Bounds& bounds, const std::wstring& text,
                const std::array<const char*, 4>& barNames, const Text& completion, HFONT boldFont);
    void SetBarMaximum(int bar, int maximum);

    Label ProgressLabel;
    std::array<Label, 4> BarLabels;
    std::array<ProgressBar, 4> Bars;
    Label CompleteLabel;
};
