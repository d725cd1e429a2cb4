#pragma once
// The drawing objects of a render back end: bitmap, font, brush, pen, region.
#include "core/IObjRef.h"
#include "core/SAutoRefPtr.h"

namespace WUI {

struct IRenderFactory;
struct IImgFrame;

enum { OT_PEN = 1, OT_BRUSH = 2, OT_BITMAP = 3, OT_FONT = 4, OT_REGION = 5 };

struct IPropSupport {
    virtual HRESULT SetProps(LPCWSTR props) = 0;
    virtual LPCWSTR GetProps() = 0;
    virtual ~IPropSupport() = default;
};

struct IRenderObj : IObjRef, IPropSupport {
    virtual int ObjectType() const = 0;
    virtual IRenderFactory* GetRenderFactory() const = 0;
};

struct IBitmap : IRenderObj {
    virtual HRESULT InitFromFrame(IImgFrame* frame) = 0;
    // Pixels copied from bits, or zeroed when bits is null. E_INVALIDARG for a
    // size that is not positive or too large, E_OUTOFMEMORY when the DIB
    // cannot be made; the bitmap is then empty.
    virtual HRESULT Init(int width, int height, const void* bits) = 0;
    // 1 when the file decodes to no frame (bitmap unchanged); E_FAIL without
    // an image-decoder factory.
    virtual HRESULT LoadFromFile(LPCWSTR path) = 0;
    virtual HRESULT LoadFromMemory(const void* data, size_t size) = 0;
    virtual UINT Width() const = 0;
    virtual UINT Height() const = 0;
    virtual SIZE Size() const = 0;
    virtual LPVOID LockPixelBits() = 0;
    virtual void UnlockPixelBits(LPVOID bits) = 0;
    virtual const void* GetPixelBits() const = 0;
    virtual HRESULT Clone(IBitmap** out) const = 0;
    virtual HRESULT Save(LPCWSTR path, const GUID* format) = 0;
};

struct IFont : IRenderObj {
    virtual const LOGFONTW* LogFont() const = 0;
    virtual LPCWSTR FamilyName() const = 0;
    virtual int TextSize() const = 0;
    virtual BOOL IsBold() const = 0;
    virtual BOOL IsUnderline() const = 0;
    virtual BOOL IsItalic() const = 0;
    virtual BOOL IsStrikeOut() const = 0;
};

struct IBrush : IRenderObj {};

struct IPen : IRenderObj {};

struct IRegion : IRenderObj {
    virtual void CombineRect(const RECT* rect, int mode) = 0;
    virtual void CombineRegion(const IRegion* region, int mode) = 0;
    virtual BOOL PtInRegion(POINT pt) const = 0;
    virtual BOOL RectInRegion(const RECT* rect) const = 0;
    virtual void GetRgnBox(RECT* rect) const = 0;
    virtual BOOL IsEmpty() const = 0;
    virtual void Offset(POINT pt) = 0;
    virtual void Clear() = 0;
    virtual void CopyFromHandle(HRGN rgn) = 0;
};

}  // namespace WUI
