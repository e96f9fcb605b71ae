#include "HolidayCalendar.h"
#include "FormatTestSupport.h"
#include "ScopedDataManager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

constexpr TimeValue kJuly3 = 1246579200; // 2009-07-03 00:00:00 UTC, a Friday

TEST(HolidayCalendarWeekend, SaturdayAndSundayInUtcAndNegativeTimeIsReported) {
    EXPECT_FALSE(HolidayCalendar::IsWeekend(0));      // Thursday 1970-01-01
    EXPECT_FALSE(HolidayCalendar::IsWeekend(172799)); // Friday 23:59:59
    EXPECT_TRUE(HolidayCalendar::IsWeekend(172800));  // Saturday 00:00
    EXPECT_TRUE(HolidayCalendar::IsWeekend(345599));  // Sunday 23:59:59
    EXPECT_FALSE(HolidayCalendar::IsWeekend(345600)); // Monday 00:00
    TakeDiagnostics();
    EXPECT_FALSE(HolidayCalendar::IsWeekend(-86400 * 5)); // would be Saturday 1969-12-27
    EXPECT_THAT(TakeDiagnostics(), ElementsAre("assert HolidayCalendar::IsWeekend: !ret"));
}

// The library's list is read once, whatever is asked of the calendar.
TEST(HolidayCalendarHolidays, CoverTheirWholeUtcDayAndNothingElse) {
    fake::FakeMondrel manager;
    ScopedDataManager installed(&manager);
    manager.marketInfo.holidays["IBM"] = {{2009, 7, 3}, {2009, 7, 3}, {2009, 2, 30}};
    const HolidayCalendar calendar("IBM");
    EXPECT_FALSE(calendar.IsHoliday(kJuly3 - 1));
    EXPECT_TRUE(calendar.IsHoliday(kJuly3));
    EXPECT_TRUE(calendar.IsHoliday(kJuly3 + 86399));
    EXPECT_FALSE(calendar.IsHoliday(kJuly3 + 86400));
    // 30 February rolls over to 2 March.
    EXPECT_TRUE(calendar.IsHoliday(1235952000));
    EXPECT_FALSE(calendar.IsHoliday(1235952000 - 86400 * 2)); // 28 February
    EXPECT_EQ(manager.marketInfo.holidayListsMade, 1);
    EXPECT_EQ(manager.marketInfoReleases, 1);
}

TEST(HolidayCalendarHolidays, WithoutDataNoDayIsAHoliday) {
    fake::FakeMondrel manager;
    manager.marketInfo.holidays["IBM"] = {{2009, 7, 3}};
    EXPECT_FALSE(HolidayCalendar("IBM").IsHoliday(kJuly3)); // no data manager running
    ScopedDataManager installed(&manager);
    manager.marketInfo.holidays.clear();
    EXPECT_FALSE(HolidayCalendar("IBM").IsHoliday(kJuly3));
    manager.marketInfoAvailable = false;
    EXPECT_FALSE(HolidayCalendar("IBM").IsHoliday(kJuly3));
    EXPECT_EQ(manager.marketInfoReleases, 2);
}

} // namespace
