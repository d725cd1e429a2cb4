#include "render/AlphaBuffer.h"

#include <algorithm>
#include <new>

#include "render/GdiHandles.h"

namespace WUI {

bool AlphaScratch::Ensure(HDC compatible, int width, int height) {
    if (m_dc && width <= m_w && height <= m_h) return true;
    int w = std::max(width, m_w), h = std::max(height, m_h);
    Free();
    void* bits = nullptr;
    m_dib = CreateDib32(w, h, &bits);
    m_dc = m_dib ? CreateCompatibleDC(compatible) : nullptr;
    if (!m_dc) {
        Free();
        return false;
    }
    m_bits = static_cast<DWORD*>(bits);
    m_w = w;
    m_h = h;
    m_oldDib = ::SelectObject(m_dc, m_dib);
    SetBkMode(m_dc, TRANSPARENT);
    return true;
}

void AlphaScratch::Free() {
    if (m_dc) {
        ::SelectObject(m_dc, m_oldDib);
        DeleteDC(m_dc);
    }
    if (m_dib) DeleteObject(m_dib);
    m_dc = nullptr;
    m_dib = nullptr;
    m_oldDib = nullptr;
    m_bits = nullptr;
    m_w = m_h = 0;
}

template <class F>
void AlphaBuffer::ForEachPixel(F f) {
    int w = m_rect.right - m_rect.left, h = m_rect.bottom - m_rect.top;
    for (int y = 0; y < h; ++y) {
        DWORD* row = m_scratch.Bits() + size_t(y) * m_scratch.Stride();
        for (int x = 0; x < w; ++x) f(row[x]);
    }
}

AlphaBuffer::AlphaBuffer(AlphaScratch& scratch, HDC target, const RECT& rect, BYTE alpha, bool copyBackground, Finish finish)
    : m_scratch(scratch), m_target(target), m_alpha(alpha), m_finish(finish) {
    RECT clip{};
    int kind = ::GetClipBox(target, &clip);
    if (kind == NULLREGION || kind == ERROR) return;
    if (!IntersectRect(&m_rect, &rect, &clip)) return;
    int w = m_rect.right - m_rect.left, h = m_rect.bottom - m_rect.top;
    if (!scratch.Ensure(target, w, h)) return;
    m_dc = scratch.DC();
    SetViewportOrgEx(m_dc, -m_rect.left, -m_rect.top, nullptr);
    // Pattern brushes keep to the target's pixel grid, not to the buffer's corner.
    POINT org{}, brushOrg{};
    GetViewportOrgEx(target, &org);
    GetBrushOrgEx(target, &brushOrg);
    SetBrushOrgEx(m_dc, brushOrg.x - (m_rect.left + org.x), brushOrg.y - (m_rect.top + org.y), nullptr);
    m_takenPen = ::SelectObject(target, GetStockObject(BLACK_PEN));
    m_takenBrush = ::SelectObject(target, GetStockObject(BLACK_BRUSH));
    m_takenFont = ::SelectObject(target, GetStockObject(DEFAULT_GUI_FONT));
    ::SelectObject(m_dc, m_takenPen);
    ::SelectObject(m_dc, m_takenBrush);
    ::SelectObject(m_dc, m_takenFont);
    ::SetTextColor(m_dc, ::GetTextColor(target));
    if (copyBackground) ::BitBlt(m_dc, m_rect.left, m_rect.top, w, h, target, m_rect.left, m_rect.top, SRCCOPY);
    GdiFlush();
    ForEachPixel([](DWORD& p) { p |= 0xFF000000u; });
}

AlphaBuffer::~AlphaBuffer() {
    if (!m_dc) return;
    int w = m_rect.right - m_rect.left, h = m_rect.bottom - m_rect.top;
    GdiFlush();
    if (m_finish == Finish::DrawnPixels) ForEachPixel([](DWORD& p) { p = (p & 0xFF000000u) ? 0 : (p | 0xFF000000u); });
    else ForEachPixel([](DWORD& p) { p |= 0xFF000000u; });
    SetViewportOrgEx(m_dc, 0, 0, nullptr);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, m_alpha, AC_SRC_ALPHA};
    ::GdiAlphaBlend(m_target, m_rect.left, m_rect.top, w, h, m_dc, 0, 0, w, h, bf);
    ::SelectObject(m_dc, GetStockObject(BLACK_PEN));
    ::SelectObject(m_dc, GetStockObject(BLACK_BRUSH));
    ::SelectObject(m_dc, GetStockObject(DEFAULT_GUI_FONT));
    ::SelectObject(m_target, m_takenPen);
    ::SelectObject(m_target, m_takenBrush);
    ::SelectObject(m_target, m_takenFont);
}

namespace {
// Shared by all keepers on the UI thread; larger rectangles use the heap.
BYTE g_alphaStore[65536];
}  // namespace

DibAlphaKeeper::DibAlphaKeeper(HDC dc, const RECT& rect) {
    HGDIOBJ bmp = ::GetCurrentObject(dc, OBJ_BITMAP);
    DIBSECTION ds{};
    if (!bmp || ::GetObjectW(bmp, sizeof(ds), &ds) != sizeof(ds) || ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits) return;
    POINT org{};
    GetViewportOrgEx(dc, &org);
    RECT rc = rect;
    rc.right += 1;
    rc.bottom += 1;
    OffsetRect(&rc, org.x, org.y);
    RECT bounds{0, 0, ds.dsBm.bmWidth, std::abs(ds.dsBm.bmHeight)};
    if (!IntersectRect(&rc, &rc, &bounds)) return;
    m_w = rc.right - rc.left;
    m_h = rc.bottom - rc.top;
    m_stride = ds.dsBm.bmWidthBytes;
    m_pixels = static_cast<BYTE*>(ds.dsBm.bmBits) + ptrdiff_t(rc.top) * m_stride + rc.left * 4;
    size_t n = size_t(m_w) * m_h;
    if (n <= sizeof(g_alphaStore)) {
        m_saved = g_alphaStore;
    } else {
        m_saved = new (std::nothrow) BYTE[n];
        m_heap = true;
        if (!m_saved) {
            m_pixels = nullptr;
            return;
        }
    }
    GdiFlush();
    BYTE* out = m_saved;
    for (int y = 0; y < m_h; ++y) {
        const BYTE* row = m_pixels + ptrdiff_t(y) * m_stride + 3;
        for (int x = 0; x < m_w; ++x) *out++ = row[x * 4];
    }
}

DibAlphaKeeper::~DibAlphaKeeper() {
    if (!m_pixels) return;
    GdiFlush();
    const BYTE* in = m_saved;
    for (int y = 0; y < m_h; ++y) {
        BYTE* row = m_pixels + ptrdiff_t(y) * m_stride + 3;
        for (int x = 0; x < m_w; ++x) row[x * 4] = *in++;
    }
    if (m_heap) delete[] m_saved;
}

}  // namespace WUI
