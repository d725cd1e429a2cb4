#pragma once
#include "core/SAutoRefPtr.h"

// Holds a new object's first reference.
template <class T> WUI::SAutoRefPtr<T> AdoptRef(T *p)
{
    WUI::SAutoRefPtr<T> r;
    r.Attach(p);
    return r;
}
