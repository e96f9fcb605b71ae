// A daily trading session and the arithmetic of bar start times within it. Only the time of day
// of start and end counts, in whole minutes; the end minute belongs to the session. A session
// from 00:00 to 00:00 is no restriction: the whole day counts. Days are UTC days.
//
// Everything is computed in 64 bits, so any pair of 32-bit values a client can write is safe;
// times of day are taken modulo one day towards negative infinity, so negative values name a
// time of the previous day.
#pragma once

#include "TimeValue.h"

#include <cstdint>

struct TradingSession {
    TimeValue start = 0;
    TimeValue end = 0;
};

// Minutes from start to end, 1 to 1440 (a start equal to the end is a whole day).
std::int64_t GetSessionLength(const TradingSession& s);

// Whether the end's time of day lies before the start's.
bool CrossesMidnight(const TradingSession& s);

bool IsInSession(const TradingSession& s, std::int64_t t);

// The latest session start at or before t.
std::int64_t GetSessionStart(const TradingSession& s, std::int64_t t);

// The start of the bar of `interval` minutes (1 to 1439) that holds t, with bars counted in whole
// intervals from the start of t's session; 0 when t is outside the session.
std::int64_t GetBarStartTime(std::int64_t t, std::int32_t interval, const TradingSession& s);

// The start of the newest bar at or before endTime: the bar holding endTime, or else the bar
// holding the end of the latest session that ended before endTime.
std::int64_t GetLastBarStartTime(std::int64_t endTime, std::int32_t interval,
                                 const TradingSession& s);

// The session of two times, reduced to the whole minutes of their times of day.
TradingSession MakeTradingSession(std::int64_t start, std::int64_t end);
