// Calendar arithmetic on UTC day numbers (days since 1970-01-01), independent of the C runtime's
// time-zone database so that the library behaves the same on every platform.
#pragma once

#include "mondrel/CivilDate.h"

#include <cstdint>

namespace mondrel {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t DayOf(std::int64_t time); // floor(time / 86400), also for negative times

// 0 = Sunday .. 6 = Saturday.
int WeekDay(std::int64_t days);

// Day number of the n-th (1-based) given week day of a month; n = -1 gives the last one.
std::int64_t NthWeekDay(int year, int month, int weekDay, int n);

// Western (Gregorian) Easter Sunday.
std::int64_t EasterSunday(int year);

} // namespace mondrel
