// Parking the Startup folder's items in its disabled twin and putting them back.
#pragma once

#include "tray_menu.h"

class StartupParking {
public:
    explicit StartupParking(TrayMenu& menu) : menu_(menu) {}

    // "無効(&F)" is marked while the twin holds a shortcut, "有効(&T)" otherwise.
    void ShowState();
    void Park();
    void Restore();

private:
    void Mark(bool parked);

    TrayMenu& menu_;
};
