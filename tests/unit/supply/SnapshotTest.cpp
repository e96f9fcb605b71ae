#include "SupplierFixture.h"

namespace {

using SnapshotTest = ConnectedTest;

// Requests for one symbol share its quote until the last stops, also when the listener stops them
// while it is called; keys are never reused, also for another symbol.
TEST_F(SnapshotTest, RequestsForOneSymbolShareTheQuoteUntilTheLastStops) {
    const QuoteKey first = supplier.StartSnapshotRequest("IBM");
    const QuoteKey second = supplier.StartSnapshotRequest("IBM");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(std::tuple(second.key, second.quote), std::tuple(first.key + 1, first.quote));
    EXPECT_THAT(listener.snaps, IsEmpty());

    dm->FireQuoteUpdate("IBM", {{qfBid, 10.5}});
    ASSERT_EQ(listener.snaps.size(), 2u);
    EXPECT_EQ(std::tuple(listener.snaps[0].first, listener.snaps[1].first, LastSnap().bid),
              std::tuple(first.key, second.key, 10.5));

    supplier.StopRequest(first);
    dm->FireQuoteUpdate("IBM", {{qfBid, 10.6}});
    ASSERT_EQ(listener.snaps.size(), 3u);
    EXPECT_EQ(listener.snaps[2].first, second.key);
    EXPECT_THAT(dm->calls, ::testing::Not(::testing::Contains("UnsubscribeQuote(IBM)")));
    supplier.StopRequest(second);
    EXPECT_THAT(dm->quotes.at("IBM").listeners, IsEmpty());

    // The record is gone: a late update for the quote is logged and dropped.
    supplier.OnQuoteUpdate(first.quote);
    EXPECT_EQ(listener.snaps.size(), 3u);
    EXPECT_THAT(fake::LogCapture::Lines(),
                ElementsAre(Ignored("Snapshots", "OnQuoteUpdate", "quote")));

    const QuoteKey third = supplier.StartSnapshotRequest("MSFT");
    const QuoteKey fourth = supplier.StartSnapshotRequest("MSFT");
    EXPECT_EQ(third.key, second.key + 1);
    listener.onSnap = [&](const QuoteKey& key) {
        supplier.StopRequest(key);
        if (key.key == third.key) {
            supplier.StopRequest(fourth);
        }
    };
    dm->FireQuoteUpdate("MSFT", {{qfBid, 1.0}});
    EXPECT_EQ(listener.snaps.back().first, third.key);
    EXPECT_EQ(listener.snaps.size(), 4u);
    EXPECT_THAT(dm->quotes.at("MSFT").listeners, IsEmpty());
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
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

// Refused snapshot and tick requests are logged and use no key; options the library does not make
// are reported.
TEST_F(SnapshotTest, RefusedRequestsAreLoggedAndUseNoKey) {
    const QuoteKey before = supplier.StartSnapshotRequest(std::string(24, 'A'));
    ASSERT_TRUE(before);
    dm->refusedSymbols.insert("NOSUCH");
    const std::string tooLong(25, 'B');
    // A snapshot (or a tick) request, its symbol and the line logged.
    const std::tuple<bool, std::string, std::string> cases[] = {
        {true, tooLong, "Bad Snapshot Request. Invalid Symbol Name '" + tooLong + "'\n"},
        {true, "", "Bad Snapshot Request. Invalid Symbol Name ''\n"},
        {true, "NOSUCH", "Unable Subscribe to Quote for 'NOSUCH'\n"},
        {false, tooLong, "Bad Tic Request. Invalid Symbol Name '" + tooLong + "'\n"},
        {false, "NOSUCH", "Unable Subscribe to Tics for 'NOSUCH'\n"},
    };
    for (const auto& [snapshot, symbol, line] : cases) {
        fake::LogCapture::Clear();
        EXPECT_FALSE(snapshot ? supplier.StartSnapshotRequest(symbol).quote != nullptr
                              : supplier.StartTickRequest({symbol, 10}) != nullptr)
            << symbol;
        const char* function =
            snapshot ? "DataSupplier::StartSnapshotRequest" : "DataSupplier::StartTickRequest";
        EXPECT_THAT(fake::LogCapture::Lines(), ElementsAre(fake::Reported(function, line)));
    }
    EXPECT_THAT(dm->calls,
                ::testing::IsSupersetOf({"SubscribeQuote(NOSUCH,1)", "RequestTicks(NOSUCH)"}));
    EXPECT_EQ(supplier.StartSnapshotRequest("IBM").key, before.key + 1);

    dm->failNewOptions = true;
    EXPECT_EQ(supplier.StartTickRequest({"IBM", 10}), nullptr);
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::StartTickRequest", "options.get()")));
    EXPECT_EQ(dm->calls.back(), "NewTickOptions");
}

} // namespace
