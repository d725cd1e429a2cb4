// HSL conversions, colourising, grey and average colours.
#include "RenderTestUtil.h"
#include "render/BitmapColor.h"
#include "render/IRenderObj.h"

using namespace WUI;
using namespace rendertest;

namespace {

TEST(Hsl, RgbToHslTable) {
    struct { DWORD rgb, hsl; } cases[] = {
        {0x808080, 0xAA0080},  // grey: H 170, S 0, L 128
        {0xFF0000, 0x00FF80},  // red
        {0x00FF00, 0x55FF80},  // green: H 85
        {0x0000FF, 0xAAFF80},  // blue: H 170
        {0x000000, 0xAA0000},
        {0xFFFFFF, 0xAA00FF},
        {0xFF00FF, 0xD6FF80},  // magenta: a tie goes to red, H = 0 - 42 = 214
    };
    for (auto& c : cases) EXPECT_EQ(c.hsl, RGB2HSL(c.rgb)) << std::hex << c.rgb;
}

TEST(Hsl, HslToRgbRoundTrips) {
    for (DWORD rgb : {0xFF0000u, 0x00FF00u, 0x0000FFu, 0x808080u, 0x336699u, 0xC08040u}) {
        DWORD back = HSL2RGB(RGB2HSL(rgb));
        for (int s = 0; s < 24; s += 8) EXPECT_NEAR(int((rgb >> s) & 0xFF), int((back >> s) & 0xFF), 4) << std::hex << rgb;
    }
    DWORD grey = HSL2RGB(0x000080);  // no saturation: grey
    for (int s = 0; s < 24; s += 8) EXPECT_NEAR(128, int((grey >> s) & 0xFF), 1);
}

TEST(Hsl, SwapRedBlue) {
    EXPECT_EQ(0x00332211u, SwapRedBlue(0xFF112233));
}

TEST(Colorize, Colours) {
    COLORREF clear = 0x00707070;
    EXPECT_TRUE(ColorizeColor(clear, 0x000000FF));
    EXPECT_EQ(0x00707070u, clear);
    // Opaque grey towards red: (128*52 + 255*204) >> 8 = 229 in the red byte.
    COLORREF grey = 0xFF808080;
    ColorizeColor(grey, 0x000000FF);
    EXPECT_EQ(0xFFu, grey >> 24);
    EXPECT_NEAR(229, int(grey & 0xFF), 1);
    EXPECT_NEAR(26, int((grey >> 8) & 0xFF), 1);
    EXPECT_NEAR(26, int((grey >> 16) & 0xFF), 1);
    // Premultiplied grey at half alpha: un-premultiplied, tinted, premultiplied again.
    COLORREF half = 0x80404040;
    ColorizeColor(half, 0x000000FF);
    EXPECT_EQ(0x80u, half >> 24);
    EXPECT_NEAR(114, int(half & 0xFF), 1);
    EXPECT_NEAR(12, int((half >> 8) & 0xFF), 1);
    // Colour bytes above alpha are clamped first: the result stays premultiplied.
    COLORREF over = 0x10FFFFFF;
    ColorizeColor(over, 0x0000FF00);
    for (int s = 0; s < 24; s += 8) EXPECT_LE((over >> s) & 0xFF, 0x10u);
}

class BitmapHelpers : public ::testing::Test {
protected:
    IBitmap* Make(int w, int h, const std::vector<DWORD>& px) {
        IBitmap* b = nullptr;
        fx.render->CreateBitmap(&b);
        b->Init(w, h, px.data());
        return b;
    }
    Factories fx;
};

TEST_F(BitmapHelpers, ColorizeAndGrayBitmaps) {
    IBitmap* b = Make(2, 1, {0xFF808080, 0x00112233});
    EXPECT_TRUE(ColorizeBitmap(b, 0x000000FF));
    const DWORD* px = static_cast<const DWORD*>(b->GetPixelBits());
    EXPECT_NEAR(229, int(px[0] & 0xFF), 1);
    EXPECT_EQ(0x00112233u, px[1]);
    IBitmap* g = Make(2, 1, {0xFF0000FF, 0x80000080});
    EXPECT_TRUE(GrayBitmap(g));
    px = static_cast<const DWORD*>(g->GetPixelBits());
    EXPECT_EQ(0xFF4C4C4Cu, px[0]);  // (306 * 255) >> 10 = 76
    EXPECT_EQ(0x80262626u, px[1]);  // (306 * 128) >> 10 = 38, alpha kept
    IBitmap* empty = nullptr;
    fx.render->CreateBitmap(&empty);
    EXPECT_FALSE(ColorizeBitmap(empty, 0xFF));
    EXPECT_FALSE(GrayBitmap(empty));
    EXPECT_EQ(0u, AverageColor(empty, 50, 1));
    EXPECT_FALSE(ForEachPixel(BitmapView{}, [](BYTE*, void*) {}, nullptr));
    empty->Release();
    g->Release();
    b->Release();
}

TEST_F(BitmapHelpers, AverageColorTrimsBrightestAndDarkest) {
    // Eight 1x1 blocks whose byte 0 lies unevenly (0, 10, 20, 40, 80, 90, 95,
    // 255), so every trim keeps a different middle.
    IBitmap* b = Make(4, 2, {0xFF000000, 0xFF0000FF, 0xFF00000A, 0xFF000014, 0xFF000028, 0xFF000050, 0xFF00005A, 0xFF00005F});
    struct Case {
        int percent, block;
        DWORD mean;
    } cases[] = {
        {100, 1, 73},   // every block: 590 / 8
        {75, 1, 55},    // one off each end: 10..95
        {50, 1, 57},    // two off each end: 20..90
        {0, 1, 60},     // an even count keeps the middle pair: 40 and 80
        {250, 0, 73},   // percent and block size clamped
        {-20, 1, 60},
        {100, 3, 68},   // blocks of 3: 3x2 (0,255,10,40,80,90 -> 79) and the clipped 1x2 (20,95 -> 57)
        {100, 1000, 73},
    };
    for (const Case& c : cases) EXPECT_EQ(c.mean, AverageColor(b, c.percent, c.block)) << c.percent << "% of " << c.block;
    b->Release();
    IBitmap* skew = Make(4, 1, {0xFF0000FF, 0xFF000010, 0xFF000010, 0xFF000000});
    EXPECT_EQ(0x10u, AverageColor(skew, 50, 1));  // the outliers 255 and 0 are dropped
    skew->Release();
    // Brightness is the sum of the three bytes, not byte 0: (200,0,0) and
    // (50,60,70) stay, (0,0,250) and (10,10,10) go; each byte is averaged apart.
    IBitmap* mixed = Make(4, 1, {0xFF0000C8, 0xFFFA0000, 0xFF0A0A0A, 0xFF463C32});
    EXPECT_EQ(0x00231E7Du, AverageColor(mixed, 50, 1));
    mixed->Release();
}

}  // namespace
