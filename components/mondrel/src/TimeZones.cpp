#include "TimeZones.h"

#include "CivilTime.h"

namespace mondrel {
namespace {

const TimeZoneRule kZones[] = {
    {"America/New_York", -300, DaylightRule::UnitedStates},
    {"America/Chicago", -360, DaylightRule::UnitedStates},
    {"Europe/Berlin", 60, DaylightRule::EuropeanUnion},
    {"Asia/Tokyo", 540, DaylightRule::None},
    {"UTC", 0, DaylightRule::None},
};

struct Interval {
    std::int64_t begin; // UTC, inclusive
    std::int64_t end;   // UTC, exclusive
};

Interval UnitedStatesDaylight(int year, int standardMinutes) {
    std::int64_t startDay, endDay;
    if (year >= 2007) {
        startDay = NthWeekDay(year, 3, 0, 2);
        endDay = NthWeekDay(year, 11, 0, 1);
    } else {
        startDay = NthWeekDay(year, 4, 0, 1);
        endDay = NthWeekDay(year, 10, 0, -1);
    }
    // 02:00 standard time begins it; 02:00 daylight time (01:00 standard) ends it.
    const std::int64_t twoHours = 2 * 3600;
    return {startDay * kSecondsPerDay + twoHours - standardMinutes * 60,
            endDay * kSecondsPerDay + twoHours - (standardMinutes + 60) * 60};
}

Interval EuropeanDaylight(int year) {
    return {NthWeekDay(year, 3, 0, -1) * kSecondsPerDay + 3600,
            NthWeekDay(year, 10, 0, -1) * kSecondsPerDay + 3600};
}

} // namespace

bool IsDaylightTime(const TimeZoneRule& zone, std::int64_t utc) {
    // The change-overs lie in spring and autumn, so the UTC year is the local year.
    const int year = CivilFromDays(DayOf(utc)).year;
    Interval daylight;
    switch (zone.daylight) {
    case DaylightRule::UnitedStates:
        if (year < 1987)
            return false;
        daylight = UnitedStatesDaylight(year, zone.standardMinutes);
        break;
    case DaylightRule::EuropeanUnion:
        if (year < 1996)
            return false;
        daylight = EuropeanDaylight(year);
        break;
    default:
        return false;
    }
    return utc >= daylight.begin && utc < daylight.end;
}

int OffsetMinutes(const TimeZoneRule& zone, std::int64_t utc) {
    return zone.standardMinutes + (IsDaylightTime(zone, utc) ? 60 : 0);
}

const TimeZoneRule* FindZone(int handle) {
    const int count = static_cast<int>(sizeof(kZones) / sizeof(kZones[0]));
    return handle >= 1 && handle <= count ? &kZones[handle - 1] : nullptr;
}

} // namespace mondrel
