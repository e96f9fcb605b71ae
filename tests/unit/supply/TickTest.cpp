#include "SupplierFixture.h"

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
    mondrel::TickSet& Start(const std::string& symbol, std::int32_t count) {
        ITickSet* tickSet = supplier.StartTickRequest({symbol, count});
        EXPECT_NE(tickSet, nullptr);
        EXPECT_EQ(tickSet, dm->tickSets.back().get());
        return *dm->tickSets.back();
    }

    static std::vector<mondrel::TickData> Trades(int n) {
        std::vector<mondrel::TickData> trades;
        for (int i = 0; i < n; ++i) {
            trades.push_back(fake::Trade(1000 + i, i, 10 * i, "N"));
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
    mondrel::TickSet& set = Start("IBM", 100);
    EXPECT_EQ(std::tuple(set.settings.liveUpdates, set.settings.count, set.settings.includeQuotes),
              std::tuple(true, 100, true));
    EXPECT_THAT(listener.tickCalls, IsEmpty());
    fake::BackFill(set, Trades(120));
    ASSERT_EQ(listener.tickCalls.size(), 1u);
    const TickInfo& filled = Delivered();
    ASSERT_EQ(filled.ticks.size(), 100u);
    EXPECT_EQ(filled.ticks.front().time, 1020);
    EXPECT_EQ(filled.ticks.back().time, 1119);
    for (const Tick& tick : filled.ticks) {
        EXPECT_TRUE(tick.isNew);
        EXPECT_EQ(tick.kind, "trd");
    }

    fake::Update(set, fake::Trade(2000, 5.25, 300, "Q"));
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
    mondrel::TickSet& set = Start("IBM", 10);
    fake::BackFill(set, {fake::Quote(1, 10.5, 100, 10.6, 200, "B", "A"),
                         fake::Quote(2, 10.4, 300, 0, 400, "C", "D"),
                         fake::Quote(3, 0, 1, -1, 2, "E", "F"),
                         fake::Quote(4, 0, 0, 10.7, 500, "", ""), fake::Trade(5, 10.55, 50, ""),
                         fake::Trade(6, 1, 1, "ABCDEFGHIJ")}); // exchange codes keep 7 letters
    EXPECT_THAT(Describe(Delivered()),
                ElementsAre("1 bid B 10.50 100 new", "1 ask A 10.60 200 new",
                            "2 bid C 10.40 300 new", "4 ask   10.70 500 new",
                            "5 trd   10.55 50 new", "6 trd ABCDEFG 1.000 1 new"));
}

TEST_F(TickTest, CountZeroOrBelowKeepsTheListEmptyButStillNotifies) {
    mondrel::TickSet& zero = Start("IBM", 0);
    mondrel::TickSet& negative = Start("MSFT", -5);
    EXPECT_EQ(negative.settings.count, 0);

    fake::BackFill(zero, Trades(5));
    fake::BackFill(negative, Trades(5));
    fake::Update(zero, fake::Trade(9, 1, 1));
    fake::Update(negative, fake::Trade(9, 1, 1));
    ASSERT_EQ(listener.tickCalls.size(), 4u);
    for (const TickCall& call : listener.tickCalls) {
        EXPECT_THAT(call.copy.ticks, IsEmpty());
    }
    EXPECT_EQ(listener.tickCalls[3].copy.count, 0);
}

TEST_F(TickTest, SetIsAskedToTrimOncePastTwiceTheCount) {
    mondrel::TickSet& set = Start("IBM", 2);
    fake::BackFill(set, Trades(3));
    fake::Update(set, fake::Trade(10, 1, 1));
    EXPECT_EQ(set.items.size(), 4u);
    fake::Update(set, fake::Trade(11, 1, 1));
    EXPECT_EQ(set.items.size(), 2u);
}

TEST_F(TickTest, NotificationsForAStoppedSetAreLoggedAndASecondStopReported) {
    mondrel::TickSet& set = Start("IBM", 10);
    supplier.StopRequest(&set);
    EXPECT_TRUE(fake::Stopped(set));
    fake::BackFill(set, Trades(1));
    fake::Update(set, fake::Trade(10, 1, 1));
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

    dm->failNewOptions = true;
    EXPECT_EQ(supplier.StartTickRequest({"IBM", 10}), nullptr);
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::StartTickRequest", "options.get()")));
    EXPECT_EQ(dm->calls.back(), "NewTickOptions");
}

TEST_F(TickTest, MissingTickOfTheBackFillIsReportedAndSkipped) {
    mondrel::TickSet& set = Start("IBM", 10);
    set.Append(fake::Trade(1, 1, 1));
    set.items.push_back(nullptr);
    fake::BackFill(set, {fake::Trade(3, 1, 1)});
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::OnTick", "tickItem")));
    ASSERT_EQ(Delivered().ticks.size(), 2u);
    EXPECT_EQ(Delivered().ticks.back().time, 3);
}

TEST_F(TickTest, ListenerMayStopTheSetWhileItIsCalled) {
    mondrel::TickSet& set = Start("IBM", 1);
    fake::BackFill(set, Trades(3));
    listener.onTick = [&](ITickSet* tickSet) { supplier.StopRequest(tickSet); };
    fake::Update(set, fake::Trade(10, 1, 1));

    EXPECT_TRUE(fake::Stopped(set));
    EXPECT_EQ(set.items.size(), 4u);
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
}

} // namespace
