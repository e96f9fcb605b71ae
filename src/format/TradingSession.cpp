#include "TradingSession.h"

namespace {

constexpr std::int64_t kDay = 86400;

std::int64_t FloorMod(std::int64_t value, std::int64_t divisor) {
    const std::int64_t rest = value % divisor;
    return rest < 0 ? rest + divisor : rest;
}

std::int64_t TimeOfDay(std::int64_t t) {
    return FloorMod(t, kDay);
}

std::int64_t DayOf(std::int64_t t) {
    return t - TimeOfDay(t);
}

std::int64_t MinuteOfDay(std::int64_t t) {
    return TimeOfDay(t) / 60;
}

std::int64_t StartMinute(const TradingSession& s) {
    return MinuteOfDay(s.start);
}

std::int64_t EndMinute(const TradingSession& s) {
    return MinuteOfDay(s.end);
}

} // namespace

std::int64_t GetSessionLength(const TradingSession& s) {
    const std::int64_t minutes = FloorMod((static_cast<std::int64_t>(s.end) - s.start) / 60, 1440);
    return minutes == 0 ? 1440 : minutes;
}

bool CrossesMidnight(const TradingSession& s) {
    return EndMinute(s) < StartMinute(s);
}

bool IsInSession(const TradingSession& s, std::int64_t t) {
    const std::int64_t start = StartMinute(s);
    const std::int64_t end = EndMinute(s);
    if (start == 0 && end == 0) {
        return true;
    }
    const std::int64_t minute = MinuteOfDay(t);
    if (start < end) {
        return start <= minute && minute <= end;
    }
    // Crossing midnight, or start equal to end: the session wraps around the day.
    return minute >= start || minute <= end;
}

std::int64_t GetSessionStart(const TradingSession& s, std::int64_t t) {
    const std::int64_t start = DayOf(t) + TimeOfDay(s.start);
    return start > t ? start - kDay : start;
}

std::int64_t GetBarStartTime(std::int64_t t, std::int32_t interval, const TradingSession& s) {
    if (!IsInSession(s, t)) {
        return 0;
    }
    // Counted from the session that holds t: for a session crossing midnight that is today's
    // start in the evening and yesterday's in the morning. Never negative.
    const std::int64_t minutes = (t - GetSessionStart(s, t)) / 60;
    const std::int64_t rest = minutes % interval;
    return (t - FloorMod(t, 60)) - rest * 60;
}

std::int64_t GetLastBarStartTime(std::int64_t endTime, std::int32_t interval,
                                 const TradingSession& s) {
    if (IsInSession(s, endTime)) {
        return GetBarStartTime(endTime, interval, s);
    }
    const std::int64_t last = GetBarStartTime(DayOf(endTime) + TimeOfDay(s.end), interval, s);
    return endTime < last ? last - kDay : last;
}

TradingSession MakeTradingSession(std::int64_t start, std::int64_t end) {
    return {static_cast<TimeValue>(MinuteOfDay(start) * 60),
            static_cast<TimeValue>(MinuteOfDay(end) * 60)};
}
