#include "core/SNamedValue.h"
#include <algorithm>
#include <climits>
#include <cwchar>
#include <cwctype>

namespace WUI {

bool SIntParser::Parse(const wchar_t *text, int &out)
{
    // Too many digits stop at the largest int instead of overflowing.
    long long v = 0;
    for (const wchar_t *p = text; p && *p >= L'0' && *p <= L'9'; ++p)
        v = std::min<long long>(v * 10 + (*p - L'0'), INT_MAX);
    out = static_cast<int>(v);
    return true;
}

namespace {

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return -1;
}

// Up to four fields of one or two hex digits after the '#', as many as there
// are; a sign, space or "0x" ends the fields instead of being read as a number.
int ReadHexFields(const wchar_t *p, unsigned fields[4])
{
    int n = 0;
    while (n < 4 && HexDigit(*p) >= 0) {
        unsigned v = static_cast<unsigned>(HexDigit(*p++));
        if (HexDigit(*p) >= 0)
            v = v * 16 + static_cast<unsigned>(HexDigit(*p++));
        fields[n++] = v;
    }
    return n;
}

} // namespace

bool SColorParser::Parse(const wchar_t *text, COLORREF &out)
{
    if (!text)
        return false;
    SStringW lower(text);
    lower.MakeLower();
    int r = 0, g = 0, b = 0, a = 0xFF;
    int n = 0;
    if (lower.Left(1) == L"#") {
        unsigned f[4] = {0, 0, 0, 0xFF};
        n = ReadHexFields(lower.c_str() + 1, f);
        r = static_cast<int>(f[0]), g = static_cast<int>(f[1]), b = static_cast<int>(f[2]), a = static_cast<int>(f[3]);
    } else if (lower.Left(4) == L"rgba") {
        n = swscanf(lower.c_str(), L"rgba(%d,%d,%d,%d)", &r, &g, &b, &a);
    } else if (lower.Left(3) == L"rgb") {
        n = swscanf(lower.c_str(), L"rgb(%d,%d,%d)", &r, &g, &b);
    }
    if (n != 3 && n != 4)
        return false;
    out = static_cast<COLORREF>((a & 0xFF) << 24 | (b & 0xFF) << 16 | (g & 0xFF) << 8 | (r & 0xFF));
    return true;
}

} // namespace WUI
