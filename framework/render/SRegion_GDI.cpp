#include "render/SRegion_GDI.h"

namespace WUI {

SRegion_GDI::SRegion_GDI(IRenderFactory* factory) : TGdiRenderObjImpl(factory), m_rgn(CreateRectRgn(0, 0, 0, 0)) {}

void SRegion_GDI::Combine(HRGN other, int mode) {
    if (!other) return;
    CombineRgn(m_rgn.Get(), m_rgn.Get(), other, mode);
}

void SRegion_GDI::CombineRect(const RECT* rect, int mode) {
    if (!rect) return;
    GdiObject<HRGN> tmp(CreateRectRgnIndirect(rect));
    if (mode == RGN_COPY) CombineRgn(m_rgn.Get(), tmp.Get(), nullptr, RGN_COPY);
    else Combine(tmp.Get(), mode);
}

void SRegion_GDI::CombineRegion(const IRegion* region, int mode) {
    if (!region) return;
    HRGN other = static_cast<const SRegion_GDI*>(region)->GetRegion();
    if (mode == RGN_COPY) CombineRgn(m_rgn.Get(), other, nullptr, RGN_COPY);
    else Combine(other, mode);
}

BOOL SRegion_GDI::PtInRegion(POINT pt) const { return ::PtInRegion(m_rgn.Get(), pt.x, pt.y); }

BOOL SRegion_GDI::RectInRegion(const RECT* rect) const { return rect && ::RectInRegion(m_rgn.Get(), rect); }

void SRegion_GDI::GetRgnBox(RECT* rect) const {
    if (rect) ::GetRgnBox(m_rgn.Get(), rect);
}

BOOL SRegion_GDI::IsEmpty() const {
    RECT rc{};
    ::GetRgnBox(m_rgn.Get(), &rc);
    return rc.left == rc.right || rc.top == rc.bottom;
}

void SRegion_GDI::Offset(POINT pt) { OffsetRgn(m_rgn.Get(), pt.x, pt.y); }

void SRegion_GDI::Clear() { SetRectRgn(m_rgn.Get(), 0, 0, 0, 0); }

void SRegion_GDI::CopyFromHandle(HRGN rgn) {
    if (rgn) CombineRgn(m_rgn.Get(), rgn, nullptr, RGN_COPY);
}

}  // namespace WUI
