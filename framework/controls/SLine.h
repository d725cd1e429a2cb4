// A line ("hr"): along the element's top edge, down its left edge, or across
// it from top-left to bottom-right, in a pen of its own.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class SLine : public SWindow {
    WUI_SWINDOW_CLASS(SLine, SWindow, L"hr")
public:
    enum Mode { kHorizontal = 0, kVertical = 1, kTilt = 2 };

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // A layout's "size" is set aside for the element's own size while the
    // other attributes are read; a single number there is the pen width.
    void OnInitFinished(pugi::xml_node node) override;

    int GetMode() const { return m_nMode; }
    // A pen style (PS_SOLID to PS_DASHDOTDOT).
    int GetLineStyle() const { return m_nLineStyle; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnLinePaint)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    void OnLinePaint(IRenderTarget* rt);
    // The number the word stands for in the table; E_FAIL (out kept) for
    // another word. Words are compared with regard to case.
    template <size_t N>
    static HRESULT ParseWord(const SStringW& value, const LPCWSTR (&words)[N], int& out);

    int m_nLineStyle = PS_SOLID;
    int m_nSize = 1;
    COLORREF m_crLine = 0xFF000000;
    int m_nMode = kHorizontal;
};

}  // namespace WUI
