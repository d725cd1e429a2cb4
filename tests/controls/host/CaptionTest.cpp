// The caption moves its window through the platform's move command and
// maximises or restores it on a double-click, where the window allows it.
#include "HostElementsFixture.h"

#include "controls/SCaption.h"

#include <vector>

using namespace WUI;
using hosttest::RecordingHost;

namespace {

const LPARAM kOnCaption = MAKELPARAM(50, 10);

std::wstring Layout(bool resizable)
{
    return std::wstring(L"<WUI size='200,100' resizable='") + (resizable ? L"1" : L"0") +
           L"'><root><caption name='cap' pos='0,0,-0,30'/></root></WUI>";
}

void SetMaximisedBit(HWND hwnd, bool on)
{
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    SetWindowLongW(hwnd, GWL_STYLE, on ? (style | WS_MAXIMIZE) : (style & ~WS_MAXIMIZE));
}

TEST_F(HostElementsTest, PressingTheCaptionMovesTheWindowAndReleasesTheButton)
{
    RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, Layout(true).c_str(), false));
    ASSERT_NE(nullptr, sobj_cast<SCaption>(host.FindChildByName(L"cap")));
    SendMessageW(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, kOnCaption);
    EXPECT_EQ(host.sysCommands, std::vector<WPARAM>{0xF012});
    EXPECT_EQ(host.buttonUps, 1) << "the tree hears the button go up after the move loop";
    // Below the caption nothing moves.
    SendMessageW(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 60));
    EXPECT_EQ(host.sysCommands.size(), 1u);
    host.DestroyWindow();
}

TEST_F(HostElementsTest, DoubleClickMaximisesOnlyWithThickFrameAndMaximiseBox)
{
    RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, Layout(true).c_str(), false));
    SendMessageW(host.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, kOnCaption);
    SetMaximisedBit(host.m_hWnd, true);
    SendMessageW(host.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, kOnCaption);
    EXPECT_EQ(host.sysCommands, (std::vector<WPARAM>{0xF032, 0xF122}));
    SetMaximisedBit(host.m_hWnd, false);
    host.DestroyWindow();

    RecordingHost fixed;
    ASSERT_TRUE(hosttest::LoadHost(fixed, Layout(false).c_str(), false));
    SendMessageW(fixed.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, kOnCaption);
    EXPECT_TRUE(fixed.sysCommands.empty());
    fixed.DestroyWindow();
}

// Wine reports a version 6.1 workstation: the move starts on the first mouse move.
TEST_F(HostElementsTest, OnAMaximisedWindowTheMoveWaitsForTheMouseToMove)
{
    RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, Layout(true).c_str(), false));
    SCaption* cap = sobj_cast<SCaption>(host.FindChildByName(L"cap"));
    SetMaximisedBit(host.m_hWnd, true);
    SendMessageW(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, kOnCaption);
    EXPECT_TRUE(host.sysCommands.empty());
    EXPECT_TRUE(cap->IsMaxDown());
    SendMessageW(host.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 12));
    EXPECT_EQ(host.sysCommands, std::vector<WPARAM>{0xF012});
    EXPECT_FALSE(cap->IsMaxDown());
    // A press and release without moving leaves nothing pending.
    SendMessageW(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, kOnCaption);
    SendMessageW(host.m_hWnd, WM_LBUTTONUP, 0, kOnCaption);
    EXPECT_FALSE(cap->IsMaxDown());
    SetMaximisedBit(host.m_hWnd, false);
    host.DestroyWindow();
}

}  // namespace
