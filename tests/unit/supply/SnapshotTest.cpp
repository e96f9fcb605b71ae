#include "SupplierFixture.h"

namespace {

using SnapshotTest = ConnectedTest;

TEST_F(SnapshotTest, RequestsForOneSymbolShareTheQuoteUntilTheLastStops) {
    const QuoteKey first = supplier.StartSnapshotRequest("IBM");
    const QuoteKey second = supplier.StartSnapshotRequest("IBM");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second.key, first.key + 1);
    EXPECT_EQ(second.quote, first.quote);
    EXPECT_THAT(listener.snaps, IsEmpty());

    dm->FireQuoteUpdate("IBM", {{qfBid, 10.5}});
    ASSERT_EQ(listener.snaps.size(), 2u);
    EXPECT_EQ(std::tuple(listener.snaps[0].first, listener.snaps[1].first),
              std::tuple(first.key, second.key));
    EXPECT_EQ(listener.snaps[1].second.bid, 10.5);

    supplier.StopRequest(first);
    dm->FireQuoteUpdate("IBM", {{qfBid, 10.6}});
    ASSERT_EQ(listener.snaps.size(), 3u);
    EXPECT_EQ(listener.snaps[2].first, second.key);
    EXPECT_THAT(dm->calls, ::testing::Not(::testing::Contains("UnsubscribeQuote(IBM)")));
    supplier.StopRequest(second);
    EXPECT_THAT(dm->Quote("IBM")->listeners, IsEmpty());

    // The record is gone: a late update for the quote is logged and dropped.
    supplier.OnQuoteUpdate(first.quote);
    EXPECT_EQ(listener.snaps.size(), 3u);
    const auto lines = fake::LogCapture::Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_THAT(lines[0].text,
                ::testing::MatchesRegex("src/supply/DataSupplierSnapshots\\.cpp\\([0-9]+\\): "
                                        "DataSupplier::OnQuoteUpdate: Call ignored\\. Unknown "
                                        "quote ptr = 0x[0-9a-f]{8}\n"));
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());

    // Keys are never reused, also for another symbol.
    EXPECT_EQ(supplier.StartSnapshotRequest("MSFT").key, second.key + 1);
}

TEST_F(SnapshotTest, MissingFieldsKeepTheirValuesAndFeedTheDerivedOnes) {
    supplier.StartSnapshotRequest("IBM");
    dm->FireQuoteUpdate("IBM", {{qfBid, 10.0},
                                {qfAsk, 10.5},
                                {qfLast, 11.0},
                                {qfHigh, 12.0},
                                {qfLow, 8.0},
                                {qfYesterday, 10.0},
                                {qfTitle, std::string(300, 'T')}});
    EXPECT_EQ(std::tuple(LastSnap().spread, LastSnap().percentInRange, LastSnap().netPercent),
              std::tuple(-0.5, 75, 10));
    // The library's buffer of 256 bytes keeps 255 characters.
    EXPECT_EQ(LastSnap().title, std::string(255, 'T'));

    dm->FireQuoteUpdate("IBM", {{qfAsk, 11.0}});
    EXPECT_EQ(
        std::tuple(LastSnap().bid, LastSnap().spread, LastSnap().percentInRange, LastSnap().title),
        std::tuple(10, -1, 75, std::string(255, 'T')));

    // Percentages are zero instead of a division by zero.
    dm->FireQuoteUpdate("IBM", {{qfLast, 5.0}, {qfHigh, 5.0}, {qfLow, 5.0}, {qfYesterday, 0.0}});
    EXPECT_EQ(std::tuple(LastSnap().percentInRange, LastSnap().netPercent), std::tuple(0, 0));
}

TEST_F(SnapshotTest, BestBidIsTheLowestAndBestAskTheHighestSeen) {
    supplier.StartSnapshotRequest("IBM");
    auto quote = [&](double bid, int bidSize, const char* bidEx, double ask, int askSize,
                     const char* askEx) {
        dm->FireQuoteUpdate("IBM", {{qfBidSize, bidSize},
                                    {qfAskSize, askSize},
                                    {qfBid, bid},
                                    {qfAsk, ask},
                                    {qfBidExchange, std::string(bidEx)},
                                    {qfAskExchange, std::string(askEx)}});
        const SnapshotInfo& s = LastSnap();
        return std::tuple(s.bestBid, s.bestBidSize, s.bestBidExchange, s.bestAsk, s.bestAskSize,
                          s.bestAskExchange);
    };
    EXPECT_EQ(quote(10, 1, "N", 11, 2, "Q"), std::tuple(10, 1, "N", 11, 2, "Q"));
    EXPECT_EQ(quote(10.5, 3, "P", 10.8, 4, "P"), std::tuple(10, 1, "N", 11, 2, "Q"));
    EXPECT_EQ(quote(9.5, 5, "B", 11.5, 6, "C"), std::tuple(9.5, 5, "B", 11.5, 6, "C"));
}

// Foreign exchange ("FX" in any letter case, and nothing else) has its trade fields from the bid
// side; without its own field the trade time keeps the ordinary one.
TEST_F(SnapshotTest, TradeFieldsComeFromTheBidSideOnlyForForeignExchange) {
    supplier.StartSnapshotRequest("EUR/USD");
    for (const std::string exchange : {"FX", "fx", "Fx", "fX", "FXE"}) {
        const bool fx = exchange != "FXE";
        dm->FireQuoteUpdate("EUR/USD", {{qfTradeTime, 100},
                                        {qfQuoteTime, 200},
                                        {qfTradeSize, 1},
                                        {qfBidSize, 7},
                                        {qfTrade, 1.5},
                                        {qfBid, 1.1},
                                        {qfExchange, exchange},
                                        {qfTradeExchange, std::string("T")},
                                        {qfBidExchange, std::string("BX")}});
        const SnapshotInfo& s = LastSnap();
        EXPECT_EQ(std::tuple(s.trade, s.tradeSize, s.tradeExchange, s.tradeTime),
                  fx ? std::tuple(1.1, 7, "BX", 200) : std::tuple(1.5, 1, "T", 100))
            << exchange;
        EXPECT_EQ(s.lastExtendedHours, 1.5) << exchange;
        dm->FireQuoteUpdate("EUR/USD", {{qfTradeTime, 300}});
        EXPECT_EQ(LastSnap().tradeTime, 300) << exchange;
    }
}

TEST_F(SnapshotTest, RefusedSymbolsUseNoKey) {
    const QuoteKey before = supplier.StartSnapshotRequest(std::string(24, 'A'));
    ASSERT_TRUE(before);
    dm->refusedSymbols.insert("NOSUCH");
    const std::pair<std::string, std::string> cases[] = {
        {std::string(25, 'B'),
         "Bad Snapshot Request. Invalid Symbol Name '" + std::string(25, 'B') + "'\n"},
        {"", "Bad Snapshot Request. Invalid Symbol Name ''\n"},
        {"NOSUCH", "Unable Subscribe to Quote for 'NOSUCH'\n"},
    };
    for (const auto& [symbol, line] : cases) {
        fake::LogCapture::Clear();
        EXPECT_FALSE(supplier.StartSnapshotRequest(symbol).quote) << symbol;
        EXPECT_THAT(fake::LogCapture::Lines(),
                    ElementsAre(fake::Reported("DataSupplier::StartSnapshotRequest", line)));
    }
    EXPECT_EQ(dm->calls.back(), "SubscribeQuote(NOSUCH,1)");
    EXPECT_EQ(supplier.StartSnapshotRequest("IBM").key, before.key + 1);
}

TEST_F(SnapshotTest, ListenerMayStopRequestsWhileItIsCalled) {
    const QuoteKey first = supplier.StartSnapshotRequest("IBM");
    const QuoteKey second = supplier.StartSnapshotRequest("IBM");
    listener.onSnap = [&](const QuoteKey& key) {
        supplier.StopRequest(key);
        if (key.key == first.key) {
            supplier.StopRequest(second);
        }
    };
    dm->FireQuoteUpdate("IBM", {{qfBid, 1.0}});
    ASSERT_EQ(listener.snaps.size(), 1u);
    EXPECT_EQ(listener.snaps[0].first, first.key);
    EXPECT_THAT(dm->Quote("IBM")->listeners, IsEmpty());
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
}

} // namespace
