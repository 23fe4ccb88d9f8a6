// The wizard's first page: the welcome text with the maker's addresses.
#pragma once

#include "controls.h"

class WelcomePage : public Panel {
public:
    bool Create(Widget& parent, const Bounds& bounds, const Text& appName);

    Label WelcomeLabel;
};
