#include "SupplierFixture.h"

using fake::FakeTickItem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;

namespace {

class TickTest : public SupplierTest {
protected:
    void SetUp() override {
        SupplierTest::SetUp();
        dm = &ConnectAll();
    }

    // Starts a request and gives back the library's set for it.
    fake::FakeTickSet& Start(const std::string& symbol, std::int32_t count) {
        ITickSet* tickSet = supplier.StartTickRequest({symbol, count});
        EXPECT_NE(tickSet, nullptr);
        EXPECT_EQ(tickSet, dm->tickSets.back().get());
        return *dm->tickSets.back();
    }

    static std::vector<FakeTickItem> Trades(int n) {
        std::vector<FakeTickItem> trades;
        for (int i = 0; i < n; ++i) {
            trades.push_back(FakeTickItem::Trade(1000 + i, i, 10 * i, "N"));
        }
        return trades;
    }

    const TickInfo& Delivered() {
        EXPECT_FALSE(listener.tickCalls.empty());
        return listener.tickCalls.back().copy;
    }

    fake::FakeMondrel* dm = nullptr;
};

std::vector<std::string> Describe(const TickInfo& info) {
    std::vector<std::string> lines;
    for (const Tick& t : info.ticks) {
        lines.push_back(std::to_string(t.time) + " " + t.kind + " " + t.exchange + " " +
                        std::to_string(t.price).substr(0, 5) + " " + std::to_string(t.size) +
                        (t.isNew ? " new" : ""));
    }
    return lines;
}

TEST_F(TickTest, BackFillKeepsTheNewestCountAllNewAndAnUpdateMarksOnlyItsOwn) {
    fake::FakeTickSet& set = Start("IBM", 100);
    EXPECT_THAT(set.options->calls, ::testing::IsSupersetOf({"SetLiveUpdates(1)", "SetCount(100)",
                                                             "SetIncludeQuotes(1)"}));
    EXPECT_EQ(set.options->destroyCount, 1);
    EXPECT_THAT(listener.tickCalls, IsEmpty());
    set.BackFill(Trades(120));
    ASSERT_EQ(listener.tickCalls.size(), 1u);
    const TickInfo& filled = Delivered();
    ASSERT_EQ(filled.ticks.size(), 100u);
    EXPECT_EQ(filled.ticks.front().time, 1020);
    EXPECT_EQ(filled.ticks.back().time, 1119);
    for (const Tick& tick : filled.ticks) {
        EXPECT_TRUE(tick.isNew);
        EXPECT_EQ(tick.kind, "trd");
    }

    set.Update(FakeTickItem::Trade(2000, 5.25, 300, "Q"));
    ASSERT_EQ(listener.tickCalls.size(), 2u);
    const TickInfo& updated = Delivered();
    ASSERT_EQ(updated.ticks.size(), 100u);
    EXPECT_EQ(updated.ticks.front().time, 1021);
    EXPECT_THAT(Describe(updated).back(), "2000 trd Q 5.250 300 new");
    EXPECT_EQ(std::count_if(updated.ticks.begin(), updated.ticks.end(),
                            [](const Tick& t) { return t.isNew; }),
              1);
}

TEST_F(TickTest, QuoteTickGivesBidThenAskAndOnlyThePricedSides) {
    fake::FakeTickSet& set = Start("IBM", 10);
    set.BackFill({FakeTickItem::Quote(1, 10.5, 100, 10.6, 200, "B", "A"),
                  FakeTickItem::Quote(2, 10.4, 300, 0, 400, "C", "D"),
                  FakeTickItem::Quote(3, 0, 1, -1, 2, "E", "F"),
                  FakeTickItem::Quote(4, 0, 0, 10.7, 500, "", ""),
                  FakeTickItem::Trade(5, 10.55, 50, ""),
                  FakeTickItem::Trade(6, 1, 1, "ABCDEFGHIJ")}); // exchange codes keep 7 letters
    EXPECT_THAT(Describe(Delivered()),
                ElementsAre("1 bid B 10.50 100 new", "1 ask A 10.60 200 new",
                            "2 bid C 10.40 300 new", "4 ask   10.70 500 new",
                            "5 trd   10.55 50 new", "6 trd ABCDEFG 1.000 1 new"));
}

TEST_F(TickTest, CountZeroOrBelowKeepsTheListEmptyButStillNotifies) {
    fake::FakeTickSet& zero = Start("IBM", 0);
    fake::FakeTickSet& negative = Start("MSFT", -5);
    EXPECT_THAT(negative.options->calls, ::testing::Contains("SetCount(0)"));

    zero.BackFill(Trades(5));
    negative.BackFill(Trades(5));
    zero.Update(FakeTickItem::Trade(9, 1, 1));
    negative.Update(FakeTickItem::Trade(9, 1, 1));
    ASSERT_EQ(listener.tickCalls.size(), 4u);
    for (const TickCall& call : listener.tickCalls) {
        EXPECT_THAT(call.copy.ticks, IsEmpty());
    }
    EXPECT_EQ(listener.tickCalls[3].copy.count, 0);
}

TEST_F(TickTest, SetIsAskedToTrimOncePastTwiceTheCount) {
    fake::FakeTickSet& set = Start("IBM", 2);
    set.BackFill(Trades(3));
    set.Update(FakeTickItem::Trade(10, 1, 1));
    EXPECT_THAT(set.trims, IsEmpty());
    set.Update(FakeTickItem::Trade(11, 1, 1));
    EXPECT_THAT(set.trims, ElementsAre(std::pair(2, 1)));
    EXPECT_EQ(set.items.size(), 2u);
}

TEST_F(TickTest, NotificationsForAStoppedSetAreLoggedAndASecondStopReported) {
    fake::FakeTickSet& set = Start("IBM", 10);
    supplier.StopRequest(&set);
    EXPECT_TRUE(set.stopped);
    set.BackFill(Trades(1));
    set.Update(FakeTickItem::Trade(10, 1, 1));
    EXPECT_THAT(listener.tickCalls, IsEmpty());
    const auto lines = fake::LogCapture::Lines();
    ASSERT_EQ(lines.size(), 2u);
    for (int i : {0, 1}) {
        EXPECT_THAT(lines[i].text, MatchesRegex(std::string("src/supply/DataSupplierTicks\\.cpp\\("
                                                            "[0-9]+\\): DataSupplier::") +
                                                (i ? "OnTicUpdate" : "OnTicBackFillComplete") +
                                                ": Call ignored\\. Unknown tickSet ptr = "
                                                "0x[0-9a-f]{8}\n"));
    }
    supplier.StopRequest(&set);
    EXPECT_EQ(std::count(dm->calls.begin(), dm->calls.end(), "StopTicks(IBM)"), 1);
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::StopRequest", "it != m_ticks.end()")));
}

TEST_F(TickTest, RefusedRequestsAreLoggedAndGiveNoSet) {
    dm->refusedSymbols.insert("NOSUCH");
    EXPECT_EQ(supplier.StartTickRequest({std::string(25, 'B'), 10}), nullptr);
    EXPECT_EQ(supplier.StartTickRequest({"NOSUCH", 10}), nullptr);
    EXPECT_THAT(fake::LogCapture::Lines(),
                ElementsAre(fake::Reported("DataSupplier::StartTickRequest",
                                           "Bad Tic Request. Invalid Symbol Name "
                                           "'BBBBBBBBBBBBBBBBBBBBBBBBB'\n"),
                            fake::Reported("DataSupplier::StartTickRequest",
                                           "Unable Subscribe to Tics for 'NOSUCH'\n")));
    ASSERT_EQ(dm->options.size(), 1u);
    EXPECT_EQ(dm->options[0]->destroyCount, 1);

    dm->failNewOptions = true;
    EXPECT_EQ(supplier.StartTickRequest({"IBM", 10}), nullptr);
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::StartTickRequest", "options.get()")));
    EXPECT_EQ(dm->calls.back(), "NewTickOptions");
}

TEST_F(TickTest, MissingTickOfTheBackFillIsReportedAndSkipped) {
    fake::FakeTickSet& set = Start("IBM", 10);
    set.items.push_back(std::make_unique<FakeTickItem>(FakeTickItem::Trade(1, 1, 1)));
    set.AddMissingItem();
    set.BackFill({FakeTickItem::Trade(3, 1, 1)});
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::OnTick", "tickItem")));
    ASSERT_EQ(Delivered().ticks.size(), 2u);
    EXPECT_EQ(Delivered().ticks.back().time, 3);
}

TEST_F(TickTest, ListenerMayStopTheSetWhileItIsCalled) {
    fake::FakeTickSet& set = Start("IBM", 1);
    set.BackFill(Trades(3));
    listener.onTick = [&](ITickSet* tickSet) { supplier.StopRequest(tickSet); };
    set.Update(FakeTickItem::Trade(10, 1, 1));

    EXPECT_TRUE(set.stopped);
    EXPECT_THAT(set.trims, IsEmpty());
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
}

TEST_F(TickTest, StopAfterDisconnectForgetsTheSetWithoutCallingTheLibrary) {
    fake::FakeTickSet& set = Start("IBM", 10);
    supplier.Disconnect();
    supplier.StopRequest(&set);
    EXPECT_FALSE(set.stopped);
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::StopRequest",
                                           "GetCompositeState() != ecsDisconnected"),
                            fake::Reported("DataSupplier::StopRequest", "m_mondrel")));
    // The record is gone: a late notification finds nothing.
    supplier.OnTicBackFillComplete(&set);
    EXPECT_EQ(fake::LogCapture::Lines().size(), 1u);
}

} // namespace
