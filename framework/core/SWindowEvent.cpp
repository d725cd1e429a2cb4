// The road of an element's event: own subscribers, script, owner, host.
#include "core/SWindow.h"

namespace WUI {

BOOL SWindow::FireEvent(EventArgs& args)
{
    if (m_evtSet.IsMuted()) return FALSE;
    SAutoRefPtr<SWindow> keep(this);
    const BOOL wasDestroyed = m_bDestroyed;
    m_evtSet.FireEvent(args);
    // A handler that destroyed the element ends the walk: its host may be gone.
    if (!args.bubbleUp || (m_bDestroyed && !wasDestroyed)) return args.handled > 0;
    return BubbleEvent(args);
}

BOOL SWindow::BubbleEvent(EventArgs& args)
{
    const BOOL wasDestroyed = m_bDestroyed;
    SAutoRefPtr<IScriptModule> script = m_pContainer ? m_pContainer->GetScriptModule() : nullptr;
    if (script) {
        SStringA handler = m_evtSet.GetScriptHandler(args.GetName());
        if (!handler.IsEmpty()) {
            script->RunHandler(handler, args);
            if (!args.bubbleUp || (m_bDestroyed && !wasDestroyed)) return args.handled > 0;
        }
    }
    // Handled by this element's subscribers counts even when nobody further on takes it.
    BOOL onward = FALSE;
    if (SWindow* owner = GetOwner()) onward = owner->FireEvent(args);
    else if (m_pContainer) onward = m_pContainer->FireEvent(args);
    return onward || args.handled > 0;
}

BOOL SWindow::FireCommand()
{
    EventCmd evt(this);
    return FireEvent(evt);
}

BOOL SWindow::FireCtxMenu(int x, int y)
{
    EventCtxMenu evt(this, POINT{x, y});
    FireEvent(evt);
    return evt.cancel;
}

}  // namespace WUI
