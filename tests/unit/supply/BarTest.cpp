#include "Clock.h"
#include "SupplierFixture.h"
#include "TimeHelper.h"

#include <tuple>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Tuesday 2009-07-21 14:14:59 UTC.
const TimeValue kNow = TimeHelper::MakeTimeGMT(2009, 7, 21, 14, 14, 59);

TimeValue At(int month, int day, int hour, int minute) {
    return TimeHelper::MakeTimeGMT(2009, month, day, hour, minute, 0);
}

using fake::BarAt;

BarRequest Request(std::int32_t interval, std::int32_t count) {
    BarRequest request;
    request.symbol = "IBM";
    request.interval = interval;
    request.count = count;
    return request;
}

class BarTest : public SupplierTest {
protected:
    void SetUp() override {
        SupplierTest::SetUp();
        Clock::SetFixed(kNow);
    }
    void TearDown() override {
        Clock::SetFixed(std::nullopt);
        SupplierTest::TearDown();
    }

    const BarMap& LastBars() const { return listener.barCalls.back().copy.bars; }
};

} // namespace

TEST_F(BarTest, BadRequestsAreLoggedAndRefusedBeforeAnythingIsRequested) {
    fake::FakeMondrel& dm = ConnectAll();
    BarRequest longSymbol = Request(5, 10);
    longSymbol.symbol = std::string(25, 'A');
    BarRequest reverted = Request(5, 10);
    reverted.customSession = true;
    reverted.sessionStart = 57600;
    reverted.sessionEnd = 34200;
    const std::pair<BarRequest, std::string> cases[] = {
        {Request(0, 10), "Bad Snapshot Request. Unsupported Interval\n"},
        {Request(-6, 10), "Bad Snapshot Request. Unsupported Interval\n"},
        {Request(1441, 10), "Bad Snapshot Request. Unsupported Interval\n"},
        {longSymbol, "Bad Bar Request. Invalid Symbol Name '" + longSymbol.symbol + "'\n"},
        {reverted, "Bad Snapshot Request. Reverted Session is not supported\n"},
        {Request(5, 100001), "Bad Bar Request. Count 100001 is more than 100000 bars\n"},
    };
    for (const auto& [request, line] : cases) {
        fake::LogCapture::Clear();
        EXPECT_EQ(supplier.StartBarsRequest(request), nullptr) << line;
        EXPECT_THAT(fake::LogCapture::Lines(),
                    ElementsAre(fake::Reported("DataSupplier::StartBarsRequest", line)));
    }
    EXPECT_TRUE(dm.barSets.empty());
    // The ends of the interval range are accepted.
    EXPECT_NE(supplier.StartBarsRequest(Request(1440, 10)), nullptr);
    EXPECT_NE(supplier.StartBarsRequest(Request(-5, 10)), nullptr);
}

TEST_F(BarTest, OptionsCarryTheSessionWithAnInclusiveEndMinute) {
    fake::FakeMondrel& dm = ConnectAll();
    // 09:30-16:00, and 23:00-06:00 UTC (08:00-15:00 in Tokyo), which ends on the next UTC day.
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t> windows[] = {
        {34200, 57600, 9 * 60 + 30, 15 * 60 + 59},
        {82800, 108000, 23 * 60, 5 * 60 + 59},
    };
    for (const auto& [start, end, startMinute, endMinute] : windows) {
        BarRequest request = Request(5, 10);
        request.customSession = true;
        request.sessionStart = start;
        request.sessionEnd = end;
        ASSERT_NE(supplier.StartBarsRequest(request), nullptr);
        const mondrel::RequestSettings& s = dm.barSets.back()->settings;
        EXPECT_EQ(std::tuple(s.sessionStartMinute, s.sessionEndMinute, s.endTime, s.count,
                             s.customSession),
                  std::tuple(startMinute, endMinute, kNow, 10, true));
        // The grid ends where the library's session does: every bar starts inside the window.
        for (const auto& [time, bar] : LastBars()) {
            const std::int32_t minute = (time % 86400) / 60;
            EXPECT_TRUE(startMinute < endMinute ? startMinute <= minute && minute <= endMinute
                                                : minute >= startMinute || minute <= endMinute)
                << time;
        }
    }
}

TEST_F(BarTest, QuartersAreMergedFromThreeTimesAsManyMonths) {
    fake::FakeMondrel& dm = ConnectAll();
    ASSERT_NE(supplier.StartBarsRequest(Request(biQuarterly, 4)), nullptr);
    mondrel::BarSet& set = *dm.barSets.back();
    EXPECT_EQ(set.interval, biMonthly);
    EXPECT_EQ(set.settings.count, 12);

    fake::BackFill(set, {BarAt(At(4, 1, 0, 0), 10, 12, 9, 11, 100),
                         BarAt(At(5, 1, 0, 0), 11, 15, 10, 14, 200),
                         BarAt(At(6, 1, 0, 0), 14, 14, 8, 13, 300)});
    const Bar& quarter = LastBars().at(At(4, 1, 0, 0));
    EXPECT_EQ(std::tuple(quarter.open, quarter.high, quarter.low, quarter.close, quarter.volume),
              std::tuple(10, 15, 8, 13, 300));
    EXPECT_EQ(LastBars().size(), 4u);
}

TEST_F(BarTest, FillGivesEmptyBarsThePreviousCloseButNotBeforeTheFirstPrice) {
    fake::FakeMondrel& dm = ConnectAll();
    BarRequest request = Request(1, 6);
    request.fill = true;
    ASSERT_NE(supplier.StartBarsRequest(request), nullptr);
    fake::BackFill(*dm.barSets.back(), {BarAt(At(7, 21, 14, 10), 10, 10, 10, 10, 5),
                                        BarAt(At(7, 21, 14, 13), 12, 12, 12, 12, 7)});
    const BarMap& bars = LastBars();
    EXPECT_EQ(bars.at(At(7, 21, 14, 9)).close, 0);
    for (int minute : {11, 12}) {
        const Bar& filled = bars.at(At(7, 21, 14, minute));
        EXPECT_EQ(std::tuple(filled.open, filled.high, filled.low, filled.close, filled.volume,
                             filled.changed),
                  std::tuple(10, 10, 10, 10, 0, true));
    }
    EXPECT_EQ(bars.at(At(7, 21, 14, 14)).close, 12);
}

TEST_F(BarTest, AnUpdateWidensTheBarAndMarksOnlyWhatChanged) {
    fake::FakeMondrel& dm = ConnectAll();
    ASSERT_NE(supplier.StartBarsRequest(Request(1, 3)), nullptr);
    mondrel::BarSet& set = *dm.barSets.back();
    fake::BackFill(set, {BarAt(At(7, 21, 14, 14), 10, 11, 9, 10.5, 100)});
    fake::Update(set, BarAt(At(7, 21, 14, 14), 20, 10.8, 9.5, 10.7, 150));
    const Bar& bar = LastBars().at(At(7, 21, 14, 14));
    EXPECT_EQ(std::tuple(bar.open, bar.high, bar.low, bar.close, bar.volume),
              std::tuple(10, 11, 9, 10.7, 150));
    fake::Update(set, BarAt(At(7, 21, 14, 14), 20, 12, 8, 11, 175));
    const Bar& wider = LastBars().at(At(7, 21, 14, 14));
    EXPECT_EQ(std::tuple(wider.high, wider.low), std::tuple(12, 8));
    for (const auto& [time, other] : LastBars()) {
        EXPECT_EQ(other.changed, time == At(7, 21, 14, 14)) << time;
    }
}

TEST_F(BarTest, AnUpdateAfterAGapBringsTheGapBarsAndKeepsTheCount) {
    fake::FakeMondrel& dm = ConnectAll();
    BarRequest request = Request(1, 5);
    request.fill = true;
    ASSERT_NE(supplier.StartBarsRequest(request), nullptr);
    mondrel::BarSet& set = *dm.barSets.back();
    fake::BackFill(set, {BarAt(At(7, 21, 14, 14), 10, 10, 10, 10, 1)});
    fake::Update(set, BarAt(At(7, 21, 14, 17), 12, 12, 12, 12, 2));
    const BarMap& bars = LastBars();
    ASSERT_EQ(bars.size(), 5u);
    EXPECT_EQ(bars.begin()->first, At(7, 21, 14, 13));
    EXPECT_EQ(bars.at(At(7, 21, 14, 15)).close, 10);
    EXPECT_EQ(bars.at(At(7, 21, 14, 16)).close, 10);
    EXPECT_TRUE(bars.at(At(7, 21, 14, 16)).changed);
    EXPECT_FALSE(bars.at(At(7, 21, 14, 14)).changed);
}

TEST_F(BarTest, ABackFillLongerThanTheCountKeepsTheNewestAndTheLibraryIsAskedToTrim) {
    fake::FakeMondrel& dm = ConnectAll();
    ASSERT_NE(supplier.StartBarsRequest(Request(1, 100)), nullptr);
    mondrel::BarSet& set = *dm.barSets.back();
    std::vector<mondrel::BarData> history;
    for (int i = 299; i >= 0; --i) {
        const TimeValue t = At(7, 21, 14, 14) - i * 60;
        history.push_back(BarAt(t, 1, 1, 1, 1, 1));
    }
    fake::BackFill(set, history);
    ASSERT_EQ(LastBars().size(), 100u);
    EXPECT_EQ(LastBars().begin()->first, At(7, 21, 14, 14) - 99 * 60);
    EXPECT_EQ(set.items.size(), 300u);
    fake::Update(set, BarAt(At(7, 21, 14, 14), 1, 1, 1, 1, 2));
    EXPECT_EQ(set.items.size(), 100u);
}

TEST_F(BarTest, ANegativeCountKeepsNoBarsAndStoppedSetsAreIgnored) {
    fake::FakeMondrel& dm = ConnectAll();
    fake::LogCapture::Clear();
    EXPECT_NE(supplier.StartBarsRequest(Request(1, 0)), nullptr);
    IBarSet* handle = supplier.StartBarsRequest(Request(1, -5));
    ASSERT_NE(handle, nullptr);
    // Counts from a client's item raise no assertion report.
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
    mondrel::BarSet& set = *dm.barSets.back();
    fake::BackFill(set, {BarAt(At(7, 21, 14, 14), 1, 1, 1, 1, 1)});
    EXPECT_THAT(LastBars(), IsEmpty());

    supplier.StopRequest(handle);
    EXPECT_TRUE(fake::Stopped(set));
    const std::size_t calls = listener.barCalls.size();
    fake::Update(set, BarAt(At(7, 21, 14, 14), 1, 1, 1, 1, 1));
    EXPECT_EQ(listener.barCalls.size(), calls);
}
