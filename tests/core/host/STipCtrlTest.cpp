// The default tooltip as a real popup window: when it shows, where, how big,
// what hides it, and which messages it listens to. One shown tip is saved as
// "tooltip.png" for a person to look at.
#include "core/SApplication.h"
#include "core/STipCtrl.h"
#include "LeakCheck.h"
#include "render/RenderTestUtil.h"
#include "host/HostTestSupport.h"

#include <cwchar>
#include <memory>
#include <string>

using namespace WUI;

namespace {

using hosttest::Pump;

MSG Mouse(HWND hwnd, UINT msg, int x, int y)
{
    MSG m = {};
    m.hwnd = hwnd;
    m.message = msg;
    m.lParam = MAKELPARAM(x, y);
    return m;
}

RECT WorkArea(const POINT& pt)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

// An application with its default tooltip factory, a host window at
// (100, 100), 300 x 200, and another window; the tip area is (10, 10)-(110, 60)
// of the host's client.
class STipCtrlTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        fx.reset(new rendertest::Factories(L"imgdecoder-png"));
        app.reset(new SApplication(fx->render, GetModuleHandleW(nullptr), L"WUIHOST"));
        host.reset(new CSimpleWnd);
        // Hidden: the tip needs only their handles, and a shown window that
        // took the activation costs seconds to destroy under Wine.
        ASSERT_NE(nullptr, host->Create(L"host", WS_POPUP, 0, 100, 100, 300, 200, nullptr, nullptr));
        other.reset(new CSimpleWnd);
        ASSERT_NE(nullptr, other->Create(L"other", WS_POPUP, 0, 420, 100, 100, 100, nullptr, nullptr));
        IToolTip* made = app->GetToolTipFactory()->CreateToolTip(host->m_hWnd);
        ASSERT_NE(nullptr, made);
        tip = static_cast<STipCtrl*>(made);
    }
    void TearDown() override
    {
        if (tip) app->GetToolTipFactory()->DestroyToolTip(tip);
        if (host) host->DestroyWindow();
        if (other) other->DestroyWindow();
        host.reset();
        other.reset();
        app.reset();
        fx.reset();
        LeakChecked::TearDown();
    }
    void Relay(UINT msg, int x, int y, HWND to = nullptr)
    {
        MSG m = Mouse(to ? to : host->m_hWnd, msg, x, y);
        EXPECT_FALSE(tip->PreTranslateMessage(&m));  // never consumed
    }
    // Sets a tip and rests the mouse at (x, y) of the host; the delay's
    // tick comes at once.
    void Rest(const wchar_t* text, int x = 20, int y = 20, DWORD key = 1)
    {
        tip->UpdateTip(TIPID{7, key}, kArea, text);
        Relay(WM_MOUSEMOVE, x, y);
        SendMessageW(tip->m_hWnd, WM_TIMER, STipCtrl::kTimerDelay, 0);
    }
    bool Shown() const { return IsWindowVisible(tip->m_hWnd) != FALSE; }
    RECT TipRect() const
    {
        RECT rc = {};
        GetWindowRect(tip->m_hWnd, &rc);
        return rc;
    }

    static constexpr RECT kArea = {10, 10, 110, 60};
    std::unique_ptr<rendertest::Factories> fx;
    std::unique_ptr<SApplication> app;
    std::unique_ptr<CSimpleWnd> host, other;
    STipCtrl* tip = nullptr;
};

TEST_F(STipCtrlTest, PopupWindowOfTheFactory)
{
    EXPECT_EQ(nullptr, app->GetToolTipFactory()->CreateToolTip(nullptr));
    EXPECT_EQ(host->m_hWnd, tip->GetHost());
    wchar_t name[32] = {};
    GetWindowTextW(tip->m_hWnd, name, 32);
    EXPECT_STREQ(L"wui tooltip", name);
    EXPECT_EQ(0x80000003u, DWORD(GetWindowLongW(tip->m_hWnd, GWL_STYLE)) & ~DWORD(WS_CLIPSIBLINGS));
    const DWORD ex = DWORD(GetWindowLongW(tip->m_hWnd, GWL_EXSTYLE));
    EXPECT_EQ(0x08000088u, ex & 0x08000088u);
    EXPECT_EQ(nullptr, GetParent(tip->m_hWnd));
    LOGFONTW lf = {};
    ASSERT_NE(nullptr, tip->GetFont());
    GetObjectW(tip->GetFont(), sizeof(lf), &lf);
    EXPECT_EQ(-12, lf.lfHeight);
    EXPECT_STREQ(L"\x5B8B\x4F53", lf.lfFaceName);
    EXPECT_FALSE(Shown());

    // Destroying the window, by the factory or otherwise, takes the object along.
    tip->UpdateTip(TIPID{1, 0}, kArea, L"text that the object frees");
    HWND window = tip->m_hWnd;
    app->GetToolTipFactory()->DestroyToolTip(tip);
    tip = nullptr;
    EXPECT_FALSE(IsWindow(window));
    app->GetToolTipFactory()->DestroyToolTip(nullptr);
    STipCtrl* second = static_cast<STipCtrl*>(app->GetToolTipFactory()->CreateToolTip(host->m_hWnd));
    ASSERT_NE(nullptr, second);
    second->UpdateTip(TIPID{2, 0}, kArea, L"freed as well");
    DestroyWindow(second->m_hWnd);
}

TEST_F(STipCtrlTest, ShowsAfterTheDelayBelowThePointer)
{
    tip->UpdateTip(TIPID{7, 1}, kArea, L"Hello tip");
    Relay(WM_MOUSEMOVE, 20, 30);
    EXPECT_FALSE(Shown()) << "not before the delay";
    Pump(900);
    ASSERT_TRUE(Shown());
    RECT rc = TipRect();
    EXPECT_EQ(100 + 20, rc.left);
    EXPECT_EQ(100 + 30 + 24, rc.top);
    const SIZE size = tip->MeasureTip();
    EXPECT_EQ(size.cx, rc.right - rc.left);
    EXPECT_EQ(size.cy, rc.bottom - rc.top);
    EXPECT_GT(size.cx, 10);
    EXPECT_NE(GetActiveWindow(), tip->m_hWnd);

    // Moving inside keeps it; leaving the area hides it and forgets the text.
    Relay(WM_MOUSEMOVE, 60, 40);
    EXPECT_TRUE(Shown());
    Relay(WM_MOUSEMOVE, 200, 40);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(tip->GetText().IsEmpty());
}

TEST_F(STipCtrlTest, ButtonsAndTheDisplayTimeHide)
{
    for (UINT button : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}) {
        Rest(L"tip", 20, 20, button);
        ASSERT_TRUE(Shown()) << button;
        Relay(button, 20, 20);
        EXPECT_FALSE(Shown()) << button;
    }
    // Other messages of the host change nothing.
    Rest(L"tip", 20, 20, 100);
    ASSERT_TRUE(Shown());
    Relay(WM_KEYDOWN, 0, 0);
    Relay(WM_MOUSEWHEEL, 20, 20);
    EXPECT_TRUE(Shown());
    // The display time's timer ends it.
    SendMessageW(tip->m_hWnd, WM_TIMER, STipCtrl::kTimerShow, 0);
    EXPECT_FALSE(Shown());
}

TEST_F(STipCtrlTest, OnlyTheHostsMessagesCount)
{
    tip->UpdateTip(TIPID{7, 1}, kArea, L"for the host only");
    Relay(WM_MOUSEMOVE, 20, 20, other->m_hWnd);
    Pump(900);
    EXPECT_FALSE(Shown()) << "a point of another window means nothing here";
    Relay(WM_MOUSEMOVE, 20, 20);
    Pump(900);
    ASSERT_TRUE(Shown());
    Relay(WM_LBUTTONDOWN, 20, 20, other->m_hWnd);
    Relay(WM_MOUSEMOVE, 250, 150, other->m_hWnd);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(L"for the host only", tip->GetText());
}

TEST_F(STipCtrlTest, EmptyTextNeverShows)
{
    tip->UpdateTip(TIPID{7, 1}, kArea, L"");
    Relay(WM_MOUSEMOVE, 20, 20);
    Pump(900);
    EXPECT_FALSE(Shown());
    SendMessageW(tip->m_hWnd, WM_TIMER, STipCtrl::kTimerDelay, 0);
    EXPECT_FALSE(Shown());
}

TEST_F(STipCtrlTest, KeysDecideWhetherTheTextChanges)
{
    tip->UpdateTip(TIPID{7, 1}, kArea, L"first");
    tip->UpdateTip(TIPID{7, 1}, RECT{0, 0, 5, 5}, L"second");
    EXPECT_EQ(L"first", tip->GetText());
    tip->UpdateTip(TIPID{7, 2}, kArea, L"third");
    EXPECT_EQ(L"third", tip->GetText());
    EXPECT_TRUE(tip->GetTipId() == (TIPID{7, 2}));

    // A new key while the tip is up shows the new text at once.
    Rest(L"short", 20, 20, 3);
    ASSERT_TRUE(Shown());
    const LONG shortWidth = TipRect().right - TipRect().left;
    tip->UpdateTip(TIPID{8, 0}, kArea, L"a much longer text than before");
    EXPECT_TRUE(Shown());
    EXPECT_GT(TipRect().right - TipRect().left, shortWidth);
    // ...and a new key without text takes it down.
    tip->UpdateTip(TIPID{9, 0}, kArea, L"");
    EXPECT_FALSE(Shown());

    Rest(L"cleared", 20, 20, 4);
    ASSERT_TRUE(Shown());
    tip->ClearTip();
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(tip->GetTipId() == (TIPID{0, 0}));
    // The same key as before the clear counts as new again.
    tip->UpdateTip(TIPID{7, 4}, kArea, L"again");
    EXPECT_EQ(L"again", tip->GetText());
}

TEST_F(STipCtrlTest, SizeStaysWithin500By1000)
{
    auto measure = [this](const std::wstring& text) {
        tip->ClearTip();
        tip->UpdateTip(TIPID{7, 1}, kArea, text.c_str());
        return tip->MeasureTip();
    };
    const SIZE one = measure(L"word");
    std::wstring words;
    while (measure(words).cx < 300) words += L"many words ";
    words += words + words;  // about 900 pixels on one line
    const SIZE wrapped = measure(words);
    EXPECT_LE(wrapped.cx, 510);
    EXPECT_GT(wrapped.cx, 400);
    EXPECT_GE(wrapped.cy, 2 * (one.cy - 10) + 10) << "wrapped onto more lines";
    const SIZE longWord = measure(std::wstring(400, L'W'));
    EXPECT_LE(longWord.cx, 510);
    EXPECT_GE(longWord.cy, 3 * (one.cy - 10) + 10) << "a word longer than a line is broken, not cut";
    std::wstring lines;
    for (int i = 0; i < 200; ++i) lines += L"line\\n";
    const SIZE tall = measure(lines);
    EXPECT_EQ(1010, tall.cy);
    const SIZE two = measure(L"one\\ntwo");
    EXPECT_EQ(L"one\ntwo", tip->GetText());
    EXPECT_EQ(2 * (one.cy - 10) + 10, two.cy);
}

TEST_F(STipCtrlTest, KeptInsideTheWorkArea)
{
    const RECT work = WorkArea(POINT{100, 100});
    std::wstring words;
    for (int i = 0; i < 40; ++i) words += L"wide tip ";
    struct Case {
        int x, y;  // the host's top-left on screen
    } cases[] = {
        {work.right - 30, 300},           // the pointer near the right edge
        {300, work.bottom - 40},          // near the bottom
        {work.right - 30, work.bottom - 40},
    };
    for (const Case& c : cases) {
        SetWindowPos(host->m_hWnd, nullptr, c.x, c.y, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        tip->ClearTip();
        Rest(words.c_str(), 20, 20);
        ASSERT_TRUE(Shown());
        const RECT rc = TipRect();
        EXPECT_LE(rc.right, work.right) << c.x << "," << c.y;
        EXPECT_LE(rc.bottom, work.bottom) << c.x << "," << c.y;
        EXPECT_GE(rc.left, work.left);
        EXPECT_GE(rc.top, work.top);
        // Moved left or up only as far as needed.
        EXPECT_TRUE(rc.right == work.right || rc.left == c.x + 20) << c.x;
        EXPECT_TRUE(rc.bottom == work.bottom || rc.top == c.y + 20 + 24) << c.y;
    }
}

TEST_F(STipCtrlTest, ScreenshotOfAShownTip)
{
    Rest(L"Save & exit: writes the settings\\nand closes the window");
    ASSERT_TRUE(Shown());
    UpdateWindow(tip->m_hWnd);
    Pump(100);
    ASSERT_TRUE(hosttest::SaveScreenshot(fx->render, tip->m_hWnd, L"tooltip.png"));
    // The frame in the pen's black, the inside in the info colour.
    HDC screen = GetDC(nullptr);
    const RECT rc = TipRect();
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(screen, rc.left, rc.top));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(screen, rc.right - 1, rc.bottom - 1));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), GetPixel(screen, rc.left + 2, rc.top + 2));
    int text = 0;
    for (int x = rc.left + 5; x < rc.right - 5; ++x) text += GetPixel(screen, x, rc.top + 10) != GetSysColor(COLOR_INFOBK);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(text, 0) << "the first line is drawn";
}

}  // namespace

namespace {

HWND g_lostPopup = nullptr;

// Destroys a tooltip popup as soon as its WM_CREATE is answered: its creation
// fails after the window has had messages.
LRESULT CALLBACK DestroyTipAfterCreate(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* ret = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    wchar_t name[32] = {};
    if (code == HC_ACTION && ret->message == WM_CREATE && GetWindowTextW(ret->hwnd, name, 32) &&
        wcscmp(name, L"wui tooltip") == 0) {
        g_lostPopup = ret->hwnd;
        DestroyWindow(ret->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST_F(STipCtrlTest, PopupLostWhileBeingMadeGivesNoTip)
{
    g_lostPopup = nullptr;
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROCRET, DestroyTipAfterCreate, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    IToolTip* made = app->GetToolTipFactory()->CreateToolTip(host->m_hWnd);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(nullptr, made);
    ASSERT_NE(nullptr, g_lostPopup) << "the popup got its WM_CREATE";
    EXPECT_FALSE(IsWindow(g_lostPopup));
}
