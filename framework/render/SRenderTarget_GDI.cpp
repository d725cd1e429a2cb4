#include "render/SRenderTarget_GDI.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "render/AlphaBuffer.h"
#include "render/SRegion_GDI.h"

namespace WUI {
namespace {

bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool IsIdentity(const XFORM& x) { return x.eM11 == 1 && x.eM12 == 0 && x.eM21 == 0 && x.eM22 == 1 && x.eDx == 0 && x.eDy == 0; }

// One axis of a nine-patch: destination and source edges of three spans.
struct PatchAxis {
    int d[4];
    int s[4];
};

// False when the source margins do not fit. A destination narrower than both
// margins keeps the left (top) span, or the right (bottom) one, or drops the middle.
bool MakeAxis(int dLo, int dHi, int sLo, int sHi, int mLo, int mHi, PatchAxis* a) {
    a->s[0] = sLo;
    a->s[1] = sLo + mLo;
    a->s[2] = sHi - mHi;
    a->s[3] = sHi;
    if (a->s[1] < a->s[0] || a->s[2] < a->s[1] || a->s[3] < a->s[2]) return false;
    a->d[0] = dLo;
    a->d[1] = dLo + mLo;
    a->d[2] = dHi - mHi;
    a->d[3] = dHi;
    int w = dHi - dLo;
    if (w >= mLo + mHi) return true;
    if (mLo >= w) {
        // Only the first span, shown at its natural size.
        a->d[1] = a->d[2] = dHi;
        a->s[1] = a->s[2] = a->s[3] = sLo + std::max(w, 0);
    } else if (mHi >= w) {
        a->d[1] = a->d[2] = dLo;
        a->s[0] = a->s[1] = a->s[2] = sHi - w;
    } else {
        a->d[2] = a->d[1];
        a->s[2] = sHi - (w - mLo);
    }
    return true;
}

// The arc's end points: on the ellipse inscribed in rect, angles in degrees.
void ArcPoints(const RECT& rc, float start, float sweep, POINT* p1, POINT* p2) {
    const float toRad = 3.1415925f / 180.0f;
    int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
    int rx = cx - rc.left, ry = cy - rc.top;
    p1->x = cx + int(rx * std::cos(start * toRad));
    p1->y = cy + int(ry * std::sin(start * toRad));
    p2->x = cx + int(rx * std::cos((start + sweep) * toRad));
    p2->y = cy + int(ry * std::sin((start + sweep) * toRad));
}

// Angles grow downwards on the screen, and GDI draws arcs the other way
// unless told: the sweep's sign picks the direction for one call.
class ArcDirection {
public:
    ArcDirection(HDC dc, float sweep) : m_dc(dc), m_old(SetArcDirection(dc, sweep < 0 ? AD_COUNTERCLOCKWISE : AD_CLOCKWISE)) {}
    ~ArcDirection() {
        if (m_old) SetArcDirection(m_dc, m_old);
    }
    ArcDirection(const ArcDirection&) = delete;
    ArcDirection& operator=(const ArcDirection&) = delete;

private:
    HDC m_dc;
    int m_old;
};

// Whether an icon's colour image carries alpha of its own: 32 bits a pixel
// and at least one alpha byte set (Windows' rule for drawing it blended).
bool IconHasAlpha(HBITMAP color) {
    BITMAP bm{};
    if (!color || !::GetObjectW(color, sizeof(bm), &bm) || bm.bmBitsPixel != 32) return false;
    const size_t n = size_t(bm.bmWidth) * bm.bmHeight;
    std::unique_ptr<DWORD[]> px(new (std::nothrow) DWORD[n]);
    if (!px) return false;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = ::GetDC(nullptr);
    int rows = ::GetDIBits(screen, color, 0, UINT(bm.bmHeight), px.get(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return rows == bm.bmHeight && std::any_of(px.get(), px.get() + n, [](DWORD p) { return (p >> 24) != 0; });
}

// The width (or height) DrawIconEx gives an icon for the size asked: 0 means
// the system's icon size with DI_DEFAULTSIZE, else the icon's own, whose
// mask holds two images one above the other when it has no colour image.
int IconExtent(int asked, UINT flags, int metric, HBITMAP color, HBITMAP mask, bool vertical) {
    if (asked) return asked;
    if (flags & DI_DEFAULTSIZE) return ::GetSystemMetrics(metric);
    BITMAP bm{};
    if (!::GetObjectW(color ? color : mask, sizeof(bm), &bm)) return 0;
    if (!vertical) return bm.bmWidth;
    return color ? bm.bmHeight : bm.bmHeight / 2;
}

// One AlphaBlend from the bitmap selected in srcDC; the source rectangle must lie inside it.
HRESULT BlendFrom(HDC dst, HDC srcDC, const RECT& dest, const RECT& src, BYTE alpha) {
    BLENDFUNCTION bf{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    BOOL ok = ::GdiAlphaBlend(dst, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, srcDC, src.left, src.top,
                              src.right - src.left, src.bottom - src.top, bf);
    return ok ? S_OK : E_FAIL;
}

// The source cell repeated from dest's top left, skipping tiles outside dst's clip.
HRESULT TileFrom(HDC dst, HDC srcDC, const RECT& dest, const RECT& src, BYTE alpha) {
    int sw = src.right - src.left, sh = src.bottom - src.top;
    RECT clip{};
    ::GetClipBox(dst, &clip);
    int saved = SaveDC(dst);
    ::IntersectClipRect(dst, dest.left, dest.top, dest.right, dest.bottom);
    HRESULT hr = S_OK;
    for (int y = dest.top; y < dest.bottom && SUCCEEDED(hr); y += sh) {
        if (y + sh <= clip.top || y >= clip.bottom) continue;
        for (int x = dest.left; x < dest.right && SUCCEEDED(hr); x += sw) {
            if (x + sw <= clip.left || x >= clip.right) continue;
            hr = BlendFrom(dst, srcDC, RECT{x, y, x + sw, y + sh}, src, alpha);
        }
    }
    RestoreDC(dst, saved);
    return hr;
}

// One cell of bmp (selected in srcDC) into dest: at its own size (mode 0),
// stretched (1) or tiled. A cell outside the bitmap, or empty, draws nothing.
HRESULT DrawCell(HDC dst, HDC srcDC, SBitmap_GDI* bmp, const RECT& dest, const RECT& srcRect, UINT expandMode, BYTE alpha) {
    RECT bounds{0, 0, LONG(bmp->Width()), LONG(bmp->Height())};
    RECT src{};
    if (IsEmptyRect(dest) || !IntersectRect(&src, &srcRect, &bounds)) return S_OK;
    switch (expandMode & 0xFFFF) {
        case 0: {
            int w = std::min(dest.right - dest.left, src.right - src.left), h = std::min(dest.bottom - dest.top, src.bottom - src.top);
            return BlendFrom(dst, srcDC, RECT{dest.left, dest.top, dest.left + w, dest.top + h}, RECT{src.left, src.top, src.left + w, src.top + h},
                             alpha);
        }
        case 1: return BlendFrom(dst, srcDC, dest, src, alpha);
        default: return TileFrom(dst, srcDC, dest, src, alpha);
    }
}

// The nine cells the axes cut; corners at their own size, the rest by expandMode.
HRESULT DrawPatches(HDC dst, HDC srcDC, SBitmap_GDI* bmp, const PatchAxis& cols, const PatchAxis& rows, UINT expandMode, BYTE alpha) {
    HRESULT result = S_OK;
    for (int r = 0; r < 3; ++r) {
        if (rows.s[r + 1] == rows.s[r] || rows.d[r + 1] == rows.d[r]) continue;
        for (int c = 0; c < 3; ++c) {
            if (cols.s[c + 1] == cols.s[c] || cols.d[c + 1] == cols.d[c]) continue;
            bool corner = r != 1 && c != 1;
            RECT d{cols.d[c], rows.d[r], cols.d[c + 1], rows.d[r + 1]};
            RECT s{cols.s[c], rows.s[r], cols.s[c + 1], rows.s[r + 1]};
            HRESULT hr = DrawCell(dst, srcDC, bmp, d, s, corner ? 0 : expandMode, alpha);
            if (FAILED(hr)) result = hr;
        }
    }
    return result;
}

}  // namespace

SRenderTarget_GDI* SRenderTarget_GDI::Create(IRenderFactory* factory, int width, int height) {
    SRenderTarget_GDI* rt = new (std::nothrow) SRenderTarget_GDI(factory);
    if (rt && !rt->Init(width, height)) {
        rt->Release();
        rt = nullptr;
    }
    return rt;
}

SRenderTarget_GDI::SRenderTarget_GDI(IRenderFactory* factory) : m_factory(factory) {}

bool SRenderTarget_GDI::Init(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (!m_dc) return false;
    m_dcBitmap = ::GetCurrentObject(m_dc, OBJ_BITMAP);
    m_srcDC = CreateCompatibleDC(m_dc);
    if (!m_srcDC) return false;
    SetBkMode(m_dc, TRANSPARENT);
    SetGraphicsMode(m_dc, GM_ADVANCED);
    IPen* pen = nullptr;
    IBrush* brush = nullptr;
    IFont* font = nullptr;
    IBitmap* bmp = nullptr;
    CreatePen(PS_SOLID, 0xFF000000, 1, &pen);
    m_defPen.Attach(pen);
    CreateSolidColorBrush(0xFF000000, &brush);
    m_defBrush.Attach(brush);
    LOGFONTW lf{};
    lf.lfHeight = 20;
    wcscpy(lf.lfFaceName, L"\x5B8B\x4F53");
    m_factory->CreateFont(&font, lf, nullptr);
    m_defFont.Attach(font);
    m_factory->CreateBitmap(&bmp);
    m_defBmp.Attach(bmp);
    if (!m_defPen || !m_defBrush || !m_defFont || !m_defBmp) return false;
    m_defBmp->Init(width, height, nullptr);  // a 0x0 target simply has no pixels
    SelectObject(m_defPen.get(), nullptr);
    SelectObject(m_defBrush.get(), nullptr);
    SelectObject(m_defFont.get(), nullptr);
    SelectObject(m_defBmp.get(), nullptr);
    return true;
}

SRenderTarget_GDI::~SRenderTarget_GDI() {
    if (m_srcDC) DeleteDC(m_srcDC);
    if (m_dc) DeleteDC(m_dc);  // objects are released after the DC no longer holds them
}

HRESULT SRenderTarget_GDI::CreateCompatibleRenderTarget(SIZE size, IRenderTarget** out) {
    if (!out) return E_INVALIDARG;
    *out = Create(m_factory, size.cx, size.cy);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT SRenderTarget_GDI::CreatePen(int style, COLORREF cr, int width, IPen** out) {
    if (!out) return E_INVALIDARG;
    *out = new (std::nothrow) SPen_GDI(m_factory, style, cr, width);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT SRenderTarget_GDI::CreateSolidColorBrush(COLORREF cr, IBrush** out) {
    if (!out) return E_INVALIDARG;
    *out = new (std::nothrow) SBrush_GDI(m_factory, cr);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT SRenderTarget_GDI::CreateBitmapBrush(IBitmap* bitmap, IBrush** out) {
    if (!out || !bitmap) return E_INVALIDARG;
    *out = new (std::nothrow) SBrush_GDI(m_factory, static_cast<SBitmap_GDI*>(bitmap)->GetBitmap());
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT SRenderTarget_GDI::Resize(SIZE size) {
    ForgetClip();
    SBitmap_GDI* bmp = static_cast<SBitmap_GDI*>(m_curBmp.get());
    if (!bmp) return E_UNEXPECTED;
    // The DIB cannot be deleted while selected: the DC's own bitmap stands in.
    ::SelectObject(m_dc, m_dcBitmap);
    HRESULT hr = bmp->Init(size.cx, size.cy, nullptr);
    SelectSurface();
    return hr;
}

void SRenderTarget_GDI::SelectSurface() {
    SBitmap_GDI* bmp = static_cast<SBitmap_GDI*>(m_curBmp.get());
    HBITMAP dib = bmp ? bmp->GetBitmap() : nullptr;
    ::SelectObject(m_dc, dib ? static_cast<HGDIOBJ>(dib) : m_dcBitmap);
}

HRESULT SRenderTarget_GDI::OffsetViewportOrg(int dx, int dy, POINT* oldOut) {
    ForgetClip();
    if (oldOut) *oldOut = m_org;
    m_org.x += dx;
    m_org.y += dy;
    SetViewportOrgEx(m_dc, m_org.x, m_org.y, nullptr);
    return S_OK;
}

HRESULT SRenderTarget_GDI::GetViewportOrg(POINT* out) {
    if (out) *out = m_org;
    return S_OK;
}

HRESULT SRenderTarget_GDI::SetViewportOrg(POINT pt) {
    ForgetClip();
    m_org = pt;
    SetViewportOrgEx(m_dc, pt.x, pt.y, nullptr);
    return S_OK;
}

HRESULT SRenderTarget_GDI::PushClipRect(const RECT* rect, UINT mode) {
    ForgetClip();
    if (!rect) return E_INVALIDARG;
    RECT rc = *rect;
    OffsetRect(&rc, m_org.x, m_org.y);
    GdiObject<HRGN> rgn(CreateRectRgnIndirect(&rc));
    SaveDC(m_dc);
    ExtSelectClipRgn(m_dc, rgn.Get(), int(mode));
    return S_OK;
}

HRESULT SRenderTarget_GDI::PushClipRegion(IRegion* region, UINT mode) {
    ForgetClip();
    if (!region) return E_INVALIDARG;
    GdiObject<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(rgn.Get(), static_cast<SRegion_GDI*>(region)->GetRegion(), nullptr, RGN_COPY);
    OffsetRgn(rgn.Get(), m_org.x, m_org.y);
    SaveDC(m_dc);
    ExtSelectClipRgn(m_dc, rgn.Get(), int(mode));
    return S_OK;
}

HRESULT SRenderTarget_GDI::PopClip() {
    ForgetClip();
    RestoreDC(m_dc, -1);
    return S_OK;
}

HRESULT SRenderTarget_GDI::ExcludeClipRect(const RECT* rect) {
    ForgetClip();
    if (!rect) return E_INVALIDARG;
    ::ExcludeClipRect(m_dc, rect->left, rect->top, rect->right, rect->bottom);
    return S_OK;
}

HRESULT SRenderTarget_GDI::IntersectClipRect(const RECT* rect) {
    ForgetClip();
    if (!rect) return E_INVALIDARG;
    ::IntersectClipRect(m_dc, rect->left, rect->top, rect->right, rect->bottom);
    return S_OK;
}

HRESULT SRenderTarget_GDI::SaveClip(int* stateOut) {
    int state = SaveDC(m_dc);
    if (stateOut) *stateOut = state;
    return S_OK;
}

HRESULT SRenderTarget_GDI::RestoreClip(int state) {
    ForgetClip();
    RestoreDC(m_dc, state);
    return S_OK;
}

HRESULT SRenderTarget_GDI::GetClipRegion(IRegion** out) {
    if (!out) return E_INVALIDARG;
    SRegion_GDI* region = new (std::nothrow) SRegion_GDI(m_factory);
    if (!region) return E_OUTOFMEMORY;
    GdiObject<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
    if (GetClipRgn(m_dc, rgn.Get()) == 1) {
        region->CopyFromHandle(rgn.Get());
    } else {
        // No clip: the whole bitmap is visible.
        RECT all{0, 0, LONG(m_curBmp ? m_curBmp->Width() : 0), LONG(m_curBmp ? m_curBmp->Height() : 0)};
        region->CombineRect(&all, RGN_COPY);
    }
    region->Offset(POINT{-m_org.x, -m_org.y});
    *out = region;
    return S_OK;
}

HRESULT SRenderTarget_GDI::GetClipBox(RECT* rect) {
    if (!rect) return E_INVALIDARG;
    ::GetClipBox(m_dc, rect);
    return S_OK;
}

HRESULT SRenderTarget_GDI::DrawText(LPCWSTR text, int length, RECT* rect, UINT format) {
    if (!text || !rect) return E_INVALIDARG;
    // The text is the caller's and const: the system must not write the
    // ellipsised form into it (nor past its end).
    format &= ~UINT(DT_MODIFYSTRING);
    if (format & DT_CALCRECT) {
        ::DrawTextW(m_dc, text, length, rect, format);
        return S_OK;
    }
    if (length == 0) return S_OK;
    AlphaBuffer buf(m_scratch, m_dc, *rect, BYTE(m_textColor >> 24), true);
    if (buf.Ok()) ::DrawTextW(buf.DC(), text, length, rect, format);
    return S_OK;
}

HRESULT SRenderTarget_GDI::MeasureText(LPCWSTR text, int length, SIZE* size) {
    if (!text || !size) return E_INVALIDARG;
    if (length < 0) length = int(wcslen(text));
    GetTextExtentPoint32W(m_dc, text, length, size);
    return S_OK;
}

HRESULT SRenderTarget_GDI::TextOut(int x, int y, LPCWSTR text, int length) {
    SIZE sz{};
    HRESULT hr = MeasureText(text, length, &sz);
    if (FAILED(hr)) return hr;
    RECT rc{x, y, x + sz.cx, y + sz.cy};
    return DrawText(text, length, &rc, DT_SINGLELINE);
}

HRESULT SRenderTarget_GDI::DrawRectangle(const RECT* rect) {
    if (!rect) return E_INVALIDARG;
    DibAlphaKeeper keep(m_dc, *rect);
    SelectedObject brush(m_dc, GetStockObject(NULL_BRUSH));
    Rectangle(m_dc, rect->left, rect->top, rect->right, rect->bottom);
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillRectangle(const RECT* rect) {
    if (!rect) return E_INVALIDARG;
    AlphaBuffer buf(m_scratch, m_dc, *rect, BrushAlpha(), false);
    if (!buf.Ok()) return S_OK;
    SelectedObject pen(buf.DC(), GetStockObject(NULL_PEN));
    // Without an outline GDI stops one pixel short of the right and bottom edges.
    Rectangle(buf.DC(), rect->left, rect->top, rect->right + 1, rect->bottom + 1);
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillSolidRect(const RECT* rect, COLORREF cr) {
    if (!rect) return E_INVALIDARG;
    // An opaque colour ends as that colour, opaque, on every covered pixel.
    RECT clip{};
    if ((cr >> 24) == 0xFF && m_useFast && m_identity && SimpleClip(&clip)) {
        const DWORD px = 0xFF000000u | (cr & 0xFF) << 16 | (cr & 0xFF00) | (cr >> 16 & 0xFF);
        if (FillPixels(*rect, clip, [px](DWORD* row, const DWORD*, int n) { std::fill(row, row + n, px); }, nullptr, 0)) return S_OK;
    }
    AlphaBuffer buf(m_scratch, m_dc, *rect, BYTE(cr >> 24), false);
    if (!buf.Ok()) return S_OK;
    GdiObject<HBRUSH> brush(CreateSolidBrush(cr & 0xFFFFFF));
    FillRect(buf.DC(), rect, brush.Get());
    return S_OK;
}

HRESULT SRenderTarget_GDI::DrawRoundRect(const RECT* rect, POINT corner) {
    if (!rect) return E_INVALIDARG;
    AlphaBuffer buf(m_scratch, m_dc, *rect, PenAlpha(), true);
    if (!buf.Ok()) return S_OK;
    SelectedObject brush(buf.DC(), GetStockObject(NULL_BRUSH));
    RoundRect(buf.DC(), rect->left, rect->top, rect->right, rect->bottom, corner.x * 2, corner.y * 2);
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillRoundRect(const RECT* rect, POINT ellipse) {
    if (!rect) return E_INVALIDARG;
    AlphaBuffer buf(m_scratch, m_dc, *rect, BrushAlpha(), true);
    if (!buf.Ok()) return S_OK;
    SelectedObject pen(buf.DC(), GetStockObject(NULL_PEN));
    RoundRect(buf.DC(), rect->left, rect->top, rect->right, rect->bottom, ellipse.x, ellipse.y);
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillSolidRoundRect(const RECT* rect, POINT ellipse, COLORREF cr) {
    if (!rect) return E_INVALIDARG;
    AlphaBuffer buf(m_scratch, m_dc, *rect, BYTE(cr >> 24), false);
    if (!buf.Ok()) return S_OK;
    // The edge takes the fill colour: the DC's own pen would outline the shape
    // in black, and no pen at all would leave the right and bottom edges out.
    GdiObject<HBRUSH> brush(CreateSolidBrush(cr & 0xFFFFFF));
    GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, cr & 0xFFFFFF));
    SelectedObject selBrush(buf.DC(), brush.Get());
    SelectedObject selPen(buf.DC(), pen.Get());
    RoundRect(buf.DC(), rect->left, rect->top, rect->right, rect->bottom, ellipse.x, ellipse.y);
    return S_OK;
}

HRESULT SRenderTarget_GDI::ClearRect(const RECT* rect, COLORREF cr) {
    if (!rect) return E_INVALIDARG;
    // Only the visible part needs pixels: a huge rectangle must not need a huge DIB.
    RECT clip{}, rc{};
    int kind = ::GetClipBox(m_dc, &clip);
    if (kind == NULLREGION || kind == ERROR || !IntersectRect(&rc, rect, &clip)) return S_OK;
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    void* bits = nullptr;
    GdiObject<HBITMAP> dib(CreateDib32(w, h, &bits));
    MemoryDC mem(m_dc);
    if (!dib || !mem.Get()) return E_OUTOFMEMORY;
    // Colour to a premultiplied DIB pixel (blue in the low byte).
    DWORD a = cr >> 24;
    DWORD r = (cr & 0xFF) * a / 255, g = ((cr >> 8) & 0xFF) * a / 255, b = ((cr >> 16) & 0xFF) * a / 255;
    DWORD px = a << 24 | r << 16 | g << 8 | b;
    std::fill_n(static_cast<DWORD*>(bits), size_t(w) * h, px);
    SelectedObject sel(mem.Get(), dib.Get());
    ::BitBlt(m_dc, rc.left, rc.top, w, h, mem.Get(), 0, 0, SRCCOPY);
    return S_OK;
}

HRESULT SRenderTarget_GDI::InvertRect(const RECT* rect) {
    if (!rect) return E_INVALIDARG;
    DibAlphaKeeper keep(m_dc, *rect);
    return ::InvertRect(m_dc, rect) ? S_OK : E_UNEXPECTED;
}

HRESULT SRenderTarget_GDI::DrawEllipse(const RECT* rect) {
    if (!rect) return E_INVALIDARG;
    AlphaBuffer buf(m_scratch, m_dc, *rect, PenAlpha(), true);
    if (!buf.Ok()) return S_OK;
    SelectedObject brush(buf.DC(), GetStockObject(NULL_BRUSH));
    Ellipse(buf.DC(), rect->left, rect->top, rect->right, rect->bottom);
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillEllipse(const RECT* rect) {
    if (!rect) return E_INVALIDARG;
    AlphaBuffer buf(m_scratch, m_dc, *rect, BrushAlpha(), true);
    if (!buf.Ok()) return S_OK;
    // A fill has no outline; without one GDI stops a pixel short of the right and bottom.
    SelectedObject pen(buf.DC(), GetStockObject(NULL_PEN));
    Ellipse(buf.DC(), rect->left, rect->top, rect->right + 1, rect->bottom + 1);
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillSolidEllipse(const RECT* rect, COLORREF cr) {
    if (!rect) return E_INVALIDARG;
    AlphaBuffer buf(m_scratch, m_dc, *rect, BYTE(cr >> 24), false);
    if (!buf.Ok()) return S_OK;
    // The edge in the fill colour, as FillSolidRoundRect does.
    GdiObject<HBRUSH> brush(CreateSolidBrush(cr & 0xFFFFFF));
    GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, cr & 0xFFFFFF));
    SelectedObject selBrush(buf.DC(), brush.Get());
    SelectedObject selPen(buf.DC(), pen.Get());
    Ellipse(buf.DC(), rect->left, rect->top, rect->right, rect->bottom);
    return S_OK;
}

HRESULT SRenderTarget_GDI::DrawArc(const RECT* rect, float startAngle, float sweepAngle, BOOL useCenter) {
    if (!rect) return E_INVALIDARG;
    POINT p1, p2;
    ArcPoints(*rect, startAngle, sweepAngle, &p1, &p2);
    AlphaBuffer buf(m_scratch, m_dc, *rect, PenAlpha(), true);
    if (!buf.Ok()) return S_OK;
    SelectedObject brush(buf.DC(), GetStockObject(NULL_BRUSH));
    ArcDirection dir(buf.DC(), sweepAngle);
    if (useCenter) Chord(buf.DC(), rect->left, rect->top, rect->right, rect->bottom, p1.x, p1.y, p2.x, p2.y);
    else Arc(buf.DC(), rect->left, rect->top, rect->right, rect->bottom, p1.x, p1.y, p2.x, p2.y);
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillArc(const RECT* rect, float startAngle, float sweepAngle) {
    if (!rect) return E_INVALIDARG;
    POINT p1, p2;
    ArcPoints(*rect, startAngle, sweepAngle, &p1, &p2);
    AlphaBuffer buf(m_scratch, m_dc, *rect, BrushAlpha(), true);
    if (!buf.Ok()) return S_OK;
    SelectedObject pen(buf.DC(), GetStockObject(NULL_PEN));
    ArcDirection dir(buf.DC(), sweepAngle);
    Chord(buf.DC(), rect->left, rect->top, rect->right, rect->bottom, p1.x, p1.y, p2.x, p2.y);
    return S_OK;
}

HRESULT SRenderTarget_GDI::DrawLines(const POINT* points, size_t count) {
    if (!points || count == 0) return E_INVALIDARG;
    if (count > size_t(INT_MAX)) return E_INVALIDARG;
    RECT box{100000, 100000, 0, 0};
    for (size_t i = 0; i < count; ++i) {
        box.left = std::min(box.left, points[i].x);
        box.top = std::min(box.top, points[i].y);
        box.right = std::max(box.right, points[i].x);
        box.bottom = std::max(box.bottom, points[i].y);
    }
    int w = Pen() ? std::max(1, Pen()->GetWidth()) : 1;
    RECT rc{box.left - 1, box.top - 1, box.right + w, box.bottom + w};
    AlphaBuffer buf(m_scratch, m_dc, rc, PenAlpha(), true);
    if (buf.Ok()) Polyline(buf.DC(), points, int(count));
    return S_OK;
}

HRESULT SRenderTarget_GDI::GradientFill(const RECT* rect, BOOL vertical, COLORREF cr1, COLORREF cr2, BYTE alpha) {
    if (!rect) return E_INVALIDARG;
    TRIVERTEX v[2] = {
        {rect->left, rect->top, COLOR16((cr1 & 0xFF) << 8), COLOR16(cr1 & 0xFF00), COLOR16((cr1 >> 8) & 0xFF00), 0xFF00},
        {rect->right, rect->bottom, COLOR16((cr2 & 0xFF) << 8), COLOR16(cr2 & 0xFF00), COLOR16((cr2 >> 8) & 0xFF00), 0xFF00},
    };
    GRADIENT_RECT gr{0, 1};
    ULONG mode = vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H;
    if (alpha == 255) {
        ::GdiGradientFill(m_dc, v, 2, &gr, 1, mode);
        return S_OK;
    }
    // The gradient writes its own alpha, so the buffer takes every pixel, made opaque.
    AlphaBuffer buf(m_scratch, m_dc, *rect, alpha, false, AlphaBuffer::Finish::AllPixels);
    if (buf.Ok()) ::GdiGradientFill(buf.DC(), v, 2, &gr, 1, mode);
    return S_OK;
}

HRESULT SRenderTarget_GDI::DrawIconEx(int x, int y, HICON icon, int cx, int cy, UINT flags) {
    ICONINFO ii{};
    if (!icon || !GetIconInfo(icon, &ii)) return S_FALSE;
    GdiObject<HBITMAP> color(ii.hbmColor), mask(ii.hbmMask);
    BOOL ok;
    // A 32-bit colour image need not carry alpha (the system may keep every
    // icon in 32 bits): only one with alpha may write the target's alpha.
    if (IconHasAlpha(color.Get())) {
        ok = ::DrawIconEx(m_dc, x, y, icon, cx, cy, 0, nullptr, flags);
    } else {
        DibAlphaKeeper keep(m_dc, RECT{x, y, x + IconExtent(cx, flags, SM_CXICON, color.Get(), mask.Get(), false),
                                       y + IconExtent(cy, flags, SM_CYICON, color.Get(), mask.Get(), true)});
        ok = ::DrawIconEx(m_dc, x, y, icon, cx, cy, 0, nullptr, flags);
    }
    return ok ? S_OK : S_FALSE;
}

HRESULT SRenderTarget_GDI::DrawBitmap(const RECT* dest, IBitmap* bitmap, int xSrc, int ySrc, BYTE alpha) {
    if (!dest || !bitmap) return E_INVALIDARG;
    SBitmap_GDI* bmp = static_cast<SBitmap_GDI*>(bitmap);
    if (!bmp->GetBitmap() || xSrc < 0 || ySrc < 0) return S_OK;
    int w = std::min<int>(dest->right - dest->left, int(bmp->Width()) - xSrc);
    int h = std::min<int>(dest->bottom - dest->top, int(bmp->Height()) - ySrc);
    if (w <= 0 || h <= 0) return S_OK;
    SelectedObject sel(m_srcDC, bmp->GetBitmap());
    return BlendFrom(m_dc, m_srcDC, RECT{dest->left, dest->top, dest->left + w, dest->top + h}, RECT{xSrc, ySrc, xSrc + w, ySrc + h}, alpha);
}

HRESULT SRenderTarget_GDI::DrawBitmapEx(const RECT* dest, IBitmap* bitmap, const RECT* srcRect, UINT expandMode, BYTE alpha) {
    if (!dest || !bitmap || !srcRect) return E_INVALIDARG;
    SBitmap_GDI* bmp = static_cast<SBitmap_GDI*>(bitmap);
    if (!bmp->GetBitmap()) return S_OK;
    SelectedObject sel(m_srcDC, bmp->GetBitmap());
    return DrawCell(m_dc, m_srcDC, bmp, *dest, *srcRect, expandMode, alpha);
}

HRESULT SRenderTarget_GDI::DrawBitmap9Patch(const RECT* dest, IBitmap* bitmap, const RECT* src, const RECT* margins, UINT expandMode,
                                            BYTE alpha) {
    if (!dest || !bitmap || !src || !margins) return E_INVALIDARG;
    PatchAxis cols, rows;
    if (!MakeAxis(dest->left, dest->right, src->left, src->right, margins->left, margins->right, &cols) ||
        !MakeAxis(dest->top, dest->bottom, src->top, src->bottom, margins->top, margins->bottom, &rows))
        return S_FALSE;
    SBitmap_GDI* bmp = static_cast<SBitmap_GDI*>(bitmap);
    if (!bmp->GetBitmap()) return S_OK;
    const int w = dest->right - dest->left, h = dest->bottom - dest->top;
    ComposedPatchCache* cache = m_useFast && m_identity ? bmp->PatchCache() : nullptr;
    if (cache && ComposedPatchCache::Fits(w, h)) {
        const PatchKey key{*src, *margins, expandMode, w, h};
        const ComposedPatch* made = cache->Find(key);
        if (!made) made = Compose(bmp, key, cache);
        if (made) return BlitComposed(*made, *dest, alpha);
    }
    SelectedObject sel(m_srcDC, bmp->GetBitmap());
    return DrawPatches(m_dc, m_srcDC, bmp, cols, rows, expandMode, alpha);
}

const ComposedPatch* SRenderTarget_GDI::Compose(SBitmap_GDI* bmp, const PatchKey& key, ComposedPatchCache* cache) {
    PatchAxis cols, rows;
    MakeAxis(0, key.width, key.src.left, key.src.right, key.margins.left, key.margins.right, &cols);
    MakeAxis(0, key.height, key.src.top, key.src.bottom, key.margins.top, key.margins.bottom, &rows);
    void* bits = nullptr;
    GdiObject<HBITMAP> dib(CreateDib32(key.width, key.height, &bits));
    MemoryDC dc(m_dc);
    if (!dib || !dc.Get()) return nullptr;
    memset(bits, 0, size_t(key.width) * size_t(key.height) * 4);
    {
        SelectedObject target(dc.Get(), dib.Get());
        SelectedObject source(m_srcDC, bmp->GetBitmap());
        // Over transparent black every cell leaves exactly its own pixels,
        // so blending the result later equals blending the cells.
        if (FAILED(DrawPatches(dc.Get(), m_srcDC, bmp, cols, rows, key.mode, 255))) return nullptr;
        GdiFlush();
    }
    return cache->Add(key, dib.Release(), bits);
}

HRESULT SRenderTarget_GDI::BlitComposed(const ComposedPatch& made, const RECT& dest, BYTE alpha) {
    RECT clip{};
    if (made.opaque && alpha == 255 && SimpleClip(&clip) &&
        FillPixels(dest, clip, [](DWORD* row, const DWORD* src, int n) { memcpy(row, src, size_t(n) * 4); }, made.bits, made.key.width))
        return S_OK;
    SelectedObject sel(m_srcDC, made.dib.Get());
    const int w = made.key.width, h = made.key.height;
    // Blending an opaque pixel at full alpha is a copy.
    if (made.opaque && alpha == 255) return ::BitBlt(m_dc, dest.left, dest.top, w, h, m_srcDC, 0, 0, SRCCOPY) ? S_OK : E_FAIL;
    return BlendFrom(m_dc, m_srcDC, dest, RECT{0, 0, w, h}, alpha);
}

HRESULT SRenderTarget_GDI::BitBlt(const RECT* dest, IRenderTarget* src, int xSrc, int ySrc, DWORD rop) {
    if (!dest || !src) return E_INVALIDARG;
    HDC srcDC = src->GetDC(0);
    if (rop == SRCCOPY) {
        ::BitBlt(m_dc, dest->left, dest->top, dest->right - dest->left, dest->bottom - dest->top, srcDC, xSrc, ySrc, rop);
    } else {
        DibAlphaKeeper keep(m_dc, *dest);
        ::BitBlt(m_dc, dest->left, dest->top, dest->right - dest->left, dest->bottom - dest->top, srcDC, xSrc, ySrc, rop);
    }
    src->ReleaseDC(srcDC);
    return S_OK;
}

HRESULT SRenderTarget_GDI::AlphaBlend(const RECT* dest, IRenderTarget* src, const RECT* srcRect, BYTE alpha) {
    if (!dest || !src || !srcRect) return E_INVALIDARG;
    HDC srcDC = src->GetDC(0);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    BOOL ok = ::GdiAlphaBlend(m_dc, dest->left, dest->top, dest->right - dest->left, dest->bottom - dest->top, srcDC, srcRect->left,
                              srcRect->top, srcRect->right - srcRect->left, srcRect->bottom - srcRect->top, bf);
    src->ReleaseDC(srcDC);
    return ok ? S_OK : E_FAIL;
}

bool SRenderTarget_GDI::SimpleClip(RECT* box) {
    if (!m_clipKnown || m_dcLent) {
        // The DC's own origin: restoring a saved DC state brings back its origin too.
        m_clipSimple = ::GetClipBox(m_dc, &m_clipBox) == SIMPLEREGION && GetViewportOrgEx(m_dc, &m_clipOrg);
        m_clipKnown = true;
    }
    *box = m_clipBox;
    return m_clipSimple;
}

template <class Row>
bool SRenderTarget_GDI::FillPixels(const RECT& dest, const RECT& clip, Row row, const DWORD* from, int fromStride) {
    SBitmap_GDI* surface = static_cast<SBitmap_GDI*>(m_curBmp.get());
    DWORD* bits = surface ? static_cast<DWORD*>(const_cast<void*>(surface->GetPixelBits())) : nullptr;
    if (!bits) return false;
    // Logical to device by the DC's origin; the surface bounds the clip box anyway.
    const POINT org = m_clipOrg;
    RECT part{}, bounds{-org.x, -org.y, LONG(surface->Width()) - org.x, LONG(surface->Height()) - org.y};
    if (!IntersectRect(&part, &dest, &clip) || !IntersectRect(&part, &part, &bounds)) return true;
    GdiFlush();  // earlier GDI drawing lands before these rows
    for (int y = part.top; y < part.bottom; ++y) {
        const DWORD* src = from ? from + size_t(y - dest.top) * fromStride + (part.left - dest.left) : nullptr;
        row(bits + size_t(y + org.y) * surface->Width() + (part.left + org.x), src, part.right - part.left);
    }
    return true;
}

IRenderObj* SRenderTarget_GDI::GetCurrentObject(int type) {
    switch (type) {
        case OT_PEN: return m_curPen.get();
        case OT_BRUSH: return m_curBrush.get();
        case OT_BITMAP: return m_curBmp.get();
        case OT_FONT: return m_curFont.get();
        default: return nullptr;
    }
}

HRESULT SRenderTarget_GDI::SelectDefaultObject(int type, IRenderObj** oldOut) {
    IRenderObj* def = nullptr;
    switch (type) {
        case OT_PEN: def = m_defPen.get(); break;
        case OT_BRUSH: def = m_defBrush.get(); break;
        case OT_BITMAP: def = m_defBmp.get(); break;
        case OT_FONT: def = m_defFont.get(); break;
        default: return E_INVALIDARG;
    }
    if (GetCurrentObject(type) == def) return S_FALSE;
    return SelectObject(def, oldOut);
}

HRESULT SRenderTarget_GDI::SelectObject(IRenderObj* obj, IRenderObj** oldOut) {
    if (!obj) return E_INVALIDARG;
    IRenderObj* old = nullptr;
    switch (obj->ObjectType()) {
        case OT_PEN:
            old = m_curPen.Detach();
            m_curPen = static_cast<IPen*>(obj);
            ::SelectObject(m_dc, static_cast<SPen_GDI*>(obj)->GetPen());
            break;
        case OT_BRUSH:
            old = m_curBrush.Detach();
            m_curBrush = static_cast<IBrush*>(obj);
            ::SelectObject(m_dc, static_cast<SBrush_GDI*>(obj)->GetBrush());
            break;
        case OT_BITMAP: {
            old = m_curBmp.Detach();
            m_curBmp = static_cast<IBitmap*>(obj);
            SBitmap_GDI* bmp = static_cast<SBitmap_GDI*>(obj);
            bmp->MarkSurface();
            ForgetClip();
            SelectSurface();  // before the old bitmap may go with its last reference
            break;
        }
        case OT_FONT:
            old = m_curFont.Detach();
            m_curFont = static_cast<IFont*>(obj);
            ::SelectObject(m_dc, static_cast<SFont_GDI*>(obj)->GetFont());
            break;
        default: return S_OK;
    }
    // old carries the reference the target held; hand it on or drop it.
    if (oldOut) *oldOut = old;
    else if (old) old->Release();
    return S_OK;
}

COLORREF SRenderTarget_GDI::SetTextColor(COLORREF cr) {
    COLORREF old = m_textColor;
    m_textColor = cr;
    ::SetTextColor(m_dc, cr & 0xFFFFFF);
    return old;
}

HDC SRenderTarget_GDI::GetDC(UINT flags) {
    m_dcFlags = flags;
    m_dcLent = true;  // its clip may change behind our back until it comes back
    ForgetClip();
    return m_dc;
}

void SRenderTarget_GDI::ReleaseDC(HDC dc) {
    if (dc != m_dc) return;
    m_dcFlags = 0;
    m_dcLent = false;
    ForgetClip();
    // The caller may have set a transform on the DC itself.
    XFORM xf{};
    m_identity = GetWorldTransform(m_dc, &xf) && IsIdentity(xf);
}

HRESULT SRenderTarget_GDI::SetTransform(const XFORM* xform, XFORM* oldOut) {
    ForgetClip();
    if (!xform) return E_INVALIDARG;
    if (oldOut && !GetWorldTransform(m_dc, oldOut)) return E_FAIL;
    if (!SetWorldTransform(m_dc, xform)) return E_FAIL;
    m_identity = IsIdentity(*xform);
    return S_OK;
}

HRESULT SRenderTarget_GDI::GetTransform(XFORM* out) const {
    if (!out) return E_INVALIDARG;
    return GetWorldTransform(m_dc, out) ? S_OK : E_FAIL;
}

DWORD* SRenderTarget_GDI::PixelAt(int x, int y) {
    if (!m_curBmp) return nullptr;
    DWORD* bits = static_cast<DWORD*>(m_curBmp->LockPixelBits());
    long long px = (long long)x + m_org.x, py = (long long)y + m_org.y;
    if (!bits || px < 0 || py < 0 || px >= m_curBmp->Width() || py >= m_curBmp->Height()) return nullptr;
    GdiFlush();
    return bits + size_t(py) * m_curBmp->Width() + size_t(px);
}

COLORREF SRenderTarget_GDI::GetPixel(int x, int y) {
    DWORD* p = PixelAt(x, y);
    return p ? *p : 0xFFFFFF;
}

COLORREF SRenderTarget_GDI::SetPixel(int x, int y, COLORREF cr) {
    DWORD* p = PixelAt(x, y);
    if (!p) return 0xFFFFFF;
    COLORREF old = *p;
    *p = cr;
    m_curBmp->UnlockPixelBits(p);
    return old;
}

}  // namespace WUI
