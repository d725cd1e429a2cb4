// The GDI render target read back pixel by pixel. Glyph pixels are never
// compared (fonts differ); only which pixels text touched and their alpha.
#include <string>

#include "RenderTestUtil.h"
#include "render/IRenderObj.h"

using namespace WUI;
using namespace rendertest;

namespace {

class TargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fx.render->CreateRenderTarget(&rt, 32, 24));
        ASSERT_NE(nullptr, rt);
    }
    void TearDown() override {
        if (rt) rt->Release();
    }
    DWORD Px(int x, int y) {
        POINT org{};
        rt->GetViewportOrg(&org);
        return rt->GetPixel(x - org.x, y - org.y);
    }
    // Counts device pixels equal to value inside rect (device units).
    int Count(const RECT& r, DWORD value) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += Px(x, y) == value;
        return n;
    }
    IBitmap* MakeBitmap(int w, int h, const std::vector<DWORD>& px) {
        IBitmap* b = nullptr;
        fx.render->CreateBitmap(&b);
        EXPECT_EQ(S_OK, b->Init(w, h, px.data()));
        return b;
    }
    static RECT R(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

    Factories fx;
    IRenderTarget* rt = nullptr;
};

TEST_F(TargetTest, NewTargetIsTransparentBlack) {
    EXPECT_EQ(32 * 24, Count(R(0, 0, 32, 24), 0));
    EXPECT_EQ(0xFF000000u, rt->GetTextColor());
}

TEST_F(TargetTest, FillSolidRectPremultiplies) {
    RECT rc = R(2, 2, 6, 5);
    rt->FillSolidRect(&rc, 0x800000FF);
    EXPECT_EQ(12, Count(R(0, 0, 32, 24), 0x80800000));
    EXPECT_EQ(0u, Px(6, 2));
    rc = R(10, 10, 12, 12);
    rt->FillSolidRect(&rc, 0xFF00FF00);
    EXPECT_EQ(0xFF00FF00u, Px(10, 10));
    EXPECT_EQ(0xFF00FF00u, Px(11, 11));
    EXPECT_EQ(0u, Px(12, 12));
}

TEST_F(TargetTest, FillOutsideOrPartlyOutsideTheTarget) {
    struct { RECT rc; int inside; } cases[] = {
        {R(-5, -5, 3, 3), 9}, {R(30, 20, 100000, 100000), 8}, {R(40, 40, 50, 50), 0}, {R(5, 5, 5, 9), 0}, {R(8, 8, 2, 2), 0},
    };
    for (auto& c : cases) {
        RECT all = R(0, 0, 32, 24);
        rt->ClearRect(&all, 0);
        EXPECT_EQ(S_OK, rt->FillSolidRect(&c.rc, 0xFF0000FF));
        EXPECT_EQ(c.inside, Count(all, 0xFFFF0000));
        EXPECT_EQ(S_OK, rt->ClearRect(&c.rc, 0xFF00FF00));
        EXPECT_EQ(c.inside, Count(all, 0xFF00FF00));
    }
}

TEST_F(TargetTest, ClearRectWritesPremultipliedColourAndAlpha) {
    RECT all = R(0, 0, 32, 24);
    rt->FillSolidRect(&all, 0xFFFFFFFF);
    RECT rc = R(1, 1, 4, 4);
    rt->ClearRect(&rc, 0x00000000);
    EXPECT_EQ(9, Count(all, 0));
    rc = R(5, 5, 7, 7);
    rt->ClearRect(&rc, 0x80FF0000);  // blue at alpha 128
    EXPECT_EQ(0x80000080u, Px(5, 5));
    EXPECT_EQ(0xFFFFFFFFu, Px(7, 7));
}

TEST_F(TargetTest, InvertRectKeepsAlpha) {
    rt->SetPixel(3, 3, 0x80402010);
    rt->SetPixel(4, 3, 0xFF000000);
    RECT rc = R(3, 3, 5, 4);
    EXPECT_EQ(S_OK, rt->InvertRect(&rc));
    EXPECT_EQ(0x80BFDFEFu, Px(3, 3));
    EXPECT_EQ(0xFFFFFFFFu, Px(4, 3));
    EXPECT_EQ(0u, Px(5, 3));
}

TEST_F(TargetTest, TextKeepsCoveredAlphaAndCarriesTextAlpha) {
    RECT all = R(0, 0, 32, 24);
    RECT left = R(0, 0, 16, 24);
    rt->ClearRect(&left, 0x40FFFFFF);  // white at alpha 0x40: 0x40404040 premultiplied
    rt->SetTextColor(0x80FFFFFF);
    RECT rc = all;
    EXPECT_EQ(S_OK, rt->DrawText(L"WWWW", 4, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE));
    int drawnOnClear = 0, untouchedBg = 0, other = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 32; ++x) {
            DWORD p = Px(x, y), a = p >> 24;
            if (x < 16) {
                if (p == 0x40404040) ++untouchedBg;
                else if (a < 0x40) ++other;  // text never lowers the alpha beneath it
            } else if (p != 0) {
                if (a >= 0x7F && a <= 0x81) ++drawnOnClear;
                else ++other;
            }
        }
    }
    EXPECT_GT(drawnOnClear, 0);
    EXPECT_GT(untouchedBg, 0);
    EXPECT_EQ(0, other);
}

TEST_F(TargetTest, DrawTextEmptyAndMeasuring) {
    RECT all = R(0, 0, 32, 24);
    RECT rc = all;
    EXPECT_EQ(S_OK, rt->DrawText(L"abc", 0, &rc, 0));
    EXPECT_EQ(32 * 24, Count(all, 0));
    rc = R(0, 0, 0, 0);
    EXPECT_EQ(S_OK, rt->DrawText(L"abc", 3, &rc, DT_CALCRECT | DT_SINGLELINE));
    EXPECT_EQ(32 * 24, Count(all, 0));
    SIZE sz{};
    rt->MeasureText(L"abc", -1, &sz);
    EXPECT_EQ(sz.cx, rc.right);
    EXPECT_EQ(sz.cy, rc.bottom);
    EXPECT_GT(sz.cx, 0);
}

// A layout's "textMode" reaches DrawText as it is: the text handed over is
// const (often a shared string), so no flag may make the system write into it.
TEST_F(TargetTest, DrawTextNeverWritesIntoTheText) {
    const wchar_t original[] = L"WWWWWWWWWWWW\0guard";
    const UINT formats[] = {DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE,
                            DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE,
                            DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT};
    for (UINT format : formats) {
        for (int length : {12, -1}) {
            wchar_t text[sizeof original / sizeof original[0]];
            memcpy(text, original, sizeof original);
            RECT rc = R(0, 0, 6, 24);
            EXPECT_EQ(S_OK, rt->DrawText(text, length, &rc, format));
            EXPECT_EQ(0, memcmp(text, original, sizeof original)) << std::hex << format << " " << std::dec << length;
        }
    }
}

TEST_F(TargetTest, TextOutDrawsWithinMeasuredBox) {
    SIZE sz{};
    rt->MeasureText(L"Hi", 2, &sz);
    EXPECT_EQ(S_OK, rt->TextOut(2, 1, L"Hi", 2));
    int inside = 0, outside = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x) {
            bool in = x >= 2 && x < 2 + sz.cx && y >= 1 && y < 1 + sz.cy;
            if (Px(x, y) != 0) (in ? inside : outside)++;
        }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(0, outside);
}

TEST_F(TargetTest, GradientsAtFullAndHalfAlpha) {
    RECT rc = R(0, 0, 32, 4);
    rt->GradientFill(&rc, FALSE, 0xFF0000FF, 0xFFFF0000, 255);
    DWORD l = Px(0, 0), r = Px(31, 0);
    EXPECT_EQ(0xFFu, l >> 24);
    EXPECT_EQ(0xFFu, r >> 24);
    EXPECT_GT((l >> 16) & 0xFF, 0xF0u);  // red at the left
    EXPECT_GT(r & 0xFF, 0xF0u);          // blue at the right
    rc = R(0, 8, 32, 12);
    rt->GradientFill(&rc, FALSE, 0xFF0000FF, 0xFFFF0000, 128);
    for (int x : {0, 15, 31}) EXPECT_NEAR(128, int(Px(x, 9) >> 24), 1) << x;
    // The same colours as at full alpha, premultiplied by 128.
    EXPECT_NEAR(int(((l >> 16) & 0xFF) * 128 / 255), int((Px(0, 9) >> 16) & 0xFF), 1);
    EXPECT_NEAR(int((r & 0xFF) * 128 / 255), int(Px(31, 9) & 0xFF), 1);
    rc = R(0, 16, 4, 24);
    rt->GradientFill(&rc, TRUE, 0xFF000000, 0xFFFFFFFF, 255);
    EXPECT_LT(Px(0, 16) & 0xFF, Px(0, 23) & 0xFF);
}

TEST_F(TargetTest, ClipStackAndViewportOrigin) {
    RECT all = R(0, 0, 32, 24);
    RECT clip = R(2, 2, 6, 6);
    rt->PushClipRect(&clip, RGN_AND);
    rt->FillSolidRect(&all, 0xFF0000FF);
    EXPECT_EQ(16, Count(all, 0xFFFF0000));
    RECT box{};
    rt->GetClipBox(&box);
    EXPECT_TRUE(EqualRect(&box, &clip));
    rt->PopClip();
    rt->FillSolidRect(&all, 0xFF00FF00);
    EXPECT_EQ(32 * 24, Count(all, 0xFF00FF00));

    POINT old{1, 1};
    rt->OffsetViewportOrg(10, 5, &old);
    EXPECT_EQ(0, old.x);
    RECT cell = R(0, 0, 2, 2);
    rt->FillSolidRect(&cell, 0xFF0000FF);
    EXPECT_EQ(0xFFFF0000u, rt->GetPixel(0, 0));  // logical
    EXPECT_EQ(0xFFFF0000u, Px(11, 6));           // device
    EXPECT_EQ(0xFF00FF00u, Px(12, 7));
    // A clip pushed under an origin is placed in logical units too.
    rt->PushClipRect(&cell, RGN_AND);
    IRegion* rgn = nullptr;
    rt->GetClipRegion(&rgn);
    RECT rbox{};
    rgn->GetRgnBox(&rbox);
    EXPECT_TRUE(EqualRect(&rbox, &cell));
    rgn->Release();
    rt->PopClip();
    rt->SetViewportOrg(POINT{0, 0});
    POINT now{};
    rt->GetViewportOrg(&now);
    EXPECT_EQ(0, now.x);
}

TEST_F(TargetTest, PixelAccessOutsideBitmap) {
    for (POINT p : {POINT{-1, 0}, POINT{0, -1}, POINT{32, 0}, POINT{0, 24}}) {
        EXPECT_EQ(0xFFFFFFu, rt->GetPixel(p.x, p.y));
        EXPECT_EQ(0xFFFFFFu, rt->SetPixel(p.x, p.y, 0x11223344));
    }
    EXPECT_EQ(0u, rt->SetPixel(31, 23, 0x11223344));
    EXPECT_EQ(0x11223344u, rt->GetPixel(31, 23));
}

// A 6x6 bitmap of nine 2x2 cells, each its own opaque colour.
std::vector<DWORD> NineCells() {
    std::vector<DWORD> px(36);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) px[y * 6 + x] = 0xFF000000u | DWORD((y / 2) * 3 + (x / 2) + 1) * 0x111111u;
    return px;
}
DWORD CellColour(int row, int col) { return 0xFF000000u | DWORD(row * 3 + col + 1) * 0x111111u; }

TEST_F(TargetTest, NinePatchStretchSampledCellByCell) {
    IBitmap* bmp = MakeBitmap(6, 6, NineCells());
    RECT dest = R(0, 0, 20, 14), src = R(0, 0, 6, 6), margins = R(2, 2, 2, 2);
    EXPECT_EQ(S_OK, rt->DrawBitmap9Patch(&dest, bmp, &src, &margins, 1, 255));
    // Column and row edges 0,2,18,20 and 0,2,12,14.
    const int cx[3][2] = {{0, 2}, {2, 18}, {18, 20}}, cy[3][2] = {{0, 2}, {2, 12}, {12, 14}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            RECT cell = R(cx[c][0], cy[r][0], cx[c][1], cy[r][1]);
            int n = (cell.right - cell.left) * (cell.bottom - cell.top);
            EXPECT_EQ(n, Count(cell, CellColour(r, c))) << r << "," << c;
        }
    EXPECT_EQ(0u, Px(20, 0));
    bmp->Release();
}

TEST_F(TargetTest, NinePatchTileRepeatsEdgeCells) {
    std::vector<DWORD> px = NineCells();
    px[1 * 6 + 2] = 0xFFFF0000;  // a marker in the top edge cell's left column
    IBitmap* bmp = MakeBitmap(6, 6, px);
    RECT dest = R(0, 0, 11, 6), src = R(0, 0, 6, 6), margins = R(2, 2, 2, 2);
    EXPECT_EQ(S_OK, rt->DrawBitmap9Patch(&dest, bmp, &src, &margins, 2, 255));
    // Top edge spans x 2..9: tiles at 2, 4, 6, 8 (the last cut at 9).
    for (int x = 2; x < 9; ++x) EXPECT_EQ(x % 2 ? CellColour(0, 1) : 0xFFFF0000u, Px(x, 1)) << x;
    EXPECT_EQ(CellColour(0, 2), Px(9, 1));
    bmp->Release();
}

TEST_F(TargetTest, NinePatchNarrowAndOversizedMargins) {
    IBitmap* bmp = MakeBitmap(6, 6, NineCells());
    RECT src = R(0, 0, 6, 6), margins = R(2, 2, 2, 2);
    RECT narrow = R(0, 0, 1, 6);  // narrower than both margins: only the left column
    EXPECT_EQ(S_OK, rt->DrawBitmap9Patch(&narrow, bmp, &src, &margins, 1, 255));
    EXPECT_EQ(CellColour(0, 0), Px(0, 0));
    EXPECT_EQ(CellColour(1, 0), Px(0, 3));
    EXPECT_EQ(0u, Px(1, 0));
    RECT between = R(10, 0, 13, 6);  // 3 wide: left column and 1 pixel of the right
    rt->DrawBitmap9Patch(&between, bmp, &src, &margins, 1, 255);
    EXPECT_EQ(CellColour(0, 0), Px(11, 0));
    EXPECT_EQ(CellColour(0, 2), Px(12, 0));
    RECT wide = R(2, 2, 4, 4), dest = R(20, 0, 30, 10);
    RECT all = R(20, 0, 30, 10);
    EXPECT_EQ(S_FALSE, rt->DrawBitmap9Patch(&dest, bmp, &wide, &margins, 1, 255));
    EXPECT_EQ(100, Count(all, 0));
    bmp->Release();
}

TEST_F(TargetTest, DrawBitmapExModes) {
    IBitmap* bmp = MakeBitmap(6, 6, NineCells());
    RECT all = R(0, 0, 32, 24);
    // Mode 0 clamps to the source cell: no neighbouring cells drawn.
    RECT dest = R(0, 0, 10, 10), cell = R(2, 2, 4, 4);
    EXPECT_EQ(S_OK, rt->DrawBitmapEx(&dest, bmp, &cell, 0, 255));
    EXPECT_EQ(4, Count(all, CellColour(1, 1)));
    EXPECT_EQ(32 * 24 - 4, Count(all, 0));
    // A cell reaching past the bitmap is clamped to it.
    rt->ClearRect(&all, 0);
    RECT past = R(4, 4, 40, 40);
    EXPECT_EQ(S_OK, rt->DrawBitmapEx(&dest, bmp, &past, 1, 255));
    EXPECT_EQ(100, Count(all, CellColour(2, 2)));
    // An empty or outside cell draws nothing in every mode and returns.
    rt->ClearRect(&all, 0);
    RECT empty = R(3, 3, 3, 5), outside = R(10, 10, 12, 12);
    for (UINT mode : {0u, 1u, 2u}) {
        EXPECT_EQ(S_OK, rt->DrawBitmapEx(&all, bmp, &empty, mode, 255));
        EXPECT_EQ(S_OK, rt->DrawBitmapEx(&all, bmp, &outside, mode, 255));
    }
    EXPECT_EQ(32 * 24, Count(all, 0));
    // Tiling a 1x1 cell covers the destination exactly.
    RECT one = R(0, 0, 1, 1), tdest = R(3, 3, 8, 6);
    rt->DrawBitmapEx(&tdest, bmp, &one, 2, 255);
    EXPECT_EQ(15, Count(all, CellColour(0, 0)));
    bmp->Release();
}

TEST_F(TargetTest, DrawBitmapWithConstantAlpha) {
    IBitmap* bmp = MakeBitmap(2, 1, {0xFFFFFFFF, 0x80800000});
    RECT dest = R(0, 0, 5, 5);
    EXPECT_EQ(S_OK, rt->DrawBitmap(&dest, bmp, 0, 0, 128));
    EXPECT_NEAR(128, int(Px(0, 0) >> 24), 1);
    EXPECT_NEAR(128, int(Px(0, 0) & 0xFF), 1);
    EXPECT_NEAR(64, int(Px(1, 0) >> 24), 1);
    EXPECT_EQ(0u, Px(2, 0));  // clamped to the bitmap's width
    EXPECT_EQ(0u, Px(0, 1));
    bmp->Release();
}

TEST_F(TargetTest, BlitAndBlendBetweenTargets) {
    IRenderTarget* other = nullptr;
    ASSERT_EQ(S_OK, rt->CreateCompatibleRenderTarget(SIZE{4, 4}, &other));
    RECT all4 = R(0, 0, 4, 4);
    other->ClearRect(&all4, 0x80FF0000);  // blue at alpha 128: 0x80000080 premultiplied
    RECT dest = R(0, 0, 4, 4);
    rt->BitBlt(&dest, other, 0, 0, SRCCOPY);
    EXPECT_EQ(0x80000080u, Px(3, 3));
    RECT d2 = R(10, 0, 18, 8);
    EXPECT_EQ(S_OK, rt->AlphaBlend(&d2, other, &all4, 255));
    EXPECT_EQ(64, Count(d2, 0x80000080));
    other->Release();
}

TEST_F(TargetTest, OutlinesKeepAlphaAndFillsUseBrushAlpha) {
    RECT all = R(0, 0, 32, 24);
    rt->ClearRect(&all, 0x40000000);
    RECT rc = R(2, 2, 10, 10);
    rt->DrawRectangle(&rc);
    // The outline is drawn straight on the DIB and keeps the alpha beneath it.
    EXPECT_EQ(0x40000000u, Px(2, 2));
    EXPECT_EQ(0x40000000u, Px(5, 5));
    IBrush* brush = nullptr;
    rt->CreateSolidColorBrush(0x80FF0000, &brush);
    rt->SelectObject(brush, nullptr);
    brush->Release();
    RECT fill = R(12, 2, 16, 6);
    rt->FillRectangle(&fill);
    EXPECT_EQ(16, Count(R(12, 2, 16, 6), Px(13, 3)));
    EXPECT_NEAR(0xA0, int(Px(13, 3) >> 24), 1);  // 128 over 64
    EXPECT_EQ(0x40000000u, Px(16, 6));
    RECT ell = R(20, 2, 30, 12);
    rt->FillSolidEllipse(&ell, 0xFF00FF00);
    EXPECT_EQ(0xFF00FF00u, Px(25, 7));
    EXPECT_EQ(0x40000000u, Px(20, 2));
}

TEST_F(TargetTest, LinesAndRoundRects) {
    IPen* pen = nullptr;
    rt->CreatePen(PS_SOLID, 0xFF0000FF, 1, &pen);
    rt->SelectObject(pen, nullptr);
    pen->Release();
    POINT pts[] = {{1, 1}, {10, 1}, {10, 5}};
    rt->DrawLines(pts, 3);
    EXPECT_EQ(0xFFFF0000u, Px(5, 1));
    EXPECT_EQ(0xFFFF0000u, Px(10, 3));
    EXPECT_EQ(0u, Px(5, 3));
    RECT rr = R(12, 2, 28, 18);
    rt->DrawRoundRect(&rr, POINT{4, 4});
    EXPECT_EQ(0xFFFF0000u, Px(20, 2));  // middle of the top edge
    EXPECT_EQ(0u, Px(12, 2));           // the corner is rounded off
    EXPECT_EQ(0u, Px(20, 10));          // not filled
}

TEST_F(TargetTest, FilledRoundRectHasNoOutline) {
    RECT rr = R(4, 4, 20, 16);
    rt->FillSolidRoundRect(&rr, POINT{6, 6}, 0xFF0000FF);
    for (POINT p : {POINT{4, 10}, POINT{19, 10}, POINT{12, 4}, POINT{12, 15}, POINT{12, 10}})
        EXPECT_EQ(0xFFFF0000u, Px(p.x, p.y)) << p.x << "," << p.y;  // edges in the fill colour, not black
    EXPECT_EQ(0u, Px(4, 4));    // the corner is rounded off
    EXPECT_EQ(0u, Px(20, 10));  // nothing past the rectangle
}

TEST_F(TargetTest, ObjectSelection) {
    EXPECT_EQ(E_INVALIDARG, rt->SelectDefaultObject(OT_REGION, nullptr));
    EXPECT_EQ(S_FALSE, rt->SelectDefaultObject(OT_PEN, nullptr));
    IRenderObj* defPen = rt->GetCurrentObject(OT_PEN);
    ASSERT_NE(nullptr, defPen);
    IPen* pen = nullptr;
    rt->CreatePen(PS_SOLID, 0xFF00FF00, 2, &pen);
    IRenderObj* old = nullptr;
    EXPECT_EQ(S_OK, rt->SelectObject(pen, &old));
    EXPECT_EQ(defPen, old);
    EXPECT_EQ(pen, rt->GetCurrentObject(OT_PEN));
    old->Release();
    IRenderObj* was = nullptr;
    EXPECT_EQ(S_OK, rt->SelectDefaultObject(OT_PEN, &was));
    EXPECT_EQ(pen, was);
    was->Release();
    EXPECT_EQ(0, pen->Release());  // the target holds no reference once the default is back
    EXPECT_EQ(nullptr, rt->GetCurrentObject(9));
    IRegion* rgn = nullptr;
    fx.render->CreateRegion(&rgn);
    EXPECT_EQ(S_OK, rt->SelectObject(rgn, nullptr));
    rgn->Release();
    ASSERT_NE(nullptr, rt->GetCurrentObject(OT_FONT));
    EXPECT_STREQ(L"\x5B8B\x4F53", static_cast<IFont*>(rt->GetCurrentObject(OT_FONT))->FamilyName());
    EXPECT_EQ(0xFF000000u, rt->SetTextColor(0x80112233));
    EXPECT_EQ(0x80112233u, rt->GetTextColor());
}

TEST_F(TargetTest, ResizeClearsAndTransformsRoundTrip) {
    RECT all = R(0, 0, 32, 24);
    rt->FillSolidRect(&all, 0xFFFFFFFF);
    EXPECT_EQ(S_OK, rt->Resize(SIZE{8, 8}));
    EXPECT_EQ(64, Count(R(0, 0, 8, 8), 0));
    EXPECT_EQ(0xFFFFFFu, rt->GetPixel(8, 0));
    XFORM x{2, 0, 0, 2, 1, 1}, old{}, now{};
    EXPECT_EQ(S_OK, rt->SetTransform(&x, &old));
    EXPECT_EQ(1.0f, old.eM11);
    EXPECT_EQ(S_OK, rt->GetTransform(&now));
    EXPECT_EQ(2.0f, now.eM11);
    EXPECT_EQ(E_NOTIMPL, rt->GradientFillEx(nullptr, nullptr, nullptr, nullptr, 0, 255));
}

// A surface that cannot be made (too large) or has no pixels: the DC goes back
// to the bitmap it was made with, so the old DIB is not kept alive by being
// selected after its owner let it go, and the target recovers.
TEST_F(TargetTest, ASurfaceThatCannotBeMadeLeavesNoBitmapSelected) {
    HDC fresh = CreateCompatibleDC(nullptr);
    const HGDIOBJ dcOwn = GetCurrentObject(fresh, OBJ_BITMAP);
    DeleteDC(fresh);
    auto selected = [this] {
        HDC dc = rt->GetDC(0);
        HGDIOBJ bmp = GetCurrentObject(dc, OBJ_BITMAP);
        rt->ReleaseDC(dc);
        return bmp;
    };
    const SIZE tooLarge{100000, 100000};
    for (bool resize : {true, false}) {
        SCOPED_TRACE(resize ? "Resize" : "SelectObject");
        IBitmap* had = MakeBitmap(4, 4, std::vector<DWORD>(16, 0xFF112233));
        EXPECT_EQ(S_OK, rt->SelectObject(had, nullptr));
        had->Release();  // the target's reference is the last
        const HGDIOBJ old = selected();
        ASSERT_EQ(DWORD(OBJ_BITMAP), GetObjectType(old));
        if (resize) {
            EXPECT_TRUE(FAILED(rt->Resize(tooLarge)));
        } else {
            IBitmap* empty = nullptr;
            fx.render->CreateBitmap(&empty);
            EXPECT_TRUE(FAILED(empty->Init(tooLarge.cx, tooLarge.cy, nullptr)));
            EXPECT_EQ(S_OK, rt->SelectObject(empty, nullptr));
            empty->Release();
        }
        EXPECT_EQ(0u, GetObjectType(old)) << "the old DIB outlives its owner";
        EXPECT_EQ(dcOwn, selected());
        EXPECT_EQ(0u, static_cast<IBitmap*>(rt->GetCurrentObject(OT_BITMAP))->Width());
        EXPECT_EQ(S_OK, rt->Resize(SIZE{8, 8}));
        RECT rc = R(1, 1, 3, 3);
        rt->FillSolidRect(&rc, 0xFF0000FF);
        EXPECT_EQ(4, Count(R(0, 0, 8, 8), 0xFFFF0000));
    }
}

}  // namespace

namespace {

// Which pixels of a w x h DIB a plain GDI call draws (red on transparent black).
std::vector<bool> GdiMask(int w, int h, void (*draw)(HDC)) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
    draw(dc);
    GdiFlush();
    std::vector<bool> mask(size_t(w) * h);
    for (size_t i = 0; i < mask.size(); ++i) mask[i] = (static_cast<DWORD*>(bits)[i] & 0xFFFFFF) != 0;
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, old);
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteDC(dc);
    DeleteObject(dib);
    return mask;
}

class ShapeTest : public TargetTest {
protected:
    void UsePen(COLORREF cr, int width = 1) {
        IPen* pen = nullptr;
        rt->CreatePen(PS_SOLID, cr, width, &pen);
        rt->SelectObject(pen, nullptr);
        pen->Release();
    }
    void UseBrush(COLORREF cr) {
        IBrush* brush = nullptr;
        rt->CreateSolidColorBrush(cr, &brush);
        rt->SelectObject(brush, nullptr);
        brush->Release();
    }
    // Pixels that are not transparent black, in rect (device units).
    std::vector<bool> Mask(const RECT& r) {
        std::vector<bool> m;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) m.push_back(Px(x, y) != 0);
        return m;
    }
    // Drawn pixels in the quadrants around (cx, cy): above-left, above-right,
    // below-left, below-right; the axes themselves count in none.
    std::vector<int> Quadrants(int cx, int cy) {
        std::vector<int> q(4, 0);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                if (Px(x, y) != 0 && x != cx && y != cy) ++q[(y > cy ? 2 : 0) + (x > cx ? 1 : 0)];
        return q;
    }
};

// Angles go clockwise on the screen (y grows downwards) from the start angle
// by the sweep; a negative sweep goes the other way.
TEST_F(ShapeTest, ArcsSweepFromTheStartAngle) {
    UsePen(0xFF0000FF);
    RECT rc = R(0, 0, 21, 21);  // centre (10, 10), radius 10
    struct Case {
        float start, sweep;
        int quadrant;  // the only one drawn
    } cases[] = {{0, 90, 3}, {90, 90, 2}, {180, 90, 0}, {270, 90, 1}, {0, -90, 1}, {-90, 90, 1}};
    for (const Case& c : cases) {
        RECT all = R(0, 0, 32, 24);
        rt->ClearRect(&all, 0);
        EXPECT_EQ(S_OK, rt->DrawArc(&rc, c.start, c.sweep, FALSE));
        std::vector<int> q = Quadrants(10, 10);
        for (int i = 0; i < 4; ++i)
            if (i == c.quadrant) EXPECT_GT(q[i], 5) << c.start << "+" << c.sweep << " quadrant " << i;
            else EXPECT_EQ(0, q[i]) << c.start << "+" << c.sweep << " quadrant " << i;
        EXPECT_EQ(0u, Px(14, 14)) << "an arc has no inside";
    }
    // With the centre: the chord closes it; the fill covers the segment only.
    RECT all = R(0, 0, 32, 24);
    rt->ClearRect(&all, 0);
    rt->DrawArc(&rc, 0, 90, TRUE);
    EXPECT_EQ(0xFFFF0000u, Px(15, 15));  // on the chord from (20, 10) to (10, 20)
    EXPECT_EQ(0u, Px(17, 16));
    rt->ClearRect(&all, 0);
    UseBrush(0x8000FF00);
    EXPECT_EQ(S_OK, rt->FillArc(&rc, 0, 90));
    EXPECT_EQ(0x80008000u, Px(17, 16));  // inside the segment, at the brush's alpha
    EXPECT_EQ(0u, Px(12, 12));           // the chord's other side
    EXPECT_EQ(0u, Px(3, 3));
    std::vector<int> q = Quadrants(10, 10);
    EXPECT_EQ(0, q[0] + q[1] + q[2]);
    // A pen at half alpha draws half over what is there.
    rt->ClearRect(&all, 0xFF000000);
    UsePen(0x800000FF);
    rt->DrawArc(&rc, 0, 360, FALSE);
    EXPECT_EQ(0xFF800000u, Px(20, 10));
    EXPECT_EQ(0xFF000000u, Px(10, 10));
}

TEST_F(ShapeTest, EllipsesOutlineOrFill) {
    RECT all = R(0, 0, 32, 24), rc = R(2, 2, 22, 18);
    UsePen(0xFF0000FF);
    UseBrush(0xFF00FF00);
    EXPECT_EQ(S_OK, rt->DrawEllipse(&rc));
    EXPECT_EQ(0xFFFF0000u, Px(2, 10));   // left edge
    EXPECT_EQ(0xFFFF0000u, Px(12, 2));   // top edge
    EXPECT_EQ(0u, Px(12, 10)) << "an outline leaves the inside";
    EXPECT_EQ(0u, Px(2, 2));
    // Fills are in the brush (or the given colour) up to the edge, without
    // the pen's outline, and carry their alpha.
    rt->ClearRect(&all, 0);
    UseBrush(0x80FFFFFF);
    EXPECT_EQ(S_OK, rt->FillEllipse(&rc));
    for (POINT p : {POINT{12, 10}, POINT{2, 10}, POINT{12, 2}, POINT{21, 10}, POINT{12, 17}})
        EXPECT_EQ(0x80808080u, Px(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(0u, Px(2, 2));
    EXPECT_EQ(0u, Px(22, 10));
    rt->ClearRect(&all, 0);
    EXPECT_EQ(S_OK, rt->FillSolidEllipse(&rc, 0xFF00FFFF));  // yellow
    for (POINT p : {POINT{12, 10}, POINT{2, 10}, POINT{12, 2}, POINT{21, 10}, POINT{12, 17}})
        EXPECT_EQ(0xFFFFFF00u, Px(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(0u, Px(22, 10));
    // The same coverage as GDI's own ellipse.
    rt->ClearRect(&all, 0);
    rt->FillSolidEllipse(&rc, 0xFF0000FF);
    EXPECT_EQ(GdiMask(32, 24, [](HDC dc) { Ellipse(dc, 2, 2, 22, 18); }), Mask(all));
}

// DrawRoundRect takes the corner's radius, FillRoundRect the ellipse's size.
TEST_F(ShapeTest, RoundRectCornerSizes) {
    RECT all = R(0, 0, 32, 24), rc = R(2, 2, 26, 20);
    UsePen(0xFF0000FF);
    rt->DrawRoundRect(&rc, POINT{4, 4});
    const std::vector<bool> drawn = Mask(all);
    EXPECT_EQ(GdiMask(32, 24, [](HDC dc) {
                  SelectObject(dc, GetStockObject(NULL_BRUSH));
                  RoundRect(dc, 2, 2, 26, 20, 8, 8);
              }),
              drawn);
    EXPECT_NE(GdiMask(32, 24, [](HDC dc) {
                  SelectObject(dc, GetStockObject(NULL_BRUSH));
                  RoundRect(dc, 2, 2, 26, 20, 4, 4);
              }),
              drawn);
    rt->ClearRect(&all, 0);
    UseBrush(0xFF0000FF);
    rt->FillRoundRect(&rc, POINT{4, 4});
    EXPECT_EQ(GdiMask(32, 24, [](HDC dc) {
                  SelectObject(dc, GetStockObject(NULL_PEN));
                  RoundRect(dc, 2, 2, 26, 20, 4, 4);
              }),
              Mask(all));
}

// Icons of 4 x 4 whose left half shows and right half is transparent: one
// with a 32-bit colour image carrying alpha (opaque red on the left), one of
// the older kind with a mask and a 1-bit colour image (white on the left).
HICON MakeIcon(bool withAlpha) {
    // Bitmap rows are padded to 16 bits; the first byte holds the left pixels.
    const WORD maskRows[4] = {0x30, 0x30, 0x30, 0x30}, colourRows[4] = {0xC0, 0xC0, 0xC0, 0xC0};
    HBITMAP mask = CreateBitmap(4, 4, 1, 1, maskRows);
    HBITMAP color = nullptr;
    if (withAlpha) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        for (int i = 0; i < 16; ++i) static_cast<DWORD*>(bits)[i] = (i % 4) < 2 ? 0xFFFF0000u : 0u;
    } else {
        color = CreateBitmap(4, 4, 1, 1, colourRows);
    }
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
    DeleteObject(color);
    return icon;
}

TEST_F(ShapeTest, IconsWithAndWithoutAlpha) {
    RECT all = R(0, 0, 32, 24);
    rt->ClearRect(&all, 0x80000000);  // black at half alpha
    HICON alpha = MakeIcon(true), mask = MakeIcon(false);
    ASSERT_NE(nullptr, alpha);
    ASSERT_NE(nullptr, mask);
    // An icon with alpha blends in and makes its opaque pixels opaque; a mask
    // icon is drawn by GDI straight on the target, so the alpha beneath stays.
    // Either way the transparent half leaves the target as it was.
    struct Case {
        HICON icon;
        int x, size, drawnSize;  // size 0: the icon's own
        DWORD shown;
    } cases[] = {
        {alpha, 2, 4, 4, 0xFFFF0000},
        {alpha, 7, 8, 8, 0xFFFF0000},  // stretched
        {mask, 16, 4, 4, 0x80FFFFFF},
        {mask, 22, 0, 4, 0x80FFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(S_OK, rt->DrawIconEx(c.x, 2, c.icon, c.size, c.size, DI_NORMAL));
        for (int y = 2; y < 2 + c.drawnSize; ++y)
            for (int x = c.x; x < c.x + c.drawnSize + 1; ++x)
                EXPECT_EQ(x < c.x + c.drawnSize / 2 ? c.shown : 0x80000000u, Px(x, y)) << c.x << ": " << x << "," << y;
    }
    EXPECT_EQ(S_FALSE, rt->DrawIconEx(0, 0, nullptr, 4, 4, DI_NORMAL));
    DestroyIcon(alpha);
    DestroyIcon(mask);
}

// A 2 x 2 checker: the pattern follows the target's pixel grid wherever the
// fill starts, so two fills side by side meet without a seam.
TEST_F(ShapeTest, PatternBrushTilesFromTheTargetsOrigin) {
    IBitmap* bmp = MakeBitmap(2, 2, {0x80800000, 0xFF0000FF, 0xFF0000FF, 0x80800000});
    IBrush* brush = nullptr;
    ASSERT_EQ(S_OK, rt->CreateBitmapBrush(bmp, &brush));
    EXPECT_EQ(E_INVALIDARG, rt->CreateBitmapBrush(nullptr, &brush));
    rt->SelectObject(brush, nullptr);
    brush->Release();
    bmp->Release();
    // Opaque, whatever the image's alpha; the colour bytes as they are stored.
    auto expected = [](int x, int y) { return (x + y) % 2 ? 0xFF0000FFu : 0xFF800000u; };
    RECT a = R(1, 1, 6, 7), b = R(6, 1, 11, 7), clipped = R(-3, 10, 4, 15);
    rt->FillRectangle(&a);
    rt->FillRectangle(&b);
    rt->FillRectangle(&clipped);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 12; ++x) {
            bool in = (y >= 1 && y < 7 && x >= 1 && x < 11) || (y >= 10 && y < 15 && x < 4);
            EXPECT_EQ(in ? expected(x, y) : 0u, Px(x, y)) << x << "," << y;
        }
    // Under a moved origin too, as GDI's own brush origin is in device units.
    rt->SetViewportOrg(POINT{21, 2});
    RECT c = R(0, 0, 4, 4);
    rt->FillRectangle(&c);
    RECT e = R(2, 1, 8, 6);
    rt->FillEllipse(&e);
    for (int y = 2; y < 6; ++y)
        for (int x = 21; x < 25; ++x) EXPECT_EQ(expected(x, y), Px(x, y)) << x << "," << y;
    EXPECT_EQ(expected(26, 5), Px(26, 5));  // inside the ellipse
    EXPECT_EQ(0u, Px(28, 3)) << "the corner of the ellipse's box";
}

TEST_F(ShapeTest, RegionClips) {
    RECT all = R(0, 0, 32, 24);
    IRegion* rgn = nullptr;
    fx.render->CreateRegion(&rgn);
    RECT r1 = R(2, 2, 6, 6), r2 = R(10, 2, 14, 6);
    rgn->CombineRect(&r1, RGN_OR);
    rgn->CombineRect(&r2, RGN_OR);
    EXPECT_EQ(S_OK, rt->PushClipRegion(rgn, RGN_AND));
    rt->FillSolidRect(&all, 0xFF0000FF);
    EXPECT_EQ(32, Count(all, 0xFFFF0000));
    EXPECT_EQ(0xFFFF0000u, Px(5, 5));
    EXPECT_EQ(0u, Px(8, 3));
    // Nested: a rectangle across both parts keeps only what both allow.
    RECT band = R(0, 4, 32, 5);
    rt->PushClipRect(&band, RGN_AND);
    rt->FillSolidRect(&all, 0xFF00FF00);
    EXPECT_EQ(8, Count(all, 0xFF00FF00));
    rt->PopClip();
    rt->FillSolidRect(&all, 0xFFFFFFFF);
    EXPECT_EQ(32, Count(all, 0xFFFFFFFF));
    rt->PopClip();
    // The region is in logical units: under an origin it moves with the drawing.
    rt->ClearRect(&all, 0);
    rt->SetViewportOrg(POINT{10, 10});
    rt->PushClipRegion(rgn, RGN_AND);
    IRegion* clip = nullptr;
    rt->GetClipRegion(&clip);
    EXPECT_TRUE(clip->PtInRegion(POINT{3, 3}));
    EXPECT_FALSE(clip->PtInRegion(POINT{8, 3}));
    clip->Release();
    RECT logical = R(-10, -10, 22, 14);
    rt->FillSolidRect(&logical, 0xFF0000FF);
    EXPECT_EQ(0xFFFF0000u, Px(12, 12));
    EXPECT_EQ(0xFFFF0000u, Px(23, 15));
    EXPECT_EQ(0u, Px(2, 2));
    EXPECT_EQ(32, Count(all, 0xFFFF0000));
    rt->PopClip();
    rgn->Release();
}

TEST_F(ShapeTest, ExcludeIntersectSaveAndRestore) {
    RECT all = R(0, 0, 32, 24);
    int state = 0;
    EXPECT_EQ(S_OK, rt->SaveClip(&state));
    EXPECT_GT(state, 0);
    RECT hole = R(4, 4, 8, 8);
    EXPECT_EQ(S_OK, rt->ExcludeClipRect(&hole));
    rt->FillSolidRect(&all, 0xFF0000FF);
    EXPECT_EQ(32 * 24 - 16, Count(all, 0xFFFF0000));
    EXPECT_EQ(0u, Px(5, 5));
    IRegion* clip = nullptr;
    rt->GetClipRegion(&clip);
    EXPECT_FALSE(clip->PtInRegion(POINT{5, 5}));
    EXPECT_TRUE(clip->PtInRegion(POINT{0, 0}));
    clip->Release();
    // Intersections add up, in logical units, and no state is saved for them.
    int inner = 0;
    rt->SaveClip(&inner);
    EXPECT_EQ(state + 1, inner);
    rt->SetViewportOrg(POINT{2, 0});
    RECT a = R(0, 0, 10, 10), b = R(4, 0, 20, 2);
    rt->IntersectClipRect(&a);
    rt->IntersectClipRect(&b);
    rt->SetViewportOrg(POINT{0, 0});
    rt->FillSolidRect(&all, 0xFF00FF00);
    EXPECT_EQ(12, Count(all, 0xFF00FF00));  // device (6, 0)-(12, 2)
    EXPECT_EQ(0xFF00FF00u, Px(6, 0));
    EXPECT_EQ(0xFFFF0000u, Px(5, 0));
    // Restoring the inner state brings the hole back; the outer one the whole target.
    rt->RestoreClip(inner);
    rt->FillSolidRect(&all, 0xFFFFFFFF);
    EXPECT_EQ(32 * 24 - 16, Count(all, 0xFFFFFFFF));
    rt->RestoreClip(state);
    RECT box{};
    rt->GetClipBox(&box);
    EXPECT_TRUE(EqualRect(&box, &all));
    rt->FillSolidRect(&all, 0xFF000000);
    EXPECT_EQ(32 * 24, Count(all, 0xFF000000));
    // A relative restore pops the latest save.
    rt->SaveClip(nullptr);
    rt->IntersectClipRect(&hole);
    rt->RestoreClip(-1);
    rt->GetClipBox(&box);
    EXPECT_TRUE(EqualRect(&box, &all));
}

}  // namespace
