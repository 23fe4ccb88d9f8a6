// Folder lists and numbered lists of the tray program's settings.
#pragma once

#include <string>
#include <vector>

#include "jjstring.h"

// The folders of a ";"-separated list, in order; empty entries name no folder.
std::vector<Text> SplitFolderList(const Text& list);
// The text up to the first ";" (all of it when there is none).
Text FirstFolder(const Text& list);
// The same for lists of paths as the platform names them.
std::vector<std::wstring> SplitFolderList(const std::wstring& list);
std::wstring FirstFolder(const std::wstring& list);

// An entry of the Run or clipboard list: the user's text, wider than CP932 ("張伟.txt").
struct ListRow {
    std::wstring name;
    std::wstring content;
};
// Rows without content are dropped; the rest are numbered 1, 2, ... in order.
std::vector<ListRow> CompactList(const std::vector<ListRow>& rows);

// Upper-cased comparison of two paths already in their short forms.
bool SamePathForm(const Text& shortA, const Text& shortB);
// Only ASCII letters are folded, as in the CP932 form.
bool SamePathForm(const std::wstring& shortA, const std::wstring& shortB);
