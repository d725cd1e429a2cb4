// A real element container over a memory render target with the tab
// control's tags registered: tab controls are built from layout strings,
// driven with scripted mouse and key messages, ticked by hand and painted.
#pragma once

#include "controls/STabCtrl.h"
#include "element/RealContainerHost.h"

#include <string>
#include <vector>

namespace tabtest {

class TabHost : public elemtest::RealContainerHost<> {
public:
    explicit TabHost(int width = 400, int height = 300);

    // Builds the layout's children under the container and lays them out;
    // the tab control named "tab" (null when there is none).
    WUI::STabCtrl* Load(const wchar_t* xml);
    LRESULT Key(UINT vk) { return Send(WM_KEYDOWN, vk, 0); }
    // One animation tick of the container.
    void Tick() { m_container->OnNextFrame(); }
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
