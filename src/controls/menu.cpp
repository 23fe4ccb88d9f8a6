#include "menu.h"

#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "win/encoding.h"

namespace {

// Command ids for menu items, kept apart from control ids.
constexpr UINT FirstCommandId = 0x8000;
constexpr UINT LastCommandId = 0xEFFF;

// A platform submenu that is filled from the model when it is about to open: a lazy
// item's submenu (populate first) or one chunk [begin, end) of a long list.
struct FillRecord {
    Menu* menu;
    MenuItem* parent;
    size_t begin;
    size_t end;
    bool populate;
};

// A chunk filled already; its items hold command ids that can be taken back when ids run
// short and the chunk is not open.
struct FilledChunk {
    HMENU handle;
    Menu* menu;
    MenuItem* parent;
    size_t begin;
    size_t end;
    unsigned session;
};

// The visible items of [begin, end) in order, without separators that would lead, trail
// or follow another separator.
std::vector<size_t> ShownItems(const MenuItem& parent, size_t begin, size_t end) {
    std::vector<size_t> shown;
    size_t separator = 0;
    bool separatorWanted = false;
    end = std::min(end, parent.count());
    for (size_t i = begin; i < end; ++i) {
        const MenuItem& item = parent[i];
        if (!item.visible)
            continue;
        if (item.isSeparator()) {
            if (!shown.empty() && !separatorWanted) {
                separator = i;
                separatorWanted = true;
            }
            continue;
        }
        if (separatorWanted)
            shown.push_back(separator);
        separatorWanted = false;
        shown.push_back(i);
    }
    return shown;
}

} // namespace

// Process-wide state of the layer: the items by command id, the id pool and the platform
// menus still to be filled.
struct MenuLayer {
    static std::unordered_map<UINT, MenuItem*>& Commands() {
        static std::unordered_map<UINT, MenuItem*> commands;
        return commands;
    }
    static std::unordered_map<HMENU, FillRecord>& Fills() {
        static std::unordered_map<HMENU, FillRecord> fills;
        return fills;
    }
    static std::deque<FilledChunk>& Filled() {
        static std::deque<FilledChunk> filled;
        return filled;
    }
    // Ids never handed out start at nextFresh; given back ones wait in order (the oldest is
    // reused first, so a command posted for a just-deleted item does not reach a new one).
    // Ids given back while a menu is open wait until it closes: the open menu still shows
    // them.
    static inline UINT nextFresh = FirstCommandId;
    static inline std::deque<UINT> freeIds;
    static inline std::vector<UINT> heldWhileOpen;
    static inline int openMenus = 0;
    static inline unsigned session = 0;

    static UINT TakeId() {
        if (UINT id = TryTakeId())
            return id;
        ReclaimIds();
        return TryTakeId();
    }
    static UINT TryTakeId() {
        if (nextFresh <= LastCommandId)
            return nextFresh++;
        if (freeIds.empty())
            return 0;
        UINT id = freeIds.front();
        freeIds.pop_front();
        return id;
    }
    // An id that no open menu shows can be reused at once.
    static void GiveBack(UINT id, bool reusableAtOnce) {
        Commands().erase(id);
        if (openMenus > 0 && !reusableAtOnce)
            heldWhileOpen.push_back(id);
        else
            freeIds.push_back(id);
    }
    static void MenuClosed() {
        if (--openMenus > 0)
            return;
        freeIds.insert(freeIds.end(), heldWhileOpen.begin(), heldWhileOpen.end());
        heldWhileOpen.clear();
    }

    // The id space is used up: items placed in no platform menu give theirs back, then
    // chunks filled in earlier openings are emptied (they fill again when they open).
    static void ReclaimIds() {
        std::vector<MenuItem*> unplaced;
        for (auto& [id, item] : Commands()) {
            if (!item->placedIn_)
                unplaced.push_back(item);
        }
        for (MenuItem* item : unplaced)
            item->ReleaseId(true);
        if (!freeIds.empty())
            return;
        // Chosen first: emptying a chunk can drop records of chunks nested in it.
        std::vector<FilledChunk> emptied;
        size_t freed = 0;
        auto& filled = Filled();
        for (auto it = filled.begin(); it != filled.end() && freed < MenuChunkSize;) {
            if (openMenus > 0 && it->session == session) {
                ++it;
                continue;
            }
            freed += it->end - it->begin;
            emptied.push_back(*it);
            it = filled.erase(it);
        }
        for (const FilledChunk& chunk : emptied)
            Empty(chunk);
    }
    static void Empty(const FilledChunk& chunk) {
        if (!IsMenu(chunk.handle))
            return; // went with a chunk it was nested in
        while (GetMenuItemCount(chunk.handle) > 0)
            DeleteMenu(chunk.handle, 0, MF_BYPOSITION);
        size_t end = std::min(chunk.end, chunk.parent->count());
        for (size_t i = chunk.begin; i < end; ++i)
            (*chunk.parent)[i].ReleaseIdsBelow();
        Fills()[chunk.handle] = {chunk.menu, chunk.parent, chunk.begin, chunk.end, false};
        chunk.parent->awaitsFill_ = true;
    }

    static bool FillOnOpen(HMENU menu) {
        auto& fills = Fills();
        auto found = fills.find(menu);
        if (found == fills.end()) {
            // A chunk filled before opens again: it is in use in this opening.
            for (FilledChunk& chunk : Filled()) {
                if (chunk.handle == menu)
                    chunk.session = session;
            }
            return false;
        }
        FillRecord fill = found->second;
        fills.erase(found);
        if (fill.populate) {
            fill.parent->populated_ = true;
            if (fill.parent->onPopulate)
                fill.parent->onPopulate(*fill.parent);
            // The callback may have realized the menu anew (when nothing tracks it).
            if (IsMenu(menu))
                fill.menu->Fill(menu, *fill.parent);
            return true;
        }
        for (size_t index : ShownItems(*fill.parent, fill.begin, fill.end))
            (*fill.parent)[index].Insert(menu, *fill.menu);
        Filled().push_back({menu, fill.menu, fill.parent, fill.begin, fill.end, session});
        return true;
    }

    // Forgets every platform menu waiting for or filled from the item.
    static void DropFillsFrom(const MenuItem* parent) {
        auto& fills = Fills();
        for (auto it = fills.begin(); it != fills.end();)
            it = it->second.parent == parent ? fills.erase(it) : std::next(it);
        auto& filled = Filled();
        filled.erase(std::remove_if(filled.begin(), filled.end(),
                                    [parent](const FilledChunk& c) { return c.parent == parent; }),
                     filled.end());
    }
    static void DropFillsOf(const Menu* menu) {
        auto& fills = Fills();
        for (auto it = fills.begin(); it != fills.end();)
            it = it->second.menu == menu ? fills.erase(it) : std::next(it);
        auto& filled = Filled();
        filled.erase(std::remove_if(filled.begin(), filled.end(),
                                    [menu](const FilledChunk& c) { return c.menu == menu; }),
                     filled.end());
    }
};

namespace {

// Cuts a caption to a width a menu can show; the item keeps its full name.
std::wstring Shortened(std::wstring caption, size_t maxChars) {
    if (caption.size() <= maxChars)
        return caption;
    size_t keep = maxChars;
    if (keep > 0 && IS_HIGH_SURROGATE(caption[keep - 1]))
        --keep; // never half a character
    caption.resize(keep);
    return caption + L"\u2026";
}

std::wstring DoubledAmpersands(const std::wstring& caption) {
    std::wstring doubled;
    doubled.reserve(caption.size());
    for (wchar_t c : caption) {
        doubled += c;
        if (c == L'&')
            doubled += c;
    }
    return doubled;
}

LRESULT CALLBACK MenuOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_INITMENUPOPUP)
        MenuCommands::OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

void MenuItem::SetWideCaption(const std::wstring& wide) {
    wideCaption_ = wide;
    caption = Narrow(wide);
}

bool MenuItem::showsWideCaption() const {
    // Only while caption still is the wide caption's CP932 form; a caption set later wins.
    return !wideCaption_.empty() && Narrow(wideCaption_) == caption;
}

std::wstring MenuItem::displayCaption() const {
    return showsWideCaption() ? wideCaption_ : Widen(caption);
}

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

void MenuItem::Repopulate() {
    Clear();
    populated_ = false;
}

MenuItem& MenuItem::Add(const Text& caption, Handler onClick) {
    items_.push_back(std::make_unique<MenuItem>(caption, std::move(onClick)));
    return *items_.back();
}

MenuItem& MenuItem::Add(const std::wstring& caption, Handler onClick) {
    MenuItem& item = Add(Text(), std::move(onClick));
    item.SetWideCaption(caption);
    return item;
}

MenuItem& MenuItem::AddSeparator() {
    return Add("-");
}

void MenuItem::DeleteFrom(size_t index) {
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

void MenuItem::ReleaseId(bool reusableAtOnce) {
    if (commandId_)
        MenuLayer::GiveBack(commandId_, reusableAtOnce);
    commandId_ = 0;
    placedIn_ = nullptr;
}

// Only for items no open menu shows.
void MenuItem::ReleaseIdsBelow() {
    ReleaseId(true);
    if (awaitsFill_) {
        MenuLayer::DropFillsFrom(this);
        awaitsFill_ = false;
    }
    for (auto& item : items_)
        item->ReleaseIdsBelow();
}

// The item goes away: its id and any platform menu waiting to be filled from it. Its
// subitems see to themselves as they are destroyed.
void MenuItem::Forget() {
    ReleaseId();
    if (awaitsFill_)
        MenuLayer::DropFillsFrom(this);
    awaitsFill_ = false;
}

// The platform menu is rebuilt: the item keeps its command id, so a command posted from the
// menu just closed still reaches it.
void MenuItem::Unplace() {
    placedIn_ = nullptr;
    if (awaitsFill_)
        MenuLayer::DropFillsFrom(this);
    awaitsFill_ = false;
    for (auto& item : items_)
        item->Unplace();
}

void MenuItem::Insert(HMENU into, Menu& menu) {
    placedIn_ = into;
    if (isSeparator()) {
        AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
        return;
    }
    std::wstring label = Shortened(displayCaption(), MaxMenuCaptionChars);
    if (showsWideCaption()) // a file name: its "&" is a character, not an accelerator
        label = DoubledAmpersands(label);
    if (!shortcut.empty())
        label += L"\t" + Widen(shortcut);
    if (!commandId_) {
        commandId_ = MenuLayer::TakeId();
        if (commandId_)
            MenuLayer::Commands()[commandId_] = this;
    }
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID;
    info.dwTypeData = label.data();
    // Without an id (none left even after reclaiming) the item could not be chosen.
    info.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ && commandId_ ? 0 : MFS_GRAYED);
    info.wID = commandId_;
    if (!items_.empty() || onPopulate) {
        HMENU submenu = CreatePopupMenu();
        menu.Fill(submenu, *this);
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = submenu;
    }
    InsertMenuItemW(into, GetMenuItemCount(into), TRUE, &info);
}

Menu::~Menu() {
    MenuLayer::DropFillsOf(this);
}

void Menu::Fill(HMENU into, MenuItem& parent) {
    if (!parent.populated()) {
        MenuLayer::Fills()[into] = {this, &parent, 0, SIZE_MAX, true};
        parent.awaitsFill_ = true;
        return;
    }
    std::vector<size_t> shown = ShownItems(parent, 0, parent.count());
    if (shown.size() <= MenuChunkSize) {
        for (size_t index : shown)
            parent[index].Insert(into, *this);
        return;
    }
    // Wine inserts items in quadratic time and measures all of them when a menu opens:
    // a long list becomes chunks that are filled when they open.
    for (size_t first = 0; first < shown.size(); first += MenuChunkSize) {
        size_t last = std::min(first + MenuChunkSize, shown.size()) - 1;
        HMENU chunk = CreatePopupMenu();
        MenuLayer::Fills()[chunk] = {this, &parent, shown[first], shown[last] + 1, false};
        std::wstring label = Shortened(parent[shown[first]].displayCaption(), 24) + L" - " +
                             Shortened(parent[shown[last]].displayCaption(), 24);
        AppendMenuW(into, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(chunk), label.c_str());
    }
    parent.awaitsFill_ = true;
}

HMENU Menu::Realize() {
    if (tracking_) {
        // Destroying a menu the platform is tracking leaves it using freed memory.
        realizeWanted_ = true;
        return menu_.get();
    }
    realizeWanted_ = false;
    MenuLayer::DropFillsOf(this);
    root_.Unplace();
    menu_.reset(menuBar_ ? CreateMenu() : CreatePopupMenu());
    Fill(menu_.get(), root_);
    return menu_.get();
}

void Menu::Popup(HWND owner, int x, int y) {
    if (tracking_)
        return; // already open
    if (!menu_ || realizeWanted_)
        Realize();
    tracking_ = true;
    ++MenuLayer::openMenus;
    ++MenuLayer::session;
    UINT_PTR subclassId = reinterpret_cast<UINT_PTR>(this);
    bool subclassed = SetWindowSubclass(owner, MenuOwnerProc, subclassId, 0) != FALSE;
    TrackPopupMenuEx(menu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, owner, nullptr);
    if (subclassed)
        RemoveWindowSubclass(owner, MenuOwnerProc, subclassId);
    tracking_ = false;
    MenuLayer::MenuClosed();
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageW(owner, WM_NULL, 0, 0);
    if (realizeWanted_)
        Realize();
}

namespace MenuCommands {

bool Run(UINT commandId) {
    auto found = MenuLayer::Commands().find(commandId);
    if (found == MenuLayer::Commands().end())
        return false;
    MenuItem& item = *found->second;
    if (item.onClick)
        item.onClick(item);
    return true;
}

bool OnInitMenuPopup(HMENU menu) {
    return MenuLayer::FillOnOpen(menu);
}

size_t CommandIdsInUse() {
    return MenuLayer::Commands().size();
}

} // namespace MenuCommands
