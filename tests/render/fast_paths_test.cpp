// The render target's fast paths draw exactly the pixels of the general GDI
// path: nine-patches served from a bitmap's composed images, and opaque fills
// written straight into the pixels; a changed bitmap is never served stale.
// Each case draws on two targets over the same uneven background, one with
// the fast paths and one without; every pixel must match.
#include <cstring>
#include <vector>

#include "RenderTestUtil.h"
#include "render/IRenderObj.h"
#include "render/SBitmap_GDI.h"
#include "render/SRenderTarget_GDI.h"

using namespace WUI;
using namespace rendertest;

namespace {

const int kW = 40, kH = 32;

// A 12x12 source: nine cells of distinct colours, each with a few odd pixels
// so a wrong sample shows. translucent: alphas vary, some pixels clear.
std::vector<DWORD> Source(bool translucent) {
    std::vector<DWORD> px(144);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            DWORD a = translucent ? DWORD((x * 37 + y * 53) % 256) : 255;
            if (translucent && (x + y) % 7 == 0) a = 0;
            DWORD r = (x * 21 + 10) * a / 255, g = (y * 19 + 5) * a / 255, b = ((x ^ y) * 17) * a / 255;
            px[y * 12 + x] = a << 24 | r << 16 | g << 8 | b;
        }
    return px;
}

// Translucent and opaque stripes, so blending over it shows.
std::vector<DWORD> Background() {
    std::vector<DWORD> px(kW * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            DWORD a = (x / 4 + y / 3) % 3 == 0 ? 255 : DWORD(60 + (x * 7 + y * 11) % 150);
            px[y * kW + x] = a << 24 | (a * 3 / 4) << 16 | (a / 2) << 8 | (a / 5);
        }
    return px;
}

struct Pair {
    Factories fx;
    IRenderTarget* cached = nullptr;
    IRenderTarget* general = nullptr;
    Pair() {
        fx.render->CreateRenderTarget(&cached, kW, kH);
        fx.render->CreateRenderTarget(&general, kW, kH);
        static_cast<SRenderTarget_GDI*>(general)->UseFastPaths(false);
    }
    ~Pair() {
        if (cached) cached->Release();
        if (general) general->Release();
    }
    Pair(const Pair&) = delete;
    Pair& operator=(const Pair&) = delete;
    IBitmap* MakeBitmap(const std::vector<DWORD>& px, int w, int h) {
        IBitmap* b = nullptr;
        fx.render->CreateBitmap(&b);
        EXPECT_EQ(S_OK, b->Init(w, h, px.data()));
        return b;
    }
    void Reset() {
        const std::vector<DWORD> bg = Background();
        for (IRenderTarget* rt : {cached, general}) {
            IBitmap* surface = static_cast<IBitmap*>(rt->GetCurrentObject(OT_BITMAP));
            void* bits = surface->LockPixelBits();
            memcpy(bits, bg.data(), bg.size() * 4);
            surface->UnlockPixelBits(bits);
        }
    }
    // Both targets' pixels equal, the first difference reported.
    ::testing::AssertionResult Same() {
        GdiFlush();
        auto pixels = [](IRenderTarget* rt) {
            return static_cast<const uint8_t*>(static_cast<IBitmap*>(rt->GetCurrentObject(OT_BITMAP))->GetPixelBits());
        };
        return PixelsMatch(pixels(cached), pixels(general), size_t(kW) * kH, 0);
    }
};

size_t Cached(IBitmap* b) { return static_cast<SBitmap_GDI*>(b)->PatchCache()->Count(); }

enum Clip { kNoClip, kClipRect, kClipRegion, kOrigin, kScaled };

struct Case {
    const char* name;
    bool translucent;
    RECT dest;
    RECT src;
    RECT margins;
    UINT mode;
    BYTE alpha;
    Clip clip;
    bool served;  // whether the composed image is used
};

const Case kCases[] = {
    {"opaque stretched", false, {3, 2, 33, 27}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 255, kNoClip, true},
    {"opaque 1:1", false, {5, 5, 17, 17}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 255, kNoClip, true},
    {"opaque shrunk", false, {5, 5, 14, 15}, {0, 0, 12, 12}, {3, 4, 4, 3}, 1, 255, kNoClip, true},
    {"opaque tiled", false, {1, 3, 38, 30}, {0, 0, 12, 12}, {4, 4, 4, 4}, 2, 255, kNoClip, true},
    {"opaque natural size", false, {1, 3, 38, 30}, {0, 0, 12, 12}, {4, 4, 4, 4}, 0, 255, kNoClip, true},
    {"opaque narrower than margins", false, {6, 1, 9, 30}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 255, kNoClip, true},
    {"opaque sub-cell of the bitmap", false, {2, 2, 30, 20}, {2, 3, 10, 11}, {2, 2, 3, 3}, 1, 255, kNoClip, true},
    {"opaque at alpha 128", false, {3, 2, 33, 27}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 128, kNoClip, true},
    {"translucent stretched", true, {3, 2, 33, 27}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 255, kNoClip, true},
    {"translucent 1:1", true, {5, 5, 17, 17}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 255, kNoClip, true},
    {"translucent tiled", true, {1, 3, 38, 30}, {0, 0, 12, 12}, {4, 4, 4, 4}, 2, 255, kNoClip, true},
    {"translucent at alpha 77", true, {3, 2, 33, 27}, {0, 0, 12, 12}, {4, 4, 4, 4}, 2, 77, kNoClip, true},
    {"opaque clipped to a rectangle", false, {3, 2, 33, 27}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 255, kClipRect, true},
    {"translucent clipped to a rectangle", true, {3, 2, 33, 27}, {0, 0, 12, 12}, {4, 4, 4, 4}, 2, 200, kClipRect, true},
    {"opaque clipped to two rectangles", false, {3, 2, 33, 27}, {0, 0, 12, 12}, {4, 4, 4, 4}, 2, 255, kClipRegion, true},
    {"translucent clipped to two rectangles", true, {3, 2, 33, 27}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 255, kClipRegion, true},
    {"partly off the target", false, {-7, -5, 20, 18}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 255, kNoClip, true},
    {"under a viewport origin", true, {-3, 0, 25, 20}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 255, kOrigin, true},
    {"under a scaling transform", false, {1, 1, 15, 13}, {0, 0, 12, 12}, {4, 4, 4, 4}, 1, 255, kScaled, false},
};

void ApplyClip(IRenderTarget* rt, Clip clip, IRenderFactory* factory) {
    const RECT inner{9, 6, 27, 21};
    switch (clip) {
        case kClipRect: rt->PushClipRect(&inner, RGN_AND); break;
        case kClipRegion: {
            IRegion* rgn = nullptr;
            factory->CreateRegion(&rgn);
            const RECT a{0, 0, 14, 12}, b{20, 15, 40, 29};
            rgn->CombineRect(&a, RGN_COPY);
            rgn->CombineRect(&b, RGN_OR);
            rt->PushClipRegion(rgn, RGN_AND);
            rgn->Release();
            break;
        }
        case kOrigin: rt->SetViewportOrg(POINT{6, 3}); break;
        case kScaled: {
            XFORM x{2, 0, 0, 2, 0, 0};
            rt->SetTransform(&x, nullptr);
            break;
        }
        case kNoClip: break;
    }
}

void UndoClip(IRenderTarget* rt, Clip clip) {
    if (clip == kClipRect || clip == kClipRegion) rt->PopClip();
    if (clip == kOrigin) rt->SetViewportOrg(POINT{0, 0});
    if (clip == kScaled) {
        XFORM x{1, 0, 0, 1, 0, 0};
        rt->SetTransform(&x, nullptr);
    }
}

}  // namespace

TEST(ComposedPatch, SamePixelsAsCellByCell) {
    Pair p;
    ASSERT_TRUE(p.cached && p.general);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        IBitmap* bmp = p.MakeBitmap(Source(c.translucent), 12, 12);
        // First the draw that composes the image, then one served from it.
        for (int pass = 0; pass < 2; ++pass) {
            p.Reset();
            for (IRenderTarget* rt : {p.cached, p.general}) {
                ApplyClip(rt, c.clip, p.fx.render);
                EXPECT_EQ(S_OK, rt->DrawBitmap9Patch(&c.dest, bmp, &c.src, &c.margins, c.mode, c.alpha));
                UndoClip(rt, c.clip);
            }
            EXPECT_TRUE(p.Same()) << "pass " << pass;
            EXPECT_EQ(c.served ? 1u : 0u, Cached(bmp));
        }
        bmp->Release();
    }
}

TEST(ComposedPatch, EntriesPerCellAndSizeAndFailuresNotKept) {
    Pair p;
    IBitmap* bmp = p.MakeBitmap(Source(false), 12, 12);
    const RECT src{0, 0, 12, 12}, half{0, 0, 12, 6}, margins{4, 4, 4, 4}, thin{2, 2, 2, 2};
    const RECT a{0, 0, 20, 20}, b{5, 5, 25, 25}, c{0, 0, 21, 20};
    p.cached->DrawBitmap9Patch(&a, bmp, &src, &margins, 1, 255);
    p.cached->DrawBitmap9Patch(&b, bmp, &src, &margins, 1, 128);  // same size elsewhere, other alpha: one image
    EXPECT_EQ(1u, Cached(bmp));
    p.cached->DrawBitmap9Patch(&c, bmp, &src, &margins, 1, 255);
    p.cached->DrawBitmap9Patch(&a, bmp, &half, &thin, 1, 255);
    p.cached->DrawBitmap9Patch(&a, bmp, &src, &margins, 2, 255);
    EXPECT_EQ(4u, Cached(bmp));
    // Margins wider than the cell draw nothing and keep nothing.
    const RECT wide{5, 5, 5, 5}, cell{0, 0, 8, 8};
    EXPECT_EQ(S_FALSE, p.cached->DrawBitmap9Patch(&a, bmp, &cell, &wide, 1, 255));
    // A target-sized draw too big to keep is still drawn, cell by cell.
    const RECT huge{0, 0, 300, 300};
    p.Reset();
    EXPECT_EQ(S_OK, p.cached->DrawBitmap9Patch(&huge, bmp, &src, &margins, 1, 255));
    EXPECT_EQ(S_OK, p.general->DrawBitmap9Patch(&huge, bmp, &src, &margins, 1, 255));
    EXPECT_TRUE(p.Same());
    EXPECT_EQ(4u, Cached(bmp));
    bmp->Release();
}

TEST(ComposedPatch, ChangedBitmapIsNeverServedStale) {
    Pair p;
    const RECT dest{2, 2, 30, 26}, src{0, 0, 12, 12}, margins{4, 4, 4, 4};
    auto drawBoth = [&](IBitmap* bmp) {
        p.Reset();
        p.cached->DrawBitmap9Patch(&dest, bmp, &src, &margins, 1, 255);
        p.general->DrawBitmap9Patch(&dest, bmp, &src, &margins, 1, 255);
        return p.Same();
    };
    IBitmap* bmp = p.MakeBitmap(Source(false), 12, 12);
    ASSERT_TRUE(drawBoth(bmp));
    ASSERT_EQ(1u, Cached(bmp));

    // Pixels written through a lock (as colourising does).
    DWORD* bits = static_cast<DWORD*>(bmp->LockPixelBits());
    for (int i = 0; i < 144; ++i) bits[i] = 0xFF2060A0;
    bmp->UnlockPixelBits(bits);
    EXPECT_EQ(0u, Cached(bmp));
    EXPECT_TRUE(drawBoth(bmp));
    EXPECT_EQ(0xFF2060A0u, p.cached->GetPixel(15, 15));

    // New pixels from Init, translucent this time.
    EXPECT_EQ(S_OK, bmp->Init(12, 12, Source(true).data()));
    EXPECT_EQ(0u, Cached(bmp));
    EXPECT_TRUE(drawBoth(bmp));

    // A bitmap a target draws into changes behind its back: never kept.
    IRenderTarget* painter = nullptr;
    p.fx.render->CreateRenderTarget(&painter, 1, 1);
    const RECT all{0, 0, 12, 12};
    for (COLORREF fill : {0xFF30C050u, 0xFFC03050u}) {
        IRenderObj* old = nullptr;
        painter->SelectObject(bmp, &old);
        EXPECT_EQ(nullptr, static_cast<SBitmap_GDI*>(bmp)->PatchCache());
        painter->FillSolidRect(&all, fill);
        painter->SelectObject(old, nullptr);  // a bitmap is selected in one DC at a time
        old->Release();
        EXPECT_TRUE(drawBoth(bmp));
    }
    EXPECT_EQ(0xFF5030C0u, p.cached->GetPixel(15, 15));
    painter->Release();
    bmp->Release();
}

TEST(OpaqueFill, SamePixelsAsTheGeneralPath) {
    struct Fill {
        const char* name;
        RECT rect;
        COLORREF colour;
        Clip clip;
    };
    const Fill fills[] = {
        {"opaque", {3, 4, 30, 20}, 0xFF3366CC, kNoClip},
        {"opaque white and black", {0, 0, 40, 32}, 0xFFFFFFFF, kNoClip},
        {"translucent", {3, 4, 30, 20}, 0x803366CC, kNoClip},
        {"clear", {3, 4, 30, 20}, 0x003366CC, kNoClip},
        {"clipped to a rectangle", {3, 4, 30, 20}, 0xFF102030, kClipRect},
        {"clipped to two rectangles", {3, 4, 38, 30}, 0xFF102030, kClipRegion},
        {"partly off the target", {-5, -6, 12, 50}, 0xFFA0B0C0, kNoClip},
        {"under a viewport origin", {-5, -2, 20, 20}, 0xFFA0B0C0, kOrigin},
        {"under a scaling transform", {1, 1, 12, 9}, 0xFFA0B0C0, kScaled},
        {"inverted rectangle", {30, 20, 3, 4}, 0xFF3366CC, kNoClip},
    };
    Pair p;
    for (const Fill& f : fills) {
        SCOPED_TRACE(f.name);
        p.Reset();
        for (IRenderTarget* rt : {p.cached, p.general}) {
            ApplyClip(rt, f.clip, p.fx.render);
            EXPECT_EQ(S_OK, rt->FillSolidRect(&f.rect, f.colour));
            UndoClip(rt, f.clip);
        }
        EXPECT_TRUE(p.Same());
    }
    // GDI drawing just before and just after lands in order with the fill.
    p.Reset();
    const RECT a{0, 0, 20, 20}, b{10, 10, 30, 30}, c{5, 5, 25, 25};
    for (IRenderTarget* rt : {p.cached, p.general}) {
        rt->FillSolidRect(&a, 0x80FF0000);
        rt->FillSolidRect(&b, 0xFF00FF00);
        rt->FillSolidRect(&c, 0x800000FF);
    }
    EXPECT_TRUE(p.Same());
}
