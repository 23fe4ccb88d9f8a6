// The controls of the settings window (the tray program's form), in screen order.
#pragma once

#include <array>

#include "controls.h"
#include "menu.h"
#include "spin.h"
#include "string_grid.h"

struct SettingsWindowControls {
    Menu MainMenu1{true};
    TabControl PageControl1;
    std::array<CheckBox, 17> CheckBoxes; // CheckBox1 .. CheckBox17
    Edit Edit1, Edit2, Edit3;            // folder lists of tags 0, 1, 2
    Label Label1;                        // "更新時間[ms](&T):"
    TSpinEdit SpinEdit1;
    std::array<Bevel, 5> Bevels; // lines between the groups of the basic settings
    TStringGrid StringGrid1;     // Run list
    TStringGrid StringGrid2;     // clipboard snippets
    Button BitBtn1, BitBtn2, BitBtn4;

    Edit& FolderBox(int tag) { return tag == 1 ? Edit2 : tag == 2 ? Edit3 : Edit1; }
};
