// "edit": the plain single-format editor, selecting all when clicked into,
// with a cue text shown while it is empty and unfocused.
#pragma once

#include "controls/SRichEdit.h"

namespace WUI {

class SEdit : public SRichEdit {
    WUI_SWINDOW_CLASS(SEdit, SRichEdit, L"edit")
public:
    // Plain text, autoSel on; grey cue colour, no cue text.
    SEdit();

    const SStringW& GetCueText() const { return m_strCue; }
    COLORREF GetCueColor() const { return m_crCue; }
    // Whether the cue shows now: a cue text, no text and no focus.
    BOOL IsCueShown();

    // "cueColor" (an empty value is refused) and "cueText" (named string,
    // translated); others go to the rich edit.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnEditPaint)
        WUI_MSG_WM_SETFOCUS(OnEditSetFocus)
        WUI_MSG_WM_KILLFOCUS(OnEditKillFocus)
    WUI_SWND_MSG_MAP_END(SRichEdit)

protected:
    void OnEditPaint(IRenderTarget* rt);
    void OnEditSetFocus();
    void OnEditKillFocus();
    // Repaints when the cue comes or goes with the focus.
    void InvalidateCue();

    COLORREF m_crCue = 0xFFCCCCCC;
    SStringW m_strCue;
};

}  // namespace WUI
