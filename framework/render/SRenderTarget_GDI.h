#pragma once
// Render target over a top-down 32-bit DIB selected into a memory DC. Every
// GDI primitive goes through an alpha buffer or keeps the alpha bytes it
// touches, so the DIB's per-pixel alpha survives.
#include "render/AlphaBuffer.h"
#include "render/GdiRenderObjImpl.h"
#include "render/GdiRenderObjects.h"
#include "render/SBitmap_GDI.h"

namespace WUI {

class SRenderTarget_GDI : public TObjRefImpl<IRenderTarget> {
public:
    // Null when the DC or a default object cannot be made.
    static SRenderTarget_GDI* Create(IRenderFactory* factory, int width, int height);
    ~SRenderTarget_GDI() override;

    HRESULT SetProps(LPCWSTR) override { return S_OK; }
    LPCWSTR GetProps() override { return L""; }
    IRenderFactory* GetRenderFactory() const override { return m_factory; }

    HRESULT CreateCompatibleRenderTarget(SIZE size, IRenderTarget** out) override;
    HRESULT CreatePen(int style, COLORREF cr, int width, IPen** out) override;
    HRESULT CreateSolidColorBrush(COLORREF cr, IBrush** out) override;
    HRESULT CreateBitmapBrush(IBitmap* bitmap, IBrush** out) override;
    // New zeroed pixels of that size; on failure (a size not positive or too
    // large) the error, and the target has no pixels until a Resize succeeds.
    HRESULT Resize(SIZE size) override;

    HRESULT OffsetViewportOrg(int dx, int dy, POINT* oldOut) override;
    HRESULT GetViewportOrg(POINT* out) override;
    HRESULT SetViewportOrg(POINT pt) override;

    HRESULT PushClipRect(const RECT* rect, UINT mode) override;
    HRESULT PushClipRegion(IRegion* region, UINT mode) override;
    HRESULT PopClip() override;
    HRESULT ExcludeClipRect(const RECT* rect) override;
    HRESULT IntersectClipRect(const RECT* rect) override;
    HRESULT SaveClip(int* stateOut) override;
    HRESULT RestoreClip(int state) override;
    HRESULT GetClipRegion(IRegion** out) override;
    HRESULT GetClipBox(RECT* rect) override;

    HRESULT DrawText(LPCWSTR text, int length, RECT* rect, UINT format) override;
    HRESULT MeasureText(LPCWSTR text, int length, SIZE* size) override;
    HRESULT TextOut(int x, int y, LPCWSTR text, int length) override;

    HRESULT DrawRectangle(const RECT* rect) override;
    HRESULT FillRectangle(const RECT* rect) override;
    HRESULT FillSolidRect(const RECT* rect, COLORREF cr) override;
    HRESULT DrawRoundRect(const RECT* rect, POINT corner) override;
    HRESULT FillRoundRect(const RECT* rect, POINT ellipse) override;
    HRESULT FillSolidRoundRect(const RECT* rect, POINT ellipse, COLORREF cr) override;
    HRESULT ClearRect(const RECT* rect, COLORREF cr) override;
    HRESULT InvertRect(const RECT* rect) override;
    HRESULT DrawEllipse(const RECT* rect) override;
    HRESULT FillEllipse(const RECT* rect) override;
    HRESULT FillSolidEllipse(const RECT* rect, COLORREF cr) override;
    HRESULT DrawArc(const RECT* rect, float startAngle, float sweepAngle, BOOL useCenter) override;
    HRESULT FillArc(const RECT* rect, float startAngle, float sweepAngle) override;
    HRESULT DrawLines(const POINT* points, size_t count) override;
    HRESULT GradientFill(const RECT* rect, BOOL vertical, COLORREF cr1, COLORREF cr2, BYTE alpha) override;
    HRESULT GradientFillEx(const RECT*, const POINT*, COLORREF*, float*, int, BYTE) override { return E_NOTIMPL; }
    HRESULT DrawIconEx(int x, int y, HICON icon, int cx, int cy, UINT flags) override;

    HRESULT DrawBitmap(const RECT* dest, IBitmap* bitmap, int xSrc, int ySrc, BYTE alpha) override;
    HRESULT DrawBitmapEx(const RECT* dest, IBitmap* bitmap, const RECT* src, UINT expandMode, BYTE alpha) override;
    HRESULT DrawBitmap9Patch(const RECT* dest, IBitmap* bitmap, const RECT* src, const RECT* margins, UINT expandMode, BYTE alpha) override;
    HRESULT BitBlt(const RECT* dest, IRenderTarget* src, int xSrc, int ySrc, DWORD rop) override;
    HRESULT AlphaBlend(const RECT* dest, IRenderTarget* src, const RECT* srcRect, BYTE alpha) override;

    IRenderObj* GetCurrentObject(int type) override;
    HRESULT SelectDefaultObject(int type, IRenderObj** oldOut) override;
    HRESULT SelectObject(IRenderObj* obj, IRenderObj** oldOut) override;
    COLORREF GetTextColor() override { return m_textColor; }
    COLORREF SetTextColor(COLORREF cr) override;

    HDC GetDC(UINT flags) override;
    void ReleaseDC(HDC dc) override;
    HRESULT SetTransform(const XFORM* xform, XFORM* oldOut) override;
    HRESULT GetTransform(XFORM* out) const override;
    COLORREF GetPixel(int x, int y) override;
    COLORREF SetPixel(int x, int y, COLORREF cr) override;

    // Off: every draw takes the general GDI path (nine-patches cell by cell,
    // nothing composed or written straight into the pixels); both ways draw
    // the same pixels.
    void UseFastPaths(bool on) { m_useFast = on; }

private:
    explicit SRenderTarget_GDI(IRenderFactory* factory);
    bool Init(int width, int height);
    SPen_GDI* Pen() const { return static_cast<SPen_GDI*>(m_curPen.get()); }
    SBrush_GDI* Brush() const { return static_cast<SBrush_GDI*>(m_curBrush.get()); }
    BYTE PenAlpha() const { return Pen() ? BYTE(Pen()->GetColor() >> 24) : 255; }
    BYTE BrushAlpha() const { return Brush() ? Brush()->FillAlpha() : 255; }
    // Address of the DIB pixel at logical (x, y), or null outside the bitmap.
    DWORD* PixelAt(int x, int y);
    // The nine-patch draw of key made once into a new entry of cache; null
    // when a cell cannot be drawn.
    const ComposedPatch* Compose(SBitmap_GDI* bmp, const PatchKey& key, ComposedPatchCache* cache);
    HRESULT BlitComposed(const ComposedPatch& made, const RECT& dest, BYTE alpha);
    // The clip box in logical units and the DC's origin, read from the DC
    // only after either may have changed; false when the clip is not one rectangle.
    bool SimpleClip(RECT* box);
    void ForgetClip() { m_clipKnown = false; }
    // Writes the surface's pixels of dest within clip (logical units) row by
    // row: row(pixels, from, count) with from walking a source of fromStride
    // pixels a row laid over dest (null without one). False when the surface
    // has no pixels (nothing written).
    template <class Row>
    bool FillPixels(const RECT& dest, const RECT& clip, Row row, const DWORD* from, int fromStride);

    IRenderFactory* m_factory;
    // Selects the current bitmap's DIB, or the DC's own bitmap when it has none.
    void SelectSurface();

    HDC m_dc = nullptr;
    HGDIOBJ m_dcBitmap = nullptr;  // the DC's own: selected whenever no DIB is
    HDC m_srcDC = nullptr;  // source bitmaps are selected here for one draw each
    COLORREF m_textColor = 0xFF000000;
    SAutoRefPtr<IBitmap> m_curBmp, m_defBmp;
    SAutoRefPtr<IPen> m_curPen, m_defPen;
    SAutoRefPtr<IBrush> m_curBrush, m_defBrush;
    SAutoRefPtr<IFont> m_curFont, m_defFont;
    POINT m_org{0, 0};
    UINT m_dcFlags = 0;
    bool m_identity = true;  // no world transform: composed draws equal cell-by-cell ones
    bool m_useFast = true;
    bool m_dcLent = false;  // GetDC handed the DC out and it has not come back
    bool m_clipKnown = false, m_clipSimple = false;
    RECT m_clipBox{};
    POINT m_clipOrg{0, 0};
    AlphaScratch m_scratch;  // reused by every alpha-buffered draw
};

}  // namespace WUI
