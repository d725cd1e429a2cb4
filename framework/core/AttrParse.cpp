#include "core/AttrParse.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

namespace WUI {

namespace {

const wchar_t* SkipBlanks(const wchar_t* p)
{
    while (*p == L' ' || *p == L'\t' || *p == L'\r' || *p == L'\n') ++p;
    return p;
}

int DigitValue(wchar_t c, int radix)
{
    int v = -1;
    if (c >= L'0' && c <= L'9') v = c - L'0';
    else if (c >= L'a' && c <= L'f') v = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') v = c - L'A' + 10;
    return v < radix ? v : -1;
}

// Reads digits at p into value; false on no digits or a value past 32 bits.
bool ReadMagnitude(const wchar_t*& p, int radix, unsigned long long& value)
{
    const wchar_t* start = p;
    value = 0;
    for (int d; (d = DigitValue(*p, radix)) >= 0; ++p) {
        value = value * radix + d;
        if (value > 0xFFFFFFFFull) return false;
    }
    return p != start;
}

}  // namespace

bool AttrParseInt(LPCWSTR text, int& out, bool allowHex, int low, int high)
{
    if (!text) return false;
    const wchar_t* p = SkipBlanks(text);
    bool negative = false;
    if (*p == L'-' || *p == L'+') negative = *p++ == L'-';
    bool hex = allowHex && p[0] == L'0' && (p[1] == L'x' || p[1] == L'X');
    if (hex) p += 2;
    unsigned long long magnitude;
    if (!ReadMagnitude(p, hex ? 16 : 10, magnitude) || *SkipBlanks(p)) return false;
    long long value;
    if (hex) value = static_cast<int>(static_cast<unsigned>(magnitude));  // a bit pattern
    else value = static_cast<long long>(magnitude);
    if (negative) value = -value;
    if (value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

bool AttrParseUInt(LPCWSTR text, UINT& out)
{
    if (!text) return false;
    const wchar_t* p = SkipBlanks(text);
    unsigned long long value;
    if (!ReadMagnitude(p, 10, value) || *SkipBlanks(p)) return false;
    out = static_cast<UINT>(value);
    return true;
}

int AttrParseIntList(LPCWSTR text, int* out, int max, int low, int high)
{
    if (!text || max <= 0) return -1;
    int values[16];
    if (max > 16) max = 16;
    int count = 0;
    const wchar_t* piece = text;
    for (;;) {
        const wchar_t* comma = wcschr(piece, L',');
        size_t len = comma ? static_cast<size_t>(comma - piece) : wcslen(piece);
        if (count == max || len >= 32) return -1;
        wchar_t buf[32];
        wmemcpy(buf, piece, len);
        buf[len] = 0;
        if (!AttrParseInt(buf, values[count], false, low, high)) return -1;
        ++count;
        if (!comma) break;
        piece = comma + 1;
    }
    for (int i = 0; i < count; ++i) out[i] = values[i];
    return count;
}

bool AttrParseFloat(LPCWSTR text, float& out, float limit)
{
    if (!text) return false;
    const wchar_t* p = SkipBlanks(text);
    // wcstod would also take "inf", "nan" and hexadecimal forms.
    const wchar_t* q = p;
    if (*q == L'-' || *q == L'+') ++q;
    if (!(iswdigit(*q) || (*q == L'.' && iswdigit(q[1]))) || wcspbrk(q, L"xX")) return false;
    wchar_t* end = nullptr;
    double value = wcstod(p, &end);
    if (end == p || *SkipBlanks(end) || !std::isfinite(value) || std::fabs(value) > limit) return false;
    out = static_cast<float>(value);
    return true;
}

}  // namespace WUI
