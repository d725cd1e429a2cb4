#include "engine/SzText.h"

#include <windows.h>

#include <new>

std::unique_ptr<wchar_t[]> AnsiToWideAlloc(const char* text)
{
    if (!text) return nullptr;
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (n <= 0) return nullptr;
    std::unique_ptr<wchar_t[]> out(new (std::nothrow) wchar_t[static_cast<size_t>(n)]);
    if (!out || MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, out.get(), n) != n) return nullptr;
    return out;
}

std::unique_ptr<char[]> WideToAnsiAlloc(const wchar_t* text)
{
    if (!text) return nullptr;
    // UTF-8 spells every character; it only refuses halves of a pair.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* lossyOut = utf8 ? nullptr : &lossy;
    int n = WideCharToMultiByte(CP_ACP, flags, text, -1, nullptr, 0, nullptr, lossyOut);
    if (n <= 0 || lossy) return nullptr;
    std::unique_ptr<char[]> out(new (std::nothrow) char[static_cast<size_t>(n)]);
    if (!out || WideCharToMultiByte(CP_ACP, flags, text, -1, out.get(), n, nullptr, lossyOut) != n || lossy)
        return nullptr;
    return out;
}

bool WideCharsEqual(const wchar_t* a, const wchar_t* b, size_t count)
{
    if (!a || !b) return false;
    for (size_t i = 0; i < count; ++i) {
        if (a[i] != b[i]) return false;
        if (!a[i]) return true;
    }
    return true;
}
