// Hit testing, the cursor, the tip, sibling groups and the default mouse
// handlers of elements.
#include "element/ContainerHost.h"
#include "element/ElementHost.h"
#include "LeakCheck.h"

#include <string>
#include <vector>

using namespace WUI;
using namespace elemtest;

class SWindowInputTest : public LeakChecked {};

namespace {

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

// A member of a group of siblings; the checked one answers for the group.
class GroupMember : public SWindow {
    WUI_SWINDOW_CLASS(GroupMember, SWindow, L"member")
public:
    BOOL JoinsSiblingGroup() const override { return TRUE; }
    SWindow* GetCheckedSiblingInGroup() override
    {
        for (SWindow* s = GetParent()->GetWindow(GSW_FIRSTCHILD); s; s = s->GetWindow(GSW_NEXTSIBLING))
            if (s->JoinsSiblingGroup() && s->IsChecked()) return s;
        return nullptr;
    }
};

struct Clicks {
    bool OnCommand(EventArgs&)
    {
        ++commands;
        return false;
    }
    int commands = 0;
};

}  // namespace

TEST_F(SWindowInputTest, SwndFromPointFindsTheTopmostTakingElement)
{
    ElementHost host;
    host.Load(L"<root>"
              L"<window name='panel' pos='10,10,@200,@100' margin='5'>"
              L"  <window name='under' pos='0,0,@100,@50'/>"
              L"  <window name='over' pos='50,0,@100,@50'/>"
              L"  <window name='glass' pos='0,60,@100,@20' msgTransparent='1'/>"
              L"  <window name='hidden' pos='120,60,@50,@20' visible='0'/>"
              L"</window></root>");
    SWindow *panel = host.Find(L"panel"), *under = host.Find(L"under"), *over = host.Find(L"over");
    ASSERT_EQ(panel->GetClientRect().left, 15);
    const struct {
        POINT pt;
        SWindow* expected;
    } cases[] = {
        {{20, 20}, under},                // only the first child there
        {{80, 20}, over},                 // both: the later sibling is on top
        {{12, 12}, panel},                // the panel's margin
        {{20, 80}, panel},                // through the transparent child to its parent
        {{140, 80}, panel},               // the hidden child takes nothing
        {{300, 200}, host.Root()},        // the root around everything
        {{-1, 5}, nullptr},               // outside the root
    };
    for (const auto& c : cases)
        EXPECT_EQ(host.Root()->SwndFromPoint(c.pt), c.expected ? c.expected->GetSwnd() : 0) << c.pt.x << "," << c.pt.y;

    // Hit tests: the window rect, the client rect, the margin as non-client.
    EXPECT_TRUE(panel->HitTest(POINT{12, 12}, FALSE));
    EXPECT_FALSE(panel->HitTest(POINT{12, 12}, TRUE));
    EXPECT_TRUE(panel->HitNonClient(POINT{12, 12}));
    EXPECT_FALSE(panel->HitNonClient(POINT{20, 20}));
    EXPECT_FALSE(panel->HitTest(POINT{210, 20}, FALSE));  // right and bottom edges lie outside

    // A shape narrows the element: outside it the point goes to what lies beneath.
    IRegion* shape = nullptr;
    host.App().GetRenderFactory()->CreateRegion(&shape);
    const RECT leftStrip = {0, 0, 20, 50};
    shape->CombineRect(&leftStrip, RGN_COPY);
    over->SetWindowRgn(shape);
    shape->Release();
    EXPECT_EQ(host.Root()->SwndFromPoint(POINT{80, 20}), over->GetSwnd());
    EXPECT_EQ(host.Root()->SwndFromPoint(POINT{100, 20}), under->GetSwnd());
    EXPECT_FALSE(over->HitTest(POINT{140, 20}, FALSE));
    IRegion* copy = nullptr;
    host.App().GetRenderFactory()->CreateRegion(&copy);
    EXPECT_TRUE(over->GetWindowRgn(copy));
    RECT box;
    copy->GetRgnBox(&box);
    EXPECT_TRUE(EqualRect(&box, &leftStrip));
    over->SetWindowRgn(nullptr);
    EXPECT_FALSE(over->GetWindowRgn(copy));
    copy->Release();
    EXPECT_EQ(host.Root()->SwndFromPoint(POINT{100, 20}), over->GetSwnd());

    // An element never laid out (an empty rectangle) takes nothing.
    SWindow* loose = new SWindow;
    host.Root()->InsertChild(loose);
    EXPECT_FALSE(loose->HitTest(POINT{0, 0}, FALSE));
    EXPECT_EQ(loose->SwndFromPoint(POINT{0, 0}), 0u);
}

TEST_F(SWindowInputTest, CursorTipAndGroups)
{
    ElementHost host;
    host.App().RegisterFactory<GroupMember>();
    host.Load(L"<root><window name='hand' cursor='hand' tip='Press me' pos='0,0,@50,@50'/>"
              L"<window name='odd' cursor='nosuchcursor' pos='50,0,@50,@50'/>"
              L"<window name='group'><window name='plain'/><member name='a'/><member name='b'/></window></root>");
    SWindow *hand = host.Find(L"hand"), *odd = host.Find(L"odd"), *group = host.Find(L"group");
    EXPECT_TRUE(hand->OnSetCursor(POINT{5, 5}));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    EXPECT_FALSE(odd->OnSetCursor(POINT{55, 5}));  // the container falls back to the arrow

    SwndToolTipInfo tip;
    EXPECT_TRUE(hand->GetToolTipInfo(POINT{5, 5}, tip));
    EXPECT_EQ(tip.swnd, hand->GetSwnd());
    EXPECT_EQ(tip.key, 0u);
    EXPECT_TRUE(EqualRect(&tip.rcTarget, &hand->GetWindowRect()));
    EXPECT_STREQ(tip.strTip, L"Press me");
    EXPECT_FALSE(odd->GetToolTipInfo(POINT{55, 5}, tip));

    EXPECT_EQ(group->GetCheckedChildInGroup(), nullptr);
    host.Find(L"b")->SetCheck(TRUE);
    EXPECT_EQ(group->GetCheckedChildInGroup(), host.Find(L"b"));
    EXPECT_EQ(host.Root()->GetCheckedChildInGroup(), nullptr);  // its children join no group
    EXPECT_EQ(hand->GetDlgCode(), 0u);
}

TEST_F(SWindowInputTest, ClickPushesCapturesAndCommandsOnlyInside)
{
    ElementHost host;
    host.Load(L"<root><window name='btn' pos='10,10,@40,@20' focusable='1'/>"
              L"<window name='off' pos='60,10,@40,@20' enable='0'/></root>");
    SWindow* btn = host.Find(L"btn");
    Clicks clicks;
    btn->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Clicks::OnCommand, &clicks);
    FakeContainer& c = host.Container();

    btn->SendSwndMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(15, 15));
    EXPECT_EQ(c.capture, btn->GetSwnd());
    EXPECT_EQ(c.focus, btn->GetSwnd());
    EXPECT_TRUE(btn->GetState() & WndState_PushDown);
    btn->SendSwndMessage(WM_LBUTTONUP, 0, At(20, 15));
    EXPECT_EQ(c.capture, 0u);
    EXPECT_FALSE(btn->GetState() & WndState_PushDown);
    EXPECT_EQ(clicks.commands, 1);
    EXPECT_EQ(c.HostEventCount(EventCmd::EventID), 1);

    // Released outside: pushed goes, no command.
    btn->SendSwndMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(15, 15));
    btn->SendSwndMessage(WM_LBUTTONUP, 0, At(200, 15));
    EXPECT_FALSE(btn->GetState() & WndState_PushDown);
    EXPECT_EQ(clicks.commands, 1);
    // A button-up without a press before it is no click either.
    btn->SendSwndMessage(WM_LBUTTONUP, 0, At(15, 15));
    EXPECT_EQ(clicks.commands, 1);

    // A disabled element cannot take the capture.
    SWindow* off = host.Find(L"off");
    off->SendSwndMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(65, 15));
    EXPECT_EQ(c.capture, 0u);

    // The right button asks for a context menu at the point; the wheel goes up to the parent.
    c.hostEvents.clear();
    btn->SendSwndMessage(WM_RBUTTONDOWN, 0, At(12, 13));
    EXPECT_EQ(c.HostEventCount(EventCtxMenu::EventID), 1);
    BOOL handled = FALSE;
    EXPECT_EQ(host.Root()->SendSwndMessage(WM_MOUSEWHEEL, 120 << 16, At(12, 13), &handled), 0);
    EXPECT_TRUE(handled);
    EXPECT_EQ(btn->SendSwndMessage(WM_MOUSEWHEEL, 120 << 16, At(12, 13), &handled), 0);
    EXPECT_TRUE(handled);
}

TEST_F(SWindowInputTest, HoverAndLeaveFollowTheCapture)
{
    ElementHost host;
    host.Load(L"<root><window name='btn' pos='10,10,@40,@20' colorTextHover='#ff0000'/></root>");
    SWindow* btn = host.Find(L"btn");
    FakeContainer& c = host.Container();
    btn->SendSwndMessage(WM_MOUSEHOVER, 0, At(15, 15));
    EXPECT_EQ(btn->GetState(), static_cast<DWORD>(WndState_Hover));
    EXPECT_EQ(c.HostEventCount(EventSwndMouseHover::EventID), 1);
    EXPECT_FALSE(c.redraws.empty());  // the look depends on hover
    btn->SendSwndMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(15, 15));
    // Leaving while holding the capture lets the element look released...
    btn->SendSwndMessage(WM_MOUSELEAVE);
    EXPECT_EQ(btn->GetState(), 0u);
    EXPECT_EQ(c.HostEventCount(EventSwndMouseLeave::EventID), 1);
    // ...and coming back shows it pressed again.
    btn->SendSwndMessage(WM_MOUSEHOVER, 0, At(15, 15));
    EXPECT_EQ(btn->GetState(), static_cast<DWORD>(WndState_Hover | WndState_PushDown));
    btn->SendSwndMessage(WM_LBUTTONUP, 0, At(15, 15));
    btn->SendSwndMessage(WM_MOUSELEAVE);
    // Without the capture a leave does not touch pushed.
    btn->ModifyState(WndState_PushDown, 0);
    btn->SendSwndMessage(WM_MOUSELEAVE);
    EXPECT_EQ(btn->GetState(), static_cast<DWORD>(WndState_PushDown));
}

TEST_F(SWindowInputTest, ElementDestroyedByItsOwnClick)
{
    ElementHost host;
    host.Load(L"<root><window name='box'><window name='btn' pos='0,0,@40,@20'/></window></root>");
    SWindow* btn = host.Find(L"btn");
    SWindow* box = host.Find(L"box");
    // The host's event hook closes the whole box the button sits in.
    host.Container().hostHook = [box](EventArgs& e) {
        if (e.GetId() == EventCmd::EventID) box->DestroyWindow();
        return FALSE;
    };
    btn->SendSwndMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    btn->SendSwndMessage(WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_EQ(host.Find(L"btn"), nullptr);
    EXPECT_EQ(host.Find(L"box"), nullptr);
    EXPECT_EQ(host.Root()->GetChildrenCount(), 0);
    EXPECT_EQ(host.Container().HostEventCount(EventCmd::EventID), 1);
    host.Container().hostHook = nullptr;
}

// A handler that destroys the element during its own press (the focus it
// takes) or release (its pushed state going): the click ends there, and the
// element that went fires nothing more, a command least of all.
TEST_F(SWindowInputTest, APressOrReleaseEndsWithTheElementItsHandlersDestroy)
{
    struct Watch {
        int event;
        int destroyed = 0;  // calls of the destroying handler
        bool gone = false;  // its destroy event came
        int after = 0;      // state changes and commands since
        bool OnEvent(EventArgs& e)
        {
            if (e.GetId() == EventSwndDestroy::EventID) gone = true;
            else if (gone) ++after;
            else if (e.GetId() == event && destroyed++ == 0) e.sender->DestroyWindow();
            return false;
        }
    };
    const struct {
        const char* what;
        int event;
        bool onRelease;
    } cases[] = {
        {"the focus the press takes", EventSetFocus::EventID, false},
        {"the pushed state going at the release", EventSwndStateChanged::EventID, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ContainerHost host;
        host.Load(L"<root><window name='btn' pos='10,10,@40,@20' focusable='1'/></root>");
        SWindow* btn = host.Find(L"btn");
        if (c.onRelease) host.Mouse(WM_LBUTTONDOWN, 15, 15);
        Watch watch{c.event};
        for (int id : {c.event, int(EventSwndStateChanged::EventID), int(EventCmd::EventID),
                       int(EventSwndDestroy::EventID)})
            btn->GetEventSet()->SubscribeEvent(id, &Watch::OnEvent, &watch);
        if (!c.onRelease) host.Mouse(WM_LBUTTONDOWN, 15, 15);
        host.Mouse(WM_LBUTTONUP, 15, 15);
        EXPECT_EQ(1, watch.destroyed);
        EXPECT_TRUE(watch.gone);
        EXPECT_EQ(0, watch.after);
        EXPECT_EQ(nullptr, host.Find(L"btn"));
        EXPECT_EQ(0u, host.Container().GetCapture());
    }
}
