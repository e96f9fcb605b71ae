#include "HolidayCalendar.h"
#include "FormatTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

constexpr TimeValue kJuly3 = 1246579200; // 2009-07-03 00:00:00 UTC, a Friday

TEST(HolidayCalendar, WeekendsAreSaturdayAndSundayInUtcAndANegativeTimeIsReported) {
    EXPECT_FALSE(HolidayCalendar::IsWeekend(0));      // Thursday 1970-01-01
    EXPECT_FALSE(HolidayCalendar::IsWeekend(172799)); // Friday 23:59:59
    EXPECT_TRUE(HolidayCalendar::IsWeekend(172800));  // Saturday 00:00
    EXPECT_TRUE(HolidayCalendar::IsWeekend(345599));  // Sunday 23:59:59
    EXPECT_FALSE(HolidayCalendar::IsWeekend(345600)); // Monday 00:00
    TakeDiagnostics();
    EXPECT_FALSE(HolidayCalendar::IsWeekend(-86400 * 5)); // would be Saturday 1969-12-27
    EXPECT_THAT(TakeDiagnostics(), ElementsAre("assert HolidayCalendar::IsWeekend: !ret"));
}

// The library's list is read once, whatever is asked of the calendar; without a data manager,
// holidays or market information no day is a holiday.
TEST(HolidayCalendar, HolidaysCoverTheirWholeUtcDayAndNothingElse) {
    fake::FakeMondrel manager;
    manager.marketInfo.holidays["IBM"] = {{2009, 7, 3}, {2009, 7, 3}, {2009, 2, 30}};
    const HolidayCalendar calendar(&manager, "IBM");
    EXPECT_FALSE(calendar.IsHoliday(kJuly3 - 1));
    EXPECT_TRUE(calendar.IsHoliday(kJuly3));
    EXPECT_TRUE(calendar.IsHoliday(kJuly3 + 86399));
    EXPECT_FALSE(calendar.IsHoliday(kJuly3 + 86400));
    // 30 February rolls over to 2 March.
    EXPECT_TRUE(calendar.IsHoliday(1235952000));
    EXPECT_FALSE(calendar.IsHoliday(1235952000 - 86400 * 2)); // 28 February
    EXPECT_EQ(manager.marketInfo.holidayListsMade, 1);
    EXPECT_FALSE(HolidayCalendar(nullptr, "IBM").IsHoliday(kJuly3));
    EXPECT_FALSE(HolidayCalendar(&manager, "MSFT").IsHoliday(kJuly3));
    manager.marketInfoAvailable = false;
    EXPECT_FALSE(HolidayCalendar(&manager, "IBM").IsHoliday(kJuly3));
    EXPECT_EQ(manager.marketInfoReleases, 3);
}

} // namespace
