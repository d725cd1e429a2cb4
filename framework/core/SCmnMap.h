// Map wrapper whose owner releases stored values through a callback: once
// per value, on removal or when the map goes.
#pragma once

#include "core/SMap.h"

namespace WUI {

template <class V, class K, class KTraits = SHashTraits<K>>
class SCmnMap {
public:
    typedef void (*FunOnKeyRemoved)(V* value);
    typedef SMap<K, V, KTraits> Map;

    explicit SCmnMap(FunOnKeyRemoved onRemoved = nullptr) : m_pFunOnKeyRemoved(onRemoved), m_mapNamedObj(new Map) {}
    SCmnMap(const SCmnMap&) = delete;
    SCmnMap& operator=(const SCmnMap&) = delete;
    virtual ~SCmnMap()
    {
        RemoveAllAndRelease();
        delete m_mapNamedObj;
    }

    // False (first value kept) when the key is present or no node could be had.
    bool InsertIfAbsent(const K& key, const V& value)
    {
        if (m_mapNamedObj->Lookup(key)) return false;
        return m_mapNamedObj->SetValue(key, value) != nullptr;
    }
    bool HasKey(const K& key) const { return m_mapNamedObj->Lookup(key) != nullptr; }
    // The stored value, or null.
    V* Find(const K& key) const
    {
        typename Map::Node* node = m_mapNamedObj->Lookup(key);
        return node ? &node->value : nullptr;
    }
    // False when absent; else releases the value once and removes it.
    bool RemoveAndRelease(const K& key)
    {
        typename Map::Node* node = m_mapNamedObj->Lookup(key);
        if (!node) return false;
        if (m_pFunOnKeyRemoved) m_pFunOnKeyRemoved(&node->value);
        m_mapNamedObj->RemoveKey(key);
        return true;
    }
    // Releases every value in iteration order, then empties the map.
    void RemoveAllAndRelease()
    {
        if (m_pFunOnKeyRemoved)
            for (typename Map::Node* n = m_mapNamedObj->First(); n; n = m_mapNamedObj->Next(n))
                m_pFunOnKeyRemoved(&n->value);
        m_mapNamedObj->RemoveAll();
    }
    void SetReleaseCallback(FunOnKeyRemoved onRemoved) { m_pFunOnKeyRemoved = onRemoved; }
    Map& GetMap() { return *m_mapNamedObj; }
    const Map& GetMap() const { return *m_mapNamedObj; }
    UINT GetCount() const { return m_mapNamedObj->GetCount(); }

protected:
    FunOnKeyRemoved m_pFunOnKeyRemoved;
    Map* m_mapNamedObj;
};

} // namespace WUI
