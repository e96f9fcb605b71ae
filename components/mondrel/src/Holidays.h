// Exchange holiday calendars as rules, one predicate per published holiday.
#pragma once

#include "CivilTime.h"

#include <cstdint>
#include <vector>

namespace mondrel {

enum class HolidayCalendar {
    None,         // trades every day
    UnitedStates, // US equity and futures exchanges
    Frankfurt,    // German equity exchange
    Tokyo,        // Japanese equity exchange
    ForeignExchange,
};

// Whether the exchange is closed on the (local) calendar day for a holiday. Weekends are not
// holidays in this sense; sessions skip them separately.
bool IsHoliday(HolidayCalendar calendar, std::int64_t day);

// The holidays from firstYear to lastYear that fall on weekdays, in date order.
std::vector<CivilDate> ListHolidays(HolidayCalendar calendar, int firstYear, int lastYear);

} // namespace mondrel
