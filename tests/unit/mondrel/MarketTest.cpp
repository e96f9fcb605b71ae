// The simulated market: trading hours, and bars that agree with the ticks they come from.
#include "History.h"
#include "SimulatedQuote.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace mondrel;

namespace {

constexpr std::uint64_t kSeed = 7;
constexpr std::int64_t kTuesday = 1784592000; // 2026-07-21 00:00 UTC
constexpr std::int64_t kDay = 86400;

const SymbolInfo& Symbol(const char* name) {
    const SymbolInfo* info = FindSymbol(name);
    EXPECT_NE(info, nullptr) << name;
    return *info;
}

std::vector<MarketEvent> Events(const char* symbol, std::int64_t from, std::int64_t to) {
    std::vector<MarketEvent> events;
    CollectEvents(Symbol(symbol), kSeed, from, to, events);
    return events;
}

std::vector<BarData> Bars(const char* symbol, int interval, std::int64_t end, int count,
                          SessionWindow window = {}) {
    BarQuery query;
    query.interval = interval;
    query.end = end;
    query.count = count;
    query.window = window;
    query.source = SourceFor(Symbol(symbol), false);
    return BuildBars(Symbol(symbol), kSeed, query);
}

std::vector<std::tuple<std::int64_t, double, double, double, double, std::int64_t>>
Fields(const std::vector<BarData>& bars) {
    std::vector<std::tuple<std::int64_t, double, double, double, double, std::int64_t>> fields;
    for (const BarData& b : bars)
        fields.emplace_back(b.time, b.open, b.high, b.low, b.close, b.volume);
    return fields;
}

void ExpectSameBars(const std::vector<BarData>& actual, const std::vector<BarData>& expected) {
    EXPECT_EQ(Fields(actual), Fields(expected));
}

// Regroups finer bars into coarser ones with the given start time of each.
template <typename StartOf>
std::vector<BarData> Regroup(const std::vector<BarData>& fine, StartOf startOf) {
    std::map<std::int64_t, BarData> coarse;
    for (const BarData& bar : fine) {
        BarData& target = coarse[startOf(bar.time)];
        target.time = startOf(bar.time);
        target.Merge(bar);
    }
    std::vector<BarData> result;
    for (auto& [time, bar] : coarse)
        result.push_back(bar);
    return result;
}

TEST(SimulatedMarket, EventsFallOnlyIntoTradingHours) {
    // New York 09:30-16:00 in summer is 13:30-20:00 UTC.
    const auto ibm = Events("IBM", kTuesday, kTuesday + kDay);
    ASSERT_FALSE(ibm.empty());
    EXPECT_EQ(ibm.front().time / 60 * 60 >= kTuesday + 13 * 3600 + 1800, true);
    EXPECT_LT(ibm.back().time, kTuesday + 20 * 3600);
    EXPECT_TRUE(Events("IBM", kTuesday - 2 * kDay, kTuesday - kDay).empty()); // Sunday
    EXPECT_TRUE(Events("IBM", 1775174400, 1775174400 + kDay).empty());        // Good Friday
    EXPECT_FALSE(Events("BTCUSD", kTuesday - 2 * kDay, kTuesday - kDay).empty());
    // Tokyo trades 09:00-15:00 JST: 00:00-06:00 UTC.
    const auto toyota = Events("7203", kTuesday, kTuesday + kDay);
    ASSERT_FALSE(toyota.empty());
    EXPECT_LT(toyota.back().time, kTuesday + 6 * 3600);
    for (const MarketEvent& e : Events("EURUSD", kTuesday, kTuesday + 3600))
        EXPECT_FALSE(e.isTrade);
}

TEST(SimulatedMarket, MinuteBarsAreTheTradesOfTheirMinute) {
    const std::int64_t end = kTuesday + 21 * 3600;
    std::vector<BarData> expected;
    for (const MarketEvent& e : RecentEvents(Symbol("IBM"), kSeed, end, 100000, false, 1)) {
        if (expected.empty() || expected.back().time != e.time / 60 * 60)
            expected.push_back(BarData{e.time / 60 * 60});
        expected.back().Add(e.price, e.size);
    }
    ASSERT_GT(expected.size(), 300u);
    ExpectSameBars(Bars("IBM", 1, end, static_cast<int>(expected.size())), expected);
}

TEST(SimulatedMarket, CoarserIntervalsMergeFinerBars) {
    const std::int64_t end = kTuesday + 21 * 3600;
    const auto minutes = Bars("AAPL", 1, end, 390);
    const auto fiveMinutes = Bars("AAPL", 5, end, 78);
    ExpectSameBars(fiveMinutes, Regroup(minutes, [](std::int64_t t) { return t / 300 * 300; }));
    // The day's bar is the merge of all its minutes.
    const auto daily = Bars("AAPL", -1, kTuesday + kDay, 1);
    ExpectSameBars(daily, Regroup(Bars("AAPL", 1, kTuesday + kDay, 390),
                                  [](std::int64_t) { return kTuesday; }));
    // Weeks (from Sunday) and months are merges of days.
    const std::int64_t sunday = kTuesday - 2 * kDay;
    const auto days = Bars("AAPL", -1, sunday + 7 * kDay, 5);
    ExpectSameBars(Bars("AAPL", -2, sunday + 7 * kDay, 1),
                   Regroup(days, [&](std::int64_t) { return sunday; }));
    // 17 trading days from 1 July 2026 (3 July is the observed Independence Day).
    const auto july = Bars("AAPL", -1, sunday + 7 * kDay, 17);
    const std::int64_t firstOfJuly = kTuesday - 20 * kDay;
    ASSERT_EQ(july.front().time, firstOfJuly);
    ExpectSameBars(Bars("AAPL", -3, sunday + 7 * kDay, 1),
                   Regroup(july, [&](std::int64_t) { return firstOfJuly; }));
}

TEST(SimulatedMarket, SessionWindowsLimitAndAlignBars) {
    // 14:45 to 16:59 UTC, 30-minute bars: counted from the window start.
    const SessionWindow window{14 * 60 + 45, 16 * 60 + 59};
    const auto bars = Bars("KO", 30, kTuesday + 21 * 3600, 100, window);
    ASSERT_FALSE(bars.empty());
    EXPECT_EQ(bars.front().time % 86400 >= 14 * 3600 + 2700, true);
    for (const BarData& bar : bars) {
        EXPECT_EQ((bar.time - (kTuesday + 14 * 3600 + 2700)) % 1800, 0) << bar.time;
        EXPECT_LE(bar.time % 86400, 16 * 3600 + 45 * 60);
    }
    // The window's minutes hold exactly the trades inside it.
    std::int64_t volume = 0;
    for (const MarketEvent& e : Events("KO", kTuesday + 14 * 3600 + 2700, kTuesday + 17 * 3600))
        volume += e.isTrade ? e.size : 0;
    const auto day = Bars("KO", -1, kTuesday + kDay, 1, window);
    ASSERT_EQ(day.size(), 1u);
    EXPECT_EQ(day.front().volume, volume);
    // New York is closed from 02:00 to 03:00 UTC.
    EXPECT_TRUE(Bars("IBM", 5, kTuesday + 21 * 3600, 10, {2 * 60, 3 * 60}).empty());
}

} // namespace
