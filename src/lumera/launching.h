// The Run menu and clipboard snippets, the shutdown tool and the display properties.
#pragma once

#include "lumera_host.h"
#include "menu.h"

class Launching {
public:
    explicit Launching(LumeraHost& host) : host_(host) {}

    // The default lists, written when the settings have none.
    void WriteDefaultLists();
    void Run(const MenuItem& item);
    void CopySnippet(const MenuItem& item);
    void StartShutdownTool(int tag);
    void ShowDisplayProperties();

private:
    LumeraHost& host_;
};
