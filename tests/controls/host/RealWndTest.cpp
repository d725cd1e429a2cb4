// The real window: its native child is made by the application's handler on
// first show (or at load with "init"), follows the element's size and
// visibility, and goes back to the handler with the element.
#include "HostElementsFixture.h"

#include "controls/SRealWnd.h"
#include "support/FreedMemoryProbe.h"

#include <string>
#include <vector>

using namespace WUI;

namespace {

// Makes windows of the element's class and name as children of the host,
// and records what it was asked.
class TestHandler : public TObjRefImpl<IRealWindowHandler> {
public:
    HWND OnRealWindowCreate(SRealWnd* wnd) override
    {
        calls.push_back(L"create " + std::wstring(wnd->GetName()));
        params = wnd->GetParams().attribute(L"text").value();
        HWND host = wnd->GetContainer()->GetHostHwnd();
        return CreateWindowExW(wnd->GetWndExStyle(), wnd->GetWndClass(), wnd->GetWndName(), wnd->GetWndStyle(), 0, 0,
                               0, 0, host, nullptr, nullptr, nullptr);
    }
    void OnRealWindowDestroy(SRealWnd* wnd) override
    {
        calls.push_back(L"destroy " + std::wstring(wnd->GetName()));
        DestroyWindow(wnd->GetRealHwnd(FALSE));
    }
    void OnRealWindowInit(SRealWnd* wnd) override
    {
        calls.push_back(L"init " + std::wstring(wnd->GetName()));
        GetWindowRect(wnd->GetRealHwnd(FALSE), &rectAtInit);
    }
    BOOL OnRealWindowSize(SRealWnd*) override { return placesItself; }

    std::vector<std::wstring> calls;
    std::wstring params;
    RECT rectAtInit = {};
    BOOL placesItself = FALSE;
};

const wchar_t kLayout[] =
    L"<WUI size='200,120'><root>"
    L" <realwnd name='later' visible='0' pos='10,10,110,60' wndclass='STATIC' wndname='native' style='0x10000000'/>"
    L" <realwnd name='early' init='1' pos='10,70,60,90' wndclass='STATIC'><params text='hello'/></realwnd>"
    L"</root></WUI>";

// The native child's rectangle in the host's client coordinates.
RECT ChildRect(HWND child)
{
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

bool Same(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

TEST_F(HostElementsTest, TheNativeChildComesOnFirstShowAndFollowsTheElement)
{
    SAutoRefPtr<TestHandler> handler;
    handler.Attach(new TestHandler);
    app->App().SetRealWndHandler(handler);
    {
        SHostWnd host;
        ASSERT_TRUE(hosttest::LoadHost(host, kLayout, false));
        SRealWnd* later = sobj_cast<SRealWnd>(host.FindChildByName(L"later"));
        SRealWnd* early = sobj_cast<SRealWnd>(host.FindChildByName(L"early"));
        ASSERT_TRUE(later && early);

        // "init": made while loading, with its parameters, and placed only by
        // its first WM_SIZE (the layout pass).
        EXPECT_EQ(handler->calls, (std::vector<std::wstring>{L"create early", L"init early"}));
        EXPECT_EQ(handler->params, L"hello");
        EXPECT_TRUE(IsRectEmpty(&handler->rectAtInit));
        ASSERT_TRUE(IsWindow(early->GetRealHwnd(FALSE)));
        EXPECT_TRUE(Same(ChildRect(early->GetRealHwnd(FALSE)), RECT{10, 70, 60, 90}));

        // Hidden: no window until first shown, then made at its place.
        EXPECT_EQ(later->GetRealHwnd(FALSE), nullptr);
        later->SetVisible(TRUE, TRUE);
        HWND child = later->GetRealHwnd(FALSE);
        ASSERT_TRUE(IsWindow(child));
        EXPECT_TRUE(IsWindowVisible(child) || !IsWindowVisible(host.m_hWnd));
        EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);
        EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD) << "WS_CHILD is always added";
        EXPECT_TRUE(Same(ChildRect(child), RECT{10, 10, 110, 60}));
        wchar_t name[16] = {};
        GetWindowTextW(child, name, 16);
        EXPECT_STREQ(name, L"native");

        // It follows a move, unless the handler places it itself.
        later->Move2(20, 15, 50, 30);
        EXPECT_TRUE(Same(ChildRect(child), RECT{20, 15, 70, 45}));
        handler->placesItself = TRUE;
        later->Move2(0, 0, 40, 40);
        EXPECT_TRUE(Same(ChildRect(child), RECT{20, 15, 70, 45}));

        later->SetVisible(FALSE, TRUE);
        EXPECT_FALSE(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);
        handler->calls.clear();
        host.DestroyWindow();
        EXPECT_EQ(handler->calls.size(), 2u);
        EXPECT_FALSE(IsWindow(child));
    }
    app->App().SetRealWndHandler(nullptr);
}

// A handler that makes the window and destroys the element while doing so:
// the window goes back to it as the element's, and nothing of the element
// is used after it went.
class DestroyingHandler : public TestHandler {
public:
    HWND OnRealWindowCreate(SRealWnd* wnd) override
    {
        made = TestHandler::OnRealWindowCreate(wnd);
        wnd->DestroyWindow();
        return made;
    }
    void OnRealWindowDestroy(SRealWnd* wnd) override
    {
        given = wnd->GetRealHwnd(FALSE);
        TestHandler::OnRealWindowDestroy(wnd);
    }
    HWND made = nullptr;
    HWND given = nullptr;
};

TEST_F(HostElementsTest, TheHandlerMayDestroyTheElementWhileMakingItsWindow)
{
    for (bool byCode : {true, false}) {
        SCOPED_TRACE(byCode ? "asked by code" : "first shown");
        FreedMemoryProbe probe;
        SAutoRefPtr<DestroyingHandler> handler;
        handler.Attach(new DestroyingHandler);
        app->App().SetRealWndHandler(handler);
        SHostWnd host;
        ASSERT_TRUE(hosttest::LoadHost(host, kLayout, false));
        SRealWnd* later = sobj_cast<SRealWnd>(host.FindChildByName(L"later"));
        ASSERT_TRUE(later);
        handler->calls.clear();
        if (byCode) {
            EXPECT_EQ(nullptr, later->GetRealHwnd(TRUE));
        } else {
            later->SetVisible(TRUE, TRUE);
        }
        EXPECT_TRUE(FreedMemoryProbe::IsFreed(later));
        EXPECT_EQ(handler->calls, (std::vector<std::wstring>{L"create later", L"destroy later"}));
        EXPECT_EQ(handler->made, handler->given) << "the window went back with the element";
        EXPECT_FALSE(IsWindow(handler->made));
        host.DestroyWindow();
        app->App().SetRealWndHandler(nullptr);
    }
}

TEST_F(HostElementsTest, WithoutAHandlerNoNativeWindowIsMade)
{
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host, kLayout, false));
    SRealWnd* later = sobj_cast<SRealWnd>(host.FindChildByName(L"later"));
    later->SetVisible(TRUE, TRUE);
    EXPECT_EQ(later->GetRealHwnd(TRUE), nullptr);
    EXPECT_EQ(GetWindow(host.m_hWnd, GW_CHILD), nullptr);
    EXPECT_FALSE(later->RedrawsOnStateChange());
    host.DestroyWindow();
}

}  // namespace
