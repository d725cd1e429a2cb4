// Pictures: the image, the icon, the toggle and the frame animation.
#include "LeakCheck.h"
#include "common/ControlHost.h"
#include "controls/ControlAttr.h"
#include "controls/SAnimateImgWnd.h"
#include "controls/SIconWnd.h"
#include "controls/SImageWnd.h"
#include "controls/SToggle.h"
#include "render/SSkinObjBase.h"
#include "support/FreedMemoryProbe.h"

#include <vector>

using namespace WUI;
using namespace ctltest;

namespace {

const DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kGrey = 0xFF808080, kYellow = 0xFFFFFF00,
            kCyan = 0xFF00FFFF;
const int kAnimateStart = 22100, kAnimateStop = 22101;

}  // namespace

class PictureTest : public LeakChecked {};

TEST_F(PictureTest, AnImageShowsTheSkinStateOfItsIndex)
{
    ControlHost host;
    host.AddStripSkin(L"strip3", {kRed, kGreen, kBlue});
    host.Load(L"<root><img name='i' pos='0,0,@20,@20' skin='strip3' iconIndex='2'/>"
              L"<img name='m' pos='0,30' skin='strip3'/></root>");
    auto* i = host.Get<SImageWnd>(L"i");
    EXPECT_TRUE(i->IsMsgTransparent());
    host.Paint();
    EXPECT_EQ(kBlue, host.Px(10, 10));
    EXPECT_TRUE(i->SetIconIndex(1));
    EXPECT_FALSE(i->SetIconIndex(3));
    EXPECT_FALSE(i->SetIconIndex(-1));
    EXPECT_EQ(1, i->GetIconIndex());
    host.Paint();
    EXPECT_EQ(kGreen, host.Px(10, 10));
    const RECT m = host.Find(L"m")->GetWindowRect();
    EXPECT_EQ(8, m.right - m.left) << "a skin cell's size";
    EXPECT_EQ(8, m.bottom - m.top);
}

TEST_F(PictureTest, ABitmapIsStretchedOverTheImageAndSizesIt)
{
    ControlHost host;
    host.AddStripSkin(L"strip3", {kRed, kGreen, kBlue});
    host.Load(L"<root><img name='fit' pos='0,0' skin='strip3'/><img name='big' pos='50,0,@40,@20'/></root>");
    IBitmap* bitmap = nullptr;
    host.App().GetRenderFactory()->CreateBitmap(&bitmap);
    const DWORD px[8] = {kYellow, kYellow, kYellow, kYellow, kYellow, kYellow, kYellow, kYellow};
    bitmap->Init(4, 2, px);
    host.Get<SImageWnd>(L"fit")->SetImage(bitmap);
    host.Get<SImageWnd>(L"big")->SetImage(bitmap);
    bitmap->Release();
    host.Container().UpdateLayout();
    const RECT fit = host.Find(L"fit")->GetWindowRect();
    EXPECT_EQ(4, fit.right - fit.left) << "the image wins over the skin";
    EXPECT_EQ(2, fit.bottom - fit.top);
    host.Paint();
    EXPECT_EQ(40 * 20, host.Count(RECT{50, 0, 90, 20}, kYellow));
    host.Get<SImageWnd>(L"big")->SetImage(nullptr);
    host.Paint();
    EXPECT_EQ(0, host.Inked(RECT{50, 0, 90, 20}));
}

// A skin the element owns is released once, whichever way it goes; a skin
// of a pool is never released by the element.
TEST_F(PictureTest, OwnedSkinsAreReleasedOnce)
{
    ControlHost host;
    host.AddStripSkin(L"strip3", {kRed, kGreen, kBlue});
    host.Load(L"<root><img name='i' pos='0,0,@20,@20' skin='strip3'/></root>");
    auto* i = host.Get<SImageWnd>(L"i");
    ISkinObj* pooled = i->GetSkin();
    ISkinObj* own = host.App().CreateSkin(L"colorrect");
    ASSERT_TRUE(i->SetSkin(own, 0, TRUE));
    EXPECT_EQ(3, own->AddRef()) << "the element took a reference";
    own->Release();
    i->SetAttribute(L"skin", L"strip3", FALSE);
    EXPECT_EQ(pooled, i->GetSkin());
    EXPECT_EQ(2, own->AddRef()) << "the layout's skin replaced it and let it go";
    own->Release();
    ASSERT_TRUE(i->SetSkin(own, 0, TRUE));
    EXPECT_FALSE(i->SetSkin(nullptr));
    EXPECT_EQ(nullptr, i->GetSkin()) << "an owned skin is released by a null one";
    EXPECT_EQ(2, own->AddRef());
    own->Release();
    ASSERT_TRUE(i->SetSkin(pooled, 1, FALSE));
    EXPECT_FALSE(i->SetSkin(nullptr));
    EXPECT_EQ(pooled, i->GetSkin()) << "one it did not own stays";
    ASSERT_TRUE(i->SetSkin(own, 0, TRUE));
    EXPECT_EQ(1, own->Release()) << "the element's reference is left for its destruction";
}

// Setting the skin the element owns again, when the element's reference is
// the only one, must not let the skin go on the way.
TEST_F(PictureTest, TheOwnedSkinSetAgainStays)
{
    FreedMemoryProbe probe;
    ControlHost host;
    host.Load(L"<root><img name='i' pos='0,0,@20,@20'/></root>");
    auto* i = host.Get<SImageWnd>(L"i");
    ISkinObj* own = host.App().CreateSkin(L"colorrect");
    ASSERT_TRUE(i->SetSkin(own, 0, TRUE));
    own->Release();
    ASSERT_TRUE(i->SetSkin(own, 2, TRUE));
    ASSERT_FALSE(FreedMemoryProbe::IsFreed(own));
    EXPECT_EQ(own, i->GetSkin());
    EXPECT_EQ(2, i->GetIconIndex());
    EXPECT_EQ(2, own->AddRef()) << "still the element's one reference";
    // Given up: the caller's reference is the one left.
    ASSERT_TRUE(i->SetSkin(own, 1, FALSE));
    ASSERT_FALSE(FreedMemoryProbe::IsFreed(own));
    EXPECT_EQ(own, i->GetSkin());
    EXPECT_EQ(2, own->AddRef());
    own->Release();
    EXPECT_FALSE(i->SetSkin(nullptr));
    EXPECT_EQ(0, own->Release());
    EXPECT_TRUE(FreedMemoryProbe::IsFreed(own));
}

namespace {

// A 16 x 16 icon of one colour; the caller destroys it.
HICON MakeIcon(DWORD color)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP colorBits = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int n = 0; n < 256; ++n) static_cast<DWORD*>(bits)[n] = color;
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    ICONINFO info = {TRUE, 8, 8, mask, colorBits};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colorBits);
    DeleteObject(mask);
    return icon;
}

}  // namespace

TEST_F(PictureTest, AnIconFillsTheClientRectAndMeasuresItsSize)
{
    ControlHost host;
    host.Load(L"<root><icon name='i' pos='10,10'/><icon name='none' pos='40,10' src='NO_SUCH_ICON'/></root>");
    auto* i = host.Get<SIconWnd>(L"i");
    i->SetIcon(MakeIcon(kGreen));
    EXPECT_EQ(16, i->MeasureContent(nullptr).cx);
    EXPECT_EQ(16, i->MeasureContent(nullptr).cy);
    host.Container().InvalidateLayout();
    host.Container().UpdateLayout();
    host.Paint();
    EXPECT_EQ(kGreen, host.Px(18, 18));
    i->SetIcon(MakeIcon(kBlue));  // the green one is destroyed
    host.Paint();
    EXPECT_EQ(kBlue, host.Px(18, 18));
    EXPECT_EQ(nullptr, host.Get<SIconWnd>(L"none")->GetIcon());
    EXPECT_EQ(0, host.Get<SIconWnd>(L"none")->MeasureContent(nullptr).cx);
}

TEST_F(PictureTest, AToggleFlipsOnAClickAndDrawsItsSixStates)
{
    ControlHost host;
    host.AddStripSkin(L"six", {kRed, kGreen, kBlue, kGrey, kYellow, kCyan});
    host.Load(L"<root><toggle name='t' pos='10,10,@20,@20' skin='six'/><toggle name='d' pos='50,10'/></root>");
    auto* t = host.Get<SToggle>(L"t");
    EXPECT_EQ(BuiltinSkin(kSkinSysTreeToggle), host.Get<SToggle>(L"d")->GetSkin());
    const struct {
        DWORD state;
        BOOL toggled;
        DWORD color;
    } cases[] = {
        {0, FALSE, kRed},  {WndState_Hover, FALSE, kGreen}, {WndState_PushDown | WndState_Hover, FALSE, kBlue},
        {0, TRUE, kGrey},  {WndState_Hover, TRUE, kYellow},  {WndState_PushDown, TRUE, kCyan},
    };
    for (const auto& c : cases) {
        t->ModifyState(c.state, ~c.state & 0x1F);
        t->SetToggle(c.toggled);
        host.Paint();
        EXPECT_EQ(c.color, host.Px(20, 20)) << c.state << " " << c.toggled;
    }
    t->ModifyState(0, 0x1F);
    t->SetToggle(FALSE);
    host.Click(20, 20);
    EXPECT_TRUE(t->GetToggle());
    host.Click(20, 20);
    EXPECT_FALSE(t->GetToggle());
    host.Host().Mouse(WM_LBUTTONDOWN, 20, 20);
    host.Host().Mouse(WM_LBUTTONUP, 200, 200);
    EXPECT_FALSE(t->GetToggle()) << "released outside";
    t->SetAttribute(L"toggled", L"1", FALSE);
    EXPECT_TRUE(t->GetToggle());
}

class AnimationTest : public LeakChecked {
protected:
    // An animation of four frames (red, green, blue, grey) at (0, 0, 20, 20).
    SAnimateImgWnd* Load(ControlHost& host, const wchar_t* attrs)
    {
        host.AddStripSkin(L"four", {kRed, kGreen, kBlue, kGrey});
        std::wstring xml = L"<root><animateimg name='a' pos='0,0,@20,@20' skin='four' ";
        xml += attrs;
        xml += L"/></root>";
        host.Load(xml.c_str());
        return host.Get<SAnimateImgWnd>(L"a");
    }
};

TEST_F(AnimationTest, RepeatTwoOfFourFramesStopsAfterEightAdvances)
{
    ControlHost host;
    SAnimateImgWnd* a = Load(host, L"speed='0' repeat='2'");
    EXPECT_TRUE(a->IsPlaying()) << "started when first shown";
    EXPECT_EQ(1, host.TakeHostEvents(kAnimateStart));
    host.Ticks(7);
    EXPECT_TRUE(a->IsPlaying());
    EXPECT_EQ(3, a->GetFrameIndex());
    host.Ticks(1);
    EXPECT_FALSE(a->IsPlaying());
    EXPECT_EQ(0, a->GetFrameIndex());
    host.Container().hostEvents.clear();
    host.Ticks(5);
    EXPECT_EQ(0, a->GetFrameIndex()) << "no ticks after the stop";
    a->Start();
    a->Start();
    EXPECT_EQ(1, host.TakeHostEvents(kAnimateStart)) << "a second start while playing does nothing";
    host.Ticks(8);
    EXPECT_FALSE(a->IsPlaying()) << "the passes are counted anew";
    EXPECT_EQ(1, host.TakeHostEvents(kAnimateStop));
}

TEST_F(AnimationTest, AFrameLastsSpeedTenthsPlusOneTicks)
{
    ControlHost host;
    SAnimateImgWnd* a = Load(host, L"speed='50'");
    std::vector<int> frames;
    for (int i = 0; i < 14; ++i) {
        host.Ticks(1);
        frames.push_back(a->GetFrameIndex());
    }
    EXPECT_EQ((std::vector<int>{1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3}), frames);
    host.Ticks(6 * 3);
    EXPECT_EQ(2, a->GetFrameIndex()) << "round and on: repeat -1 never stops";
    EXPECT_TRUE(a->IsPlaying());
    host.Paint();
    EXPECT_EQ(kBlue, host.Px(10, 10)) << "the frame's skin state";
}

TEST_F(AnimationTest, AHiddenAnimationPausesAndGoesOnWhenShown)
{
    ControlHost host;
    SAnimateImgWnd* a = Load(host, L"speed='0'");
    host.Ticks(2);
    a->SetVisible(FALSE);
    host.Ticks(3);
    EXPECT_EQ(2, a->GetFrameIndex());
    EXPECT_TRUE(a->IsPlaying());
    a->SetVisible(TRUE);
    host.Ticks(1);
    EXPECT_EQ(3, a->GetFrameIndex());
    // Hidden through its parent, too.
    host.Container().SetVisible(FALSE);
    host.Container().SetVisible(TRUE);
    host.Ticks(1);
    EXPECT_EQ(0, a->GetFrameIndex());
}

TEST_F(AnimationTest, StartAndStopByCode)
{
    ControlHost host;
    SAnimateImgWnd* a = Load(host, L"speed='0' autoStart='0'");
    EXPECT_FALSE(a->IsPlaying());
    host.Ticks(3);
    EXPECT_EQ(0, a->GetFrameIndex());
    host.TakeHostEvents(kAnimateStart);
    a->Start();
    EXPECT_EQ(1, host.TakeHostEvents(kAnimateStart));
    host.Ticks(1);
    EXPECT_EQ(1, a->GetFrameIndex());
    a->Stop();
    a->Stop();
    EXPECT_EQ(1, host.TakeHostEvents(kAnimateStop));
    host.Ticks(2);
    EXPECT_EQ(1, a->GetFrameIndex()) << "stopped where it was";
}

namespace {

struct Destroyer {
    bool Destroy(EventArgs& args)
    {
        args.sender->DestroyWindow();
        return true;
    }
};

}  // namespace

TEST_F(AnimationTest, DestroyingStopsAndAStopHandlerMayDestroyTheElement)
{
    ControlHost host;
    SAnimateImgWnd* a = Load(host, L"speed='0'");
    host.TakeHostEvents(kAnimateStop);
    a->DestroyWindow();
    EXPECT_EQ(1, host.TakeHostEvents(kAnimateStop));
    host.Ticks(3);
    ControlHost other;
    SAnimateImgWnd* b = Load(other, L"speed='0' repeat='1'");
    Destroyer destroyer;
    b->GetEventSet()->SubscribeEvent(EventAnimateStop::EventID, &Destroyer::Destroy, &destroyer);
    other.Ticks(6);
    EXPECT_EQ(nullptr, other.Find(L"a"));
    // Without a skin the animation asks for no more ticks.
    ControlHost bare;
    bare.Load(L"<root><animateimg name='a' pos='0,0,@20,@20' speed='0'/></root>");
    bare.Ticks(3);
    EXPECT_EQ(0, bare.Get<SAnimateImgWnd>(L"a")->GetFrameIndex());
}

// An animation that starts when first shown, whose visibility handler
// destroys it there: the animation that went starts nothing.
TEST_F(AnimationTest, AVisibilityHandlerThatDestroysTheAnimationStartsNothing)
{
    ControlHost host;
    SAnimateImgWnd* a = Load(host, L"speed='0' visible='0'");
    ASSERT_FALSE(a->IsPlaying());
    struct Watch {
        int starts = 0;
        bool OnVisible(EventArgs& args)
        {
            args.sender->DestroyWindow();
            return false;
        }
        bool OnStart(EventArgs&)
        {
            ++starts;
            return false;
        }
    } watch;
    a->GetEventSet()->SubscribeEvent(EventSwndVisibleChanged::EventID, &Watch::OnVisible, &watch);
    a->GetEventSet()->SubscribeEvent(EventAnimateStart::EventID, &Watch::OnStart, &watch);
    SAutoRefPtr<SAnimateImgWnd> keep(a);  // to see what it does once destroyed
    a->SetVisible(TRUE);
    EXPECT_EQ(nullptr, host.Find(L"a"));
    EXPECT_EQ(0, watch.starts);
    EXPECT_FALSE(a->IsPlaying());
}

// Colourising a control recolours the skins it holds.
TEST_F(PictureTest, ColourisingReachesTheControlsSkins)
{
    ControlHost host;
    host.AddStripSkin(L"a", {kRed, kGreen});
    host.AddStripSkin(L"b", {kRed, kGreen});
    host.AddStripSkin(L"c", {kRed, kGreen});
    host.Load(L"<root><check name='check' skin='a' focusSkin='b'/><progress name='progress' bkgndSkin='a' posSkin='b'/>"
              L"<toggle name='toggle' skin='c'/><img name='img' skin='c'/><animateimg name='anim' skin='c'/></root>");
    const struct {
        const wchar_t* element;
        const wchar_t* skin;
    } cases[] = {{L"check", L"a"}, {L"check", L"b"}, {L"progress", L"a"}, {L"progress", L"b"},
                 {L"toggle", L"c"}, {L"img", L"c"},   {L"anim", L"c"}};
    for (const auto& c : cases) {
        auto* skin = static_cast<SSkinObjBase*>(FindSkin(c.skin));
        skin->OnColorize(0);
        host.Find(c.element)->SetColorizeColor(0);
        host.Find(c.element)->SetColorizeColor(0xFF3080C0);
        EXPECT_EQ(0xFF3080C0u, skin->GetColorizeValue()) << c.element << " " << c.skin;
    }
}
