// The calendar: its date arithmetic over every day of the years it knows,
// refused dates, the cells and the hit test (tiny clients and the strip
// right of the seventh column included), picking days with the mouse, the
// hover day with and without a day skin, painting and attributes.
#include "InputHost.h"
#include "LeakCheck.h"
#include "controls/SCalendar.h"

#include <string>
#include <vector>

using namespace WUI;
using namespace inputtest;

class CalendarTest : public LeakChecked {};

namespace {

// Pixels as the target stores them (0xAARRGGBB).
const DWORD kPxGreen = 0xFF00FF00, kPxBlue = 0xFF0000FF, kPxNone = 0;

// 210 x 160: title 20, footer 20, cells of 30 x 20.
const wchar_t kCalendarLayout[] = L"<root><calendar name='cal' pos='0,0,@210,@160'/></root>";

// The centre of the cell at (column, row).
POINT CellCentre(int column, int row)
{
    return POINT{column * 30 + 15, 20 + row * 20 + 10};
}

// The calendar "cal" of the layout showing 2024-01-10; null when the layout made none.
SCalendar* LoadCalendar(InputHost& host, const wchar_t* layout = kCalendarLayout)
{
    SCalendar* cal = host.Load<SCalendar>(layout, L"cal");
    if (cal) cal->SetDate(2024, 1, 10, FALSE);
    return cal;
}

struct DayEvents {
    bool OnSelDay(EventArgs& args)
    {
        const EventCalendarSelDay& evt = static_cast<EventCalendarSelDay&>(args);
        picks.push_back({evt.wOldDay, evt.wNewDay});
        return true;
    }
    std::vector<std::pair<WORD, WORD>> picks;
};

}  // namespace

TEST_F(CalendarTest, LeapYearsAndMonthLengths)
{
    const struct {
        int year;
        int leap;
        int february;
    } years[] = {
        {1600, 1, 29}, {1700, 0, 28}, {1900, 0, 28}, {2000, 1, 29}, {2023, 0, 28},
        {2024, 1, 29}, {2100, 0, 28}, {6996, 1, 29}, {1599, -1, 0}, {7000, -1, 0},
    };
    for (const auto& y : years) {
        EXPECT_EQ(y.leap, SCalendar::IsLeapYear(y.year)) << y.year;
        EXPECT_EQ(y.february, SCalendar::DaysInMonth(y.year, 2)) << y.year;
    }
    const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(lengths[m - 1], SCalendar::DaysInMonth(2023, m)) << m;
    // Months the tables do not have, and December of years outside the range.
    for (int m : {0, 13, -1, 0x7FFF}) EXPECT_EQ(0, SCalendar::DaysInMonth(2024, m)) << m;
    EXPECT_EQ(0, SCalendar::DaysInMonth(1599, 12));
    EXPECT_EQ(0, SCalendar::DaysInMonth(7000, 12));
}

TEST_F(CalendarTest, WeekdaysAndDayNumbersAcrossTheWholeRange)
{
    EXPECT_EQ(1, SCalendar::DayOfWeek(2024, 1, 1));  // a Monday
    EXPECT_EQ(6, SCalendar::DayOfWeek(1600, 1, 1));
    EXPECT_EQ(4, SCalendar::DayOfWeek(1970, 1, 1));
    EXPECT_EQ(4, SCalendar::DayOfWeek(2024, 2, 29));
    EXPECT_EQ(30, SCalendar::DayOfYear(2023, 1, 31));
    EXPECT_EQ(365, SCalendar::DayOfYear(2024, 12, 31));

    // Every day follows the one before by one weekday, and its day number
    // maps back to its date (day numbers of DateFromDayOfYear count from 1).
    int weekday = SCalendar::DayOfWeek(1600, 1, 1);
    int failures = 0;
    for (int year = 1600; year <= 6999 && failures < 5; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= SCalendar::DaysInMonth(year, month); ++day) {
                const int n = SCalendar::DayOfYear(year, month, day);
                WORD m = 0, d = 0;
                const bool back = SCalendar::DateFromDayOfYear(year, n + 1, m, d) && m == month && d == day;
                const bool ok = SCalendar::DayOfWeek(year, month, day) == weekday && back;
                if (!ok) {
                    ADD_FAILURE() << year << "-" << month << "-" << day;
                    ++failures;
                }
                weekday = (weekday + 1) % 7;
            }
        }
    }
}

TEST_F(CalendarTest, InvalidDatesAreRefused)
{
    const struct {
        int year, month, day;
    } bad[] = {
        {2024, 0, 1}, {2024, 13, 1}, {2024, -1, 1}, {2024, 1, 0}, {2024, 1, -5}, {2024, 1, 32},
        {2024, 4, 31}, {2023, 2, 29}, {1900, 2, 29}, {1599, 12, 31}, {7000, 1, 1}, {2024, 65535, 1},
    };
    for (const auto& b : bad) {
        EXPECT_FALSE(SCalendar::IsValidDate(b.year, b.month, b.day)) << b.year << "-" << b.month << "-" << b.day;
        EXPECT_EQ(-1, SCalendar::DayOfYear(b.year, b.month, b.day));
        EXPECT_EQ(-1, SCalendar::DayOfWeek(b.year, b.month, b.day));
    }
    EXPECT_TRUE(SCalendar::IsValidDate(2000, 2, 29));
    EXPECT_TRUE(SCalendar::IsValidDate(2024, 4, 30));
}

TEST_F(CalendarTest, DateFromDayOfYear)
{
    const struct {
        int year, n;
        BOOL ok;
        WORD month, day;
    } cases[] = {
        {2023, 1, TRUE, 1, 1},    {2023, 31, TRUE, 1, 31},   {2023, 32, TRUE, 2, 1},   {2023, 59, TRUE, 2, 28},
        {2024, 60, TRUE, 2, 29},  {2023, 365, TRUE, 12, 31}, {2024, 366, TRUE, 12, 31}, {2023, 366, FALSE, 0, 0},
        {2024, 367, FALSE, 0, 0}, {2024, 0, FALSE, 0, 0},    {2024, -3, FALSE, 0, 0},  {1599, 10, FALSE, 0, 0},
    };
    for (const auto& c : cases) {
        WORD month = 77, day = 77;
        EXPECT_EQ(c.ok, SCalendar::DateFromDayOfYear(c.year, c.n, month, day)) << c.year << " " << c.n;
        EXPECT_EQ(c.ok ? c.month : 77, month) << c.year << " " << c.n;
        EXPECT_EQ(c.ok ? c.day : 77, day) << c.year << " " << c.n;
    }
}

TEST_F(CalendarTest, TextsOfTheDate)
{
    SStringW name = L"x";
    EXPECT_TRUE(SCalendar::GetMonthName(1, name));
    EXPECT_STREQ(L"一", name);
    EXPECT_TRUE(SCalendar::GetMonthName(10, name));
    EXPECT_STREQ(L"十", name);
    EXPECT_TRUE(SCalendar::GetMonthName(12, name));
    EXPECT_STREQ(L"十二", name);
    for (int bad : {0, 13, -1}) {
        name = L"x";
        EXPECT_FALSE(SCalendar::GetMonthName(bad, name));
        EXPECT_STREQ(L"x", name);
    }
    InputHost host;
    SAutoRefPtr<SCalendar> cal;
    cal.Attach(new SCalendar(2024, 3, 9));
    EXPECT_STREQ(L"2024", cal->GetYearText());
    EXPECT_STREQ(L"3", cal->GetMonthText());
}

TEST_F(CalendarTest, TodayAndSetDate)
{
    InputHost host;
    SCalendar* cal = host.Load<SCalendar>(kCalendarLayout, L"cal");
    ASSERT_TRUE(cal);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    WORD y, m, d;
    cal->GetDate(y, m, d);
    EXPECT_EQ(now.wYear, y);
    EXPECT_EQ(now.wMonth, m);
    EXPECT_EQ(now.wDay, d);

    const int setDate = EventCalendarSetDate::EventID;
    host.Container().hostEvents.clear();
    EXPECT_TRUE(cal->SetDate(2024, 4, 31, TRUE));  // April has 30 days: nothing picked
    cal->GetDate(y, m, d);
    EXPECT_EQ(2024, y);
    EXPECT_EQ(4, m);
    EXPECT_EQ(0, d);
    EXPECT_EQ(std::vector<int>{setDate}, host.Container().hostEvents);
    cal->SetDate(2024, 4, 30, FALSE);
    cal->GetDate(y, m, d);
    EXPECT_EQ(30, d);
    EXPECT_EQ(1u, host.Container().hostEvents.size());
    // A month the arithmetic refuses is stored, but has no days.
    cal->SetDate(2024, 13, 5, FALSE);
    cal->GetDate(y, m, d);
    EXPECT_EQ(13, m);
    EXPECT_EQ(0, d);
    EXPECT_EQ(0, cal->HitTestDay(CellCentre(3, 1)));
}

TEST_F(CalendarTest, CellsAndHitTest)
{
    InputHost host;
    host.Load(L"<root><calendar name='cal' pos='0,0,@213,@160'/>"
              L"<calendar name='tiny' pos='0,170,@6,@40'/><calendar name='flat' pos='0,220,@210,@44'/></root>");
    SCalendar* cal = host.Find<SCalendar>(L"cal");
    ASSERT_TRUE(cal);
    cal->SetDate(2024, 1, 10, FALSE);  // the 1st is a Monday, the 31st a Wednesday
    EXPECT_EQ((RECT{30, 20, 60, 40}), cal->GetDayRect(1));
    EXPECT_EQ((RECT{0, 40, 30, 60}), cal->GetDayRect(7));
    EXPECT_EQ((RECT{90, 100, 120, 120}), cal->GetDayRect(31));
    for (int missing : {0, 32, -1}) {
        const RECT none = cal->GetDayRect(missing);
        EXPECT_TRUE(::IsRectEmpty(&none)) << missing;
    }

    const struct {
        POINT pt;
        WORD day;
    } hits[] = {
        {CellCentre(1, 0), 1},  {CellCentre(0, 0), 0},  // before the 1st
        {CellCentre(6, 0), 6},  {CellCentre(0, 1), 7},  {CellCentre(3, 4), 31},
        {CellCentre(4, 4), 0},                           // after the last day
        {CellCentre(0, 5), 0},                           // a row the month does not reach
        {{211, 30}, 0},                                  // the strip right of the seventh column
        {{-1, 30}, 0},          {{40, 19}, 0},  // left of the client, in the title
        {{40, 150}, 0},                         // in the footer
        {{30, 20}, 1},          {{59, 39}, 1},  // the cell's own corners
    };
    for (const auto& h : hits) EXPECT_EQ(h.day, cal->HitTestDay(h.pt)) << h.pt.x << "," << h.pt.y;

    // Cells of no width or no height hit nothing.
    for (const wchar_t* name : {L"tiny", L"flat"}) {
        SCalendar* small = host.Find<SCalendar>(name);
        ASSERT_TRUE(small);
        small->SetDate(2024, 1, 1, FALSE);
        const RECT rc = small->GetWindowRect();
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; x += 3) EXPECT_EQ(0, small->HitTestDay(POINT{x, y})) << name;
    }
    // Outside the years the calendar knows a month has no days.
    cal->SetDate(7000, 1, 1, FALSE);
    EXPECT_EQ(0, cal->HitTestDay(CellCentre(3, 1)));
}

TEST_F(CalendarTest, PickingDaysWithTheMouse)
{
    InputHost host;
    SCalendar* cal = LoadCalendar(host);
    ASSERT_TRUE(cal);
    DayEvents events;
    cal->GetEventSet()->SubscribeEvent(EventCalendarSelDay::EventID, &DayEvents::OnSelDay, &events);
    WORD y, m, d;

    const POINT day15 = CellCentre(1, 2);
    host.Click(day15.x, day15.y);
    cal->GetDate(y, m, d);
    EXPECT_EQ(15, d);
    ASSERT_EQ(1u, events.picks.size());
    EXPECT_EQ(10, events.picks[0].first);
    EXPECT_EQ(15, events.picks[0].second);

    host.Click(day15.x, day15.y);  // the picked day again: nothing fires
    EXPECT_EQ(1u, events.picks.size());

    const POINT before1st = CellCentre(0, 0);
    host.Click(before1st.x, before1st.y);  // outside the days: the pick goes, silently
    cal->GetDate(y, m, d);
    EXPECT_EQ(0, d);
    EXPECT_EQ(1u, events.picks.size());

    const POINT day1 = CellCentre(1, 0);
    host.Click(day1.x, day1.y);
    ASSERT_EQ(2u, events.picks.size());
    EXPECT_EQ(0, events.picks[1].first);
    EXPECT_EQ(1, events.picks[1].second);
}

TEST_F(CalendarTest, AHandlerMayDestroyTheCalendar)
{
    InputHost host;
    SCalendar* cal = LoadCalendar(host);
    ASSERT_TRUE(cal);
    struct Destroyer {
        bool OnSelDay(EventArgs& args)
        {
            args.sender->DestroyWindow();
            return true;
        }
    } destroyer;
    cal->GetEventSet()->SubscribeEvent(EventCalendarSelDay::EventID, &Destroyer::OnSelDay, &destroyer);
    const POINT day15 = CellCentre(1, 2);
    host.Click(day15.x, day15.y);
    EXPECT_EQ(nullptr, host.Find(L"cal"));
}

// A selection handler that sets the date itself has the last word: the day
// clicked belonged to the month shown before, which may be shorter or gone.
TEST_F(CalendarTest, ADateSetByTheSelectionHandlerStands)
{
    struct Setter {
        WORD year, month, day;
        bool OnSelDay(EventArgs& args)
        {
            static_cast<SCalendar*>(args.sender)->SetDate(year, month, day, TRUE);
            return true;
        }
    };
    const Setter cases[] = {{2024, 2, 1}, {2024, 1, 5}};
    for (Setter setter : cases) {
        SCOPED_TRACE(testing::Message() << setter.year << "-" << setter.month << "-" << setter.day);
        InputHost host;
        SCalendar* cal = LoadCalendar(host);
        ASSERT_TRUE(cal);
        cal->GetEventSet()->SubscribeEvent(EventCalendarSelDay::EventID, &Setter::OnSelDay, &setter);
        const POINT day31 = CellCentre(3, 4);
        ASSERT_EQ(31, cal->HitTestDay(day31));
        host.Click(day31.x, day31.y);
        WORD y, m, d;
        cal->GetDate(y, m, d);
        EXPECT_EQ(setter.year, y);
        EXPECT_EQ(setter.month, m);
        EXPECT_EQ(setter.day, d);
    }
}

TEST_F(CalendarTest, HoverDayRepaintsOnlyWithADaySkin)
{
    InputHost host;
    host.AddSkins(L"<skin><colorrect name='skin_day' normal='#FFFFFF' hover='#FF0000' pushdown='#0000FF'/></skin>");
    host.Load(L"<root><calendar name='plain' pos='0,0,@210,@160'/>"
              L"<calendar name='skinned' pos='0,0,@210,@160' daySkin='skin_day' visible='0'/></root>");
    SCalendar* plain = host.Find<SCalendar>(L"plain");
    ASSERT_TRUE(plain);
    plain->SetDate(2024, 1, 10, FALSE);
    const POINT day1 = CellCentre(1, 0), day2 = CellCentre(2, 0);
    host.Container().targetsTaken = 0;
    host.Mouse(WM_MOUSEMOVE, day1.x, day1.y);
    host.Mouse(WM_MOUSEMOVE, day2.x, day2.y);
    EXPECT_EQ(2, plain->GetHoverDay());
    EXPECT_EQ(0, host.Container().targetsTaken);
    host.Send(WM_MOUSELEAVE);
    EXPECT_EQ(0, plain->GetHoverDay());
    EXPECT_EQ(0, host.Container().targetsTaken);

    plain->SetVisible(FALSE);
    SCalendar* skinned = host.Find<SCalendar>(L"skinned");
    skinned->SetVisible(TRUE);
    skinned->SetDate(2024, 1, 10, FALSE);
    host.PaintAll();
    const DWORD normal = host.Px(day1.x - 12, day1.y - 8);
    EXPECT_EQ(0xFFFFFFFFu, normal);
    host.Mouse(WM_MOUSEMOVE, day1.x, day1.y);  // the new hover cell only
    EXPECT_EQ(1, host.Container().targetsTaken);
    EXPECT_EQ(0xFFFF0000u, host.Px(day1.x - 12, day1.y - 8));
    host.Mouse(WM_MOUSEMOVE, day2.x, day2.y);  // the old one and the new one
    EXPECT_EQ(3, host.Container().targetsTaken);
    EXPECT_EQ(normal, host.Px(day1.x - 12, day1.y - 8));
    EXPECT_EQ(0xFFFF0000u, host.Px(day2.x - 12, day2.y - 8));
    host.Mouse(WM_MOUSEMOVE, day2.x + 1, day2.y);  // the same day: nothing
    EXPECT_EQ(3, host.Container().targetsTaken);
    host.Send(WM_MOUSELEAVE);
    EXPECT_EQ(0, skinned->GetHoverDay());
    EXPECT_EQ(4, host.Container().targetsTaken);
    EXPECT_EQ(normal, host.Px(day2.x - 12, day2.y - 8));
}

TEST_F(CalendarTest, Painting)
{
    InputHost host;
    SCalendar* cal = host.Load<SCalendar>(kCalendarLayout, L"cal");
    ASSERT_TRUE(cal);
    cal->SetDate(2024, 1, 15, FALSE);
    host.PaintAll();
    EXPECT_EQ(kPxGreen, host.Px(1, 1));     // the title band
    EXPECT_EQ(kPxGreen, host.Px(208, 18));  // across the whole width
    const RECT picked = cal->GetDayRect(15);
    EXPECT_EQ(kPxBlue, host.Px(picked.left + 1, picked.top + 1));
    EXPECT_EQ(kPxBlue, host.Px(picked.right - 1, picked.bottom - 1));
    // Digits are drawn in the other cells; the footer stays as the background left it.
    bool inked = false;
    const RECT plain = cal->GetDayRect(20);
    for (int y = plain.top; y < plain.bottom; ++y)
        for (int x = plain.left; x < plain.right; ++x) inked = inked || host.Px(x, y) != kPxNone;
    EXPECT_TRUE(inked);
    EXPECT_EQ(kPxNone, host.Px(100, 150));

    // Without days (a year outside the range) only the title is painted.
    cal->SetDate(1500, 1, 15, FALSE);
    host.PaintAll();
    EXPECT_EQ(kPxGreen, host.Px(1, 1));
    for (int y = 20; y < 140; y += 2)
        for (int x = 0; x < 210; x += 2) ASSERT_EQ(kPxNone, host.Px(x, y)) << x << "," << y;
}

TEST_F(CalendarTest, Attributes)
{
    InputHost host;
    host.AddSkins(L"<skin><colorrect name='skin_title' normal='#FF00FF'/></skin>");
    host.Load(L"<root><calendar name='cal' pos='0,0,@210,@160' titleHeight='30' footerHeight='0x0A'"
              L" titleSkin='skin_title' colorDay='#00FF00' title-1='Sun' title-7='Sat'/></root>");
    SCalendar* cal = host.Find<SCalendar>(L"cal");
    ASSERT_TRUE(cal);
    cal->SetDate(2024, 1, 1, FALSE);
    EXPECT_EQ((RECT{30, 30, 60, 50}), cal->GetDayRect(1));  // cells of (160 - 30 - 10) / 6
    host.PaintAll();
    EXPECT_EQ(0xFFFF00FFu, host.Px(2, 2));  // the title skin

    for (const wchar_t* bad : {L"", L"x", L"-1", L"12px", L"40000"}) {
        EXPECT_EQ(E_FAIL, cal->SetAttribute(L"titleHeight", bad, FALSE)) << bad;
        EXPECT_EQ(E_FAIL, cal->SetAttribute(L"colorWeekend", bad, FALSE)) << bad;
    }
    EXPECT_EQ((RECT{30, 30, 60, 50}), cal->GetDayRect(1));
    EXPECT_EQ(S_OK, cal->SetAttribute(L"TITLEHEIGHT", L"20", FALSE));
    EXPECT_EQ((RECT{30, 20, 60, 41}), cal->GetDayRect(1));  // (160 - 20 - 10) / 6
    EXPECT_EQ(E_FAIL, cal->SetAttribute(L"title-8", L"x", FALSE));  // not ours, nor the element's
    EXPECT_TRUE(cal->IsClass(L"calendar"));
    EXPECT_TRUE(cal->IsClass(L"window"));
}
