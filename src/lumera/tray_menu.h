// The tray menu: its fixed skeleton, which items the settings show, the Run and clipboard
// submenus, and the platform menu, which is never rebuilt while it is open. The topics
// fill their own submenus; the items are theirs to mark.
#pragma once

#include <string>
#include <vector>

#include "menu.h"
#include "tray_settings.h"

class TLumeraMainForm;

// Appends one item per file of the patterns in the ";"-separated folders (each folder
// pattern by pattern), listed in UTF-16: captioned with the file name without extension,
// the full path as target, its index as tag. Returns how many were added.
size_t AppendFolderItems(MenuItem& submenu, const std::wstring& folderList,
                         const std::vector<std::wstring>& patterns, const MenuItem::Handler& onClick);

class TrayMenu {
public:
    // Creates the skeleton; its items run the form's handlers.
    void CreateSkeleton(TLumeraMainForm& form);
    // Shows the items whose switches are on; the menu layer hides separators left alone.
    void ApplyVisibility(const TraySettings& settings, bool ntFamily);
    // The Run and clipboard submenus read their lists from the settings when they first
    // open after this; until then the lists cost nothing.
    void BuildLists(const MenuItem::Handler& run, const MenuItem::Handler& clip);
    // The program that "ﾌｧｲﾙ名を指定して実行" starts.
    void SetRunDialogFile(const std::wstring& path) { runDialogFile_ = path; }

    // Rebuilds the platform menu (the layer waits while it is open).
    void Realize() { menu_.Realize(); }
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
    MenuItem* Run0Right = nullptr; // null until the Run submenu has been filled
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
    std::wstring runDialogFile_;
};
