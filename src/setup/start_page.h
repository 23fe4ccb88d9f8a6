// The wizard's last settings page: Next from here starts the installation.
#pragma once

#include "controls.h"

class StartSetupPage : public Panel {
public:
    bool Create(Widget& parent, const Bounds& bounds, const Text& appName);

    Label StartLabel;
};
