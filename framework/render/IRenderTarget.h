#pragma once
// The abstract drawing surface every element paints through, and its factory.
#include "render/IRenderObj.h"

namespace WUI {

struct IImgDecoderFactory;
struct IRenderTarget;

struct IRenderFactory : IObjRef {
    // The held decoder factory, or null.
    virtual IImgDecoderFactory* GetImgDecoderFactory() = 0;
    virtual void SetImgDecoderFactory(IImgDecoderFactory* factory) = 0;
    // Each returns 1; out is null when the object could not be made.
    virtual BOOL CreateRenderTarget(IRenderTarget** out, int width, int height) = 0;
    virtual BOOL CreateFont(IFont** out, const LOGFONTW& lf, LPCWSTR props) = 0;
    virtual BOOL CreateBitmap(IBitmap** out) = 0;
    virtual BOOL CreateRegion(IRegion** out) = 0;
    virtual ~IRenderFactory() = default;
};

BOOL CreateRenderFactory_GDI(IRenderFactory** out);

struct IRenderTarget : IObjRef, IPropSupport {
    virtual HRESULT CreateCompatibleRenderTarget(SIZE size, IRenderTarget** out) = 0;
    virtual HRESULT CreatePen(int style, COLORREF cr, int width, IPen** out) = 0;
    virtual HRESULT CreateSolidColorBrush(COLORREF cr, IBrush** out) = 0;
    virtual HRESULT CreateBitmapBrush(IBitmap* bitmap, IBrush** out) = 0;
    virtual HRESULT Resize(SIZE size) = 0;

    virtual HRESULT OffsetViewportOrg(int dx, int dy, POINT* oldOut) = 0;
    virtual HRESULT GetViewportOrg(POINT* out) = 0;
    virtual HRESULT SetViewportOrg(POINT pt) = 0;

    virtual HRESULT PushClipRect(const RECT* rect, UINT mode) = 0;
    virtual HRESULT PushClipRegion(IRegion* region, UINT mode) = 0;
    virtual HRESULT PopClip() = 0;
    virtual HRESULT ExcludeClipRect(const RECT* rect) = 0;
    virtual HRESULT IntersectClipRect(const RECT* rect) = 0;
    virtual HRESULT SaveClip(int* stateOut) = 0;
    virtual HRESULT RestoreClip(int state) = 0;
    virtual HRESULT GetClipRegion(IRegion** out) = 0;
    virtual HRESULT GetClipBox(RECT* rect) = 0;

    // DrawTextW's formats, except that the text is never written to
    // (DT_MODIFYSTRING is ignored).
    virtual HRESULT DrawText(LPCWSTR text, int length, RECT* rect, UINT format) = 0;
    virtual HRESULT MeasureText(LPCWSTR text, int length, SIZE* size) = 0;
    virtual HRESULT TextOut(int x, int y, LPCWSTR text, int length) = 0;

    virtual HRESULT DrawRectangle(const RECT* rect) = 0;
    virtual HRESULT FillRectangle(const RECT* rect) = 0;
    virtual HRESULT FillSolidRect(const RECT* rect, COLORREF cr) = 0;
    virtual HRESULT DrawRoundRect(const RECT* rect, POINT corner) = 0;
    virtual HRESULT FillRoundRect(const RECT* rect, POINT ellipse) = 0;
    virtual HRESULT FillSolidRoundRect(const RECT* rect, POINT ellipse, COLORREF cr) = 0;
    virtual HRESULT ClearRect(const RECT* rect, COLORREF cr) = 0;
    virtual HRESULT InvertRect(const RECT* rect) = 0;
    virtual HRESULT DrawEllipse(const RECT* rect) = 0;
    virtual HRESULT FillEllipse(const RECT* rect) = 0;
    virtual HRESULT FillSolidEllipse(const RECT* rect, COLORREF cr) = 0;
    virtual HRESULT DrawArc(const RECT* rect, float startAngle, float sweepAngle, BOOL useCenter) = 0;
    virtual HRESULT FillArc(const RECT* rect, float startAngle, float sweepAngle) = 0;
    virtual HRESULT DrawLines(const POINT* points, size_t count) = 0;
    virtual HRESULT GradientFill(const RECT* rect, BOOL vertical, COLORREF cr1, COLORREF cr2, BYTE alpha) = 0;
    virtual HRESULT GradientFillEx(const RECT* rect, const POINT* points, COLORREF* colors, float* positions, int count, BYTE alpha) = 0;
    virtual HRESULT DrawIconEx(int x, int y, HICON icon, int cx, int cy, UINT flags) = 0;

    virtual HRESULT DrawBitmap(const RECT* dest, IBitmap* bitmap, int xSrc, int ySrc, BYTE alpha) = 0;
    virtual HRESULT DrawBitmapEx(const RECT* dest, IBitmap* bitmap, const RECT* src, UINT expandMode, BYTE alpha) = 0;
    virtual HRESULT DrawBitmap9Patch(const RECT* dest, IBitmap* bitmap, const RECT* src, const RECT* margins, UINT expandMode, BYTE alpha) = 0;
    virtual HRESULT BitBlt(const RECT* dest, IRenderTarget* src, int xSrc, int ySrc, DWORD rop) = 0;
    virtual HRESULT AlphaBlend(const RECT* dest, IRenderTarget* src, const RECT* srcRect, BYTE alpha) = 0;

    virtual IRenderObj* GetCurrentObject(int type) = 0;
    virtual HRESULT SelectDefaultObject(int type, IRenderObj** oldOut) = 0;
    virtual HRESULT SelectObject(IRenderObj* obj, IRenderObj** oldOut) = 0;
    virtual COLORREF GetTextColor() = 0;
    virtual COLORREF SetTextColor(COLORREF cr) = 0;

    virtual HDC GetDC(UINT flags) = 0;
    virtual void ReleaseDC(HDC dc) = 0;
    virtual HRESULT SetTransform(const XFORM* xform, XFORM* oldOut) = 0;
    virtual HRESULT GetTransform(XFORM* out) const = 0;
    // 0xFFFFFF outside the bitmap or without one.
    virtual COLORREF GetPixel(int x, int y) = 0;
    virtual COLORREF SetPixel(int x, int y, COLORREF cr) = 0;
    virtual ~IRenderTarget() = default;
    virtual IRenderFactory* GetRenderFactory() const = 0;
};

}  // namespace WUI
