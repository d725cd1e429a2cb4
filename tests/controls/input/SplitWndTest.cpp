// The split window: sharing a size out over pane records by priority (a
// table), the layout of real panes with hiding, showing, inserting and the
// bars painted only between shown panes, and dragging a bar, with hidden
// panes that keep stale rectangles.
#include "InputHost.h"
#include "LeakCheck.h"
#include "controls/SSplitWnd.h"
#include "support/FreedMemoryProbe.h"

#include <functional>
#include <string>
#include <vector>

using namespace WUI;
using namespace inputtest;

class SplitWndTest : public LeakChecked {};

namespace {

const DWORD kBar = 0xFF00FF00;

// Three panes across 300 pixels with bars of 5: a (priority 1), b (0), c (2).
std::wstring SplitLayout(const wchar_t* aMax)
{
    return std::wstring(L"<root><splitwnd name='split' pos='0,0,@300,@100' sepSkin='bar'>"
                        L"<pane name='a' idealSize='100' priority='1' ") + aMax +
           L"/><pane name='b' idealSize='50' maxSize='150'/>"
           L"<pane name='c' idealSize='60' maxSize='80' priority='2'/></splitwnd></root>";
}

struct SplitHost : InputHost {
    SSplitWnd* Load(const wchar_t* aMax)
    {
        AddSkins(L"<skin><colorrect name='bar' normal='#00ff00'/></skin>");
        return InputHost::Load<SSplitWnd>(SplitLayout(aMax).c_str(), L"split");
    }
    // Left and right of each pane, in display order.
    std::vector<int> Spans(SSplitWnd* split)
    {
        std::vector<int> spans;
        for (int i = 0; i < split->GetPaneCount(); ++i) {
            const RECT& rc = split->GetPane(i)->GetWindowRect();
            spans.push_back(rc.left);
            spans.push_back(rc.right);
        }
        return spans;
    }
};

struct MovedEvents {
    bool OnMoved(EventArgs& args)
    {
        rects.push_back(static_cast<EventSplitPaneMoved&>(args).rcPane);
        return true;
    }
    std::vector<RECT> rects;
};

}  // namespace

TEST_F(SplitWndTest, SizeSharedOutByPriority)
{
    const struct {
        const char* what;
        std::vector<PaneSize> records;  // highest priority first
        int delta;
        std::vector<int> sizes;
        int left;
    } cases[] = {
        {"both reach their ideals, then the lowest priority takes the rest",
         {{0, 50, 0, 1000}, {0, 30, 0, 1000}}, 100, {50, 50}, 0},
        {"the higher priority grows first", {{0, 50, 0, 1000}, {0, 30, 0, 1000}}, 40, {40, 0}, 0},
        {"above its ideal a pane waits while others grow", {{70, 50, 0, 1000}, {0, 30, 0, 1000}}, 40, {70, 40}, 0},
        {"shrinking takes from panes above their ideals first", {{80, 50, 10, 1000}, {60, 30, 20, 1000}}, -50,
         {50, 40}, 0},
        {"then from the lowest priority down to its minimum", {{80, 50, 10, 1000}, {60, 30, 20, 1000}}, -100,
         {20, 20}, 0},
        {"what no pane can give is left", {{80, 50, 10, 1000}, {60, 30, 20, 1000}}, -200, {10, 20}, -90},
        {"growth stops at the maxima", {{0, 50, 0, 60}, {0, 30, 0, 40}}, 200, {60, 40}, 100},
        {"a hidden pane's zero record takes nothing", {{0, 50, 0, 1000}, {0, 0, 0, 0}, {0, 30, 0, 1000}}, 100,
         {50, 0, 50}, 0},
        {"nothing to share", {{10, 50, 0, 1000}}, 0, {10}, 0},
    };
    for (const auto& c : cases) {
        std::vector<PaneSize> records = c.records;
        EXPECT_EQ(c.left, SSplitWnd::AdjustSize(records.data(), static_cast<int>(records.size()), c.delta)) << c.what;
        std::vector<int> sizes;
        for (const PaneSize& r : records) sizes.push_back(r.actual);
        EXPECT_EQ(c.sizes, sizes) << c.what;
    }
}

TEST_F(SplitWndTest, LayoutHideShowInsertAndBars)
{
    SplitHost host;
    SSplitWnd* split = host.Load(L"maxSize='100'");
    ASSERT_TRUE(split);
    ASSERT_EQ(3, split->GetPaneCount());
    // Ideals by priority (c, a, b), then b, the lowest, takes the other 80.
    EXPECT_EQ((std::vector<int>{0, 100, 105, 235, 240, 300}), host.Spans(split));
    EXPECT_EQ(100, split->GetPane(0)->GetWindowRect().bottom);
    host.PaintAll();
    EXPECT_EQ(kBar, host.Px(102, 50));
    EXPECT_EQ(kBar, host.Px(237, 50));

    // The last pane hidden: b grows to its maximum, the rest stays empty,
    // and no bar follows b.
    MovedEvents moved;
    split->GetPane(1)->GetEventSet()->SubscribeEvent(EventSplitPaneMoved::EventID, &MovedEvents::OnMoved, &moved);
    EXPECT_TRUE(split->HidePane(2));
    EXPECT_EQ(0, split->GetPane(0)->GetWindowRect().left);
    EXPECT_EQ(100, split->GetPane(0)->GetWindowRect().right);
    EXPECT_EQ(105, split->GetPane(1)->GetWindowRect().left);
    EXPECT_EQ(255, split->GetPane(1)->GetWindowRect().right);
    ASSERT_EQ(1u, moved.rects.size());
    EXPECT_EQ((RECT{105, 0, 255, 100}), moved.rects[0]);
    host.PaintAll();
    EXPECT_EQ(kBar, host.Px(102, 50));
    for (int x = 250; x < 300; ++x) EXPECT_NE(kBar, host.Px(x, 50)) << x;

    // Indexes outside the panes.
    EXPECT_FALSE(split->HidePane(3));
    EXPECT_FALSE(split->ShowPane(-1));
    EXPECT_EQ(nullptr, split->GetPane(3));
    EXPECT_EQ(1, split->FindPaneByName(L"b"));
    EXPECT_EQ(-1, split->FindPaneByName(L"B"));

    // Shown again, then a new pane between a and b starts at its ideal;
    // b, above its ideal, gives the room.
    EXPECT_TRUE(split->ShowPane(2));
    EXPECT_EQ((std::vector<int>{0, 100, 105, 235, 240, 300}), host.Spans(split));
    SSplitPane* added = new SSplitPane;
    added->SetAttribute(L"idealSize", L"40", FALSE);
    ASSERT_TRUE(split->InsertChild(added));  // the creation reference becomes the parent's
    EXPECT_EQ(1, split->InsertPane(added, 1));
    EXPECT_EQ(-1, split->InsertPane(added, 0));
    EXPECT_EQ((std::vector<int>{0, 100, 105, 145, 150, 235, 240, 300}), host.Spans(split));
    EXPECT_TRUE(split->RemovePane(added));
    EXPECT_FALSE(split->RemovePane(added));
    EXPECT_EQ(3, split->GetPaneCount());
}

// Hiding, showing and removing panes run the panes' handlers (visibility,
// size, moved): one that destroys the split window, called from code that
// holds no reference on it, leaves the call running on nothing freed.
TEST_F(SplitWndTest, PaneHandlersMayDestroyTheSplitWindow)
{
    FreedMemoryProbe probe;
    struct Destroyer {
        int calls = 0;
        bool On(EventArgs& args)
        {
            if (calls++ == 0) args.sender->GetParent()->DestroyWindow();
            return false;
        }
    };
    const struct Case {
        const char* what;
        const wchar_t* pane;  // whose handler destroys the split window
        int event;
        std::function<void(SSplitWnd*)> act;
    } cases[] = {
        {"hidden pane's visibility", L"a", EventSwndVisibleChanged::EventID, [](SSplitWnd* s) { s->HidePane(0); }},
        {"shown pane's visibility", L"c", EventSwndVisibleChanged::EventID, [](SSplitWnd* s) { s->ShowPane(2); }},
        {"size of a pane a hidden one leaves room to", L"b", EventSwndSize::EventID,
         [](SSplitWnd* s) { s->HidePane(0); }},
        {"pane moved after a hide", L"b", EventSplitPaneMoved::EventID, [](SSplitWnd* s) { s->HidePane(0); }},
        {"size of a pane a removed one leaves room to", L"b", EventSwndSize::EventID,
         [](SSplitWnd* s) { s->RemovePane(s->GetPane(0)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SplitHost host;
        SSplitWnd* split = host.Load(L"maxSize='100'");
        ASSERT_TRUE(split);
        if (c.event == EventSwndVisibleChanged::EventID && !wcscmp(c.pane, L"c")) split->HidePane(2);
        SWindow* pane = host.Find(c.pane);
        ASSERT_TRUE(pane);
        Destroyer destroyer;
        pane->GetEventSet()->SubscribeEvent(c.event, &Destroyer::On, &destroyer);
        c.act(split);
        EXPECT_EQ(1, destroyer.calls);
        EXPECT_TRUE(FreedMemoryProbe::IsFreed(split));
        EXPECT_EQ(nullptr, host.Find(L"split"));
    }
}

TEST_F(SplitWndTest, DraggingABar)
{
    SplitHost host;
    SSplitWnd* split = host.Load(L"");
    ASSERT_TRUE(split);
    ASSERT_EQ((std::vector<int>{0, 100, 105, 235, 240, 300}), host.Spans(split));
    const struct {
        int x;
        std::vector<int> spans;
    } moves[] = {
        {92, {0, 90, 95, 235, 240, 300}},   // a gives 10, b takes them
        {62, {0, 60, 65, 215, 220, 300}},   // b takes 10 up to its maximum, c the other 20
        {0, {0, 60, 65, 215, 220, 300}},    // the after side can take no more
        {120, {0, 180, 185, 215, 220, 300}},  // from the last point, 0: a takes 120, all from b
    };
    host.Mouse(WM_LBUTTONDOWN, 102, 50);
    EXPECT_EQ(0, split->GetDragSeparator());
    for (const auto& m : moves) {
        host.Mouse(WM_MOUSEMOVE, m.x, 50);
        EXPECT_EQ(m.spans, host.Spans(split)) << m.x;
    }
    host.Mouse(WM_LBUTTONUP, 120, 50);
    EXPECT_EQ(-1, split->GetDragSeparator());

    // b hidden keeps its old rectangle (185..215) between a and c; the bar
    // a|c belongs to a, not to b.
    EXPECT_TRUE(split->HidePane(1));
    EXPECT_EQ(215, split->GetPane(0)->GetWindowRect().right);
    EXPECT_EQ(220, split->GetPane(2)->GetWindowRect().left);
    host.Mouse(WM_LBUTTONDOWN, 217, 50);
    EXPECT_EQ(0, split->GetDragSeparator());
    host.Mouse(WM_MOUSEMOVE, 207, 50);  // c is at its maximum: nothing moves
    EXPECT_EQ(215, split->GetPane(0)->GetWindowRect().right);
    host.Mouse(WM_MOUSEMOVE, 227, 50);
    EXPECT_EQ(235, split->GetPane(0)->GetWindowRect().right);
    EXPECT_EQ((RECT{240, 0, 300, 100}), split->GetPane(2)->GetWindowRect());
    host.Mouse(WM_LBUTTONUP, 227, 50);

    // Not adjustable: a press finds no bar.
    split->SetAttribute(L"adjustable", L"0", FALSE);
    host.Mouse(WM_LBUTTONDOWN, 237, 50);
    EXPECT_EQ(-1, split->GetDragSeparator());
    host.Mouse(WM_LBUTTONUP, 237, 50);
}

TEST_F(SplitWndTest, RowsStackAndPresetsTakeTheirBars)
{
    SplitHost host;
    SSplitWnd* rows = host.InputHost::Load<SSplitWnd>(
        L"<root><splitrow name='rows' pos='0,0,@100,@200'><pane idealSize='50'/><pane idealSize='50' priority='1'/>"
        L"<text/></splitrow></root>",
        L"rows");
    ASSERT_TRUE(rows);
    EXPECT_FALSE(rows->IsVertical());
    ASSERT_EQ(2, rows->GetPaneCount());  // other children are ignored
    // 200 - 5: both reach 50, the first (lower priority) takes the other 95.
    EXPECT_EQ((RECT{0, 0, 100, 145}), rows->GetPane(0)->GetWindowRect());
    EXPECT_EQ((RECT{0, 150, 100, 200}), rows->GetPane(1)->GetWindowRect());
    host.Mouse(WM_LBUTTONDOWN, 50, 147);
    EXPECT_EQ(0, rows->GetDragSeparator());
    host.Mouse(WM_MOUSEMOVE, 50, 127);
    EXPECT_EQ(125, rows->GetPane(0)->GetWindowRect().bottom);
    host.Mouse(WM_LBUTTONUP, 50, 127);
}
