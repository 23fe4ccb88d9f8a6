// Character-level operations on code page 932 text.
//
// A character is one byte, or two bytes when the first is a CP932 lead byte and the
// next byte is not the terminating zero. The lead-byte test is the project's own, so the
// result never depends on the machine's ANSI code page. Cursor operations work on
// zero-terminated text; a Text's c_str() always qualifies.
#pragma once

#include <cstddef>
#include <string>

using Text = std::string;

enum TrimMode { TrimBoth = 0, TrimLeading = 1, TrimTrailing = 2, TrimEverywhere = 3 };

constexpr unsigned WideSpaceCode = 0x8140; // full-width ideographic space

bool IsLeadByte(unsigned char byte);

bool IsLeadByteAt(const char* p);
unsigned CharCodeAt(const char* p);
bool IsBlankChar(const char* p, bool wide);

// Advances the cursor over one character; returns its byte length (0 at the end).
int NextChar(const char*& cursor);
// Copies one character (both bytes only when doubleByte is set and the source is at a
// lead byte) and advances both cursors; returns the byte count (0 at the end).
int CopyChar(char*& dest, const char*& source, bool doubleByte);
// Walks up to count characters (0 = to the end); returns characters walked.
size_t SkipChars(const char* text, size_t count, size_t& bytesWalked);

size_t CharLength(const Text& text);
Text MbCopy(const Text& text, long index, long count);
Text CharToStr(unsigned code);
char* WriteCharCode(char* buffer, unsigned code);

Text& TrimText(Text& text, TrimMode mode, bool wide);
Text MbTrim(const Text& text);
