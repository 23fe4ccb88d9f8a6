// The three ways Halto ends the session: how a switch selects one, how the remembered
// choice maps to one, the notice shown while acting and the request made of the platform.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "jjstring.h"
#include "platform_rules.h"

// The codes are those stored as "History" "Position".
enum class HaltoChoice { Restart = 1, PowerOff = 2, LogOff = 3 };

// "-R", "-S" or "-L" in any letter case select a choice; anything else (a slash, extra
// characters, nothing) leaves the tool asking.
std::optional<HaltoChoice> ChoiceFromSwitch(const std::wstring& firstParameter);

// The remembered code: 2 and 3 as stored, every other value restart.
HaltoChoice ChoiceFromCode(long code);

// The notice of acting mode: the choice's verb, "準備をしています。", a line feed and
// "しばらくお待ちください。".
Text NoticeText(HaltoChoice choice);

// What ExitWindowsEx is asked for. Power-off asks the NT family to switch the power off
// (its plain shutdown stops at "safe to turn off"); the 95 family keeps its shutdown flag
// and gets no reason, since that parameter is reserved there. None forces programs to end.
struct SessionEndRequest {
    UINT flags;
    DWORD reason;
};
SessionEndRequest SessionEndFor(HaltoChoice choice, PlatformFamily family);

// The message when the platform refused the request: what failed, then its reason.
std::wstring SessionEndFailureText(HaltoChoice choice, DWORD error);
