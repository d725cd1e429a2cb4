// Keyboard focus: Tab order, radio groups, keeping the focus across
// deactivation, and accelerators, through a container's key dispatch.
#include "element/ContainerHost.h"
#include "LeakCheck.h"

#include <functional>
#include <string>
#include <vector>

using namespace WUI;
using namespace elemtest;

class FocusTest : public LeakChecked {};

namespace {

using Names = std::vector<std::wstring>;

std::wstring FocusName(ContainerHost& host)
{
    SWindow* focused = SWindowMgr::GetWindow(host.Container().GetFocus());
    return focused ? std::wstring(focused->GetName()) : std::wstring(L"-");
}

// The focus after each of `count` presses of the key.
Names Walk(ContainerHost& host, int count, UINT vk = VK_TAB, bool shift = false)
{
    Names names;
    for (int i = 0; i < count; ++i) {
        host.Key(vk, false, shift);
        names.push_back(FocusName(host));
    }
    return names;
}

const wchar_t kTabTree[] =
    L"<root>"
    L"<probe name='a' focusable='1'/>"
    L"<probe name='box' focusable='1'>"
    L"  <probe name='b' focusable='1'/>"
    L"  <window name='inner'><probe name='c' focusable='1'/></window>"
    L"  <probe name='hidden' focusable='1' visible='0'/>"
    L"  <probe name='off' focusable='1' enable='0'/>"
    L"  <window enable='0'><probe name='underOff' focusable='1'/></window>"
    L"</probe>"
    L"<probe name='plain'/>"
    L"<probe name='d' focusable='1'/>"
    L"</root>";

struct Target : IAcceleratorTarget {
    Target(std::vector<std::wstring>& calls, const wchar_t* name, bool consume)
        : calls(calls), name(name), consume(consume)
    {
    }
    bool OnAcceleratorPressed(const CAccelerator& accel) override
    {
        calls.push_back(name + L" " + CAccelerator(accel.GetAccel()).FormatHotkey().c_str());
        if (onPress) onPress();
        return consume;
    }
    std::vector<std::wstring>& calls;
    std::wstring name;
    bool consume;
    std::function<void()> onPress;
};

}  // namespace

TEST_F(FocusTest, TabWalksTheTreeInPreOrderAndWraps)
{
    ContainerHost host;
    host.Load(kTabTree);
    EXPECT_EQ(Walk(host, 6), (Names{L"a", L"box", L"b", L"c", L"d", L"a"}));
    host.Container().SetFocus(0);
    // Backwards: the deepest last element first, children before their parent.
    EXPECT_EQ(Walk(host, 6, VK_TAB, true), (Names{L"d", L"c", L"b", L"box", L"a", L"d"}));

    // Tab moves by keyboard: each element is told who had the focus and who takes it.
    auto* d = static_cast<ProbeElement*>(host.Find(L"d"));
    auto* a = static_cast<ProbeElement*>(host.Find(L"a"));
    host.TakeLog();
    host.Key(VK_TAB);
    EXPECT_EQ(host.TakeLog(), (Names{L"d killfocus", L"a setfocus"}));
    EXPECT_EQ(d->lastFocusParam, a->GetSwnd());
    EXPECT_EQ(a->lastFocusParam, d->GetSwnd());
    EXPECT_EQ(host.Container().GetFocusManager()->GetFocusChangeReason(), kFocusChangeByKeyboard);
}

TEST_F(FocusTest, TabIsLeftToElementsThatWantIt)
{
    ContainerHost host;
    host.Load(L"<root><probe name='edit' focusable='1' dlgCode='2' takeKeys='1'/><probe name='next' focusable='1'/></root>");
    host.Find(L"edit")->SetFocus();
    EXPECT_EQ(host.Container().GetFocusManager()->GetFocusChangeReason(), kFocusChangeDirect);
    host.TakeLog();
    BOOL handled = FALSE;
    host.Key(VK_TAB, false, false, false, &handled);
    EXPECT_EQ(FocusName(host), L"edit");
    EXPECT_EQ(host.TakeLog(), (Names{L"edit keydown"}));
    EXPECT_TRUE(handled);

    // Ctrl+Tab is no navigation: it goes to the accelerators, then the element.
    Names calls;
    Target target(calls, L"t", true);
    host.Container().GetFocusManager()->RegisterAccelerator(CAccelerator(VK_TAB, true, false, false), &target);
    host.Find(L"next")->SetFocus();
    host.TakeLog();
    host.Key(VK_TAB, true);
    EXPECT_EQ(FocusName(host), L"next");
    EXPECT_EQ(calls, (Names{L"t Ctrl+"}));  // Tab has no name
    EXPECT_TRUE(host.TakeLog().empty());
}

TEST_F(FocusTest, TabInATreeWithoutFocusableElementsChangesNothing)
{
    ContainerHost host;
    Walk(host, 1);  // no children at all
    EXPECT_EQ(FocusName(host), L"-");
    host.Load(L"<root><probe name='x'/><probe name='y' focusable='1' visible='0'/></root>");
    EXPECT_EQ(Walk(host, 2), (Names{L"-", L"-"}));
    EXPECT_EQ(Walk(host, 1, VK_TAB, true), (Names{L"-"}));
}

TEST_F(FocusTest, RadioGroupIsEnteredAtItsCheckedMemberAndLeftAsAWhole)
{
    ContainerHost host;
    host.Load(L"<root>"
              L"<probe name='first' focusable='1'/>"
              L"<window name='group'>"
              L"  <radio name='r1' focusable='1'/><radio name='r2' focusable='1'/><radio name='r3' focusable='1'/>"
              L"  <probe name='mid' focusable='1'/>"
              L"</window>"
              L"<probe name='last' focusable='1'/>"
              L"</root>");
    // Nothing checked: forward lands on the first member, backward on the last.
    host.Find(L"first")->SetFocus();
    EXPECT_EQ(Walk(host, 3), (Names{L"r1", L"mid", L"last"}));
    EXPECT_EQ(Walk(host, 3, VK_TAB, true), (Names{L"mid", L"r3", L"first"}));

    host.Find(L"r2")->SetCheck(TRUE);
    EXPECT_EQ(Walk(host, 4), (Names{L"r2", L"mid", L"last", L"first"}));
    host.Find(L"last")->SetFocus();
    EXPECT_EQ(Walk(host, 2, VK_TAB, true), (Names{L"mid", L"r2"}));

    // Arrows move within the group and wrap; the other members are skipped.
    EXPECT_EQ(Walk(host, 3, VK_RIGHT), (Names{L"r3", L"r1", L"r2"}));
    EXPECT_EQ(Walk(host, 2, VK_UP), (Names{L"r1", L"r3"}));
    EXPECT_EQ(Walk(host, 1, VK_DOWN), (Names{L"r1"}));
    // A disabled or hidden member is stepped over.
    host.Find(L"r2")->EnableWindow(FALSE);
    host.Find(L"r3")->SetVisible(FALSE);
    BOOL handled = FALSE;
    host.Key(VK_RIGHT, false, false, false, &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(FocusName(host), L"r1");  // alone in its group: taken, nothing changes
    host.Find(L"r3")->SetVisible(TRUE);
    EXPECT_EQ(Walk(host, 2, VK_RIGHT), (Names{L"r3", L"r1"}));

    // On an element outside a group, arrows are ordinary keys.
    host.Find(L"mid")->SetFocus();
    host.TakeLog();
    host.Key(VK_RIGHT, false, false, false, &handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(FocusName(host), L"mid");
    EXPECT_EQ(host.TakeLog(), (Names{L"mid keydown"}));
}

TEST_F(FocusTest, FocusIsKeptWhileTheHostIsInactive)
{
    ContainerHost host;
    host.Load(kTabTree);
    auto* b = static_cast<ProbeElement*>(host.Find(L"b"));
    b->SetFocus();
    host.TakeLog();
    host.Send(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_EQ(FocusName(host), L"-");
    EXPECT_EQ(host.TakeLog(), (Names{L"b killfocus"}));
    EXPECT_EQ(b->lastFocusParam, 0u);
    host.Send(WM_KILLFOCUS);  // the second half of a deactivation forgets nothing
    host.Send(WM_ACTIVATE, WA_CLICKACTIVE);
    EXPECT_EQ(FocusName(host), L"-");
    host.Send(WM_SETFOCUS);
    EXPECT_EQ(FocusName(host), L"b");
    EXPECT_EQ(host.TakeLog(), (Names{L"b setfocus"}));
    host.Send(WM_ACTIVATE, WA_ACTIVE);  // the stored focus was used up
    EXPECT_TRUE(host.TakeLog().empty());

    // Hidden, disabled or destroyed meanwhile: no element gets it back.
    struct {
        const wchar_t* name;
        void (*change)(SWindow*);
    } changes[] = {
        {L"c", [](SWindow* e) { e->SetVisible(FALSE); }},
        {L"a", [](SWindow* e) { e->EnableWindow(FALSE); }},
        {L"d", [](SWindow* e) { e->DestroyWindow(); }},
    };
    for (const auto& ch : changes) {
        host.Find(ch.name)->SetFocus();
        EXPECT_EQ(FocusName(host), ch.name);
        host.Send(WM_KILLFOCUS);
        ch.change(host.Find(ch.name));
        host.Send(WM_SETFOCUS);
        EXPECT_EQ(FocusName(host), L"-") << ch.name;
    }

    // An element focused while inactive keeps the focus.
    b->SetFocus();
    host.Send(WM_KILLFOCUS);
    host.Find(L"box")->SetFocus();
    host.Send(WM_SETFOCUS);
    EXPECT_EQ(FocusName(host), L"box");
}

TEST_F(FocusTest, DirectFocusChanges)
{
    ContainerHost host;
    host.Load(kTabTree);
    CFocusManager* mgr = host.Container().GetFocusManager();
    // The change is under way while the elements hear of it, and over after.
    struct Watch {
        bool OnFocus(EventArgs&)
        {
            changing.push_back(mgr->IsFocusChanging());
            return false;
        }
        CFocusManager* mgr;
        std::vector<bool> changing;
    } watch{mgr, {}};
    host.Find(L"a")->GetEventSet()->SubscribeEvent(EventSetFocus::EventID, &Watch::OnFocus, &watch);
    host.Find(L"a")->GetEventSet()->SubscribeEvent(EventKillFocus::EventID, &Watch::OnFocus, &watch);
    host.Find(L"a")->SetFocus();
    EXPECT_FALSE(mgr->IsFocusChanging());
    host.TakeLog();
    // To a disabled element: the old one loses it and none has it.
    mgr->SetFocusedSwnd(host.Swnd(L"off"), kFocusChangeDirect);
    EXPECT_EQ(host.TakeLog(), (Names{L"a killfocus"}));
    EXPECT_EQ(mgr->GetFocusedSwnd(), 0u);
    EXPECT_EQ(watch.changing, (std::vector<bool>{true, true}));
    // The same element again: nothing.
    mgr->SetFocusedSwnd(host.Swnd(L"b"), kFocusChangeDirect);
    host.TakeLog();
    mgr->SetFocusedSwnd(host.Swnd(L"b"), kFocusChangeDirect);
    EXPECT_TRUE(host.TakeLog().empty());
    // An element taken out of the tree is no longer the focus.
    SWindow* b = host.Find(L"b");
    SAutoRefPtr<SWindow> keep(b);
    b->GetParent()->RemoveChild(b);
    mgr->ValidateFocusedWnd();
    EXPECT_EQ(mgr->GetFocusedSwnd(), 0u);
    b->Release();  // the parent's reference went with the child
    // Destroyed: resolves to nothing.
    host.Find(L"c")->SetFocus();
    host.Find(L"c")->DestroyWindow();
    EXPECT_EQ(host.Container().GetFocus(), 0u);
    mgr->ClearFocus();
    EXPECT_EQ(mgr->GetFocusedSwnd(), 0u);
}

TEST_F(FocusTest, AcceleratorsGoNewestFirstUntilOneTakesTheKey)
{
    ContainerHost host;
    host.Load(L"<root><probe name='p' focusable='1'/></root>");
    host.Find(L"p")->SetFocus();
    CFocusManager* mgr = host.Container().GetFocusManager();
    Names calls;
    Target first(calls, L"first", true), second(calls, L"second", false), other(calls, L"other", true);
    const CAccelerator ctrlK('K', true, false, false);
    mgr->RegisterAccelerator(ctrlK, &first);
    mgr->RegisterAccelerator(ctrlK, &second);
    mgr->RegisterAccelerator(CAccelerator('K', false, true, false), &other);
    host.TakeLog();
    BOOL handled = FALSE;
    host.Key('K', true, false, false, &handled);
    EXPECT_EQ(calls, (Names{L"second Ctrl+K", L"first Ctrl+K"}));
    EXPECT_TRUE(handled);
    EXPECT_TRUE(host.TakeLog().empty());  // taken: the focused element never sees it
    calls.clear();
    host.Key('K', false, false, true);
    EXPECT_EQ(calls, (Names{L"other Alt+K"}));
    calls.clear();
    host.Key('K');  // no modifiers: nobody's key
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(host.TakeLog(), (Names{L"p keydown"}));

    // A target may unregister itself or another while it is asked: one
    // unregistered is not asked any more.
    second.onPress = [&] {
        mgr->UnregisterAccelerator(ctrlK, &second);
        mgr->UnregisterAccelerator(ctrlK, &first);
    };
    calls.clear();
    EXPECT_FALSE(mgr->ProcessAccelerator(ctrlK));
    EXPECT_EQ(calls, (Names{L"second Ctrl+K"}));
    calls.clear();
    EXPECT_FALSE(mgr->ProcessAccelerator(ctrlK));
    EXPECT_TRUE(calls.empty());

    // Twice registered, removed once per call; UnregisterAccelerators clears every key.
    mgr->RegisterAccelerator(ctrlK, &first);
    mgr->RegisterAccelerator(ctrlK, &first);
    mgr->UnregisterAccelerator(ctrlK, &first);
    EXPECT_TRUE(mgr->ProcessAccelerator(ctrlK));
    mgr->RegisterAccelerator(CAccelerator(VK_F2, false, false, false), &first);
    mgr->UnregisterAccelerators(&first);
    mgr->UnregisterAccelerators(&other);
    calls.clear();
    EXPECT_FALSE(mgr->ProcessAccelerator(ctrlK));
    EXPECT_FALSE(mgr->ProcessAccelerator(CAccelerator(VK_F2, false, false, false)));
    EXPECT_FALSE(mgr->ProcessAccelerator(CAccelerator('K', false, true, false)));
    EXPECT_TRUE(calls.empty());
    mgr->UnregisterAccelerator(ctrlK, &first);  // absent: nothing
}

// Registrations that run out of memory are refused whole: nothing half-kept,
// nothing leaked, and what was kept still works.
TEST_F(FocusTest, RegistrationsUnderFailedAllocations)
{
    ContainerHost host;
    host.Load(L"<root><probe name='p' trackMouseEvent='1'/></root>");
    SwndContainerImpl& c = host.Container();
    CFocusManager* mgr = c.GetFocusManager();
    Names calls;
    Target target(calls, L"t", true);
    struct Tick : ITimelineHandler {
        void OnNextFrame() override { ++ticks; }
        int ticks = 0;
    } tick;
    for (long n = 0; n < 12; ++n) {
        MemFailAfter(n);
        const CAccelerator accel(static_cast<UINT>('A' + n), true, false, false);
        mgr->RegisterAccelerator(accel, &target);
        const BOOL ticking = c.RegisterTimelineHandler(&tick);
        const BOOL tracking = c.RegisterTrackMouseEvent(1000 + n);
        calls.clear();
        const bool taken = mgr->ProcessAccelerator(accel);
        tick.ticks = 0;
        c.OnNextFrame();
        MemFailAfter(-1);
        EXPECT_EQ(taken, !calls.empty()) << n;
        EXPECT_LE(tick.ticks, ticking ? 1 : 0) << n;  // a tick without memory for its copy skips
        if (n == 0) {
            EXPECT_FALSE(taken || ticking);  // (the track list has room in its block already)
        } else if (n == 11) {
            EXPECT_TRUE(taken && ticking && tracking && tick.ticks == 1);
        }
        mgr->UnregisterAccelerators(&target);
        EXPECT_FALSE(mgr->ProcessAccelerator(accel)) << n;
        EXPECT_EQ(c.UnregisterTimelineHandler(&tick), ticking) << n;
        EXPECT_EQ(c.UnregisterTrackMouseEvent(1000 + n), tracking) << n;
    }
}
