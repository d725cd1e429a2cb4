// Text helpers of the archive reader: names between the system (ANSI) code
// page and UTF-16, and the name comparison of its lookups.
#pragma once

#include <cstddef>
#include <memory>

// A NUL-terminated UTF-16 copy of text, read in the system code page. Null
// for a null text, a byte sequence that code page does not define, or lack
// of memory.
std::unique_ptr<wchar_t[]> AnsiToWideAlloc(const char* text);

// A NUL-terminated copy of text in the system code page. Null for a null
// text, lack of memory, or a character that code page cannot spell exactly:
// a name is never turned into another one (a "?" or a look-alike that may
// be a separator).
std::unique_ptr<char[]> WideToAnsiAlloc(const wchar_t* text);

// True when the first count characters of a and b are equal (letter case
// counts); characters after a NUL are not compared. False when either is null.
bool WideCharsEqual(const wchar_t* a, const wchar_t* b, size_t count);
