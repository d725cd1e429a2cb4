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

bool SColorParser::Parse(const wchar_t *text, COLORREF &out)
{
    if (!text)
        return false;
    SStringW lower(text);
    lower.MakeLower();
    int r = 0, g = 0, b = 0, a = 0xFF;
    int n = 0;
    if (lower.Left(1) == L"#") {
        unsigned ur = 0, ug = 0, ub = 0, ua = 0xFF;
        n = swscanf(lower.c_str(), L"#%02x%02x%02x%02x", &ur, &ug, &ub, &ua);
        r = static_cast<int>(ur), g = static_cast<int>(ug), b = static_cast<int>(ub), a = static_cast<int>(ua);
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
