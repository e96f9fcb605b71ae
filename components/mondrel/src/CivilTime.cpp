#include "CivilTime.h"

namespace mondrel {

std::int64_t DayOf(std::int64_t time) {
    return time >= 0 ? time / kSecondsPerDay : -((-time + kSecondsPerDay - 1) / kSecondsPerDay);
}

int WeekDay(std::int64_t days) {
    // 1970-01-01 was a Thursday.
    return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

std::int64_t NthWeekDay(int year, int month, int weekDay, int n) {
    if (n > 0) {
        const std::int64_t first = DaysFromCivil(year, month, 1);
        return first + (weekDay - WeekDay(first) + 7) % 7 + 7 * (n - 1);
    }
    const std::int64_t last = DaysFromCivil(month == 12 ? year + 1 : year, month % 12 + 1, 1) - 1;
    return last - (WeekDay(last) - weekDay + 7) % 7;
}

// Anonymous Gregorian algorithm (Meeus/Jones/Butcher).
std::int64_t EasterSunday(int year) {
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return DaysFromCivil(year, month, day);
}

} // namespace mondrel
