#include "render/GdiRenderObjects.h"

namespace WUI {

namespace {

// GDI copies a pattern's pixels, alpha byte and all, and fills through the
// alpha buffer count only pixels whose alpha GDI zeroed as drawn: the brush
// paints from a copy whose alpha is 0. Null when the bitmap cannot be read.
HBRUSH CreatePatternBrushWithoutAlpha(HBITMAP pattern) {
    BITMAP bm{};
    if (!pattern || !::GetObjectW(pattern, sizeof(bm), &bm)) return nullptr;
    void* bits = nullptr;
    GdiObject<HBITMAP> copy(CreateDib32(bm.bmWidth, bm.bmHeight, &bits));
    if (!copy) return nullptr;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = ::GetDC(nullptr);
    int rows = ::GetDIBits(screen, pattern, 0, UINT(bm.bmHeight), bits, &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != bm.bmHeight) return nullptr;
    DWORD* px = static_cast<DWORD*>(bits);
    for (size_t i = 0, n = size_t(bm.bmWidth) * bm.bmHeight; i < n; ++i) px[i] &= 0x00FFFFFFu;
    return CreatePatternBrush(copy.Get());
}

}  // namespace

SFont_GDI::SFont_GDI(IRenderFactory* factory, const LOGFONTW& lf)
    : TGdiRenderObjImpl(factory), m_lf(lf), m_font(CreateFontIndirectW(&m_lf)) {}

SBrush_GDI::SBrush_GDI(IRenderFactory* factory, COLORREF cr)
    : TGdiRenderObjImpl(factory), m_brush(CreateSolidBrush(cr & 0xFFFFFF)), m_isBitmap(false), m_color(cr) {}

SBrush_GDI::SBrush_GDI(IRenderFactory* factory, HBITMAP pattern)
    : TGdiRenderObjImpl(factory), m_brush(CreatePatternBrushWithoutAlpha(pattern)), m_isBitmap(true), m_color(0xFF000000) {}

SPen_GDI::SPen_GDI(IRenderFactory* factory, int style, COLORREF cr, int width)
    : TGdiRenderObjImpl(factory), m_style(style), m_width(width), m_color(cr),
      m_pen(::CreatePen(style, width, cr & 0xFFFFFF)) {}

}  // namespace WUI
