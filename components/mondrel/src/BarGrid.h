// Where a market event falls in a bar series: the start time of its bar for every interval, with
// or without a daily session window.
#pragma once

#include "mondrel/Mondrel.h"

#include <cstdint>
#include <optional>

namespace mondrel {

// A daily window in whole UTC minutes, both ends inclusive; a window from 00:00 to 00:00 is the
// whole day. A window whose end lies before its start crosses midnight.
struct SessionWindow {
    int startMinute = 0;
    int endMinute = 0;

    bool IsWholeDay() const { return startMinute == 0 && endMinute == 0; }
    bool Contains(std::int64_t time) const;
};

bool IsIntraday(int interval);

// Whether a whole bar of the interval belongs to a request with the window: intraday bars that
// start outside it do not.
bool InWindow(std::int64_t barStart, int interval, const SessionWindow& window);

// The start of the bar that holds the time, or nothing when the time lies outside the window or
// the interval has no bars. Intraday bars are counted from the window start (midnight without a
// window); daily, weekly and monthly bars start at 00:00 UTC of their first day.
std::optional<std::int64_t> BarStart(std::int64_t time, int interval, const SessionWindow& window);

} // namespace mondrel
