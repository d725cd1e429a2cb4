// A pen made for a target and selected into it for the length of a scope.
#pragma once

#include "core/SAutoRefPtr.h"
#include "render/IRenderTarget.h"

namespace WUI {

class ScopedPen {
public:
    // Nothing is selected when the pen cannot be made (Ok() is then false).
    ScopedPen(IRenderTarget* rt, int style, COLORREF color, int width) : m_rt(rt)
    {
        IPen* made = nullptr;
        if (FAILED(rt->CreatePen(style, color, width, &made)) || !made) return;
        m_pen.Attach(made);
        rt->SelectObject(m_pen, &m_old);
    }
    // Selects the pen that was current before.
    ~ScopedPen()
    {
        if (!m_pen) return;
        m_rt->SelectObject(m_old, nullptr);
        if (m_old) m_old->Release();
    }
    ScopedPen(const ScopedPen&) = delete;
    ScopedPen& operator=(const ScopedPen&) = delete;
    bool Ok() const { return m_pen != nullptr; }

private:
    IRenderTarget* m_rt;
    SAutoRefPtr<IPen> m_pen;
    IRenderObj* m_old = nullptr;  // the target's reference, handed to us
};

}  // namespace WUI
