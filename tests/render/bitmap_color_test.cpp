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
    // Eight 1x1 blocks of brightness 10, 20 ... 80 in byte 0 only.
    std::vector<DWORD> px;
    for (DWORD v = 10; v <= 80; v += 10) px.push_back(0xFF000000 | v);
    IBitmap* b = Make(4, 2, px);
    EXPECT_EQ(45u, AverageColor(b, 100, 1));  // every block
    EXPECT_EQ(45u, AverageColor(b, 50, 1));   // drops 2 from each end: 30..60
    EXPECT_EQ(45u, AverageColor(b, 0, 1));    // an even count keeps the middle pair
    EXPECT_EQ(45u, AverageColor(b, 250, 0));  // percent and block size clamped
    EXPECT_EQ(45u, AverageColor(b, -20, 1));
    // 2x2 blocks: means 35 (10,20,50,60) and 55 (30,40,70,80).
    EXPECT_EQ(45u, AverageColor(b, 100, 2));
    EXPECT_EQ(45u, AverageColor(b, 100, 1000));
    b->Release();
    IBitmap* skew = Make(4, 1, {0xFF0000FF, 0xFF000010, 0xFF000010, 0xFF000000});
    EXPECT_EQ(0x10u, AverageColor(skew, 50, 1));  // the outliers 255 and 0 are dropped
    skew->Release();
}

}  // namespace
