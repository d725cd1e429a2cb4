// A real element container (HostedContainer or a kind of it) covering
// (0, 0, width, height) of a memory render target: trees built from layout
// strings, driven with scripted messages through the container's dispatch,
// and painted. Control tests derive a host from it and register their tags
// in its constructor.
#pragma once

#include "element/ContainerHost.h"

namespace elemtest {

template <class C = HostedContainer>
class RealContainerHost {
public:
    RealContainerHost(int width, int height) : m_base(width, height), m_rect{0, 0, width, height}
    {
        m_container = new C(m_base.Target());
        m_container->Move(&m_rect);
    }
    // Destroys the tree.
    ~RealContainerHost()
    {
        m_container->SendSwndMessage(WM_DESTROY);
        m_container->Release();
    }
    RealContainerHost(const RealContainerHost&) = delete;
    RealContainerHost& operator=(const RealContainerHost&) = delete;

    WUI::SApplication& App() { return m_base.App(); }
    C& Container() { return *m_container; }
    WUI::IRenderTarget* Target() { return m_base.Target(); }
    void AddSkins(const wchar_t* xml) { m_base.AddSkins(xml); }

    // Builds the layout's children under the container's root and lays them out.
    void Load(const wchar_t* xml)
    {
        m_container->CreateChildrenFromString(xml);
        m_container->UpdateLayout();
    }
    // The element of that name anywhere in the tree, or null.
    WUI::SWindow* Find(const wchar_t* name) { return m_container->FindChildByName(name, -1); }
    // Load, then the element of that name as a T (null when it is none).
    template <class T>
    T* Load(const wchar_t* xml, const wchar_t* name)
    {
        Load(xml);
        return Find<T>(name);
    }
    template <class T>
    T* Find(const wchar_t* name)
    {
        return WUI::sobj_cast<T>(Find(name));
    }

    // Through the container's dispatch; handled: whether the tree took it.
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, BOOL* handled = nullptr)
    {
        const LRESULT result = m_container->DispatchHostMessage(msg, wParam, lParam);
        if (handled) *handled = m_container->IsMsgHandled();
        return result;
    }
    void Mouse(UINT msg, int x, int y) { Send(msg, 0, MAKELPARAM(x, y)); }
    // Move, button down and up at the point.
    void Click(int x, int y)
    {
        Mouse(WM_MOUSEMOVE, x, y);
        Mouse(WM_LBUTTONDOWN, x, y);
        Mouse(WM_LBUTTONUP, x, y);
    }

    // Clears the target and paints the whole tree on it.
    void PaintAll()
    {
        Target()->ClearRect(&m_rect, 0);
        m_container->UpdateZorder();
        m_container->RedrawRegion(Target(), nullptr);
    }
    // 0xAARRGGBB as the target stores it.
    DWORD Px(int x, int y) { return Target()->GetPixel(x, y); }

protected:
    ElementHost m_base;  // the application and the render target
    C* m_container;      // one reference, released with the tree
    RECT m_rect;
};

}  // namespace elemtest
