// A real element container over a memory render target with the item views
// registered: list boxes and list views are built from layout strings,
// driven with scripted mouse and key messages, and painted. The host's
// event hook records the ids of the events that reach it.
#pragma once

#include "element/ContainerHost.h"

namespace viewtest {

class ViewHost {
public:
    explicit ViewHost(int width = 300, int height = 240);
    // Destroys the tree.
    ~ViewHost();
    ViewHost(const ViewHost&) = delete;
    ViewHost& operator=(const ViewHost&) = delete;

    WUI::SApplication& App() { return m_base.App(); }
    elemtest::HostedContainer& Container() { return *m_container; }
    WUI::IRenderTarget* Target() { return m_base.Target(); }
    void AddSkins(const wchar_t* xml) { m_base.AddSkins(xml); }

    // Builds the layout's children under the container's root and lays them
    // out; the element of that name as a T (null when it is none).
    template <class T>
    T* Load(const wchar_t* xml, const wchar_t* name)
    {
        m_container->CreateChildrenFromString(xml);
        m_container->UpdateLayout();
        return WUI::sobj_cast<T>(m_container->FindChildByName(name, -1));
    }
    // Through the container's dispatch.
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    void Mouse(UINT msg, int x, int y) { Send(msg, 0, MAKELPARAM(x, y)); }
    // Move, button down and up at the point.
    void Click(int x, int y);
    // Key down and up for the focused element.
    void Key(UINT vk);
    // How many events of that id reached the host since the last Clear.
    int Events(int id) const;
    void ClearEvents() { m_container->hostEvents.clear(); }

    // Clears the target and paints the whole tree on it.
    void PaintAll();
    // 0xAARRGGBB as the target stores it.
    DWORD Px(int x, int y) { return Target()->GetPixel(x, y); }

private:
    elemtest::ElementHost m_base;
    elemtest::HostedContainer* m_container;
    RECT m_rect;
};

}  // namespace viewtest
