#include "controls/SGroup.h"

#include "controls/ControlAttr.h"
#include "controls/ScopedPen.h"

namespace WUI {

namespace {

// The title stands this far in from each side of the frame.
const int kTitleIndent = 20;
// The lines stop this far short of the title.
const int kTitleGap = 5;

}  // namespace

HRESULT SGroup::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SGroup, int> ints[] = {
        {L"round", &SGroup::m_nRound, S_FALSE},
        {L"headerHeight", &SGroup::m_nHeaderHeight, S_OK},
    };
    static const MemberAttr<SGroup, COLORREF> colors[] = {
        {L"colorLine1", &SGroup::m_crLine1, S_FALSE},
        {L"colorLine2", &SGroup::m_crLine2, S_FALSE},
    };
    HRESULT hr;
    if (SetIntAttr(this, ints, name, value, hr)) {
        // The children stand below the header: a new height moves them.
        if (!loading && hr == S_OK) InvalidateLayout();
        return AfterSetAttribute(name, value, hr);
    }
    for (const auto& entry : colors) {
        if (_wcsicmp(name, entry.name) != 0) continue;
        hr = ParseColorAttr(value, this->*entry.member) ? entry.result : E_FAIL;
        return AfterSetAttribute(name, value, hr);
    }
    return SWindow::SetAttribute(name, value, loading);
}

RECT SGroup::GetChildrenLayoutRect() const
{
    RECT rc = SWindow::GetChildrenLayoutRect();
    rc.top += m_nHeaderHeight;
    return rc;
}

RECT SGroup::TitleRect(SIZE text) const
{
    RECT rc = GetPlacedRect();
    ::InflateRect(&rc, -kTitleIndent, 0);
    rc.bottom = rc.top + text.cy + 2;
    const UINT align = GetTextAlign();
    if (align & DT_CENTER) rc.left += (rc.right - rc.left - text.cx) / 2;
    else if (align & DT_RIGHT) rc.left = rc.right - text.cx;
    rc.right = rc.left + text.cx;
    return rc;
}

void SGroup::DrawRoundFrame(IRenderTarget* rt, const RECT& rc, COLORREF color)
{
    ScopedPen pen(rt, PS_SOLID, color, 1);
    if (pen.Ok()) rt->DrawRoundRect(&rc, POINT{m_nRound, m_nRound});
}

// Two lines a pixel apart make the frame look cut into the surface; the
// title breaks the top lines.
void SGroup::OnGroupPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    SIZE text = {0, 0};
    const bool hasText = !m_strText.IsEmpty();
    if (hasText) rt->MeasureText(m_strText, m_strText.GetLength(), &text);
    const RECT title = TitleRect(text);
    if (hasText) {
        RECT gap = title;
        ::InflateRect(&gap, kTitleGap, kTitleGap);
        rt->PushClipRect(&gap, RGN_DIFF);
    }
    RECT frame = GetPlacedRect();
    if (hasText) frame.top += text.cy / 2;
    DrawRoundFrame(rt, RECT{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom}, m_crLine1);
    DrawRoundFrame(rt, RECT{frame.left, frame.top, frame.right, frame.bottom - 1}, m_crLine2);
    if (hasText) {
        rt->PopClip();
        RECT rc = title;
        DrawText(rt, m_strText, m_strText.GetLength(), &rc, DT_SINGLELINE | DT_VCENTER);
    }
    AfterPaint(rt, saved);
}

}  // namespace WUI
