// The start-up, restart and shutdown logo pictures of the Windows 95 family: the system's
// files they live in, the copies of the machine's own pictures, the three submenus and the
// choice that installs a picture or removes the file.
#pragma once

#include "logo_rules.h"
#include "lumera_host.h"
#include "tray_menu.h"

class LogoPictures {
public:
    LogoPictures(LumeraHost& host, TrayMenu& menu) : host_(host), menu_(menu) {}

    // Target defaults, and copies of the machine's pictures while the logo folder has none.
    void CompleteSettings(const std::wstring& folderList);
    // The three submenus with the pictures of the folders, marking the installed files;
    // each submenu's items run its own choice (start-up, restart, shutdown).
    void BuildSubmenus(const std::wstring& folderList, const MenuItem::Handler (&choices)[LogoCount]);
    void Choose(LogoIndex logo, MenuItem& item);
    void Forget();

private:
    MenuItem& Submenu(LogoIndex logo);

    LumeraHost& host_;
    TrayMenu& menu_;
    int FLogoIndex = 0;
    int FLogowIndex = 0;
    int FLogosIndex = 0;
};
