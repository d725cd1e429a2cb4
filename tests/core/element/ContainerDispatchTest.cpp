// The container's dispatch of host messages: hover, leave and non-client
// messages for scripted mouse sequences, capture, tracked elements, the
// wheel, keys, the cursor, timeline handlers and paint order.
#include "element/ContainerHost.h"
#include "LeakCheck.h"

#include <string>
#include <vector>

using namespace WUI;
using namespace elemtest;

class ContainerDispatchTest : public LeakChecked {};

namespace {

using Log = std::vector<std::wstring>;

const wchar_t kMouseTree[] =
    L"<root>"
    L"<probe name='a' pos='10,10,@100,@100' margin='5'><probe name='child' pos='20,20,@30,@30'/></probe>"
    L"<probe name='b' pos='150,10,@100,@100'/>"
    L"<probe name='off' pos='300,10,@50,@50' enable='0'/>"
    L"<probe name='t' pos='10,150,@200,@100' trackMouseEvent='1'><probe name='in' pos='10,10,@50,@50'/></probe>"
    L"</root>";

class Ticker : public ITimelineHandler {
public:
    Ticker(Log& log, const wchar_t* name) : m_log(log), m_name(name) {}
    void OnNextFrame() override
    {
        m_log.push_back(m_name);
        if (onTick) onTick();
    }
    std::function<void()> onTick;

private:
    Log& m_log;
    std::wstring m_name;
};

// One scripted mouse message and the input it must give the probes.
struct MouseStep {
    UINT msg;
    int x, y;
    Log expected;
};

void RunSteps(ContainerHost& host, const std::vector<MouseStep>& steps)
{
    for (const MouseStep& s : steps) {
        host.Mouse(s.msg, s.x, s.y);
        EXPECT_EQ(host.TakeLog(), s.expected) << std::hex << s.msg << std::dec << " " << s.x << "," << s.y;
    }
}

struct CommandCount {
    bool OnCommand(EventArgs&)
    {
        ++commands;
        return false;
    }
    int commands = 0;
};

}  // namespace

TEST_F(ContainerDispatchTest, HoverLeaveAndNonClientMessagesFollowTheMouse)
{
    ContainerHost host;
    host.Load(kMouseTree);
    ASSERT_EQ(host.Find(L"child")->GetWindowRect().left, 35);  // inside a's client rect (15,15)
    RunSteps(host, {
        {WM_MOUSEMOVE, 50, 80, {L"a hover", L"a move"}},
        {WM_MOUSEMOVE, 60, 90, {L"a move"}},
        {WM_MOUSEMOVE, 12, 50, {L"a nchover", L"a ncmove"}},  // into a's margin
        {WM_MOUSEMOVE, 40, 40, {L"a ncleave", L"a leave", L"child hover", L"child move"}},
        // From the child into its parent's margin.
        {WM_MOUSEMOVE, 12, 40, {L"child leave", L"a nchover", L"a hover", L"a ncmove"}},
        {WM_LBUTTONDOWN, 12, 40, {L"a ncdown"}},
        {WM_LBUTTONUP, 12, 40, {L"a ncup"}},
        {WM_MOUSEHOVER, 12, 40, {L"a nchover"}},
        {WM_MOUSEMOVE, 50, 80, {L"a ncleave", L"a move"}},  // back to the client area
        {WM_MOUSELEAVE, 0, 0, {L"a leave"}},
        {WM_MOUSEMOVE, 12, 40, {L"a nchover", L"a hover", L"a ncmove"}},
        {WM_MOUSELEAVE, 0, 0, {L"a leave", L"a ncleave"}},
        // A disabled element takes no input; the hover still moves to it.
        {WM_MOUSEMOVE, 40, 40, {L"child hover", L"child move"}},
        {WM_MOUSEMOVE, 320, 20, {L"child leave"}},
        {WM_LBUTTONDOWN, 320, 20, {}},
        {WM_MOUSEMOVE, 180, 50, {L"b hover", L"b move"}},
    });
    BOOL handled = TRUE;
    host.Mouse(WM_MOUSEMOVE, 320, 20);
    EXPECT_EQ(host.Container().GetHover(), host.Swnd(L"off"));
    host.Mouse(WM_LBUTTONDOWN, 320, 20, &handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(host.Container().GetCapture(), 0u);
    EXPECT_EQ(host.Find(L"off")->GetState() & (WndState_PushDown | WndState_Hover), 0u);
}

TEST_F(ContainerDispatchTest, CaptureKeepsTheMouseUntilReleased)
{
    ContainerHost host;
    host.Load(kMouseTree);
    SWindow* b = host.Find(L"b");
    CommandCount count;
    b->GetEventSet()->SubscribeEvent(EventCmd::EventID, &CommandCount::OnCommand, &count);
    host.Mouse(WM_MOUSEMOVE, 170, 50);
    host.Mouse(WM_LBUTTONDOWN, 170, 50);
    EXPECT_EQ(host.Container().GetCapture(), b->GetSwnd());
    host.TakeLog();
    RunSteps(host, {
        {WM_MOUSEMOVE, 300, 200, {L"b leave", L"b move"}},  // off it: one leave, still its moves
        {WM_MOUSEMOVE, 40, 40, {L"b move"}},                // over another element
        {WM_LBUTTONDOWN, 40, 40, {L"b down"}},
        {WM_MOUSEMOVE, 160, 40, {L"b hover", L"b move"}},   // back: one hover
        {WM_MOUSEMOVE, 165, 40, {L"b move"}},
        {WM_LBUTTONUP, 160, 40, {L"b up"}},
    });
    EXPECT_EQ(count.commands, 1);
    EXPECT_EQ(host.Container().GetCapture(), 0u);

    // Released outside: no command.
    host.Mouse(WM_LBUTTONDOWN, 170, 50);
    host.Mouse(WM_MOUSEMOVE, 300, 200);
    host.Mouse(WM_LBUTTONUP, 300, 200);
    EXPECT_EQ(count.commands, 1);
    EXPECT_EQ(b->GetState() & WndState_PushDown, 0u);

    // The capture is refused to a disabled element; a destroyed holder is none.
    EXPECT_EQ(host.Container().SetCapture(host.Swnd(L"off")), 0u);
    EXPECT_EQ(host.Container().GetCapture(), 0u);
    EXPECT_EQ(host.Container().SetCapture(host.Swnd(L"child")), 0u);
    EXPECT_EQ(host.Container().SetCapture(b->GetSwnd()), host.Swnd(L"child"));
    b->DestroyWindow();
    EXPECT_EQ(host.Container().GetCapture(), 0u);
    host.Mouse(WM_MOUSEMOVE, 40, 40);  // without capture again
    EXPECT_EQ(host.Container().GetHover(), host.Swnd(L"child"));
}

TEST_F(ContainerDispatchTest, TrackedElementsLeaveOnlyWhenTheMouseLeavesThem)
{
    ContainerHost host;
    host.Load(kMouseTree);
    EXPECT_EQ(host.Container().GetTrackMouseCount(), 1);
    ASSERT_EQ(host.Find(L"in")->GetWindowRect().left, 20);
    RunSteps(host, {
        {WM_MOUSEMOVE, 150, 200, {L"t hover", L"t move"}},
        {WM_MOUSEMOVE, 30, 170, {L"in hover", L"in move"}},  // still within t: it stays hovered
        {WM_MOUSEMOVE, 150, 200, {L"in leave", L"t move"}},
        {WM_MOUSEMOVE, 300, 200, {L"t leave"}},
        // Straight into the child: the tracked parent is hovered by the track list.
        {WM_MOUSEMOVE, 30, 170, {L"in hover", L"in move", L"t hover"}},
        {WM_MOUSEMOVE, 300, 200, {L"in leave", L"t leave"}},
        {WM_MOUSEMOVE, 30, 170, {L"in hover", L"in move", L"t hover"}},
        {WM_MOUSELEAVE, 0, 0, {L"in leave", L"t leave"}},
    });
    EXPECT_EQ(host.Container().GetHover(), 0u);
    // A destroyed tracked element drops out of the list at the next move.
    host.Find(L"t")->DestroyWindow();
    host.Mouse(WM_MOUSEMOVE, 30, 170);
    EXPECT_EQ(host.Container().GetTrackMouseCount(), 0);
    EXPECT_FALSE(host.Container().UnregisterTrackMouseEvent(12345));
    EXPECT_TRUE(host.Container().RegisterTrackMouseEvent(12345));
    EXPECT_FALSE(host.Container().RegisterTrackMouseEvent(12345));
    host.Mouse(WM_MOUSEMOVE, 30, 171);  // a handle that names nothing goes too
    EXPECT_EQ(host.Container().GetTrackMouseCount(), 0);
}

TEST_F(ContainerDispatchTest, WheelGoesToCaptureFocusOrHover)
{
    ContainerHost host;
    host.Load(L"<root><probe name='f' pos='0,0,@50,@50' focusable='1'/><probe name='h' pos='100,0,@50,@50'/>"
              L"<probe name='off' pos='200,0,@50,@50' enable='0'/></root>");
    const LPARAM overH = MAKELPARAM(120, 20), overOff = MAKELPARAM(220, 20);
    BOOL handled = TRUE;
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), overH, &handled);
    EXPECT_FALSE(handled);  // no focus, no capture
    host.Find(L"f")->SetFocus();
    host.Mouse(WM_MOUSEMOVE, 120, 20);
    host.TakeLog();
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), overH);
    EXPECT_EQ(host.TakeLog(), (Log{L"f wheel"}));
    host.Container().sendWheel2Hover = TRUE;
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), overH);
    EXPECT_EQ(host.TakeLog(), (Log{L"h wheel"}));
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), overOff, &handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(host.TakeLog(), (Log{L"h leave"}));  // the hover moved to the disabled element
    host.Container().SetCapture(host.Swnd(L"f"));
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), overH);
    EXPECT_EQ(host.TakeLog(), (Log{L"f wheel"}));
}

TEST_F(ContainerDispatchTest, KeysGoToTheFocusedElement)
{
    ContainerHost host;
    host.Load(L"<root><probe name='k' focusable='1' takeKeys='1'/><probe name='n' focusable='1'/></root>");
    BOOL handled = TRUE;
    host.Send(WM_CHAR, 'x', 0, &handled);
    EXPECT_FALSE(handled);
    host.Key('X', false, false, false, &handled);
    EXPECT_FALSE(handled);
    host.Find(L"k")->SetFocus();
    host.TakeLog();
    host.Send(WM_CHAR, 'x', 0, &handled);
    EXPECT_TRUE(handled);
    host.Send(WM_KEYUP, 'X', 0, &handled);
    EXPECT_TRUE(handled);
    host.Find(L"n")->SetFocus();
    host.Send(WM_CHAR, 'y', 0, &handled);
    EXPECT_FALSE(handled);  // n takes no keys
    EXPECT_EQ(host.TakeLog(), (Log{L"k char", L"k killfocus", L"n setfocus", L"n char"}));

    host.Send(WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(host.TakeLog(), (Log{L"k activateapp", L"n activateapp"}));
    host.Send(WM_USER + 7, 0, 0, &handled);
    EXPECT_FALSE(handled);
}

TEST_F(ContainerDispatchTest, CursorComesFromTheElementOrIsTheArrow)
{
    ContainerHost host;
    host.Load(L"<root><probe name='hand' pos='0,0,@50,@50' cursor='hand'/><probe name='bad' pos='100,0,@50,@50' cursor='nosuch'/>"
              L"<probe name='plain' pos='200,0,@50,@50'/></root>");
    HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW), hand = ::LoadCursorW(nullptr, IDC_HAND);
    host.Mouse(WM_MOUSEMOVE, 10, 10);
    EXPECT_EQ(host.Send(WM_SETCURSOR, 0, MAKELPARAM(10, 10)), 1);
    EXPECT_EQ(::GetCursor(), hand);
    // A cursor that does not load, or no element at all: the arrow.
    host.Mouse(WM_MOUSEMOVE, 110, 10);
    EXPECT_EQ(host.Send(WM_SETCURSOR, 0, MAKELPARAM(110, 10)), 0);
    EXPECT_EQ(::GetCursor(), arrow);
    host.Mouse(WM_MOUSEMOVE, 10, 10);
    host.Send(WM_SETCURSOR, 0, MAKELPARAM(10, 10));
    host.Send(WM_MOUSELEAVE);
    EXPECT_EQ(host.Send(WM_SETCURSOR, 0, MAKELPARAM(10, 10)), 0);
    EXPECT_EQ(::GetCursor(), arrow);
    host.Mouse(WM_MOUSEMOVE, 210, 10);  // the style's default names the arrow
    EXPECT_EQ(host.Send(WM_SETCURSOR, 0, MAKELPARAM(210, 10)), 1);
    EXPECT_EQ(::GetCursor(), arrow);
    // The capture's cursor wins over the hover's.
    host.Container().SetCapture(host.Swnd(L"hand"));
    EXPECT_EQ(host.Send(WM_SETCURSOR, 0, MAKELPARAM(110, 10)), 1);
    EXPECT_EQ(::GetCursor(), hand);
}

TEST_F(ContainerDispatchTest, FocusBringsTheNativeFocusToTheHost)
{
    ContainerHost host;
    host.Load(L"<root><probe name='p' focusable='1'/></root>");
    // Child windows of an active frame: focus moves among them at once.
    HWND frame = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    ::SetActiveWindow(frame);
    for (DWORD exStyle : {0ul, static_cast<DWORD>(WS_EX_TOOLWINDOW)}) {
        HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame, nullptr, nullptr, nullptr);
        HWND hostWnd = ::CreateWindowExW(exStyle, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, frame, nullptr, nullptr, nullptr);
        ASSERT_TRUE(other && hostWnd);
        ::SetFocus(other);
        ASSERT_EQ(::GetFocus(), other);
        host.Container().hostHwnd = hostWnd;
        host.Find(L"p")->SetFocus();
        EXPECT_EQ(::GetFocus(), exStyle ? other : hostWnd) << exStyle;  // a tool window is left alone
        EXPECT_EQ(host.Container().GetFocus(), host.Swnd(L"p"));
        host.Container().SetFocus(0);
        host.Container().hostHwnd = nullptr;
        ::DestroyWindow(hostWnd);
        ::DestroyWindow(other);
    }
    ::DestroyWindow(frame);
}

TEST_F(ContainerDispatchTest, TimelineHandlersSurviveChangesDuringTheirTick)
{
    ContainerHost host;
    Log log;
    Ticker one(log, L"1"), two(log, L"2"), three(log, L"3");
    SwndContainerImpl& c = host.Container();
    EXPECT_TRUE(c.RegisterTimelineHandler(&one));
    EXPECT_FALSE(c.RegisterTimelineHandler(&one));
    EXPECT_TRUE(c.RegisterTimelineHandler(&two));
    EXPECT_TRUE(c.RegisterTimelineHandler(&three));
    // One unregisters another (which is then not called), and itself.
    one.onTick = [&] {
        c.UnregisterTimelineHandler(&two);
        c.UnregisterTimelineHandler(&one);
    };
    c.OnNextFrame();
    EXPECT_EQ(log, (Log{L"1", L"3"}));
    EXPECT_EQ(c.GetTimelineHandlerCount(), 1);
    EXPECT_FALSE(c.UnregisterTimelineHandler(&two));
    // A handler added during a tick waits for the next.
    log.clear();
    three.onTick = [&] { c.RegisterTimelineHandler(&two); };
    c.OnNextFrame();
    EXPECT_EQ(log, (Log{L"3"}));
    log.clear();
    three.onTick = nullptr;
    c.OnNextFrame();
    EXPECT_EQ(log, (Log{L"3", L"2"}));
    // A hidden root stops the ticks.
    log.clear();
    c.SetVisible(FALSE);
    c.OnNextFrame();
    EXPECT_TRUE(log.empty());
    c.SetVisible(TRUE);
    c.OnNextFrame();
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(ContainerDispatchTest, PaintOrderIsAPreOrderNumbering)
{
    ContainerHost host;
    host.Load(L"<root><window name='p'><window name='p1'/><window name='p2'><window name='p21'/></window></window>"
              L"<window name='q'/></root>");
    SwndContainerImpl& c = host.Container();
    c.UpdateZorder();
    const wchar_t* order[] = {L"p", L"p1", L"p2", L"p21", L"q"};
    EXPECT_EQ(c.GetZorder(), 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(host.Find(order[i])->GetZorder(), i + 1) << order[i];
    // Bringing p to the top renumbers at the next update, not before.
    host.Find(L"p")->BringToTop();
    EXPECT_EQ(host.Find(L"q")->GetZorder(), 5);
    c.UpdateZorder();
    EXPECT_EQ(host.Find(L"q")->GetZorder(), 1);
    EXPECT_EQ(host.Find(L"p21")->GetZorder(), 5);
    EXPECT_TRUE(c.IsClass(L"SwndContainerImpl"));
    EXPECT_TRUE(c.IsClass(L"window"));
    EXPECT_STREQ(c.GetClassName(), L"SwndContainerImpl");
}

// Handlers that destroy their own element: the cached hover, capture and
// focus resolve to nothing afterwards, and later input finds no stale element.
TEST_F(ContainerDispatchTest, ElementDestroyedInItsOwnHandlers)
{
    ContainerHost host;
    host.Load(L"<root><probe name='k' pos='0,0,@50,@50' focusable='1'/><probe name='v' pos='100,0,@50,@50'/></root>");
    struct Destroyer {
        bool Destroy(EventArgs& e)
        {
            e.sender->DestroyWindow();
            ++calls;
            return true;
        }
        int calls = 0;
    } destroyer;
    SWindow* k = host.Find(L"k");
    k->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Destroyer::Destroy, &destroyer);
    host.Find(L"v")->GetEventSet()->SubscribeEvent(EventSwndMouseHover::EventID, &Destroyer::Destroy, &destroyer);
    host.Mouse(WM_MOUSEMOVE, 10, 10);
    host.Mouse(WM_LBUTTONDOWN, 10, 10);
    EXPECT_EQ(host.Container().GetFocus(), k->GetSwnd());
    EXPECT_EQ(host.Container().GetCapture(), k->GetSwnd());
    host.Mouse(WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(destroyer.calls, 1);
    EXPECT_EQ(host.Find(L"k"), nullptr);
    EXPECT_EQ(host.Container().GetHover(), 0u);
    EXPECT_EQ(host.Container().GetCapture(), 0u);
    EXPECT_EQ(host.Container().GetFocus(), 0u);
    host.TakeLog();
    BOOL handled = TRUE;
    host.Key(VK_TAB, false, false, false, &handled);
    host.Send(WM_CHAR, 'a', 0, &handled);
    EXPECT_FALSE(handled);
    host.Mouse(WM_LBUTTONDOWN, 10, 10);  // now the root's
    host.Send(WM_MOUSEWHEEL, 0, MAKELPARAM(10, 10));
    host.Mouse(WM_LBUTTONUP, 10, 10);
    // Destroyed by its hover handler: its move finds it gone.
    host.Mouse(WM_MOUSEMOVE, 110, 10, &handled);
    EXPECT_EQ(destroyer.calls, 2);
    EXPECT_EQ(host.Find(L"v"), nullptr);
    EXPECT_FALSE(handled);
    EXPECT_EQ(host.TakeLog(), (Log{L"v hover"}));
    host.Mouse(WM_MOUSEMOVE, 111, 10);
    host.Send(WM_MOUSELEAVE);
    EXPECT_EQ(host.Container().GetHover(), 0u);
}

// A container let go without its host's WM_DESTROY still destroys its tree,
// and an element someone keeps no longer reaches the container.
TEST_F(ContainerDispatchTest, ContainerReleasedWithoutDestroyFreesItsTree)
{
    ElementHost base;
    base.App().RegisterFactory<ProbeElement>();
    HostedContainer* container = new HostedContainer(nullptr);
    container->CreateChildrenFromString(L"<root><probe name='kept' trackMouseEvent='1'><window/></probe><window/></root>");
    Log log;
    Ticker ticker(log, L"t");
    container->RegisterTimelineHandler(&ticker);
    SAutoRefPtr<SWindow> kept(container->FindChildByName(L"kept"));
    ASSERT_TRUE(kept);
    EXPECT_EQ(container->GetTrackMouseCount(), 1);
    container->Release();
    EXPECT_TRUE(kept->IsDestroyed());
    EXPECT_EQ(kept->GetContainer(), nullptr);
    EXPECT_EQ(kept->GetChildrenCount(), 0);
    EXPECT_TRUE(log.empty());
}
