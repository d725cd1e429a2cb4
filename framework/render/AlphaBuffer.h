#pragma once
// GDI writes 0 into the alpha byte of every 32-bit pixel it touches. These two
// helpers keep a target DIB's alpha intact around GDI drawing.
#include <windows.h>

namespace WUI {

// An off-screen 32-bit DIB with its own DC, kept between alpha buffers so
// that each draw does not make and free one. Grows as needed.
class AlphaScratch {
public:
    AlphaScratch() = default;
    ~AlphaScratch() { Free(); }
    AlphaScratch(const AlphaScratch&) = delete;
    AlphaScratch& operator=(const AlphaScratch&) = delete;
    // At least width x height pixels; false when the DIB or DC cannot be made
    // (the scratch is then empty).
    bool Ensure(HDC compatible, int width, int height);
    HDC DC() const { return m_dc; }
    DWORD* Bits() const { return m_bits; }
    int Stride() const { return m_w; }  // in pixels

private:
    void Free();
    HDC m_dc = nullptr;
    HBITMAP m_dib = nullptr;
    HGDIOBJ m_oldDib = nullptr;
    DWORD* m_bits = nullptr;
    int m_w = 0, m_h = 0;
};

// A buffer covering a rectangle of the target (clipped to the target's clip
// box). The caller draws on DC() with GDI; the destructor turns the drawn
// pixels opaque, drops the untouched ones and blends the result onto the
// target with the constant alpha. Nothing is drawn when Ok() is false (empty
// rectangle, fully clipped, or no memory).
class AlphaBuffer {
public:
    enum class Finish {
        DrawnPixels,  // GDI-drawn pixels (alpha 0) count, the rest is dropped
        AllPixels,    // every pixel counts (for GDI calls that write alpha themselves)
    };
    AlphaBuffer(AlphaScratch& scratch, HDC target, const RECT& rect, BYTE alpha, bool copyBackground,
                Finish finish = Finish::DrawnPixels);
    ~AlphaBuffer();
    AlphaBuffer(const AlphaBuffer&) = delete;
    AlphaBuffer& operator=(const AlphaBuffer&) = delete;
    bool Ok() const { return m_dc != nullptr; }
    HDC DC() const { return m_dc; }

private:
    template <class F>
    void ForEachPixel(F f);

    AlphaScratch& m_scratch;
    HDC m_target;
    RECT m_rect{};
    BYTE m_alpha;
    Finish m_finish;
    HDC m_dc = nullptr;
    HGDIOBJ m_takenPen = nullptr, m_takenBrush = nullptr, m_takenFont = nullptr;
};

// Saves the alpha bytes of a rectangle (logical units) of the DIB selected in
// dc and writes them back on destruction. Does nothing for a bitmap that is
// not 32 bits per pixel or a rectangle outside it.
class DibAlphaKeeper {
public:
    DibAlphaKeeper(HDC dc, const RECT& rect);
    ~DibAlphaKeeper();
    DibAlphaKeeper(const DibAlphaKeeper&) = delete;
    DibAlphaKeeper& operator=(const DibAlphaKeeper&) = delete;

private:
    BYTE* m_pixels = nullptr;  // first pixel of the saved rectangle
    LONG m_stride = 0;
    int m_w = 0, m_h = 0;
    BYTE* m_saved = nullptr;
    bool m_heap = false;
};

}  // namespace WUI
