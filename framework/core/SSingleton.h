// One global instance per type, from its constructor to its destructor.
#pragma once

#include "core/SCmnMap.h"

namespace WUI {

template <class T>
class SSingleton {
public:
    SSingleton() { ms_Singleton = static_cast<T*>(this); }
    SSingleton(const SSingleton&) = delete;
    SSingleton& operator=(const SSingleton&) = delete;
    // Clears the pointer only while it still names this object: a newer
    // instance keeps its registration.
    virtual ~SSingleton()
    {
        if (ms_Singleton == static_cast<T*>(this)) ms_Singleton = nullptr;
    }
    // The instance, or null while none exists.
    static T* GetSingletonPtr() { return ms_Singleton; }

private:
    static inline T* ms_Singleton = nullptr;
};

template <class T, class V, class K, class KTraits = SHashTraits<K>>
class SSingletonMap : public SSingleton<T>, public SCmnMap<V, K, KTraits> {
public:
    explicit SSingletonMap(typename SCmnMap<V, K, KTraits>::FunOnKeyRemoved onRemoved = nullptr)
        : SCmnMap<V, K, KTraits>(onRemoved)
    {
    }
};

} // namespace WUI
