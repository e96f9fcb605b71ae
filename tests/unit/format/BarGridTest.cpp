// The bar grid and what it walks over: the holiday calendar and the trading sessions. The grid has
// one row per branch of the walk or fault found, each checked by its number of bars, the first and
// the newest start, and what was logged or reported.
#include "BarListCreator.h"
#include "Clock.h"
#include "FormatTestSupport.h"
#include "HolidayCalendar.h"
#include "TimeHelper.h"
#include "TradingSession.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TimeValue Utc(int year, int month, int day, int hour = 0, int minute = 0) {
    return TimeHelper::MakeTimeGMT(year, month, day, hour, minute, 0);
}

constexpr TimeValue Hm(int hour, int minute) {
    return hour * 3600 + minute * 60;
}

constexpr TimeValue kLast = std::numeric_limits<TimeValue>::max(); // 2038-01-19 03:14:07
enum Holidays { none, july3, every2008And2009 };
enum Form { count, range };
enum Daylight { never, fromJuly15, untilJuly15, fromJanuary19of2038 };
// Whole days, 13:30 to 20:00, 22:00 to 21:00 the next day, and a whole day from 03:00 (UTC).
enum Session { days, regular, overnight, dayFrom3 };

struct Case {
    const char* what;
    Form form;
    TimeValue start; // a count's clock, or a range's start
    std::int32_t interval;
    TimeValue end; // a count, or a range's end
    Session session = days;
    Daylight daylight = never;
    Holidays holidays = none;
    std::size_t size = 0;
    TimeValue first = 0, newest = 0;
    // A text that the log lines and assertion reports hold; without one, no assertion report.
    std::string diagnostics = {};
};

const Case kCases[] = {
    {"daily count ending on a Monday skips the weekend", count, Utc(2009, 7, 20, 15, 0), biDaily, 5,
     days, never, none, 5, Utc(2009, 7, 14), Utc(2009, 7, 20)},
    {"daily range skips a holiday", range, Utc(2009, 6, 29), biDaily, Utc(2009, 7, 7, 12, 0), days,
     never, july3, 6, Utc(2009, 6, 29), Utc(2009, 7, 7)},
    {"weeks start on Sunday", count, Utc(2009, 7, 22, 10, 0), biWeekly, 2, days, never, none, 2,
     Utc(2009, 7, 12), Utc(2009, 7, 19)},
    {"minutes without a session cross midnight", count, Utc(2009, 7, 21, 0, 3), 5, 3, days, never,
     none, 3, Utc(2009, 7, 20, 23, 50), Utc(2009, 7, 21)},
    {"1440 is 205 x 7 + 5: the day ends with a bar at 23:55", count, Utc(2009, 7, 21, 0, 3), 7, 3,
     days, never, none, 3, Utc(2009, 7, 20, 23, 48), Utc(2009, 7, 21)},
    {"the session's end minute is a bar on every day", count, Utc(2009, 7, 21, 21, 0), 30, 15,
     regular, never, none, 15, Utc(2009, 7, 20, 20, 0), Utc(2009, 7, 21, 20, 0)},
    {"a session crossing midnight", count, Utc(2009, 7, 22, 21, 30), 60, 26, overnight, never, none,
     26, Utc(2009, 7, 21, 20, 0), Utc(2009, 7, 22, 21, 0)},
    {"daylight time from Wednesday: Tuesday's session an hour later", count,
     Utc(2009, 7, 16, 21, 0), 30, 40, regular, fromJuly15, none, 40, Utc(2009, 7, 14, 15, 30),
     Utc(2009, 7, 16, 20, 0)},
    {"daylight time until Wednesday: Tuesday's session an hour earlier", count,
     Utc(2009, 7, 16, 21, 0), 30, 40, regular, untilJuly15, none, 40, Utc(2009, 7, 14, 13, 30),
     Utc(2009, 7, 16, 20, 0)},
    {"whole days stay at midnight through a daylight change", count, Utc(2009, 7, 15, 0, 30), 60,
     25, days, fromJuly15, none, 25, Utc(2009, 7, 14), Utc(2009, 7, 15)},
    {"the intraday walk skips a holiday without counting it", count, Utc(2009, 7, 6, 21, 0), 30, 15,
     regular, never, july3, 15, Utc(2009, 7, 2, 20, 0), Utc(2009, 7, 6, 20, 0)},
    {"a range leaves out the bar that begins before it", range, Utc(2009, 7, 20, 10, 2), 5,
     Utc(2009, 7, 20, 10, 20), days, never, none, 4, Utc(2009, 7, 20, 10, 5),
     Utc(2009, 7, 20, 10, 20)},
    {"a range ending before its start", range, Utc(2009, 7, 20), biDaily, Utc(2009, 7, 10),
     regular},
    {"a count below zero", count, Utc(2009, 7, 20, 15, 0), biDaily, -5, days, never, none, 0, 0, 0,
     "log BarListCreator::GetEmptyBars: Bar count -5 for 'IBM' is below 0: no bars\n"},
    // The fuzzer's find: a count of 0 is reported, and no bars are made.
    {"a count of zero", count, Utc(2009, 7, 20, 15, 0), biDaily, 0, days, never, none, 0, 0, 0,
     "assert BarListCreator::GetEmptyBars: barCount"},
    {"the maximum count", count, Utc(2009, 7, 20, 21, 0), 1, kMaxBarCount, regular, never, none,
     kMaxBarCount, Utc(2008, 7, 28, 15, 6), Utc(2009, 7, 20, 20, 0)},
    {"a huge range keeps the newest maximum", range, 0, 1, Utc(2009, 7, 20, 12, 0), days, never,
     none, kMaxBarCount, Utc(2009, 4, 14, 1, 21), Utc(2009, 7, 20, 12, 0), "more than 100000 bars"},
    {"a calendar without trading days", count, Utc(2009, 7, 21, 15, 0), 1, 10, regular, never,
     every2008And2009, 0, 0, 0, "no trading day in 366 sessions"},
    {"months stop at 1970", count, Utc(1971, 3, 15), biMonthly, 100, days, never, none, 15, 0,
     Utc(1971, 3, 1), "reach 1970-01-01"},
    {"hours stop at 1970", count, Utc(1970, 1, 2, 1, 0), 60, 100, days, never, none, 26, 0,
     Utc(1970, 1, 2, 1, 0), "reach 1970-01-01"},
    {"a range before 1970", range, -86400 * 3, biDaily, -86400},
    {"daylight from the newest day of 32-bit time moves the session before it", count, kLast, 1,
     100, dayFrom3, fromJanuary19of2038, none, 100, Utc(2038, 1, 19, 1, 35),
     Utc(2038, 1, 19, 3, 14)},
    {"months up to the end of 32-bit time", range, Utc(2037, 11, 1), biMonthly, kLast, days, never,
     none, 3, Utc(2037, 11, 1), Utc(2038, 1, 1)},
};

class BarGrid : public ::testing::TestWithParam<Case> {
    void TearDown() override { Clock::SetFixed(std::nullopt); }
};

TEST_P(BarGrid, Walk) {
    const Case& c = GetParam();
    SCOPED_TRACE(c.what);
    fake::FakeMondrel manager;
    manager.intOptions[moTimeZoneMode] = 2;
    manager.marketInfo.timeZones["IBM"] = 7;
    TakeDiagnostics();
    auto& holidays = manager.marketInfo.holidays["IBM"];
    if (c.holidays == july3) {
        holidays = {{2009, 7, 3}};
    }
    // Every day of 2008 and 2009, as days of January that roll over.
    for (int day = 1; c.holidays == every2008And2009 && day <= 366 + 365; ++day) {
        holidays.push_back({2008, 1, day});
    }
    const std::pair<TimeValue, TimeValue> daylight[] = {{0, 0},
                                                        {Utc(2009, 7, 15), Utc(2010, 1, 1)},
                                                        {Utc(2009, 1, 1), Utc(2009, 7, 15)},
                                                        {Utc(2038, 1, 19), kLast}};
    SetExchangeClock(manager.marketInfo, -300, daylight[c.daylight].first,
                     daylight[c.daylight].second);
    Clock::SetFixed(c.start);
    BarMap bars{{5, Bar{}}};
    const std::pair<TimeValue, TimeValue> sessions[] = {
        {-1, -1}, {Hm(13, 30), Hm(20, 0)}, {Hm(22, 0), Hm(21, 0)}, {Hm(3, 0), Hm(3, 0)}};
    const auto [sessionStart, sessionEnd] = sessions[c.session];
    const bool session = c.session != days;
    const auto count = static_cast<std::int32_t>(c.end);
    if (c.form == range && session) {
        BarListCreator::GetEmptyBars(&manager, "IBM", c.interval, c.start, c.end, sessionStart,
                                     sessionEnd, bars);
    } else if (c.form == range) {
        BarListCreator::GetEmptyBars(&manager, "IBM", c.interval, c.start, c.end, bars);
    } else if (session) {
        BarListCreator::GetEmptyBars(&manager, "IBM", c.interval, count, sessionStart, sessionEnd,
                                     bars);
    } else {
        BarListCreator::GetEmptyBars(&manager, "IBM", c.interval, count, bars);
    }
    ASSERT_EQ(bars.size(), c.size);
    if (!bars.empty()) {
        EXPECT_EQ(bars.begin()->first, c.first);
        EXPECT_EQ(bars.rbegin()->first, c.newest);
    }
    std::string diagnostics;
    for (const std::string& line : TakeDiagnostics()) {
        diagnostics += line + "|";
    }
    if (c.diagnostics.empty()) {
        EXPECT_EQ(diagnostics.find("assert"), std::string::npos) << diagnostics;
    } else {
        EXPECT_NE(diagnostics.find(c.diagnostics), std::string::npos) << diagnostics;
    }
    // The calendar is read once per call.
    EXPECT_LE(manager.marketInfo.holidayListsMade, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, BarGrid, ::testing::ValuesIn(kCases));

// Saturday 00:00 to Sunday 23:59:59 are the weekend in UTC; a negative time is reported.
TEST(HolidayCalendar, WeekendsAndHolidaysCoverTheirWholeUtcDay) {
    EXPECT_TRUE(HolidayCalendar::IsWeekend(172800) && HolidayCalendar::IsWeekend(345599));
    EXPECT_FALSE(HolidayCalendar::IsWeekend(172799) || HolidayCalendar::IsWeekend(345600));
    TakeDiagnostics();
    EXPECT_FALSE(HolidayCalendar::IsWeekend(-86400 * 5)); // would be Saturday 1969-12-27
    EXPECT_EQ(TakeDiagnostics(),
              std::vector<std::string>{"assert HolidayCalendar::IsWeekend: !ret"});
    // The library's list is read once, whatever is asked of the calendar; without a data manager,
    // holidays or market information no day is a holiday.
    const TimeValue kJuly3 = Utc(2009, 7, 3);
    fake::FakeMondrel manager;
    manager.marketInfo.holidays["IBM"] = {{2009, 7, 3}, {2009, 7, 3}, {2009, 2, 30}};
    const HolidayCalendar calendar(&manager, "IBM");
    EXPECT_FALSE(calendar.IsHoliday(kJuly3 - 1));
    EXPECT_TRUE(calendar.IsHoliday(kJuly3));
    EXPECT_TRUE(calendar.IsHoliday(kJuly3 + 86399));
    EXPECT_FALSE(calendar.IsHoliday(kJuly3 + 86400));
    // 30 February rolls over to 2 March.
    EXPECT_TRUE(calendar.IsHoliday(Utc(2009, 3, 2)));
    EXPECT_FALSE(calendar.IsHoliday(Utc(2009, 2, 28)));
    EXPECT_EQ(manager.marketInfo.holidayListsMade, 1);
    EXPECT_FALSE(HolidayCalendar(nullptr, "IBM").IsHoliday(kJuly3));
    manager.marketInfoAvailable = false;
    EXPECT_FALSE(HolidayCalendar(&manager, "IBM").IsHoliday(kJuly3));
    EXPECT_EQ(manager.marketInfoReleases, 2);
}

TEST(TradingSessionShape, AnyClientValuesStayInRange) {
    constexpr TimeValue lo = std::numeric_limits<TimeValue>::min();
    constexpr TimeValue hi = std::numeric_limits<TimeValue>::max();
    for (const TradingSession s : {TradingSession{lo, hi}, TradingSession{hi, lo},
                                   TradingSession{-60, 60}, TradingSession{lo, lo}}) {
        const std::int64_t length = GetSessionLength(s);
        EXPECT_GE(length, 1);
        EXPECT_LE(length, 1440);
        const TimeValue noon = Utc(2009, 7, 20, 12, 0);
        const std::int64_t start = GetSessionStart(s, noon);
        EXPECT_LE(start, noon);
        EXPECT_GT(start, noon - 86400);
    }
}

} // namespace
