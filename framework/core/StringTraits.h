// Character traits of the two string instantiations: the C runtime calls each
// character width needs, gathered so that TStringT stays one template.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace WUI {

struct wchar_traits {
    typedef wchar_t char_type;
    static size_t Length(const wchar_t* s) { return s ? wcslen(s) : 0; }
    static const wchar_t* FindSub(const wchar_t* s, const wchar_t* sub) { return wcsstr(s, sub); }
    static const wchar_t* FindChar(const wchar_t* s, wchar_t c) { return wcschr(s, c); }
    // wcscmp order: unsigned 16-bit units.
    static int Compare(const wchar_t* a, const wchar_t* b)
    {
        int r = wcscmp(a, b);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    static void Lower(wchar_t* s) { _wcslwr(s); }
    // The C runtime's formatter: MinGW's C99 one reads "%s" as narrow.
    static int Measure(const wchar_t* fmt, va_list args) { return _vscwprintf(fmt, args); }
    static int Print(wchar_t* buf, size_t n, const wchar_t* fmt, va_list args)
    {
        return _vsnwprintf(buf, n, fmt, args);
    }
};

struct achar_traits {
    typedef char char_type;
    static size_t Length(const char* s) { return s ? strlen(s) : 0; }
    static const char* FindSub(const char* s, const char* sub) { return strstr(s, sub); }
    static const char* FindChar(const char* s, char c) { return strchr(s, c); }
    // strcmp order: unsigned bytes.
    static int Compare(const char* a, const char* b)
    {
        int r = strcmp(a, b);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    static void Lower(char* s) { _strlwr(s); }
    static int Measure(const char* fmt, va_list args) { return _vscprintf(fmt, args); }
    static int Print(char* buf, size_t n, const char* fmt, va_list args)
    {
        return _vsnprintf(buf, n, fmt, args);
    }
};

} // namespace WUI
