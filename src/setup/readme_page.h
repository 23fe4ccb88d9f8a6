// The wizard's information page: the readme heading and text.
#pragma once

#include <string>

#include "controls.h"

class ReadmePage : public Panel {
public:
    bool Create(Widget& parent, const Bounds& bounds, const Text& caption, const std::wstring& readmeFile);

    Label ReadmeLabel;
    Edit ReadmeMemo;
};
