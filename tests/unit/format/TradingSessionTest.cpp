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

const TradingSession kOvernight{Hm(22, 0), Hm(21, 0)};

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

TEST(TradingSessionBars, CountFromTheirOwnSessionStart) {
    // Evening: from today's 22:00, so the first bar starts at 22:00, not before the session.
    EXPECT_EQ(GetBarStartTime(At(22, 3), 7, kOvernight), At(22, 0));
    // Morning: from yesterday's 22:00; 180 minutes is 25 x 7 + 5.
    EXPECT_EQ(GetBarStartTime(At(1, 0), 7, kOvernight), At(0, 55));
    // A whole-day session starting at 09:30: before 09:30 counts from yesterday's start.
    EXPECT_EQ(GetBarStartTime(At(9, 0), 60, {Hm(9, 30), Hm(9, 30)}), At(8, 30));
    EXPECT_FALSE(IsInSession(kOvernight, At(21, 30)));
    EXPECT_EQ(GetBarStartTime(At(21, 30), 30, kOvernight), 0); // outside
    // Before the session the newest bar is that of yesterday's session end.
    EXPECT_EQ(GetLastBarStartTime(At(10, 0), 30, {Hm(13, 30), Hm(20, 0)}), At(20, 0) - 86400);
}

TEST(TradingSessionNormalising, KeepsWholeMinutesOfTheTimeOfDay) {
    const TradingSession s = MakeTradingSession(90000 + 59, -3600);
    EXPECT_EQ(s.start, Hm(1, 0));
    EXPECT_EQ(s.end, Hm(23, 0));
}

} // namespace
