// Who each tool is: its title (also the main window's caption and the default message-box
// caption), the mutex that marks a running copy, the main window's class by which a second
// start finds it, its registry settings block and whether several copies may run by default.
#pragma once

#include "jjstring.h"

struct ToolIdentity {
    const char* title;
    const char* mutexName;
    const char* mainClass; // nullptr for a tool without a window
    const char* settingsKey;
    long secondStartDefault;   // "OtherSet" "2ndStart" when absent
    unsigned long helpContext; // the manual's page for the main window (0: no window)
};

namespace Tools {

extern const ToolIdentity Ferrox;
extern const ToolIdentity Slumbo;
extern const ToolIdentity Kickon;
extern const ToolIdentity Tezzo;
extern const ToolIdentity Halto;
extern const ToolIdentity Pinnet;

} // namespace Tools
