// Exchange time zones and holiday calendars.
#include "Holidays.h"
#include "SimulatedMarket.h"
#include "TimeZones.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <tuple>

using namespace mondrel;

namespace {

// Zone, change-over (UTC), offsets before and after in minutes: changes under today's rules and
// under those before 2007, checked one second before and at the instant; zones without daylight
// time keep one offset.
const std::tuple<int, std::int64_t, int, int> kChangeOvers[] = {
    {zoneNewYork, 1236495600, -300, -240}, // 2009-03-08 02:00 EST
    {zoneNewYork, 1257055200, -240, -300}, // 2009-11-01 02:00 EDT
    {zoneNewYork, 1143961200, -300, -240}, // 2006-04-02
    {zoneNewYork, 1162101600, -240, -300}, // 2006-10-29
    {zoneChicago, 1772956800, -360, -300}, // 2026-03-08 02:00 CST
    {zoneChicago, 1793516400, -300, -360}, // 2026-11-01 02:00 CDT
    {zoneFrankfurt, 1774746000, 60, 120},  // 2026-03-29 01:00 UTC
    {zoneFrankfurt, 1792890000, 120, 60},  // 2026-10-25 01:00 UTC
    {zoneTokyo, 1247000000, 540, 540},
    {zoneUtc, 1247000000, 0, 0},
    {99, 1247000000, 0, 0}, // an unknown zone
};

TEST(TimeZones, OffsetsChangeExactlyAtEachChangeOver) {
    SimulatedMarket market(1);
    IMarketInfo& info = market.Info(1247000000000); // July 2009
    for (const auto& [zone, instant, before, after] : kChangeOvers) {
        SCOPED_TRACE(testing::Message() << "zone " << zone << " at " << instant);
        EXPECT_EQ(info.GetTimeZoneOffset(static_cast<MondrelTime>(instant - 1), zone), before);
        EXPECT_EQ(info.GetTimeZoneOffset(static_cast<MondrelTime>(instant), zone), after);
    }
    EXPECT_EQ(info.GetTimeZone("es"), zoneChicago);
    EXPECT_EQ(info.GetTimeZone("NOSUCH"), zoneUnknown);
    EXPECT_EQ(info.IsDaylightTime(1247000000, "IBM"), 1); // July 2009
    EXPECT_EQ(info.IsDaylightTime(1232000000, "IBM"), 0); // January 2009
    EXPECT_EQ(info.IsDaylightTime(1247000000, "7203"), 0);
    int offset = 12345, standard = 12345;
    info.GetTimeOffsets("SAP", &offset, &standard);
    EXPECT_EQ(std::tuple(offset, standard), std::tuple(120, 60));
}

std::set<std::string> HolidaysOf(HolidayCalendar calendar, int year) {
    std::set<std::string> result;
    for (const CivilDate& d : ListHolidays(calendar, year, year)) {
        char text[16];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
        result.insert(text);
    }
    return result;
}

// A year of the United States in full, then single days of each calendar.
TEST(Holidays, RulesOfEachCalendar) {
    EXPECT_EQ(HolidaysOf(HolidayCalendar::UnitedStates, 2026),
              (std::set<std::string>{"2026-01-01", "2026-01-19", "2026-02-16", "2026-04-03",
                                     "2026-05-25", "2026-06-19", "2026-07-03", "2026-09-07",
                                     "2026-11-26", "2026-12-25"}));
    const std::tuple<HolidayCalendar, const char*, bool> cases[] = {
        {HolidayCalendar::UnitedStates, "2012-01-02", true},  // New Year's Day on a Sunday
        {HolidayCalendar::UnitedStates, "2012-10-30", true},  // the hurricane
        {HolidayCalendar::UnitedStates, "2021-12-31", false}, // a Saturday one is not made up
        {HolidayCalendar::UnitedStates, "2022-06-20", true},  // Juneteenth on a Sunday
        {HolidayCalendar::Frankfurt, "2026-04-06", true},     // Easter Monday
        {HolidayCalendar::Frankfurt, "2026-12-31", true},
        {HolidayCalendar::Frankfurt, "2026-05-25", false},
        {HolidayCalendar::Tokyo, "2026-01-02", true},
        {HolidayCalendar::Tokyo, "2026-05-06", true}, // substitute for a Sunday
        {HolidayCalendar::Tokyo, "2026-09-22", true}, // between two holidays
        {HolidayCalendar::Tokyo, "2019-04-30", true}, // the imperial succession
        {HolidayCalendar::Tokyo, "2026-09-24", false},
    };
    for (const auto& [calendar, day, holiday] : cases) {
        EXPECT_EQ(HolidaysOf(calendar, std::stoi(day)).count(day), holiday ? 1u : 0u) << day;
    }
}

TEST(Holidays, MarketInformationListsEveryYearOfTheRange) {
    SimulatedMarket market(1);
    IMarketInfo& info = market.Info(0);
    IHolidayList* list = info.GetHolidays("IBM");
    IHolidayList* crypto = info.GetHolidays("BTCUSD");
    ASSERT_TRUE(list && crypto);
    int first = 0, last = 0, month = 0, day = 0;
    list->GetHoliday(0, &first, &month, &day);
    list->GetHoliday(list->GetHolidayCount() - 1, &last, &month, &day);
    EXPECT_EQ(std::tuple(first, last, crypto->GetHolidayCount()), std::tuple(2000, 2040, 0));
    EXPECT_EQ(info.GetHolidays("NOSUCH"), nullptr);
    info.ReleaseHolidays(list);
    info.ReleaseHolidays(crypto);
}

} // namespace
