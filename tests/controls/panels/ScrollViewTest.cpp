// The scroll view: which bars a view needs, the origin moving the children,
// a view that follows its children, origins from the layout, and a thumb
// drag through the container.
#include "controls/SScrollView.h"
#include "panels/PanelTestHost.h"
#include "LeakCheck.h"
#include "support/FreedMemoryProbe.h"

#include <functional>

using namespace WUI;
using namespace paneltest;

class ScrollViewTest : public LeakChecked {};

namespace {

// The origin and size events of a view.
struct ViewLog {
    explicit ViewLog(SWindow* view)
    {
        view->GetEventSet()->SubscribeEvent(EventScrollViewOriginChanged::EventID, &ViewLog::OnOrigin, this);
        view->GetEventSet()->SubscribeEvent(EventScrollViewSizeChanged::EventID, &ViewLog::OnSize, this);
    }
    bool OnOrigin(EventArgs& args)
    {
        auto& e = static_cast<EventScrollViewOriginChanged&>(args);
        origins.push_back({e.ptOldOrigin, e.ptNewOrigin});
        return false;
    }
    bool OnSize(EventArgs& args)
    {
        auto& e = static_cast<EventScrollViewSizeChanged&>(args);
        sizes.push_back({e.szOldViewSize, e.szNewViewSize});
        return false;
    }
    std::vector<std::pair<POINT, POINT>> origins;
    std::vector<std::pair<SIZE, SIZE>> sizes;
};

const wchar_t kView[] =
    L"<root><scrollview name='v' pos='0,0,@100,@90' viewSize='300,400'>"
    L"<window name='c' pos='10,20,@50,@50'/></scrollview></root>";

}  // namespace

// A client of 100 x 90 and bars 16 wide.
TEST_F(ScrollViewTest, BarsTheViewNeeds)
{
    PaintHost host;
    host.Load(L"<root><scrollview name='v' pos='0,0,@100,@90' viewSize='100,100'/></root>");
    SScrollView* v = As<SScrollView>(host.Find(L"v"));
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->IsClass(L"scrollview"));
    EXPECT_TRUE(v->IsClass(L"div"));
    EXPECT_TRUE(v->IsClipClient());
    const struct {
        SIZE view;
        bool vertical, horizontal;
        int vMax;
        UINT vPage;
        int hMax;
        UINT hPage;
        const char* what;
    } cases[] = {
        {{100, 100}, true, true, 99, 74, 99, 84, "90 high: a vertical bar, whose width leaves 84 < 100: both"},
        {{50, 50}, false, false, 89, 90, 99, 100, "fits"},
        {{100, 90}, false, false, 89, 90, 99, 100, "fits exactly"},
        {{101, 90}, true, true, 89, 74, 100, 84, "one pixel too wide: the bar below takes height"},
        {{120, 60}, false, true, 89, 90, 119, 100, "wide and low: a horizontal bar alone"},
        {{120, 80}, true, true, 79, 74, 119, 84, "the horizontal bar leaves 74 < 80"},
        {{90, 200}, true, true, 199, 74, 89, 84, "the vertical bar leaves 84 < 90"},
        {{80, 400}, true, false, 399, 90, 99, 100, "a vertical bar alone"},
    };
    for (const auto& c : cases) {
        v->SetViewSize(c.view);
        EXPECT_EQ(v->HasScrollBar(TRUE) != FALSE, c.vertical) << c.what;
        EXPECT_EQ(v->HasScrollBar(FALSE) != FALSE, c.horizontal) << c.what;
        const SCROLLINFO& vi = v->GetScrollInfo(TRUE);
        const SCROLLINFO& hi = v->GetScrollInfo(FALSE);
        EXPECT_EQ(vi.nMin, 0);
        EXPECT_EQ(vi.nMax, c.vMax) << c.what;
        EXPECT_EQ(vi.nPage, c.vPage) << c.what;
        EXPECT_EQ(hi.nMax, c.hMax) << c.what;
        EXPECT_EQ(hi.nPage, c.hPage) << c.what;
        const RECT client = v->GetClientRect();
        EXPECT_EQ(client.right, c.vertical ? 84 : 100) << c.what;
        EXPECT_EQ(client.bottom, c.horizontal ? 74 : 90) << c.what;
    }
}

TEST_F(ScrollViewTest, OriginMovesTheChildren)
{
    PaintHost host;
    host.Load(kView);
    SScrollView* v = As<SScrollView>(host.Find(L"v"));
    SWindow* c = host.Find(L"c");
    ViewLog views(v);
    ScrollLog scrolls(v);
    EXPECT_EQ(c->GetWindowRect().left, 10);
    EXPECT_EQ(c->GetWindowRect().top, 20);
    v->SetViewOrigin(POINT{30, 40});
    EXPECT_EQ(c->GetWindowRect().left, -20);
    EXPECT_EQ(c->GetWindowRect().top, -20);
    EXPECT_EQ(v->GetScrollPos(FALSE), 30);
    EXPECT_EQ(v->GetScrollPos(TRUE), 40);
    ASSERT_EQ(views.origins.size(), 1u);
    EXPECT_EQ(views.origins[0].first.x, 0);
    EXPECT_EQ(views.origins[0].second.y, 40);
    // Past the end: as far as the bars go (300 - 84 and 400 - 74).
    v->SetViewOrigin(POINT{1000, 1000});
    EXPECT_EQ(v->GetViewOrigin().x, 216);
    EXPECT_EQ(v->GetViewOrigin().y, 326);
    EXPECT_EQ(c->GetWindowRect().top, 20 - 326);
    v->SetViewOrigin(POINT{0, 0});
    views.origins.clear();
    EXPECT_TRUE(scrolls.entries.empty()) << "moving the origin by code fires no scroll events";
    // A scroll moves the view, with one scroll event.
    v->OnScroll(TRUE, SB_LINEDOWN, 0);
    EXPECT_EQ(v->GetViewOrigin().y, 10);
    EXPECT_EQ(c->GetWindowRect().top, 10);
    ASSERT_EQ(scrolls.entries.size(), 1u);
    EXPECT_TRUE((scrolls.entries[0] == ScrollLog::Entry{SB_LINEDOWN, 10, TRUE}));
    EXPECT_EQ(views.origins.size(), 1u);
    // A new size keeps the origin within the new range.
    v->SetViewSize(SIZE{300, 80});
    EXPECT_EQ(v->GetViewOrigin().y, 6) << "80 - 74";
    ASSERT_EQ(views.sizes.size(), 1u);
    EXPECT_EQ(views.sizes[0].first.cy, 400);
    EXPECT_EQ(views.sizes[0].second.cy, 80);
    v->SetViewSize(SIZE{300, 80});
    EXPECT_EQ(views.sizes.size(), 1u) << "the same size changes nothing";
}

TEST_F(ScrollViewTest, RelativeViewFollowsTheChildren)
{
    PaintHost host;
    host.Load(L"<root><scrollview name='v' pos='0,0,@100,@90' viewSize='0,0'>"
              L"<window name='c' pos='0,0,@150,@300'/></scrollview></root>");
    SScrollView* v = As<SScrollView>(host.Find(L"v"));
    ViewLog views(v);
    EXPECT_TRUE(v->IsViewSizeRelative());
    EXPECT_EQ(v->GetViewSize().cx, 150);
    EXPECT_EQ(v->GetViewSize().cy, 300);
    EXPECT_TRUE(v->HasScrollBar(TRUE));
    EXPECT_TRUE(v->HasScrollBar(FALSE));
    host.Find(L"c")->SetAttribute(L"pos", L"0,0,@50,@60", FALSE);
    v->Move2(0, 0, 120, 100);
    EXPECT_EQ(v->GetViewSize().cx, 50);
    EXPECT_EQ(v->GetViewSize().cy, 60);
    EXPECT_FALSE(v->HasScrollBar(TRUE));
    EXPECT_FALSE(v->HasScrollBar(FALSE));
    ASSERT_EQ(views.sizes.size(), 1u);
    // A fixed size ends following; "viewSize" with a 0 takes it up again.
    v->SetAttribute(L"viewSize", L"200,200", FALSE);
    EXPECT_FALSE(v->IsViewSizeRelative());
    EXPECT_EQ(v->GetViewSize().cx, 200);
    v->SetAttribute(L"viewSize", L"0,50", FALSE);
    EXPECT_TRUE(v->IsViewSizeRelative());
    EXPECT_EQ(v->GetViewSize().cx, 50);
    for (const wchar_t* bad : {L"10", L"10,20,30", L"a,b", L"", L"2000000000,5"})
        EXPECT_EQ(v->SetAttribute(L"viewSize", bad, FALSE), E_FAIL) << bad;
}

TEST_F(ScrollViewTest, OriginFromTheLayoutSurvivesTheFirstLayout)
{
    PaintHost host;
    host.Load(L"<root><scrollview name='v' pos='0,0,@100,@90' viewSize='300,400' origin-y='50' origin-x='500'>"
              L"<window name='c' pos='10,20,@50,@50'/></scrollview></root>");
    SScrollView* v = As<SScrollView>(host.Find(L"v"));
    EXPECT_EQ(v->GetViewOrigin().y, 50);
    EXPECT_EQ(v->GetViewOrigin().x, 216) << "held at the end of the range";
    EXPECT_EQ(v->GetScrollPos(TRUE), 50);
    EXPECT_EQ(host.Find(L"c")->GetWindowRect().top, 20 - 50);
    EXPECT_EQ(host.Find(L"c")->GetWindowRect().left, 10 - 216);
    v->SetAttribute(L"origin-y", L"70", FALSE);
    EXPECT_EQ(v->GetViewOrigin().y, 70);
    EXPECT_EQ(v->SetAttribute(L"origin-x", L"7px", FALSE), E_FAIL);
}

TEST_F(ScrollViewTest, ThumbDragScrollsTheView)
{
    MouseHost host;
    host.Load(L"<root><scrollview name='v' pos='0,0,@100,@90' viewSize='80,400'>"
              L"<window name='c' pos='0,0,@50,@50'/></scrollview></root>");
    SScrollView* v = As<SScrollView>(host.Find(L"v"));
    ScrollLog scrolls(v);
    // The bar (84,0)-(100,90): a rail of 58, a thumb of 18, 40 free pixels
    // for 310 positions.
    const SbParts parts = v->GetScrollBarParts(TRUE);
    ASSERT_EQ(parts.freeLength, 40);
    const int y = parts.thumb.top + 5;
    host.Mouse(WM_MOUSEMOVE, 92, y);
    host.Mouse(WM_LBUTTONDOWN, 92, y);
    host.Mouse(WM_MOUSEMOVE, 92, y + 10);
    host.Mouse(WM_MOUSEMOVE, 93, y + 10);
    host.Mouse(WM_MOUSEMOVE, 92, y + 20);
    host.Mouse(WM_LBUTTONUP, 92, y + 20);
    const std::vector<ScrollLog::Entry> want = {
        {SB_THUMBTRACK, 77, TRUE}, {SB_THUMBTRACK, 155, TRUE}, {SB_THUMBPOSITION, 155, TRUE}};
    EXPECT_EQ(scrolls.entries, want);
    EXPECT_EQ(v->GetViewOrigin().y, 155);
    EXPECT_EQ(host.Find(L"c")->GetWindowRect().top, -155);
    EXPECT_EQ(host.Container().GetCapture(), 0u);
    // A wheel notch up is one line step.
    host.Container().SetFocus(v->GetSwnd());
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(40, 40));
    EXPECT_EQ(v->GetViewOrigin().y, 145);
}

// Moving the origin or changing the size from code, or by the wheel, runs the
// view's own events and its children's size handlers: one that destroys the
// view leaves nothing freed in use, and the view fires nothing more.
TEST_F(ScrollViewTest, HandlersMayDestroyTheView)
{
    FreedMemoryProbe probe;
    struct Destroyer {
        int calls = 0;
        bool On(EventArgs& args)
        {
            SWindow* view = args.sender->IsClass(L"scrollview") ? args.sender : args.sender->GetParent();
            if (calls++ == 0) view->DestroyWindow();
            return false;
        }
    };
    const struct Case {
        const char* what;
        const wchar_t* watched;
        int event;
        std::function<void(MouseHost&, SScrollView*)> act;
    } cases[] = {
        {"origin set, its event", L"v", EventScrollViewOriginChanged::EventID,
         [](MouseHost&, SScrollView* v) { v->SetViewOrigin(POINT{30, 40}); }},
        {"origin set, a child's size", L"c", EventSwndSize::EventID,
         [](MouseHost&, SScrollView* v) { v->SetViewOrigin(POINT{30, 40}); }},
        {"size set, a child's size", L"c", EventSwndSize::EventID,
         [](MouseHost&, SScrollView* v) { v->SetViewSize(SIZE{300, 500}); }},
        {"wheel of three notches", L"v", EventScrollViewOriginChanged::EventID,
         [](MouseHost& h, SScrollView* v) {
             h.Container().SetFocus(v->GetSwnd());
             h.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -360), MAKELPARAM(40, 40));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MouseHost host;
        // The child's size follows the view's.
        host.Load(L"<root><scrollview name='v' pos='0,0,@100,@90' viewSize='300,400'>"
                  L"<window name='c' pos='10,20,-10,-10'/></scrollview></root>");
        SScrollView* v = As<SScrollView>(host.Find(L"v"));
        ASSERT_NE(v, nullptr);
        Destroyer destroyer;
        host.Find(c.watched)->GetEventSet()->SubscribeEvent(c.event, &Destroyer::On, &destroyer);
        c.act(host, v);
        EXPECT_EQ(1, destroyer.calls);
        EXPECT_TRUE(FreedMemoryProbe::IsFreed(v));
        EXPECT_EQ(nullptr, host.Find(L"v"));
    }
}

// An allocation failing anywhere in building, scrolling and painting a view
// leaves no leak and no crash.
TEST_F(ScrollViewTest, FailedAllocationsLeaveNothingBehind)
{
    for (long n = 0; n < 160; n += 2) {  // the whole run takes under 100 blocks
        PaintHost host;
        MemFailAfter(n);
        host.Load(L"<root><scrollview name='v' pos='0,0,@100,@90' viewSize='0,0'>"
                  L"<window pos='0,0,@150,@300'/><div pos='10,10,@40,@40'/></scrollview></root>");
        if (SScrollView* v = As<SScrollView>(host.Find(L"v"))) {
            v->OnScroll(TRUE, SB_PAGEDOWN, 0);
            v->SendSwndMessage(WM_NCLBUTTONDOWN, 0, MAKELPARAM(92, 40));
            v->SendSwndMessage(WM_NCMOUSEMOVE, 0, MAKELPARAM(92, 60));
            v->SendSwndMessage(WM_NCLBUTTONUP, 0, MAKELPARAM(92, 60));
            host.PaintAll();
        }
        MemFailAfter(-1);
    }
}
