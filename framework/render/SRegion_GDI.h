#pragma once
// Render region over a GDI region.
#include "render/GdiHandles.h"
#include "render/GdiRenderObjImpl.h"

namespace WUI {

class SRegion_GDI : public TGdiRenderObjImpl<IRegion> {
public:
    explicit SRegion_GDI(IRenderFactory* factory);
    int ObjectType() const override { return OT_REGION; }
    // RGN_DIFF removes the other from this region; other modes combine
    // (RGN_COPY replaces this region with the other).
    void CombineRect(const RECT* rect, int mode) override;
    void CombineRegion(const IRegion* region, int mode) override;
    BOOL PtInRegion(POINT pt) const override;
    BOOL RectInRegion(const RECT* rect) const override;
    void GetRgnBox(RECT* rect) const override;
    BOOL IsEmpty() const override;
    void Offset(POINT pt) override;
    void Clear() override;
    void CopyFromHandle(HRGN rgn) override;
    HRGN GetRegion() const { return m_rgn.Get(); }

private:
    void Combine(HRGN other, int mode);
    GdiObject<HRGN> m_rgn;
};

}  // namespace WUI
