// Menus as a model: every item has a caption, check mark, visible and enabled flags, a
// hint text that is never shown and a tag, plus its handler and subitems. The model is
// turned into a platform menu once (Realize); check marks and enabled flags follow the
// model at once, while visibility and structure changes wait for the next Realize.
//
// A platform menu is never destroyed while it is open: a Realize asked for meanwhile is
// applied when the menu closes. Submenus can be filled lazily (onPopulate), and a submenu
// with very many items is shown as chunks that are filled when they open, so neither a
// huge folder nor the limited command id space makes building the menu slow.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gdi.h"
#include "jjstring.h"

class Menu;

class MenuItem {
public:
    using Handler = std::function<void(MenuItem&)>;

    MenuItem() = default;
    MenuItem(const Text& caption, Handler onClick) : caption(caption), onClick(std::move(onClick)) {}
    ~MenuItem() { Forget(); }
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    Text caption;  // "-" makes a separator
    Text shortcut; // shown after a tab, such as "F1"
    Text hint;
    // The item's path when it names a file: kept in UTF-16, since file names can hold
    // characters that CP932 lacks.
    std::wstring target;
    int tag = 0;
    int helpContext = 0;
    bool visible = true;
    Handler onClick;
    // Fills the subitems the first time the submenu is about to open; until then the item
    // shows as an empty submenu and costs nothing.
    Handler onPopulate;

    // Shows the caption from UTF-16 (a file name); caption becomes its CP932 form.
    void SetWideCaption(const std::wstring& wide);
    // The caption as it is shown, without the shortcut and before it is shortened.
    std::wstring displayCaption() const;

    bool checked() const { return checked_; }
    void SetChecked(bool checked);
    bool enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool isSeparator() const { return caption == "-"; }
    // False while onPopulate has still to run.
    bool populated() const { return populated_ || !onPopulate; }
    // Lets onPopulate run again at the next opening (after the next Realize).
    void Repopulate();

    MenuItem& Add(const Text& caption, Handler onClick = nullptr);
    MenuItem& Add(const std::wstring& caption, Handler onClick = nullptr);
    MenuItem& AddSeparator();
    // Removes the items from index on.
    void DeleteFrom(size_t index);
    void Clear() { DeleteFrom(0); }
    size_t count() const { return items_.size(); }
    MenuItem& operator[](size_t index) { return *items_[index]; }
    const MenuItem& operator[](size_t index) const { return *items_[index]; }
    size_t IndexOf(const MenuItem& item) const;
    // True when at least one item is visible (separators do not count).
    bool HasVisibleItems() const;

    // The platform's command id while the item is placed in a platform menu, else 0.
    UINT commandId() const { return commandId_; }

private:
    friend class Menu;
    friend struct MenuLayer;
    void Forget();
    bool showsWideCaption() const;
    void Unplace();
    void ReleaseId(bool reusableAtOnce = false);
    void ReleaseIdsBelow();
    void Insert(HMENU into, Menu& menu);

    bool checked_ = false;
    bool enabled_ = true;
    bool populated_ = false;
    bool awaitsFill_ = false; // some platform menu waits to be filled from this item
    std::wstring wideCaption_;
    std::vector<std::unique_ptr<MenuItem>> items_;
    HMENU placedIn_ = nullptr; // the platform menu holding this item after Realize
    UINT commandId_ = 0;
};

class Menu {
public:
    explicit Menu(bool menuBar = false) : menuBar_(menuBar) {}
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    MenuItem& items() { return root_; }
    // Builds the platform menu from the model anew; while the menu is open this is
    // deferred until it closes, and the open menu's handle is returned.
    HMENU Realize();
    HMENU handle() const { return menu_.get(); }
    // Shows the pop-up at a screen position; a chosen item's handler runs through the
    // owner's WM_COMMAND. Lazy submenus are filled on the way (the owner is subclassed
    // while the menu is open).
    void Popup(HWND owner, int x, int y);
    bool tracking() const { return tracking_; }

private:
    friend class MenuItem;
    friend struct MenuLayer;
    void Fill(HMENU into, MenuItem& parent);

    bool menuBar_;
    bool tracking_ = false;
    bool realizeWanted_ = false;
    MenuItem root_;
    UniqueMenu menu_;
};

// Longest caption shown, in characters; longer ones end in an ellipsis.
constexpr size_t MaxMenuCaptionChars = 64;
// A submenu with more items than this is shown as chunks of this many, each filled when it
// opens.
constexpr size_t MenuChunkSize = 1000;

namespace MenuCommands {
// Runs the handler of a realized item by its command id; false when no item has that id.
bool Run(UINT commandId);
// Fills a lazy submenu or chunk about to open. A window that shows a menu bar forwards
// WM_INITMENUPOPUP's wParam here; true when the menu was one of the layer's.
bool OnInitMenuPopup(HMENU menu);
// Command ids in use now, for tests of the id space.
size_t CommandIdsInUse();
} // namespace MenuCommands
