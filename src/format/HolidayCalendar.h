// The trading calendar of one symbol for one bar-list computation: weekends (UTC days) and the
// holidays of the symbol's exchange, read from the data manager once, when the calendar is made.
#pragma once

#include "TimeValue.h"

#include <cstdint>
#include <set>
#include <string>

class Mondrel;

class HolidayCalendar {
public:
    // Never fails: without a data manager (nullptr), market information or holiday list the
    // calendar has no holidays.
    HolidayCalendar(Mondrel* manager, const std::string& symbol);

    // Saturday or Sunday in UTC; a negative time is reported and is not a weekend.
    static bool IsWeekend(TimeValue time);

    // Whether the UTC day of the time is a holiday of the exchange.
    bool IsHoliday(TimeValue time) const;

private:
    std::set<std::int64_t> m_holidays; // 00:00 UTC of each holiday
};
