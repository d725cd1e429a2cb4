// A tab control in a real host window under Xvfb with the built-in tab skin:
// a slide held half-way is read back from the host's image and saved as
// "tab_slide.png" for a person to look at; a slide left to the host's own
// animation timer ends by itself.
#include "LeakCheck.h"
#include "controls/CommonControls.h"
#include "controls/ControlAttr.h"
#include "controls/STabCtrl.h"
#include "controls/STabSlider.h"
#include "controls/TabControls.h"
#include "host/HostTestSupport.h"

using namespace WUI;

class TabWindowTest : public LeakChecked {};

namespace {

// 420 x 260: tabs along the top of a 400 x 240 control at (10, 10).
const wchar_t kTabWindow[] =
    L"<WUI title='Tab control' size='420,260'>"
    L"<root colorBkgnd='#ffffff' font='size:12'>"
    L"<tabctrl name='tab' pos='10,10,-10,-10' tabHeight='28' tabWidth='90' tabInterSize='2' colorText='#1d232b'"
    L" colorBkgnd='#f4f6f9' animateSteps='10'>"
    L"<page title='General' colorBkgnd='#dce8f5'>"
    L"<text pos='20,20' font='size:16'>General settings</text>"
    L"<check pos='20,60' checked='1'>Start with the system</check>"
    L"</page>"
    L"<page title='Network' colorBkgnd='#f5e6cc'>"
    L"<text pos='20,20' font='size:16'>Network settings</text>"
    L"<check pos='20,60'>Use a proxy server</check>"
    L"</page>"
    L"<page title='About' colorBkgnd='#e1f0dc'><text pos='20,20'>Version 1.0</text></page>"
    L"</tabctrl></root></WUI>";

}  // namespace

TEST_F(TabWindowTest, ASlideHalfWayAndOneDrivenByTheHost)
{
    SWindowFactoryMgr::AddStandardFactories(&RegisterCommonControls);
    SWindowFactoryMgr::AddStandardFactories(&RegisterTabControls);
    {
        hosttest::HostApp app;
        ASSERT_EQ(0, app.MissingSystemResources());
        SHostWnd host;
        ASSERT_TRUE(hosttest::LoadHost(host, kTabWindow));
        STabCtrl* tab = sobj_cast<STabCtrl>(host.FindChildByName(L"tab"));
        ASSERT_NE(nullptr, tab);

        // Held after 5 of 10 ticks: the host's timer no longer moves it.
        ASSERT_TRUE(tab->SetCurSel(1));
        STabSlider* slider = tab->GetSlider();
        ASSERT_NE(nullptr, slider);
        host.UnregisterTimelineHandler(slider);
        for (int i = 0; i < 5; ++i) slider->OnNextFrame();
        const int paints = host.GetPaintCount();
        host.InvalidateRect(nullptr);
        ASSERT_TRUE(hosttest::WaitPainted(host, paints));
        // The page area runs from x 10 to 410: the old page's blue on the
        // left half, the new page's sand on the right.
        EXPECT_EQ(0xFFDCE8F5u, hosttest::HostPixel(host, 40, 200));
        EXPECT_EQ(0xFFF5E6CCu, hosttest::HostPixel(host, 380, 200));
        EXPECT_TRUE(hosttest::SaveScreenshot(app.Factory(), host.m_hWnd, L"tab_slide.png"));

        // Selecting again ends the held slide; the next runs on the host's timer.
        ASSERT_TRUE(tab->SetCurSel(2));
        ASSERT_TRUE(tab->IsSliding());
        EXPECT_TRUE(hosttest::PumpUntil([tab] { return !tab->IsSliding(); }, 10000));
        EXPECT_TRUE(tab->GetItem(2)->IsVisible(TRUE));
        EXPECT_FALSE(tab->GetItem(1)->IsVisible(TRUE));
        host.DestroyWindow();
    }
    SWindowFactoryMgr::RemoveStandardFactories(&RegisterTabControls);
    SWindowFactoryMgr::RemoveStandardFactories(&RegisterCommonControls);
}

// Without a tab size the built-in tab skin's size counts.
TEST_F(TabWindowTest, TabSizeComesFromTheTabSkin)
{
    SWindowFactoryMgr::AddStandardFactories(&RegisterTabControls);
    {
        hosttest::HostApp app;
        SHostWnd host;
        ASSERT_TRUE(hosttest::LoadHost(
            host, L"<WUI size='200,100'><root><tabctrl name='tab' pos='0,0,-0,-0'><page/></tabctrl></root></WUI>",
            false));
        STabCtrl* tab = sobj_cast<STabCtrl>(host.FindChildByName(L"tab"));
        ASSERT_NE(nullptr, tab);
        const SIZE skin = SkinSize(FindSkin(L"_skin.sys.tab.page"));
        EXPECT_GT(skin.cx, 0);
        EXPECT_EQ(skin.cx, tab->GetTabSize().cx);
        EXPECT_EQ(skin.cy, tab->GetTabSize().cy);
        host.DestroyWindow();
    }
    SWindowFactoryMgr::RemoveStandardFactories(&RegisterTabControls);
}
