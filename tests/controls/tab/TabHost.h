// A real element container over a memory render target with the tab
// control's tags registered: tab controls are built from layout strings,
// driven with scripted mouse and key messages, ticked by hand and painted.
#pragma once

#include "controls/STabCtrl.h"
#include "element/ContainerHost.h"

#include <string>
#include <vector>

namespace tabtest {

class TabHost {
public:
    explicit TabHost(int width = 400, int height = 300);
    // Destroys the tree; no key is left held.
    ~TabHost();
    TabHost(const TabHost&) = delete;
    TabHost& operator=(const TabHost&) = delete;

    elemtest::HostedContainer& Container() { return *m_container; }
    WUI::IRenderTarget* Target() { return m_base.Target(); }
    void AddSkins(const wchar_t* xml) { m_base.AddSkins(xml); }

    // Builds the layout's children under the container and lays them out;
    // the tab control named "tab" (null when there is none).
    WUI::STabCtrl* Load(const wchar_t* xml);
    WUI::SWindow* Find(const wchar_t* name) { return m_container->FindChildByName(name, -1); }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    void Mouse(UINT msg, int x, int y) { Send(msg, 0, MAKELPARAM(x, y)); }
    LRESULT Key(UINT vk) { return Send(WM_KEYDOWN, vk, 0); }
    // One animation tick of the container.
    void Tick() { m_container->OnNextFrame(); }

    // Clears the target and paints the whole tree on it.
    void PaintAll();
    // 0xAARRGGBB as the target stores it.
    DWORD Px(int x, int y) { return Target()->GetPixel(x, y); }

private:
    elemtest::ElementHost m_base;
    elemtest::HostedContainer* m_container;
    RECT m_rect;
};

// Records the tab events of one control as text: "changing 0>1",
// "changed 0>1", "hover 2", "leave 2"; can veto changes to one index.
class TabEventLog {
public:
    explicit TabEventLog(WUI::STabCtrl* tab);
    // The log since the last call, then emptied.
    std::vector<std::wstring> Take();

    int vetoTo = -1;  // a change to this index is cancelled

private:
    bool OnChanging(WUI::EventArgs& args);
    bool OnChanged(WUI::EventArgs& args);
    bool OnHover(WUI::EventArgs& args);
    bool OnLeave(WUI::EventArgs& args);
    std::vector<std::wstring> m_log;
};

}  // namespace tabtest
