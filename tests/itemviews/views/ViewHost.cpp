#include "ViewHost.h"

#include "controls/CommonControls.h"
#include "itemviews/ItemViewFactories.h"

#include <algorithm>

using namespace WUI;

namespace viewtest {

ViewHost::ViewHost(int width, int height) : m_base(width, height), m_rect{0, 0, width, height}
{
    RegisterCommonControls(m_base.App());
    RegisterItemViews(m_base.App());
    m_container = new elemtest::HostedContainer(m_base.Target());
    m_container->Move(&m_rect);
}

ViewHost::~ViewHost()
{
    m_container->SendSwndMessage(WM_DESTROY);
    m_container->Release();
}

LRESULT ViewHost::Send(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return m_container->DispatchHostMessage(msg, wParam, lParam);
}

void ViewHost::Click(int x, int y)
{
    Mouse(WM_MOUSEMOVE, x, y);
    Mouse(WM_LBUTTONDOWN, x, y);
    Mouse(WM_LBUTTONUP, x, y);
}

void ViewHost::Key(UINT vk)
{
    Send(WM_KEYDOWN, vk, 0);
    Send(WM_KEYUP, vk, 0);
}

int ViewHost::Events(int id) const
{
    const std::vector<int>& seen = m_container->hostEvents;
    return static_cast<int>(std::count(seen.begin(), seen.end(), id));
}

void ViewHost::PaintAll()
{
    Target()->ClearRect(&m_rect, 0);
    m_container->UpdateZorder();
    m_container->RedrawRegion(Target(), nullptr);
}

}  // namespace viewtest
