// Menus as a model: every item has a caption, check mark, visible and enabled flags, a
// hint text that is never shown and a tag, plus its handler and subitems. The model is
// turned into a platform menu once (Realize); check marks and enabled flags follow the
// model at once, while visibility and structure changes wait for the next Realize.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "gdi.h"
#include "jjstring.h"

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
    int tag = 0;
    int helpContext = 0;
    bool visible = true;
    Handler onClick;

    bool checked() const { return checked_; }
    void SetChecked(bool checked);
    bool enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool isSeparator() const { return caption == "-"; }

    MenuItem& Add(const Text& caption, Handler onClick = nullptr);
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

private:
    friend class Menu;
    void Forget();
    void Insert(HMENU into);

    bool checked_ = false;
    bool enabled_ = true;
    std::vector<std::unique_ptr<MenuItem>> items_;
    HMENU placedIn_ = nullptr; // the platform menu holding this item after Realize
    UINT commandId_ = 0;
};

class Menu {
public:
    explicit Menu(bool menuBar = false) : menuBar_(menuBar) {}
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    MenuItem& items() { return root_; }
    // Builds the platform menu from the model anew.
    HMENU Realize();
    HMENU handle() const { return menu_.get(); }
    // Shows the pop-up at a screen position; a chosen item's handler runs through the
    // owner's WM_COMMAND.
    void Popup(HWND owner, int x, int y);

private:
    bool menuBar_;
    MenuItem root_;
    UniqueMenu menu_;
};

// Runs the handler of a realized item by its command id; false when no item has that id.
namespace MenuCommands {
bool Run(UINT commandId);
}
