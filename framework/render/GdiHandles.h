#pragma once
// Single owners for GDI handles.
#include <windows.h>

namespace WUI {

template <class H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : m_h(h) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    void Reset(H h = nullptr) {
        if (m_h) DeleteObject(m_h);
        m_h = h;
    }
    H Get() const { return m_h; }
    // Hands the handle over to the caller, who then deletes it.
    H Release() {
        H h = m_h;
        m_h = nullptr;
        return h;
    }
    explicit operator bool() const { return m_h != nullptr; }

private:
    H m_h = nullptr;
};

class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : m_dc(CreateCompatibleDC(compatible)) {}
    ~MemoryDC() { if (m_dc) DeleteDC(m_dc); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// Selects an object into a DC for the length of a scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~SelectedObject() { if (m_old) ::SelectObject(m_dc, m_old); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A top-down 32-bit DIB section; bits point at its pixels. Null for a size
// that is not positive or too large.
HBITMAP CreateDib32(int width, int height, void** bits);

}  // namespace WUI
