// The start-up every tool runs before its window: the single-instance rule with hand-over
// to the running copy, privileges, the neutralised show command, the "Setup" values, the
// Esc flag and the mutex that marks this copy as running (released when this ends).
#pragma once

#include <windows.h>

#include "tool_identity.h"
#include "win/handles.h"

class ToolStartup {
public:
    ToolStartup(HINSTANCE instance, const ToolIdentity& tool);
    ~ToolStartup();
    ToolStartup(const ToolStartup&) = delete;
    ToolStartup& operator=(const ToolStartup&) = delete;

    // False when another copy runs and this one handed over: end at once.
    bool proceed() const { return proceed_; }

private:
    bool proceed_ = false;
    UniqueHandle mutex_;
};

// True when "OtherSet" "EscToClose" read 1 at start.
bool EscFlag();

// The manual beside the tool's executable becomes the program's help file.
void SetToolHelpFile();

// The version information box, shown when a tool was given nothing to work on.
Text VersionBoxText(const ToolIdentity& tool);
void ShowVersionBox();
