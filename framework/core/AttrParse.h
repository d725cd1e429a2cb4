// Numbers in attribute values. Layouts may come from anyone: every number is
// read whole and range-checked, and a value that is not a clean number is
// refused, so a handler can keep its old value and report a bad value.
#pragma once

#include <windows.h>

#include <climits>

namespace WUI {

// An integer with optional blanks around it and an optional sign: decimal, or
// "0x" hexadecimal (a 32-bit pattern) when allowHex. False, `out` untouched,
// for null or empty text, trailing garbage, or a value outside [low, high].
bool AttrParseInt(LPCWSTR text, int& out, bool allowHex = true, int low = INT_MIN, int high = INT_MAX);

// An unsigned 32-bit decimal value (a bit pattern such as a window style),
// blanks around it allowed, no sign. False, `out` untouched, for null or
// empty text, trailing garbage, or a value past 32 bits.
bool AttrParseUInt(LPCWSTR text, UINT& out);

// Integers separated by ",", each as AttrParseInt (decimal only). Returns how
// many were read into out; -1 (out untouched) for an empty or malformed piece,
// a value outside [low, high], or more than max pieces.
int AttrParseIntList(LPCWSTR text, int* out, int max, int low, int high);

// A decimal floating-point number within [-limit, limit], blanks allowed
// around it. False, `out` untouched, for anything else.
bool AttrParseFloat(LPCWSTR text, float& out, float limit);

}  // namespace WUI
