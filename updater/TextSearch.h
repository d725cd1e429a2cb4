// Substring searches over 8-bit text in the system code page.
#pragma once

// Index of the first occurrence of pattern in text (bytes compared as
// they are), 0 for an empty pattern; -1 when it is absent or either is null.
int StrFindIndex(const char* text, const char* pattern);

// The first occurrence of pattern in text, letter case ignored as the
// system's locale has it; a match never starts inside a double-byte
// character. text itself for an empty pattern; null when pattern is absent
// or either is null.
const char* StrStrNoCase(const char* text, const char* pattern);
