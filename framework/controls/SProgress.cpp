#include "controls/SProgress.h"

#include "controls/ControlAttr.h"

#include <algorithm>

namespace WUI {

HRESULT SProgress::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SProgress, ISkinObj*> skins[] = {
        {L"bkgndSkin", &SProgress::m_pSkinBg, S_OK},
        {L"posSkin", &SProgress::m_pSkinPos, S_OK},
    };
    static const MemberAttr<SProgress, int> ints[] = {
        {L"min", &SProgress::m_nMin, S_FALSE},
        {L"max", &SProgress::m_nMax, S_FALSE},
        {L"value", &SProgress::m_nValue, S_FALSE},
        {L"vertical", &SProgress::m_bVertical, S_FALSE},
        {L"showPercent", &SProgress::m_bShowPercent, S_FALSE},
    };
    HRESULT hr;
    if (SetSkinAttr(this, skins, name, value, hr) || SetIntAttr(this, ints, name, value, hr))
        return AfterSetAttribute(name, value, hr);
    return SWindow::SetAttribute(name, value, loading);
}

int SProgress::OnProgressCreate(LPVOID createParam)
{
    if (!m_pSkinBg) m_pSkinBg = BuiltinSkin(m_bVertical ? kSkinSysVertProgBkgnd : kSkinSysProgBkgnd);
    if (!m_pSkinPos) m_pSkinPos = BuiltinSkin(m_bVertical ? kSkinSysVertProgBar : kSkinSysProgBar);
    if (!m_pSkinBg || !m_pSkinPos) return -1;
    return OnCreate(createParam);
}

void SProgress::SetRange(int minValue, int maxValue)
{
    m_nMin = minValue;
    m_nMax = maxValue;
    m_nValue = std::max(std::min(m_nValue, m_nMax), m_nMin);
    Invalidate();
}

void SProgress::GetRange(int* minValue, int* maxValue) const
{
    if (minValue) *minValue = m_nMin;
    if (maxValue) *maxValue = m_nMax;
}

BOOL SProgress::SetValue(int value)
{
    m_nValue = std::max(std::min(value, m_nMax), m_nMin);
    Invalidate();
    return TRUE;
}

int SProgress::Share(int scale) const
{
    if (m_nMax <= m_nMin) return -1;
    const long long range = static_cast<long long>(m_nMax) - m_nMin;
    const long long done = std::max(std::min<long long>(m_nValue, m_nMax) - m_nMin, 0LL);
    return static_cast<int>(done * scale / range);
}

RECT SProgress::GetBarRect() const
{
    RECT rc = GetClientRect();
    const int share = Share(m_bVertical ? rc.bottom - rc.top : rc.right - rc.left);
    if (m_bVertical) rc.bottom = rc.top + std::max(share, 0);
    else rc.right = rc.left + std::max(share, 0);
    return rc;
}

void SProgress::OnProgressPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    const RECT client = GetClientRect();
    if (m_pSkinBg) m_pSkinBg->Draw(rt, &client, 0);
    const RECT bar = GetBarRect();
    if (m_pSkinPos && !::IsRectEmpty(&bar)) m_pSkinPos->Draw(rt, &bar, 0);
    const int percent = Share(100);
    if (m_bShowPercent && !m_bVertical && percent >= 0) {
        SStringW text;
        text.Format(L"%d%%", percent);
        RECT rc = GetPlacedRect();
        DrawText(rt, text, text.GetLength(), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    AfterPaint(rt, saved);
}

SIZE SProgress::MeasureContent(const RECT*)
{
    const SIZE skin = SkinSize(m_pSkinBg);
    const RECT& margin = m_style.m_rcMargin;
    SIZE size = {skin.cx + margin.left + margin.right, skin.cy + margin.top + margin.bottom};
    const int longAxis = m_bVertical ? kAxisY : kAxisX;
    if (m_layout.IsSpecifiedSize(longAxis)) {
        const int fixed = m_layout.GetSpecifiedSize(longAxis);
        if (m_bVertical) size.cy = fixed;
        else size.cx = fixed;
    }
    return size;
}

void SProgress::SetColorizeColor(COLORREF color)
{
    SWindow::SetColorizeColor(color);
    ColorizeSkin(m_pSkinBg, color);
    ColorizeSkin(m_pSkinPos, color);
}

}  // namespace WUI
