#include "BarListCreator.h"
#include "Clock.h"
#include "FormatTestSupport.h"
#include "ScopedDataManager.h"
#include "TimeHelper.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <vector>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

TimeValue Utc(int year, int month, int day, int hour = 0, int minute = 0) {
    return TimeHelper::MakeTimeGMT(year, month, day, hour, minute, 0);
}

std::vector<TimeValue> Starts(const BarMap& bars) {
    std::vector<TimeValue> starts;
    for (const auto& [start, bar] : bars) {
        starts.push_back(start);
    }
    return starts;
}

// Bar starts every `minutes` from first to last, both included.
std::vector<TimeValue> Every(int minutes, TimeValue first, TimeValue last) {
    std::vector<TimeValue> starts;
    for (TimeValue t = first; t <= last; t += minutes * 60) {
        starts.push_back(t);
    }
    return starts;
}

std::vector<TimeValue> Join(std::vector<TimeValue> a, const std::vector<TimeValue>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr TimeValue Hm(int hour, int minute) {
    return hour * 3600 + minute * 60;
}

class BarListCreatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager.intOptions[moTimeZoneMode] = 2;
        manager.marketInfo.timeZones["IBM"] = 7;
        manager.marketInfo.holidays["IBM"] = {};
        SetExchangeClock(manager.marketInfo, -300);
        TakeDiagnostics();
    }
    void TearDown() override { Clock::SetFixed(std::nullopt); }

    fake::FakeMondrel manager;
    ScopedDataManager installed{&manager};
    BarMap bars;
};

TEST_F(BarListCreatorTest, DailyCountEndingOnMondaySkipsTheWeekend) {
    Clock::SetFixed(Utc(2009, 7, 20, 15, 0));
    BarListCreator::GetEmptyBars("IBM", biDaily, 5, bars);
    EXPECT_THAT(Starts(bars), ElementsAre(Utc(2009, 7, 14), Utc(2009, 7, 15), Utc(2009, 7, 16),
                                          Utc(2009, 7, 17), Utc(2009, 7, 20)));
}

TEST_F(BarListCreatorTest, DailyRangeSkipsAHoliday) {
    manager.marketInfo.holidays["IBM"] = {{2009, 7, 3}};
    BarListCreator::GetEmptyBars("IBM", biDaily, Utc(2009, 6, 29), Utc(2009, 7, 7, 12, 0), bars);
    EXPECT_THAT(Starts(bars), ElementsAre(Utc(2009, 6, 29), Utc(2009, 6, 30), Utc(2009, 7, 1),
                                          Utc(2009, 7, 2), Utc(2009, 7, 6), Utc(2009, 7, 7)));
}

TEST_F(BarListCreatorTest, WeeksMonthsAndQuartersStartOnTheirFirstDay) {
    Clock::SetFixed(Utc(2009, 7, 22, 10, 0)); // Wednesday
    BarListCreator::GetEmptyBars("IBM", biWeekly, 2, bars);
    EXPECT_THAT(Starts(bars), ElementsAre(Utc(2009, 7, 12), Utc(2009, 7, 19))); // Sundays

    Clock::SetFixed(Utc(2009, 1, 15, 10, 0));
    BarListCreator::GetEmptyBars("IBM", biMonthly, 3, bars);
    EXPECT_THAT(Starts(bars), ElementsAre(Utc(2008, 11, 1), Utc(2008, 12, 1), Utc(2009, 1, 1)));

    Clock::SetFixed(Utc(2009, 5, 15, 10, 0));
    BarListCreator::GetEmptyBars("IBM", biQuarterly, 2, bars);
    EXPECT_THAT(Starts(bars), ElementsAre(Utc(2009, 1, 1), Utc(2009, 4, 1)));
    EXPECT_EQ(BarListCreator::GetNonIntradayBarStartTime(Utc(2009, 12, 31, 23, 59), biQuarterly),
              Utc(2009, 10, 1));
}

TEST_F(BarListCreatorTest, MinuteBarsWithoutSessionCrossMidnight) {
    Clock::SetFixed(Utc(2009, 7, 21, 0, 3)); // Tuesday
    BarListCreator::GetEmptyBars("IBM", 5, 3, bars);
    EXPECT_THAT(Starts(bars),
                ElementsAre(Utc(2009, 7, 20, 23, 50), Utc(2009, 7, 20, 23, 55), Utc(2009, 7, 21)));
    // 1440 is 205 x 7 + 5: the day before ends with a bar at 23:55.
    BarListCreator::GetEmptyBars("IBM", 7, 3, bars);
    EXPECT_THAT(Starts(bars),
                ElementsAre(Utc(2009, 7, 20, 23, 48), Utc(2009, 7, 20, 23, 55), Utc(2009, 7, 21)));
}

TEST_F(BarListCreatorTest, SessionEndMinuteIsIncludedOnEveryDay) {
    Clock::SetFixed(Utc(2009, 7, 21, 21, 0)); // Tuesday, after the session
    BarListCreator::GetEmptyBars("IBM", 30, 15, Hm(13, 30), Hm(20, 0), bars);
    EXPECT_THAT(Starts(bars),
                ElementsAreArray(Join({Utc(2009, 7, 20, 20, 0)}, Every(30, Utc(2009, 7, 21, 13, 30),
                                                                       Utc(2009, 7, 21, 20, 0)))));
}

TEST_F(BarListCreatorTest, SessionCrossingMidnight) {
    Clock::SetFixed(Utc(2009, 7, 22, 21, 30)); // Wednesday, between sessions
    BarListCreator::GetEmptyBars("IBM", 60, 26, Hm(22, 0), Hm(21, 0), bars);
    EXPECT_THAT(Starts(bars),
                ElementsAreArray(Every(60, Utc(2009, 7, 21, 20, 0), Utc(2009, 7, 22, 21, 0))));
}

TEST_F(BarListCreatorTest, EarlierSessionMovesWithTheDaylightChange) {
    Clock::SetFixed(Utc(2009, 7, 16, 21, 0)); // Thursday
    // Daylight time begins at Wednesday 00:00: Tuesday's session lies an hour later in UTC.
    SetExchangeClock(manager.marketInfo, -300, {{Utc(2009, 7, 15), Utc(2010, 1, 1)}});
    BarListCreator::GetEmptyBars("IBM", 30, 40, Hm(13, 30), Hm(20, 0), bars);
    const std::vector<TimeValue> wednesday =
        Every(30, Utc(2009, 7, 15, 13, 30), Utc(2009, 7, 15, 20, 0));
    const std::vector<TimeValue> thursday =
        Every(30, Utc(2009, 7, 16, 13, 30), Utc(2009, 7, 16, 20, 0));
    EXPECT_THAT(Starts(bars),
                ElementsAreArray(Join(
                    Join(Every(30, Utc(2009, 7, 14, 15, 30), Utc(2009, 7, 14, 21, 0)), wednesday),
                    thursday)));

    // Daylight time ends at Wednesday 00:00: Tuesday's session lies an hour earlier.
    SetExchangeClock(manager.marketInfo, -300, {{Utc(2009, 1, 1), Utc(2009, 7, 15)}});
    BarListCreator::GetEmptyBars("IBM", 30, 40, Hm(13, 30), Hm(20, 0), bars);
    EXPECT_THAT(Starts(bars),
                ElementsAreArray(Join(
                    Join(Every(30, Utc(2009, 7, 14, 13, 30), Utc(2009, 7, 14, 19, 0)), wednesday),
                    thursday)));
}

TEST_F(BarListCreatorTest, WholeDaysStayAtMidnightThroughDaylightChanges) {
    Clock::SetFixed(Utc(2009, 7, 15, 0, 30)); // Wednesday
    for (const auto& daylight : {std::pair{Utc(2009, 7, 15), Utc(2010, 1, 1)},
                                 std::pair{Utc(2009, 1, 1), Utc(2009, 7, 15)}}) {
        SetExchangeClock(manager.marketInfo, -300, {daylight});
        BarListCreator::GetEmptyBars("IBM", 60, 25, bars);
        EXPECT_THAT(Starts(bars), ElementsAreArray(Every(60, Utc(2009, 7, 14), Utc(2009, 7, 15))));
    }
}

TEST_F(BarListCreatorTest, IntradayWalkSkipsWeekendsAndHolidaysWithoutCountingThem) {
    manager.marketInfo.holidays["IBM"] = {{2009, 7, 3}};
    Clock::SetFixed(Utc(2009, 7, 6, 21, 0)); // Monday after a holiday Friday
    BarListCreator::GetEmptyBars("IBM", 30, 15, Hm(13, 30), Hm(20, 0), bars);
    EXPECT_THAT(Starts(bars),
                ElementsAreArray(Join({Utc(2009, 7, 2, 20, 0)},
                                      Every(30, Utc(2009, 7, 6, 13, 30), Utc(2009, 7, 6, 20, 0)))));
    EXPECT_EQ(manager.marketInfo.holidayLists.size(), 1u); // the calendar is read once per call
}

TEST_F(BarListCreatorTest, RangeLeavesOutTheBarThatBeginsBeforeItsStart) {
    BarListCreator::GetEmptyBars("IBM", 5, Utc(2009, 7, 20, 10, 2), Utc(2009, 7, 20, 10, 20), bars);
    EXPECT_THAT(Starts(bars),
                ElementsAreArray(Every(5, Utc(2009, 7, 20, 10, 5), Utc(2009, 7, 20, 10, 20))));
    BarListCreator::GetEmptyBars("IBM", biDaily, Utc(2009, 7, 21, 12, 0), Utc(2009, 7, 23, 1, 0),
                                 bars);
    EXPECT_THAT(Starts(bars), ElementsAre(Utc(2009, 7, 22), Utc(2009, 7, 23)));
}

TEST_F(BarListCreatorTest, RangeEndingBeforeItsStartIsEmpty) {
    bars[5] = Bar{};
    BarListCreator::GetEmptyBars("IBM", 5, Utc(2009, 7, 20, 11, 0), Utc(2009, 7, 20, 10, 0), bars);
    EXPECT_THAT(bars, IsEmpty());
    bars[5] = Bar{};
    BarListCreator::GetEmptyBars("IBM", biDaily, Utc(2009, 7, 20), Utc(2009, 7, 10), Hm(13, 30),
                                 Hm(20, 0), bars);
    EXPECT_THAT(bars, IsEmpty());
    EXPECT_THAT(TakeDiagnostics(), IsEmpty());
}

TEST_F(BarListCreatorTest, CountBelowZeroMeansNoBars) {
    Clock::SetFixed(Utc(2009, 7, 20, 15, 0));
    bars[5] = Bar{};
    BarListCreator::GetEmptyBars("IBM", biDaily, -5, bars);
    EXPECT_THAT(bars, IsEmpty());
    EXPECT_THAT(TakeDiagnostics(),
                ElementsAre("log BarListCreator::GetEmptyBars: Bar count -5 for 'IBM' is below 0: "
                            "no bars\n"));
    BarListCreator::GetEmptyBars("IBM", biDaily, 0, bars);
    EXPECT_THAT(bars, IsEmpty());
    EXPECT_THAT(TakeDiagnostics(), ElementsAre("assert BarListCreator::GetEmptyBars: barCount"));
}

TEST_F(BarListCreatorTest, CountAboveTheMaximumIsRefused) {
    Clock::SetFixed(Utc(2009, 7, 20, 21, 0));
    for (const std::int32_t count : {kMaxBarCount + 1, std::numeric_limits<std::int32_t>::max()}) {
        BarListCreator::GetEmptyBars("IBM", 1, count, Hm(13, 30), Hm(20, 0), bars);
        EXPECT_THAT(bars, IsEmpty());
    }
    EXPECT_THAT(TakeDiagnostics(),
                ElementsAre("log BarListCreator::GetEmptyBars: Bar count 100001 for 'IBM' refused: "
                            "at most 100000 bars\n",
                            "log BarListCreator::GetEmptyBars: Bar count 2147483647 for 'IBM' "
                            "refused: at most 100000 bars\n"));
    BarListCreator::GetEmptyBars("IBM", 1, kMaxBarCount, Hm(13, 30), Hm(20, 0), bars);
    EXPECT_EQ(bars.size(), static_cast<std::size_t>(kMaxBarCount));
    EXPECT_EQ(bars.rbegin()->first, Utc(2009, 7, 20, 20, 0));
}

TEST_F(BarListCreatorTest, HugeRangeKeepsTheNewestMaximum) {
    BarListCreator::GetEmptyBars("IBM", 1, 0, Utc(2009, 7, 20, 12, 0), bars);
    EXPECT_EQ(bars.size(), static_cast<std::size_t>(kMaxBarCount));
    EXPECT_EQ(bars.rbegin()->first, Utc(2009, 7, 20, 12, 0));
    EXPECT_THAT(TakeDiagnostics(), ElementsAre(HasSubstr("more than 100000 bars")));
}

TEST_F(BarListCreatorTest, WalkThroughACalendarWithoutTradingDaysEnds) {
    for (TimeValue day = Utc(2008, 1, 1); day <= Utc(2009, 12, 31); day += 86400) {
        manager.marketInfo.holidays["IBM"].push_back({TimeHelper::GetYear(day),
                                                      TimeHelper::GetMonth(day),
                                                      TimeHelper::GetTmTime(day)->tm_mday});
    }
    Clock::SetFixed(Utc(2009, 7, 21, 15, 0));
    BarListCreator::GetEmptyBars("IBM", 1, 10, Hm(13, 30), Hm(20, 0), bars);
    EXPECT_THAT(bars, IsEmpty());
    EXPECT_THAT(TakeDiagnostics(), ElementsAre(HasSubstr("no trading day in 366 sessions")));
}

TEST_F(BarListCreatorTest, WalkStopsAtNineteenSeventy) {
    Clock::SetFixed(Utc(1971, 3, 15));
    BarListCreator::GetEmptyBars("IBM", biMonthly, 100, bars);
    EXPECT_EQ(bars.size(), 15u);
    EXPECT_EQ(bars.begin()->first, 0);
    Clock::SetFixed(Utc(1970, 1, 2, 1, 0));
    BarListCreator::GetEmptyBars("IBM", 60, 100, bars);
    EXPECT_THAT(Starts(bars), ElementsAreArray(Every(60, 0, Utc(1970, 1, 2, 1, 0))));
    BarListCreator::GetEmptyBars("IBM", biDaily, -86400 * 3, -86400, bars);
    EXPECT_THAT(bars, IsEmpty());
    EXPECT_THAT(TakeDiagnostics(), Not(Contains(HasSubstr("assert"))));
}

TEST_F(BarListCreatorTest, StartsNearTheEndOfThirtyTwoBitTimeStayRepresentable) {
    constexpr TimeValue last = std::numeric_limits<TimeValue>::max(); // 2038-01-19 03:14:07
    Clock::SetFixed(last);
    // Daylight time from the newest day on moves the session before it an hour later, past the
    // newest bar.
    SetExchangeClock(manager.marketInfo, -300, {{Utc(2038, 1, 19), last}});
    BarListCreator::GetEmptyBars("IBM", 1, 100, Hm(3, 0), Hm(3, 0), bars);
    EXPECT_EQ(bars.size(), 100u);
    EXPECT_EQ(bars.rbegin()->first, Utc(2038, 1, 19, 3, 14));
    BarListCreator::GetEmptyBars("IBM", biMonthly, Utc(2037, 11, 1), last, bars);
    EXPECT_THAT(Starts(bars), ElementsAre(Utc(2037, 11, 1), Utc(2037, 12, 1), Utc(2038, 1, 1)));
}

TEST_F(BarListCreatorTest, BadArgumentsAreReported) {
    Clock::SetFixed(Utc(2009, 7, 20, 15, 0));
    BarListCreator::GetEmptyBars("", biDaily, 1, bars);
    EXPECT_EQ(bars.size(), 1u);
    for (const std::int32_t interval : {0, 1440, -5}) {
        BarListCreator::GetEmptyBars("IBM", interval, 5, bars);
        EXPECT_THAT(bars, IsEmpty());
    }
    EXPECT_EQ(BarListCreator::GetNonIntradayBarStartTime(1234, 5), 1234);
    EXPECT_THAT(TakeDiagnostics(),
                ElementsAre("assert BarListCreator::GetEmptyBars: !symbol.IsEmpty()",
                            "assert BarListCreator::GetEmptyBars: IsValidInterval(interval)",
                            "assert BarListCreator::GetEmptyBars: IsValidInterval(interval)",
                            "assert BarListCreator::GetEmptyBars: IsValidInterval(interval)",
                            "assert BarListCreator::GetNonIntradayBarStartTime: 0"));
}

} // namespace
