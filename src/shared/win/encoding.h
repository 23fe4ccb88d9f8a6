// The one place where CP932 text meets the platform's UTF-16: every Windows call takes
// and returns text through these, with the code page given explicitly.
#pragma once

#include <string>

#include "../jjstring.h"

std::wstring Widen(const Text& text);
// Characters CP932 cannot hold become "?"; never a look-alike ("é" is not "e", "¥" is not
// "\"). For showing text only: a name narrowed this way may address another file.
Text Narrow(const std::wstring& text);
Text Narrow(const wchar_t* text); // zero-terminated; null gives the empty text
// True, with out set, only when the text survives the trip to CP932 and back unchanged;
// otherwise false and out is left alone. Names handed back to the platform go through this.
bool NarrowExact(const std::wstring& text, Text& out);
// The exact narrow form, or the empty text when CP932 cannot hold the name.
Text NarrowOrEmpty(const std::wstring& text);
