// Rules of the settings window that need no window: which setting each check box edits,
// the numbering of the entry grids, the tab remembered between runs and the writing of
// the numbered lists.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "jjstring.h"
#include "list_rules.h"

struct SettingsCheckBox {
    const char* caption;
    const char* section;
    const char* value;
    bool win95Only; // the logo and drive features, which the NT family does not have
};
// CheckBox1 .. CheckBox17 in screen order.
const std::array<SettingsCheckBox, 17>& SettingsCheckBoxTable();

// The active tab for the stored "SetBarTab": 2 and 3 select the lists, anything else the
// basic settings.
int TabIndexFromSetting(long setBarTab);

// The entry grids: a header row 0, then the numbered entries, then an empty new-entry row.
constexpr int EntryGridColumns = 3;
constexpr int EntryNumberCol = 0, EntryNameCol = 1, EntryContentCol = 2;
constexpr std::array<int, EntryGridColumns> DefaultEntryColWidths = {20, 100, 234};

// The number a new entry gets below the row holding numberAbove; 1 below the header.
int NextEntryNumber(const Text& numberAbove, bool aboveIsHeader);

struct EntryEditEffect {
    bool fillName = false;  // the name cell takes the file's name without extension
    bool appendRow = false; // the edited row becomes an entry, a new empty row follows
};
// What the commit of value into a cell of the row does to the grid.
EntryEditEffect EntryEditEffectOf(const Text& value, int row, int rowCount, bool nameEmpty, bool valueIsFile);

// The registry side of a numbered list ("Name1", "File1", ...).
struct NumberedListStore {
    std::function<void(const Text& name, const std::wstring& value)> write;
    std::function<bool(const Text& name)> exists;
    std::function<void(const Text& name)> remove;
};
// Writes the rows that have content as "Name"+k and contentName+k, k = 1, 2, ... without
// gaps, then removes the pairs of the former list from the first free number upward while
// contentName+k exists. An empty name is removed rather than written, so that readers
// fall back to their default caption instead of an empty one.
void WriteNumberedList(const std::vector<ListRow>& rows, const Text& contentName,
                       const NumberedListStore& store);
