// ActiveX hosting in real host windows: a windowless test control
// registered at run time shows the order of the host's calls, delayed
// creation, capture, focus and keys, resizing, painting, the teardown order
// with every reference and running lock given back, a site that outlives
// its element, failures that leave the element empty, and the presets'
// own interface let go with the control; then the platform's Flash (absent
// under Wine) and media-player (no view object) controls.
#include "LeakCheck.h"
#include "TestControl.h"
#include "controls/ActiveXControls.h"
#include "controls/CommonControls.h"
#include "controls/SActiveX.h"
#include "host/HostTestSupport.h"
#include "support/FreedMemoryProbe.h"

#include <algorithm>
#include <string>

using namespace WUI;
using namespace axtest;

namespace {

class ActiveXTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        Record().Reset();
        SWindowFactoryMgr::AddStandardFactories(&RegisterCommonControls);
        SWindowFactoryMgr::AddStandardFactories(&RegisterActiveXControls);
    }
    void TearDown() override
    {
        Record().Reset();
        ::OleUninitialize();
        LeakChecked::TearDown();
    }
};

// A 300 x 200 window with the elements given on a white background.
std::wstring Window(const std::wstring& elements)
{
    return L"<WUI title='ActiveX' size='300,200'><root><window pos='0,0,-0,-0' colorBkgnd='#ffffff'>" + elements +
           L"</window></root></WUI>";
}

std::wstring TestControlAt(const wchar_t* attrs)
{
    return std::wstring(L"<activex name='ax' clsID='") + kTestControlClsidText + L"' " + attrs + L"/>";
}

void Send(SHostWnd& host, UINT msg, int x, int y)
{
    ::SendMessageW(host.m_hWnd, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

BOOL CALLBACK CountDialog(HWND hwnd, LPARAM count)
{
    wchar_t name[16] = {};
    ::GetClassNameW(hwnd, name, 16);
    if (wcscmp(name, L"#32770") == 0) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Dialog windows (message boxes among them) of this thread.
int ThreadDialogs()
{
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountDialog, reinterpret_cast<LPARAM>(&count));
    return count;
}

const int kX = 120, kY = 620;  // away from the other window tests

}  // namespace

TEST_F(ActiveXTest, WindowlessControlFromCreationToTeardown)
{
    RegisteredControl registered;
    ASSERT_TRUE(registered.ok());
    hosttest::HostApp app;
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host, Window(TestControlAt(L"pos='20,20,@200,@100'")).c_str(), true, kX, kY));
    SActiveX* ax = sobj_cast<SActiveX>(host.FindChildByName(L"ax"));
    ASSERT_TRUE(ax);
    ASSERT_NE(nullptr, ax->GetIUnknown());
    EXPECT_EQ(1, Record().live);

    // Made, initialised, given the site, connected, activated windowless in
    // its place (the running lock taken), then told its place and extent.
    EXPECT_EQ("GetMiscStatus InitNew SetClientSite Advise SetAdvise DoVerb LockRunning(1) SetObjectRects SetExtent "
              "GetExtent",
              Record().CallsFrom(0));
    const RECT place = {20, 20, 220, 120};
    EXPECT_EQ(TRUE, ::EqualRect(&place, &Record().contextRect))
        << Record().contextRect.left << "," << Record().contextRect.top << "," << Record().contextRect.right << ","
        << Record().contextRect.bottom;
    EXPECT_EQ(TRUE, ::EqualRect(&place, &Record().objectRect));
    SAxContainerImpl* site = ax->GetAxContainer();
    EXPECT_TRUE(site->IsInPlaceActive());
    EXPECT_TRUE(site->IsWindowless());
    EXPECT_TRUE(site->IsControlVisible());
    EXPECT_EQ(ActiveXSite::kViewObject2, site->GetViewKind());
    EXPECT_EQ(1, Record().runningLocks);

    // It paints its rectangle, opaque; the element's surroundings stay white.
    int paints = host.GetPaintCount();
    host.InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    EXPECT_EQ(0xFF209040u, hosttest::HostPixel(host, 100, 70));
    EXPECT_EQ(0xFFFFFFFFu, hosttest::HostPixel(host, 10, 10));

    // A press: the element takes the focus, the control asks for the
    // capture and gets it through the element; the release gives it back.
    const int messages = Record().windowMessages;
    Send(host, WM_LBUTTONDOWN, 60, 60);
    EXPECT_EQ(ax->GetSwnd(), host.GetFocus());
    EXPECT_EQ(ax->GetSwnd(), host.GetCapture());
    EXPECT_TRUE(site->HasCapture());
    Send(host, WM_MOUSEMOVE, 400, 400);  // outside, still to the control through the capture
    Send(host, WM_LBUTTONUP, 400, 400);
    EXPECT_EQ(0u, host.GetCapture());
    EXPECT_FALSE(site->HasCapture());
    ::SendMessageW(host.m_hWnd, WM_KEYDOWN, 'A', 0);
    ::SendMessageW(host.m_hWnd, WM_CHAR, 'a', 0);
    EXPECT_EQ(messages + 5, Record().windowMessages);

    // Resized: the control is told, and the height it insists on is kept.
    HDC screen = ::GetDC(nullptr);
    const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    Record().fixedHeightHimetric = ::MulDiv(2540, 48, dpiY);
    const RECT bigger = {20, 20, 260, 140};
    ax->Move(&bigger);
    EXPECT_EQ(TRUE, ::EqualRect(&bigger, &Record().objectRect));
    const RECT& kept = site->GetControlRect();
    EXPECT_EQ(240, kept.right - kept.left);
    EXPECT_EQ(::MulDiv(dpiY, Record().fixedHeightHimetric, 2540), kept.bottom - kept.top);

    // The control draws where its rectangle meets the area, also when the
    // two cross without a corner of one inside the other.
    HDC mem = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(mem, 300, 200);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    const RECT crossing = {100, 0, 140, 200}, apart = {270, 150, 290, 190};
    EXPECT_TRUE(site->Draw(mem, crossing));
    EXPECT_FALSE(site->Draw(mem, apart));
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);

    // Teardown in order, the running lock given back, the control freed.
    const size_t mark = Record().calls.size();
    host.DestroyWindow();
    EXPECT_EQ("SetAdvise(null) InPlaceDeactivate LockRunning(0) Unadvise SetClientSite(null) Close FinalRelease",
              Record().CallsFrom(mark));
    EXPECT_EQ(0, Record().live);
    EXPECT_EQ(0, Record().runningLocks);

    // The site the control handed out outlives the element: it answers
    // without reaching it, and goes when its last reference does.
    ASSERT_NE(nullptr, Record().site);
    IOleInPlaceSiteWindowless* late = nullptr;
    ASSERT_EQ(S_OK, Record().site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&late)));
    HWND hwnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(E_FAIL, late->GetWindow(&hwnd));
    EXPECT_EQ(nullptr, hwnd);
    EXPECT_EQ(S_OK, late->SetCapture(TRUE));
    EXPECT_EQ(S_OK, late->InvalidateRect(nullptr, FALSE));
    EXPECT_EQ(E_FAIL, Record().site->ShowObject());
    EXPECT_EQ(1u, late->Release());
    EXPECT_EQ(0u, Record().site->Release());
    Record().site = nullptr;
}

// A message the control passes on to the host window's default handling
// may close the window, and the element and the site let the control go:
// the control's call, still running, keeps it until it returns.
TEST_F(ActiveXTest, AControlClosingTheWindowInsideAMessageLivesToTheEndOfIt)
{
    FreedMemoryProbe probe;
    RegisteredControl registered;
    ASSERT_TRUE(registered.ok());
    hosttest::HostApp app;
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host, Window(TestControlAt(L"pos='20,20,@200,@100'")).c_str(), true, kX, kY));
    SActiveX* ax = sobj_cast<SActiveX>(host.FindChildByName(L"ax"));
    ASSERT_TRUE(ax && ax->GetIUnknown());
    ax->SetFocus();
    Record().keysCloseByDefault = true;
    ::SendMessageW(host.m_hWnd, WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(::IsWindow(host.m_hWnd));
    const auto& calls = Record().calls;
    const auto closed = std::find(calls.begin(), calls.end(), "Closed by default");
    EXPECT_TRUE(closed < std::find(calls.begin(), calls.end(), "FinalRelease")) << Record().CallsFrom(0);
    EXPECT_EQ(0, Record().live);
}

TEST_F(ActiveXTest, DelayedCreationAndClassNames)
{
    RegisteredControl registered;
    ASSERT_TRUE(registered.ok());
    hosttest::HostApp app;
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(
        host, Window(TestControlAt(L"pos='20,20,@100,@60' delay='1' visible='0'")).c_str(), true, kX, kY));
    SActiveX* ax = sobj_cast<SActiveX>(host.FindChildByName(L"ax"));
    ASSERT_TRUE(ax);
    EXPECT_EQ(0, Record().live);  // hidden: nothing made yet
    EXPECT_EQ(nullptr, ax->GetIUnknown());
    ax->SetVisible(TRUE, TRUE);
    EXPECT_EQ(1, Record().live);
    EXPECT_NE(nullptr, ax->GetIUnknown());
    EXPECT_FALSE(ax->IsDelayed());
    EXPECT_FALSE(ax->InitActiveX());  // made once only
    EXPECT_EQ(1, Record().live);

    const CLSID none = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    const struct {
        std::wstring value;
        HRESULT result;
        bool testClsid;  // else none
    } names[] = {
        {kTestControlClsidText, S_FALSE, true},
        {L"{not a clsid}", E_FAIL, false},
        {L"No.Such.ProgId", E_FAIL, false},
        {kTestControlClsidText, S_FALSE, true},
        {std::wstring(L"{") + std::wstring(120, L'0') + L"}", E_FAIL, true},  // too long: refused, kept
    };
    for (const auto& n : names) {
        EXPECT_EQ(n.result, ax->SetAttribute(L"clsID", n.value.c_str(), FALSE)) << n.value.size();
        EXPECT_EQ(TRUE, IsEqualCLSID(n.testClsid ? kTestControlClsid : none, ax->GetClsid())) << n.value.size();
    }
    host.DestroyWindow();
    EXPECT_EQ(0, Record().live);
}

TEST_F(ActiveXTest, FailuresLeaveTheElementEmpty)
{
    RegisteredControl registered;
    ASSERT_TRUE(registered.ok());
    hosttest::HostApp app;
    Record().initNewResult = E_OUTOFMEMORY;
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(
        host,
        Window(TestControlAt(L"pos='10,10,@80,@80'") +
               L"<activex name='unknown' clsID='{0BADC0DE-0000-0000-0000-000000000001}' pos='100,10,@80,@80'/>"
               L"<activex name='invisible' pos='190,10,@80,@80'/>")
            .c_str(),
        true, kX, kY));
    SActiveX* failed = sobj_cast<SActiveX>(host.FindChildByName(L"ax"));
    SActiveX* unknown = sobj_cast<SActiveX>(host.FindChildByName(L"unknown"));
    SActiveX* invisible = sobj_cast<SActiveX>(host.FindChildByName(L"invisible"));
    ASSERT_TRUE(failed && unknown && invisible);
    // Initialisation refused: the control was let go at once.
    EXPECT_EQ(nullptr, failed->GetIUnknown());
    EXPECT_EQ(0, Record().live);
    EXPECT_EQ(0, Record().runningLocks);
    EXPECT_EQ(nullptr, unknown->GetIUnknown());
    // Input and painting over the empty elements do nothing.
    Send(host, WM_LBUTTONDOWN, 50, 50);
    Send(host, WM_LBUTTONUP, 50, 50);
    Send(host, WM_LBUTTONDOWN, 140, 50);
    Send(host, WM_LBUTTONUP, 140, 50);
    const int paints = host.GetPaintCount();
    host.InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    EXPECT_EQ(0xFFFFFFFFu, hosttest::HostPixel(host, 50, 50));

    // A control that asks not to be activated is made but never active in
    // place: it gets no input.
    Record().initNewResult = S_OK;
    Record().miscStatus = OLEMISC_INVISIBLEATRUNTIME;
    invisible->SetAttribute(L"clsID", kTestControlClsidText, FALSE);
    EXPECT_TRUE(invisible->InitActiveX());
    EXPECT_EQ(1, Record().live);
    EXPECT_EQ(std::string::npos, Record().CallsFrom(0).find("DoVerb"));
    EXPECT_FALSE(invisible->GetAxContainer()->IsInPlaceActive());
    Send(host, WM_LBUTTONDOWN, 230, 50);
    Send(host, WM_LBUTTONUP, 230, 50);
    EXPECT_EQ(0, Record().windowMessages);
    host.DestroyWindow();
    EXPECT_EQ(0, Record().live);
}

// The presets take their own interface from the control; whenever the
// element lets the control go, after a failed activation or at its
// destruction (the element itself kept alive), that interface goes too.
TEST_F(ActiveXTest, PresetsLetTheirInterfaceGoWithTheControl)
{
    RegisteredControl registered;
    ASSERT_TRUE(registered.ok());
    hosttest::HostApp app;
    // The Flash preset's interface, answered by the test control.
    Record().dispatchIid = {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
    Record().doVerbResult = E_FAIL;
    SHostWnd host;
    const std::wstring flash = std::wstring(L"<flash name='flash' clsID='") + kTestControlClsidText +
                               L"' pos='10,10,@130,@100' url='intro.swf'/>";
    ASSERT_TRUE(hosttest::LoadHost(host, Window(flash).c_str(), true, kX, kY));
    SFlashCtrl* ctrl = sobj_cast<SFlashCtrl>(host.FindChildByName(L"flash"));
    ASSERT_TRUE(ctrl);
    EXPECT_NE(std::string::npos, Record().CallsFrom(0).find("Put WMode=transparent Put Movie=intro.swf"))
        << Record().CallsFrom(0);
    EXPECT_EQ(nullptr, ctrl->GetIUnknown()) << "its activation failed";
    EXPECT_EQ(0, Record().live);
    EXPECT_FALSE(ctrl->SetUrl(L"other.swf"));

    Record().doVerbResult = S_OK;
    ASSERT_TRUE(ctrl->InitActiveX());
    EXPECT_EQ(1, Record().live);
    EXPECT_TRUE(ctrl->SetUrl(L"other.swf"));
    SAutoRefPtr<SFlashCtrl> keep(ctrl);
    const size_t mark = Record().calls.size();
    host.DestroyWindow();
    EXPECT_EQ(0, Record().live) << "freed with the site's teardown";
    EXPECT_FALSE(ctrl->SetUrl(L"late.swf"));
    EXPECT_EQ(std::string::npos, Record().CallsFrom(mark).find("Put")) << Record().CallsFrom(mark);
}

TEST_F(ActiveXTest, FlashAndMediaPlayerOfThePlatform)
{
    hosttest::HostApp app;
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host,
                                   Window(L"<flash name='flash' pos='10,10,@130,@100' url='intro.swf'/>"
                                          L"<mediaplayer name='player' pos='150,10,@130,@100'/>")
                                       .c_str(),
                                   true, kX, kY));
    SFlashCtrl* flash = sobj_cast<SFlashCtrl>(host.FindChildByName(L"flash"));
    SMediaPlayer* player = sobj_cast<SMediaPlayer>(host.FindChildByName(L"player"));
    ASSERT_TRUE(flash && player);

    // Not registered under Wine: nothing made, nothing said.
    EXPECT_EQ(nullptr, flash->GetIUnknown());
    EXPECT_FALSE(flash->SetUrl(L"other.swf"));
    EXPECT_STREQ(L"intro.swf", flash->GetUrl());
    Send(host, WM_LBUTTONDOWN, 50, 50);
    Send(host, WM_LBUTTONUP, 50, 50);
    ::SendMessageW(host.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);

    // The media player is made, has its player interface and no view object.
    ASSERT_NE(nullptr, player->GetIUnknown());
    EXPECT_NE(nullptr, player->GetPlayer());
    EXPECT_EQ(ActiveXSite::kViewNone, player->GetAxContainer()->GetViewKind());
    const int paints = host.GetPaintCount();
    host.InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    Send(host, WM_LBUTTONDOWN, 200, 50);
    Send(host, WM_LBUTTONUP, 200, 50);
    EXPECT_EQ(0, ThreadDialogs());  // no message box

    // Wine's player keeps a window of its own: it follows the element's visibility.
    IOleWindow* window = nullptr;
    HWND playerWindow = nullptr;
    ASSERT_EQ(S_OK, player->GetIUnknown()->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)));
    window->GetWindow(&playerWindow);
    window->Release();
    ASSERT_TRUE(::IsWindow(playerWindow));
    EXPECT_TRUE(::IsWindowVisible(playerWindow));
    player->SetVisible(FALSE, TRUE);
    EXPECT_FALSE(::IsWindowVisible(playerWindow));
    player->SetVisible(TRUE, TRUE);
    EXPECT_TRUE(::IsWindowVisible(playerWindow));
    // Wine's player cannot close (E_NOTIMPL) but takes the url; it opens it later.
    EXPECT_TRUE(player->SetUrl(L"C:\\no such folder\\clip.wmv"));
    EXPECT_STREQ(L"C:\\no such folder\\clip.wmv", player->GetUrl());
    EXPECT_TRUE(hosttest::SaveScreenshot(app.Factory(), host.m_hWnd, L"activex_hosts.png"));
    // Torn down with the window, the element kept: no player is left to call.
    SAutoRefPtr<SMediaPlayer> keep(player);
    host.DestroyWindow();
    EXPECT_EQ(nullptr, player->GetIUnknown());
    EXPECT_EQ(nullptr, player->GetPlayer());
    EXPECT_FALSE(player->SetUrl(L"C:\\late.wmv"));
}
