// A real element container over a memory render target with the item views
// registered: list boxes and list views are built from layout strings,
// driven with scripted mouse and key messages, and painted. The host's
// event hook records the ids of the events that reach it.
#pragma once

#include "element/RealContainerHost.h"

namespace viewtest {

class ViewHost : public elemtest::RealContainerHost<> {
public:
    explicit ViewHost(int width = 300, int height = 240);

    // Key down and up for the focused element.
    void Key(UINT vk);
    // How many events of that id reached the host since the last Clear.
    int Events(int id) const;
    void ClearEvents() { m_container->hostEvents.clear(); }
};

}  // namespace viewtest
