// Events: the table, delivery order, the stop rule, the road to the owner and
// the host, subscriptions changing during a walk, and handlers that destroy.
#include "core/SEventSet.h"
#include "element/ElementHost.h"
#include "LeakCheck.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace WUI;
using namespace elemtest;

class EventTest : public LeakChecked {};

namespace {

// Three subscribers (A, B, C) whose answers and side effects a test sets.
struct Recorder {
    struct Behaviour {
        bool result = false;
        bool clearBubble = false;
        std::function<void(EventArgs&)> action;
    };
    bool A(EventArgs& e) { return Run('A', a, e); }
    bool B(EventArgs& e) { return Run('B', b, e); }
    bool C(EventArgs& e) { return Run('C', c, e); }
    bool Run(char who, Behaviour& how, EventArgs& e)
    {
        calls += who;
        if (how.clearBubble) e.bubbleUp = 0;
        if (how.action) how.action(e);
        return how.result;
    }
    Behaviour a, b, c;
    std::string calls;
};

// A script engine that notes the handlers it is asked to run.
class FakeScript : public TObjRefImpl<IScriptModule> {
public:
    int RunHandler(LPCSTR handler, EventArgs& args) override
    {
        ran.push_back(std::string(handler) + "/" + std::to_string(args.GetId()));
        if (stop) args.bubbleUp = 0;
        return 1;
    }
    int LoadScriptBuffer(const char*, size_t) override { return 1; }
    std::vector<std::string> ran;
    bool stop = false;
};

}  // namespace

TEST_F(EventTest, TableOfIdsAndNames)
{
    int count = 0;
    const EventTableEntry* table = GetEventTable(&count);
    ASSERT_EQ(count, 55);
    std::set<std::wstring> names;
    for (int i = 0; i < count; ++i) {
        if (i) {
            EXPECT_LT(table[i - 1].id, table[i].id);
        }
        EXPECT_NE(table[i].id, 10005);
        EXPECT_EQ(std::wstring(table[i].name).substr(0, 3), L"on_");
        EXPECT_TRUE(names.insert(table[i].name).second) << table[i].name;
    }
    struct Known {
        int id;
        const wchar_t *className, *name;
    } known[] = {
        {8000, L"EventInit", L"on_init"},          {8106, L"EventSwndStateChanged", L"on_state_changed"},
        {10001, L"EventCtxMenu", L"on_conext_menu"}, {10009, L"EventItemPanelRclick", L"on_itemparem_rclick"},
        {15101, L"EventLVSelChanged", L"on_listview_select_changed"}, {22101, L"EventAnimateStop", L"on_animate_stop"},
    };
    for (const Known& k : known) {
        const EventTableEntry* e = std::find_if(table, table + count, [&](const EventTableEntry& t) { return t.id == k.id; });
        ASSERT_NE(e, table + count) << k.id;
        EXPECT_STREQ(e->className, k.className);
        EXPECT_STREQ(e->name, k.name);
    }
    // An argument object answers with its event, not its sender.
    auto sender = AdoptRef(new SWindow);
    sender->SetID(42);
    EventCtxMenu menu(sender, POINT{3, 4});
    EXPECT_EQ(menu.GetId(), 10001);
    EXPECT_STREQ(menu.GetName(), L"on_conext_menu");
    EXPECT_TRUE(menu.IsClass(L"on_conext_menu"));
    EXPECT_TRUE(menu.IsClass(L"eventargs"));
    EXPECT_FALSE(menu.IsClass(L"on_command"));
    EXPECT_EQ(menu.idFrom, 42);
    EXPECT_EQ(menu.bubbleUp, 1);
    EXPECT_EQ(menu.handled, 0);
    EXPECT_EQ(menu.cancel, FALSE);
    EXPECT_EQ(EventCmd::EventID, 10000);
}

TEST_F(EventTest, ElementEventsNewestFirstAndTheStopRule)
{
    ElementHost host;
    SWindow* el = host.Load(L"<root><window name='el'/></root>");
    ASSERT_NE(el, nullptr);
    for (int id : {8102, 8103, 8104, 9000, 9001, 8106, 8105, 10000, 10001, 8100, 8101})
        EXPECT_TRUE(el->GetEventSet()->IsEventExist(id)) << id;
    EXPECT_FALSE(el->GetEventSet()->IsEventExist(8000));

    struct Case {
        bool bResult, bClears, aResult;
        const char* calls;
        int handled;
        bool reachesHost;
        BOOL fired;
    } cases[] = {
        {true, true, true, "B", 1, false, TRUE},     // B stops the walk and the road
        {false, true, false, "BA", 0, false, FALSE},  // false never stops the walk, even with bubbleUp cleared
        {false, true, true, "BA", 1, false, TRUE},
        {true, false, false, "BA", 1, true, TRUE},   // handled but still bubbling: the host hears it
        {false, false, false, "BA", 0, true, FALSE},
    };
    for (const Case& c : cases) {
        Recorder r;
        SEventSet* set = el->GetEventSet();
        ASSERT_TRUE(set->SubscribeEvent(EventCmd::EventID, &Recorder::A, &r));
        ASSERT_TRUE(set->SubscribeEvent(EventCmd::EventID, &Recorder::B, &r));
        EXPECT_FALSE(set->SubscribeEvent(EventCmd::EventID, &Recorder::B, &r));  // already there
        EXPECT_FALSE(set->SubscribeEvent(8000, &Recorder::C, &r));             // no such event
        r.b = {c.bResult, c.bClears, nullptr};
        r.a = {c.aResult, false, nullptr};
        host.Container().hostEvents.clear();
        EventCmd evt(el);
        EXPECT_EQ(el->FireEvent(evt), c.fired) << c.calls;
        EXPECT_EQ(r.calls, c.calls);
        EXPECT_EQ(evt.handled, c.handled);
        EXPECT_EQ(host.Container().HostEventCount(10000), c.reachesHost ? 1 : 0);
        EXPECT_TRUE(set->UnsubscribeEvent(EventCmd::EventID, &Recorder::A, &r));
        EXPECT_TRUE(set->UnsubscribeEvent(EventCmd::EventID, &Recorder::B, &r));
        EXPECT_FALSE(set->UnsubscribeEvent(EventCmd::EventID, &Recorder::B, &r));
    }

    // Muted: nothing runs, nothing reaches the host.
    Recorder r;
    el->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Recorder::A, &r);
    el->GetEventSet()->SetMuted(true);
    host.Container().hostEvents.clear();
    EXPECT_FALSE(el->FireCommand());
    EXPECT_EQ(r.calls, "");
    EXPECT_EQ(host.Container().HostEventCount(10000), 0);
    el->GetEventSet()->SetMuted(false);
    r.a.result = true;
    EXPECT_TRUE(el->FireCommand());
    EXPECT_EQ(r.calls, "A");

    // The context menu's cancel flag comes back from the handlers.
    el->GetEventSet()->SubscribeEvent(EventCtxMenu::EventID, &Recorder::B, &r);
    r.b.action = [](EventArgs& e) { static_cast<EventCtxMenu&>(e).cancel = TRUE; };
    EXPECT_TRUE(el->FireCtxMenu(5, 6));
}

TEST_F(EventTest, SubscriptionsChangingDuringTheWalk)
{
    ElementHost host;
    SWindow* el = host.Load(L"<root><window/></root>");
    SEventSet* set = el->GetEventSet();
    Recorder r;
    set->SubscribeEvent(EventCmd::EventID, &Recorder::A, &r);
    set->SubscribeEvent(EventCmd::EventID, &Recorder::B, &r);
    // B removes itself and A, and adds C: A is no longer called, C only next time.
    r.b.action = [&](EventArgs&) {
        EXPECT_TRUE(set->UnsubscribeEvent(EventCmd::EventID, &Recorder::B, &r));
        EXPECT_TRUE(set->UnsubscribeEvent(EventCmd::EventID, &Recorder::A, &r));
        EXPECT_TRUE(set->SubscribeEvent(EventCmd::EventID, &Recorder::C, &r));
    };
    el->FireCommand();
    EXPECT_EQ(r.calls, "B");
    EXPECT_EQ(set->GetEvent(EventCmd::EventID)->GetSubscriberCount(), 1);
    r.calls.clear();
    el->FireCommand();
    EXPECT_EQ(r.calls, "C");

    // A handler removing the very event that is firing.
    r.c.action = [&](EventArgs&) { set->RemoveEvent(EventCmd::EventID); };
    r.calls.clear();
    el->FireCommand();
    EXPECT_EQ(r.calls, "C");
    EXPECT_FALSE(set->IsEventExist(EventCmd::EventID));
    EXPECT_FALSE(el->FireCommand());
}

TEST_F(EventTest, OwnerChainThenTheHostHook)
{
    ElementHost host;
    host.Load(L"<root><window name='sender'/><window name='owner'/><window name='top'/></root>");
    SWindow *sender = host.Find(L"sender"), *owner = host.Find(L"owner"), *top = host.Find(L"top");
    sender->SetOwner(owner);
    owner->SetOwner(top);
    top->SetOwner(sender);  // a loop is refused
    EXPECT_EQ(top->GetOwner(), nullptr);
    EXPECT_EQ(sender->GetWindow(GSW_OWNER), owner);

    Recorder mine, theirs, last;
    sender->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Recorder::A, &mine);
    owner->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Recorder::B, &theirs);
    top->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Recorder::C, &last);
    mine.a.result = true;
    host.Container().hostHook = [](EventArgs& e) {
        e.handled++;
        return TRUE;
    };
    host.Container().hostEvents.clear();
    EXPECT_TRUE(sender->FireCommand());
    EXPECT_EQ(mine.calls + theirs.calls + last.calls, "ABC");
    ASSERT_EQ(host.Container().hostEvents.size(), 1u);
    EXPECT_EQ(host.Container().hostEvents[0].id, 10000);
    EXPECT_EQ(host.Container().hostEvents[0].sender, sender->GetSwnd());  // the sender travels along

    // An owner that stops the event keeps it from the rest of the road.
    theirs.b = {true, true, nullptr};
    host.Container().hostEvents.clear();
    last.calls.clear();
    EXPECT_TRUE(sender->FireCommand());
    EXPECT_EQ(last.calls, "");
    EXPECT_EQ(host.Container().HostEventCount(10000), 0);

    // An owner that is gone is skipped: the host hears the event directly.
    host.Root()->DestroyChild(owner);
    EXPECT_EQ(sender->GetOwner(), nullptr);
    sender->FireCommand();
    EXPECT_EQ(host.Container().HostEventCount(10000), 1);
}

TEST_F(EventTest, HandlerDestroysItsSenderOrTheWholeTree)
{
    ElementHost host;
    host.Load(L"<root><window name='panel'><window name='button'/><window name='other'/></window></root>");
    SWindow* button = host.Find(L"button");
    const SWND handle = button->GetSwnd();
    Recorder r;
    button->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Recorder::A, &r);
    button->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Recorder::B, &r);
    r.b.action = [button](EventArgs& e) {
        EXPECT_EQ(e.sender, button);
        button->DestroyWindow();
    };
    r.a.action = [button](EventArgs& e) {
        // Still alive for the rest of the walk, though out of the tree.
        EXPECT_EQ(e.sender, button);
        EXPECT_TRUE(button->IsDestroyed());
        EXPECT_EQ(button->GetParent(), nullptr);
    };
    host.Container().hostEvents.clear();
    button->FireCommand();
    EXPECT_EQ(r.calls, "BA");
    EXPECT_EQ(SWindowMgr::GetWindow(handle), nullptr);
    EXPECT_EQ(host.Container().HostEventCount(10000), 0);  // the walk ended with the sender
    EXPECT_EQ(host.Find(L"panel")->GetChildrenCount(), 1);

    // A handler taking down the sender's whole branch.
    SWindow* other = host.Find(L"other");
    SWindow* panel = host.Find(L"panel");
    const SWND panelHandle = panel->GetSwnd();
    Recorder r2;
    other->GetEventSet()->SubscribeEvent(EventSwndStateChanged::EventID, &Recorder::A, &r2);
    r2.a.action = [panel](EventArgs&) { panel->DestroyWindow(); };
    other->ModifyState(WndState_Check, 0);
    EXPECT_EQ(SWindowMgr::GetWindow(panelHandle), nullptr);
    EXPECT_EQ(host.Root()->GetChildrenCount(), 0);
}

TEST_F(EventTest, ScriptHandlersFromLayoutAttributes)
{
    ElementHost host;
    // Without a script module an event name is an unknown attribute, stored nowhere.
    SWindow* plain = host.Load(L"<root><window/></root>");
    EXPECT_EQ(plain->SetAttribute(L"on_command", L"onClick", FALSE), E_FAIL);
    EXPECT_TRUE(plain->GetEventSet()->GetScriptHandler(L"on_command").IsEmpty());

    SAutoRefPtr<FakeScript> script;
    script.Attach(new FakeScript);
    host.Container().script = script;
    SWindow* el = host.Load(L"<root><window on_command='onClick' on_conext_menu='onMenu' on_nothing='x'/></root>");
    EXPECT_EQ(el->GetEventSet()->GetScriptHandler(L"on_command"), "onClick");
    EXPECT_EQ(el->SetAttribute(L"on_nothing", L"x", FALSE), E_FAIL);
    EXPECT_EQ(el->SetAttribute(L"ON_COMMAND", L"x", FALSE), E_FAIL);  // event names are exact

    host.Container().hostEvents.clear();
    el->FireCommand();
    EXPECT_EQ(script->ran, std::vector<std::string>{"onClick/10000"});
    EXPECT_EQ(host.Container().HostEventCount(10000), 1);
    script->stop = true;  // the script clears bubbleUp: the host hears nothing
    el->FireCtxMenu(1, 2);
    EXPECT_EQ(script->ran.size(), 2u);
    EXPECT_EQ(host.Container().HostEventCount(10001), 0);
    host.Container().script = nullptr;
}
