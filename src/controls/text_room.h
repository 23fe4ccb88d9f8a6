// What a control's own text needs, measured with the control's own font and laid out as the
// platform's static and button controls lay it out. Plain GDI with no other part of the window
// layer, so the test robot's hook inside a program measures with the very same rules.
#pragma once

#include <windows.h>

#include <string>

// The room, in client pixels, the control's text needs: statics, check boxes, radio buttons,
// group box captions and push buttons. False for controls that show no text of their own.
// A static with no text yet still owes a line to the text it will get.
bool MeasureTextRoom(HWND control, SIZE& need);

// Whether a button of this style is a check box or radio button: a box, then its caption.
bool IsCheckOrRadio(LONG style);

// Where a single line's visible ink ends, from its left edge: its advance less the blank the
// last glyph leaves after itself, or plus what it overhangs. Trailing blanks and "&" prefix marks
// take no room. A line the control clips there loses nothing visible.
int SingleLineInkWidth(HDC dc, const std::wstring& text, bool prefixes);
