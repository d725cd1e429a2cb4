// Painting trees of elements on a memory render target: paint order, hidden
// subtrees, clips, alpha through caches and layers, skins by state, the
// frame, partial repaints, render targets for a rectangle, the update region
// and stepped showing and hiding. Pixels are read from the target itself.
#include "element/ElementHost.h"
#include "LifetimeCheck.h"

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

using namespace WUI;
using namespace elemtest;

class SWindowPaintTest : public LifetimeChecked {};

static bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

namespace {

// Pixels as the target stores them: 0xAARRGGBB, premultiplied.
const DWORD kBlue = 0xFF0000FF, kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kGrey = 0xFF808080, kYellow = 0xFFFFFF00,
            kCyan = 0xFF00FFFF, kMagenta = 0xFFFF00FF, kNone = 0;

// Counts the paint messages each instance gets, and passes them on.
class PaintCounter : public SWindow {
    WUI_SWINDOW_CLASS(PaintCounter, SWindow, L"counter")
    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_HANDLER(WM_ERASEBKGND, Count)
        WUI_MSG_HANDLER(WM_PAINT, Count)
        WUI_MSG_HANDLER(WM_NCPAINT, Count)
    WUI_SWND_MSG_MAP_END(SWindow)
public:
    LRESULT Count(UINT msg, WPARAM, LPARAM)
    {
        ++counts[msg];
        SetMsgHandled(FALSE);
        return 0;
    }
    int Paints() const { return counts.count(WM_PAINT) ? counts.at(WM_PAINT) : 0; }
    std::map<UINT, int> counts;
};

// Destroys `victim` when it gets the message `on`, then lets its own erase
// or paint go on with the target it was given.
class PaintDestroyer : public SWindow {
    WUI_SWINDOW_CLASS(PaintDestroyer, SWindow, L"destroyer")
    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_HANDLER(WM_ERASEBKGND, Destroy)
        WUI_MSG_HANDLER(WM_PAINT, Destroy)
    WUI_SWND_MSG_MAP_END(SWindow)
public:
    LRESULT Destroy(UINT msg, WPARAM, LPARAM)
    {
        if (msg == on && victim) {
            SWindow* v = victim;
            victim = nullptr;
            v->DestroyWindow();
        }
        SetMsgHandled(FALSE);
        return 0;
    }
    UINT on = 0;
    SWindow* victim = nullptr;
};

class PaintHost : public ElementHost {
public:
    PaintHost() : ElementHost(200, 150)
    {
        App().RegisterFactory<PaintCounter>();
        App().RegisterFactory<PaintDestroyer>();
    }
    DWORD Px(int x, int y) { return Target()->GetPixel(x, y); }
    // A full paint of the tree on a cleared target.
    void PaintAll()
    {
        Clear();
        Root()->RedrawRegion(Target(), nullptr);
    }
    void Clear()
    {
        const RECT all = {0, 0, 200, 150};
        Target()->ClearRect(&all, 0);
    }
    std::vector<DWORD> Pixels(const RECT& rc)
    {
        std::vector<DWORD> px;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) px.push_back(Px(x, y));
        return px;
    }
    PaintCounter* Counter(const wchar_t* name) { return sobj_cast<PaintCounter>(Find(name)); }
};

bool Near(DWORD got, DWORD want, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

}  // namespace

TEST_F(SWindowPaintTest, ColouredTreeInPaintOrder)
{
    PaintHost host;
    host.Load(L"<root><window name='back' pos='0,0,@120,@100' colorBkgnd='#0000ff'>"
              L"  <window pos='10,10,@50,@50' colorBkgnd='#ff0000'/>"
              L"  <window pos='40,40,@50,@50' colorBkgnd='#00ff00'/>"
              L"  <window pos='0,70,@30,@30' colorBkgnd='#ffff00' visible='0'>"
              L"    <window pos='0,0,-0,-0' colorBkgnd='#ffffff'/></window>"
              L"  <window pos='70,0,@30,@30' margin='5' clipClient='1' colorBkgnd='#ff00ff'>"
              L"    <window pos='0,0,@60,@60' colorBkgnd='#00ffff'/></window>"
              L"  <window pos='95,60,@20,@20' colorBkgnd='#00ffff'>"
              L"    <window pos='0,0,@30,@30' colorBkgnd='#808080'/></window>"
              L"  <window name='glass' pos='0,85,@30,@10' colorBkgnd='#ff0000' alpha='128'/>"
              L"</window></root>");
    host.PaintAll();
    host.SavePicture(L"element_paint_tree.png");
    const struct {
        int x, y;
        DWORD color;
        const char* what;
    } cases[] = {
        {5, 5, kBlue, "the parent beneath its children"},
        {20, 20, kRed, "first child"},
        {50, 50, kGreen, "the later sibling over the earlier one"},
        {5, 75, kBlue, "a hidden subtree paints nothing, its children neither"},
        {80, 10, kCyan, "a child inside its clipping parent's client rect"},
        {97, 10, kBlue, "a child cut at its parent's client rect (the parent's margin shows beneath)"},
        {105, 10, kBlue, "nothing of the clipped child beyond its parent"},
        {110, 70, kGrey, "a child not cut by its parent"},
        {121, 70, kGrey, "a child may paint past its parent without clipClient"},
        {150, 130, kNone, "nothing painted: the target stays clear"},
    };
    for (const auto& c : cases) EXPECT_EQ(host.Px(c.x, c.y), c.color) << c.what;
    // Half red over blue, through the element's cache.
    SWindow* glass = host.Find(L"glass");
    EXPECT_TRUE(glass->PaintsToCache());
    EXPECT_NE(glass->GetCacheRenderTarget(), nullptr);
    EXPECT_TRUE(Near(host.Px(5, 90), 0xFF80007F, 2)) << std::hex << host.Px(5, 90);
}

TEST_F(SWindowPaintTest, SkinStateFollowsTheElementState)
{
    PaintHost host;
    host.AddSkins(L"<skin><colorrect name='four' normal='#ff0000' hover='#00ff00' pushdown='#0000ff' disable='#808080'/>"
                  L"<colorrect name='two' normal='#ff0000' hover='#00ff00'/>"
                  L"<colorrect name='one' normal='#ffff00'/></skin>");
    host.Load(L"<root><window name='four' skin='four' pos='0,0,@10,@10'/>"
              L"<window name='two' skin='two' pos='10,0,@10,@10'/>"
              L"<window name='one' skin='one' pos='20,0,@10,@10'/></root>");
    const struct {
        DWORD state;
        DWORD four, two, one;
    } cases[] = {
        {0, kRed, kRed, kYellow},
        {WndState_Hover, kGreen, kGreen, kYellow},
        {WndState_PushDown | WndState_Hover, kBlue, kRed, kYellow},
        {WndState_Check, kBlue, kRed, kYellow},
        {WndState_Disable, kGrey, kRed, kYellow},  // a state the skin lacks draws its first
        {WndState_Disable | WndState_Check, kGrey, kRed, kYellow},
    };
    for (const auto& c : cases) {
        for (const wchar_t* name : {L"four", L"two", L"one"}) {
            SWindow* el = host.Find(name);
            el->ModifyState(c.state, ~c.state);
        }
        host.PaintAll();
        EXPECT_EQ(host.Px(5, 5), c.four) << c.state;
        EXPECT_EQ(host.Px(15, 5), c.two) << c.state;
        EXPECT_EQ(host.Px(25, 5), c.one) << c.state;
    }
    EXPECT_TRUE(host.Find(L"four")->RedrawsOnStateChange());
    EXPECT_FALSE(host.Find(L"one")->RedrawsOnStateChange());
    host.Root()->ColorizeTree(0x00336699);
    for (const wchar_t* name : {L"four", L"two", L"one"}) EXPECT_EQ(host.Find(name)->GetColorizeColor(), 0x00336699u);
}

TEST_F(SWindowPaintTest, FrameInTheMarginAndOnHover)
{
    PaintHost host;
    host.AddSkins(L"<skin><colorrect name='frame' normal='#ff0000' hover='#00ff00'/></skin>");
    host.Load(L"<root><window pos='0,0,-0,-0' colorBkgnd='#0000ff'>"
              L"<window name='bordered' pos='10,10,@40,@40' margin='4' colorBorder='#ffff00' colorBkgnd='#808080'/>"
              L"<window name='skinned' pos='60,10,@40,@40' margin='4' ncskin='frame'>"
              L"  <window name='inner' pos='0,0,-0,-0' colorBkgnd='#00ffff'/></window>"
              L"</window></root>");
    host.PaintAll();
    EXPECT_EQ(host.Px(11, 11), kYellow);
    EXPECT_EQ(host.Px(30, 30), kGrey);
    EXPECT_EQ(host.Px(61, 30), kRed);
    EXPECT_EQ(host.Px(80, 30), kCyan);
    // Hovering repaints the frame on its own: the hover state of the skin,
    // what lies beneath and above untouched.
    SWindow* skinned = host.Find(L"skinned");
    host.Container().targetsTaken.clear();
    skinned->SendSwndMessage(WM_MOUSEHOVER, 0, MAKELPARAM(61, 30));
    EXPECT_EQ(host.Px(61, 30), kGreen);
    EXPECT_EQ(host.Px(80, 30), kCyan);
    EXPECT_EQ(host.Px(55, 30), kBlue);
    ASSERT_EQ(host.Container().targetsTaken.size(), 1u);
    EXPECT_EQ(host.Container().targetsTaken[0].mode, kRtHostImage);
    EXPECT_EQ(host.Container().openTargets, 0);
}

TEST_F(SWindowPaintTest, TextTakesTheNearestColourOfItsState)
{
    PaintHost host;
    host.Load(L"<root><window pos='0,0,-0,-0' colorText='#ff0000'>"
              L"<window name='plain' pos='10,10,@80,@30'>WWW</window>"
              L"<window name='own' pos='10,50,@80,@30' colorText='#0000ff' colorTextHover='#00ff00'>WWW</window>"
              L"</window></root>");
    // Glyph shapes differ between machines: count strong pixels of each channel.
    auto strong = [&host](const wchar_t* name) {
        const std::vector<DWORD> px = host.Pixels(host.Find(name)->GetWindowRect());
        int counts[3] = {0, 0, 0};  // red, green, blue
        for (DWORD p : px)
            for (int c = 0; c < 3; ++c) counts[c] += ((p >> (16 - 8 * c)) & 0xFF) > 128;
        return std::vector<int>(counts, counts + 3);
    };
    host.PaintAll();
    std::vector<int> plain = strong(L"plain"), own = strong(L"own");
    EXPECT_GT(plain[0], 10);  // the parent's colour
    EXPECT_EQ(plain[1] + plain[2], 0);
    EXPECT_GT(own[2], 10);  // its own
    EXPECT_EQ(own[0] + own[1], 0);
    host.Find(L"own")->ModifyState(WndState_Hover, 0);
    host.PaintAll();
    own = strong(L"own");
    EXPECT_GT(own[1], 10);
    EXPECT_EQ(own[0] + own[2], 0);
    // The target's colour is its own again after the paint.
    EXPECT_EQ(host.Target()->GetTextColor(), 0xFF000000u);
}

TEST_F(SWindowPaintTest, WhatLiesAboveKeepsItsOwnTextColour)
{
    PaintHost host;
    host.Load(L"<root><window name='red' pos='0,0,@100,@60' colorText='#ff0000'>"
              L"  <window name='child' pos='0,0,-0,-0'/></window>"
              L"<window name='above' pos='10,10,@80,@30' colorBkgnd='#ffffff'>WWW</window></root>");
    SWindow* child = host.Find(L"child");
    host.Clear();
    // The child's target carries the red of its parent; what is painted over
    // it on release still writes in its own (default black) colour.
    IRenderTarget* rt = child->GetRenderTargetForRect(nullptr, kRtBackground, FALSE);
    ASSERT_NE(rt, nullptr);
    EXPECT_EQ(rt->GetTextColor(), 0xFF0000FFu);
    child->ReleaseRenderTarget(rt);
    int dark = 0, red = 0;
    for (DWORD p : host.Pixels(host.Find(L"above")->GetWindowRect())) {
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF;
        dark += r < 64 && g < 64;
        red += r > 128 && g < 64;
    }
    EXPECT_GT(dark, 10);
    EXPECT_EQ(red, 0);
    EXPECT_EQ(host.Target()->GetTextColor(), 0xFF000000u);
}

TEST_F(SWindowPaintTest, FocusRectangleIsDotted)
{
    PaintHost host;
    host.Load(L"<root><window name='f' pos='10,10,@40,@20' focusable='1' colorBkgnd='#ffffff'/></root>");
    SWindow* f = host.Find(L"f");
    f->SetFocus();
    host.PaintAll();
    // Two pixels inside the text rect, dots and gaps along the top edge.
    int dots = 0, gaps = 0;
    for (int x = 12; x < 48; ++x) (host.Px(x, 12) == 0xFF585858 ? dots : gaps) += 1;
    EXPECT_GT(dots, 5);
    EXPECT_GT(gaps, 5);
    EXPECT_EQ(host.Px(11, 11), 0xFFFFFFFF);
    f->KillFocus();
    host.PaintAll();
    EXPECT_EQ(host.Px(12, 12), 0xFFFFFFFF);
}

TEST_F(SWindowPaintTest, BackgroundElementAndForegroundMakeTheFullPaint)
{
    PaintHost host;
    host.Load(L"<root><window pos='0,0,-0,-0' colorBkgnd='#0000ff'>"
              L"<window pos='20,20,@60,@60' colorBkgnd='#ff0000'/>"
              L"<window name='el' pos='40,40,@80,@60' margin='3' colorBorder='#ffff00' colorBkgnd='#808080' alpha='200'>"
              L"  <window pos='10,10,@20,@20' colorBkgnd='#00ff00'/></window>"
              L"<window pos='100,50,@60,@30' colorBkgnd='#ff00ff'/>"
              L"</window></root>");
    SWindow* el = host.Find(L"el");
    const RECT rc = el->GetWindowRect();
    host.PaintAll();
    const std::vector<DWORD> full = host.Pixels(rc);

    host.Clear();
    el->PaintBackground(host.Target(), nullptr);
    host.Root()->PaintTree(host.Target(), nullptr, el->GetZorder(), el->GetZorder() + 1);
    el->PaintForeground(host.Target(), nullptr);
    EXPECT_EQ(host.Pixels(rc), full);

    // The same through a target that paints what lies beneath and above itself.
    host.Clear();
    IRenderTarget* rt = el->GetRenderTargetForRect(nullptr, kRtBackground, FALSE);
    ASSERT_NE(rt, nullptr);
    host.Root()->PaintTree(rt, nullptr, el->GetZorder(), el->GetZorder() + 1);
    el->ReleaseRenderTarget(rt);
    EXPECT_EQ(host.Pixels(rc), full);
    EXPECT_EQ(host.Container().openTargets, 0);
}

TEST_F(SWindowPaintTest, PartialRepaintsAndCaches)
{
    PaintHost host;
    host.Load(L"<root><counter name='a' pos='0,0,@50,@50' colorBkgnd='#ff0000'/>"
              L"<counter name='b' pos='60,0,@50,@50' colorBkgnd='#00ff00'/>"
              L"<counter name='cached' pos='0,60,@50,@50' cache='1' colorBkgnd='#0000ff'/></root>");
    PaintCounter *a = host.Counter(L"a"), *b = host.Counter(L"b"), *cached = host.Counter(L"cached");
    host.PaintAll();
    EXPECT_EQ(a->Paints(), 1);
    EXPECT_EQ(b->Paints(), 1);
    EXPECT_EQ(cached->Paints(), 1);
    EXPECT_EQ(a->counts[WM_NCPAINT], 0);  // no margin: no frame to paint
    EXPECT_EQ(host.Px(10, 70), kBlue);

    // A region over a alone repaints a alone.
    IRegion* rgn = nullptr;
    host.App().GetRenderFactory()->CreateRegion(&rgn);
    const RECT part = {10, 10, 30, 30};
    rgn->CombineRect(&part, RGN_COPY);
    host.Root()->RedrawRegion(host.Target(), rgn);
    EXPECT_EQ(a->Paints(), 2);
    EXPECT_EQ(b->Paints(), 1);
    EXPECT_EQ(cached->Paints(), 1);
    rgn->Release();

    // The cache is painted again only once it is marked dirty; its pixels stay.
    host.PaintAll();
    EXPECT_EQ(cached->Paints(), 1);
    EXPECT_EQ(host.Px(10, 70), kBlue);
    cached->SetAttribute(L"colorBkgnd", L"#ffff00", FALSE);
    host.PaintAll();
    EXPECT_EQ(cached->Paints(), 2);
    EXPECT_EQ(host.Px(10, 70), kYellow);
}

TEST_F(SWindowPaintTest, NestedTargetsKeepTheirOwnRecords)
{
    PaintHost host;
    host.Load(L"<root><window name='p' pos='10,10,@100,@100' margin='5'>"
              L"  <window name='el' pos='70,0,@60,@40' margin='2'/></window></root>");
    SWindow* el = host.Find(L"el");
    ASSERT_EQ(el->GetWindowRect().right, 145);  // it sticks out of its parent's client rect (15..105)
    FakeContainer& c = host.Container();
    IRenderTarget* outer = el->GetRenderTargetForRect(nullptr, kRtHostImage, FALSE);
    const RECT wanted = {0, 0, 90, 30};
    IRenderTarget* inner = el->GetRenderTargetForRect(&wanted, kRtEmpty, TRUE);
    ASSERT_TRUE(outer && inner);
    RECT clip;
    inner->GetClipBox(&clip);
    EXPECT_EQ(clip, (RECT{87, 17, 90, 30}));
    el->ReleaseRenderTarget(inner);
    outer->GetClipBox(&clip);
    EXPECT_EQ(clip, (RECT{85, 15, 105, 55}));  // the outer clip is back
    el->ReleaseRenderTarget(outer);
    ASSERT_EQ(c.targetsShown.size(), 2u);
    EXPECT_EQ(c.targetsShown[0].mode, kRtEmpty);
    EXPECT_EQ(c.targetsShown[0].rect, (RECT{87, 17, 90, 30}));
    EXPECT_EQ(c.targetsShown[1].mode, kRtHostImage);
    EXPECT_EQ(c.targetsShown[1].rect, (RECT{85, 15, 105, 55}));
    EXPECT_EQ(c.openTargets, 0);
    // A target it did not hand out changes nothing; one still open when the
    // element is destroyed goes back to the container.
    el->ReleaseRenderTarget(host.Target());
    EXPECT_EQ(c.targetsShown.size(), 2u);
    EXPECT_NE(el->GetRenderTargetForRect(nullptr, kRtHostImage, FALSE), nullptr);
    el->DestroyWindow();
    EXPECT_EQ(c.openTargets, 0);
}

TEST_F(SWindowPaintTest, UpdateRegionPaintsTheElementAndWhatIsAbove)
{
    PaintHost host;
    host.Load(L"<root><counter name='own' pos='10,10,@50,@50' bkgndBlend='0' colorBkgnd='#ff0000'>"
              L"  <window pos='0,0,@10,@10' colorBkgnd='#00ff00'/></counter>"
              L"<window pos='40,40,@50,@50' colorBkgnd='#0000ff'/></root>");
    PaintCounter* own = host.Counter(L"own");
    own->UpdateSwnd();  // what building the tree gathered
    own->counts.clear();
    host.Clear();
    own->UpdateSwnd();  // nothing gathered since
    EXPECT_EQ(own->Paints(), 0);
    const RECT part = {20, 20, 59, 59};
    host.Container().redraws.clear();
    own->InvalidateRect(&part);
    EXPECT_TRUE(host.Container().redraws.empty());
    own->UpdateSwnd();
    EXPECT_EQ(own->Paints(), 1);
    EXPECT_EQ(own->GetUpdateRegion(), nullptr);
    EXPECT_EQ(host.Px(30, 30), kRed);
    EXPECT_EQ(host.Px(50, 50), kBlue);   // what lies above is painted over it
    EXPECT_EQ(host.Px(12, 12), kNone);   // outside the region
    own->UpdateSwnd();
    EXPECT_EQ(own->Paints(), 1);
}

// A paint handler that destroys the element whose update region is being
// painted: its own erase or paint, or a child's paint over it. The update
// stops there, the target goes back once, and the element is freed after.
TEST_F(SWindowPaintTest, UpdateOfAnElementDestroyedByAPaintHandlerStops)
{
    const struct {
        const wchar_t* destroyer;
        UINT on;
    } cases[] = {{L"own", WM_ERASEBKGND}, {L"own", WM_PAINT}, {L"kid", WM_PAINT}};
    for (const auto& c : cases) {
        PaintHost host;
        host.Load(L"<root><destroyer name='own' pos='10,10,@50,@50' bkgndBlend='0' colorBkgnd='#ff0000'>"
                  L"  <destroyer name='kid' pos='0,0,@20,@20' colorBkgnd='#00ff00'/></destroyer></root>");
        PaintDestroyer* own = sobj_cast<PaintDestroyer>(host.Find(L"own"));
        PaintDestroyer* destroyer = sobj_cast<PaintDestroyer>(host.Find(c.destroyer));
        own->UpdateSwnd();  // what building the tree gathered
        destroyer->on = c.on;
        destroyer->victim = own;
        const SWND handle = own->GetSwnd();
        own->InvalidateRect(nullptr);
        own->UpdateSwnd();
        EXPECT_EQ(SWindowMgr::GetWindow(handle), nullptr) << c.destroyer << " " << c.on;
        EXPECT_EQ(host.Container().openTargets, 0) << c.destroyer << " " << c.on;
        EXPECT_EQ(host.Root()->GetChildrenCount(), 0);
    }
}

// The element's own targets while what lies beneath or above it paints,
// and a handler there destroys the element: the frame painted on hover,
// and a target with what lies beneath. A target handed out stays usable
// until it is released; it goes back to the container once.
TEST_F(SWindowPaintTest, TargetsOfAnElementDestroyedWhileTheTreeAroundItPaints)
{
    const struct {
        const wchar_t* destroyer;
        bool hover;  // else a target with what lies beneath, drawn into and released
    } cases[] = {{L"under", true}, {L"kid", true}, {L"under", false}, {L"kid", false}};
    for (const auto& c : cases) {
        PaintHost host;
        host.Load(L"<root><destroyer name='under' pos='0,0,@100,@100' colorBkgnd='#0000ff'/>"
                  L"<window name='framed' pos='10,10,@50,@50' margin='4' colorBorder='#ffff00'>"
                  L"  <destroyer name='kid' pos='0,0,-0,-0' colorBkgnd='#00ff00'/></window></root>");
        SAutoRefPtr<SWindow> framed(host.Find(L"framed"));  // as a caller holding its element
        PaintDestroyer* destroyer = sobj_cast<PaintDestroyer>(host.Find(c.destroyer));
        destroyer->on = WM_PAINT;
        destroyer->victim = framed;
        if (c.hover) {
            framed->SendSwndMessage(WM_MOUSEHOVER, 0, MAKELPARAM(11, 11));
        } else {
            IRenderTarget* rt = framed->GetRenderTargetForRect(nullptr, kRtBackground, FALSE);
            ASSERT_NE(rt, nullptr);
            const RECT rc = framed->GetWindowRect();
            rt->FillSolidRect(&rc, 0xFF00FFFF);
            framed->ReleaseRenderTarget(rt);
        }
        EXPECT_TRUE(framed->IsDestroyed()) << c.destroyer << " " << c.hover;
        EXPECT_EQ(host.Container().openTargets, 0) << c.destroyer << " " << c.hover;
        EXPECT_EQ(host.Container().targetsShown.size(), host.Container().targetsTaken.size());
    }
}

TEST_F(SWindowPaintTest, LayeredElementBlendsAsOne)
{
    PaintHost host;
    host.Load(L"<root><window pos='0,0,-0,-0' colorBkgnd='#0000ff'>"
              L"<window name='layer' pos='10,10,@60,@60' layeredWindow='1' alpha='128' colorBkgnd='#ff0000'>"
              L"  <counter name='child' pos='0,0,@20,@20' colorBkgnd='#00ff00'/></window>"
              L"<window pos='50,50,@40,@40' colorBkgnd='#ffff00'/>"
              L"</window></root>");
    SWindow* layer = host.Find(L"layer");
    ASSERT_NE(layer->GetLayeredRenderTarget(), nullptr);
    host.PaintAll();
    // The child covers the layer's red inside the layer: green at half over blue.
    EXPECT_TRUE(Near(host.Px(15, 15), 0xFF00807F, 2)) << std::hex << host.Px(15, 15);
    EXPECT_TRUE(Near(host.Px(40, 40), 0xFF80007F, 2)) << std::hex << host.Px(40, 40);
    EXPECT_EQ(host.Px(60, 60), kYellow);

    // A child of the layer paints into the layer; on release the host gets
    // the composed picture.
    PaintCounter* child = host.Counter(L"child");
    FakeContainer& c = host.Container();
    c.targetsTaken.clear();
    IRenderTarget* rt = child->GetRenderTargetForRect(nullptr, kRtHostImage, FALSE);
    ASSERT_EQ(rt, layer->GetLayeredRenderTarget());
    EXPECT_TRUE(c.targetsTaken.empty());
    const RECT rc = child->GetWindowRect();
    rt->FillSolidRect(&rc, 0xFF00FFFF);  // yellow in the framework's colour order
    child->ReleaseRenderTarget(rt);
    ASSERT_EQ(c.targetsTaken.size(), 1u);
    EXPECT_EQ(c.targetsTaken[0].mode, kRtHostImage);
    EXPECT_TRUE(Near(host.Px(15, 15), 0xFF80807F, 2)) << std::hex << host.Px(15, 15);
    EXPECT_EQ(c.openTargets, 0);
}

TEST_F(SWindowPaintTest, AnimationStepsAndEndStates)
{
    PaintHost host;
    host.Load(L"<root><window name='p' pos='0,0,@100,@100' colorBkgnd='#0000ff'>"
              L"  <window name='el' pos='10,10,@50,@50' colorBkgnd='#ff0000'/></window>"
              L"<window name='hidden' visible='0'><window name='under'/></window></root>");
    SWindow* el = host.Find(L"el");
    FakeContainer& c = host.Container();
    const struct {
        SWindow* target;
        DWORD time, flags;
        BOOL result;
        size_t frames;
        BOOL visibleAfter;
        DWORD pixel;  // at (20, 20) after the last frame
    } cases[] = {
        {el, 30, AW_HIDE | AW_BLEND, TRUE, 3, FALSE, kBlue},
        {el, 30, AW_HIDE | AW_BLEND, FALSE, 0, FALSE, kBlue},  // already hidden
        {el, 5, AW_SLIDE | AW_HOR_POSITIVE, TRUE, 1, TRUE, kRed},  // under 10 ms: one step
        {el, 0, AW_CENTER, FALSE, 0, TRUE, kRed},                  // already shown
        {el, 20, AW_HIDE, FALSE, 0, FALSE, kRed},                  // nothing to animate: just hidden
        {el, 25, AW_SLIDE | AW_VER_NEGATIVE | AW_BLEND, TRUE, 2, TRUE, kRed},
        {el, 15, AW_HIDE | AW_CENTER, TRUE, 1, FALSE, kBlue},
        {host.Find(L"under"), 10, AW_BLEND, FALSE, 0, FALSE, kBlue},  // its parent is hidden
        {host.Root(), 10, AW_HIDE | AW_BLEND, TRUE, 1, FALSE, kNone},  // the root may hide
        {host.Root(), 10, AW_BLEND, FALSE, 0, FALSE, kNone},           // but not show: no parent
    };
    host.PaintAll();
    for (const auto& k : cases) {
        c.targetsShown.clear();
        EXPECT_EQ(k.target->AnimateWindow(k.time, k.flags), k.result) << k.flags;
        EXPECT_EQ(c.targetsShown.size(), k.frames) << k.flags;
        EXPECT_EQ(k.target->IsVisible(TRUE), k.visibleAfter) << k.flags;
        if (k.frames) {
            EXPECT_EQ(host.Px(20, 20), k.pixel) << k.flags;
        }
        EXPECT_EQ(c.openTargets, 0);
    }
}

TEST_F(SWindowPaintTest, HidingTheRootThatKeepsNoPlaceInTheFlow)
{
    PaintHost host;
    host.Load(L"<root><window name='a' width='20' height='10'/><window name='b' width='20' height='10'/></root>");
    SWindow *a = host.Find(L"a"), *b = host.Find(L"b");
    EXPECT_EQ(b->GetWindowRect().left, 25);
    // Hiding an element that gives up its place asks its parent for a new layout.
    a->SetAttribute(L"display", L"0", TRUE);
    a->SetVisible(FALSE);
    EXPECT_TRUE(host.Root()->IsLayoutDirty());
    host.Layout();
    EXPECT_EQ(b->GetWindowRect().left, 0);
    // At the root there is no parent to ask.
    host.Root()->SetAttribute(L"display", L"0", TRUE);
    host.Root()->SetVisible(FALSE);
    EXPECT_FALSE(host.Root()->IsVisible(TRUE));
    host.Root()->SetVisible(TRUE);
}
