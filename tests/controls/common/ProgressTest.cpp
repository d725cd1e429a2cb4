// Progress bars: the bar's length read back from the pixels, the
// percentage, the range operations, the built-in skins and the measure.
#include "LeakCheck.h"
#include "common/ControlHost.h"
#include "controls/ControlAttr.h"
#include "controls/SProgress.h"

#include <string>

using namespace WUI;
using namespace ctltest;

namespace {

const DWORD kRed = 0xFFFF0000, kBlue = 0xFF0000FF;
const wchar_t kSkins[] = L"<skin><colorrect name='pbg' normal='#ff0000'/><colorrect name='pbar' normal='#0000ff'/></skin>";

class ProgressHost : public ControlHost {
public:
    ProgressHost() : ControlHost(300, 200) { AddSkins(kSkins); }
    SProgress* Load(const std::wstring& attrs)
    {
        ControlHost::Load((L"<root><progress name='p' bkgndSkin='pbg' posSkin='pbar' " + attrs + L"/></root>").c_str());
        Paint();
        return Get<SProgress>(L"p");
    }
};

}  // namespace

class ProgressTest : public LeakChecked {};

// The bar covers (value - min) of (max - min) of the client rect, within it,
// with products that do not overflow; none when value <= min or max <= min.
TEST_F(ProgressTest, BarLengthByPixelReadBack)
{
    const struct {
        const wchar_t* attrs;
        int bar;
    } cases[] = {
        {L"value='37'", 37},
        {L"value='0'", 0},
        {L"min='10' value='10'", 0},
        {L"value='100'", 101},
        {L"value='150'", 101},
        {L"value='-5'", 0},
        {L"min='50' max='50' value='50'", 0},
        {L"min='60' max='50' value='55'", 0},
        {L"min='0' max='2000000000' value='1000000000'", 50},
        {L"min='-2000000000' max='2000000000' value='0'", 50},
        {L"min='0' max='0x7FFFFFFF' value='0x7FFFFFFE'", 100},
        {L"max='4000' value='1'", 0},
    };
    for (const auto& c : cases) {
        ProgressHost host;
        ASSERT_NE(nullptr, host.Load(std::wstring(L"pos='0,0,@101,@10' ") + c.attrs)) << c.attrs;
        EXPECT_EQ(c.bar, host.Count(RECT{0, 5, 101, 6}, kBlue)) << c.attrs;
        EXPECT_EQ(101 - c.bar, host.Count(RECT{0, 5, 101, 6}, kRed)) << c.attrs;
        EXPECT_EQ(0, host.Count(RECT{101, 5, 120, 6}, kBlue)) << c.attrs;
    }
}

TEST_F(ProgressTest, AVerticalBarGrowsDownTheClientRect)
{
    ProgressHost host;
    host.Load(L"pos='0,0,@10,@101' vertical='1' value='37'");
    EXPECT_EQ(37, host.Count(RECT{5, 0, 6, 101}, kBlue));
    EXPECT_EQ(kBlue, host.Px(5, 0));
    EXPECT_EQ(kRed, host.Px(5, 37));
    ProgressHost margins;
    SProgress* p = margins.Load(L"pos='0,0,@101,@10' margin='2' value='100'");
    EXPECT_EQ(97, margins.Count(RECT{0, 5, 101, 6}, kBlue)) << "the bar stays in the client rect";
    EXPECT_EQ(2, p->GetBarRect().left);
}

TEST_F(ProgressTest, ThePercentageShowsOnlyOnAHorizontalBar)
{
    const struct {
        const wchar_t* attrs;
        bool text;
    } cases[] = {
        {L"pos='0,0,@200,@30' showPercent='1' value='37'", true},
        {L"pos='0,0,@200,@30' showPercent='1' value='0'", true},
        {L"pos='0,0,@200,@30' value='37'", false},
        {L"pos='0,0,@30,@200' showPercent='1' vertical='1' value='37'", false},
        {L"pos='0,0,@200,@30' showPercent='1' min='5' max='5'", false},
    };
    for (const auto& c : cases) {
        ProgressHost host;
        host.Load(c.attrs);
        const RECT all = {0, 0, 200, 200};
        const int area = 200 * 30;
        const int text = area - host.Count(all, kRed) - host.Count(all, kBlue);
        EXPECT_EQ(c.text, text > 0) << c.attrs;
    }
}

TEST_F(ProgressTest, RangeAndValueOperations)
{
    ProgressHost host;
    SProgress* p = host.Load(L"pos='0,0,@100,@10' value='37'");
    p->SetRange(0, 10);
    EXPECT_EQ(10, p->GetValue()) << "pulled under max";
    p->SetRange(20, 30);
    EXPECT_EQ(20, p->GetValue()) << "then over min";
    EXPECT_TRUE(p->SetValue(100));
    EXPECT_EQ(30, p->GetValue());
    p->SetValue(-1);
    EXPECT_EQ(20, p->GetValue());
    int lo = 0, hi = 0;
    p->GetRange(&lo, nullptr);
    p->GetRange(nullptr, &hi);
    EXPECT_EQ(20, lo);
    EXPECT_EQ(30, hi);
    p->SetValue(25);
    host.Paint();
    EXPECT_EQ(50, host.Count(RECT{0, 5, 100, 6}, kBlue));
}

TEST_F(ProgressTest, MissingSkinsAreTheBuiltInOnes)
{
    ControlHost host;
    host.Load(L"<root><progress name='h' pos='0,0,@100,@10'/>"
              L"<progress name='v' pos='0,20,@10,@100' vertical='1'/></root>");
    EXPECT_EQ(BuiltinSkin(kSkinSysProgBkgnd), host.Get<SProgress>(L"h")->GetBkgndSkin());
    EXPECT_EQ(BuiltinSkin(kSkinSysProgBar), host.Get<SProgress>(L"h")->GetPosSkin());
    EXPECT_EQ(BuiltinSkin(kSkinSysVertProgBkgnd), host.Get<SProgress>(L"v")->GetBkgndSkin());
    EXPECT_EQ(BuiltinSkin(kSkinSysVertProgBar), host.Get<SProgress>(L"v")->GetPosSkin());
    EXPECT_NE(nullptr, host.Get<SProgress>(L"v")->GetPosSkin());
}

TEST_F(ProgressTest, WithoutAnySkinTheBarIsNotCreated)
{
    ControlHost host(400, 300, false);
    host.Load(L"<root><progress name='p' pos='0,0,@100,@10'/><text name='t'>after</text></root>");
    EXPECT_EQ(nullptr, host.Find(L"p"));
    EXPECT_NE(nullptr, host.Find(L"t"));
}

TEST_F(ProgressTest, MeasuresByTheBackgroundSkinAndTheFixedLength)
{
    ProgressHost host;
    host.AddStripSkin(L"bg30", {kRed}, 30, 10);
    host.ControlHost::Load(L"<root><progress name='a' pos='0,0' bkgndSkin='bg30' posSkin='pbar' margin='1,2,3,4'/>"
                           L"<progress name='b' pos='0,20' bkgndSkin='bg30' posSkin='pbar' width='200'/>"
                           L"<progress name='c' pos='0,40' bkgndSkin='bg30' posSkin='pbar' vertical='1' height='150'/>"
                           L"</root>");
    const RECT a = host.Find(L"a")->GetWindowRect();
    EXPECT_EQ(34, a.right - a.left);
    EXPECT_EQ(16, a.bottom - a.top);
    const SIZE b = host.Get<SProgress>(L"b")->MeasureContent(nullptr);
    EXPECT_EQ(200, b.cx);
    EXPECT_EQ(10, b.cy);
    const SIZE c = host.Get<SProgress>(L"c")->MeasureContent(nullptr);
    EXPECT_EQ(30, c.cx);
    EXPECT_EQ(150, c.cy);
}
