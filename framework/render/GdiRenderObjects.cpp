#include "render/GdiRenderObjects.h"

namespace WUI {

SFont_GDI::SFont_GDI(IRenderFactory* factory, const LOGFONTW& lf)
    : TGdiRenderObjImpl(factory), m_lf(lf), m_font(CreateFontIndirectW(&m_lf)) {}

SBrush_GDI::SBrush_GDI(IRenderFactory* factory, COLORREF cr)
    : TGdiRenderObjImpl(factory), m_brush(CreateSolidBrush(cr & 0xFFFFFF)), m_isBitmap(false), m_color(cr) {}

SBrush_GDI::SBrush_GDI(IRenderFactory* factory, HBITMAP pattern)
    : TGdiRenderObjImpl(factory), m_brush(CreatePatternBrush(pattern)), m_isBitmap(true), m_color(0xFF000000) {}

SPen_GDI::SPen_GDI(IRenderFactory* factory, int style, COLORREF cr, int width)
    : TGdiRenderObjImpl(factory), m_style(style), m_width(width), m_color(cr),
      m_pen(::CreatePen(style, width, cr & 0xFFFFFF)) {}

}  // namespace WUI
