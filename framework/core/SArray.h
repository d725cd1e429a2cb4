// Growable array owning its elements. Growth moves elements with their own
// move construction, never bytewise.
#pragma once

#include "core/WuiBase.h"

#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace WUI {

template <class T>
class SArray {
public:
    SArray() = default;
    SArray(const SArray& other) { CopyFrom(other); }
    SArray& operator=(const SArray& other)
    {
        if (this != &other) {
            RemoveAll();
            CopyFrom(other);
        }
        return *this;
    }
    ~SArray() { RemoveAll(); }

    // Index of the new element, or -1 (array unchanged) when growing fails.
    int Add(const T& element)
    {
        if (m_nSize >= m_nMaxSize) {
            // The element may live in this array: copy it before the move.
            T copy(element);
            if (!Grow(m_nSize + 1)) return -1;
            new (m_pData + m_nSize) T(std::move(copy));
        } else {
            new (m_pData + m_nSize) T(element);
        }
        return m_nSize++;
    }
    // Inserts before `index` (clipped to the count); false when growing fails.
    bool InsertAt(int index, const T& element)
    {
        if (index < 0) index = 0;
        if (index >= m_nSize) return Add(element) >= 0;
        T copy(element);
        if (m_nSize >= m_nMaxSize && !Grow(m_nSize + 1)) return false;
        new (m_pData + m_nSize) T(std::move(m_pData[m_nSize - 1]));
        for (int i = m_nSize - 1; i > index; --i) m_pData[i] = std::move(m_pData[i - 1]);
        m_pData[index] = std::move(copy);
        ++m_nSize;
        return true;
    }
    // False when `index` is out of range.
    bool RemoveAt(int index)
    {
        if (index < 0 || index >= m_nSize) return false;
        for (int i = index; i + 1 < m_nSize; ++i) m_pData[i] = std::move(m_pData[i + 1]);
        m_pData[--m_nSize].~T();
        return true;
    }
    // Destroys the elements and frees the block.
    void RemoveAll()
    {
        for (int i = 0; i < m_nSize; ++i) m_pData[i].~T();
        MemFree(m_pData);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }
    // Index of the first element equal to `element`, or -1.
    int Find(const T& element) const
    {
        for (int i = 0; i < m_nSize; ++i)
            if (m_pData[i] == element) return i;
        return -1;
    }

    int GetCount() const { return m_nSize; }
    int GetCapacity() const { return m_nMaxSize; }
    void SetGrowStep(int step) { m_nGrowBy = step < 0 ? 0 : step; }
    T& GetAt(int index) { return m_pData[index]; }
    const T& GetAt(int index) const { return m_pData[index]; }
    T& operator[](int index) { return m_pData[index]; }
    const T& operator[](int index) const { return m_pData[index]; }
    T* GetData() { return m_pData; }
    const T* GetData() const { return m_pData; }

    // Makes room for at least `n` elements; false (array unchanged) on failure.
    bool Grow(int n);

private:
    void CopyFrom(const SArray& other)
    {
        m_nGrowBy = other.m_nGrowBy;
        if (other.m_nSize == 0 || !Grow(other.m_nSize)) return;
        for (int i = 0; i < other.m_nSize; ++i) new (m_pData + i) T(other.m_pData[i]);
        m_nSize = other.m_nSize;
    }

    T* m_pData = nullptr;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};

template <class T>
bool SArray<T>::Grow(int n)
{
    if (n <= m_nMaxSize) return true;
    int capacity;
    if (m_pData) {
        int step = m_nGrowBy;
        if (step == 0) step = m_nSize < 32 ? 4 : (m_nSize > 8199 ? 1024 : m_nSize / 8);
        long long wanted = static_cast<long long>(m_nMaxSize) + step;
        capacity = wanted > n ? (wanted > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(wanted)) : n;
    } else {
        capacity = n > m_nGrowBy ? n : m_nGrowBy;
    }
    size_t bytes;
    if (!SizeMul(static_cast<size_t>(capacity), sizeof(T), &bytes)) return false;
    T* block;
    if (std::is_trivially_copyable<T>::value) {
        // Plain data may move bytewise, and the heap may grow the block in place.
        block = static_cast<T*>(MemRealloc(m_pData, bytes));
        if (!block) return false;
        memset(static_cast<void*>(block + m_nSize), 0, (capacity - m_nSize) * sizeof(T));
    } else {
        block = static_cast<T*>(MemCalloc(static_cast<size_t>(capacity), sizeof(T)));
        if (!block) return false;
        for (int i = 0; i < m_nSize; ++i) {
            new (block + i) T(std::move(m_pData[i]));
            m_pData[i].~T();
        }
        MemFree(m_pData);
    }
    m_pData = block;
    m_nMaxSize = capacity;
    return true;
}

} // namespace WUI
