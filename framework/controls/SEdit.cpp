#include "controls/SEdit.h"

#include "core/SApplication.h"

namespace WUI {

SEdit::SEdit()
{
    m_fOptions &= ~kOptRich;
    m_fOptions |= kOptAutoSel;
}

BOOL SEdit::IsCueShown()
{
    return !m_strCue.IsEmpty() && GetWindowTextLength() == 0 && !IsFocused();
}

HRESULT SEdit::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"cueColor") == 0) {
        COLORREF color = kColorNone;
        if (!ParseColorAttr(value, color)) return E_FAIL;
        m_crCue = color;
        return AfterSetAttribute(name, value, S_OK);
    }
    if (_wcsicmp(name, L"cueText") == 0) {
        SApplication* app = SApplication::GetSingletonPtr();
        m_strCue = TranslateText(app ? app->GetString(value) : value);
        return AfterSetAttribute(name, value, S_OK);
    }
    return SRichEdit::SetAttribute(name, value, loading);
}

void SEdit::OnEditPaint(IRenderTarget* rt)
{
    OnREPaint(rt);
    if (!rt || !IsCueShown()) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    const COLORREF old = rt->SetTextColor(m_crCue);
    RECT rc = GetClientRect();
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    rt->DrawText(m_strCue, m_strCue.GetLength(), &rc, DT_SINGLELINE | DT_VCENTER);
    rt->SetTextColor(old);
    AfterPaint(rt, saved);
}

void SEdit::InvalidateCue()
{
    if (!IsDestroyed() && !m_strCue.IsEmpty() && GetWindowTextLength() == 0) InvalidateRect(nullptr);
}

void SEdit::OnEditSetFocus()
{
    OnRESetFocus();
    InvalidateCue();
}

void SEdit::OnEditKillFocus()
{
    OnREKillFocus();
    InvalidateCue();
}

}  // namespace WUI
