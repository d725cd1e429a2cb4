// A month calendar ("calendar"): a title row of the seven weekday names and a
// grid of six rows by seven columns of day numbers, weeks starting on Sunday.
// The user picks a day with the mouse. Its own Gregorian arithmetic covers
// the years 1600 to 6999; outside them a month has no days.
#pragma once

#include "core/SWindow.h"

namespace WUI {

struct ISkinObj;

// The picked day changed (it cannot be vetoed).
class EventCalendarSelDay : public TplEventArgs<EventCalendarSelDay> {
public:
    EventCalendarSelDay(SWindow* sender, WORD oldDay, WORD newDay)
        : TplEventArgs<EventCalendarSelDay>(sender), wOldDay(oldDay), wNewDay(newDay)
    {
    }
    WORD wOldDay;
    WORD wNewDay;
};

// The date was set by code.
class EventCalendarSetDate : public TplEventArgs<EventCalendarSetDate> {
public:
    explicit EventCalendarSetDate(SWindow* sender) : TplEventArgs<EventCalendarSetDate>(sender) {}
};

class SCalendar : public SWindow {
    WUI_SWINDOW_CLASS(SCalendar, SWindow, L"calendar")
public:
    // Today's local date, set without notification.
    SCalendar();
    // That date, set with notification (SetDate).
    SCalendar(WORD year, WORD month, WORD day);

    // ---- date arithmetic ----
    enum { kFirstYear = 1600, kLastYear = 6999 };
    // 1 leap year, 0 common year, -1 for a year outside 1600..6999.
    static int IsLeapYear(int year);
    // Whether the year lies in 1600..6999, the month in 1..12 and the day
    // within the month.
    static BOOL IsValidDate(int year, int month, int day);
    // 0-based number of the day within its year; -1 for an invalid date.
    static int DayOfYear(int year, int month, int day);
    // 28 to 31; 0 for a month outside 1..12 or a year outside 1600..6999.
    static int DaysInMonth(int year, int month);
    // 0 Sunday ... 6 Saturday; -1 for an invalid date.
    static int DayOfWeek(int year, int month, int day);
    // Month and day of the 1-based day number n (1 is January 1st). False,
    // outputs untouched, for n below 1 or past the year's end, or a year
    // outside 1600..6999.
    static BOOL DateFromDayOfYear(int year, int n, WORD& month, WORD& day);

    // ---- the date shown ----
    // A non-zero day beyond the month's length becomes 0 (no day picked); the
    // year and month are stored as given (a month the arithmetic refuses has
    // no days). Clears the hover day, repaints and, with notify, fires
    // EventCalendarSetDate. Always 1.
    BOOL SetDate(WORD year, WORD month, WORD day, BOOL notify);
    void GetDate(WORD& year, WORD& month, WORD& day) const;
    WORD GetHoverDay() const { return m_wHoverDay; }
    // "%d" of the year and of the month.
    SStringW GetYearText() const;
    SStringW GetMonthText() const;
    // The month's Chinese numeral ("一" ... "十二"); false, out untouched,
    // for a month outside 1..12.
    static BOOL GetMonthName(int month, SStringW& out);

    // ---- geometry ----
    // The day under the point; 0 outside the days (and always 0 while the
    // cells have no size or the month has no days).
    WORD HitTestDay(POINT pt) const;
    // The cell of the day; empty for a day the month does not have.
    RECT GetDayRect(int day) const;

    // ---- painting, overridable ----
    // The title band with the seven weekday names.
    virtual void DrawTitle(IRenderTarget* rt);
    // One day in its cell: the picked day, the hover day or a plain one.
    virtual void DrawDay(IRenderTarget* rt, const RECT& rect, WORD day);

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnCalendarPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnCalendarLButtonDown)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnCalendarMouseMove)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnCalendarMouseLeave)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    void OnCalendarPaint(IRenderTarget* rt);
    void OnCalendarLButtonDown(UINT flags, POINT pt);
    void OnCalendarMouseMove(UINT flags, POINT pt);
    void OnCalendarMouseLeave();
    // The client rect less the title band and the footer.
    RECT GetDayArea() const;
    // Width and height of one cell (0 or less when there is no room).
    SIZE GetCellSize() const;
    // Repaints one day's cell at once, on a target of its own.
    void RedrawDay(WORD day);
    HRESULT SetTitleAttr(int index, const SStringW& value);

    int m_nTitleHeight = 20;
    int m_nFooterHeight = 20;
    ISkinObj* m_pDaySkin = nullptr;  // owned by the skin pool
    ISkinObj* m_pTitleSkin = nullptr;
    COLORREF m_crWeekend = 0xFF0000FF;
    COLORREF m_crTitleBack = 0xFF00FF00;
    COLORREF m_crDay = 0xFF0000FF;
    COLORREF m_crDayBack = 0xFFFF0000;
    SStringW m_strTitle[7];
    WORD m_wYear = 0;
    WORD m_wMonth = 0;
    WORD m_wDay = 0;
    WORD m_wHoverDay = 0;
    unsigned m_nDatesSet = 0;  // SetDate calls, so a click sees one its handler made
};

}  // namespace WUI
