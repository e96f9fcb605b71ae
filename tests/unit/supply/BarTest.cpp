#include "SupplierFixture.h"

#include <tuple>

namespace {

TimeValue At(int month, int day, int hour, int minute) {
    return TimeHelper::MakeTimeGMT(2009, month, day, hour, minute, 0);
}

// 21 July at 14:minute.
TimeValue Minute(int minute) {
    return At(7, 21, 14, minute);
}

BarRequest Request(std::int32_t interval, std::int32_t count, bool fill = false) {
    return {.symbol = "IBM", .fill = fill, .interval = interval, .count = count};
}

auto Ohlcv(const Bar& bar) {
    return std::tuple(bar.open, bar.high, bar.low, bar.close, bar.volume);
}

using BarTest = ConnectedTest;

TEST_F(BarTest, BadRequestsAreLoggedAndRefusedBeforeAnythingIsRequested) {
    const std::string tooLong(25, 'A');
    const std::pair<BarRequest, std::string> cases[] = {
        {Request(0, 10), "Bad Snapshot Request. Unsupported Interval\n"},
        {Request(-6, 10), "Bad Snapshot Request. Unsupported Interval\n"},
        {Request(1441, 10), "Bad Snapshot Request. Unsupported Interval\n"},
        {{.symbol = tooLong, .interval = 5, .count = 10},
         "Bad Bar Request. Invalid Symbol Name '" + tooLong + "'\n"},
        {Request(5, 100001), "Bad Bar Request. Count 100001 is more than 100000 bars\n"},
    };
    for (const auto& [request, line] : cases) {
        fake::LogCapture::Clear();
        EXPECT_EQ(supplier.StartBarsRequest(request), nullptr) << line;
        EXPECT_THAT(fake::LogCapture::Lines(),
                    ElementsAre(fake::Reported("DataSupplier::StartBarsRequest", line)));
    }
    EXPECT_TRUE(dm->barSets.empty());
    // The ends of the interval range are accepted.
    EXPECT_NE(supplier.StartBarsRequest(Request(1440, 10)), nullptr);
    EXPECT_NE(supplier.StartBarsRequest(Request(-5, 10)), nullptr);
}

TEST_F(BarTest, QuartersAreMergedFromThreeTimesAsManyMonths) {
    mondrel::BarSet& set = StartBars(Request(biQuarterly, 4));
    EXPECT_EQ(std::tuple(set.interval, set.settings.count), std::tuple(biMonthly, 12));
    fake::BackFill(set, {{At(4, 1, 0, 0), 10, 12, 9, 11, 100},
                         {At(5, 1, 0, 0), 11, 15, 10, 14, 200},
                         {At(6, 1, 0, 0), 14, 14, 8, 13, 300}});
    EXPECT_EQ(Ohlcv(LastBars().at(At(4, 1, 0, 0))), std::tuple(10, 15, 8, 13, 300));
    EXPECT_EQ(LastBars().size(), 4u);
}

// Empty bars take the previous close, but none before the first price; an update after a gap brings
// the gap bars, marked changed, and keeps the count; an update of the same bar widens it and marks
// only that bar.
TEST_F(BarTest, FillAndGapBarsTakeThePreviousCloseAndUpdatesWidenTheBar) {
    mondrel::BarSet& set = StartBars(Request(1, 6, true));
    fake::BackFill(set, {{Minute(10), 10, 10, 10, 10, 5}, {Minute(13), 12, 12, 12, 12, 7}});
    EXPECT_EQ(LastBars().at(Minute(9)).close, 0);
    for (int minute : {11, 12}) {
        const Bar& filled = LastBars().at(Minute(minute));
        EXPECT_EQ(std::tuple_cat(Ohlcv(filled), std::tuple(filled.changed)),
                  std::tuple(10, 10, 10, 10, 0, true));
    }
    EXPECT_EQ(LastBars().at(Minute(14)).close, 12);

    fake::Update(set, {Minute(17), 13, 13, 13, 13, 2});
    ASSERT_EQ(LastBars().size(), 6u);
    EXPECT_EQ(LastBars().begin()->first, Minute(12));
    for (int minute : {15, 16}) {
        const Bar& gap = LastBars().at(Minute(minute));
        EXPECT_EQ(std::tuple(gap.close, gap.changed), std::tuple(12, true));
    }
    EXPECT_FALSE(LastBars().at(Minute(14)).changed);

    fake::Update(set, {Minute(17), 20, 12.8, 13.5, 13.7, 150});
    EXPECT_EQ(Ohlcv(LastBars().at(Minute(17))), std::tuple(13, 13, 13, 13.7, 150));
    fake::Update(set, {Minute(17), 20, 14, 12, 13.9, 175});
    EXPECT_EQ(Ohlcv(LastBars().at(Minute(17))), std::tuple(13, 14, 12, 13.9, 175));
    for (const auto& [time, bar] : LastBars()) {
        EXPECT_EQ(bar.changed, time == Minute(17)) << time;
    }
}

TEST_F(BarTest, ABackFillLongerThanTheCountKeepsTheNewestAndTheLibraryIsAskedToTrim) {
    mondrel::BarSet& set = StartBars(Request(1, 100));
    std::vector<mondrel::BarData> history;
    for (int i = 299; i >= 0; --i) {
        history.push_back({Minute(14) - i * 60, 1, 1, 1, 1, 1});
    }
    fake::BackFill(set, history);
    ASSERT_EQ(LastBars().size(), 100u);
    EXPECT_EQ(LastBars().begin()->first, Minute(14) - 99 * 60);
    EXPECT_EQ(set.items.size(), 300u);
    fake::Update(set, {Minute(14), 1, 1, 1, 1, 2});
    EXPECT_EQ(set.items.size(), 100u);
}

// A count from a client's item raises no assertion report.
TEST_F(BarTest, ANegativeCountKeepsNoBarsAndStoppedSetsAreIgnored) {
    EXPECT_NE(supplier.StartBarsRequest(Request(1, 0)), nullptr);
    mondrel::BarSet& set = StartBars(Request(1, -5));
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
    fake::BackFill(set, {{Minute(14), 1, 1, 1, 1, 1}});
    EXPECT_THAT(LastBars(), IsEmpty());

    supplier.StopRequest(&set);
    EXPECT_TRUE(fake::Stopped(set));
    const std::size_t calls = listener.bars.size();
    fake::Update(set, {Minute(14), 1, 1, 1, 1, 1});
    EXPECT_EQ(listener.bars.size(), calls);
}

} // namespace
