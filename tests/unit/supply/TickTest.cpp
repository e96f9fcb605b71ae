#include "SupplierFixture.h"

namespace {

using TickTest = ConnectedTest;

// Trade i at 1000 + i s, price i, size 10 i.
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

long NewTicks(const TickInfo& info) {
    return std::count_if(info.ticks.begin(), info.ticks.end(),
                         [](const Tick& t) { return t.isNew; });
}

TEST_F(TickTest, BackFillKeepsTheNewestCountAllNewAndAnUpdateMarksOnlyItsOwn) {
    mondrel::TickSet& set = StartTicks("IBM", 100);
    EXPECT_EQ(std::tuple(set.settings.liveUpdates, set.settings.count, set.settings.includeQuotes),
              std::tuple(true, 100, true));
    EXPECT_THAT(listener.ticks, IsEmpty());
    fake::BackFill(set, Trades(120));
    ASSERT_EQ(listener.ticks.size(), 1u);
    EXPECT_EQ(
        std::tuple(LastTicks().ticks.size(), LastTicks().ticks.front().time, NewTicks(LastTicks())),
        std::tuple(100u, 1020, 100));
    EXPECT_EQ(Describe(LastTicks()).back(), "1119 trd N 119.0 1190 new");

    fake::Update(set, fake::Trade(2000, 5.25, 300, "Q"));
    EXPECT_EQ(
        std::tuple(LastTicks().ticks.size(), LastTicks().ticks.front().time, NewTicks(LastTicks())),
        std::tuple(100u, 1021, 1));
    EXPECT_EQ(Describe(LastTicks()).back(), "2000 trd Q 5.250 300 new");
}

TEST_F(TickTest, QuoteTickGivesBidThenAskAndOnlyThePricedSides) {
    mondrel::TickSet& set = StartTicks("IBM", 10);
    fake::BackFill(set, {fake::Quote(1, 10.5, 100, 10.6, 200, "B", "A"),
                         fake::Quote(2, 10.4, 300, 0, 400, "C", "D"),
                         fake::Quote(3, 0, 1, -1, 2, "E", "F"),
                         fake::Quote(4, 0, 0, 10.7, 500, "", ""), fake::Trade(5, 10.55, 50, ""),
                         fake::Trade(6, 1, 1, "ABCDEFGHIJ")}); // exchange codes keep 7 letters
    EXPECT_THAT(Describe(LastTicks()),
                ElementsAre("1 bid B 10.50 100 new", "1 ask A 10.60 200 new",
                            "2 bid C 10.40 300 new", "4 ask   10.70 500 new",
                            "5 trd   10.55 50 new", "6 trd ABCDEFG 1.000 1 new"));
}

// A negative count asks the library for no ticks (the end-to-end runs serve such an item empty); a
// set is asked to trim once it holds more than twice the count.
TEST_F(TickTest, TheCountBoundsTheLibrarySet) {
    EXPECT_EQ(StartTicks("MSFT", -5).settings.count, 0);
    mondrel::TickSet& set = StartTicks("IBM", 2);
    fake::BackFill(set, Trades(3));
    fake::Update(set, fake::Trade(10, 1, 1));
    EXPECT_EQ(set.items.size(), 4u);
    fake::Update(set, fake::Trade(11, 1, 1));
    EXPECT_EQ(set.items.size(), 2u);
}

// The listener may stop the set while it is called; later notifications for the set are logged and
// dropped, and a second stop is reported.
TEST_F(TickTest, AStoppedSetIsForgotten) {
    mondrel::TickSet& set = StartTicks("IBM", 1);
    fake::BackFill(set, Trades(3));
    listener.onTick = [&](ITickSet* tickSet) { supplier.StopRequest(tickSet); };
    fake::Update(set, fake::Trade(10, 1, 1));
    EXPECT_TRUE(fake::Stopped(set));
    EXPECT_EQ(set.items.size(), 4u);
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());

    fake::BackFill(set, Trades(1));
    fake::Update(set, fake::Trade(11, 1, 1));
    EXPECT_EQ(listener.ticks.size(), 2u);
    const auto ignored = [](const char* function) {
        return ::testing::Field(
            &fake::LogEntry::text,
            ::testing::MatchesRegex(std::string("src/supply/DataSupplierTicks\\.cpp\\([0-9]+\\): "
                                                "DataSupplier::") +
                                    function +
                                    ": Call ignored\\. Unknown tickSet ptr = "
                                    "0x[0-9a-f]{8}\n"));
    };
    EXPECT_THAT(fake::LogCapture::Lines(),
                ElementsAre(ignored("OnTicBackFillComplete"), ignored("OnTicUpdate")));
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
    mondrel::TickSet& set = StartTicks("IBM", 10);
    set.Append(fake::Trade(1, 1, 1));
    set.items.push_back(nullptr);
    fake::BackFill(set, {fake::Trade(3, 1, 1)});
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::OnTick", "tickItem")));
    EXPECT_THAT(Describe(LastTicks()), ElementsAre("1 trd   1.000 1 new", "3 trd   1.000 1 new"));
}

} // namespace
