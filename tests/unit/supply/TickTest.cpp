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
    return std::ranges::count(info.ticks, true, &Tick::isNew);
}

// The library's set is asked to trim once it holds more than twice the count; a negative count asks
// it for no ticks (the end-to-end runs serve such an item empty).
TEST_F(TickTest, BackFillKeepsTheNewestCountAllNewAndAnUpdateMarksOnlyItsOwn) {
    EXPECT_EQ(StartTicks("MSFT", -5).settings.count, 0);
    mondrel::TickSet& set = StartTicks("IBM", 50);
    EXPECT_EQ(std::tuple(set.settings.liveUpdates, set.settings.count, set.settings.includeQuotes),
              std::tuple(true, 50, true));
    EXPECT_THAT(listener.ticks, IsEmpty());
    fake::BackFill(set, Trades(99));
    ASSERT_EQ(listener.ticks.size(), 1u);
    EXPECT_EQ(
        std::tuple(LastTicks().ticks.size(), LastTicks().ticks.front().time, NewTicks(LastTicks())),
        std::tuple(50u, 1049, 50));
    EXPECT_EQ(Describe(LastTicks()).back(), "1098 trd N 98.00 980 new");

    fake::Update(set, fake::Trade(2000, 5.25, 300, "Q"));
    EXPECT_EQ(
        std::tuple(LastTicks().ticks.size(), LastTicks().ticks.front().time, NewTicks(LastTicks())),
        std::tuple(50u, 1050, 1));
    EXPECT_EQ(Describe(LastTicks()).back(), "2000 trd Q 5.250 300 new");
    EXPECT_EQ(set.items.size(), 100u);
    fake::Update(set, fake::Trade(2001, 1, 1));
    EXPECT_EQ(set.items.size(), 50u);
}

// A missing tick of the back-fill is reported and skipped.
TEST_F(TickTest, QuoteTickGivesBidThenAskAndOnlyThePricedSides) {
    mondrel::TickSet& set = StartTicks("IBM", 10);
    set.Append(fake::Quote(1, 10.5, 100, 10.6, 200, "B", "A"));
    set.items.push_back(nullptr);
    fake::BackFill(set, {fake::Quote(2, 10.4, 300, 0, 400, "C", "D"),
                         fake::Quote(3, 0, 1, -1, 2, "E", "F"),
                         fake::Quote(4, 0, 0, 10.7, 500, "", ""), fake::Trade(5, 10.55, 50, ""),
                         fake::Trade(6, 1, 1, "ABCDEFGHIJ")}); // exchange codes keep 7 letters
    EXPECT_THAT(Describe(LastTicks()),
                ElementsAre("1 bid B 10.50 100 new", "1 ask A 10.60 200 new",
                            "2 bid C 10.40 300 new", "4 ask   10.70 500 new",
                            "5 trd   10.55 50 new", "6 trd ABCDEFG 1.000 1 new"));
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::OnTick", "tickItem")));
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
    EXPECT_THAT(fake::LogCapture::Lines(),
                ElementsAre(Ignored("Ticks", "OnTicBackFillComplete", "tickSet"),
                            Ignored("Ticks", "OnTicUpdate", "tickSet")));
    supplier.StopRequest(&set);
    EXPECT_EQ(std::count(dm->calls.begin(), dm->calls.end(), "StopTicks(IBM)"), 1);
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::StopRequest", "it != m_ticks.end()")));
}

} // namespace
