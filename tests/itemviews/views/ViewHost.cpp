#include "ViewHost.h"

#include "controls/CommonControls.h"
#include "itemviews/ItemViewFactories.h"

#include <algorithm>

using namespace WUI;

namespace viewtest {

ViewHost::ViewHost(int width, int height) : RealContainerHost(width, height)
{
    RegisterCommonControls(App());
    RegisterItemViews(App());
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

}  // namespace viewtest
