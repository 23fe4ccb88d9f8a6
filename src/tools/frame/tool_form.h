// The main window of a tool: position memory with the tool's fallback, its own task-bar
// button, the Esc rule and the close path (position saved, privileges disabled, the
// message loop ended).
#pragma once

#include "controls.h"
#include "form.h"
#include "tool_identity.h"

enum class Placement { PlatformDefault, Centred };

struct PositionRule {
    int fallbackTop, fallbackLeft; // used when the stored edge is off the screen
    Placement withoutMemory;       // placement when "PositionMemory" is off
};

// The stored edge when it lies on the screen (0 <= stored < extent), else the fallback.
int RestoredEdge(long stored, int screenExtent, int fallback);

class ToolForm : public Form {
public:
    // The tool's main window: its class and title, a fixed dialog frame with a system menu
    // and, where the tool has one, a minimise box.
    bool CreateToolWindow(const ToolIdentity& tool, int clientWidth, int clientHeight, bool minimizeBox);
    // The program's icon at the top left, where every tool window shows it.
    void CreateIcon(Image& image);
    // Places the window: the stored "Position" values (by the given value names) when
    // "PositionMemory" is 1, else the rule's placement. alwaysRestore ignores the switch.
    void RestorePosition(const PositionRule& rule, const Text& topName = "MainTop",
                         const Text& leftName = "MainLeft", bool alwaysRestore = false);
    void SavePosition(const Text& topName = "MainTop", const Text& leftName = "MainLeft",
                      bool alwaysSave = false);
    // The main window of the program: its own task-bar button, and the owner of the
    // message boxes and shell windows the program opens.
    void BecomeMainWindow();
    int windowWidth() const;
    int windowHeight() const;
    // Centred without memory, with the centre as the fallback for an edge off the screen.
    PositionRule CentredRule();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCloseRequest() override;
    // Tool-specific close work, after the position and the privileges.
    virtual void OnClosing() {}
    // Esc reached the window: closes it when the Esc flag is set.
    virtual void OnEscape();

    bool isMainWindow_ = false;
    // The manual's page that F1 opens for this window.
    unsigned long helpContext_ = 0;
};
