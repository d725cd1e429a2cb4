// A real element container over a recorded native side (no window), with the
// common controls registered and the built-in skins loaded: layouts of
// controls are built, driven by scripted mouse and keyboard messages and
// painted on a memory render target of their own.
#pragma once

#include "element/ContainerHost.h"
#include "render/IRenderTarget.h"

#include <initializer_list>
#include <string>

namespace ctltest {

class ControlHost {
public:
    // systemSkins: load the built-in skins first (controls take theirs when made).
    explicit ControlHost(int width = 400, int height = 300, bool systemSkins = true);
    // Forgets the message-box template the system resources installed.
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    elemtest::ContainerHost& Host() { return m_host; }
    elemtest::HostedContainer& Container() { return m_host.Container(); }
    WUI::SApplication& App() { return m_host.App(); }

    // Builds the layout's children under the container and lays them out.
    void Load(const wchar_t* xml) { m_host.Load(xml); }
    WUI::SWindow* Find(const wchar_t* name) { return m_host.Find(name); }
    template <class T>
    T* Get(const wchar_t* name)
    {
        return WUI::sobj_cast<T>(Find(name));
    }
    // A skin pool from <skin>...</skin>.
    void AddSkins(const wchar_t* xml);
    // An image-strip skin of that name whose states are flat colours
    // (0xAARRGGBB, opaque), each cell w x h.
    void AddStripSkin(const wchar_t* name, std::initializer_list<DWORD> colors, int w = 8, int h = 8);

    // Input through the container's dispatch.
    void Move(int x, int y) { m_host.Mouse(WM_MOUSEMOVE, x, y); }
    void Click(int x, int y);
    LRESULT Key(UINT vk, bool ctrl = false, BOOL* handled = nullptr);
    LRESULT KeyUp(UINT vk, BOOL* handled = nullptr);
    // Animation ticks of the container.
    void Ticks(int n);
    // How many events of that id reached the host since the last call.
    int TakeHostEvents(int id);

    // Clears the target to opaque white and paints the whole tree.
    void Paint();
    WUI::IRenderTarget* Target() { return m_target; }
    // 0xAARRGGBB as the target stores it.
    DWORD Px(int x, int y) { return m_target->GetPixel(x, y); }
    // Pixels of the rectangle that are not the white background.
    int Inked(const RECT& rc);
    // Pixels of the rectangle equal to the colour.
    int Count(const RECT& rc, DWORD color);
    // The target as a PNG, for a person to look at.
    void SavePicture(const wchar_t* file);

private:
    static bool RegisterControls();

    bool m_registered = RegisterControls();
    elemtest::ContainerHost m_host;
    WUI::SAutoRefPtr<WUI::IRenderTarget> m_target;
};

// True when each byte of the two colours differs by at most tolerance.
bool Near(DWORD got, DWORD want, int tolerance);

// Destroys the element at the first event of one id it fires, then counts
// the state changes and commands it fires once its destroy event came.
struct DestroyOnEvent {
    DestroyOnEvent(WUI::SWindow* element, int id) : event(id)
    {
        for (int e : {id, int(WUI::EventSwndStateChanged::EventID), int(WUI::EventCmd::EventID),
                      int(WUI::EventSwndDestroy::EventID)})
            element->GetEventSet()->SubscribeEvent(e, &DestroyOnEvent::On, this);
    }
    bool On(WUI::EventArgs& e)
    {
        if (e.GetId() == WUI::EventSwndDestroy::EventID) gone = true;
        else if (gone) ++after;
        else if (e.GetId() == event && destroyed++ == 0) e.sender->DestroyWindow();
        return false;
    }
    int event;
    int destroyed = 0;
    bool gone = false;
    int after = 0;
};

}  // namespace ctltest
