// The settings window: which menu items are shown, the folders searched for pictures,
// screen savers and logos, the refresh interval, the splash window and the two entry lists.
// The form is the window; its controls are made once and refilled at every opening.
#include <algorithm>
#include <string>

#include "settings_window.h"

#include "help_topics.h"
#include "main_form.h"

#include "browse_dialog.h"
#include "paths.h"
#include "settings.h"
#include "settings_rules.h"
#include "tray_settings.h"
#include "win/files.h"
#include "win/folders.h"

namespace {

constexpr int BasicTab = 0, RunTab = 1, ClipboardTab = 2;

const char* const FolderMissingMessage = "ﾌｫﾙﾀﾞが存在しません。存在するﾌｫﾙﾀﾞを入力してください。";
const char* const BrowseTitles[] = {"基本ﾌｫﾙﾀﾞ [壁紙]", "基本ﾌｫﾙﾀﾞ [ｽｸﾘｰﾝｾｰﾊﾞｰ]", "基本ﾌｫﾙﾀﾞ [ﾛｺﾞ]"};

// Positions on the basic-settings page: three columns, the first boxes of a group at the
// left, the items that follow them indented.
constexpr int Col0 = 10, Indent = 26, Col1 = 126, Col2 = 246;
constexpr int BoxHeight = 20, EditLeft = 126, EditWidth = 230;

struct BoxPlace {
    int left, top, width;
};
// CheckBox1 .. CheckBox17.
constexpr BoxPlace CheckBoxPlaces[17] = {
    {Col0, 9, 112},   {Indent, 31, 100},  {Col0, 65, 112},  {Indent, 87, 100}, {Col1, 87, 116},
    {Col0, 121, 112}, {Indent, 143, 100}, {Col1, 143, 116}, {Col0, 177, 116},  {Col1, 177, 118},
    {Col2, 177, 100}, {Col0, 211, 116},   {Col1, 211, 130}, {Col0, 233, 116},  {Col1, 233, 130},
    {Col0, 255, 116}, {Col0, 289, 150},
};
constexpr int BevelTops[5] = {57, 113, 169, 203, 281};
constexpr int FolderBoxTops[3] = {8, 64, 120};
constexpr int IntervalTop = 316;

Text Number(int n) {
    return std::to_string(n);
}

// Rows 1 .. k hold the entries, row k + 1 is the empty new-entry row. An entry without a
// name shows namelessDefault(content) when that is given, else an empty name cell.
void FillEntryGrid(TStringGrid& grid, const std::vector<ListRow>& entries,
                   std::wstring (*namelessDefault)(const std::wstring&)) {
    grid.SetEditorMode(false);
    grid.SetRowCount(2);
    int n = 1;
    for (const ListRow& entry : entries) {
        grid.SetRowCount(n + 2);
        grid.SetCell(EntryNumberCol, n, Number(n));
        grid.SetCell(EntryNameCol, n,
                     entry.name.empty() && namelessDefault ? namelessDefault(entry.content) : entry.name);
        grid.SetCell(EntryContentCol, n, entry.content);
        ++n;
    }
    for (int col = 0; col < grid.ColCount(); ++col)
        grid.SetCell(col, n, "");
    grid.SetCol(EntryNameCol);
    grid.SetRow(1);
}

// Every row before the new-entry row, in order.
// Every row before the new-entry row, in order, as the cells hold it: an entry the user
// did not touch goes back exactly as it was stored.
std::vector<ListRow> EntryRows(const TStringGrid& grid) {
    std::vector<ListRow> rows;
    for (int row = 1; row < grid.RowCount() - 1; ++row)
        rows.push_back({grid.WideCell(EntryNameCol, row), grid.WideCell(EntryContentCol, row)});
    return rows;
}

void ApplyColumnWidths(TStringGrid& grid, const Text& prefix) {
    for (int col = 0; col < EntryGridColumns; ++col) {
        long width = GetSettingInt("Position", prefix + Number(col + 1), DefaultEntryColWidths[col]);
        grid.SetColWidth(col, static_cast<int>(std::clamp(width, 0L, 10000L)));
    }
}

void StoreColumnWidths(const TStringGrid& grid, const Text& prefix) {
    for (int col = 0; col < EntryGridColumns; ++col)
        SetSettingInt("Position", prefix + Number(col + 1), grid.ColWidth(col));
}

} // namespace

void SettingsWindow::Create(TLumeraMainForm& form) {
    SettingsWindowControls& s = controls_;

    MenuItem& help = s.MainMenu1.items().Add("ﾍﾙﾌﾟ(&H)");
    help.helpContext = HelpMenus;
    form.AddHelpItems(help);
    form.SetMainMenu(s.MainMenu1);

    s.PageControl1.Create(form, {4, 4, 378, 386});
    s.PageControl1.SetName("PageControl1");
    const char* const tabs[] = {"基本設定", "実行", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ"};
    for (int i = 0; i < 3; ++i)
        s.PageControl1.AddPage(tabs[i]).SetName("TabSheet" + Number(i + 1));
    s.PageControl1.onChange = [&form] { form.PageControl1Change(); };

    // Tab order follows creation: each folder box right after the check box it belongs to.
    Panel& basic = s.PageControl1.page(BasicTab);
    for (int i = 0; i < 17; ++i) {
        const BoxPlace& place = CheckBoxPlaces[i];
        s.CheckBoxes[i].Create(basic, "", {place.left, place.top, place.width, BoxHeight});
        s.CheckBoxes[i].SetName("CheckBox" + Number(i + 1));
        int folderTag = i == 0 ? 0 : i == 2 ? 1 : i == 5 ? 2 : -1;
        if (folderTag < 0)
            continue;
        Edit& box = s.FolderBox(folderTag);
        box.Create(basic, "", {EditLeft, FolderBoxTops[folderTag], EditWidth, 21});
        box.SetName("Edit" + Number(folderTag + 1));
        box.tag = folderTag;
        box.onEnter = [&form, folderTag] { form.Edit1Enter(folderTag); };
    }
    for (int i = 0; i < 5; ++i)
        s.Bevels[i].Create(basic, {8, BevelTops[i], 350, 2}, Bevel::HorizontalLine);
    s.Label1.Create(basic, "", {Col0, IntervalTop + 4, 112, 16});
    s.Label1.SetName("Label1");
    s.SpinEdit1.Create(basic, {EditLeft, IntervalTop, 80, 22});
    s.SpinEdit1.SetName("SpinEdit1");
    s.SpinEdit1.SetMinValue(1);
    s.SpinEdit1.SetMaxValue(10000);

    TStringGrid* grids[] = {&s.StringGrid1, &s.StringGrid2};
    for (int i = 0; i < 2; ++i) {
        Panel& page = s.PageControl1.page(i == 0 ? RunTab : ClipboardTab);
        Bounds area = page.bounds();
        TStringGrid& grid = *grids[i];
        grid.Create(page, {2, 2, area.width - 4, area.height - 4}, EntryGridColumns, 2, 1, 1);
        grid.SetName(i == 0 ? "StringGrid1" : "StringGrid2");
        grid.OnSetEditText = [&form, &grid](int col, int row, const Text& value) {
            form.StringGrid1SetEditText(grid, col, row, value);
        };
    }

    const int buttonTop = 398, buttonWidth = 84, buttonHeight = 25;
    s.BitBtn1.Create(form, "", {116, buttonTop, buttonWidth, buttonHeight});
    s.BitBtn1.SetName("BitBtn1");
    s.BitBtn1.onClick = [&form] { form.BitBtn1Click(); };
    s.BitBtn2.Create(form, "", {206, buttonTop, buttonWidth, buttonHeight});
    s.BitBtn2.SetName("BitBtn2");
    s.BitBtn2.onClick = [&form] { form.BitBtn2Click(); };
    s.BitBtn4.Create(form, "", {296, buttonTop, buttonWidth, buttonHeight});
    s.BitBtn4.SetName("BitBtn4");
    s.BitBtn4.onClick = [&form] { form.BitBtn4Click(); };
    form.SetDefaultButton(s.BitBtn1);
    // With "EscToClose" off, Esc must not reach the cancel button either.
    if (Options().escCloses)
        form.SetCancelButton(s.BitBtn2);
}

void SettingsWindow::ApplyLayout() {
    SettingsWindowControls& s = controls_;
    for (size_t i = 0; i < s.CheckBoxes.size(); ++i)
        s.CheckBoxes[i].SetText(SettingsCheckBoxTable()[i].caption);
    s.Label1.SetText("更新時間[ms](&T):");
    s.BitBtn1.SetText("OK(&Y)");
    s.BitBtn2.SetText("ｷｬﾝｾﾙ(&N)");
    s.BitBtn4.SetText("参照(&B)");

    s.StringGrid1.SetCell(EntryNameCol, 0, "氏名");
    s.StringGrid1.SetCell(EntryContentCol, 0, "ﾌｧｲﾙ/ﾌｫﾙﾀﾞ/URL/E-Mail");
    s.StringGrid2.SetCell(EntryNameCol, 0, "氏名");
    s.StringGrid2.SetCell(EntryContentCol, 0, "内容");
    ApplyColumnWidths(s.StringGrid1, "Run");
    ApplyColumnWidths(s.StringGrid2, "Clipboard");

    s.PageControl1.SetSelectedIndex(TabIndexFromSetting(GetSettingInt("Position", "SetBarTab", 1)));
    PageChanged();
}

void SettingsWindow::StoreLayout() {
    SetSettingInt("Position", "SetBarTab", controls_.PageControl1.selectedIndex() + 1);
    StoreColumnWidths(controls_.StringGrid1, "Run");
    StoreColumnWidths(controls_.StringGrid2, "Clipboard");
}

void SettingsWindow::FocusIfOutside(HWND form) {
    if (!IsChild(form, GetFocus()))
        controls_.PageControl1.Focus();
}

void SettingsWindow::Fill(const TraySettings& stored, const TraySettings& menuShown, bool ntFamily,
                          unsigned interval) {
    SettingsWindowControls& s = controls_;
    // The boxes show what the menu shows now.
    for (int i = 0; i < MenuSwitchCount; ++i) {
        auto which = static_cast<MenuSwitch>(i);
        s.CheckBoxes[i].SetChecked(ShownOnPlatform(which, menuShown.shown[which], ntFamily));
        s.CheckBoxes[i].SetEnabled(!(ntFamily && SettingsCheckBoxTable()[i].win95Only));
    }
    s.CheckBoxes[MenuSwitchCount].SetChecked(stored.splashVisible);

    s.Edit1.SetText(stored.wallPath);
    s.Edit2.SetText(stored.screenPath);
    s.Edit3.SetText(stored.logoPath);
    s.SpinEdit1.SetValue(static_cast<int>(interval));

    // A Run entry without a name is listed under its file's name; a snippet without one
    // stays without, so that confirming does not give it one.
    FillEntryGrid(s.StringGrid1, stored.run, FileNameWithoutExt);
    FillEntryGrid(s.StringGrid2, stored.clipboard, nullptr);
}

TraySettings SettingsWindow::Read() {
    SettingsWindowControls& s = controls_;
    // An edit still open in a grid belongs to what is confirmed.
    s.StringGrid1.SetEditorMode(false);
    s.StringGrid2.SetEditorMode(false);
    TraySettings edited;
    for (int i = 0; i < MenuSwitchCount; ++i)
        edited.shown[i] = s.CheckBoxes[i].checked();
    edited.splashVisible = s.CheckBoxes[MenuSwitchCount].checked();
    edited.wallPath = s.Edit1.wideText();
    edited.screenPath = s.Edit2.wideText();
    edited.logoPath = s.Edit3.wideText();
    edited.interval = s.SpinEdit1.Value();
    edited.run = EntryRows(s.StringGrid1);
    edited.clipboard = EntryRows(s.StringGrid2);
    return edited;
}

bool SettingsWindow::CheckFolders() {
    SettingsWindowControls& s = controls_;
    s.StringGrid1.SetEditorMode(false);
    s.StringGrid2.SetEditorMode(false);
    for (int tag = 0; tag < 3; ++tag) {
        Edit& box = s.FolderBox(tag);
        std::wstring first = FirstFolder(box.wideText());
        if (DirectoryExists(first))
            continue;
        s.PageControl1.SetSelectedIndex(BasicTab);
        PageChanged();
        box.Focus();
        ShowAppMessage(first + L"\r\n" + Widen(FolderMissingMessage), "", MB_ICONSTOP | MB_OK);
        // The form is no dialog: its focus is not given back when the message box goes.
        box.Focus();
        return false;
    }
    return true;
}

void SettingsWindow::Browse() {
    SettingsWindowControls& s = controls_;
    int tab = s.PageControl1.selectedIndex();
    if (tab == BasicTab) {
        int tag = std::clamp(FLastEditTag, 0, 2);
        Edit& box = s.FolderBox(tag);
        TBrowseDialog dialog;
        dialog.Caption = BrowseTitles[tag];
        dialog.Directory = box.wideText();
        if (dialog.Execute())
            box.SetText(dialog.Directory);
    } else if (tab == RunTab) {
        TStringGrid& grid = s.StringGrid1;
        grid.SetEditorMode(false);
        int row = grid.Row();
        std::wstring chosen = host_.ChooseFile("実行ﾌｧｲﾙ(*.EXE)|*.exe|すべてのﾌｧｲﾙ (*.*)|*.*", "exe", "実行",
                                               grid.WideCell(EntryContentCol, row));
        // The dialog is modal, but the grid may have been refilled behind it.
        if (chosen.empty() || row >= grid.RowCount())
            return;
        grid.SetCell(EntryContentCol, row, chosen);
        GridEdited(grid, row, Narrow(chosen));
    }
}

void SettingsWindow::GridEdited(TStringGrid& grid, int row, const Text& value) {
    // The file test and the name need the content as typed, not its CP932 form.
    std::wstring content = grid.WideCell(EntryContentCol, row);
    EntryEditEffect effect =
        EntryEditEffectOf(value, row, grid.RowCount(), grid.WideCell(EntryNameCol, row).empty(),
                          !value.empty() && FileExists(content));
    if (effect.fillName)
        grid.SetCell(EntryNameCol, row, FileNameWithoutExt(content));
    if (effect.appendRow) {
        grid.SetRowCount(grid.RowCount() + 1);
        grid.SetCell(EntryNumberCol, row,
                     Number(NextEntryNumber(grid.Cell(EntryNumberCol, row - 1), row - 1 < grid.FixedRows())));
        for (int col = 0; col < grid.ColCount(); ++col)
            grid.SetCell(col, grid.RowCount() - 1, "");
    }
}

void SettingsWindow::PageChanged() {
    controls_.BitBtn4.SetEnabled(controls_.PageControl1.selectedIndex() != ClipboardTab);
}
