// Room for text in whatever Japanese font the system gives. The forms' sizes assume
// ＭＳ Ｐゴシック; a stand-in can run taller or wider. A control whose text needs more room
// keeps its place and grows: a check box or radio button to the right into empty space,
// otherwise downward, moving what lies below it down and growing what holds it (group
// boxes, tab pages, the window) by as much. Fonts are never shrunk.
#pragma once

#include <windows.h>

// Fits every control of the top-level window (panels' controls too).
void FitTextRoom(HWND window);

// After the control's text changed: while its window shows, a text that no longer fits grows
// the control as the window's showing would have.
void RefitText(HWND control);
