// Static text ("text"): the element's text, on one line or, with
// "multiLines", broken into lines at the two characters "\n" and at the
// right edge.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class SStatic : public SWindow {
    WUI_SWINDOW_CLASS(SStatic, SWindow, L"text")
public:
    // Transparent to the mouse; aligned left unless the layout says otherwise.
    SStatic();

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // With multiLines each line is drawn apart, interHeight below the one
    // before, the block centred or put at the bottom as the format asks; a
    // measuring call (DT_CALCRECT) draws nothing and gives the block's extent.
    void DrawText(IRenderTarget* rt, LPCWSTR text, int length, RECT* rect, UINT format) override;

    BOOL IsMultiLines() const { return m_nMultiLines != 0; }
    int GetInterHeight() const { return m_nInterHeight; }

private:
    // Lays the text out line by line in rect, drawing each line when draw is
    // set; the width of the widest line and the bottom of the last, from rect's
    // top-left.
    SIZE LayoutLines(IRenderTarget* rt, LPCWSTR text, int length, const RECT& rect, UINT format, bool draw);

    int m_nMultiLines = 0;
    int m_nInterHeight = 5;
};

}  // namespace WUI
