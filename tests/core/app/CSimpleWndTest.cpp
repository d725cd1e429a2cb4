#include "core/CSimpleWnd.h"
#include "core/CSimpleWndHelper.h"
#include <gtest/gtest.h>
#include <cstring>
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

HWND MakePopup(ProbeWnd &w, int x, int y, int cx, int cy, HWND owner = nullptr)
{
    return w.Create(L"probe", WS_POPUP, 0, x, y, cx, cy, owner, nullptr);
}

} // namespace

TEST(CSimpleWnd, SecondSupportObjectIsRefused)
{
    ASSERT_NE(CSimpleWndHelper::GetSingletonPtr(), nullptr);
    EXPECT_EQ(CSimpleWndHelper::Create(GetModuleHandleW(nullptr), L"WUIHOST2"), nullptr);
}

TEST(CSimpleWnd, ThunkBytesAndRouting)
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

TEST(CSimpleWnd, DestroyInsideHandlerFreesThunkAfterOutermostDispatch)
{
    ProbeWnd w;
    HWND hWnd = MakePopup(w, 0, 0, 50, 50);
    ASSERT_NE(hWnd, nullptr);
    SendMessageW(hWnd, kSuicide, 0, 0);
    EXPECT_EQ(w.freedInsideHandler, 0);
    EXPECT_EQ(w.freed, 1);
    EXPECT_FALSE(IsWindow(hWnd));
}

TEST(CSimpleWnd, HandledNcDestroyStillFreesThunkOnce)
{
    ProbeWnd w;
    w.handleNcDestroy = true;
    ASSERT_NE(MakePopup(w, 0, 0, 50, 50), nullptr);
    w.DestroyWindow();
    EXPECT_EQ(w.freed, 1);
    EXPECT_EQ(w.m_hWnd, nullptr);
}

TEST(CSimpleWnd, WindowOfTheClassWithoutObjectGetsDefaultProcedure)
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

TEST(CSimpleWnd, CreateTwiceIsRefused)
{
    ProbeWnd w;
    ASSERT_NE(MakePopup(w, 0, 0, 50, 50), nullptr);
    EXPECT_EQ(MakePopup(w, 0, 0, 50, 50), nullptr);
    w.DestroyWindow();
}

namespace {

LRESULT CALLBACK PlainProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kPing)
        return 100;
    return DefWindowProcW(hWnd, msg, wParam, lParam);
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

TEST(CSimpleWnd, SubclassRoutesAndRestores)
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

TEST(CSimpleWnd, SubclassedWindowGetsPreviousProcedureBackAtNcDestroy)
{
    HWND hWnd = MakePlainWindow();
    ASSERT_NE(hWnd, nullptr);
    ProbeWnd w;
    ASSERT_TRUE(w.SubclassWindow(hWnd));
    DestroyWindow(hWnd);
    EXPECT_EQ(w.freed, 1);
    EXPECT_EQ(w.m_hWnd, nullptr);
}

namespace {

RECT WindowRect(HWND h)
{
    RECT rc;
    GetWindowRect(h, &rc);
    return rc;
}

} // namespace

TEST(CSimpleWnd, CentresOnOwnerElseOnWorkArea)
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

TEST(CSimpleWnd, ChildCentresInParentClientArea)
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

TEST(CSimpleWnd, ReflectionOfNotifications)
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
