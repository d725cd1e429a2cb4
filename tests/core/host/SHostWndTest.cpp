// Host windows under Xvfb: built from layouts, painted into their own image,
// shown directly or through layered updates, driven by posted messages.
#include "LifetimeCheck.h"
#include "host/HostTestSupport.h"

#include "core/SHostDialog.h"
#include "core/SHostWnd.h"
#include "core/IScriptFactory.h"
#include "support/MessageRecorder.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

using namespace WUI;
using hosttest::HostPixel;
using hosttest::LoadHost;
using hosttest::Pump;
using hosttest::RecordingHost;

static bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

namespace {

// Opaque colours as the image holds them.
const DWORD kBlue = 0xFF3070C0;
const DWORD kRed = 0xFFE04040;
const DWORD kWhite = 0xFFFFFFFF;

const wchar_t kPlainLayout[] =
    L"<WUI title='Host one' size='300,200' resizable='1' margin='5,5,5,5'>"
    L" <root colorBkgnd='#3070C0'>"
    L"  <window name='red' pos='20,20,120,80' colorBkgnd='#E04040'/>"
    L"  <window name='white' pos='140,20,-20,-20' colorBkgnd='#FFFFFF' colorText='#000000'>text in white</window>"
    L" </root>"
    L"</WUI>";

class HostWndTest : public LifetimeChecked {
protected:
    void SetUp() override
    {
        LifetimeChecked::SetUp();
        app.reset(new hosttest::HostApp);
    }
    void TearDown() override
    {
        app.reset();
        LifetimeChecked::TearDown();
    }
    std::unique_ptr<hosttest::HostApp> app;
};

TEST_F(HostWndTest, BuiltFromALayoutItHasItsSizeTitleAndStylesAndPaintsItsTree)
{
    EXPECT_EQ(app->MissingSystemResources(), 0);
    RecordingHost host;
    ASSERT_TRUE(LoadHost(host, kPlainLayout));
    RECT rc;
    GetWindowRect(host.m_hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 300);
    EXPECT_EQ(rc.bottom - rc.top, 200);
    wchar_t title[64] = {};
    GetWindowTextW(host.m_hWnd, title, 64);
    EXPECT_STREQ(title, L"Host one");
    const DWORD style = static_cast<DWORD>(GetWindowLongW(host.m_hWnd, GWL_STYLE));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), DWORD(WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(host.EventCount(EventInit::EventID), 1);
    const RECT client = host.GetClientRect();
    EXPECT_EQ(client.right, 300);  // the whole window is client area
    EXPECT_EQ(client.bottom, 200);

    EXPECT_EQ(HostPixel(host, 5, 5), kBlue);
    EXPECT_EQ(HostPixel(host, 50, 50), kRed);
    EXPECT_EQ(HostPixel(host, 275, 175), kWhite);
    EXPECT_EQ(HostPixel(host, 290, 190), kBlue);
    EXPECT_TRUE(hosttest::SaveScreenshot(app->Factory(), host.m_hWnd, L"host_window.png"));
    host.DestroyWindow();
}

TEST_F(HostWndTest, AnIdleWindowDoesNotRepaint)
{
    SHostWnd host;
    ASSERT_TRUE(LoadHost(host, kPlainLayout));
    const int paints = host.GetPaintCount();
    Pump(400);
    EXPECT_EQ(host.GetPaintCount(), paints);
    // A change repaints once.
    host.FindChildByName(L"red")->SetVisible(FALSE, TRUE);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    EXPECT_EQ(HostPixel(host, 50, 50), kBlue);
    const int after = host.GetPaintCount();
    Pump(300);
    EXPECT_EQ(host.GetPaintCount(), after);
    host.DestroyWindow();
}

// An element that counts the timer ticks it gets (wParam: the timer id).
class TickElement : public SWindow {
    WUI_SWINDOW_CLASS(TickElement, SWindow, L"tick")
public:
    BOOL ProcessSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg == WM_TIMER) {
            ++ticks;
            lastId = static_cast<UINT>(wParam);
            result = 0;
            return TRUE;
        }
        return SWindow::ProcessSwndMessage(msg, wParam, lParam, result);
    }
    int ticks = 0;
    UINT lastId = 0;
};

const wchar_t kTranslucentLayout[] =
    L"<WUI title='See-through' size='200,120' translucent='1'>"
    L" <root colorBkgnd='#3070C080'><window name='red' pos='10,10,60,60' colorBkgnd='#E04040'/></root>"
    L"</WUI>";

TEST_F(HostWndTest, ATranslucentHostRepaintsThroughItsDummyWindowAndRemovesItOnClose)
{
    SHostWnd host;
    ASSERT_TRUE(LoadHost(host, kTranslucentLayout));
    HWND dummy = host.GetDummyHwnd();
    ASSERT_TRUE(IsWindow(dummy));
    wchar_t name[32] = {};
    GetWindowTextW(dummy, name, 32);
    EXPECT_STREQ(name, L"WUI_DUMMY_WND");
    EXPECT_EQ(GetWindow(dummy, GW_OWNER), nullptr) << "the host destroys it itself, after the tree";
    EXPECT_TRUE(GetWindowLongW(host.m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_GE(host.GetLayeredUpdateCount(), 1);
    // Half-transparent blue (premultiplied), opaque red.
    const DWORD background = HostPixel(host, 100, 100);
    EXPECT_EQ(background >> 24, 0x80u);
    EXPECT_NEAR(int(background & 0xFF), 0x60, 1);
    EXPECT_EQ(HostPixel(host, 20, 20), kRed);
    // Without a compositor X shows the premultiplied colours over black.
    EXPECT_TRUE(hosttest::SaveScreenshot(app->Factory(), host.m_hWnd, L"host_translucent.png"));

    // Every repaint is one layered update; the host's own WM_PAINT starts none.
    int updates = host.GetLayeredUpdateCount();
    int paints = host.GetPaintCount();
    host.FindChildByName(L"red")->SetVisible(FALSE, TRUE);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    EXPECT_EQ(host.GetLayeredUpdateCount(), updates + 1);
    EXPECT_EQ(HostPixel(host, 20, 20), background);
    updates = host.GetLayeredUpdateCount();
    RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(200);
    EXPECT_EQ(host.GetLayeredUpdateCount(), updates);
    EXPECT_FALSE(GetUpdateRect(host.m_hWnd, nullptr, FALSE)) << "validated";

    // Reloading keeps the one dummy window.
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(kTranslucentLayout));
    ASSERT_TRUE(host.InitFromXml(doc.child(L"WUI"), 0, 0));
    EXPECT_EQ(host.GetDummyHwnd(), dummy);

    SendMessageW(host.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(dummy));
    EXPECT_EQ(host.m_hWnd, nullptr);
}

TEST_F(HostWndTest, DestroyingQuitsByWindowType)
{
    const struct Case {
        const wchar_t* attrs;
        DWORD style;
        bool quits;
    } cases[] = {
        {L"wndType='appMain'", WS_POPUP, true},
        {L"wndType='normal'", WS_OVERLAPPED, false},
        {L"wndType='undefine'", WS_OVERLAPPED, true},
        {L"", WS_POPUP, false},
        {L"toolWindow='1'", WS_OVERLAPPED, false},
        {L"appMainWnd='1'", WS_CHILD, true},
    };
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (const Case& c : cases) {
        SHostWnd host;
        std::wstring xml = std::wstring(L"<WUI size='50,40' ") + c.attrs + L"><root/></WUI>";
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(xml.c_str()));
        ASSERT_TRUE(host.CreateEx(c.style & WS_CHILD ? parent : nullptr, c.style, 0, 0, 0, 0, 0));
        ASSERT_TRUE(host.InitFromXml(doc.child(L"WUI"), 0, 0));
        host.DestroyWindow();
        MSG m;
        const bool quit = PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
        EXPECT_EQ(quit, c.quits) << "attributes: " << std::string(xml.begin(), xml.end());
        if (quit) {
            EXPECT_EQ(m.wParam, 1u);
        }
    }
    DestroyWindow(parent);
}

TEST_F(HostWndTest, NonClientHitTestFollowsTheMargin)
{
    SHostWnd host;
    ASSERT_TRUE(LoadHost(host, kPlainLayout, false));  // 300 x 200, margin 5
    const struct Case {
        int x, y;
        LRESULT hit;
    } cases[] = {
        {150, 100, HTCLIENT}, {2, 2, HTTOPLEFT},      {150, 2, HTTOP},      {298, 2, HTTOPRIGHT},
        {298, 100, HTRIGHT},  {298, 198, HTBOTTOMRIGHT}, {150, 198, HTBOTTOM}, {2, 198, HTBOTTOMLEFT},
        {2, 100, HTLEFT},     {5, 5, HTCLIENT},        {295, 195, HTCLIENT}, {296, 196, HTBOTTOMRIGHT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SendMessageW(host.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(hosttest::kHostX + c.x, hosttest::kHostY + c.y)), c.hit)
            << c.x << "," << c.y;
    host.DestroyWindow();

    SHostWnd fixed;
    ASSERT_TRUE(LoadHost(fixed, L"<WUI size='300,200' margin='5,5,5,5'><root/></WUI>", false));
    for (const Case& c : cases)
        EXPECT_EQ(SendMessageW(fixed.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(hosttest::kHostX + c.x, hosttest::kHostY + c.y)), HTCLIENT);
    fixed.DestroyWindow();
}

TEST_F(HostWndTest, ElementTimersReachTheirElementAndDieWithIt)
{
    app->App().RegisterFactory<TickElement>();
    SHostWnd host;
    ASSERT_TRUE(LoadHost(host, L"<WUI size='100,100'><root><tick name='t' pos='0,0,10,10'/></root></WUI>", false));
    TickElement* tick = static_cast<TickElement*>(host.FindChildByName(L"t"));
    const UINT_PTR nativeId = (3u | 0x80u) << 24 | (tick->GetSwnd() & 0xFFFFFF);
    ASSERT_TRUE(tick->SetTimer(3, 10));
    ASSERT_TRUE(hosttest::PumpUntil([&] { return tick->ticks >= 2; }, 3000));
    EXPECT_EQ(tick->lastId, 3u);
    host.DestroyChild(tick);
    Pump(100);  // the next tick finds no element and ends the timer
    EXPECT_FALSE(KillTimer(host.m_hWnd, nativeId)) << "killed on its first tick without an element";
    host.DestroyWindow();
}

// The inspection tool's side: a window that keeps the records it is sent.
struct SpyTool {
    SpyTool() : window(WM_COPYDATA, WM_COPYDATA)
    {
        window.OnMessage([this](const MessageRecorder::Message& m) {
            const COPYDATASTRUCT* cds = reinterpret_cast<const COPYDATASTRUCT*>(m.lParam);
            if (cds->dwData != UM_SPY_DESCRIBE || cds->cbData != sizeof(SpyElementInfo)) return;
            records.push_back(*static_cast<const SpyElementInfo*>(cds->lpData));
        });
    }
    MessageRecorder window;
    std::vector<SpyElementInfo> records;
};

TEST_F(HostWndTest, InspectionQueriesWalkTheTreeWhileAllowed)
{
    const std::wstring longName(300, L'n');
    const std::wstring xml = L"<WUI size='200,100'><root>"
                             L"<window name='first' id='7' pos='10,10,50,50' margin='2'/>"
                             L"<window name='" + longName + L"' pos='60,10,90,50'/>"
                             L"</root></WUI>";
    SHostWnd host;
    ASSERT_TRUE(LoadHost(host, xml.c_str(), false));
    SpyTool spy;
    EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_SETSPY, 0, reinterpret_cast<LPARAM>(spy.window.Handle())), 1);
    const LRESULT first = SendMessageW(host.m_hWnd, UM_SPY_GETWINDOW, 0, GSW_FIRSTCHILD);
    ASSERT_NE(first, 0);
    const LRESULT second = SendMessageW(host.m_hWnd, UM_SPY_GETWINDOW, first, GSW_NEXTSIBLING);
    ASSERT_NE(second, 0);
    EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_GETWINDOW, second, GSW_NEXTSIBLING), 0);
    EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_GETWINDOW, second, GSW_PARENT), LRESULT(host.GetSwnd()));

    for (LRESULT swnd : {LRESULT(0), first, second}) EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_DESCRIBE, swnd, 0), 1);
    ASSERT_EQ(spy.records.size(), 3u);
    EXPECT_EQ(spy.records[0].swnd, host.GetSwnd());
    EXPECT_STREQ(spy.records[0].className, L"hostwnd");
    const SpyElementInfo& a = spy.records[1];
    EXPECT_EQ(a.swnd, DWORD(first));
    EXPECT_TRUE(EqualRect(&a.rcWindow, std::array<RECT, 1>{{{10, 10, 50, 50}}}.data()));
    EXPECT_TRUE(EqualRect(&a.rcClient, std::array<RECT, 1>{{{12, 12, 48, 48}}}.data()));
    EXPECT_EQ(a.id, 7);
    EXPECT_EQ(a.visible, 1u);
    EXPECT_STREQ(a.name, L"first");
    EXPECT_STREQ(a.className, L"window");
    EXPECT_STREQ(a.xmlText, L"##unavailable!");
    EXPECT_STREQ(spy.records[2].name, L"##buf overflow!");

    // The element under a screen point.
    const LPARAM onFirst = MAKELPARAM(hosttest::kHostX + 20, hosttest::kHostY + 20);
    EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_FROMPOINT, 0, onFirst), first);
    // Handles of no element, or of another tree, are refused.
    SHostWnd other;
    ASSERT_TRUE(LoadHost(other, L"<WUI size='50,50'><root><window name='x' pos='0,0,5,5'/></root></WUI>", false));
    const SWND foreign = other.FindChildByName(L"x")->GetSwnd();
    for (WPARAM bad : {WPARAM(foreign), WPARAM(0x7FFFFF)}) {
        EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_DESCRIBE, bad, 0), 0);
        EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_GETWINDOW, bad, GSW_PARENT), 0);
    }
    EXPECT_EQ(spy.records.size(), 3u);
    other.DestroyWindow();

    // "allowSpy" 0: only the spy window is still taken.
    host.GetHostAttr().m_bAllowSpy = FALSE;
    EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_SETSPY, 0, reinterpret_cast<LPARAM>(spy.window.Handle())), 1);
    EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_GETWINDOW, 0, GSW_FIRSTCHILD), 0);
    EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_DESCRIBE, 0, 0), 0);
    EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_FROMPOINT, 0, onFirst), 0);
    EXPECT_EQ(spy.records.size(), 3u);
    EXPECT_EQ(SendMessageW(host.m_hWnd, UM_SPY_SETSPY, 0, 12345), 0) << "no window";
    host.DestroyWindow();
}

TEST_F(HostWndTest, OnlyEventsSentThroughTheHostReachItsHook)
{
    RecordingHost host;
    ASSERT_TRUE(LoadHost(host, L"<WUI size='50,50'><root/></WUI>", false));
    host.events.clear();
    EventCmd cmd(&host);
    SHostWnd::SendEvent(host.m_hWnd, cmd);
    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0], EventCmd::EventID);
    // A pointer nobody registered (any process can post one) is ignored.
    EventCmd stray(&host);
    SendMessageW(host.m_hWnd, UM_HOSTEVENT, 0, reinterpret_cast<LPARAM>(&stray));
    PostMessageW(host.m_hWnd, UM_HOSTEVENT, 0, 0x12345678);
    Pump(50);
    EXPECT_EQ(host.events.size(), 1u);
    host.DestroyWindow();
}

TEST_F(HostWndTest, UpdatesOfAnElementWithoutBlendingGatherIntoOne)
{
    SHostWnd host;
    ASSERT_TRUE(LoadHost(host, L"<WUI size='100,100'><root colorBkgnd='#3070C0'>"
                               L"<window name='w' pos='10,10,50,50' bkgndBlend='0' colorBkgnd='#E04040'/></root></WUI>"));
    SWindow* w = host.FindChildByName(L"w");
    const int paints = host.GetPaintCount();
    w->InvalidateRect(nullptr);
    w->InvalidateRect(nullptr);
    EXPECT_EQ(host.GetPendingUpdateCount(), 1);
    w->GetStyle().m_crBg = 0xFF00FF00;  // green, opaque
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    EXPECT_EQ(host.GetPendingUpdateCount(), 0);
    EXPECT_EQ(HostPixel(host, 20, 20), 0xFF00FF00u);
    EXPECT_EQ(HostPixel(host, 5, 5), kBlue);
    host.DestroyWindow();
}

// Position, offset, display and a move given back to the layout, changed
// while the window is up: each shows at the next paint, in the element's
// rectangle and in the host's own pixels.
TEST_F(HostWndTest, LayoutChangesAtRunTimeShowOnTheNextPaint)
{
    SHostWnd host;
    ASSERT_TRUE(LoadHost(host, L"<WUI size='200,100'><root colorBkgnd='#3070C0'>"
                               L"<window name='gone' width='30' height='30' visible='0'/>"
                               L"<window name='flow' width='30' height='30' colorBkgnd='#FFFFFF'/>"
                               L"<window name='red' pos='10,40,@40,@40' colorBkgnd='#E04040'/>"
                               L"</root></WUI>"));
    SWindow* red = host.FindChildByName(L"red");
    SWindow* gone = host.FindChildByName(L"gone");
    SWindow* flow = host.FindChildByName(L"flow");
    ASSERT_EQ(flow->GetWindowRect().left, 35) << "the hidden element keeps its place in the flow";
    const RECT floated = {150, 50, 190, 90};
    const struct {
        const char* what;
        std::function<void()> change;
        SWindow* element;
        RECT rect;
        POINT now, before;  // where its colour shows now, and the background where it stood
    } steps[] = {
        {"pos", [&] { red->SetAttribute(L"pos", L"100,40,@40,@40", FALSE); }, red, {100, 40, 140, 80}, {110, 50}, {20, 50}},
        {"offset", [&] { red->SetAttribute(L"offset", L"-0.5,0", FALSE); }, red, {80, 40, 120, 80}, {85, 50}, {130, 50}},
        {"display", [&] { gone->SetAttribute(L"display", L"0", FALSE); }, flow, {0, 0, 30, 30}, {5, 5}, {60, 5}},
        {"float", [&] { red->Move(&floated); }, red, floated, {160, 60}, {85, 50}},
        {"back to the layout", [&] { red->Move(nullptr); }, red, {80, 40, 120, 80}, {85, 50}, {160, 60}},
    };
    for (const auto& step : steps) {
        const int paints = host.GetPaintCount();
        step.change();
        EXPECT_TRUE(hosttest::WaitPainted(host, paints)) << step.what;
        EXPECT_EQ(step.element->GetWindowRect(), step.rect) << step.what;
        const DWORD colour = step.element == red ? kRed : kWhite;
        EXPECT_EQ(HostPixel(host, step.now.x, step.now.y), colour) << step.what;
        EXPECT_EQ(HostPixel(host, step.before.x, step.before.y), kBlue) << step.what;
    }
    host.DestroyWindow();
}

// The last reference of a window made on the heap, let go while its window
// is open: the window closes while the object is whole (its own hook hears
// the exit), then the object goes, once.
TEST_F(HostWndTest, ReleasingTheLastReferenceOfAnOpenWindowClosesItFirst)
{
    struct ExitCounter {
        static BOOL Count(int& exits, EventArgs& args)
        {
            exits += args.GetId() == EventExit::EventID;
            return FALSE;
        }
    };
    class CountingHost : public SHostWnd {
    public:
        explicit CountingHost(int& n) : exits(n) {}
        BOOL OnFireEvent(EventArgs& args) override { return ExitCounter::Count(exits, args); }
        int& exits;
    };
    class CountingDialog : public SHostDialog {
    public:
        explicit CountingDialog(int& n) : exits(n) {}
        BOOL OnFireEvent(EventArgs& args) override { return ExitCounter::Count(exits, args) || SHostDialog::OnFireEvent(args); }
        int& exits;
    };
    for (bool dialog : {false, true}) {
        int exits = 0;
        SHostWnd* host = dialog ? static_cast<SHostWnd*>(new CountingDialog(exits)) : new CountingHost(exits);
        ASSERT_TRUE(LoadHost(*host, kPlainLayout)) << dialog;
        const HWND hwnd = host->m_hWnd;
        host->Release();
        EXPECT_FALSE(IsWindow(hwnd)) << dialog;
        EXPECT_EQ(exits, 1) << dialog;
    }
}

// Records, at the dummy window's destruction, what still stood.
struct TeardownProbe {
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_DESTROYWND && s_probe && reinterpret_cast<HWND>(wParam) == s_probe->dummy) {
            s_probe->order.push_back(L"dummy");
            s_probe->treeGoneAtDummy = s_probe->host->GetChildrenCount() == 0;
            s_probe->imageAtDummy = s_probe->host->GetScreenImage() != nullptr;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static TeardownProbe* s_probe;
    SHostWnd* host = nullptr;
    HWND dummy = nullptr;
    std::vector<std::wstring> order;
    bool treeGoneAtDummy = false;
    bool imageAtDummy = false;
};
TeardownProbe* TeardownProbe::s_probe = nullptr;

// Tree, dummy window, render targets, native window.
class TeardownHost : public SHostWnd {
public:
    explicit TeardownHost(TeardownProbe& p) : probe(p) {}
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        const BOOL handled = SHostWnd::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
        if (msg == WM_DESTROY) probe.order.push_back(GetScreenImage() ? L"targets kept" : L"targets");
        if (msg == WM_NCDESTROY) probe.order.push_back(L"native");
        return handled;
    }
    BOOL OnFireEvent(EventArgs& args) override
    {
        if (args.GetId() == EventSwndDestroy::EventID && args.sender == this) {
            probe.order.push_back(L"tree");
            probe.imageAtDummy = GetScreenImage() != nullptr;
        }
        return FALSE;
    }
    TeardownProbe& probe;
};

TEST_F(HostWndTest, TeardownRunsTreeDummyTargetsNativeWindow)
{
    TeardownProbe probe;
    TeardownHost host(probe);
    ASSERT_TRUE(LoadHost(host, kTranslucentLayout, false));
    probe.host = &host;
    probe.dummy = host.GetDummyHwnd();
    probe.order.clear();  // loading destroyed the (empty) tree once
    TeardownProbe::s_probe = &probe;
    HHOOK hook = SetWindowsHookExW(WH_CBT, &TeardownProbe::Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    host.DestroyWindow();
    UnhookWindowsHookEx(hook);
    TeardownProbe::s_probe = nullptr;
    const std::vector<std::wstring> expected = {L"tree", L"dummy", L"targets", L"native"};
    EXPECT_EQ(probe.order, expected);
    EXPECT_TRUE(probe.treeGoneAtDummy);
    EXPECT_TRUE(probe.imageAtDummy) << "render targets still there while the dummy goes";
}

TEST_F(HostWndTest, TheCaretIsDrawnIntoTheImageAndBlinks)
{
    SHostWnd host;
    ASSERT_TRUE(LoadHost(host, kPlainLayout));
    SWindow* white = host.FindChildByName(L"white");
    ASSERT_TRUE(white->CreateCaret(nullptr, 2, 16));
    ASSERT_TRUE(white->SetCaretPos(150, 30));
    const DWORD before = HostPixel(host, 150, 30);
    white->ShowCaret(TRUE);
    EXPECT_TRUE(host.IsCaretDrawn());
    EXPECT_EQ(HostPixel(host, 150, 30), before ^ 0x00FFFFFFu);
    EXPECT_EQ(HostPixel(host, 152, 30), before) << "two pixels wide";
    // The blink: the root's timer 1 takes it off and puts it back.
    const WPARAM blink = (1u | 0x80u) << 24 | (host.GetSwnd() & 0xFFFFFF);
    SendMessageW(host.m_hWnd, WM_TIMER, blink, 0);
    EXPECT_EQ(HostPixel(host, 150, 30), before);
    SendMessageW(host.m_hWnd, WM_TIMER, blink, 0);
    EXPECT_EQ(HostPixel(host, 150, 30), before ^ 0x00FFFFFFu);
    // Moving erases it at the old place; a repaint under it keeps it on top.
    white->SetCaretPos(160, 40);
    EXPECT_EQ(HostPixel(host, 150, 30), before);
    const int paints = host.GetPaintCount();
    white->InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    EXPECT_EQ(HostPixel(host, 160, 40), before ^ 0x00FFFFFFu);
    white->ShowCaret(FALSE);
    EXPECT_EQ(HostPixel(host, 160, 40), before);
    EXPECT_FALSE(KillTimer(host.m_hWnd, blink)) << "the blink stopped with the caret";
    host.DestroyWindow();
}

struct CountingTimeline : ITimelineHandler {
    void OnNextFrame() override { ++frames; }
    int frames = 0;
};

TEST_F(HostWndTest, TheAnimationTickRunsWhileHandlersAreRegisteredAndTheRootIsShown)
{
    SHostWnd host;
    ASSERT_TRUE(LoadHost(host, kPlainLayout, false));
    const UINT_PTR tick = (2u | 0x80u) << 24 | (host.GetSwnd() & 0xFFFFFF);
    CountingTimeline timeline;
    ASSERT_TRUE(host.RegisterTimelineHandler(&timeline));
    ASSERT_TRUE(hosttest::PumpUntil([&] { return timeline.frames >= 3; }, 3000));
    host.SetVisible(FALSE);
    Pump(50);
    const int hidden = timeline.frames;
    Pump(100);
    EXPECT_EQ(timeline.frames, hidden) << "a hidden root gets no ticks";
    host.SetVisible(TRUE);
    EXPECT_TRUE(host.UnregisterTimelineHandler(&timeline));
    EXPECT_FALSE(KillTimer(host.m_hWnd, tick)) << "the last handler gone, the timer went";
    host.DestroyWindow();
}

// A script engine stand-in: records what it is given and asked to run. With
// onRun, a handler runs that, and the module notes the end of the run, as an
// engine winds its own state down after a handler.
class RecordingScript : public TObjRefImpl<IScriptModule> {
public:
    RecordingScript(std::vector<std::string>& log, const std::function<void(const std::string&)>& onRun)
        : m_log(log), m_onRun(onRun)
    {
    }
    ~RecordingScript() override { m_log.push_back("released"); }
    int RunHandler(LPCSTR handler, EventArgs& args) override
    {
        m_log.push_back(std::string("run ") + handler + " " + std::to_string(args.GetId()));
        if (m_onRun) {
            m_onRun(handler);
            m_log.push_back(std::string("ran ") + handler);
        }
        return 0;
    }
    int LoadScriptBuffer(const char* buffer, size_t size) override
    {
        m_log.push_back("load " + std::string(buffer, size));
        return 1;
    }

private:
    std::vector<std::string>& m_log;
    const std::function<void(const std::string&)>& m_onRun;
};

class RecordingScripts : public TObjRefImpl<IScriptFactory> {
public:
    HRESULT CreateScriptModule(IScriptModule** out) override
    {
        *out = new RecordingScript(log, onRun);
        return S_OK;
    }
    std::vector<std::string> log;
    std::function<void(const std::string&)> onRun;
};

TEST_F(HostWndTest, ScriptsStylesAndSkinsBelongToTheLoadedLayout)
{
    SAutoRefPtr<RecordingScripts> scripts;
    scripts.Attach(new RecordingScripts);
    app->App().SetScriptFactory(scripts);
    const wchar_t layout[] =
        L"<WUI size='120,80'>"
        L" <style><class name='own' colorBkgnd='#E04040'/></style>"
        L" <skin><colorrect name='skin_own' normal='#3070C0'/></skin>"
        L" <script>print('hi')</script>"
        L" <root><window name='a' class='own' pos='0,0,60,80' on_command='clicked'/>"
        L"  <window name='b' skin='skin_own' pos='60,0,120,80'/></root>"
        L"</WUI>";
    {
        SHostWnd host;
        ASSERT_TRUE(LoadHost(host, layout));
        EXPECT_EQ(HostPixel(host, 10, 10), kRed);
        EXPECT_EQ(HostPixel(host, 100, 10), kBlue);
        host.FindChildByName(L"a")->FireCommand();
        const UINT timer = host.RegisterScriptTimer(L"onTick", 10, FALSE);
        ASSERT_NE(timer, 0u);
        ASSERT_TRUE(hosttest::PumpUntil([&] { return scripts->log.size() >= 3; }, 3000));
        const std::vector<std::string> expected = {"load print('hi')", "run clicked 10000", "run onTick 8002"};
        EXPECT_EQ(scripts->log, expected);

        // Loading again: the old module hears the exit and goes, with the
        // window's own styles and skins.
        scripts->log.clear();
        ASSERT_TRUE(LoadHost(host, L"<WUI size='120,80'><root><window name='c' class='own' pos='0,0,60,80'/></root></WUI>",
                             false));
        EXPECT_EQ(scripts->log, (std::vector<std::string>{"released"}));
        EXPECT_EQ(host.FindChildByName(L"a"), nullptr);
        EXPECT_EQ(host.FindChildByName(L"c")->GetStyle().m_crBg, kColorNone) << "the earlier style is gone";
        host.DestroyWindow();
    }
    app->App().SetScriptFactory(nullptr);
}

// A script timer's handler that loads the window anew: the module that runs
// it is let go by the load, but lives to the end of its run.
TEST_F(HostWndTest, AScriptTimerHandlerReloadingTheWindowKeepsItsModuleToTheEnd)
{
    SAutoRefPtr<RecordingScripts> scripts;
    scripts.Attach(new RecordingScripts);
    app->App().SetScriptFactory(scripts);
    {
        const wchar_t layout[] = L"<WUI size='60,40'><root/></WUI>";
        SHostWnd host;
        ASSERT_TRUE(LoadHost(host, layout, false));
        scripts->onRun = [&](const std::string&) { LoadHost(host, layout, false); };
        ASSERT_NE(host.RegisterScriptTimer(L"reload", 10, FALSE), 0u);
        ASSERT_TRUE(hosttest::PumpUntil([&] { return scripts->log.size() >= 3; }, 3000));
        EXPECT_EQ(scripts->log, (std::vector<std::string>{"run reload 8002", "ran reload", "released"}));
        scripts->onRun = nullptr;
        host.DestroyWindow();
    }
    app->App().SetScriptFactory(nullptr);
}

// Layouts come from anyone: malformed values keep what was there or read 0
// as documented, and an unknown window type is refused.
TEST_F(HostWndTest, WindowAttributesParseAndRefuseBadValues)
{
    const struct Case {
        const wchar_t* name;
        const wchar_t* value;
        HRESULT result;
    } cases[] = {
        {L"size", L"300,200", S_FALSE},  {L"size", L"300", E_FAIL},       {L"size", L"a,b", E_FAIL},
        {L"size", L"-5,10", E_FAIL},     {L"size", L"40000,10", E_FAIL},  {L"margin", L"1,2,3", E_FAIL},
        {L"minsize", L"1,2,3", E_FAIL},  {L"wndType", L"dialog", E_FAIL}, {L"wndType", L"normal", S_FALSE},
        {L"width", L"abc", S_FALSE},     {L"height", L"99999", S_FALSE},  {L"noSuchAttribute", L"1", E_FAIL},
        {L"ALLOWSPY", L"0", S_FALSE},
        // Styles are 32-bit patterns written in decimal: the top bit counts.
        {L"wndStyle", L"2147483648", S_FALSE}, {L"wndStyleEx", L"4294967295", S_FALSE},
        {L"wndStyle", L"abc", E_FAIL},   {L"wndStyle", L"-1", E_FAIL},    {L"wndStyle", L"4294967296", E_FAIL},
        {L"wndStyleEx", L"12x", E_FAIL}, {L"wndStyleEx", L"0x10", E_FAIL},
        // Bytes: a value beyond one is refused, not cut to its low byte.
        {L"alpha", L"128", S_FALSE},     {L"alpha", L"300", E_FAIL},      {L"alpha", L"-1", E_FAIL},
        {L"alpha", L"half", E_FAIL},     {L"appMainWnd", L"258", E_FAIL}, {L"appMainWnd", L"x", E_FAIL},
    };
    SHostWndAttr attr;
    for (const Case& c : cases)
        EXPECT_EQ(attr.SetAttribute(c.name, c.value, TRUE), c.result) << std::wstring(c.name).size();
    EXPECT_EQ(attr.m_size.cx, 0) << "text that is no number reads 0";
    EXPECT_EQ(attr.m_size.cy, 0x7FFF) << "sizes are bounded";
    EXPECT_EQ(attr.m_byWndType, kWndTypeNormal);
    EXPECT_FALSE(attr.m_bAllowSpy);
    EXPECT_EQ(attr.m_szMin.cx, 200) << "kept";
    EXPECT_EQ(attr.m_dwStyle, 0x80000000u) << "kept after the refused values";
    EXPECT_EQ(attr.m_dwExStyle, 0xFFFFFFFFu);
    EXPECT_EQ(attr.m_byAlpha, 128) << "kept after the refused values";
    attr.Reset();
    EXPECT_EQ(attr.m_size.cx, 640);
    EXPECT_TRUE(attr.m_bAllowSpy);

    // On a window: WS_POPUP is the top bit.
    SHostWnd host;
    ASSERT_TRUE(host.CreateEx(nullptr, WS_OVERLAPPED, 0, 0, 0, 0, 0));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<WUI size='50,40' wndType='normal' wndStyle='2147483648'><root/></WUI>"));
    ASSERT_TRUE(host.InitFromXml(doc.child(L"WUI"), 0, 0));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(host.m_hWnd, GWL_STYLE)) & (WS_POPUP | WS_CHILD), DWORD(WS_POPUP));
    host.DestroyWindow();
}

TEST_F(HostWndTest, ATranslucentHostAnimatesInLayeredSteps)
{
    SHostWnd host;
    ASSERT_TRUE(LoadHost(host, kTranslucentLayout, false));
    EXPECT_FALSE(host.AnimateHostWindow(100, 0)) << "no slide, centre or blend";
    EXPECT_FALSE(IsWindowVisible(host.m_hWnd));
    const int before = host.GetLayeredUpdateCount();
    EXPECT_TRUE(host.AnimateHostWindow(100, AW_BLEND));
    EXPECT_TRUE(IsWindowVisible(host.m_hWnd));
    EXPECT_GE(host.GetLayeredUpdateCount(), before + 10) << "one update per 10 ms step";
    EXPECT_TRUE(host.AnimateHostWindow(50, AW_HIDE | AW_SLIDE | AW_HOR_POSITIVE));
    EXPECT_FALSE(IsWindowVisible(host.m_hWnd));
    host.DestroyWindow();
}

}  // namespace
