#pragma once
// GDI font, brush and pen.
#include "render/GdiHandles.h"
#include "render/GdiRenderObjImpl.h"

namespace WUI {

class SFont_GDI : public TGdiRenderObjImpl<IFont> {
public:
    SFont_GDI(IRenderFactory* factory, const LOGFONTW& lf);
    int ObjectType() const override { return OT_FONT; }
    const LOGFONTW* LogFont() const override { return &m_lf; }
    LPCWSTR FamilyName() const override { return m_lf.lfFaceName; }
    int TextSize() const override { return m_lf.lfHeight; }
    BOOL IsBold() const override { return m_lf.lfWeight == FW_BOLD; }
    BOOL IsUnderline() const override { return m_lf.lfUnderline; }
    BOOL IsItalic() const override { return m_lf.lfItalic; }
    BOOL IsStrikeOut() const override { return m_lf.lfStrikeOut; }
    HFONT GetFont() const { return m_font.Get(); }

private:
    LOGFONTW m_lf;
    GdiObject<HFONT> m_font;
};

class SBrush_GDI : public TGdiRenderObjImpl<IBrush> {
public:
    // Solid brush; its colour's alpha is what fills with it use.
    SBrush_GDI(IRenderFactory* factory, COLORREF cr);
    // Pattern brush over a DIB; fills with it are opaque.
    SBrush_GDI(IRenderFactory* factory, HBITMAP pattern);
    int ObjectType() const override { return OT_BRUSH; }
    HBRUSH GetBrush() const { return m_brush.Get(); }
    bool IsBitmap() const { return m_isBitmap; }
    COLORREF GetColor() const { return m_color; }
    BYTE FillAlpha() const { return m_isBitmap ? 255 : BYTE(m_color >> 24); }

private:
    GdiObject<HBRUSH> m_brush;
    bool m_isBitmap;
    COLORREF m_color;
};

class SPen_GDI : public TGdiRenderObjImpl<IPen> {
public:
    SPen_GDI(IRenderFactory* factory, int style, COLORREF cr, int width);
    int ObjectType() const override { return OT_PEN; }
    HPEN GetPen() const { return m_pen.Get(); }
    int GetStyle() const { return m_style; }
    int GetWidth() const { return m_width; }
    COLORREF GetColor() const { return m_color; }

private:
    int m_style, m_width;
    COLORREF m_color;
    GdiObject<HPEN> m_pen;
};

}  // namespace WUI
