// Messages, the state word, invalidation requests, render targets and timers
// of an element.
#include "element/ElementHost.h"
#include "LifetimeCheck.h"
#include "support/MessageRecorder.h"

#include <string>
#include <vector>

using namespace WUI;
using namespace elemtest;

class SWindowMsgTest : public LifetimeChecked {};

namespace {

// Takes WM_USER+1 and lets WM_USER+2 through to the base map; notes the
// message record it sees and what reaches the unhandled-message operation.
class MappedElement : public SWindow {
    WUI_SWINDOW_CLASS(MappedElement, SWindow, L"mapped")
    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_HANDLER(WM_USER + 1, OnOne)
        WUI_MSG_RANGE_HANDLER(WM_USER + 2, WM_USER + 3, OnPassed)
        WUI_MSG_WM_SHOWWINDOW(OnShow)
    WUI_SWND_MSG_MAP_END(SWindow)

public:
    BOOL HandleOtherMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override
    {
        others.push_back(msg);
        result = 7;
        return msg == WM_USER + 2;
    }
    LRESULT OnOne(UINT msg, WPARAM, LPARAM)
    {
        seen = GetCurMsg() ? GetCurMsg()->msg : 0;
        return msg;
    }
    LRESULT OnPassed(UINT, WPARAM, LPARAM)
    {
        SetMsgHandled(FALSE);
        return 0;
    }
    void OnShow(BOOL, UINT)
    {
        ++shows;
        SetMsgHandled(FALSE);  // the base still tracks the visibility
    }
    std::vector<UINT> others;
    UINT seen = 0;
    int shows = 0;
};

struct StateWatch {
    bool OnState(EventArgs& e)
    {
        auto& s = static_cast<EventSwndStateChanged&>(e);
        changes.push_back({s.dwOldState, s.dwNewState});
        return false;
    }
    std::vector<std::pair<DWORD, DWORD>> changes;
};

}  // namespace

TEST_F(SWindowMsgTest, MessageMapsHandledFlagAndUnhandledMessages)
{
    ElementHost host;
    host.App().RegisterFactory<MappedElement>();
    auto* el = sobj_cast<MappedElement>(host.Load(L"<root><mapped><window/><window/></mapped></root>"));
    ASSERT_NE(el, nullptr);
    EXPECT_EQ(el->shows, 1);
    el->others.clear();  // what creation and layout sent
    BOOL handled = FALSE;
    EXPECT_EQ(el->SendSwndMessage(WM_USER + 1, 0, 0, &handled), static_cast<LRESULT>(WM_USER + 1));
    EXPECT_TRUE(handled);
    EXPECT_EQ(el->seen, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(el->GetCurMsg(), nullptr);
    // Cleared by its handler: the base map, then the unhandled-message operation.
    EXPECT_EQ(el->SendSwndMessage(WM_USER + 2, 0, 0, &handled), 7);
    EXPECT_TRUE(handled);
    EXPECT_EQ(el->SendSwndMessage(WM_USER + 3, 0, 0, &handled), 7);
    EXPECT_FALSE(handled);
    EXPECT_EQ(el->others, (std::vector<UINT>{WM_USER + 2, WM_USER + 3}));
    el->SetVisible(FALSE);
    EXPECT_EQ(el->shows, 2);
    EXPECT_FALSE(el->IsVisible(TRUE));

    // A broadcast reaches every element below, unless a handled flag was asked for and given.
    el->others.clear();
    el->BroadcastSwndMessage(WM_USER + 2, 0, 0);
    EXPECT_EQ(el->others.size(), 1u);
    handled = FALSE;
    host.Root()->BroadcastSwndMessage(WM_USER + 3, 0, 0, &handled);
    EXPECT_EQ(el->others.size(), 2u);
    EXPECT_FALSE(handled);
}

TEST_F(SWindowMsgTest, StateChangesTellAndRepaintWhenTheLookDepends)
{
    ElementHost host;
    host.Load(L"<root><window name='plain' pos='0,0,@10,@10'/>"
              L"<window name='hovery' pos='20,0,@10,@10' colorTextHover='#ff0000'/></root>");
    SWindow *plain = host.Find(L"plain"), *hovery = host.Find(L"hovery");
    StateWatch watch;
    plain->GetEventSet()->SubscribeEvent(EventSwndStateChanged::EventID, &StateWatch::OnState, &watch);
    host.Container().redraws.clear();
    EXPECT_EQ(plain->ModifyState(WndState_Hover | WndState_Check, 0, TRUE), 0u);
    EXPECT_EQ(plain->ModifyState(WndState_PushDown, WndState_Hover, TRUE), static_cast<DWORD>(WndState_Hover | WndState_Check));
    EXPECT_EQ(watch.changes.size(), 2u);
    EXPECT_EQ(watch.changes[1].second, static_cast<DWORD>(WndState_PushDown | WndState_Check));
    EXPECT_EQ(plain->GetStateIndex(), 2);
    EXPECT_TRUE(host.Container().redraws.empty());  // its look does not depend on the state
    hovery->ModifyState(WndState_Hover, 0, TRUE);
    EXPECT_EQ(host.Container().redraws.size(), 1u);
    hovery->SetCheck(TRUE);
    EXPECT_TRUE(hovery->IsChecked());
    EXPECT_EQ(hovery->GetStateIndex(), 2);
    hovery->ModifyState(WndState_Disable, 0);
    EXPECT_EQ(hovery->GetStateIndex(), 3);
}

// State, visibility, enabling and place changed by code, with a handler of
// the change (the element's own, or its child's) that destroys the element:
// each call finishes on the element kept alive, and the element is freed
// once it returns.
TEST_F(SWindowMsgTest, ChangeHandlersThatDestroyTheirElement)
{
    const struct {
        const char* what;
        int event;
        const wchar_t* sender;
        void (*change)(SWindow*);
    } cases[] = {
        {"SetCheck", EventSwndStateChanged::EventID, L"w", [](SWindow* w) { w->SetCheck(TRUE); }},
        {"SetVisible", EventSwndVisibleChanged::EventID, L"w", [](SWindow* w) { w->SetVisible(FALSE, TRUE); }},
        {"EnableWindow", EventSwndStateChanged::EventID, L"w", [](SWindow* w) { w->EnableWindow(FALSE, TRUE); }},
        {"visible attribute", EventSwndVisibleChanged::EventID, L"w",
         [](SWindow* w) { w->SetAttribute(L"visible", L"0", FALSE); }},
        {"enable attribute", EventSwndStateChanged::EventID, L"w",
         [](SWindow* w) { w->SetAttribute(L"enable", L"0", FALSE); }},
        {"Move", EventSwndSize::EventID, L"kid",
         [](SWindow* w) {
             const RECT rc = {5, 5, 40, 40};
             w->Move(&rc);
         }},
    };
    for (const auto& c : cases) {
        ElementHost host;
        // Its look depends on the state, so a change repaints it after the handlers.
        host.Load(L"<root><window name='w' pos='0,0,@10,@10' colorTextHover='#ff0000'"
                  L" colorTextPushDown='#00ff00' colorTextDisable='#0000ff'>"
                  L"<window name='kid' pos='0,0,-0,-0'/></window></root>");
        SWindow* w = host.Find(L"w");
        SWindow* sender = host.Find(c.sender);
        const SWND handle = w->GetSwnd();
        host.Container().hostHook = [&](EventArgs& e) {
            if (e.GetId() == c.event && e.sender == sender && !w->IsDestroyed()) w->DestroyWindow();
            return FALSE;
        };
        c.change(w);
        host.Container().hostHook = nullptr;
        EXPECT_EQ(SWindowMgr::GetWindow(handle), nullptr) << c.what;
        EXPECT_EQ(host.Root()->GetChildrenCount(), 0) << c.what;
    }
}

TEST_F(SWindowMsgTest, InvalidationRoutes)
{
    ElementHost host;
    MessageRecorder hostWindow(UM_UPDATESWND, UM_UPDATESWND);
    host.Container().hostHwnd = hostWindow.Handle();
    host.Load(L"<root><window name='p' pos='10,10,@100,@100'>"
              L"<window name='blend' pos='0,0,@50,@50'/><window name='own' pos='50,50,@30,@30' bkgndBlend='0'/>"
              L"</window><window name='hidden' pos='0,0,@5,@5' visible='0'/></root>");
    SWindow *blend = host.Find(L"blend"), *own = host.Find(L"own");
    host.Container().redraws.clear();
    // Clipped to the element, then up the tree to the host.
    const RECT wide = {0, 0, 1000, 1000};
    blend->InvalidateRect(&wide);
    ASSERT_EQ(host.Container().redraws.size(), 1u);
    EXPECT_TRUE(EqualRect(&host.Container().redraws[0], &blend->GetWindowRect()));
    // Without background blending: the element's own update region and a request to the host window.
    own->InvalidateRect(nullptr);
    EXPECT_EQ(host.Container().redraws.size(), 1u);
    ASSERT_NE(own->GetUpdateRegion(), nullptr);
    RECT box;
    own->GetUpdateRegion()->GetRgnBox(&box);
    EXPECT_TRUE(EqualRect(&box, &own->GetWindowRect()));
    ASSERT_EQ(hostWindow.Count(UM_UPDATESWND), 1u);
    EXPECT_EQ(hostWindow.Messages()[0].wParam, own->GetSwnd());
    // Hidden or locked: nothing.
    host.Find(L"hidden")->InvalidateRect(nullptr);
    blend->LockUpdate();
    blend->InvalidateRect(nullptr);
    blend->UnlockUpdate();
    EXPECT_EQ(host.Container().redraws.size(), 1u);
    host.Container().hostHwnd = nullptr;
}

TEST_F(SWindowMsgTest, CacheAndLayeredTargetsFollowTheirAttributes)
{
    ElementHost host;
    SWindow* el = host.Load(L"<root><window pos='10,20,@30,@40'/></root>");
    EXPECT_EQ(el->GetCacheRenderTarget(), nullptr);
    EXPECT_EQ(el->SetAttribute(L"cache", L"1", FALSE), S_FALSE);
    ASSERT_NE(el->GetCacheRenderTarget(), nullptr);
    POINT org;
    el->GetCacheRenderTarget()->GetViewportOrg(&org);
    EXPECT_EQ(org.x, -10);
    EXPECT_EQ(org.y, -20);
    el->SetAttribute(L"cache", L"0", FALSE);
    EXPECT_EQ(el->GetCacheRenderTarget(), nullptr);
    // Translucent elements paint through a cache, unless layered.
    EXPECT_EQ(el->SetAttribute(L"alpha", L"128", FALSE), S_OK);
    EXPECT_TRUE(el->PaintsToCache());
    EXPECT_NE(el->GetCacheRenderTarget(), nullptr);
    EXPECT_EQ(el->SetAttribute(L"layeredWindow", L"1", FALSE), S_OK);
    EXPECT_FALSE(el->PaintsToCache());
    EXPECT_NE(el->GetLayeredRenderTarget(), nullptr);
    // A resize resizes them and moves their viewport.
    el->SetAttribute(L"pos", L"5,6,@70,@80", FALSE);
    host.Layout();
    el->GetLayeredRenderTarget()->GetViewportOrg(&org);
    EXPECT_EQ(org.x, -5);
    EXPECT_EQ(el->SetAttribute(L"alpha", L"300", FALSE), E_FAIL);
}

TEST_F(SWindowMsgTest, TimersOnTheHostWindowAndTheFramework)
{
    ElementHost host;
    MessageRecorder hostWindow(WM_TIMER, WM_TIMER);
    SWindow* el = host.Load(L"<root><window/></root>");
    EXPECT_FALSE(el->SetTimer(5, 1000));  // no host window yet
    host.Container().hostHwnd = hostWindow.Handle();
    EXPECT_TRUE(el->SetTimer(5, 1000));
    EXPECT_FALSE(el->SetTimer(0x80, 1000));  // would collide with another id
    // The host's timer id carries the element's id and handle.
    EXPECT_TRUE(::KillTimer(hostWindow.Handle(), 0x85000000u | el->GetSwnd()));
    EXPECT_TRUE(el->SetTimer(5, 1000));
    el->KillTimer(5);
    EXPECT_FALSE(::KillTimer(hostWindow.Handle(), 0x85000000u | el->GetSwnd()));
    EXPECT_TRUE(el->SetTimer2(3, 1000));
    el->KillTimer2(3);
    host.Container().hostHwnd = nullptr;
}
