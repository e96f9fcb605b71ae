// Exchange time zones with their daylight-saving rules, computed from the rules themselves (no
// time-zone database), so that results agree under every runtime.
#pragma once

#include <cstdint>

namespace mondrel {

enum class DaylightRule {
    None,
    UnitedStates,  // 1987-2006: first Sunday of April to last Sunday of October; since 2007:
                   // second Sunday of March to first Sunday of November, 02:00 local time.
    EuropeanUnion, // last Sunday of March to last Sunday of October, 01:00 UTC.
};

struct TimeZoneRule {
    const char* name;
    int standardMinutes; // minutes to add to UTC in standard time
    DaylightRule daylight;
};

bool IsDaylightTime(const TimeZoneRule& zone, std::int64_t utc);
int OffsetMinutes(const TimeZoneRule& zone, std::int64_t utc);

// Zone handles as the library reports them: 1-based index into the zone table, 0 = unknown.
enum ZoneHandle : int {
    zoneUnknown = 0,
    zoneNewYork = 1,
    zoneChicago = 2,
    zoneFrankfurt = 3,
    zoneTokyo = 4,
    zoneUtc = 5,
};

// nullptr for an unknown handle.
const TimeZoneRule* FindZone(int handle);

} // namespace mondrel
