#include "core/StringConv.h"

#include <type_traits>

namespace WUI {

namespace {

const int kStackUnits = 1024;

// Runs `convert(out, capacity)` into a stack buffer and, when that is too
// small, into a heap buffer of the measured size.
template <class Out, class Convert>
TStringT<Out, typename std::conditional<sizeof(Out) == 2, wchar_traits, achar_traits>::type>
Convert2(Convert convert)
{
    typedef TStringT<Out, typename std::conditional<sizeof(Out) == 2, wchar_traits, achar_traits>::type> Result;
    Out stack[kStackUnits];
    int n = convert(stack, kStackUnits);
    if (n > 0) return Result(stack, n);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return Result();
    int needed = convert(nullptr, 0);
    if (needed <= 0) return Result();
    Out* heap = static_cast<Out*>(MemAlloc(static_cast<size_t>(needed) * sizeof(Out)));
    if (!heap) return Result();
    n = convert(heap, needed);
    Result result = n > 0 ? Result(heap, n) : Result();
    MemFree(heap);
    return result;
}

} // namespace

SStringW StrA2W(const SStringA& text, UINT codePage)
{
    if (text.IsEmpty()) return SStringW();
    return Convert2<wchar_t>([&](wchar_t* out, int cap) {
        return MultiByteToWideChar(codePage, 0, text.c_str(), text.GetLength(), out, cap);
    });
}

SStringA StrW2A(const SStringW& text, UINT codePage)
{
    if (text.IsEmpty()) return SStringA();
    return Convert2<char>([&](char* out, int cap) {
        return WideCharToMultiByte(codePage, 0, text.c_str(), text.GetLength(), out, cap, nullptr, nullptr);
    });
}

SStringA StrA2A(const SStringA& text, UINT fromCodePage, UINT toCodePage)
{
    if (fromCodePage == toCodePage) return text;
    return StrW2A(StrA2W(text, fromCodePage), toCodePage);
}

SStringW StrW2W(const SStringW& text)
{
    return text;
}

} // namespace WUI
