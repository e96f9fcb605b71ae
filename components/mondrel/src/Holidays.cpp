#include "Holidays.h"

#include <cmath>

namespace mondrel {
namespace {

bool Is(std::int64_t day, int year, int month, int dayOfMonth) {
    return day == DaysFromCivil(year, month, dayOfMonth);
}

// A fixed date moved to Friday when it falls on Saturday and to Monday when on Sunday.
bool IsObserved(std::int64_t day, int year, int month, int dayOfMonth) {
    const std::int64_t date = DaysFromCivil(year, month, dayOfMonth);
    switch (WeekDay(date)) {
    case 6:
        return day == date - 1;
    case 0:
        return day == date + 1;
    default:
        return day == date;
    }
}

struct SpecialClosing {
    int year, month, day;
    const char* reason;
};

const SpecialClosing kUnitedStatesClosings[] = {
    {2001, 9, 11, "attacks on New York"},
    {2001, 9, 12, "attacks on New York"},
    {2001, 9, 13, "attacks on New York"},
    {2001, 9, 14, "attacks on New York"},
    {2004, 6, 11, "national day of mourning"},
    {2007, 1, 2, "national day of mourning"},
    {2012, 10, 29, "hurricane"},
    {2012, 10, 30, "hurricane"},
    {2018, 12, 5, "national day of mourning"},
    {2025, 1, 9, "national day of mourning"},
};

bool IsUnitedStatesHoliday(std::int64_t day) {
    const CivilDate date = CivilFromDays(day);
    const int y = date.year;
    // New Year's Day, moved to Monday from a Sunday; a Saturday one is not made up on Friday.
    if (Is(day, y, 1, 1) && WeekDay(day) != 6)
        return true;
    if (Is(day, y, 1, 2) && WeekDay(day) == 1)
        return true;
    // Martin Luther King Jr. Day (third Monday in January), observed by exchanges since 1998.
    if (y >= 1998 && day == NthWeekDay(y, 1, 1, 3))
        return true;
    // Washington's Birthday (third Monday in February)
    if (day == NthWeekDay(y, 2, 1, 3))
        return true;
    // Good Friday
    if (day == EasterSunday(y) - 2)
        return true;
    // Memorial Day (last Monday in May)
    if (day == NthWeekDay(y, 5, 1, -1))
        return true;
    // Juneteenth, observed by exchanges since 2022
    if (y >= 2022 && IsObserved(day, y, 6, 19))
        return true;
    // Independence Day
    if (IsObserved(day, y, 7, 4))
        return true;
    // Labor Day (first Monday in September)
    if (day == NthWeekDay(y, 9, 1, 1))
        return true;
    // Thanksgiving Day (fourth Thursday in November)
    if (day == NthWeekDay(y, 11, 4, 4))
        return true;
    // Christmas Day
    if (IsObserved(day, y, 12, 25))
        return true;
    for (const SpecialClosing& closing : kUnitedStatesClosings) {
        if (Is(day, closing.year, closing.month, closing.day))
            return true;
    }
    return false;
}

bool IsFrankfurtHoliday(std::int64_t day) {
    const CivilDate date = CivilFromDays(day);
    const std::int64_t easter = EasterSunday(date.year);
    const int md = date.month * 100 + date.day;
    return md == 101            // New Year's Day
           || day == easter - 2 // Good Friday
           || day == easter + 1 // Easter Monday
           || md == 501         // Labour Day
           || md == 1224        // Christmas Eve
           || md == 1225        // Christmas Day
           || md == 1226        // Boxing Day
           || md == 1231;       // New Year's Eve
}

int EquinoxDay(int year, double base) {
    // Valid for 1980-2099.
    return static_cast<int>(std::floor(base + 0.242194 * (year - 1980) - (year - 1980) / 4));
}

// Japanese national holidays by law, without the substitute and in-between days.
bool IsJapaneseNationalHoliday(std::int64_t day) {
    const CivilDate date = CivilFromDays(day);
    const int y = date.year;
    const int md = date.month * 100 + date.day;
    // New Year's Day
    if (md == 101)
        return true;
    // Coming of Age Day (second Monday in January since 2000)
    if (y >= 2000 ? day == NthWeekDay(y, 1, 1, 2) : md == 115)
        return true;
    // National Foundation Day
    if (md == 211)
        return true;
    // Emperor's Birthday: 23 December until 2018, 23 February since 2020
    if ((y >= 2020 && md == 223) || (y <= 2018 && md == 1223))
        return true;
    // Vernal Equinox Day
    if (date.month == 3 && date.day == EquinoxDay(y, 20.8431))
        return true;
    // Showa Day (Greenery Day until 2006), Constitution Day, Greenery Day, Children's Day
    if (md == 429 || md == 503 || md == 505 || (y >= 2007 && md == 504))
        return true;
    // Marine Day: 20 July until 2002, third Monday in July since 2003; moved for the 2020 games
    if (y == 2020 || y == 2021) {
        if (md == (y == 2020 ? 723 : 722))
            return true;
    } else if (y >= 2003 ? day == NthWeekDay(y, 7, 1, 3) : md == 720) {
        return true;
    }
    // Mountain Day (since 2016; moved for the 2020 games)
    if (y >= 2016 && md == (y == 2020 ? 810 : y == 2021 ? 808 : 811))
        return true;
    // Respect for the Aged Day: 15 September until 2002, third Monday in September since 2003
    if (y >= 2003 ? day == NthWeekDay(y, 9, 1, 3) : md == 915)
        return true;
    // Autumnal Equinox Day
    if (date.month == 9 && date.day == EquinoxDay(y, 23.2488))
        return true;
    // Sports Day: 10 October until 1999, second Monday in October since 2000; moved in 2020/21
    if (y == 2020 || y == 2021) {
        if (md == (y == 2020 ? 724 : 723))
            return true;
    } else if (y >= 2000 ? day == NthWeekDay(y, 10, 1, 2) : md == 1010) {
        return true;
    }
    // Culture Day, Labour Thanksgiving Day
    if (md == 1103 || md == 1123)
        return true;
    // Imperial succession of 2019: accession day and enthronement ceremony
    return y == 2019 && (md == 501 || md == 1022);
}

bool IsTokyoHoliday(std::int64_t day) {
    const CivilDate date = CivilFromDays(day);
    const int md = date.month * 100 + date.day;
    // The exchange closes over the New Year (31 December to 3 January).
    if (md == 1231 || md == 102 || md == 103)
        return true;
    if (IsJapaneseNationalHoliday(day))
        return true;
    // Substitute holiday: a holiday on a Sunday moves to the next day that is no holiday (to the
    // Monday only, before 2007).
    if (date.year >= 2007) {
        for (std::int64_t back = day - 1; IsJapaneseNationalHoliday(back); --back) {
            if (WeekDay(back) == 0)
                return true;
        }
    } else if (WeekDay(day) == 1 && IsJapaneseNationalHoliday(day - 1)) {
        return true;
    }
    // Citizens' holiday: a day between two holidays (the 2019 succession days included).
    return WeekDay(day) != 0 && IsJapaneseNationalHoliday(day - 1) &&
           IsJapaneseNationalHoliday(day + 1);
}

bool IsForeignExchangeHoliday(std::int64_t day) {
    const CivilDate date = CivilFromDays(day);
    return (date.month == 1 && date.day == 1) || (date.month == 12 && date.day == 25);
}

} // namespace

bool IsHoliday(HolidayCalendar calendar, std::int64_t day) {
    switch (calendar) {
    case HolidayCalendar::UnitedStates:
        return IsUnitedStatesHoliday(day);
    case HolidayCalendar::Frankfurt:
        return IsFrankfurtHoliday(day);
    case HolidayCalendar::Tokyo:
        return IsTokyoHoliday(day);
    case HolidayCalendar::ForeignExchange:
        return IsForeignExchangeHoliday(day);
    default:
        return false;
    }
}

std::vector<CivilDate> ListHolidays(HolidayCalendar calendar, int firstYear, int lastYear) {
    std::vector<CivilDate> list;
    const std::int64_t end = DaysFromCivil(lastYear + 1, 1, 1);
    for (std::int64_t day = DaysFromCivil(firstYear, 1, 1); day < end; ++day) {
        const int weekDay = WeekDay(day);
        if (weekDay != 0 && weekDay != 6 && IsHoliday(calendar, day))
            list.push_back(CivilFromDays(day));
    }
    return list;
}

} // namespace mondrel
