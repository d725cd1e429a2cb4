#pragma once
// Render bitmap: a top-down 32-bit DIB section with premultiplied alpha.
#include "render/GdiHandles.h"
#include "render/GdiRenderObjImpl.h"

namespace WUI {

class SBitmap_GDI : public TGdiRenderObjImpl<IBitmap> {
public:
    explicit SBitmap_GDI(IRenderFactory* factory) : TGdiRenderObjImpl(factory) {}
    int ObjectType() const override { return OT_BITMAP; }
    HRESULT InitFromFrame(IImgFrame* frame) override;
    HRESULT Init(int width, int height, const void* bits) override;
    HRESULT LoadFromFile(LPCWSTR path) override;
    HRESULT LoadFromMemory(const void* data, size_t size) override;
    UINT Width() const override { return m_width; }
    UINT Height() const override { return m_height; }
    SIZE Size() const override { return SIZE{LONG(m_width), LONG(m_height)}; }
    LPVOID LockPixelBits() override { return m_bits; }
    void UnlockPixelBits(LPVOID) override {}
    const void* GetPixelBits() const override { return m_bits; }
    HRESULT Clone(IBitmap** out) const override;
    HRESULT Save(LPCWSTR path, const GUID* format) override;
    HBITMAP GetBitmap() const { return m_dib.Get(); }

private:
    // Drops the old DIB and makes an empty one; E_INVALIDARG / E_OUTOFMEMORY.
    HRESULT MakeDib(int width, int height);
    template <class Load>
    HRESULT LoadWith(Load load);

    GdiObject<HBITMAP> m_dib;
    void* m_bits = nullptr;
    UINT m_width = 0, m_height = 0;
};

}  // namespace WUI
