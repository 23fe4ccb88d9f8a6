// The settings window (the tray program's form): its controls in screen order, filled from
// the settings value and read back into one, the check of the folder boxes, "参照(&B)" and
// the grids' editing rules.
#pragma once

#include <array>

#include "controls.h"
#include "menu.h"
#include "spin.h"
#include "string_grid.h"
#include "lumera_host.h"
#include "tray_settings.h"

class TLumeraMainForm;

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

class SettingsWindow {
public:
    explicit SettingsWindow(LumeraHost& host) : host_(host) {}

    // Creates the controls on the form; their events run the form's handlers.
    void Create(TLumeraMainForm& form);
    // Captions, grid headers, column widths and the active tab; stored back at the end.
    void ApplyLayout();
    void StoreLayout();

    // Data in: the stored settings, and the switches of what the menu shows now.
    void Fill(const TraySettings& stored, const TraySettings& menuShown, bool ntFamily, unsigned interval);
    // Data out: what the controls hold (an open grid edit included).
    TraySettings Read();
    // The first folder of every box must exist; else that box is shown with the message.
    bool CheckFolders();
    void Browse();
    void FolderEntered(int tag) { FLastEditTag = tag; }
    // Names an unnamed entry after its file and keeps an empty row below the entries.
    void GridEdited(TStringGrid& grid, int row, const Text& value);
    void PageChanged();
    // Gives the pages the focus unless a control of the form has it.
    void FocusIfOutside(HWND form);

private:
    LumeraHost& host_;
    SettingsWindowControls controls_;
    int FLastEditTag = 0;
};
