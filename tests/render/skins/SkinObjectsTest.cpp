// Skin objects drawn on memory render targets and read back pixel by pixel.
#include <cstring>

#include "SkinTestUtil.h"
#include "render/SSkinButton.h"
#include "render/SSkinColorRect.h"
#include "render/SSkinGradation.h"
#include "render/SSkinImgList.h"
#include "render/SSkinScrollbar.h"

using namespace WUI;
using namespace skintest;

namespace {

const DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
DWORD RedGreenBlue(int i) { return i == 0 ? kRed : i == 1 ? kGreen : kBlue; }
// Pixels that colourising visibly changes, one with partial alpha.
DWORD Mixed(int i) { return i == 0 ? 0xFF804020 : i == 1 ? 0x80402010 : 0xFF20A040; }

std::vector<BYTE> Bytes(IBitmap* b)
{
    const BYTE* p = static_cast<const BYTE*>(b->GetPixelBits());
    return std::vector<BYTE>(p, p + size_t(b->Width()) * b->Height() * 4);
}

class ImgListTest : public SkinTest {};

TEST_F(ImgListTest, CellsOfAHorizontalAndAVerticalStrip)
{
    auto skin = Make<SSkinImgList>(L"imglist", {{L"states", L"3"}});
    SAutoRefPtr<IBitmap> img;
    img.Attach(Strip(30, 3, 30, RedGreenBlue));
    skin->SetImage(img.get());
    EXPECT_EQ(30, skin->GetSkinSize().cx);
    EXPECT_EQ(30, skin->GetSkinSize().cy);
    EXPECT_EQ(3, skin->GetStates());
    EXPECT_FALSE(skin->IgnoresState());
    RECT r{0, 0, 30, 30};
    skin->Draw(rt, &r, 2);
    EXPECT_EQ(kBlue, Px(0, 0));
    EXPECT_EQ(kBlue, Px(29, 29));
    EXPECT_EQ(0u, Px(30, 0));
    skin->Draw(rt, &r, 1);
    EXPECT_EQ(kGreen, Px(15, 15));

    // The same cells stacked: state 2 comes from y = 60.
    std::vector<DWORD> px(30 * 90);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 30; ++x) px[y * 30 + x] = RedGreenBlue(y / 30);
    SAutoRefPtr<IBitmap> tall;
    IBitmap* made = nullptr;
    fx.render->CreateBitmap(&made);
    tall.Attach(made);
    ASSERT_EQ(S_OK, tall->Init(30, 90, px.data()));
    skin->SetImage(tall.get());
    skin->SetAttribute(SStringW(L"vertical"), SStringW(L"1"), TRUE);
    EXPECT_EQ(30, skin->GetSkinSize().cx);
    EXPECT_EQ(30, skin->GetSkinSize().cy);
    skin->Draw(rt, &r, 2);
    EXPECT_EQ(kBlue, Px(10, 10));
}

TEST_F(ImgListTest, StateCountsBelowOneAreRefused)
{
    auto skin = Make<SSkinImgList>(L"imglist", {{L"states", L"3"}});
    SAutoRefPtr<IBitmap> img;
    img.Attach(Strip(30, 3, 30, RedGreenBlue));
    skin->SetImage(img.get());
    for (const wchar_t* bad : {L"0", L"-1", L"-2147483648", L"x", L""}) {
        EXPECT_EQ(E_FAIL, skin->SetAttribute(SStringW(L"states"), SStringW(bad), TRUE)) << bad;
        EXPECT_EQ(3, skin->GetStates()) << bad;
    }
    EXPECT_FALSE(skin->SetStates(0));
    EXPECT_EQ(30, skin->GetSkinSize().cx);
}

TEST_F(ImgListTest, ExpandModes)
{
    struct Case {
        const wchar_t* tag;
        const wchar_t* autoFit;
        const wchar_t* tile;
        const wchar_t* filter;
        UINT mode;
    } cases[] = {
        {L"imglist", L"0", L"0", L"none", 0},
        {L"imglist", L"0", L"1", L"none", 0},
        {L"imglist", L"1", L"0", L"none", 1},
        {L"imglist", L"1", L"1", L"none", 2},
        {L"imglist", L"1", L"0", L"high", 0x30001},
        {L"imgframe", L"0", L"0", L"none", 1},
        {L"imgframe", L"0", L"1", L"low", 0x10002},
    };
    for (const Case& c : cases) {
        auto skin = Make<SSkinImgList>(c.tag, {{L"autoFit", c.autoFit}, {L"tile", c.tile}, {L"filterLevel", c.filter}});
        EXPECT_EQ(c.mode, skin->GetExpandMode()) << c.tag << " autoFit " << c.autoFit << " tile " << c.tile;
    }
}

TEST_F(ImgListTest, SourceFromResourcesAndAFailedSourceKeepsTheImage)
{
    IResProvider* pe = nullptr;
    ASSERT_TRUE(CreateResProvider(0, &pe));
    pe->Init(WPARAM(GetModuleHandleW(nullptr)));
    app.AddResProvider(pe);
    auto skin = Make<SSkinImgList>(L"imglist");
    EXPECT_EQ(1, skin->SetAttribute(SStringW(L"src"), SStringW(L"PNG:SYS_CHECKBOX"), TRUE));
    ASSERT_NE(nullptr, skin->GetImage());
    IBitmap* first = skin->GetImage();
    EXPECT_EQ(128u, first->Width());
    for (const wchar_t* bad : {L"PNG:NO_SUCH_IMAGE", L"PNG", L"", L"file:Z:\\no\\such.png", L"XML:SYS_XML_SKIN"}) {
        EXPECT_EQ(E_FAIL, skin->SetAttribute(SStringW(L"src"), SStringW(bad), TRUE)) << bad;
        EXPECT_EQ(first, skin->GetImage()) << bad;
    }
    app.RemoveResProvider(pe);
    pe->Release();
}

TEST_F(ImgListTest, FrameKeepsItsMarginsWhileStretching)
{
    // One 6x6 cell: a 2-pixel red ring around a green centre.
    std::vector<DWORD> px(36);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) px[y * 6 + x] = (x < 2 || y < 2 || x > 3 || y > 3) ? kRed : kGreen;
    SAutoRefPtr<IBitmap> img;
    IBitmap* made = nullptr;
    fx.render->CreateBitmap(&made);
    img.Attach(made);
    ASSERT_EQ(S_OK, img->Init(6, 6, px.data()));
    auto skin = Make<SSkinImgFrame>(L"imgframe", {{L"margin", L"2,2,2,2"}});
    skin->SetImage(img.get());
    RECT r{0, 0, 40, 20};
    skin->Draw(rt, &r, 0);
    EXPECT_EQ(kRed, Px(0, 0));
    EXPECT_EQ(kRed, Px(1, 10));
    EXPECT_EQ(kRed, Px(38, 18));
    EXPECT_EQ(kGreen, Px(20, 10));
    EXPECT_EQ(kGreen, Px(2, 2));
    EXPECT_EQ(kGreen, Px(37, 17));
}

TEST_F(ImgListTest, AttributeResults)
{
    struct Case {
        const wchar_t* tag;
        const wchar_t* name;
        const wchar_t* value;
        HRESULT result;
    } cases[] = {
        {L"imglist", L"alpha", L"0x180", 0},        {L"imglist", L"ALPHA", L"7", 0},
        {L"imglist", L"enableColorize", L"0", 0},    {L"imglist", L"tile", L"1", 1},
        {L"imglist", L"autoFit", L"0", 1},           {L"imglist", L"vertical", L"1", 1},
        {L"imglist", L"filterLevel", L"medium", 1},  {L"imglist", L"filterLevel", L"Medium", E_FAIL},
        {L"imglist", L"margin", L"1,2,3,4", E_FAIL}, {L"imglist", L"nosuch", L"1", E_FAIL},
        {L"imgframe", L"margin", L"1,2,3,4", 1},     {L"imgframe", L"margin", L"1,2,3", E_FAIL},
        {L"imgframe", L"margin-x", L"2", 1},         {L"imgframe", L"bottom", L"4", 1},
        {L"scrollbar", L"hasInactive", L"1", 1},     {L"scrollbar", L"margin", L"3", 1},
        {L"button", L"colorUp", L"#102030", 0},      {L"button", L"colorUp", L"", E_FAIL},
        {L"button", L"colorBorder", L"rgb(1,2,3)", 0}, {L"button", L"colorDownDisable", L"red", E_FAIL},
        {L"button", L"cornerRadius", L"4", 0},       {L"gradation", L"colorFrom", L"#FFFFFF", 0},
        {L"gradation", L"vertical", L"0", 0},        {L"gradation", L"colorTo", L"", E_FAIL},
        {L"colorrect", L"pushdown", L"#FF0000", 1},  {L"colorrect", L"cornerRadius", L"3", 1},
        {L"colorrect", L"hover", L"#12", E_FAIL},
    };
    for (const Case& c : cases) {
        auto skin = Make<ISkinObj>(c.tag);
        EXPECT_EQ(c.result, skin->SetAttribute(SStringW(c.name), SStringW(c.value), TRUE))
            << c.tag << " " << c.name << "=" << c.value;
    }
    auto alpha = Make<ISkinObj>(L"imglist", {{L"alpha", L"0x180"}});
    EXPECT_EQ(0x80, alpha->GetAlpha());
    auto frame = Make<SSkinImgFrame>(L"imgframe", {{L"margin", L"1,2,3,4"}, {L"margin-y", L"9"}});
    EXPECT_EQ(1, frame->GetMargins().left);
    EXPECT_EQ(9, frame->GetMargins().top);
    EXPECT_EQ(3, frame->GetMargins().right);
    EXPECT_EQ(9, frame->GetMargins().bottom);
}

TEST_F(ImgListTest, ClassTests)
{
    struct Case {
        const wchar_t* tag;
        const wchar_t* asked;
        bool is;
    } cases[] = {
        {L"imgframe", L"imglist", true}, {L"scrollbar", L"imglist", true}, {L"imglist", L"imgframe", false},
        {L"button", L"imglist", false},  {L"colorrect", L"colorrect", true}, {L"gradation", L"button", false},
    };
    for (const Case& c : cases) {
        auto skin = Make<ISkinObj>(c.tag);
        EXPECT_EQ(c.is, skin->IsClass(c.asked) != 0) << c.tag << " as " << c.asked;
        EXPECT_STREQ(c.tag, skin->GetClassName());
    }
}

class ScrollbarTest : public SkinTest {};

TEST_F(ScrollbarTest, PartTable)
{
    auto skin = Make<SSkinScrollbar>(L"scrollbar");
    SAutoRefPtr<IBitmap> img;
    img.Attach(Strip(10, 9, 50, RedGreenBlue));
    skin->SetImage(img.get());
    struct Case {
        int part, state;
        bool vertical, inactive;
        RECT want;
    } cases[] = {
        {SB_THUMBTRACK, 1, true, false, {20, 10, 30, 20}},
        {SB_THUMBTRACK, 1, false, false, {60, 10, 70, 20}},
        {SB_LINEUP, 0, true, false, {0, 0, 10, 10}},
        {SB_LINEDOWN, 2, false, false, {50, 20, 60, 30}},
        {SB_PAGEUP, 0, true, false, {30, 0, 40, 10}},
        {SB_PAGEDOWN, 3, false, false, {70, 30, 80, 40}},
        {kSbPartCorner, 3, true, false, {80, 0, 90, 10}},
        {kSbPartGripper, 2, true, false, {80, 10, 90, 20}},
        {kSbPartGripper, 0, false, false, {80, 20, 90, 30}},
        {SB_THUMBTRACK, 4, true, false, {20, 0, 30, 10}},
        {SB_THUMBTRACK, 4, true, true, {20, 40, 30, 50}},
        {SB_LINEUP, 4, false, true, {40, 40, 50, 50}},
        {7, 0, true, false, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        skin->SetAttribute(SStringW(L"hasInactive"), SStringW(c.inactive ? L"1" : L"0"), TRUE);
        RECT got = skin->GetPartRect(c.part, c.state, c.vertical);
        EXPECT_TRUE(EqualRect(&got, &c.want)) << "part " << c.part << " state " << c.state << " vertical " << c.vertical
                                              << ": " << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    }
    EXPECT_EQ(10, skin->GetIdealSize());
    EXPECT_TRUE(skin->HasArrow());
}

TEST_F(ScrollbarTest, ThumbWithGripperCentred)
{
    // Column 2 (vertical thumb) red, column 8 (corner and grippers) blue.
    auto skin = Make<SSkinScrollbar>(L"scrollbar", {{L"hasGripper", L"1"}});
    SAutoRefPtr<IBitmap> img;
    img.Attach(Strip(10, 9, 50, [](int col) { return col == 8 ? kBlue : col == 2 ? kRed : kGreen; }));
    skin->SetImage(img.get());
    RECT thumb{0, 0, 10, 30};
    skin->Draw(rt, &thumb, MakeSbState(SB_THUMBTRACK, 0, true));
    EXPECT_EQ(kRed, Px(5, 2));
    EXPECT_EQ(kBlue, Px(5, 10));
    EXPECT_EQ(kBlue, Px(5, 19));
    EXPECT_EQ(kRed, Px(5, 25));
    // An unknown part draws nothing.
    Clear();
    skin->Draw(rt, &thumb, MakeSbState(7, 0, true));
    EXPECT_EQ(0u, Px(5, 5));
}

TEST_F(ScrollbarTest, VerticalOnlyBar)
{
    ASSERT_TRUE(app.RegisterFactory(TplSkinFactory<SSkinVScrollbar>()));
    auto skin = Make<SSkinVScrollbar>(L"vscrollbar");
    EXPECT_EQ(3, skin->GetStates());
    EXPECT_TRUE(skin->IsClass(L"scrollbar"));
    EXPECT_TRUE(skin->IsClass(L"imglist"));
    SAutoRefPtr<IBitmap> img;
    img.Attach(Strip(10, 3, 20, RedGreenBlue));
    skin->SetImage(img.get());
    RECT got = skin->GetPartRect(SB_THUMBTRACK, 1, true);
    RECT want{10, 0, 20, 20};
    EXPECT_TRUE(EqualRect(&got, &want));
    got = skin->GetPartRect(SB_THUMBTRACK, 4, true);
    want = RECT{0, 0, 10, 20};
    EXPECT_TRUE(EqualRect(&got, &want));
    for (int part : {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, int(kSbPartCorner), int(kSbPartGripper)})
        EXPECT_TRUE(IsRectEmpty(&(got = skin->GetPartRect(part, 0, true)))) << part;
    EXPECT_TRUE(IsRectEmpty(&(got = skin->GetPartRect(SB_THUMBTRACK, 0, false))));
    EXPECT_EQ(10, skin->GetIdealSize());
    EXPECT_FALSE(skin->HasArrow());
    RECT r{0, 0, 10, 40};
    skin->Draw(rt, &r, MakeSbState(SB_THUMBTRACK, 2, true));
    EXPECT_EQ(kBlue, Px(5, 20));
}

class FillSkinTest : public SkinTest {};

TEST_F(FillSkinTest, ColorRectStatesAndFallback)
{
    auto one = Make<SSkinColorRect>(L"colorrect", {{L"normal", L"#FF0000"}});
    EXPECT_EQ(1, one->GetStates());
    EXPECT_TRUE(one->IgnoresState());
    auto three = Make<SSkinColorRect>(L"colorrect", {{L"normal", L"#FF0000"}, {L"pushdown", L"#0000FF"}});
    EXPECT_EQ(3, three->GetStates());
    EXPECT_FALSE(three->IgnoresState());
    RECT r{0, 0, 10, 10};
    three->Draw(rt, &r, 1);
    EXPECT_EQ(kRed, Px(5, 5));
    three->Draw(rt, &r, 2);
    EXPECT_EQ(kBlue, Px(5, 5));
    Clear();
    three->Draw(rt, &r, 4);
    EXPECT_EQ(0u, Px(5, 5));
    three->DrawWithAlpha(rt, &r, 0, 128);
    EXPECT_EQ(Argb(127, 127, 0, 0), Px(5, 5));
    auto none = Make<SSkinColorRect>(L"colorrect", {{L"normal", L"rgba(255,255,255,0)"}});
    EXPECT_EQ(0, none->GetStates());
}

TEST_F(FillSkinTest, ColorRectRoundCorners)
{
    auto skin = Make<SSkinColorRect>(L"colorrect", {{L"normal", L"#00FF00"}, {L"cornerRadius", L"5"}});
    RECT r{0, 0, 20, 20};
    skin->Draw(rt, &r, 0);
    EXPECT_EQ(0u, Px(0, 0));
    EXPECT_EQ(kGreen, Px(10, 10));
    EXPECT_EQ(kGreen, Px(10, 0));  // no outline of another colour
    EXPECT_EQ(kGreen, Px(0, 10));
    EXPECT_EQ(kGreen, Px(19, 10));
    EXPECT_EQ(kGreen, Px(10, 19));
    EXPECT_EQ(0u, Px(20, 10));
    EXPECT_EQ(0u, Px(10, 20));
}

TEST_F(FillSkinTest, GradationBothDirections)
{
    auto down = Make<SSkinGradation>(L"gradation", {{L"colorFrom", L"#000000"}, {L"colorTo", L"#FFFFFF"}});
    EXPECT_EQ(1, down->GetStates());
    EXPECT_TRUE(down->IgnoresState());
    RECT r{0, 0, 40, 40};
    down->Draw(rt, &r, 0);
    EXPECT_LT(Px(20, 1) & 0xFF, 0x20u);
    EXPECT_GT(Px(20, 38) & 0xFF, 0xE0u);
    EXPECT_EQ(Px(0, 20), Px(39, 20));
    auto across = Make<SSkinGradation>(L"gradation", {{L"colorFrom", L"#000000"}, {L"colorTo", L"#FFFFFF"}, {L"vertical", L"0"}});
    across->Draw(rt, &r, 0);
    EXPECT_LT(Px(1, 20) & 0xFF, 0x20u);
    EXPECT_GT(Px(38, 20) & 0xFF, 0xE0u);
    EXPECT_EQ(Px(20, 0), Px(20, 39));
}

class ButtonTest : public SkinTest {};

TEST_F(ButtonTest, FlatFillWithBorder)
{
    auto skin = Make<SSkinButton>(L"button", {{L"colorUp", L"#204060"}, {L"colorDown", L"#204060"}, {L"colorBorder", L"#FF0000"}});
    EXPECT_EQ(4, skin->GetStates());
    EXPECT_FALSE(skin->IgnoresState());
    EXPECT_EQ(0, skin->GetSkinSize().cx);
    RECT r{0, 0, 30, 20};
    skin->Draw(rt, &r, 0);
    EXPECT_EQ(Argb(255, 0x20, 0x40, 0x60), Px(15, 10));
    EXPECT_EQ(Argb(255, 0x20, 0x40, 0x60), Px(1, 10));
    EXPECT_EQ(kRed, Px(0, 10));
    EXPECT_EQ(kRed, Px(15, 0));
    EXPECT_EQ(kRed, Px(29, 10));
    // cornerRadius 2: no clip, so the fill reaches the corner pixel.
    EXPECT_NE(0u, Px(0, 0));
    Clear();
    skin->Draw(rt, &r, 4);
    EXPECT_EQ(0u, Px(15, 10));
}

TEST_F(ButtonTest, GradientFromUpToDown)
{
    auto skin = Make<SSkinButton>(L"button", {{L"colorUpHover", L"#000000"}, {L"colorDownHover", L"#FFFFFF"}});
    RECT r{0, 0, 30, 40};
    skin->Draw(rt, &r, 1);
    EXPECT_LT(Px(15, 2) & 0xFF, 0x20u);
    EXPECT_GT(Px(15, 37) & 0xFF, 0xE0u);
    EXPECT_EQ(0xFFu, Px(15, 20) >> 24);
}

TEST_F(ButtonTest, UnsetColoursDrawAnOpaqueFace)
{
    auto skin = Make<SSkinButton>(L"button");
    RECT r{0, 0, 30, 20};
    for (DWORD state = 0; state < 4; ++state) {
        Clear();
        skin->Draw(rt, &r, state);
        EXPECT_EQ(0xFFu, Px(15, 10) >> 24) << state;
        EXPECT_EQ(Argb(255, 0x70, 0x70, 0x70), Px(15, 0)) << state;
    }
}

TEST_F(ButtonTest, RoundCornersClip)
{
    auto skin = Make<SSkinButton>(L"button", {{L"colorUp", L"#00FF00"}, {L"colorDown", L"#00FF00"}, {L"cornerRadius", L"6"}});
    RECT r{0, 0, 30, 20};
    skin->Draw(rt, &r, 0);
    EXPECT_EQ(0u, Px(0, 0));
    EXPECT_EQ(0u, Px(29, 19));
    EXPECT_EQ(kGreen, Px(15, 10));
    // The clip is gone afterwards.
    RECT corner{0, 0, 2, 2};
    rt->FillSolidRect(&corner, 0xFFFF0000);
    EXPECT_EQ(kBlue, Px(0, 0));
}

class ColorizeTest : public SkinTest {};

TEST_F(ColorizeTest, ImageSkinStartsFromTheOriginalAndRestoresItExactly)
{
    auto skin = Make<SSkinImgList>(L"imglist", {{L"states", L"3"}});
    SAutoRefPtr<IBitmap> img;
    img.Attach(Strip(4, 3, 4, Mixed));
    skin->SetImage(img.get());
    const std::vector<BYTE> original = Bytes(img.get());

    skin->OnColorize(0xFF0000FF);
    const std::vector<BYTE> red = Bytes(img.get());
    EXPECT_NE(original, red);
    skin->OnColorize(0xFFFF0000);
    const std::vector<BYTE> blueAfterRed = Bytes(img.get());

    auto fresh = Make<SSkinImgList>(L"imglist");
    SAutoRefPtr<IBitmap> img2;
    img2.Attach(Strip(4, 3, 4, Mixed));
    fresh->SetImage(img2.get());
    fresh->OnColorize(0xFFFF0000);
    EXPECT_EQ(Bytes(img2.get()), blueAfterRed);

    skin->OnColorize(0);
    EXPECT_EQ(original, Bytes(img.get()));
    EXPECT_EQ(0u, skin->GetColorizeValue());

    auto off = Make<SSkinImgList>(L"imglist", {{L"enableColorize", L"0"}});
    off->SetImage(img.get());
    off->OnColorize(0xFF0000FF);
    EXPECT_EQ(original, Bytes(img.get()));
}

TEST_F(ColorizeTest, NewImageWhileColourisedDropsTheOldBackup)
{
    auto skin = Make<SSkinImgList>(L"imglist");
    SAutoRefPtr<IBitmap> big, small;
    big.Attach(Strip(8, 4, 8, Mixed));
    small.Attach(Strip(2, 1, 2, Mixed));
    skin->SetImage(big.get());
    skin->OnColorize(0xFF0000FF);
    const std::vector<BYTE> before = Bytes(small.get());
    skin->SetImage(small.get());
    EXPECT_EQ(0u, skin->GetColorizeValue());
    skin->OnColorize(0);
    EXPECT_EQ(before, Bytes(small.get()));
    skin->OnColorize(0xFF00FF00);
    skin->OnColorize(0);
    EXPECT_EQ(before, Bytes(small.get()));
}

TEST_F(ColorizeTest, ColourSkinsRestoreTheirColours)
{
    auto button = Make<SSkinButton>(L"button", {{L"colorUp", L"#804020"}});
    const SSkinButton::Colors original = button->GetColors();
    button->OnColorize(0xFF0000FF);
    EXPECT_NE(0, memcmp(&original, &button->GetColors(), sizeof original));
    button->OnColorize(0xFFFF0000);
    button->OnColorize(0);
    EXPECT_EQ(0, memcmp(&original, &button->GetColors(), sizeof original));

    auto grad = Make<SSkinGradation>(L"gradation", {{L"colorFrom", L"#804020"}, {L"colorTo", L"#2040A0"}});
    grad->OnColorize(0xFF0000FF);
    EXPECT_NE(0xFF204080u, grad->GetColorFrom());
    grad->OnColorize(0);
    EXPECT_EQ(0xFF204080u, grad->GetColorFrom());
    EXPECT_EQ(0xFFA04020u, grad->GetColorTo());
}

}  // namespace
