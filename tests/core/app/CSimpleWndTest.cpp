#include "core/CSimpleWnd.h"
#include "core/CSimpleWndHelper.h"
#include "../LeakCheck.h"
#include "support/FreedMemoryProbe.h"
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <vector>

using namespace WUI;

namespace {

const UINT kPing = WM_USER + 1;
const UINT kNested = WM_USER + 2;
const UINT kSuicide = WM_USER + 3;

// Records what arrives and how the thunk is released.
class ProbeWnd : public CSimpleWnd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result,
                              DWORD) override
    {
        if (msg == WM_CREATE) {
            SendMessage(kNested);
            createRestored = GetCurrentMessage() && GetCurrentMessage()->message == WM_CREATE;
            return FALSE;
        }
        if (msg == kPing) {
            seenHwnd = hWnd;
            SendMessage(kNested);
            pingRestored = GetCurrentMessage() && GetCurrentMessage()->message == kPing;
            result = static_cast<LRESULT>(wParam + lParam);
            return TRUE;
        }
        if (msg == kNested) {
            ++nested;
            return TRUE;
        }
        if (msg == kSuicide) {
            DestroyWindow();
            freedInsideHandler = freed;
            return TRUE;
        }
        if (msg >= 0x2000 && msg < 0x3000) {
            reflected = msg;
            result = 42;
            return TRUE;
        }
        if (msg == WM_NCDESTROY && handleNcDestroy)
            return TRUE;
        return FALSE;
    }
    void FreeThunk(HWND hWnd) override
    {
        ++freed;
        freedHwnd = hWnd;
        CSimpleWnd::FreeThunk(hWnd);
    }

    HWND seenHwnd = nullptr;
    HWND freedHwnd = nullptr;
    int nested = 0;
    UINT reflected = 0;
    int freed = 0;
    int freedInsideHandler = -1;
    bool createRestored = false;
    bool pingRestored = false;
    bool handleNcDestroy = false;
};

class HelperEnv : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!CSimpleWndHelper::GetSingletonPtr())
            m_helper = CSimpleWndHelper::Create(GetModuleHandleW(nullptr), L"WUIHOST");
    }
    void TearDown() override { delete m_helper; }

private:
    CSimpleWndHelper *m_helper = nullptr;
};

const ::testing::Environment *const g_env = ::testing::AddGlobalTestEnvironment(new HelperEnv);

// The blocks allocated in the support object's heap, which holds only thunks.
int LiveThunks()
{
    HANDLE heap = CSimpleWndHelper::GetSingletonPtr()->GetHeap();
    PROCESS_HEAP_ENTRY entry = {};
    int busy = 0;
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            ++busy;
    return busy;
}

} // namespace

// Under the leak check, and no thunk outlives the test.
class CSimpleWndTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        m_thunks = LiveThunks();
    }
    void TearDown() override
    {
        EXPECT_EQ(LiveThunks(), m_thunks) << "thunks left in the support object's heap";
        LeakChecked::TearDown();
    }

private:
    int m_thunks = 0;
};

namespace {

HWND MakePopup(ProbeWnd &w, int x, int y, int cx, int cy, HWND owner = nullptr)
{
    return w.Create(L"probe", WS_POPUP, 0, x, y, cx, cy, owner, nullptr);
}

} // namespace

TEST_F(CSimpleWndTest, SecondSupportObjectIsRefused)
{
    ASSERT_NE(CSimpleWndHelper::GetSingletonPtr(), nullptr);
    EXPECT_EQ(CSimpleWndHelper::Create(GetModuleHandleW(nullptr), L"WUIHOST2"), nullptr);
}

TEST_F(CSimpleWndTest, ThunkBytesAndRouting)
{
    ProbeWnd w;
    HWND hWnd = MakePopup(w, 0, 0, 100, 80);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(w.m_hWnd, hWnd);

    const unsigned char *t = static_cast<const unsigned char *>(w.GetThunk());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t[0], 0xC7);
    EXPECT_EQ(t[1], 0x44);
    EXPECT_EQ(t[2], 0x24);
    EXPECT_EQ(t[3], 0x04);
    DWORD obj, rel;
    std::memcpy(&obj, t + 4, 4);
    std::memcpy(&rel, t + 9, 4);
    EXPECT_EQ(obj, reinterpret_cast<DWORD>(static_cast<CSimpleWnd *>(&w)));
    EXPECT_EQ(t[8], 0xE9);
    EXPECT_EQ(reinterpret_cast<DWORD>(t) + CSimpleWnd::kThunkSize + rel,
              reinterpret_cast<DWORD>(&CSimpleWnd::WindowProc));
    EXPECT_EQ(static_cast<LONG>(GetWindowLongW(hWnd, GWL_WNDPROC)), reinterpret_cast<LONG>(t));

    EXPECT_EQ(SendMessageW(hWnd, kPing, 3, 4), 7);
    EXPECT_EQ(w.seenHwnd, hWnd);
    EXPECT_TRUE(w.createRestored);
    EXPECT_TRUE(w.pingRestored);
    EXPECT_EQ(w.nested, 2);
    EXPECT_EQ(w.GetCurrentMessage(), nullptr);

    EXPECT_TRUE(w.DestroyWindow());
    EXPECT_EQ(w.freed, 1);
    EXPECT_EQ(w.freedHwnd, hWnd);
    EXPECT_EQ(w.m_hWnd, nullptr);
    EXPECT_EQ(w.GetThunk(), nullptr);
}

TEST_F(CSimpleWndTest, DestroyInsideHandlerFreesThunkAfterOutermostDispatch)
{
    ProbeWnd w;
    HWND hWnd = MakePopup(w, 0, 0, 50, 50);
    ASSERT_NE(hWnd, nullptr);
    SendMessageW(hWnd, kSuicide, 0, 0);
    EXPECT_EQ(w.freedInsideHandler, 0);
    EXPECT_EQ(w.freed, 1);
    EXPECT_FALSE(IsWindow(hWnd));
}

TEST_F(CSimpleWndTest, HandledNcDestroyStillFreesThunkOnce)
{
    ProbeWnd w;
    w.handleNcDestroy = true;
    ASSERT_NE(MakePopup(w, 0, 0, 50, 50), nullptr);
    w.DestroyWindow();
    EXPECT_EQ(w.freed, 1);
    EXPECT_EQ(w.m_hWnd, nullptr);
}

TEST_F(CSimpleWndTest, WindowOfTheClassWithoutObjectGetsDefaultProcedure)
{
    HWND hWnd = CreateWindowExW(0, L"WUIHOST", L"bare", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    SetWindowTextW(hWnd, L"still default");
    wchar_t text[32] = {};
    GetWindowTextW(hWnd, text, 32);
    EXPECT_STREQ(text, L"still default");
    EXPECT_TRUE(DestroyWindow(hWnd));
}

TEST_F(CSimpleWndTest, CreateTwiceIsRefused)
{
    ProbeWnd w;
    ASSERT_NE(MakePopup(w, 0, 0, 50, 50), nullptr);
    EXPECT_EQ(MakePopup(w, 0, 0, 50, 50), nullptr);
    w.DestroyWindow();
}

namespace {

const unsigned char kPoison = 0xDD;

// Refuses WM_CREATE while told to and, as the tooltip does, deletes itself
// once its window is gone. It lives in an arena of its own that a delete poisons and
// never hands back, so a write after the delete shows and deletes are counted.
class SelfDeletingWnd : public CSimpleWnd {
public:
    static void *operator new(size_t size);
    static void operator delete(void *p, size_t size)
    {
        ++deletes;
        std::memset(p, kPoison, size);
    }
    // Whether every byte of the arena still holds the poison.
    static bool Poisoned();

    BOOL ProcessWindowMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT &result, DWORD) override
    {
        if (msg != WM_CREATE || !refuse)
            return FALSE;
        result = -1;
        return TRUE;
    }
    void FreeThunk(HWND hWnd) override
    {
        CSimpleWnd::FreeThunk(hWnd);
        delete this;
    }

    bool refuse = true;
    static int deletes;
};

int SelfDeletingWnd::deletes = 0;
alignas(16) unsigned char g_arena[sizeof(SelfDeletingWnd)];

void *SelfDeletingWnd::operator new(size_t size)
{
    EXPECT_LE(size, sizeof(g_arena));
    return g_arena;
}

bool SelfDeletingWnd::Poisoned()
{
    for (unsigned char b : g_arena)
        if (b != kPoison)
            return false;
    return true;
}

} // namespace

TEST_F(CSimpleWndTest, RefusedCreationLeavesTheObjectToItsMaker)
{
    SelfDeletingWnd::deletes = 0;
    SelfDeletingWnd *w = new SelfDeletingWnd;
    EXPECT_EQ(w->Create(L"refused", WS_POPUP, 0, 0, 0, 40, 40, nullptr, nullptr), nullptr);
    // The window came and went inside Create; the object was never the window's.
    ASSERT_EQ(SelfDeletingWnd::deletes, 0)
        << "deleted inside Create" << (SelfDeletingWnd::Poisoned() ? "" : ", then written to");
    EXPECT_EQ(w->m_hWnd, nullptr);
    EXPECT_EQ(w->GetThunk(), nullptr);
    EXPECT_EQ(w->GetCurrentMessage(), nullptr);
    // Nothing of the dead window sticks: the next creation lives until its
    // window goes, which takes the object along.
    w->refuse = false;
    HWND hWnd = w->Create(L"accepted", WS_POPUP, 0, 0, 0, 40, 40, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(GetWindowLongW(hWnd, GWL_WNDPROC), reinterpret_cast<LONG>(w->GetThunk()));
    DestroyWindow(hWnd);
    EXPECT_EQ(SelfDeletingWnd::deletes, 1);
    EXPECT_TRUE(SelfDeletingWnd::Poisoned());
}

namespace {

int g_plainNcDestroys = 0;

LRESULT CALLBACK PlainProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kPing)
        return 100;
    if (msg == WM_NCDESTROY)
        ++g_plainNcDestroys;
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

// What a procedure installed over a subclassed window passes everything down to.
WNDPROC g_below = nullptr;

LRESULT CALLBACK ChainProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(g_below, hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK OtherProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

HWND MakePlainWindow()
{
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PlainTestWnd";
        atom = RegisterClassExW(&wc);
    }
    return CreateWindowExW(0, L"PlainTestWnd", L"", WS_POPUP, 0, 0, 30, 30, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Takes only kNested; the rest goes to the previous procedure.
class NestedOnly : public CSimpleWnd {
public:
    BOOL ProcessWindowMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT &result, DWORD) override
    {
        if (msg != kNested)
            return FALSE;
        result = 5;
        return TRUE;
    }
};

} // namespace

TEST_F(CSimpleWndTest, SubclassRoutesAndRestores)
{
    HWND hWnd = MakePlainWindow();
    ASSERT_NE(hWnd, nullptr);
    {
        NestedOnly w;
        ASSERT_TRUE(w.SubclassWindow(hWnd));
        EXPECT_EQ(SendMessageW(hWnd, kNested, 0, 0), 5);
        EXPECT_EQ(SendMessageW(hWnd, kPing, 0, 0), 100); // previous procedure answers
        EXPECT_EQ(w.DefWindowProc(kPing, 0, 0), 100);
        EXPECT_EQ(w.UnsubclassWindow(), hWnd);
        EXPECT_EQ(SendMessageW(hWnd, kNested, 0, 0), 0);
        EXPECT_EQ(GetWindowLongW(hWnd, GWL_WNDPROC), reinterpret_cast<LONG>(PlainProc));
    }
    {
        NestedOnly w;
        ASSERT_TRUE(w.SubclassWindow(hWnd));
        // Someone else subclassed on top: a polite unsubclass must refuse.
        LONG ours = SetWindowLongW(hWnd, GWL_WNDPROC, reinterpret_cast<LONG>(OtherProc));
        EXPECT_EQ(w.UnsubclassWindow(), nullptr);
        SetWindowLongW(hWnd, GWL_WNDPROC, ours);
        EXPECT_EQ(w.UnsubclassWindow(TRUE), hWnd);
    }
    EXPECT_FALSE(NestedOnly().SubclassWindow(nullptr));
    DestroyWindow(hWnd);
}

namespace {

// The window procedure of the window whose WM_NCDESTROY has just returned.
LONG g_procAfterNcDestroy = 0;

LRESULT CALLBACK AfterNcDestroy(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT *ret = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
    if (code == HC_ACTION && ret->message == WM_NCDESTROY)
        g_procAfterNcDestroy = GetWindowLongW(ret->hwnd, GWL_WNDPROC);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(CSimpleWndTest, SubclassedWindowGetsPreviousProcedureBackAtNcDestroy)
{
    HWND hWnd = MakePlainWindow();
    ASSERT_NE(hWnd, nullptr);
    ProbeWnd w;
    ASSERT_TRUE(w.SubclassWindow(hWnd));
    g_plainNcDestroys = 0;
    g_procAfterNcDestroy = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterNcDestroy, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    DestroyWindow(hWnd);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_plainNcDestroys, 1);
    EXPECT_EQ(g_procAfterNcDestroy, reinterpret_cast<LONG>(PlainProc));
    EXPECT_EQ(w.freed, 1);
    EXPECT_EQ(w.m_hWnd, nullptr);
}

TEST_F(CSimpleWndTest, ThunkBelowAnotherProcedureOutlivesItsObject)
{
    for (bool forced : {true, false}) {
        SCOPED_TRACE(forced ? "forced unsubclass" : "object deleted");
        HWND hWnd = MakePlainWindow();
        ASSERT_NE(hWnd, nullptr);
        std::unique_ptr<NestedOnly> w(new NestedOnly);
        ASSERT_TRUE(w->SubclassWindow(hWnd));
        g_below = reinterpret_cast<WNDPROC>(
            SetWindowLongW(hWnd, GWL_WNDPROC, reinterpret_cast<LONG>(ChainProc)));
        if (forced) {
            EXPECT_EQ(w->UnsubclassWindow(TRUE), hWnd);
            EXPECT_EQ(GetWindowLongW(hWnd, GWL_WNDPROC), reinterpret_cast<LONG>(PlainProc));
            // The procedure that was above comes back, still passing down to the old thunk.
            SetWindowLongW(hWnd, GWL_WNDPROC, reinterpret_cast<LONG>(ChainProc));
        }
        w.reset();
        // A thunk made now must not be handed the old one's memory.
        HWND second = MakePlainWindow();
        NestedOnly other;
        ASSERT_TRUE(other.SubclassWindow(second));

        EXPECT_EQ(SendMessageW(hWnd, kPing, 0, 0), 100); // through the old thunk to the first procedure
        EXPECT_EQ(SendMessageW(hWnd, kNested, 0, 0), 0); // which no object takes any more
        EXPECT_EQ(SendMessageW(second, kNested, 0, 0), 5);
        DestroyWindow(hWnd); // the window's last message frees the old thunk
        DestroyWindow(second);
    }
}

namespace {

// What a LettingGoWnd does with its window, and what it saw.
struct LetGoPlan {
    enum Act { kUnsubclass, kUnsubclassAndDelete, kDelete, kDestroyAndDelete };
    UINT on;        // the message in whose handling the window is let go
    bool nested;    // in a message sent to the window from that handling
    bool handled;   // the messages are answered (7); else the window's procedure answers
    Act act;        // unsubclass (forced), delete the object, or both; or destroy the window and delete
    int freeThunks; // runs of FreeThunk
};

// Lets its window go in the middle of a message as its plan says; nothing
// of it is read after that.
class LettingGoWnd : public CSimpleWnd {
public:
    explicit LettingGoWnd(LetGoPlan &plan) : m_plan(plan) {}
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM, LPARAM, LRESULT &result, DWORD) override
    {
        LetGoPlan &plan = m_plan;
        if (msg == plan.on && plan.nested) {
            ::SendMessageW(hWnd, kNested, 0, 0);
        } else if (msg == (plan.nested ? kNested : plan.on)) {
            if (plan.act == LetGoPlan::kUnsubclass || plan.act == LetGoPlan::kUnsubclassAndDelete)
                UnsubclassWindow(TRUE);
            if (plan.act == LetGoPlan::kDestroyAndDelete)
                DestroyWindow();
            if (plan.act != LetGoPlan::kUnsubclass)
                delete this;
        } else {
            return FALSE;
        }
        result = 7;
        return plan.handled;
    }
    void FreeThunk(HWND hWnd) override
    {
        ++m_plan.freeThunks;
        CSimpleWnd::FreeThunk(hWnd);
    }

private:
    LetGoPlan &m_plan;
};

} // namespace

// A handler that gives the window back or deletes its object (after
// destroying the window, too) in the middle of a message: the rest of the
// message goes to the window's own procedure with the window's handle,
// nothing of the object is touched again, and its final step never runs:
// the window is no longer its.
TEST_F(CSimpleWndTest, AWindowLetGoInsideItsMessageGoesOnWithoutTheObject)
{
    FreedMemoryProbe probe;
    const char *const acts[] = {"unsubclassed", "unsubclassed and deleted", "deleted", "destroyed and deleted"};
    for (UINT on : {kPing, static_cast<UINT>(WM_NCDESTROY)})
        for (bool nested : {false, true})
            for (bool handled : {false, true})
                for (LetGoPlan::Act act : {LetGoPlan::kUnsubclass, LetGoPlan::kUnsubclassAndDelete, LetGoPlan::kDelete,
                                           LetGoPlan::kDestroyAndDelete}) {
                    if (on == WM_NCDESTROY && act == LetGoPlan::kDestroyAndDelete)
                        continue; // the window is being destroyed already
                    SCOPED_TRACE(testing::Message() << (on == kPing ? "ping" : "WM_NCDESTROY")
                                                    << (nested ? ", nested" : "") << (handled ? ", handled" : "")
                                                    << ", " << acts[act]);
                    LetGoPlan plan = {on, nested, handled, act, 0};
                    HWND hWnd = MakePlainWindow();
                    ASSERT_NE(hWnd, nullptr);
                    LettingGoWnd *w = new LettingGoWnd(plan);
                    ASSERT_TRUE(w->SubclassWindow(hWnd));
                    g_plainNcDestroys = 0;
                    if (on == kPing) {
                        const LRESULT answer = SendMessageW(hWnd, kPing, 0, 0);
                        if (act != LetGoPlan::kDestroyAndDelete) {
                            EXPECT_EQ(answer, handled ? 7 : 100);
                            EXPECT_EQ(GetWindowLongW(hWnd, GWL_WNDPROC), reinterpret_cast<LONG>(PlainProc));
                        } else if (handled) {
                            EXPECT_EQ(answer, 7);
                        }
                    }
                    if (act == LetGoPlan::kUnsubclass) {
                        if (on == kPing) {
                            EXPECT_EQ(w->m_hWnd, nullptr);
                            EXPECT_EQ(w->GetCurrentMessage(), nullptr);
                        }
                        DestroyWindow(hWnd);
                        EXPECT_EQ(w->m_hWnd, nullptr);
                        EXPECT_EQ(w->GetThunk(), nullptr);
                        EXPECT_EQ(w->GetCurrentMessage(), nullptr);
                        delete w;
                    } else {
                        DestroyWindow(hWnd);
                        EXPECT_TRUE(FreedMemoryProbe::IsFreed(w));
                    }
                    EXPECT_FALSE(IsWindow(hWnd));
                    EXPECT_EQ(g_plainNcDestroys, on == WM_NCDESTROY && handled ? 0 : 1);
                    EXPECT_EQ(plan.freeThunks, 0);
                }
}

namespace {

RECT WindowRect(HWND h)
{
    RECT rc;
    GetWindowRect(h, &rc);
    return rc;
}

} // namespace

TEST_F(CSimpleWndTest, CentresOnOwnerElseOnWorkArea)
{
    ProbeWnd owner, dlg;
    ASSERT_NE(owner.Create(L"owner", WS_POPUP, 0, 100, 100, 400, 300, nullptr, nullptr), nullptr);
    owner.ShowWindow(SW_SHOWNA); // visible, but nothing becomes active
    ASSERT_NE(MakePopup(dlg, 0, 0, 100, 60, owner.m_hWnd), nullptr);
    ASSERT_TRUE(dlg.CenterWindow());
    RECT rc = WindowRect(dlg.m_hWnd);
    EXPECT_EQ(rc.left, 250);
    EXPECT_EQ(rc.top, 220);
    owner.DestroyWindow();

    ProbeWnd lone;
    ASSERT_NE(MakePopup(lone, 0, 0, 100, 60), nullptr);
    ASSERT_EQ(GetActiveWindow(), nullptr);
    ASSERT_TRUE(lone.CenterWindow());
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromWindow(lone.m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    rc = WindowRect(lone.m_hWnd);
    EXPECT_EQ(rc.left, (mi.rcWork.left + mi.rcWork.right) / 2 - 50);
    EXPECT_EQ(rc.top, (mi.rcWork.top + mi.rcWork.bottom) / 2 - 30);

    // Pulled back inside the work area when the centre window hangs off its edge.
    ProbeWnd edge, tip;
    ASSERT_NE(edge.Create(L"edge", WS_POPUP, 0, mi.rcWork.left - 150, 0, 200, 100, nullptr, nullptr),
              nullptr);
    edge.ShowWindow(SW_SHOWNA);
    ASSERT_NE(MakePopup(tip, 0, 0, 120, 40, edge.m_hWnd), nullptr);
    tip.CenterWindow();
    EXPECT_EQ(WindowRect(tip.m_hWnd).left, mi.rcWork.left);
    edge.DestroyWindow();
    lone.DestroyWindow();
}

TEST_F(CSimpleWndTest, ChildCentresInParentClientArea)
{
    ProbeWnd parent, child;
    ASSERT_NE(MakePopup(parent, 10, 10, 300, 200), nullptr);
    ASSERT_NE(child.Create(L"child", WS_CHILD, 0, 0, 0, 100, 50, parent.m_hWnd, nullptr), nullptr);
    ASSERT_TRUE(child.CenterWindow());
    RECT client, rc;
    GetClientRect(parent.m_hWnd, &client);
    rc = WindowRect(child.m_hWnd);
    MapWindowPoints(HWND_DESKTOP, parent.m_hWnd, reinterpret_cast<POINT *>(&rc), 2);
    EXPECT_EQ(rc.left, client.right / 2 - 50);
    EXPECT_EQ(rc.top, client.bottom / 2 - 25);
    parent.DestroyWindow();
    EXPECT_EQ(child.freed, 1);
}

TEST_F(CSimpleWndTest, ReflectionOfNotifications)
{
    ProbeWnd parent;
    ASSERT_NE(MakePopup(parent, 0, 0, 100, 100), nullptr);
    BOOL handled = TRUE;
    parent.ReflectNotifications(WM_COMMAND, 1, 0, handled);
    EXPECT_FALSE(handled); // a menu command has no child to go back to

    ProbeWnd child;
    ASSERT_NE(child.Create(L"c", WS_CHILD, 0, 0, 0, 10, 10, parent.m_hWnd, nullptr), nullptr);
    EXPECT_EQ(parent.ReflectNotifications(WM_COMMAND, 1, reinterpret_cast<LPARAM>(child.m_hWnd), handled),
              42);
    EXPECT_TRUE(handled);
    EXPECT_EQ(child.reflected, static_cast<UINT>(WM_COMMAND + 0x2000));

    LRESULT result = 0;
    EXPECT_TRUE(CSimpleWnd::DefaultReflectionHandler(child.m_hWnd, 0x2111, 0, 0, result));
    EXPECT_FALSE(CSimpleWnd::DefaultReflectionHandler(child.m_hWnd, 0x2112, 0, 0, result));
    EXPECT_FALSE(child.ForwardNotifications(WM_USER, 0, 0, handled));
    EXPECT_FALSE(handled);
    parent.DestroyWindow();
}

namespace {

// While recording, takes every message and answers with a value made of all three parts.
class RecordingParent : public CSimpleWnd {
public:
    BOOL ProcessWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result, DWORD) override
    {
        if (!recording)
            return FALSE;
        got.push_back(MSG{nullptr, msg, wParam, lParam, 0, {0, 0}});
        result = static_cast<LRESULT>(msg * 3 + wParam * 5 + lParam * 7);
        return TRUE;
    }
    bool recording = false;
    std::vector<MSG> got;
};

} // namespace

TEST_F(CSimpleWndTest, ForwardsChildNotificationsToTheParentUnchanged)
{
    RecordingParent parent;
    ASSERT_NE(parent.Create(L"parent", WS_POPUP, 0, 0, 0, 100, 100, nullptr, nullptr), nullptr);
    ProbeWnd child;
    ASSERT_NE(child.Create(L"c", WS_CHILD, 0, 0, 0, 10, 10, parent.m_hWnd, nullptr), nullptr);
    const LPARAM self = reinterpret_cast<LPARAM>(child.m_hWnd);
    NMHDR nm = {child.m_hWnd, 9, 1};
    const MSG forwarded[] = {
        {nullptr, WM_COMMAND, MAKEWPARAM(9, BN_CLICKED), self, 0, {0, 0}},
        {nullptr, WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&nm), 0, {0, 0}},
        {nullptr, WM_DRAWITEM, 9, 0x1234, 0, {0, 0}},
        {nullptr, WM_VSCROLL, SB_LINEDOWN, self, 0, {0, 0}},
        {nullptr, WM_CTLCOLORMSGBOX, 0x55, self, 0, {0, 0}},
        {nullptr, WM_CTLCOLORSTATIC, 0x66, self, 0, {0, 0}},
        {nullptr, WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0), MAKELPARAM(3, 4), 0, {0, 0}},
    };
    parent.recording = true;
    for (const MSG &m : forwarded) {
        SCOPED_TRACE(m.message);
        parent.got.clear();
        BOOL handled = FALSE;
        EXPECT_EQ(child.ForwardNotifications(m.message, m.wParam, m.lParam, handled),
                  static_cast<LRESULT>(m.message * 3 + m.wParam * 5 + m.lParam * 7));
        EXPECT_TRUE(handled);
        ASSERT_EQ(parent.got.size(), 1u);
        EXPECT_EQ(parent.got[0].message, m.message);
        EXPECT_EQ(parent.got[0].wParam, m.wParam);
        EXPECT_EQ(parent.got[0].lParam, m.lParam);
    }
    // A message outside the set stays with the child.
    parent.got.clear();
    BOOL handled = TRUE;
    EXPECT_EQ(child.ForwardNotifications(WM_KEYDOWN, VK_SPACE, 0, handled), 0);
    EXPECT_FALSE(handled);
    EXPECT_TRUE(parent.got.empty());
    parent.recording = false;
    parent.DestroyWindow();
}
