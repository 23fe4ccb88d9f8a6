// The page laid over the progress page once an installation completed: up to three
// programs to start when the wizard ends.
#pragma once

#include <array>

#include "controls.h"
#include "setup_data.h"

class RunPage : public Panel {
public:
    bool Create(Widget& parent, const Bounds& bounds, const SetupData& data, HFONT boldFont);

    Label RunCompleteLabel;
    std::array<CheckBox, 3> RunBoxes;
    Label RunLabel;
};
