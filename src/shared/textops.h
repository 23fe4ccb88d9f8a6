// Byte-level copies and searches, number texts, and character-aware trailing and
// leading characters. Positions are 1-based byte positions.
#pragma once

#include "jjstring.h"

Text CopyFrom(const Text& text, long position);
Text RightBytes(const Text& text, long count);
Text RightChars(const Text& text, long count);

size_t PosFrom(const Text& pattern, const Text& text, size_t start);
size_t Pos(const Text& pattern, const Text& text);
size_t LastPos(const Text& pattern, const Text& text);

Text IntToStrOrEmpty(long value, long emptyValue);
// The number the text denotes, 0 when it denotes none (never throws).
double TextToFloat(const Text& text);
// Decimal (or 0x / $ hexadecimal) integer with optional sign and surrounding blanks.
bool TryTextToInt(const Text& text, long& value);

// Upper-cases ASCII letters only; trail bytes of double-byte characters stay as they are.
Text UpperCaseText(const Text& text);
bool SameText(const Text& a, const Text& b);

// Character-aware search for a one-byte character: a trail byte that happens to equal
// it (CP932 "ソ" is 83 5C) is never a match. 1-based; 0 when absent.
size_t FindCharFrom(char c, const Text& text, size_t start);
size_t FindLastChar(char c, const Text& text);
bool ContainsChar(char c, const Text& text);
// 1-based position of the last character, 0 for the empty text.
size_t LastCharPos(const Text& text);
// True when the last character is the one-byte character c (not a trail byte equal to it).
bool EndsWithChar(const Text& text, char c);

Text AddTrailingChar(char c, const Text& text);
Text StripLeadingChars(char c, const Text& text);
Text StripTrailingChars(char c, const Text& text);
