// The daily session window of a minute-bar item: written by the client as "h:m-h:m" in the
// display time zone, carried in the bar request as UTC seconds after midnight.
#pragma once

#include "TimeValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct SessionWindow {
    std::int32_t startHour = 0;
    std::int32_t startMinute = 0;
    std::int32_t endHour = 0;
    std::int32_t endMinute = 0;
};

// Reads the four numbers as the runtime's scanner reads "%d:%d-%d:%d" (white space before each
// number, optional sign, text after the last number ignored), saturating at the 32-bit range;
// none unless all four are there.
std::optional<SessionWindow> ReadSessionWindow(std::string_view parameter);

// A wall-clock time of the display zone as UTC seconds after midnight, using the zone's offset of
// the moment now: negative results move one day on, results of a day or more stay as they are.
// The numbers are not range-checked; the arithmetic is 64-bit and the result saturates.
std::int32_t SessionSecondsUtc(std::int32_t hour, std::int32_t minute, TimeValue now,
                               const std::string& symbol);
