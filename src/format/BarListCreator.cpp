#include "BarListCreator.h"

#include "Clock.h"
#include "HolidayCalendar.h"
#include "Kolvane.h"
#include "TimeHelper.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kDay = 86400;

// An intraday walk that meets no trading day in this many sessions in a row ends there: the
// calendar has no trading days left, and the walk would otherwise step through every minute back
// to 1970.
constexpr int kMaxClosedSessions = 366;

// Fills the map from the newest bar backwards and decides where the walk stops.
class GridWalk {
public:
    GridWalk(const std::string& symbol, std::int32_t interval, bool byCount, std::int32_t barCount,
             TimeValue startTime, BarMap& bars)
        : m_symbol(symbol), m_interval(interval), m_byCount(byCount), m_barCount(barCount),
          m_startTime(startTime), m_bars(bars) {}

    // Whether no bar at `start` or earlier is wanted.
    bool Ends(std::int64_t start) const {
        if (m_byCount ? m_bars.size() >= static_cast<std::size_t>(m_barCount)
                      : start < m_startTime) {
            return true;
        }
        if (BeforeEpoch(start)) {
            return true;
        }
        if (!m_byCount && m_bars.size() >= static_cast<std::size_t>(kMaxBarCount)) {
            KOLVANE_LOG(nullptr, "Bars of '%s' from %d: more than %d bars, only the newest made\n",
                        m_symbol.c_str(), m_startTime, kMaxBarCount);
            return true;
        }
        return false;
    }

    // Times before 1970 hold no bars (the calendar cannot break them down).
    bool BeforeEpoch(std::int64_t time) const {
        if (time >= 0) {
            return false;
        }
        KOLVANE_LOG(nullptr, "Bars of '%s' reach 1970-01-01 after %zu bars\n", m_symbol.c_str(),
                    m_bars.size());
        return true;
    }

    // Starts beyond 2038-01-19 cannot be keys; the walk goes on towards earlier ones.
    static bool Representable(std::int64_t start) {
        return start <= std::numeric_limits<TimeValue>::max();
    }

    void Add(std::int64_t start) {
        const auto key = static_cast<TimeValue>(start);
        // Walking backwards, every new key is the smallest so far.
        m_bars.emplace_hint(
            m_bars.begin(), key,
            Bar{.startTime = key, .interval = m_interval, .changed = kGeneratedBarChanged});
    }

    std::size_t Size() const { return m_bars.size(); }

private:
    const std::string& m_symbol;
    std::int32_t m_interval;
    bool m_byCount;
    std::int32_t m_barCount;
    TimeValue m_startTime;
    BarMap& m_bars;
};

void WalkMonths(GridWalk& walk, TimeValue endTime, std::int32_t interval) {
    const int months = interval == biQuarterly ? 3 : 1;
    std::int64_t start = BarListCreator::GetNonIntradayBarStartTime(endTime, interval);
    while (!walk.Ends(start)) {
        walk.Add(start);
        const auto bar = static_cast<TimeValue>(start);
        const int n = TimeHelper::GetYear(bar) * 12 + TimeHelper::GetMonth(bar) - months;
        int year = n / 12;
        int month = n % 12;
        if (month == 0) {
            month = 12;
            --year;
        }
        // -1 before 1970, which ends the walk.
        start = TimeHelper::MakeTimeGMT(year, month, 1, 0, 0, 0);
    }
}

void WalkDaysAndWeeks(GridWalk& walk, const HolidayCalendar& calendar, TimeValue endTime,
                      std::int32_t interval) {
    std::int64_t start = BarListCreator::GetNonIntradayBarStartTime(endTime, interval);
    while (!walk.Ends(start)) {
        const auto day = static_cast<TimeValue>(start);
        if (interval == biDaily && (HolidayCalendar::IsWeekend(day) || calendar.IsHoliday(day))) {
            start -= kDay;
            continue;
        }
        walk.Add(start);
        start -= interval == biDaily ? kDay : 7 * kDay;
    }
}

// Bars of each session from its newest backwards, then the session of the day before, moved by
// an hour where the display zone's daylight state differs between the two session starts.
void WalkSessions(GridWalk& walk, Mondrel* manager, const HolidayCalendar& calendar,
                  const std::string& symbol, TimeValue endTime, std::int32_t interval,
                  const TradingSession& session) {
    const std::int64_t step = static_cast<std::int64_t>(interval) * 60;
    const std::int64_t length = GetSessionLength(session);
    // Without a session the grid stays at midnight UTC: a whole day has no local hours to follow.
    const bool followsDaylight = session.start != 0 || session.end != 0;
    std::int64_t t = GetLastBarStartTime(endTime, interval, session);
    std::int64_t sessionStart = GetSessionStart(session, t);
    if (walk.BeforeEpoch(sessionStart)) {
        return;
    }
    bool dst = followsDaylight &&
               TimeHelper::IsDst(manager, symbol.c_str(), static_cast<TimeValue>(sessionStart));
    int closedSessions = 0;
    bool traded = false;
    while (!walk.Ends(t)) {
        if (GridWalk::Representable(t)) {
            const auto bar = static_cast<TimeValue>(t);
            if (!calendar.IsHoliday(bar) && !HolidayCalendar::IsWeekend(bar)) {
                walk.Add(t);
                traded = true;
            }
        }
        t -= step;
        if (t >= sessionStart) {
            continue;
        }
        closedSessions = traded ? 0 : closedSessions + 1;
        traded = false;
        if (closedSessions == kMaxClosedSessions) {
            KOLVANE_LOG(nullptr,
                        "Bars of '%s': no trading day in %d sessions before %lld, %zu bars\n",
                        symbol.c_str(), kMaxClosedSessions, static_cast<long long>(sessionStart),
                        walk.Size());
            return;
        }
        sessionStart -= kDay;
        if (walk.BeforeEpoch(sessionStart)) {
            return;
        }
        if (followsDaylight) {
            const bool now =
                TimeHelper::IsDst(manager, symbol.c_str(), static_cast<TimeValue>(sessionStart));
            if (now != dst) {
                // Into standard time the session lies an hour later in UTC, into daylight time
                // an hour earlier.
                sessionStart += now ? -3600 : 3600;
            }
            dst = now;
        }
        // The bar that holds the session's last minute, as for the newest session: the end minute
        // itself, or the minute before the next start for a whole day.
        const std::int64_t lastMinute = std::min<std::int64_t>(length, 1439);
        t = sessionStart + (lastMinute - lastMinute % interval) * 60;
    }
}

} // namespace

void BarListCreator::GetEmptyBars(Mondrel* manager, const std::string& symbol,
                                  std::int32_t interval, std::int32_t barCount, BarMap& bars) {
    GetEmptyBars(manager, symbol, interval, BarRange{true, barCount, 0, Clock::Now()},
                 TradingSession{}, bars);
}

void BarListCreator::GetEmptyBars(Mondrel* manager, const std::string& symbol,
                                  std::int32_t interval, TimeValue startTime, TimeValue endTime,
                                  BarMap& bars) {
    GetEmptyBars(manager, symbol, interval, BarRange{false, 0, startTime, endTime},
                 TradingSession{}, bars);
}

void BarListCreator::GetEmptyBars(Mondrel* manager, const std::string& symbol,
                                  std::int32_t interval, std::int32_t barCount,
                                  TimeValue sessionStart, TimeValue sessionEnd, BarMap& bars) {
    GetEmptyBars(manager, symbol, interval, BarRange{true, barCount, 0, Clock::Now()},
                 MakeTradingSession(sessionStart, sessionEnd), bars);
}

void BarListCreator::GetEmptyBars(Mondrel* manager, const std::string& symbol,
                                  std::int32_t interval, TimeValue startTime, TimeValue endTime,
                                  TimeValue sessionStart, TimeValue sessionEnd, BarMap& bars) {
    GetEmptyBars(manager, symbol, interval, BarRange{false, 0, startTime, endTime},
                 MakeTradingSession(sessionStart, sessionEnd), bars);
}

void BarListCreator::GetEmptyBars(Mondrel* manager, const std::string& symbol,
                                  std::int32_t interval, const BarRange& range,
                                  const TradingSession& session, BarMap& bars) {
    KOLVANE_ASSERT_TEXT(!symbol.empty(), "!symbol.IsEmpty()");
    KOLVANE_ASSERT_TEXT(!range.byCount || range.barCount, "barCount");
    KOLVANE_ASSERT(IsValidInterval(interval));
    bars.clear();

    if (range.byCount && range.barCount < 0) {
        KOLVANE_LOG(nullptr, "Bar count %d for '%s' is below 0: no bars\n", range.barCount,
                    symbol.c_str());
        return;
    }
    if (range.byCount && range.barCount > kMaxBarCount) {
        KOLVANE_LOG(nullptr, "Bar count %d for '%s' refused: at most %d bars\n", range.barCount,
                    symbol.c_str(), kMaxBarCount);
        return;
    }
    const bool empty = range.byCount ? range.barCount == 0 : range.endTime < range.startTime;
    if (empty || range.endTime < 0 || !IsValidInterval(interval)) {
        return;
    }

    const HolidayCalendar calendar(manager, symbol);
    GridWalk walk(symbol, interval, range.byCount, range.barCount, range.startTime, bars);
    if (interval > 0) {
        WalkSessions(walk, manager, calendar, symbol, range.endTime, interval, session);
    } else if (interval == biDaily || interval == biWeekly) {
        WalkDaysAndWeeks(walk, calendar, range.endTime, interval);
    } else {
        WalkMonths(walk, range.endTime, interval);
    }
}

TimeValue BarListCreator::GetNonIntradayBarStartTime(TimeValue time, std::int32_t interval) {
    const std::int64_t days = time / kDay;
    switch (interval) {
    case biDaily:
        return static_cast<TimeValue>(days * kDay);
    case biWeekly:
        return static_cast<TimeValue>((days - TimeHelper::GetWeekDay(time)) * kDay);
    case biMonthly:
        return TimeHelper::MakeTimeGMT(TimeHelper::GetYear(time), TimeHelper::GetMonth(time), 1, 0,
                                       0, 0);
    case biQuarterly:
        return TimeHelper::MakeTimeGMT(TimeHelper::GetYear(time),
                                       (TimeHelper::GetMonth(time) - 1) / 3 * 3 + 1, 1, 0, 0, 0);
    default:
        KOLVANE_ASSERT(0);
        return time;
    }
}

bool BarListCreator::IsValidInterval(std::int32_t interval) {
    return interval >= -4 && interval <= 1439 && interval != 0;
}
