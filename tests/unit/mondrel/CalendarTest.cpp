// Exchange time zones and holiday calendars.
#include "Holidays.h"
#include "SimulatedMarket.h"
#include "TimeZones.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

using namespace mondrel;

namespace {

struct ChangeOver {
    int zone;
    std::int64_t instant; // UTC
    int minutesBefore;
    int minutesAfter;
};

// Each change-over of 2009 and 2026, checked one second before and at the instant.
const ChangeOver kChangeOvers[] = {
    {zoneNewYork, 1236495600, -300, -240}, // 2009-03-08 02:00 EST
    {zoneNewYork, 1257055200, -240, -300}, // 2009-11-01 02:00 EDT
    {zoneNewYork, 1772953200, -300, -240}, // 2026-03-08
    {zoneNewYork, 1793512800, -240, -300}, // 2026-11-01
    {zoneChicago, 1236499200, -360, -300}, // 2009-03-08 02:00 CST
    {zoneChicago, 1257058800, -300, -360}, // 2009-11-01 02:00 CDT
    {zoneChicago, 1772956800, -360, -300}, {zoneChicago, 1793516400, -300, -360},
    {zoneFrankfurt, 1238288400, 60, 120},  // 2009-03-29 01:00 UTC
    {zoneFrankfurt, 1256432400, 120, 60},  // 2009-10-25 01:00 UTC
    {zoneFrankfurt, 1774746000, 60, 120},  // 2026-03-29
    {zoneFrankfurt, 1792890000, 120, 60},  // 2026-10-25
    {zoneNewYork, 1143961200, -300, -240}, // 2006-04-02: the rule before 2007
    {zoneNewYork, 1162101600, -240, -300}, // 2006-10-29
};

TEST(TimeZones, OffsetsChangeExactlyAtEachChangeOver) {
    SimulatedMarket market(1);
    IMarketInfo& info = market.Info(0);
    for (const ChangeOver& c : kChangeOvers) {
        SCOPED_TRACE(testing::Message() << "zone " << c.zone << " at " << c.instant);
        EXPECT_EQ(info.GetTimeZoneOffset(static_cast<MondrelTime>(c.instant - 1), c.zone),
                  c.minutesBefore);
        EXPECT_EQ(info.GetTimeZoneOffset(static_cast<MondrelTime>(c.instant), c.zone),
                  c.minutesAfter);
    }
}

TEST(TimeZones, TokyoAndUtcKeepOneOffsetAllYear) {
    SimulatedMarket market(1);
    IMarketInfo& info = market.Info(0);
    for (std::int64_t t : {1236495600ll, 1247000000ll, 1772953200ll, 1785000000ll}) {
        EXPECT_EQ(info.GetTimeZoneOffset(static_cast<MondrelTime>(t), zoneTokyo), 540);
        EXPECT_EQ(info.GetTimeZoneOffset(static_cast<MondrelTime>(t), zoneUtc), 0);
        EXPECT_EQ(info.IsDaylightTime(static_cast<MondrelTime>(t), "7203"), 0);
    }
}

TEST(TimeZones, SymbolsAnswerWithTheirExchangeZone) {
    SimulatedMarket market(1);
    IMarketInfo& info = market.Info(1247000000000); // July 2009
    EXPECT_EQ(info.GetTimeZone("IBM"), zoneNewYork);
    EXPECT_EQ(info.GetTimeZone("es"), zoneChicago);
    EXPECT_EQ(info.GetTimeZone("SAP"), zoneFrankfurt);
    EXPECT_EQ(info.GetTimeZone("NOSUCH"), zoneUnknown);
    EXPECT_EQ(info.IsDaylightTime(1247000000, "IBM"), 1); // July 2009
    EXPECT_EQ(info.IsDaylightTime(1232000000, "IBM"), 0); // January 2009
    int offset = 12345, standard = 12345;
    info.GetTimeOffsets("SAP", &offset, &standard);
    EXPECT_EQ(offset, 120);
    EXPECT_EQ(standard, 60);
    EXPECT_EQ(info.GetTimeZoneOffset(1247000000, 99), 0);
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

void ExpectHolidays(HolidayCalendar calendar, int year, const std::set<std::string>& expected) {
    const std::set<std::string> actual = HolidaysOf(calendar, year);
    for (const std::string& day : actual)
        EXPECT_TRUE(expected.count(day)) << "calculated but not expected: " << day;
    for (const std::string& day : expected)
        EXPECT_TRUE(actual.count(day)) << "expected but not calculated: " << day;
}

TEST(Holidays, UnitedStatesExchanges) {
    // Independence Day 2009 fell on a Saturday and was observed on Friday 3 July.
    ExpectHolidays(HolidayCalendar::UnitedStates, 2009,
                   {"2009-01-01", "2009-01-19", "2009-02-16", "2009-04-10", "2009-05-25",
                    "2009-07-03", "2009-09-07", "2009-11-26", "2009-12-25"});
    // New Year's Day on a Sunday moves to Monday; the hurricane closed two days.
    ExpectHolidays(HolidayCalendar::UnitedStates, 2012,
                   {"2012-01-02", "2012-01-16", "2012-02-20", "2012-04-06", "2012-05-28",
                    "2012-07-04", "2012-09-03", "2012-10-29", "2012-10-30", "2012-11-22",
                    "2012-12-25"});
    // A Saturday New Year's Day is not made up; Juneteenth on a Sunday moves to Monday.
    ExpectHolidays(HolidayCalendar::UnitedStates, 2022,
                   {"2022-01-17", "2022-02-21", "2022-04-15", "2022-05-30", "2022-06-20",
                    "2022-07-04", "2022-09-05", "2022-11-24", "2022-12-26"});
    ExpectHolidays(HolidayCalendar::UnitedStates, 2026,
                   {"2026-01-01", "2026-01-19", "2026-02-16", "2026-04-03", "2026-05-25",
                    "2026-06-19", "2026-07-03", "2026-09-07", "2026-11-26", "2026-12-25"});
}

TEST(Holidays, Frankfurt) {
    ExpectHolidays(HolidayCalendar::Frankfurt, 2026,
                   {"2026-01-01", "2026-04-03", "2026-04-06", "2026-05-01", "2026-12-24",
                    "2026-12-25", "2026-12-31"});
}

TEST(Holidays, TokyoWithSubstituteAndCitizensHolidays) {
    ExpectHolidays(HolidayCalendar::Tokyo, 2026,
                   {"2026-01-01", "2026-01-02", "2026-01-12", "2026-02-11", "2026-02-23",
                    "2026-03-20", "2026-04-29", "2026-05-04", "2026-05-05", "2026-05-06",
                    "2026-07-20", "2026-08-11", "2026-09-21", "2026-09-22", "2026-09-23",
                    "2026-10-12", "2026-11-03", "2026-11-23", "2026-12-31"});
    // The imperial succession of 2019 closed the exchange from 29 April to 6 May.
    const std::set<std::string> year2019 = HolidaysOf(HolidayCalendar::Tokyo, 2019);
    for (const char* day : {"2019-04-29", "2019-04-30", "2019-05-01", "2019-05-02", "2019-05-03",
                            "2019-05-06", "2019-10-22"})
        EXPECT_TRUE(year2019.count(day)) << day;
}

TEST(Holidays, MarketInformationListsEveryYearOfTheRange) {
    SimulatedMarket market(1);
    IMarketInfo& info = market.Info(0);
    IHolidayList* list = info.GetHolidays("IBM");
    ASSERT_NE(list, nullptr);
    std::set<int> years;
    bool goodFriday2026 = false;
    for (int i = 0; i < list->GetHolidayCount(); ++i) {
        int year = 0, month = 0, day = 0;
        list->GetHoliday(i, &year, &month, &day);
        years.insert(year);
        goodFriday2026 = goodFriday2026 || (year == 2026 && month == 4 && day == 3);
    }
    info.ReleaseHolidays(list);
    EXPECT_TRUE(goodFriday2026);
    EXPECT_EQ(years.size(), 41u);
    EXPECT_EQ(*years.begin(), 2000);
    EXPECT_EQ(info.GetHolidays("NOSUCH"), nullptr);
    IHolidayList* crypto = info.GetHolidays("BTCUSD");
    ASSERT_NE(crypto, nullptr);
    EXPECT_EQ(crypto->GetHolidayCount(), 0);
    info.ReleaseHolidays(crypto);
}

} // namespace
