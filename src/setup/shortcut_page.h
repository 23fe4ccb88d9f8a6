// The wizard's shortcut page: the start-menu box with the program group (typed or picked
// from the Programs folder's existing folders), the desktop and Send To boxes.
#pragma once

#include <string>

#include "controls.h"
#include "install_engine.h"

class ShortcutPage : public Panel {
public:
    bool Create(Widget& parent, const Bounds& bounds, const SetupData& data, const InstallProposal& proposal,
                const std::wstring& programsFolder);
    // At least one of the three boxes has entries behind it.
    bool AnyBoxEnabled() const { return startMenu_ || desktop_ || sendTo_; }

    Label ShortcutLabel;
    CheckBox CheckBox1, CheckBox2, CheckBox3;
    GroupBox GroupGroup;
    Edit Edit2;
    Label ListLabel;
    ListBox ListBox1;

private:
    bool startMenu_ = false;
    bool desktop_ = false;
    bool sendTo_ = false;
};
