// The wizard's setup-method page: install into a chosen folder (with the free space of its
// drive) or into the setup program's own folder without copying.
#pragma once

#include "controls.h"
#include "install_engine.h"

class MethodPage : public Panel {
public:
    bool Create(Widget& parent, const Bounds& bounds, const Text& capacity, const InstallProposal& proposal);
    // The group box's title with the free space of the drive the folder field names.
    void RefreshFreeSpace();

    Label MethodLabel;
    RadioButton RadioButton1, RadioButton2;
    Label CapacityLabel;
    GroupBox FolderGroup;
    Edit Edit1;
    Button BitBtn4;
};
