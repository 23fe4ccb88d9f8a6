// Slumbo's countdown: the delay a command line asks for and the texts the countdown shows.
#pragma once

#include <optional>
#include <string>

#include "jjstring.h"

// The first parameter as a whole decimal integer (an optional sign, then digits); nothing
// when it is absent, not a number or beyond the integer range: the tool then asks.
std::optional<int> DelayFromParameter(const std::wstring& parameter);

// "あと <remaining> 秒後に、" and, on the second line, "ｽｸﾘｰﾝ ｾｰﾊﾞｰを起動します。".
Text CountdownText(int remaining);

// Shown once the countdown has run out.
extern const char* const PreparingText;
