// A memory device context that gives back what it changed: the object
// selected first is selected again and an owned bitmap is deleted.
#pragma once

#include <windows.h>

namespace WUI {

class MemDC {
public:
    // Compatible with dc, with the bitmap (not owned) selected when given.
    MemDC(HDC dc, HBITMAP bitmap);
    // Compatible with dc, over a new bitmap of the rectangle's size (owned);
    // drawing uses the rectangle's coordinates. Invalid when either cannot be made.
    MemDC(HDC dc, const RECT& rect);
    ~MemDC() { Destroy(); }
    MemDC(const MemDC&) = delete;
    MemDC& operator=(const MemDC&) = delete;

    // A bitmap (not owned) is selected with the viewport at (0, 0) and the
    // object it replaced returned; null puts back the object selected before
    // and returns the one taken out (null when nothing was selected). An
    // owned bitmap returned stays this object's.
    HGDIOBJ SelectBitmap(HBITMAP bitmap);
    // Restores the first object, deletes the owned bitmap and the DC.
    void Destroy();

    HDC GetDC() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    bool IsValid() const { return m_bValid; }

private:
    HDC m_hDC = nullptr;
    HGDIOBJ m_hOldObj = nullptr;  // what the DC held before our first selection
    HBITMAP m_ownedBitmap = nullptr;
    bool m_bValid = false;
};

}  // namespace WUI
