// The tray menu: its fixed skeleton, which items the settings show, the Run and clipboard
// submenus, and the platform menu, which is never rebuilt while it is open. The topics
// fill their own submenus; the items are theirs to mark.
#pragma once

#include <vector>

#include "menu.h"
#include "tray_settings.h"

class TLumeraMainForm;

// Appends one item per file of the patterns in the ";"-separated folders (each folder
// pattern by pattern), captioned without the extension and with the full path as target;
// returns how many. Such a filling can become a submenu's populate callback as it stands.
size_t AppendFolderItems(MenuItem& submenu, const std::wstring& folderList, const std::vector<Text>& patterns,
                         const MenuItem::Handler& onClick);

class TrayMenu {
public:
    // Creates the skeleton; its items run the form's handlers.
    void CreateSkeleton(TLumeraMainForm& form);
    // Shows the items whose switches are on, and the separators of groups with an item.
    void ApplyVisibility(const TraySettings& settings, bool ntFamily);
    // Fills the Run and clipboard submenus from the settings' lists.
    void BuildLists(const TraySettings& settings, const MenuItem::Handler& run,
                    const MenuItem::Handler& clip);

    // Realizes the platform menu now, or marks it to be realized once the open menu has
    // closed (destroying a tracked menu corrupts the heap). True when it was realized.
    bool Realize();
    // The owner heard that a pop-up menu opened or closed; Closed() is true when a
    // realize waits for it.
    void Opened() { open_ = true; }
    bool Closed();
    bool realizePending() const { return realizePending_; }

    Menu& popup() { return menu_; }

    // The skeleton (owned by the menu).
    MenuItem* WallRight = nullptr;
    MenuItem* WallTileRight = nullptr;
    MenuItem* WallCenterRight = nullptr;
    MenuItem* WallStretchRight = nullptr;
    MenuItem* ScreenRight = nullptr;
    MenuItem* ScreenTrueRight = nullptr;
    MenuItem* ScreenFalseRight = nullptr;
    MenuItem* ScreenStartRight = nullptr;
    MenuItem* LogoRight = nullptr;
    MenuItem* LogowRight = nullptr;
    MenuItem* LogosRight = nullptr;
    MenuItem* AutoRight = nullptr;
    MenuItem* KickonRight = nullptr;
    MenuItem* AutoEjectRight = nullptr;
    MenuItem* RunRight = nullptr;
    MenuItem* Run0Right = nullptr;
    MenuItem* ClipRight = nullptr;
    MenuItem* StartUpRight = nullptr;
    MenuItem* StartUpTrueRight = nullptr;
    MenuItem* StartUpFalseRight = nullptr;
    MenuItem* HaltoRight = nullptr;
    MenuItem* ScreenProRight = nullptr;
    MenuItem* SetRight = nullptr;
    MenuItem* HelpRight = nullptr;
    MenuItem* ExitRight = nullptr;
    // The separators after the groups, top to bottom.
    MenuItem* Separator1 = nullptr;
    MenuItem* Separator2 = nullptr;
    MenuItem* Separator3 = nullptr;
    MenuItem* Separator4 = nullptr;
    MenuItem* Separator5 = nullptr;

private:
    Menu menu_;
    bool open_ = false;
    bool realizePending_ = false;
};
