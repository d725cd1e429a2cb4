// Hash and equality of map keys: string keys hash as h * 33 + c, integer and
// pointer keys hash to themselves. Other key types specialise this.
#pragma once

#include "core/TStringT.h"

#include <cstdint>
#include <type_traits>

namespace WUI {

template <class K>
struct SHashTraits {
    static UINT Hash(const K& key) { return static_cast<UINT>((uintptr_t)(key)); }
    static bool Equal(const K& a, const K& b) { return a == b; }
};

template <class T, class Traits>
struct SHashTraits<TStringT<T, Traits>> {
    static UINT Hash(const TStringT<T, Traits>& key)
    {
        UINT h = 0;
        const T* p = key.c_str();
        for (int i = 0, n = key.GetLength(); i < n; ++i)
            h = h * 33 + static_cast<UINT>(static_cast<typename std::make_unsigned<T>::type>(p[i]));
        return h;
    }
    static bool Equal(const TStringT<T, Traits>& a, const TStringT<T, Traits>& b) { return a == b; }
};

} // namespace WUI
