#pragma once
// Render bitmap: a top-down 32-bit DIB section with premultiplied alpha.
#include "render/ComposedPatchCache.h"
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
    // Whoever locks the pixels may change them: composed draws are dropped
    // on lock and again on unlock.
    LPVOID LockPixelBits() override {
        m_patches.Clear();
        return m_bits;
    }
    void UnlockPixelBits(LPVOID) override { m_patches.Clear(); }
    const void* GetPixelBits() const override { return m_bits; }
    HRESULT Clone(IBitmap** out) const override;
    HRESULT Save(LPCWSTR path, const GUID* format) override;
    HBITMAP GetBitmap() const { return m_dib.Get(); }
    // A render target draws into this bitmap from now on, behind its back:
    // no composed draws are kept for it any more.
    void MarkSurface() {
        m_surface = true;
        m_patches.Clear();
    }
    // Composed nine-patch draws of this bitmap; null for a render target's surface.
    ComposedPatchCache* PatchCache() { return m_surface ? nullptr : &m_patches; }

private:
    // Drops the old DIB and makes an empty one; E_INVALIDARG / E_OUTOFMEMORY.
    HRESULT MakeDib(int width, int height);
    template <class Load>
    HRESULT LoadWith(Load load);

    GdiObject<HBITMAP> m_dib;
    void* m_bits = nullptr;
    UINT m_width = 0, m_height = 0;
    bool m_surface = false;
    ComposedPatchCache m_patches;
};

}  // namespace WUI
