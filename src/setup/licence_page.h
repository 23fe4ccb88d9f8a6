// The wizard's licence page: the licence text and the question whether the user agrees
// (the form's Next and Cancel read "はい" and "いいえ" here). It covers the picture too.
#pragma once

#include <string>

#include "controls.h"

class LicencePage : public Panel {
public:
    bool Create(Widget& parent, const Bounds& bounds, const Text& appName, const std::wstring& licenceFile);

    Image LicenceIcon;
    Label LicenceLabel;
    Edit LicenceMemo;
    Label LicenceQuestion;
};
