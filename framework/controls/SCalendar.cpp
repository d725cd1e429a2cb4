#include "controls/SCalendar.h"

#include "controls/ControlAttr.h"
#include "core/SApplication.h"

#include <ctime>

namespace WUI {

namespace {

const wchar_t* const kDefaultTitles[7] = {L"日", L"一", L"二", L"三", L"四", L"五", L"六"};
const wchar_t* const kMonthNames[12] = {L"一", L"二", L"三", L"四",   L"五",   L"六",
                                        L"七", L"八", L"九", L"十", L"十一", L"十二"};
const UINT kCellFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
const int kMaxBandHeight = 0x7FFF;

void DrawSkinState(ISkinObj* skin, IRenderTarget* rt, const RECT& rect, DWORD state)
{
    skin->Draw(rt, &rect, ClampSkinState(skin, state));
}

bool IsWeekend(int dayOfWeek)
{
    return dayOfWeek == 0 || dayOfWeek == 6;
}

}  // namespace

SCalendar::SCalendar()
{
    m_evtSet.AddEvent<EventCalendarSelDay>();
    m_evtSet.AddEvent<EventCalendarSetDate>();
    for (int i = 0; i < 7; ++i) m_strTitle[i] = kDefaultTitles[i];
    const time_t now = time(nullptr);
    if (const tm* local = localtime(&now))
        SetDate(static_cast<WORD>(local->tm_year + 1900), static_cast<WORD>(local->tm_mon + 1),
                static_cast<WORD>(local->tm_mday), FALSE);
}

SCalendar::SCalendar(WORD year, WORD month, WORD day) : SCalendar()
{
    SetDate(year, month, day, TRUE);
}

BOOL SCalendar::SetDate(WORD year, WORD month, WORD day, BOOL notify)
{
    if (day > DaysInMonth(year, month)) day = 0;
    ++m_nDatesSet;
    m_wHoverDay = 0;
    m_wYear = year;
    m_wMonth = month;
    m_wDay = day;
    Invalidate();
    if (notify) {
        EventCalendarSetDate evt(this);
        FireEvent(evt);
    }
    return TRUE;
}

void SCalendar::GetDate(WORD& year, WORD& month, WORD& day) const
{
    year = m_wYear;
    month = m_wMonth;
    day = m_wDay;
}

SStringW SCalendar::GetYearText() const
{
    SStringW text;
    text.Format(L"%d", m_wYear);
    return text;
}

SStringW SCalendar::GetMonthText() const
{
    SStringW text;
    text.Format(L"%d", m_wMonth);
    return text;
}

BOOL SCalendar::GetMonthName(int month, SStringW& out)
{
    if (month < 1 || month > 12) return FALSE;
    out = kMonthNames[month - 1];
    return TRUE;
}

// Band heights are bounded, so the cell arithmetic cannot overflow.
HRESULT SCalendar::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SCalendar, int> heights[] = {
        {L"titleHeight", &SCalendar::m_nTitleHeight, S_OK},
        {L"footerHeight", &SCalendar::m_nFooterHeight, S_OK},
    };
    static const MemberAttr<SCalendar, ISkinObj*> skins[] = {
        {L"daySkin", &SCalendar::m_pDaySkin, S_OK},
        {L"titleSkin", &SCalendar::m_pTitleSkin, S_OK},
    };
    static const MemberAttr<SCalendar, COLORREF> colors[] = {
        {L"colorWeekend", &SCalendar::m_crWeekend, S_OK},
        {L"colorTitleBack", &SCalendar::m_crTitleBack, S_OK},
        {L"colorDay", &SCalendar::m_crDay, S_OK},
    };
    HRESULT hr;
    if (SetSkinAttr(this, skins, name, value, hr)) return AfterSetAttribute(name, value, hr);
    for (const auto& h : heights) {
        if (_wcsicmp(name, h.name) != 0) continue;
        const bool good = AttrParseInt(value, this->*h.member, true, 0, kMaxBandHeight);
        return AfterSetAttribute(name, value, good ? h.result : E_FAIL);
    }
    for (const auto& c : colors) {
        if (_wcsicmp(name, c.name) != 0) continue;
        return AfterSetAttribute(name, value, ParseColorAttr(value, this->*c.member) ? c.result : E_FAIL);
    }
    for (int i = 0; i < 7; ++i) {
        wchar_t titleName[] = L"title-0";
        titleName[6] = static_cast<wchar_t>(L'1' + i);
        if (_wcsicmp(name, titleName) == 0) return AfterSetAttribute(name, value, SetTitleAttr(i, value));
    }
    return SWindow::SetAttribute(name, value, loading);
}

HRESULT SCalendar::SetTitleAttr(int index, const SStringW& value)
{
    SApplication* app = SApplication::GetSingletonPtr();
    m_strTitle[index] = TranslateText(app ? app->GetString(value) : value);
    return S_OK;
}

RECT SCalendar::GetDayArea() const
{
    RECT area = GetClientRect();
    area.top += m_nTitleHeight;
    area.bottom -= m_nFooterHeight;
    return area;
}

SIZE SCalendar::GetCellSize() const
{
    const RECT client = GetClientRect();
    const RECT area = GetDayArea();
    return SIZE{(client.right - client.left) / 7, (area.bottom - area.top) / 6};
}

RECT SCalendar::GetDayRect(int day) const
{
    const int first = DayOfWeek(m_wYear, m_wMonth, 1);
    const int column = DayOfWeek(m_wYear, m_wMonth, day);
    if (first < 0 || column < 0) return RECT{0, 0, 0, 0};
    const RECT area = GetDayArea();
    const SIZE cell = GetCellSize();
    const int row = (day + first - 1) / 7;
    const LONG left = area.left + column * cell.cx;
    const LONG top = area.top + row * cell.cy;
    return RECT{left, top, left + cell.cx, top + cell.cy};
}

// Tiny clients give cells of no size, and the strip right of the seventh
// column belongs to no day: both hit nothing.
WORD SCalendar::HitTestDay(POINT pt) const
{
    const int days = DaysInMonth(m_wYear, m_wMonth);
    const SIZE cell = GetCellSize();
    const RECT area = GetDayArea();
    if (days == 0 || cell.cx <= 0 || cell.cy <= 0) return 0;
    if (pt.x < area.left || pt.y < area.top) return 0;
    const int column = (pt.x - area.left) / cell.cx;
    const int row = (pt.y - area.top) / cell.cy;
    const int first = DayOfWeek(m_wYear, m_wMonth, 1);
    if (column >= 7 || row > (days + first - 1) / 7) return 0;
    const int day = row * 7 + column - first + 1;
    return day >= 1 && day <= days ? static_cast<WORD>(day) : 0;
}

void SCalendar::OnCalendarPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    DrawTitle(rt);
    const int days = DaysInMonth(m_wYear, m_wMonth);
    for (int day = 1; day <= days; ++day) DrawDay(rt, GetDayRect(day), static_cast<WORD>(day));
    AfterPaint(rt, saved);
}

void SCalendar::DrawTitle(IRenderTarget* rt)
{
    const RECT client = GetClientRect();
    const RECT band = {client.left, client.top, client.right, client.top + m_nTitleHeight};
    if (m_pTitleSkin) DrawSkinState(m_pTitleSkin, rt, band, 0);
    else rt->FillSolidRect(&band, m_crTitleBack);
    const int width = GetCellSize().cx;
    for (int i = 0; i < 7; ++i) {
        RECT cell = {band.left + i * width, band.top, band.left + (i + 1) * width, band.bottom};
        const COLORREF old = IsWeekend(i) ? rt->SetTextColor(m_crWeekend) : rt->GetTextColor();
        rt->DrawText(m_strTitle[i], m_strTitle[i].GetLength(), &cell, kCellFormat);
        rt->SetTextColor(old);
    }
}

void SCalendar::DrawDay(IRenderTarget* rt, const RECT& rect, WORD day)
{
    COLORREF color = rt->GetTextColor();
    if (day == m_wDay) {
        if (m_pDaySkin) DrawSkinState(m_pDaySkin, rt, rect, 2);
        else rt->FillSolidRect(&rect, m_crDayBack);
        color = m_crDay;
    } else {
        if (m_pDaySkin) DrawSkinState(m_pDaySkin, rt, rect, day == m_wHoverDay ? 1 : 0);
        if (IsWeekend(DayOfWeek(m_wYear, m_wMonth, day))) color = m_crWeekend;
    }
    SStringW text;
    text.Format(L"%2d", day);
    RECT rc = rect;
    const COLORREF old = rt->SetTextColor(color);
    rt->DrawText(text, text.GetLength(), &rc, kCellFormat);
    rt->SetTextColor(old);
}

void SCalendar::RedrawDay(WORD day)
{
    if (day == 0) return;
    const RECT cell = GetDayRect(day);
    if (::IsRectEmpty(&cell)) return;
    IRenderTarget* rt = GetRenderTargetForRect(&cell, kRtBackground, TRUE);
    if (!rt) return;
    SendSwndMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    DrawDay(rt, cell, day);
    ReleaseRenderTarget(rt);
}

// A click outside the days clears the pick without an event. A date the
// handler set stands: the day clicked was one of the month shown before.
void SCalendar::OnCalendarLButtonDown(UINT flags, POINT pt)
{
    SAutoRefPtr<SWindow> keep(this);  // a handler may destroy the calendar
    SWindow::OnLButtonDown(flags, pt);
    const WORD day = HitTestDay(pt);
    if (day != 0 && day != m_wDay) {
        const unsigned datesSet = m_nDatesSet;
        EventCalendarSelDay evt(this, m_wDay, day);
        FireEvent(evt);
        if (IsDestroyed() || m_nDatesSet != datesSet) return;
    }
    m_wDay = day;
    Invalidate();
}

// Only a day skin shows the hover day, so only then are cells repainted.
void SCalendar::OnCalendarMouseMove(UINT, POINT pt)
{
    const WORD day = HitTestDay(pt);
    if (day == m_wHoverDay) return;
    const WORD old = m_wHoverDay;
    m_wHoverDay = day;
    if (!m_pDaySkin) return;
    RedrawDay(old);
    RedrawDay(day);
}

void SCalendar::OnCalendarMouseLeave()
{
    const WORD old = m_wHoverDay;
    m_wHoverDay = 0;
    if (m_pDaySkin) RedrawDay(old);
    SWindow::OnMouseLeave();
}

}  // namespace WUI
