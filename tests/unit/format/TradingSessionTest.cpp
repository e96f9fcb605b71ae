#include "TradingSession.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr std::int64_t kMonday = 1248048000; // 2009-07-20 00:00:00 UTC

constexpr std::int64_t At(int hour, int minute) {
    return kMonday + hour * 3600 + minute * 60;
}

constexpr TimeValue Hm(int hour, int minute) {
    return hour * 3600 + minute * 60;
}

TEST(TradingSessionShape, AnyClientValuesStayInRange) {
    constexpr TimeValue lo = std::numeric_limits<TimeValue>::min();
    constexpr TimeValue hi = std::numeric_limits<TimeValue>::max();
    for (const TradingSession s : {TradingSession{lo, hi}, TradingSession{hi, lo},
                                   TradingSession{-60, 60}, TradingSession{lo, lo}}) {
        const std::int64_t length = GetSessionLength(s);
        EXPECT_GE(length, 1);
        EXPECT_LE(length, 1440);
        const std::int64_t start = GetSessionStart(s, At(12, 0));
        EXPECT_LE(start, At(12, 0));
        EXPECT_GT(start, At(12, 0) - 86400);
    }
    // A negative time of day is a time of the day before: -60 s is 23:59.
    EXPECT_TRUE(IsInSession({-60, Hm(1, 0)}, At(23, 59)));
    EXPECT_FALSE(IsInSession({-60, Hm(1, 0)}, At(23, 58)));
}

} // namespace
