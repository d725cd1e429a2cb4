#include "controls/SSliderBar.h"

#include "controls/ControlAttr.h"

#include <algorithm>

namespace WUI {

namespace {

// Thickness of a skin across the slider's axis.
int Across(ISkinObj* skin, bool vertical)
{
    const SIZE size = SkinSize(skin);
    return vertical ? size.cx : size.cy;
}

// A rectangle from its extents along and across the axis.
RECT AxisRect(bool vertical, int alongStart, int alongEnd, int acrossStart, int acrossEnd)
{
    return vertical ? RECT{acrossStart, alongStart, acrossEnd, alongEnd}
                    : RECT{alongStart, acrossStart, alongEnd, acrossEnd};
}

}  // namespace

SSliderBar::SSliderBar()
{
    m_evtSet.AddEvent<EventSliderPos>();
}

HRESULT SSliderBar::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SSliderBar, ISkinObj*> skins[] = {{L"thumbSkin", &SSliderBar::m_pSkinThumb, S_OK}};
    static const MemberAttr<SSliderBar, int> ints[] = {{L"thumbInRail", &SSliderBar::m_bThumbInRail, S_OK}};
    HRESULT hr;
    if (SetSkinAttr(this, skins, name, value, hr) || SetIntAttr(this, ints, name, value, hr))
        return AfterSetAttribute(name, value, hr);
    return SProgress::SetAttribute(name, value, loading);
}

int SSliderBar::OnSliderCreate(LPVOID)
{
    if (!m_pSkinThumb) m_pSkinThumb = BuiltinSkin(kSkinSysSliderThumb);
    SetMsgHandled(FALSE);  // the progress bar's own creation runs next
    return 0;
}

SIZE SSliderBar::GetThumbSize() const
{
    const bool vertical = IsVertical() != FALSE;
    if (m_pSkinThumb) {
        const SIZE size = SkinSize(m_pSkinThumb);
        return vertical ? SIZE{size.cy, size.cx} : size;
    }
    const RECT client = GetClientRect();
    const int thick = vertical ? client.right - client.left : client.bottom - client.top;
    return SIZE{std::max(thick, 0), std::max(thick, 0)};
}

RECT SSliderBar::GetPartRect(int part) const
{
    if (part < kPartRail || part > kPartBkgnd) return RECT{0, 0, 0, 0};
    const bool vertical = IsVertical() != FALSE;
    const RECT client = GetClientRect();
    const int start = vertical ? client.top : client.left;
    const int length = vertical ? client.bottom - client.top : client.right - client.left;
    const int acrossStart = vertical ? client.left : client.top;
    const int acrossLength = vertical ? client.right - client.left : client.bottom - client.top;

    const SIZE thumb = GetThumbSize();
    const int t = thumb.cx, h = t / 2;
    int minValue = 0, maxValue = 0;
    GetRange(&minValue, &maxValue);
    // An empty or inverted range leaves the thumb at the start: nothing to divide by.
    long long e = 0;
    if (maxValue > minValue && length > t)
        e = static_cast<long long>(length - t) * (static_cast<long long>(GetValue()) - minValue) /
            (static_cast<long long>(maxValue) - minValue);

    int from = h, to = length - h;
    switch (part) {
    case kPartFilled:
        from = m_bThumbInRail ? 0 : h;
        to = h + static_cast<int>(e);
        break;
    case kPartThumb:
        from = static_cast<int>(e);
        to = static_cast<int>(e) + t;
        break;
    case kPartBkgnd:
        if (m_bThumbInRail) from = 0, to = length;
        break;
    default:
        break;
    }
    const int bkgnd = Across(GetBkgndSkin(), vertical);
    const int thick = part == kPartThumb ? std::max<int>(bkgnd, thumb.cy) : bkgnd;
    const int acrossFrom = acrossStart + (acrossLength - thick) / 2;
    return AxisRect(vertical, start + from, start + to, acrossFrom, acrossFrom + thick);
}

int SSliderBar::HitTestPart(POINT pt) const
{
    for (int part : {kPartThumb, kPartFilled, kPartRail}) {
        const RECT rc = GetPartRect(part);
        if (::PtInRect(&rc, pt)) return part;
    }
    return kPartNone;
}

int SSliderBar::RailLength() const
{
    const RECT rail = GetPartRect(kPartRail);
    return IsVertical() ? rail.bottom - rail.top : rail.right - rail.left;
}

int SSliderBar::ValueAt(int from, int offset) const
{
    const int railLength = RailLength();
    if (railLength <= 0) return from;
    int minValue = 0, maxValue = 0;
    GetRange(&minValue, &maxValue);
    const long long span = static_cast<long long>(maxValue) - minValue + 1;
    const long long value = from + span * offset / railLength;
    return static_cast<int>(std::max<long long>(std::min<long long>(value, maxValue), minValue));
}

bool SSliderBar::MoveTo(int value, bool always)
{
    if (!always && value == GetValue()) return true;
    SetValue(value);
    EventSliderPos evt(this, GetValue());
    FireEvent(evt);
    return !IsDestroyed();
}

void SSliderBar::OnSliderLButtonDown(UINT, POINT pt)
{
    SAutoRefPtr<SWindow> keep(this);  // a handler may destroy the slider
    SetCapture();
    // Without a rail there is no place to jump to: the value stays.
    if (HitTestPart(pt) != kPartThumb && RailLength() > 0) {
        const RECT rail = GetPartRect(kPartRail);
        int minValue = 0;
        GetRange(&minValue, nullptr);
        const int railStart = IsVertical() ? rail.top : rail.left;
        if (!MoveTo(ValueAt(minValue, AxisOf(pt) - railStart), true)) return;
    }
    m_bDrag = TRUE;
    m_ptDrag = pt;
    m_nDragValue = GetValue();
    Invalidate();
}

void SSliderBar::OnSliderMouseMove(UINT, POINT pt)
{
    if (m_bDrag) {
        SAutoRefPtr<SWindow> keep(this);
        MoveTo(ValueAt(m_nDragValue, AxisOf(pt) - AxisOf(m_ptDrag)), false);
        return;
    }
    const int part = HitTestPart(pt);
    if ((part == kPartThumb) == (m_nHoverPart == kPartThumb)) return;  // only entering or leaving the thumb counts
    m_nHoverPart = part;
    const RECT thumb = GetPartRect(kPartThumb);
    InvalidateRect(&thumb);
}

void SSliderBar::OnSliderLButtonUp(UINT flags, POINT pt)
{
    ReleaseCapture();
    if (m_bDrag) {
        m_bDrag = FALSE;
        const RECT thumb = GetPartRect(kPartThumb);
        InvalidateRect(&thumb);
    }
    OnSliderMouseMove(flags, pt);
}

void SSliderBar::OnSliderMouseLeave()
{
    if (m_bDrag || m_nHoverPart != kPartThumb) return;
    const RECT thumb = GetPartRect(kPartThumb);
    InvalidateRect(&thumb);
    m_nHoverPart = kPartNone;
}

void SSliderBar::OnSliderPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    const RECT bkgnd = GetPartRect(kPartBkgnd);
    if (GetBkgndSkin()) GetBkgndSkin()->Draw(rt, &bkgnd, 0);
    int minValue = 0;
    GetRange(&minValue, nullptr);
    const RECT filled = GetPartRect(kPartFilled);
    if (GetValue() != minValue && GetPosSkin() && !::IsRectEmpty(&filled)) GetPosSkin()->Draw(rt, &filled, 0);
    const RECT thumb = GetPartRect(kPartThumb);
    if (m_pSkinThumb) {
        const DWORD state = m_bDrag ? 2 : (m_nHoverPart == kPartThumb ? 1 : 0);
        m_pSkinThumb->Draw(rt, &thumb, ClampSkinState(m_pSkinThumb, state));
    } else if (GetPosSkin()) {
        GetPosSkin()->Draw(rt, &thumb, 0);
    }
    AfterPaint(rt, saved);
}

SIZE SSliderBar::MeasureContent(const RECT*)
{
    const bool vertical = IsVertical() != FALSE;
    const int across = std::max(Across(m_pSkinThumb, vertical), Across(GetBkgndSkin(), vertical));
    return vertical ? SIZE{across, 100} : SIZE{100, across};
}

void SSliderBar::SetColorizeColor(COLORREF color)
{
    SProgress::SetColorizeColor(color);
    ColorizeSkin(m_pSkinThumb, color);
}

}  // namespace WUI
