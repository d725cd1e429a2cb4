// Item panels in a stand-in view on a fake container: building from a
// template, painting rows by state at their place in the view, the row's
// mouse events and command, events of the row's elements reaching the
// application through the view, invalidation, render targets, capture,
// tooltips, animation ticks, relayout, and panels and views destroyed by
// handlers or outliving one another.
#include "RowView.h"
#include "LeakCheck.h"
#include "element/ElementHost.h"
#include "itemviews/IListAdapter.h"
#include "render/SFontPool.h"

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

using namespace WUI;
using namespace elemtest;
using namespace itemtest;

class ItemPanelTest : public LeakChecked {};

static bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

namespace {

// Pixels as the target stores them: 0xAARRGGBB.
const DWORD kBlue = 0xFF0000FF, kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kNavy = 0xFF000080, kNone = 0;

// The view's client rect in the host, and its rows 30 high.
const RECT kViewRect = {20, 10, 280, 250};
const int kRowHeight = 30;

const wchar_t kCellRow[] = L"<item><window name='cell' pos='10,5,@40,@20' colorBkgnd='#ff0000' tip='cell tip'/></item>";

class PanelHost : public ElementHost {
public:
    PanelHost() : ElementHost(300, 260)
    {
        view = new RowView(kRowHeight);
        Root()->InsertChild(view);
        view->Move(&kViewRect);
        Container().hostHook = [this](EventArgs& e) { return OnHostEvent(e); };
    }
    // The tree goes after this class's members: its last events must not reach them.
    ~PanelHost() { Container().hostHook = nullptr; }
    void Paint()
    {
        Clear();
        Root()->RedrawRegion(Target(), nullptr);
    }
    void Clear()
    {
        const RECT all = {0, 0, 300, 260};
        Target()->ClearRect(&all, 0);
    }
    DWORD Px(int x, int y) { return Target()->GetPixel(x, y); }
    SWindow* Cell(SItemPanel* row) { return row->FindChildByName(L"cell"); }
    // Commands that reached the application through the view, by sender.
    std::vector<SWND> WrappedCommands() const
    {
        std::vector<SWND> senders;
        for (const Wrapped& w : wrapped)
            if (w.id == EventCmd::EventID) senders.push_back(w.sender);
        return senders;
    }

    RowView* view;
    struct Wrapped {
        int id;           // the event fired inside the row
        SWND sender;      // who fired it
        SItemPanel* panel;
        SWND viewSender;  // the wrapper's sender
    };
    std::vector<Wrapped> wrapped;
    std::function<void(EventOfPanel&)> onWrapped;

private:
    BOOL OnHostEvent(EventArgs& e)
    {
        if (e.GetId() != EventOfPanel::EventID) return FALSE;
        EventOfPanel& evt = static_cast<EventOfPanel&>(e);
        wrapped.push_back({evt.origin->GetId(), evt.origin->sender->GetSwnd(), evt.panel, evt.sender->GetSwnd()});
        if (onWrapped) onWrapped(evt);
        return FALSE;
    }
};

// Counts the events it is subscribed to, keeping the mouse parameters.
struct EventLog {
    bool On(EventArgs& e)
    {
        ++counts[e.GetId()];
        KeepParams<EventItemPanelClick>(e);
        KeepParams<EventItemPanelDbclick>(e);
        KeepParams<EventItemPanelRclick>(e);
        KeepParams<EventItemPanelHover>(e);
        if (onEvent) onEvent(e);
        return false;
    }
    void Watch(SWindow* element, std::initializer_list<int> ids)
    {
        for (int id : ids) EXPECT_TRUE(element->GetEventSet()->SubscribeEvent(id, &EventLog::On, this)) << id;
    }
    int Count(int id) const { return counts.count(id) ? counts.at(id) : 0; }
    template <class E>
    void KeepParams(EventArgs& e)
    {
        if (!e.IsClass(E::GetClassNameStatic())) return;
        const E& m = static_cast<const E&>(e);
        params.push_back({m.wParam, m.lParam});
    }

    std::map<int, int> counts;
    std::vector<std::pair<WPARAM, LPARAM>> params;
    std::function<void(EventArgs&)> onEvent;
};

const std::initializer_list<int> kPanelEvents = {EventItemPanelClick::EventID, EventItemPanelDbclick::EventID,
                                                 EventItemPanelRclick::EventID, EventItemPanelHover::EventID,
                                                 EventItemPanelLeave::EventID, EventCmd::EventID};

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

struct Stopper {
    bool On(EventArgs& e)
    {
        e.bubbleUp = 0;
        return true;
    }
};

class Ticker : public ITimelineHandler {
public:
    void OnNextFrame() override { ++ticks; }
    int ticks = 0;
};

}  // namespace

TEST_F(ItemPanelTest, BuildsFromItsTemplate)
{
    PanelHost host;
    SItemPanel* row = host.view->AddRow(kCellRow);
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->GetClassName(), L"SwndContainerImpl");
    EXPECT_TRUE(row->IsClass(L"window"));
    EXPECT_EQ(row->GetContainer(), static_cast<ISwndContainer*>(row));
    EXPECT_EQ(row->GetHostView(), host.view);
    for (int id : kPanelEvents) EXPECT_TRUE(row->GetEventSet()->IsEventExist(id)) << id;
    ASSERT_NE(host.Cell(row), nullptr);
    EXPECT_EQ(host.Cell(row)->GetWindowRect(), (RECT{10, 5, 50, 25})) << "laid out in panel coordinates";
    EXPECT_EQ(row->GetItemIndex(), 0);
    EXPECT_EQ(row->GetItemData(), 0);
    row->SetItemData(77);
    EXPECT_EQ(row->GetItemData(), 77);

    const struct {
        const wchar_t* name;
        const wchar_t* value;
        HRESULT result;
    } attrs[] = {
        {L"colorNormal", L"#0000ff", S_FALSE}, {L"COLORHOVER", L"#00ff00", S_FALSE}, {L"colorSelected", L"", E_FAIL},
        {L"colorNormal", L"blue-ish", E_FAIL}, {L"colorHover", L"#12", E_FAIL},
    };
    for (const auto& a : attrs) EXPECT_EQ(row->SetAttribute(a.name, a.value, FALSE), a.result) << a.name << "=" << a.value;
    host.Paint();
    EXPECT_EQ(host.Px(200, 20), kBlue) << "refused values left the colours as they were";
    EXPECT_EQ(host.Px(35, 20), kRed) << "the cell at the row's place in the view";

    EXPECT_EQ(SItemPanel::CreateItemPanel(host.view, pugi::xml_node(), host.view)->Release(), 0);
    MemFailAfter(0);
    EXPECT_EQ(SItemPanel::CreateItemPanel(host.view, pugi::xml_node(), host.view), nullptr);
    MemFailAfter(-1);
}

TEST_F(ItemPanelTest, PaintsTheColourOfItsState)
{
    PanelHost host;
    const struct {
        const wchar_t* tmpl;
        DWORD state;
        bool noSelectedColour;
        DWORD expected;
        const char* what;
    } rows[] = {
        {L"<item><window pos='40,5' colorText='#000000'>normal, no colour</window></item>", 0, false, kNone,
         "no colour: the view shows through"},
        {L"<item colorNormal='#0000ff'><window pos='40,5' colorText='#ffffff'>normal</window></item>", 0, false, kBlue,
         "normal colour"},
        {L"<item colorNormal='#0000ff' colorHover='#00ff00'><window pos='40,5'>hover</window></item>", kItemStateHover,
         false, kGreen, "hover colour"},
        {L"<item colorNormal='#0000ff'><window pos='40,5' colorText='#ffffff'>hover, no hover colour</window></item>",
         kItemStateHover, false, kBlue, "hover without a hover colour keeps the normal one"},
        {L"<item><window pos='40,5' colorText='#ffffff'>selected</window></item>", kItemStateSelected, false, kNavy,
         "the default selected colour"},
        {L"<item colorHover='#00ff00'><window pos='40,5' colorText='#ffffff'>hover + selected</window></item>",
         kItemStateHover | kItemStateSelected, false, kNavy, "selected wins over hover"},
        {L"<item colorHover='#00ff00'><window pos='40,5'>hover + selected, no selected colour</window></item>",
         kItemStateHover | kItemStateSelected, true, kGreen, "without a selected colour, hover"},
    };
    for (const auto& r : rows) {
        SItemPanel* row = host.view->AddRow(r.tmpl);
        ASSERT_NE(row, nullptr);
        row->ModifyItemState(r.state, 0);
        if (r.noSelectedColour) row->SetColors(kColorNone, kColorNone);
    }
    host.Target()->SetTextColor(0xFFFFFFFF);  // what the view's own text would be
    host.Paint();
    host.SavePicture(L"itempanel_rows.png");
    for (int i = 0; i < host.view->RowCount(); ++i) {
        const RECT rc = host.view->RowRect(i);
        EXPECT_EQ(host.Px(rc.left + 5, rc.top + 15), rows[i].expected) << rows[i].what;
        EXPECT_EQ(host.Px(rc.right - 2, rc.bottom - 1), rows[i].expected) << rows[i].what;
    }
    for (int i : {2, 6}) {  // text that sets no colour is black, whatever the view had selected
        const RECT rc = host.view->RowRect(i);
        DWORD darkest = 0xFFFFFFFF;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left + 40; x < rc.left + 100; ++x)
                if ((host.Px(x, y) & 0xFFFFFF) < (darkest & 0xFFFFFF)) darkest = host.Px(x, y);
        EXPECT_EQ(darkest, 0xFF000000u) << rows[i].what;
    }
    EXPECT_EQ(host.Px(100, kViewRect.top + 7 * kRowHeight + 10), kNone) << "below the rows";
    EXPECT_EQ(host.Px(10, 20), kNone) << "left of the view";
}

TEST_F(ItemPanelTest, ClickOnTheBackgroundFiresClickAndOneCommand)
{
    PanelHost host;
    host.view->AddRow();
    SItemPanel* row = host.view->AddRow(kCellRow);
    EventLog log;
    log.Watch(row, kPanelEvents);
    host.wrapped.clear();
    host.Container().hostEvents.clear();
    row->DispatchHostMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(200, 15));
    EXPECT_EQ(log.Count(EventItemPanelClick::EventID), 1);
    ASSERT_EQ(log.params.size(), 1u);
    EXPECT_EQ(log.params[0].first, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(log.params[0].second, At(200, 15));
    EXPECT_EQ(log.Count(EventCmd::EventID), 0);
    row->DispatchHostMessage(WM_LBUTTONUP, 0, At(200, 15));
    EXPECT_EQ(log.Count(EventCmd::EventID), 1);
    EXPECT_EQ(host.WrappedCommands(), std::vector<SWND>{row->GetSwnd()});
    EXPECT_TRUE(host.view->captureCalls.empty()) << "no element took the mouse";
    ASSERT_FALSE(host.wrapped.empty());
    EXPECT_EQ(host.wrapped[0].id, EventItemPanelClick::EventID) << "the row's own events reach the view too";
    EXPECT_EQ(host.wrapped[0].panel, row);
    EXPECT_EQ(host.wrapped[0].viewSender, host.view->GetSwnd());
    EXPECT_EQ(host.Container().HostEventCount(EventOfPanel::EventID), static_cast<int>(host.wrapped.size()));

    // While the view mutes the row, nothing fires, the command neither.
    row->GetEventSet()->SetMuted(true);
    row->DispatchHostMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(200, 15));
    row->DispatchHostMessage(WM_LBUTTONUP, 0, At(200, 15));
    row->GetEventSet()->SetMuted(false);
    EXPECT_EQ(log.Count(EventItemPanelClick::EventID), 1);
    EXPECT_EQ(log.Count(EventCmd::EventID), 1);
}

TEST_F(ItemPanelTest, ClickOnAnElementCapturesThroughTheView)
{
    PanelHost host;
    host.view->AddRow();
    SItemPanel* row = host.view->AddRow(kCellRow);
    SWindow* cell = host.Cell(row);
    EventLog log;
    log.Watch(row, kPanelEvents);
    row->DispatchHostMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 10));
    EXPECT_EQ(row->GetCapture(), cell->GetSwnd());
    EXPECT_EQ(host.Container().capture, host.view->GetSwnd()) << "the view holds the host's mouse for the row";
    row->DispatchHostMessage(WM_LBUTTONUP, 0, At(25, 12));
    EXPECT_EQ(log.Count(EventItemPanelClick::EventID), 1);
    EXPECT_EQ(log.Count(EventCmd::EventID), 1);
    EXPECT_EQ(host.WrappedCommands(), (std::vector<SWND>{cell->GetSwnd(), row->GetSwnd()}))
        << "the cell's command, then the row's, once each";
    ASSERT_EQ(host.view->captureCalls.size(), 2u);
    EXPECT_EQ(host.view->captureCalls[0].row, 1);
    EXPECT_TRUE(host.view->captureCalls[0].capture);
    EXPECT_FALSE(host.view->captureCalls[1].capture);
    EXPECT_EQ(host.Container().capture, 0u);

    // A disabled element is refused the capture, and the view is not told.
    cell->EnableWindow(FALSE);
    EXPECT_EQ(row->SetCapture(cell->GetSwnd()), 0u);
    EXPECT_EQ(host.view->captureCalls.size(), 2u);
    EXPECT_EQ(host.Container().capture, 0u);
}

TEST_F(ItemPanelTest, RowMouseEventsCarryTheMessage)
{
    PanelHost host;
    SItemPanel* row = host.view->AddRow(kCellRow);
    EventLog log;
    log.Watch(row, kPanelEvents);
    row->DispatchHostMessage(WM_MOUSEHOVER, MK_SHIFT, At(100, 3));
    EXPECT_TRUE(row->GetState() & WndState_Hover);
    row->DispatchHostMessage(WM_RBUTTONDOWN, MK_RBUTTON, At(101, 4));
    row->DispatchHostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(102, 5));
    row->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(row->GetState() & WndState_Hover);
    for (int id : std::initializer_list<int>{EventItemPanelHover::EventID, EventItemPanelRclick::EventID,
                                             EventItemPanelDbclick::EventID, EventItemPanelLeave::EventID})
        EXPECT_EQ(log.Count(id), 1) << id;
    EXPECT_EQ(log.Count(EventItemPanelClick::EventID), 0);
    const std::vector<std::pair<WPARAM, LPARAM>> params = {
        {MK_SHIFT, At(100, 3)}, {MK_RBUTTON, At(101, 4)}, {MK_LBUTTON, At(102, 5)}};
    EXPECT_EQ(log.params, params);

    // A disabled row fires none of them, no command either, but its tree still
    // gets the messages (the hover follows the mouse).
    row->EnableWindow(FALSE);
    log.counts.clear();
    for (UINT msg : {WM_MOUSEHOVER, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MOUSELEAVE})
        row->DispatchHostMessage(msg, 0, At(30, 10));
    EXPECT_TRUE(log.counts.empty());
    row->DispatchHostMessage(WM_MOUSEMOVE, 0, At(30, 10));
    EXPECT_EQ(row->GetHover(), host.Cell(row)->GetSwnd());
}

TEST_F(ItemPanelTest, ElementEventsReachTheApplicationThroughTheView)
{
    PanelHost host;
    host.view->AddRow();
    SItemPanel* row = host.view->AddRow(kCellRow);
    SWindow* cell = host.Cell(row);
    host.wrapped.clear();
    cell->FireCommand();
    ASSERT_EQ(host.wrapped.size(), 1u);
    EXPECT_EQ(host.wrapped[0].id, EventCmd::EventID);
    EXPECT_EQ(host.wrapped[0].sender, cell->GetSwnd());
    EXPECT_EQ(host.wrapped[0].panel, row);
    EXPECT_EQ(host.wrapped[0].viewSender, host.view->GetSwnd());

    // A subscriber inside the row that stops the event keeps it from the view.
    Stopper stopper;
    EXPECT_TRUE(cell->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Stopper::On, &stopper));
    cell->FireCommand();
    EXPECT_EQ(host.wrapped.size(), 1u);
}

TEST_F(ItemPanelTest, InvalidationGoesToTheViewAtTheRowsPlace)
{
    PanelHost host;
    host.view->AddRow();
    SItemPanel* row = host.view->AddRow(L"<item><window name='cell' pos='10,5,@40,@20'/>"
                                        L"<window name='wide' pos='200,5,@100,@20'/></item>");
    SWindow* cell = host.Cell(row);
    auto redrawsOf = [&](SWindow* element) {
        host.Container().redraws.clear();
        element->InvalidateRect(nullptr);
        return host.Container().redraws;
    };
    EXPECT_EQ(redrawsOf(cell), std::vector<RECT>{(RECT{30, 45, 70, 65})});
    EXPECT_EQ(redrawsOf(row->FindChildByName(L"wide")), std::vector<RECT>{(RECT{220, 45, 280, 65})})
        << "cut at the row and the view";
    host.view->scroll = 35;
    EXPECT_EQ(redrawsOf(cell), std::vector<RECT>{(RECT{30, 10, 70, 30})}) << "scrolled half out of the view";
    host.view->scroll = 0;

    host.view->LockUpdate();
    EXPECT_TRUE(redrawsOf(cell).empty()) << "view update-locked";
    host.view->UnlockUpdate();
    host.view->SetVisible(FALSE);
    EXPECT_TRUE(redrawsOf(cell).empty()) << "view hidden";
    host.view->SetVisible(TRUE);
    row->SetItemIndex(99);
    EXPECT_TRUE(redrawsOf(cell).empty()) << "a panel the view shows no row for";
    row->SetItemIndex(1);

    // A view that does not defer has the row paint itself at once.
    host.view->defers = FALSE;
    host.Clear();
    cell->SetAttribute(L"colorBkgnd", L"#00ff00", FALSE);
    EXPECT_EQ(host.Px(35, 50), kGreen);
    EXPECT_EQ(host.Px(35, 20), kNone) << "nothing outside the rect";
    ASSERT_FALSE(host.Container().targetsTaken.empty());
    EXPECT_EQ(host.Container().targetsTaken.back().rect, (RECT{30, 45, 70, 65}));
    EXPECT_EQ(host.Container().targetsTaken.back().mode, static_cast<int>(kRtBackground));
    EXPECT_EQ(host.Container().openTargets, 0);
    POINT origin = {-1, -1};
    host.Target()->GetViewportOrg(&origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
}

TEST_F(ItemPanelTest, ElementsPaintThroughTheViewsTargets)
{
    PanelHost host;
    host.view->AddRow();
    SItemPanel* row = host.view->AddRow(kCellRow);
    SWindow* cell = host.Cell(row);
    host.Clear();
    IRenderTarget* rt = cell->GetRenderTargetForRect(nullptr, kRtHostImage, TRUE);
    ASSERT_NE(rt, nullptr);
    const RECT rc = cell->GetClientRect();
    rt->FillSolidRect(&rc, 0xFFFF0000);  // blue in the framework's packing
    cell->ReleaseRenderTarget(rt);
    EXPECT_EQ(host.Px(30, 45), kBlue) << "the cell's top-left, at the row's place";
    EXPECT_EQ(host.Px(29, 45), kNone);
    EXPECT_EQ(host.Container().targetsTaken.back().rect, (RECT{30, 45, 70, 65}));
    EXPECT_EQ(host.Container().openTargets, 0);
    POINT origin = {-1, -1};
    host.Target()->GetViewportOrg(&origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);

    // Text starts from the default font and black, whatever the view selected,
    // then takes what the row's own style sets.
    SFontPool* fonts = SFontPool::GetSingletonPtr();
    host.Target()->SetTextColor(0xFF123456);
    SPaintState saved;
    row->BeforePaint(host.Target(), saved);
    EXPECT_EQ(host.Target()->GetTextColor(), 0xFF000000u);
    EXPECT_EQ(host.Target()->GetCurrentObject(OT_FONT), static_cast<IRenderObj*>(fonts->GetDefaultFont()));
    row->AfterPaint(host.Target(), saved);
    EXPECT_EQ(host.Target()->GetTextColor(), 0xFF123456u);
    row->SetAttribute(L"colorText", L"#ff0000", FALSE);
    row->BeforePaint(host.Target(), saved);
    EXPECT_EQ(host.Target()->GetTextColor(), 0xFF0000FFu);
    row->AfterPaint(host.Target(), saved);
    EXPECT_EQ(host.Target()->GetTextColor(), 0xFF123456u);
}

TEST_F(ItemPanelTest, HostServicesComeFromTheViewsContainer)
{
    PanelHost host;
    host.Container().hostHwnd = reinterpret_cast<HWND>(0x1234);
    host.Container().translatorContext = L"rows";
    host.view->AddRow();
    SItemPanel* row = host.view->AddRow(kCellRow);
    SWindow* cell = host.Cell(row);
    EXPECT_EQ(row->GetHostHwnd(), reinterpret_cast<HWND>(0x1234));
    EXPECT_STREQ(row->GetTranslatorContext(), L"rows");
    EXPECT_EQ(row->GetContainerRect(), (RECT{20, 40, 280, 70}));
    cell->SetCaretPos(3, 4);
    EXPECT_EQ(host.Container().caretPos.x, 23);
    EXPECT_EQ(host.Container().caretPos.y, 44);
    host.Container().tooltipUpdates = 0;
    row->UpdateTooltip();
    EXPECT_EQ(host.Container().tooltipUpdates, 1);

    // Tooltips of the row's elements, at their place in the view.
    row->DispatchHostMessage(WM_MOUSEMOVE, 0, At(20, 10));
    SwndToolTipInfo info;
    EXPECT_TRUE(row->GetToolTipInfo(POINT{40, 50}, info));
    EXPECT_EQ(info.swnd, cell->GetSwnd());
    EXPECT_EQ(info.rcTarget, (RECT{30, 45, 70, 65}));
    EXPECT_STREQ(info.strTip, L"cell tip");
    row->DispatchHostMessage(WM_MOUSEMOVE, 0, At(200, 10));
    info.swnd = 99;
    EXPECT_TRUE(row->GetToolTipInfo(POINT{220, 50}, info)) << "no hovered element: a tip of no element";
    EXPECT_EQ(info.swnd, 0u);
    EXPECT_TRUE(info.strTip.IsEmpty());
}

TEST_F(ItemPanelTest, ShownRowsTickWithTheViewsContainer)
{
    PanelHost host;
    SItemPanel* row = host.view->AddRow(kCellRow);
    auto registered = [&] {
        auto& t = host.Container().timelines;
        return std::find(t.begin(), t.end(), static_cast<ITimelineHandler*>(row)) != t.end();
    };
    EXPECT_TRUE(registered());
    Ticker ticker;
    EXPECT_TRUE(row->RegisterTimelineHandler(&ticker));
    host.Container().OnNextFrame();
    EXPECT_EQ(ticker.ticks, 1) << "an animation inside the row";
    row->SetVisible(FALSE);
    EXPECT_FALSE(registered()) << "a hidden (parked) row";
    host.Container().OnNextFrame();
    EXPECT_EQ(ticker.ticks, 1);
    row->SetVisible(TRUE);
    EXPECT_TRUE(registered());
    row->UnregisterTimelineHandler(&ticker);
    host.view->DropRow(0);
    EXPECT_TRUE(host.Container().timelines.empty());

    // A panel let go without DestroyWindow is told WM_DESTROY all the same.
    SItemPanel* loose = SItemPanel::CreateItemPanel(host.view, pugi::xml_node(), host.view);
    ASSERT_NE(loose, nullptr);
    loose->SetVisible(TRUE);
    EXPECT_EQ(host.Container().timelines.size(), 1u);
    EventLog log;
    log.Watch(loose, {EventSwndDestroy::EventID});
    loose->Release();
    EXPECT_EQ(log.Count(EventSwndDestroy::EventID), 1);
    EXPECT_TRUE(host.Container().timelines.empty());
}

TEST_F(ItemPanelTest, ChildChangesRelayOutTheRowThroughTheView)
{
    PanelHost host;
    SItemPanel* row = host.view->AddRow(kCellRow);
    SWindow* cell = host.Cell(row);
    host.view->relayouts = 0;
    EXPECT_EQ(cell->SetAttribute(L"pos", L"60,2,@30,@10", FALSE), S_FALSE);
    EXPECT_GE(host.view->relayouts, 1);
    EXPECT_EQ(cell->GetWindowRect(), (RECT{60, 2, 90, 12}));
}

TEST_F(ItemPanelTest, HandlersMayDropTheRowOrTheView)
{
    {
        // The row's click handler gives the row up: the dispatch ends there.
        PanelHost host;
        SItemPanel* row = host.view->AddRow(kCellRow);
        EventLog log;
        log.Watch(row, kPanelEvents);
        log.onEvent = [&](EventArgs& e) {
            if (e.GetId() == EventItemPanelClick::EventID) host.view->DropRow(0);
        };
        row->DispatchHostMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 10));
        EXPECT_EQ(log.Count(EventItemPanelClick::EventID), 1);
        EXPECT_EQ(host.Container().capture, 0u) << "the dropped row's element never took the mouse";
    }
    {
        // The application destroys the whole view on the cell's command.
        PanelHost host;
        SItemPanel* row = host.view->AddRow(kCellRow);
        SWND cell = host.Cell(row)->GetSwnd();
        EventLog log;
        log.Watch(row, kPanelEvents);
        host.onWrapped = [&](EventOfPanel& e) {
            if (e.origin->GetId() == EventCmd::EventID && e.origin->sender->GetSwnd() == cell) host.view->DestroyWindow();
        };
        row->DispatchHostMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 10));
        row->DispatchHostMessage(WM_LBUTTONUP, 0, At(20, 10));
        EXPECT_EQ(log.Count(EventCmd::EventID), 0) << "no command from a row that was given up";
        EXPECT_EQ(host.Root()->GetChildrenCount(), 0);
    }
    {
        // A panel kept past its view answers as a row of no view.
        PanelHost host;
        SItemPanel* row = host.view->AddRow(kCellRow);
        row->AddRef();
        host.view->DestroyWindow();
        EXPECT_EQ(row->GetHostView(), nullptr);
        EXPECT_EQ(row->GetHostHwnd(), nullptr);
        EXPECT_TRUE(IsRectEmpty(&static_cast<const RECT&>(row->GetContainerRect())));
        EXPECT_EQ(row->GetRenderTarget(RECT{0, 0, 10, 10}, kRtHostImage), nullptr);
        row->DispatchHostMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 10));
        row->DispatchHostMessage(WM_LBUTTONUP, 0, At(20, 10));
        row->Release();
    }
}
