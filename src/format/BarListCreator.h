// The grid of bar start times that a bar request covers, as a map of empty bars, so that the bar
// subscription holds one bar per period even where nothing traded. Intraday bars are aligned to
// the session start (midnight UTC without a session), skip weekends and exchange holidays and
// follow the exchange's daylight changes; daily bars skip weekends and holidays; weekly
// (from Sunday), monthly and quarterly bars start on the first day of their period.
//
// Intervals: 1 to 1439 minutes, -1 day, -2 week, -3 month, -4 quarter. Times are UTC. The
// holidays and daylight changes come from the supplier's data manager (none without one).
#pragma once

#include "BarLimits.h"
#include "DataRecords.h"
#include "TradingSession.h"

#include <cstdint>
#include <string>

class Mondrel;

// Generated bars carry the changed mark, so that a client sees one line per period from the
// first notification on: zero prices and volume where nothing traded (or the filled prices),
// the same number of rows as periods asked for, and gap bars of later updates as lines of their
// own. Without the mark the grid would stay invisible unless filled.
inline constexpr bool kGeneratedBarChanged = true;

class BarListCreator {
public:
    // The last barCount bars up to now. A count below 0 gives no bars; a count above
    // kMaxBarCount is refused (no bars).
    static void GetEmptyBars(Mondrel* manager, const std::string& symbol, std::int32_t interval,
                             std::int32_t barCount, BarMap& bars);
    // The bars that start from startTime to endTime (none when the end lies before the start;
    // at most the newest kMaxBarCount).
    static void GetEmptyBars(Mondrel* manager, const std::string& symbol, std::int32_t interval,
                             TimeValue startTime, TimeValue endTime, BarMap& bars);
    // The same within a daily session (times of day, UTC).
    static void GetEmptyBars(Mondrel* manager, const std::string& symbol, std::int32_t interval,
                             std::int32_t barCount, TimeValue sessionStart, TimeValue sessionEnd,
                             BarMap& bars);
    static void GetEmptyBars(Mondrel* manager, const std::string& symbol, std::int32_t interval,
                             TimeValue startTime, TimeValue endTime, TimeValue sessionStart,
                             TimeValue sessionEnd, BarMap& bars);

    // 00:00 UTC of the first day of the day, week, month or quarter (interval -1 to -4) that
    // holds the time.
    static TimeValue GetNonIntradayBarStartTime(TimeValue time, std::int32_t interval);

    static bool IsValidInterval(std::int32_t interval);

private:
    struct BarRange {
        bool byCount;
        std::int32_t barCount;
        TimeValue startTime;
        TimeValue endTime;
    };

    static void GetEmptyBars(Mondrel* manager, const std::string& symbol, std::int32_t interval,
                             const BarRange& range, const TradingSession& session, BarMap& bars);
};
