// Splitting at a separator character, used by the id and attribute parsers.
#pragma once

#include "core/SArray.h"
#include "core/TStringT.h"

namespace WUI {

// Appends every non-empty piece between separators, left to right; returns
// the array's count afterwards (earlier elements included).
template <class T, class Traits>
int SplitString(const TStringT<T, Traits>& text, T separator, SArray<TStringT<T, Traits>>& out)
{
    const T* p = text.c_str();
    int n = text.GetLength(), start = 0;
    for (int i = 0; i <= n; ++i) {
        if (i < n && p[i] != separator) continue;
        if (i > start) out.Add(TStringT<T, Traits>(p + start, i - start));
        start = i + 1;
    }
    return out.GetCount();
}

} // namespace WUI
