// Chained hash map. Bin counts come from a fixed prime table; the map
// rehashes only when its count crosses bin count x high load or falls below
// bin count x low load, and a raised lock count defers both.
#pragma once

#include "core/SHashTraits.h"
#include "core/SPlex.h"

#include <new>

namespace WUI {

// The bin-count table (ends with 0xFFFFFFFF); defined once for every map.
extern const UINT g_mapPrimes[61];

template <class K, class V, class KTraits = SHashTraits<K>>
class SMap {
public:
    struct Node {
        K key;
        V value;
        Node* pNext;
        UINT nHash;
    };

    SMap() { UpdateThresholds(); }
    SMap(const SMap&) = delete;
    SMap& operator=(const SMap&) = delete;
    ~SMap() { RemoveAll(); }

    // The node holding `key`, or null.
    Node* Lookup(const K& key) const
    {
        UINT bin, hash;
        Node* prev;
        return GetNode(key, bin, hash, prev);
    }
    // The value of `key`, inserting a default value when absent; null when no
    // node could be allocated.
    V* GetOrInsert(const K& key)
    {
        Node* node = FindOrInsert(key);
        return node ? &node->value : nullptr;
    }
    // Inserts or replaces; the node, or null when none could be allocated.
    Node* SetValue(const K& key, const V& value)
    {
        Node* node = FindOrInsert(key);
        if (node) node->value = value;
        return node;
    }
    // False when the key is absent.
    bool RemoveKey(const K& key)
    {
        UINT bin, hash;
        Node* prev;
        Node* node = GetNode(key, bin, hash, prev);
        if (!node) return false;
        RemoveNode(node, prev);
        return true;
    }
    // Unlinks `node`, whose bin predecessor is `prev` (null when first).
    void RemoveNode(Node* node, Node* prev)
    {
        if (prev) prev->pNext = node->pNext;
        else m_ppBins[node->nHash % m_nBins] = node->pNext;
        FreeNode(node);
    }
    // Destroys every node and frees the bins and blocks; the bin count stays.
    void RemoveAll();

    // Sets the bin count (0 is refused); an empty map drops its bin array and
    // allocates a zeroed one when `allocNow`; a filled map is rehashed.
    bool InitHashTable(UINT bins, bool allocNow);
    void SetLoadFactors(float optimal, float low, float high, bool rehashNow);
    // Moves every node into `bins` bins (0: the size the count calls for);
    // false (map unchanged) when the new bin array cannot be allocated.
    bool Rehash(UINT bins = 0);
    void DisableAutoRehash() { ++m_nLockCount; }
    void EnableAutoRehash() { --m_nLockCount; }

    // First node of the first non-empty bin, or null.
    Node* First() const { return FirstFrom(0); }
    // Next node in the same bin, else the first of the following bins.
    Node* Next(const Node* node) const
    {
        if (node->pNext) return node->pNext;
        return FirstFrom(node->nHash % m_nBins + 1);
    }

    UINT GetCount() const { return m_nElements; }
    bool IsEmpty() const { return m_nElements == 0; }
    UINT GetBinCount() const { return m_nBins; }
    bool HasBinArray() const { return m_ppBins != nullptr; }
    bool HasBlocks() const { return m_pBlocks != nullptr; }
    UINT PickSize(UINT count) const;

private:
    Node* GetNode(const K& key, UINT& bin, UINT& hash, Node*& prev) const
    {
        hash = KTraits::Hash(key);
        bin = hash % m_nBins;
        prev = nullptr;
        if (!m_ppBins) return nullptr;
        for (Node* n = m_ppBins[bin]; n; prev = n, n = n->pNext)
            if (n->nHash == hash && KTraits::Equal(n->key, key)) return n;
        return nullptr;
    }
    Node* FirstFrom(UINT bin) const
    {
        if (!m_ppBins) return nullptr;
        for (; bin < m_nBins; ++bin)
            if (m_ppBins[bin]) return m_ppBins[bin];
        return nullptr;
    }
    Node* FindOrInsert(const K& key)
    {
        UINT bin, hash;
        Node* prev;
        Node* node = GetNode(key, bin, hash, prev);
        return node ? node : NewNode(key, bin, hash);
    }
    Node* NewNode(const K& key, UINT bin, UINT hash);
    void FreeNode(Node* node);
    void FreeBlocks()
    {
        if (m_pBlocks) m_pBlocks->FreeDataChain();
        m_pBlocks = nullptr;
        m_pFree = nullptr;
    }
    void UpdateThresholds()
    {
        m_nHiRehashThreshold = static_cast<UINT>(m_nBins * m_fHiThreshold);
        m_nLoRehashThreshold = static_cast<UINT>(m_nBins * m_fLoThreshold);
        if (m_nLoRehashThreshold < 17) m_nLoRehashThreshold = 0;
    }

    Node** m_ppBins = nullptr;
    UINT m_nElements = 0;
    UINT m_nBins = 17;
    float m_fOptimalLoad = 0.75f;
    float m_fLoThreshold = 0.25f;
    float m_fHiThreshold = 2.25f;
    UINT m_nHiRehashThreshold = 0;
    UINT m_nLoRehashThreshold = 0;
    int m_nLockCount = 0;
    int m_nBlockSize = 10;
    SPlex* m_pBlocks = nullptr;
    Node* m_pFree = nullptr;
};

template <class K, class V, class KTraits>
typename SMap<K, V, KTraits>::Node* SMap<K, V, KTraits>::NewNode(const K& key, UINT bin, UINT hash)
{
    if (!m_ppBins) {
        m_ppBins = static_cast<Node**>(MemCalloc(m_nBins, sizeof(Node*)));
        if (!m_ppBins) return nullptr;
    }
    if (!m_pFree) {
        SPlex* block = SPlex::Create(m_pBlocks, m_nBlockSize, sizeof(Node));
        if (!block) return nullptr;
        Node* nodes = static_cast<Node*>(block->data());
        for (int i = m_nBlockSize - 1; i >= 0; --i) {
            nodes[i].pNext = m_pFree;
            m_pFree = nodes + i;
        }
    }
    Node* node = m_pFree;
    m_pFree = node->pNext;
    new (&node->key) K(key);
    new (&node->value) V();
    node->nHash = hash;
    node->pNext = m_ppBins[bin];
    m_ppBins[bin] = node;
    ++m_nElements;
    if (m_nElements > m_nHiRehashThreshold && m_nLockCount == 0) Rehash(PickSize(m_nElements));
    return node;
}

template <class K, class V, class KTraits>
void SMap<K, V, KTraits>::FreeNode(Node* node)
{
    node->key.~K();
    node->value.~V();
    node->pNext = m_pFree;
    m_pFree = node;
    --m_nElements;
    if (m_nElements < m_nLoRehashThreshold && m_nLockCount == 0) Rehash(PickSize(m_nElements));
    if (m_nElements == 0) FreeBlocks();
}

template <class K, class V, class KTraits>
void SMap<K, V, KTraits>::RemoveAll()
{
    DisableAutoRehash();
    if (m_ppBins) {
        for (UINT b = 0; b < m_nBins; ++b) {
            for (Node* n = m_ppBins[b]; n;) {
                Node* next = n->pNext;
                n->key.~K();
                n->value.~V();
                n = next;
            }
        }
        MemFree(m_ppBins);
        m_ppBins = nullptr;
    }
    m_nElements = 0;
    FreeBlocks();
    EnableAutoRehash();
}

template <class K, class V, class KTraits>
bool SMap<K, V, KTraits>::InitHashTable(UINT bins, bool allocNow)
{
    if (bins == 0) return false;
    if (m_nElements > 0) return Rehash(bins);
    if (m_ppBins) {
        MemFree(m_ppBins);
        m_ppBins = nullptr;
    }
    if (allocNow) {
        m_ppBins = static_cast<Node**>(MemCalloc(bins, sizeof(Node*)));
        if (!m_ppBins) return false;
    }
    m_nBins = bins;
    UpdateThresholds();
    return true;
}

template <class K, class V, class KTraits>
void SMap<K, V, KTraits>::SetLoadFactors(float optimal, float low, float high, bool rehashNow)
{
    m_fOptimalLoad = optimal;
    m_fLoThreshold = low;
    m_fHiThreshold = high;
    UpdateThresholds();
    if (rehashNow && (m_nElements < m_nLoRehashThreshold || m_nElements > m_nHiRehashThreshold))
        Rehash(PickSize(m_nElements));
}

template <class K, class V, class KTraits>
bool SMap<K, V, KTraits>::Rehash(UINT bins)
{
    if (bins == 0) bins = PickSize(m_nElements);
    if (bins == m_nBins) return true;
    if (!m_ppBins) {
        m_nBins = bins;
        UpdateThresholds();
        return true;
    }
    Node** fresh = static_cast<Node**>(MemCalloc(bins, sizeof(Node*)));
    if (!fresh) return false;
    for (UINT b = 0; b < m_nBins; ++b) {
        for (Node* n = m_ppBins[b]; n;) {
            Node* next = n->pNext;
            UINT to = n->nHash % bins;
            n->pNext = fresh[to];
            fresh[to] = n;
            n = next;
        }
    }
    MemFree(m_ppBins);
    m_ppBins = fresh;
    m_nBins = bins;
    UpdateThresholds();
    return true;
}

template <class K, class V, class KTraits>
UINT SMap<K, V, KTraits>::PickSize(UINT count) const
{
    UINT b = static_cast<UINT>(count / m_fOptimalLoad);
    if (b < 18) return 17;
    for (const UINT* p = g_mapPrimes; *p != 0xFFFFFFFFu; ++p)
        if (*p >= b) return *p;
    return b;
}

} // namespace WUI
