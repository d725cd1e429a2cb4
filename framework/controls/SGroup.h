// A group frame ("group"): a rounded double line around its children with
// the text as a title set into the top line.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class SGroup : public SWindow {
    WUI_SWINDOW_CLASS(SGroup, SWindow, L"group")
public:
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // The client rect below the header.
    RECT GetChildrenLayoutRect() const override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnGroupPaint)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    void OnGroupPaint(IRenderTarget* rt);
    // Where the title goes for a text of that size, after the style's alignment.
    RECT TitleRect(SIZE text) const;
    void DrawRoundFrame(IRenderTarget* rt, const RECT& rc, COLORREF color);

    COLORREF m_crLine1 = 0xFFF0F0F0;
    COLORREF m_crLine2 = 0xFFA0A0A0;
    int m_nRound = 4;
    int m_nHeaderHeight = 20;
};

}  // namespace WUI
