#include "SupplierFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;

namespace {

class SnapshotTest : public SupplierTest {
protected:
    void SetUp() override {
        SupplierTest::SetUp();
        dm = &ConnectAll();
    }

    const SnapshotInfo& LastRecord() {
        EXPECT_FALSE(listener.snapCalls.empty());
        return listener.snapCalls.back().copy;
    }

    fake::FakeMondrel* dm = nullptr;
};

TEST_F(SnapshotTest, RequestsForOneSymbolShareTheQuoteUntilTheLastStops) {
    const QuoteKey first = supplier.StartSnapshotRequest("IBM");
    const QuoteKey second = supplier.StartSnapshotRequest("IBM");
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_EQ(second.key, first.key + 1);
    EXPECT_EQ(second.quote, first.quote);
    EXPECT_EQ(first.quote, dm->Quote("IBM"));
    EXPECT_THAT(listener.snapCalls, IsEmpty());

    dm->FireQuoteUpdate("IBM", {{qfBid, 10.5}});
    ASSERT_EQ(listener.snapCalls.size(), 2u);
    EXPECT_EQ(listener.snapCalls[0].key.key, first.key);
    EXPECT_EQ(listener.snapCalls[1].key.key, second.key);
    EXPECT_EQ(listener.snapCalls[0].record, listener.snapCalls[1].record);
    EXPECT_EQ(listener.snapCalls[0].copy.bid, 10.5);

    supplier.StopRequest(first);
    EXPECT_THAT(dm->Quote("IBM")->subscribers, ElementsAre(&supplier, &supplier));
    dm->FireQuoteUpdate("IBM", {{qfBid, 10.6}});
    ASSERT_EQ(listener.snapCalls.size(), 3u);
    EXPECT_EQ(listener.snapCalls[2].key.key, second.key);

    supplier.StopRequest(second);
    EXPECT_EQ(std::count(dm->calls.begin(), dm->calls.end(), "UnsubscribeQuote(IBM)"), 1);
    EXPECT_THAT(dm->Quote("IBM")->subscribers, IsEmpty());

    // The record is gone: a late update for the quote is logged and dropped.
    supplier.OnQuoteUpdate(first.quote);
    EXPECT_EQ(listener.snapCalls.size(), 3u);
    const auto lines = fake::LogCapture::Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_THAT(lines[0].text,
                MatchesRegex("src/supply/DataSupplierSnapshots\\.cpp\\([0-9]+\\): "
                             "DataSupplier::OnQuoteUpdate: Call ignored\\. Unknown quote ptr = "
                             "0x[0-9a-f]{8}\n"));
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
    EXPECT_DOUBLE_EQ(LastRecord().spread, -0.5);
    EXPECT_DOUBLE_EQ(LastRecord().percentInRange, 75);
    EXPECT_DOUBLE_EQ(LastRecord().netPercent, 10);
    // A text that fills the library's buffer without its terminator is read to the buffer's end.
    EXPECT_EQ(LastRecord().title, std::string(256, 'T'));

    dm->FireQuoteUpdate("IBM", {{qfAsk, 11.0}});
    EXPECT_EQ(LastRecord().bid, 10);
    EXPECT_EQ(LastRecord().title, std::string(256, 'T'));
    EXPECT_DOUBLE_EQ(LastRecord().spread, -1);
    EXPECT_DOUBLE_EQ(LastRecord().percentInRange, 75);

    // Percentages are zero instead of a division by zero.
    dm->FireQuoteUpdate("IBM", {{qfLast, 5.0}, {qfHigh, 5.0}, {qfLow, 5.0}, {qfYesterday, 0.0}});
    EXPECT_EQ(LastRecord().percentInRange, 0);
    EXPECT_EQ(LastRecord().netPercent, 0);
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
        const SnapshotInfo& s = LastRecord();
        return std::tuple(s.bestBid, s.bestBidSize, s.bestBidExchange, s.bestAsk, s.bestAskSize,
                          s.bestAskExchange);
    };
    EXPECT_EQ(quote(10, 1, "N", 11, 2, "Q"), std::tuple(10, 1, "N", 11, 2, "Q"));
    EXPECT_EQ(quote(10.5, 3, "P", 10.8, 4, "P"), std::tuple(10, 1, "N", 11, 2, "Q"));
    EXPECT_EQ(quote(9.5, 5, "B", 11.5, 6, "C"), std::tuple(9.5, 5, "B", 11.5, 6, "C"));
}

class TradeFieldsTest : public SnapshotTest, public ::testing::WithParamInterface<const char*> {};

// Foreign exchange ("FX" in any letter case, and nothing else) has its trade fields from the bid
// side.
TEST_P(TradeFieldsTest, ComeFromTheBidSideOnlyForForeignExchange) {
    const bool fx = std::string(GetParam()) != "FXE";
    supplier.StartSnapshotRequest("EUR/USD");
    dm->FireQuoteUpdate("EUR/USD", {{qfTradeTime, 100},
                                    {qfQuoteTime, 200},
                                    {qfTradeSize, 1},
                                    {qfBidSize, 7},
                                    {qfTrade, 1.5},
                                    {qfBid, 1.1},
                                    {qfExchange, std::string(GetParam())},
                                    {qfTradeExchange, std::string("T")},
                                    {qfBidExchange, std::string("BX")}});
    const SnapshotInfo& s = LastRecord();
    EXPECT_EQ(s.trade, fx ? 1.1 : 1.5);
    EXPECT_EQ(s.tradeSize, fx ? 7 : 1);
    EXPECT_EQ(s.tradeExchange, fx ? "BX" : "T");
    EXPECT_EQ(s.tradeTime, fx ? 200 : 100);
    if (fx) {
        EXPECT_EQ(s.lastExtendedHours, 1.5);
    }

    // Without its own field the trade time keeps the ordinary one.
    dm->FireQuoteUpdate("EUR/USD", {{qfTradeTime, 300}});
    EXPECT_EQ(LastRecord().tradeTime, 300);
}

INSTANTIATE_TEST_SUITE_P(Exchanges, TradeFieldsTest,
                         ::testing::Values("FX", "fx", "Fx", "fX", "FXE"));

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

    ASSERT_EQ(listener.snapCalls.size(), 1u);
    EXPECT_EQ(listener.snapCalls[0].key.key, first.key);
    EXPECT_THAT(dm->Quote("IBM")->subscribers, IsEmpty());
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
}

} // namespace
