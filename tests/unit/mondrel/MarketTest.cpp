// The simulated market: trading hours, and bars that agree with the ticks they come from.
#include "History.h"
#include "SimulatedQuote.h"

#include <gtest/gtest.h>

#include <map>

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

void ExpectSameBars(const std::vector<BarData>& actual, const std::vector<BarData>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "bar at " << expected[i].time);
        EXPECT_EQ(actual[i].time, expected[i].time);
        EXPECT_EQ(actual[i].open, expected[i].open);
        EXPECT_EQ(actual[i].high, expected[i].high);
        EXPECT_EQ(actual[i].low, expected[i].low);
        EXPECT_EQ(actual[i].close, expected[i].close);
        EXPECT_EQ(actual[i].volume, expected[i].volume);
    }
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

TEST(SimulatedMarket, HistoryIsAFunctionOfSymbolTimeAndSeed) {
    const auto first = Bars("MSFT", 5, kTuesday + 18 * 3600, 50);
    ExpectSameBars(Bars("MSFT", 5, kTuesday + 18 * 3600, 50), first);
    BarQuery other;
    other.interval = 5;
    other.end = kTuesday + 18 * 3600;
    other.count = 50;
    const auto reseeded = BuildBars(Symbol("MSFT"), kSeed + 1, other);
    ASSERT_EQ(reseeded.size(), first.size());
    EXPECT_NE(reseeded.back().close, first.back().close);
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
}

TEST(SimulatedMarket, ASessionOutsideTheTradingHoursGivesNoBars) {
    const SessionWindow night{2 * 60, 3 * 60}; // New York is closed from 02:00 to 03:00 UTC
    EXPECT_TRUE(Bars("IBM", 5, kTuesday + 21 * 3600, 10, night).empty());
    EXPECT_TRUE(Bars("IBM", -1, kTuesday + 21 * 3600, 10, night).empty());
}

TEST(SimulatedMarket, QuotesOnlyMarketsBuildBarsFromBids) {
    const auto bars = Bars("EURUSD", 60, kTuesday + 12 * 3600, 5);
    ASSERT_EQ(bars.size(), 5u);
    std::int64_t quotes = 0;
    for (const MarketEvent& e : Events("EURUSD", kTuesday + 11 * 3600, kTuesday + 12 * 3600))
        quotes += e.isTrade ? 0 : 1;
    EXPECT_EQ(bars.back().volume, quotes);
    EXPECT_GT(bars.back().close, 0.5);
}

TEST(SimulatedQuoteFields, FollowTheLatestEvents) {
    const std::int64_t now = kTuesday + 15 * 3600;
    SimulatedQuote quote(Symbol("IBM"), kSeed);
    quote.Load(now);
    FieldMap fields;
    quote.WriteFields(fields);
    const auto lastTrade = LastEventBefore(Symbol("IBM"), kSeed, now, true);
    ASSERT_TRUE(lastTrade);
    EXPECT_EQ(std::get<double>(fields.at(qfTrade)), lastTrade->price);
    EXPECT_EQ(std::get<double>(fields.at(qfLast)), lastTrade->price);
    EXPECT_EQ(std::get<std::int64_t>(fields.at(qfTradeTime)), lastTrade->time);
    EXPECT_EQ(std::get<std::string>(fields.at(qfExchange)), "NYSE");
    EXPECT_EQ(std::get<std::string>(fields.at(qfTitle)), "International Business Machines Corp");
    const auto day = Bars("IBM", -1, now, 1);
    EXPECT_EQ(std::get<double>(fields.at(qfOpen)), day.back().open);
    EXPECT_EQ(std::get<double>(fields.at(qfHigh)), day.back().high);
    EXPECT_EQ(std::get<std::int64_t>(fields.at(qfVolume)), day.back().volume);
    const auto yesterday = Bars("IBM", -1, kTuesday, 1);
    EXPECT_EQ(std::get<double>(fields.at(qfYesterday)), yesterday.back().close);
    EXPECT_GT(std::get<std::int64_t>(fields.at(qfAverageVolume65)), 0);
    EXPECT_GT(std::get<double>(fields.at(qfPeRatio)), 0.0);

    SimulatedQuote fx(Symbol("EURUSD"), kSeed);
    fx.Load(now);
    FieldMap fxFields;
    fx.WriteFields(fxFields);
    EXPECT_EQ(std::get<std::string>(fxFields.at(qfExchange)), "FX");
    EXPECT_EQ(fxFields.count(qfTrade), 0u);
    EXPECT_GT(std::get<double>(fxFields.at(qfBid)), 0.0);
    EXPECT_GT(std::get<std::int64_t>(fxFields.at(qfQuoteTime)), 0);
}

} // namespace
