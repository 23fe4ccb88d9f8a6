// Folder lists and numbered lists of the tray program's settings.
#pragma once

#include <vector>

#include "jjstring.h"

// The folders of a ";"-separated list, in order; empty entries name no folder.
std::vector<Text> SplitFolderList(const Text& list);
// The text up to the first ";" (all of it when there is none).
Text FirstFolder(const Text& list);

struct ListRow {
    Text name;
    Text content;
};
// Rows without content are dropped; the rest are numbered 1, 2, ... in order.
std::vector<ListRow> CompactList(const std::vector<ListRow>& rows);

// Upper-cased comparison of two paths already in their short forms.
bool SamePathForm(const Text& shortA, const Text& shortB);
