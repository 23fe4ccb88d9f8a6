// Desktop shortcuts for the items named on the command line.
#pragma once

#include <functional>
#include <string>
#include <vector>

// "<file name>へのｼｮｰﾄｶｯﾄ.lnk" for the item (a folder given with a trailing "\" is named
// after the folder, not after nothing).
std::wstring ShortcutFileName(const std::wstring& item);

// Makes one shortcut in the folder: target the item, working folder the item's folder. A
// shortcut of that name is saved over. False when it could not be made, or when there is
// no folder to put it in.
bool MakeShortcutIn(const std::wstring& folder, const std::wstring& item);

// One shortcut per item in the folder; each item whose shortcut could not be made is
// reported once, and the pass goes on with the next. The number of items tried.
size_t MakeShortcuts(const std::wstring& folder, const std::vector<std::wstring>& items,
                     const std::function<void(const std::wstring& item)>& onFailure);

// The failure message for an item: its path, a line feed, the reason.
std::wstring ShortcutFailureText(const std::wstring& item);
