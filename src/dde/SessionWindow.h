// The daily session window of a minute-bar item: written by the client as "h:m-h:m" in the
// display time zone, carried in the bar request as UTC seconds after midnight.
#pragma once

#include "TimeValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class Mondrel;

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

// A window in UTC seconds after midnight, as the bar request carries it.
struct UtcSessionWindow {
    std::int32_t start = 0;
    std::int32_t end = 0;
};

// The window in UTC, with the display zone's offset (of manager, the supplier's data manager) at
// the window's start today (the day of now): the start within the UTC day (0 to 86399), the end the
// window's length in the display zone after it. So a window that crosses midnight UTC once
// converted ends up to a day after its start, and one that runs backwards in the display zone ends
// before its start. The numbers are not range-checked; the arithmetic is 64-bit and the results
// saturate.
UtcSessionWindow SessionWindowUtc(Mondrel* manager, const SessionWindow& window, TimeValue now,
                                  const std::string& symbol);
