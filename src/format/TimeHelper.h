// Calendar arithmetic on 32-bit UTC time values, and the display time zone: the user sees times
// in the computer's zone, in GMT or in the symbol's exchange zone (integer option 5 of the data
// manager, read at every call). Times are shifted into the display zone and then broken down as
// UTC, so the printed wall-clock time is the display zone's. The data manager is the supplier's,
// passed by the caller; without one (nullptr: none runs, or it is disconnected) times stay UTC.
#pragma once

#include "TimeValue.h"

#include <cstdint>
#include <ctime>
#include <string>

class Mondrel;

enum DisplayZoneMode : int {
    dzmLocal = 0,
    dzmGmt = 1,
    dzmExchange = 2,
};

class TimeHelper {
public:
    // The UTC time of a calendar time (days past the month's end roll over); -1 when it cannot
    // be represented as a 32-bit time value.
    static TimeValue MakeTimeGMT(std::int32_t year, std::int32_t month, std::int32_t day,
                                 std::int32_t hour, std::int32_t minutes, std::int32_t seconds);

    // The same without checks or limits: every field may lie outside its range and rolls over
    // into the larger units (2009-02-30 is 2009-03-02).
    static std::int64_t MakeTimeGMT64(std::int32_t year, std::int32_t month, std::int32_t day,
                                      std::int32_t hour, std::int32_t minutes,
                                      std::int32_t seconds);

    // The UTC breakdown of a time; every byte 0xFF for a negative time, which is reported.
    static std::tm GetTmTime(TimeValue time);
    static int GetYear(TimeValue time);
    static int GetMonth(TimeValue time);   // 1 to 12
    static int GetWeekDay(TimeValue time); // 0 Sunday to 6 Saturday

    // Whether daylight time is in force at that time in the display zone.
    static bool IsDst(Mondrel* manager, const char* symbol, TimeValue time);

    // Moves a time into the display zone, or out of it when inverse is set.
    static TimeValue TransferTime(Mondrel* manager, TimeValue time, const char* symbol,
                                  bool inverse);
    static TimeValue ToDisplayTime(Mondrel* manager, TimeValue time, const std::string& symbol);
    static TimeValue FromDisplayTime(Mondrel* manager, TimeValue time, const std::string& symbol);
};
