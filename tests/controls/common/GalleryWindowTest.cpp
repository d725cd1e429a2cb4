// Every common control in each of its states in one real host window under
// Xvfb: the host's own image is read back row by row, and the screen is
// saved as "controls_gallery.png" for a person to look at.
#include "LeakCheck.h"
#include "common/Gallery.h"
#include "controls/CommonControls.h"
#include "host/HostTestSupport.h"

#include <string>

using namespace WUI;
using namespace ctltest;

class GalleryWindowTest : public LeakChecked {};

TEST_F(GalleryWindowTest, EveryControlInEachStateInAHostWindow)
{
    SWindowFactoryMgr::AddStandardFactories(&RegisterCommonControls);
    hosttest::HostApp app;
    ASSERT_EQ(0, app.MissingSystemResources());
    SHostWnd host;
    const std::wstring xml = L"<WUI title='Common controls' size='720,560'>" + std::wstring(kGalleryLayout) + L"</WUI>";
    ASSERT_TRUE(hosttest::LoadHost(host, xml.c_str()));
    SetGalleryStates(&host);
    const int paints = host.GetPaintCount();
    host.InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    // Every row of controls shows, right of its label.
    for (int top : {10, 50, 88, 130, 170, 198, 232, 258, 290, 326, 392, 430, 516}) {
        int ink = 0;
        for (int y = top; y < top + 20; ++y)
            for (int x = 110; x < kGalleryWidth; x += 2) ink += hosttest::HostPixel(host, x, y) != 0xFFFFFFFF;
        EXPECT_GT(ink, 20) << "row at " << top;
    }
    // The full progress bar in the built-in bar's blue, the empty one without it.
    const DWORD full = hosttest::HostPixel(host, 505, 338), empty = hosttest::HostPixel(host, 185, 338);
    EXPECT_GT(full & 0xFF, (full >> 16) & 0xFF) << "blue over red";
    EXPECT_NE(full, empty);
    EXPECT_TRUE(hosttest::SaveScreenshot(app.Factory(), host.m_hWnd, L"controls_gallery.png"));
    host.DestroyWindow();
}
