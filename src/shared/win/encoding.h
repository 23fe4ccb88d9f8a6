// The one place where CP932 text meets the platform's UTF-16: every Windows call takes
// and returns text through these, with the code page given explicitly.
#pragma once

#include <string>

#include "../jjstring.h"

std::wstring Widen(const Text& text);
Text Narrow(const std::wstring& text);
Text Narrow(const wchar_t* text); // zero-terminated; null gives the empty text
