// The framework's string: one pointer to the characters, a small header in
// front of them in the same block, buffers shared by count and copied before
// a write; every empty string points at one static buffer that is never written.
#pragma once

#include "core/StringTraits.h"
#include "core/WuiBase.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>

namespace WUI {

// Header in front of the characters: count, length, capacity (in characters,
// terminator not counted). A negative count marks a buffer that is never shared.
struct TStringData {
    volatile LONG nRefs;
    int nDataLength;
    int nAllocLength;

    void* data() { return this + 1; }
    void AddRef() { InterlockedIncrement(&nRefs); }
    // Drops one reference and frees the block once none is left.
    void Release()
    {
        if (InterlockedDecrement(&nRefs) <= 0) MemFree(this);
    }
    // A block of `n` characters (reallocating `old` when given) with count 1,
    // length and capacity n and the NUL at n; null on failure or for n <= 0,
    // in which case `old` is left as it was.
    template <class T>
    static TStringData* Allocate(int n, TStringData* old);
    // The shared empty buffer (count -1, length 0, capacity 0).
    static TStringData* EmptyData();
};
static_assert(sizeof(TStringData) == 12, "header is three 32-bit integers");

template <class T>
TStringData* TStringData::Allocate(int n, TStringData* old)
{
    if (n <= 0) return nullptr;
    size_t bytes;
    if (!SizeMul(static_cast<size_t>(n) + 1, sizeof(T), &bytes) ||
        !SizeAdd(bytes, sizeof(TStringData), &bytes))
        return nullptr;
    TStringData* d = static_cast<TStringData*>(MemRealloc(old, bytes));
    if (!d) return nullptr;
    d->nRefs = 1;
    d->nDataLength = n;
    d->nAllocLength = n;
    static_cast<T*>(d->data())[n] = 0;
    return d;
}

template <class T, class Traits>
class TStringT {
public:
    typedef T char_type;

    TStringT() : m_pszData(EmptyChars()) {}
    // Null or empty text gives the empty string, as does a failed allocation.
    TStringT(const T* text) : m_pszData(EmptyChars()) { InitChars(text, Len(text)); }
    // A negative count copies up to the NUL; otherwise exactly `count`
    // characters, embedded NULs included.
    TStringT(const T* text, int count) : m_pszData(EmptyChars())
    {
        InitChars(text, count < 0 ? Len(text) : count);
    }
    TStringT(const TStringT& other) : m_pszData(EmptyChars())
    {
        TStringData* d = other.GetData();
        if (d->nRefs > 0) {
            d->AddRef();
            m_pszData = other.m_pszData;
        } else if (!other.IsEmptyBuffer()) {
            InitChars(other.m_pszData, d->nDataLength);
        }
    }
    TStringT(TStringT&& other) noexcept : m_pszData(other.m_pszData) { other.m_pszData = EmptyChars(); }
    ~TStringT() { ReleaseData(); }

    TStringT& operator=(const TStringT& other)
    {
        AssignCopy(other);
        return *this;
    }
    TStringT& operator=(TStringT&& other) noexcept
    {
        if (this == &other) return *this;
        if (IsLocked() || other.IsLocked()) {
            AssignCopy(other);
        } else {
            ReleaseData();
            m_pszData = other.m_pszData;
            other.m_pszData = EmptyChars();
        }
        return *this;
    }
    TStringT& operator=(const T* text)
    {
        AssignPsz(text);
        return *this;
    }

    const T* c_str() const { return m_pszData; }
    operator const T*() const { return m_pszData; }
    int GetLength() const { return GetData()->nDataLength; }
    int GetCapacity() const { return GetData()->nAllocLength; }
    bool IsEmpty() const { return GetLength() == 0; }
    bool IsShared() const { return GetData()->nRefs > 1; }
    // Locked buffers (and the empty buffer) are copied, never shared.
    bool IsLocked() const { return GetData()->nRefs < 0; }
    long GetRefCount() const { return GetData()->nRefs; }
    T GetAt(int i) const { return m_pszData[i]; }

    // Index of the first `ch` at or after `start` (negative counts as 0); -1
    // when `start` is at or past the end or nothing is found.
    int Find(T ch, int start = 0) const
    {
        if (start < 0) start = 0;
        for (int i = start, n = GetLength(); i < n; ++i)
            if (m_pszData[i] == ch) return i;
        return -1;
    }
    // Index of the first occurrence of `sub` at or after `start`; -1 when
    // `sub` is null or empty or absent.
    int Find(const T* sub, int start = 0) const
    {
        if (start < 0) start = 0;
        if (!sub || !*sub || start >= GetLength()) return -1;
        const T* p = Traits::FindSub(m_pszData + start, sub);
        return p ? static_cast<int>(p - m_pszData) : -1;
    }
    int Compare(const T* other) const { return Traits::Compare(m_pszData, other ? other : EmptyChars()); }

    TStringT Mid(int first, int count) const
    {
        if (first < 0) first = 0;
        if (count < 0) count = 0;
        int len = GetLength();
        if (first >= len) return TStringT();
        if (count > len - first) count = len - first;
        if (first == 0 && count == len) return *this;
        return TStringT(m_pszData + first, count);
    }
    TStringT Mid(int first) const { return Mid(first, GetLength()); }
    TStringT Left(int count) const { return count < 0 ? TStringT() : Mid(0, count); }
    TStringT Right(int count) const
    {
        if (count < 0) return TStringT();
        int len = GetLength();
        if (count > len) count = len;
        return Mid(len - count, count);
    }

    // Appends; false (string unchanged) when growing fails.
    bool Append(const T* text) { return AppendChars(Len(text), text); }
    bool Append(const TStringT& text) { return AppendChars(text.GetLength(), text.m_pszData); }
    TStringT& operator+=(const T* text)
    {
        Append(text);
        return *this;
    }
    TStringT& operator+=(const TStringT& text)
    {
        Append(text);
        return *this;
    }
    TStringT& operator+=(T ch)
    {
        AppendChars(1, &ch);
        return *this;
    }
    bool AppendChars(int count, const T* chars);

    // Number of replacements; 0 when `oldText` is null, empty or absent, -1
    // when growing fails (the string is then unchanged).
    int Replace(const T* oldText, const T* newText);

    // Formats into this string and returns a copy of the result.
    TStringT Format(const T* format, ...)
    {
        va_list args;
        va_start(args, format);
        FormatV(format, args);
        va_end(args);
        return *this;
    }
    // 1 when the string took the result; 0 for a null or empty format (the
    // string is emptied) or a result with no characters (the string is kept).
    int FormatV(const T* format, va_list args);

    void MakeLower()
    {
        if (IsEmpty() || !CopyBeforeWrite()) return;
        Traits::Lower(m_pszData);
    }
    // Removes the trailing run of backslashes only.
    void TrimRight();
    // Removes leading and trailing line feeds, carriage returns, spaces, tabs.
    void TrimBlank();
    void Empty();

    // Direct writing. GetBuffer gives a private buffer of at least `minLength`
    // characters holding the text (null on failure); ReleaseBuffer sets the
    // length (negative: up to the NUL, clipped to the capacity).
    T* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);
    // A locked buffer is copied instead of shared until UnlockBuffer.
    T* LockBuffer();
    void UnlockBuffer();

    // Keeps a private buffer of capacity >= n (content not kept), else a fresh
    // block of length n; false (string unchanged) when that allocation fails.
    bool AllocBeforeWrite(int n);
    // Makes the buffer private, copying a shared one; null when that fails.
    T* CopyBeforeWrite();
    // Resizes to length n keeping min(length, n) characters; false when the
    // allocation fails, with the string unchanged.
    bool ReallocBuffer(int n);

    friend bool operator==(const TStringT& a, const TStringT& b) { return a.Compare(b.m_pszData) == 0; }
    friend bool operator==(const TStringT& a, const T* b) { return a.Compare(b) == 0; }
    friend bool operator==(const T* a, const TStringT& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const TStringT& a, const TStringT& b) { return !(a == b); }
    friend bool operator!=(const TStringT& a, const T* b) { return !(a == b); }
    friend bool operator!=(const T* a, const TStringT& b) { return !(a == b); }
    friend TStringT operator+(const TStringT& a, const T* b) { return Concat(a.m_pszData, a.GetLength(), b, Len(b)); }
    friend TStringT operator+(const TStringT& a, const TStringT& b)
    {
        return Concat(a.m_pszData, a.GetLength(), b.m_pszData, b.GetLength());
    }
    friend TStringT operator+(const T* a, const TStringT& b) { return Concat(a, Len(a), b.m_pszData, b.GetLength()); }

private:
    static T* EmptyChars() { return static_cast<T*>(TStringData::EmptyData()->data()); }
    static int Len(const T* s) { return static_cast<int>(Traits::Length(s)); }
    static TStringT Concat(const T* a, int la, const T* b, int lb);

    TStringData* GetData() const { return reinterpret_cast<TStringData*>(m_pszData) - 1; }
    bool IsEmptyBuffer() const { return m_pszData == EmptyChars(); }
    // True when `p` points into this string's own block.
    bool Owns(const T* p) const
    {
        if (IsEmptyBuffer() || !p) return false;
        uintptr_t a = reinterpret_cast<uintptr_t>(p), b = reinterpret_cast<uintptr_t>(m_pszData);
        return a >= b && a <= b + GetData()->nAllocLength * sizeof(T);
    }
    void InitChars(const T* text, int count);
    void ReleaseData()
    {
        if (!IsEmptyBuffer()) GetData()->Release();
        m_pszData = EmptyChars();
    }
    // Writes length and NUL, except into the empty buffer.
    void SetLength(int n)
    {
        if (IsEmptyBuffer()) return;
        GetData()->nDataLength = n;
        m_pszData[n] = 0;
    }
    void AssignCopy(const TStringT& other);
    void AssignPsz(const T* text);
    int CountMatches(const T* oldText, int oldLen) const;

    T* m_pszData;
};

template <class T, class Traits>
void TStringT<T, Traits>::InitChars(const T* text, int count)
{
    if (!text || count <= 0) return;
    TStringData* d = TStringData::Allocate<T>(count, nullptr);
    if (!d) return;
    m_pszData = static_cast<T*>(d->data());
    memcpy(m_pszData, text, count * sizeof(T));
}

template <class T, class Traits>
TStringT<T, Traits> TStringT<T, Traits>::Concat(const T* a, int la, const T* b, int lb)
{
    TStringT r;
    if (la + static_cast<long long>(lb) > 0x7FFFFFFF) return r;
    TStringData* d = TStringData::Allocate<T>(la + lb, nullptr);
    if (!d) return r;
    r.m_pszData = static_cast<T*>(d->data());
    if (la) memcpy(r.m_pszData, a, la * sizeof(T));
    if (lb) memcpy(r.m_pszData + la, b, lb * sizeof(T));
    return r;
}

template <class T, class Traits>
void TStringT<T, Traits>::AssignCopy(const TStringT& other)
{
    if (other.m_pszData == m_pszData) return;
    bool selfLocked = IsLocked() && !IsEmptyBuffer();
    if (selfLocked || other.IsLocked()) {
        int n = other.GetLength();
        if (!AllocBeforeWrite(n)) return;
        if (n) memcpy(m_pszData, other.m_pszData, n * sizeof(T));
        SetLength(n);
        return;
    }
    other.GetData()->AddRef();
    ReleaseData();
    m_pszData = other.m_pszData;
}

template <class T, class Traits>
void TStringT<T, Traits>::AssignPsz(const T* text)
{
    TStringT temp(text); // `text` may point into this very string
    int n = temp.GetLength();
    if (!AllocBeforeWrite(n)) return;
    if (n) memcpy(m_pszData, temp.m_pszData, n * sizeof(T));
    SetLength(n);
}

template <class T, class Traits>
void TStringT<T, Traits>::Empty()
{
    if (IsEmptyBuffer()) return;
    if (IsLocked()) {
        SetLength(0);
        return;
    }
    ReleaseData();
}

template <class T, class Traits>
bool TStringT<T, Traits>::AllocBeforeWrite(int n)
{
    if (n < 0) return false;
    TStringData* d = GetData();
    if (d->nRefs <= 1 && d->nAllocLength >= n) return true;
    if (n == 0) {
        ReleaseData();
        return true;
    }
    TStringData* fresh = TStringData::Allocate<T>(n, nullptr);
    if (!fresh) return false;
    ReleaseData();
    m_pszData = static_cast<T*>(fresh->data());
    return true;
}

template <class T, class Traits>
T* TStringT<T, Traits>::CopyBeforeWrite()
{
    TStringData* d = GetData();
    if (d->nRefs > 1) {
        // Copy first, release after: another owner may free the block as soon
        // as our reference is gone.
        TStringData* fresh = TStringData::Allocate<T>(d->nDataLength, nullptr);
        if (!fresh) return nullptr;
        memcpy(fresh->data(), m_pszData, (d->nDataLength + 1) * sizeof(T));
        m_pszData = static_cast<T*>(fresh->data());
        d->Release();
    }
    return m_pszData;
}

template <class T, class Traits>
bool TStringT<T, Traits>::ReallocBuffer(int n)
{
    if (n < 0) return false;
    if (n == 0) {
        Empty();
        return true;
    }
    TStringData* d = GetData();
    if (!IsEmptyBuffer() && d->nRefs <= 1) {
        LONG refs = d->nRefs;
        TStringData* resized = TStringData::Allocate<T>(n, d);
        if (!resized) return false; // the old block is still ours, unchanged
        resized->nRefs = refs;
        m_pszData = static_cast<T*>(resized->data());
        return true;
    }
    TStringData* fresh = TStringData::Allocate<T>(n, nullptr);
    if (!fresh) return false;
    T* chars = static_cast<T*>(fresh->data());
    int keep = d->nDataLength < n ? d->nDataLength : n;
    memcpy(chars, m_pszData, keep * sizeof(T));
    chars[keep] = 0;
    ReleaseData();
    m_pszData = chars;
    return true;
}

template <class T, class Traits>
bool TStringT<T, Traits>::AppendChars(int count, const T* chars)
{
    if (count <= 0 || !chars) return true;
    if (Owns(chars)) {
        TStringT temp(chars, count);
        if (temp.GetLength() != count) return false;
        return AppendChars(count, temp.m_pszData);
    }
    int oldLen = GetLength();
    if (count > 0x7FFFFFFF - oldLen) return false;
    TStringData* d = GetData();
    if (!IsEmptyBuffer() && d->nRefs <= 1 && d->nAllocLength >= oldLen + count) {
        memcpy(m_pszData + oldLen, chars, count * sizeof(T));
        SetLength(oldLen + count);
        return true;
    }
    if (!ReallocBuffer(oldLen + count)) return false;
    memcpy(m_pszData + oldLen, chars, count * sizeof(T));
    return true;
}

template <class T, class Traits>
int TStringT<T, Traits>::CountMatches(const T* oldText, int oldLen) const
{
    int count = 0;
    const T* p = m_pszData;
    const T* end = m_pszData + GetLength();
    while (p < end) { // NUL-separated segments
        const T* hit;
        while ((hit = Traits::FindSub(p, oldText)) != nullptr) {
            ++count;
            p = hit + oldLen;
        }
        p += Traits::Length(p) + 1;
    }
    return count;
}

template <class T, class Traits>
int TStringT<T, Traits>::Replace(const T* oldText, const T* newText)
{
    int oldLen = Len(oldText);
    if (oldLen == 0) return 0;
    // Arguments pointing into this string would move under us.
    TStringT oldCopy, newCopy;
    if (Owns(oldText)) {
        oldCopy = TStringT(oldText, oldLen);
        if (oldCopy.GetLength() != oldLen) return -1;
        oldText = oldCopy.m_pszData;
    }
    int newLen = Len(newText);
    if (Owns(newText)) {
        newCopy = TStringT(newText, newLen);
        if (newCopy.GetLength() != newLen) return -1;
        newText = newCopy.m_pszData;
    }
    int count = CountMatches(oldText, oldLen);
    if (count == 0) return 0;
    int len = GetLength();
    long long target = len + static_cast<long long>(newLen - oldLen) * count;
    if (target > 0x7FFFFFFF) return -1;
    // Shrinking a private buffer works in place; otherwise the text is
    // rebuilt into a fresh block in one pass (no move of the tail per match).
    TStringData* old = GetData();
    bool inPlace = newLen <= oldLen && !IsShared();
    TStringData* fresh = nullptr;
    if (!inPlace && target > 0) {
        fresh = TStringData::Allocate<T>(static_cast<int>(target), nullptr);
        if (!fresh) return -1;
        if (old->nRefs < 0) fresh->nRefs = old->nRefs;
    }
    const T* src = m_pszData;
    T* dst = inPlace ? m_pszData : (fresh ? static_cast<T*>(fresh->data()) : nullptr);
    if (dst) {
        // Segments are NUL-separated; the last ends at the terminator.
        int r = 0, w = 0;
        while (r <= len) {
            const T* hit = r < len ? Traits::FindSub(src + r, oldText) : nullptr;
            if (hit) {
                int at = static_cast<int>(hit - src);
                memmove(dst + w, src + r, (at - r) * sizeof(T));
                w += at - r;
                if (newLen) memcpy(dst + w, newText, newLen * sizeof(T));
                w += newLen;
                r = at + oldLen;
                continue;
            }
            int seg = static_cast<int>(Traits::Length(src + r));
            memmove(dst + w, src + r, (seg + 1) * sizeof(T));
            w += seg + 1;
            r += seg + 1;
        }
    }
    if (inPlace) {
        if (target == 0 && !IsLocked()) ReleaseData();
        else SetLength(static_cast<int>(target));
    } else {
        ReleaseData();
        if (fresh) m_pszData = static_cast<T*>(fresh->data());
    }
    return count;
}

template <class T, class Traits>
int TStringT<T, Traits>::FormatV(const T* format, va_list args)
{
    if (!format || !*format) {
        Empty();
        return 0;
    }
    va_list measureArgs;
    va_copy(measureArgs, args);
    int n = Traits::Measure(format, measureArgs);
    va_end(measureArgs);
    if (n <= 0) return 0;
    size_t bytes;
    if (!SizeMul(static_cast<size_t>(n) + 1, sizeof(T), &bytes)) return 0;
    T* buf = static_cast<T*>(MemAlloc(bytes));
    if (!buf) return 0;
    int written = Traits::Print(buf, n + 1, format, args);
    int ok = 0;
    if (written > 0) {
        TStringT result(buf, written < n ? written : n);
        if (!result.IsEmpty()) {
            AssignCopy(result);
            ok = 1;
        }
    }
    MemFree(buf);
    return ok;
}

template <class T, class Traits>
void TStringT<T, Traits>::TrimRight()
{
    int len = GetLength(), end = len;
    while (end > 0 && m_pszData[end - 1] == '\\') --end;
    if (end == len || !CopyBeforeWrite()) return;
    SetLength(end);
}

template <class T, class Traits>
void TStringT<T, Traits>::TrimBlank()
{
    auto blank = [](T c) { return c == '\n' || c == '\r' || c == ' ' || c == '\t'; };
    int len = GetLength(), first = 0, last = len;
    while (first < len && blank(m_pszData[first])) ++first;
    while (last > first && blank(m_pszData[last - 1])) --last;
    if (first == last) {
        Empty();
    } else if (first != 0 || last != len) {
        TStringT part(m_pszData + first, last - first);
        if (part.GetLength() == last - first) *this = static_cast<TStringT&&>(part);
    }
}

template <class T, class Traits>
T* TStringT<T, Traits>::GetBuffer(int minLength)
{
    if (minLength < 0) return nullptr;
    TStringData* d = GetData();
    if (!IsEmptyBuffer() && d->nRefs <= 1 && d->nAllocLength >= minLength) return m_pszData;
    int len = d->nDataLength;
    int cap = len > minLength ? len : minLength;
    if (cap == 0) return m_pszData; // nothing may be written
    TStringData* fresh = TStringData::Allocate<T>(cap, nullptr);
    if (!fresh) return nullptr;
    T* chars = static_cast<T*>(fresh->data());
    memcpy(chars, m_pszData, (len + 1) * sizeof(T));
    fresh->nDataLength = len;
    if (d->nRefs < 0 && !IsEmptyBuffer()) fresh->nRefs = d->nRefs;
    ReleaseData();
    m_pszData = chars;
    return m_pszData;
}

template <class T, class Traits>
void TStringT<T, Traits>::ReleaseBuffer(int newLength)
{
    if (IsEmptyBuffer()) return;
    int cap = GetData()->nAllocLength;
    if (newLength < 0) {
        newLength = 0;
        while (newLength < cap && m_pszData[newLength]) ++newLength;
    }
    SetLength(newLength > cap ? cap : newLength);
}

template <class T, class Traits>
T* TStringT<T, Traits>::LockBuffer()
{
    if (IsEmptyBuffer()) return m_pszData;
    if (!CopyBeforeWrite()) return nullptr;
    GetData()->nRefs = -1;
    return m_pszData;
}

template <class T, class Traits>
void TStringT<T, Traits>::UnlockBuffer()
{
    if (!IsEmptyBuffer() && IsLocked()) GetData()->nRefs = 1;
}

typedef TStringT<wchar_t, wchar_traits> SStringW;
typedef TStringT<char, achar_traits> SStringA;

extern template class TStringT<wchar_t, wchar_traits>;
extern template class TStringT<char, achar_traits>;

} // namespace WUI
