#include "SupplierFixture.h"

namespace {

class TickTest : public ConnectedTest {
protected:
    // Starts a request and gives back the library's set for it.
    mondrel::TickSet& Start(const std::string& symbol, std::int32_t count) {
        ITickSet* tickSet = supplier.StartTickRequest({symbol, count});
        EXPECT_EQ(tickSet, dm->tickSets.back().get());
        return *dm->tickSets.back();
    }

    const TickInfo& Delivered() {
        EXPECT_FALSE(listener.ticks.empty());
        return listener.ticks.back();
    }
};

std::vector<mondrel::TickData> Trades(int n) {
    std::vector<mondrel::TickData> trades;
    for (int i = 0; i < n; ++i) {
        trades.push_back(fake::Trade(1000 + i, i, 10 * i, "N"));
    }
    return trades;
}

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
    EXPECT_THAT(listener.ticks, IsEmpty());
    fake::BackFill(set, Trades(120));
    ASSERT_EQ(listener.ticks.size(), 1u);
    ASSERT_EQ(Delivered().ticks.size(), 100u);
    EXPECT_EQ(Delivered().ticks.front().time, 1020);
    EXPECT_EQ(Describe(Delivered()).back(), "1119 trd N 119.0 1190 new");
    EXPECT_TRUE(std::all_of(Delivered().ticks.begin(), Delivered().ticks.end(),
                            [](const Tick& t) { return t.isNew; }));

    fake::Update(set, fake::Trade(2000, 5.25, 300, "Q"));
    ASSERT_EQ(Delivered().ticks.size(), 100u);
    EXPECT_EQ(Delivered().ticks.front().time, 1021);
    EXPECT_EQ(Describe(Delivered()).back(), "2000 trd Q 5.250 300 new");
    EXPECT_EQ(std::count_if(Delivered().ticks.begin(), Delivered().ticks.end(),
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

// A count of zero or below keeps the list empty but still notifies; the library's set is asked to
// trim once it holds more than twice the count.
TEST_F(TickTest, TheCountBoundsTheListAndTheLibrarySet) {
    mondrel::TickSet& zero = Start("IBM", 0);
    mondrel::TickSet& negative = Start("MSFT", -5);
    EXPECT_EQ(negative.settings.count, 0);
    for (mondrel::TickSet* set : {&zero, &negative}) {
        fake::BackFill(*set, Trades(5));
        fake::Update(*set, fake::Trade(9, 1, 1));
    }
    ASSERT_EQ(listener.ticks.size(), 4u);
    for (const TickInfo& info : listener.ticks) {
        EXPECT_THAT(info.ticks, IsEmpty());
        EXPECT_EQ(info.count, 0);
    }

    mondrel::TickSet& two = Start("IBM", 2);
    fake::BackFill(two, Trades(3));
    fake::Update(two, fake::Trade(10, 1, 1));
    EXPECT_EQ(two.items.size(), 4u);
    fake::Update(two, fake::Trade(11, 1, 1));
    EXPECT_EQ(two.items.size(), 2u);
}

TEST_F(TickTest, NotificationsForAStoppedSetAreLoggedAndASecondStopReported) {
    mondrel::TickSet& set = Start("IBM", 10);
    supplier.StopRequest(&set);
    EXPECT_TRUE(fake::Stopped(set));
    fake::BackFill(set, Trades(1));
    fake::Update(set, fake::Trade(10, 1, 1));
    EXPECT_THAT(listener.ticks, IsEmpty());
    const auto lines = fake::LogCapture::Lines();
    ASSERT_EQ(lines.size(), 2u);
    for (int i : {0, 1}) {
        EXPECT_THAT(
            lines[i].text,
            ::testing::MatchesRegex(std::string(".*src/supply/DataSupplierTicks\\.cpp\\([0-9]+\\): "
                                                "DataSupplier::") +
                                    (i ? "OnTicUpdate" : "OnTicBackFillComplete") +
                                    ": Call ignored\\. Unknown tickSet ptr = 0x[0-9a-f]{8}\n"));
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
