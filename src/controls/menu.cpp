#include "menu.h"

#include <unordered_map>

#include "win/encoding.h"

namespace {

std::unordered_map<UINT, MenuItem*>& Commands() {
    static std::unordered_map<UINT, MenuItem*> commands;
    return commands;
}

// Command ids for menu items, kept apart from control ids.
UINT NextCommandId() {
    static UINT next = 0x8000;
    do {
        next = next >= 0xEFFF ? 0x8000 : next + 1;
    } while (Commands().count(next) != 0);
    return next;
}

} // namespace

void MenuItem::SetChecked(bool checked) {
    checked_ = checked;
    if (placedIn_ && commandId_)
        CheckMenuItem(placedIn_, commandId_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (placedIn_ && commandId_)
        EnableMenuItem(placedIn_, commandId_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

MenuItem& MenuItem::Add(const Text& caption, Handler onClick) {
    items_.push_back(std::make_unique<MenuItem>(caption, std::move(onClick)));
    return *items_.back();
}

MenuItem& MenuItem::AddSeparator() {
    return Add("-");
}

void MenuItem::DeleteFrom(size_t index) {
    for (size_t i = index; i < items_.size(); ++i)
        items_[i]->Forget();
    if (index < items_.size())
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index), items_.end());
}

size_t MenuItem::IndexOf(const MenuItem& item) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].get() == &item)
            return i;
    }
    return items_.size();
}

bool MenuItem::HasVisibleItems() const {
    for (const auto& item : items_) {
        if (item->visible && !item->isSeparator())
            return true;
    }
    return false;
}

void MenuItem::Forget() {
    if (commandId_)
        Commands().erase(commandId_);
    commandId_ = 0;
    placedIn_ = nullptr;
    for (auto& item : items_)
        item->Forget();
}

void MenuItem::Insert(HMENU into) {
    placedIn_ = into;
    if (isSeparator()) {
        AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
        return;
    }
    Text label = shortcut.empty() ? caption : caption + "\t" + shortcut;
    std::wstring wide = Widen(label);
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID;
    info.dwTypeData = wide.data();
    info.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED);
    commandId_ = NextCommandId();
    Commands()[commandId_] = this;
    info.wID = commandId_;
    if (!items_.empty()) {
        HMENU submenu = CreatePopupMenu();
        for (auto& item : items_) {
            if (item->visible)
                item->Insert(submenu);
        }
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = submenu;
    }
    InsertMenuItemW(into, GetMenuItemCount(into), TRUE, &info);
}

HMENU Menu::Realize() {
    root_.Forget();
    menu_.reset(menuBar_ ? CreateMenu() : CreatePopupMenu());
    for (size_t i = 0; i < root_.count(); ++i) {
        if (root_[i].visible)
            root_[i].Insert(menu_.get());
    }
    return menu_.get();
}

void Menu::Popup(HWND owner, int x, int y) {
    if (!menu_)
        Realize();
    TrackPopupMenuEx(menu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, owner, nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageW(owner, WM_NULL, 0, 0);
}

namespace MenuCommands {

bool Run(UINT commandId) {
    auto found = Commands().find(commandId);
    if (found == Commands().end())
        return false;
    MenuItem& item = *found->second;
    if (item.onClick)
        item.onClick(item);
    return true;
}

} // namespace MenuCommands
