// The calendar's Gregorian arithmetic. Every month and day is checked before
// the tables are read: callers pass what layouts and users typed.
#include "controls/SCalendar.h"

namespace WUI {

namespace {

// Days before each month, and the year's length in the last entry.
const int kDaysBefore[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

// The table of the year; null outside the years the calendar knows.
const int* DaysBefore(int year)
{
    const int leap = SCalendar::IsLeapYear(year);
    return leap < 0 ? nullptr : kDaysBefore[leap];
}

}  // namespace

int SCalendar::IsLeapYear(int year)
{
    if (year < kFirstYear || year > kLastYear) return -1;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 1 : 0;
}

int SCalendar::DaysInMonth(int year, int month)
{
    const int* before = DaysBefore(year);
    if (!before || month < 1 || month > 12) return 0;
    return before[month] - before[month - 1];
}

BOOL SCalendar::IsValidDate(int year, int month, int day)
{
    return day >= 1 && day <= DaysInMonth(year, month);
}

int SCalendar::DayOfYear(int year, int month, int day)
{
    if (!IsValidDate(year, month, day)) return -1;
    return DaysBefore(year)[month - 1] + day - 1;
}

int SCalendar::DayOfWeek(int year, int month, int day)
{
    const int n = DayOfYear(year, month, day);
    if (n < 0) return -1;
    const int y = year - 1;
    return (y + y / 4 - y / 100 + y / 400 + n + 1) % 7;
}

BOOL SCalendar::DateFromDayOfYear(int year, int n, WORD& month, WORD& day)
{
    const int* before = DaysBefore(year);
    if (!before || n < 1 || n > before[12]) return FALSE;
    int m = 1;
    while (n > before[m]) ++m;
    month = static_cast<WORD>(m);
    day = static_cast<WORD>(n - before[m - 1]);
    return TRUE;
}

}  // namespace WUI
