#include "BarGrid.h"

#include "CivilTime.h"

namespace mondrel {

bool SessionWindow::Contains(std::int64_t time) const {
    if (IsWholeDay())
        return true;
    const auto minute = static_cast<int>((time - DayOf(time) * kSecondsPerDay) / 60);
    if (startMinute < endMinute)
        return minute >= startMinute && minute <= endMinute;
    return minute >= startMinute || minute <= endMinute;
}

bool IsIntraday(int interval) {
    return interval >= 1 && interval <= 1440;
}

bool InWindow(std::int64_t barStart, int interval, const SessionWindow& window) {
    return !IsIntraday(interval) || window.Contains(barStart);
}

std::optional<std::int64_t> BarStart(std::int64_t time, int interval, const SessionWindow& window) {
    if (!window.Contains(time))
        return std::nullopt;
    const std::int64_t day = DayOf(time);
    if (IsIntraday(interval)) {
        // Bars are whole multiples of the interval from the latest window start.
        std::int64_t anchor = day * kSecondsPerDay + window.startMinute * 60;
        if (anchor > time)
            anchor -= kSecondsPerDay;
        const std::int64_t minutes = (time - anchor) / 60;
        return (time / 60 - minutes % interval) * 60;
    }
    switch (interval) {
    case biDaily:
        return day * kSecondsPerDay;
    case biWeekly:
        return (day - WeekDay(day)) * kSecondsPerDay;
    case biMonthly: {
        const CivilDate date = CivilFromDays(day);
        return DaysFromCivil(date.year, date.month, 1) * kSecondsPerDay;
    }
    default:
        return std::nullopt;
    }
}

} // namespace mondrel
