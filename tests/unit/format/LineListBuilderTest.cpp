#include "LineListBuilder.h"
#include "DataFormatter.h"
#include "FormatTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

const std::string kHeader = "Date\tClose\n";

// Bars of one minute from 00:01 onwards, closes 1, 2, 3, ...
BarInfo MinuteBars(int count) {
    BarInfo info;
    for (int i = 1; i <= count; ++i) {
        info.bars[i * 60] = Bar{i * 60, 0, 0, 0, static_cast<double>(i), 0, 1, true};
    }
    return info;
}

class Builders : public ::testing::Test {
protected:
    void SetUp() override { TakeAssertions(); }
    ScopedLocale locale{"C"};
    const ListFormat closes{false, false, 5, {bfClose}};
};

TEST_F(Builders, FewerLinesThanRowsArePaddedWithEmptyRows) {
    LineListBuilder builder(false, kHeader, 5);
    EXPECT_EQ(builder.GetText(), kHeader + "\n\n\n\n\n"); // before any data
    LineListBuilder reversed(true, "", 4);
    DataFormatter::FormatBars("IBM", closes, MinuteBars(2), &reversed);
    EXPECT_EQ(reversed.GetText(), "2.000000\n1.000000\n\n\n");
}

TEST_F(Builders, SevenBarsInCountFiveShowTheNewestFiveInEitherOrder) {
    LineListBuilder builder(false, kHeader, 5);
    DataFormatter::FormatBars("IBM", closes, MinuteBars(7), &builder);
    EXPECT_EQ(builder.GetText(), kHeader + "3.000000\n4.000000\n5.000000\n6.000000\n7.000000\n");
    EXPECT_EQ(builder.LineCount(), 5u);
    LineListBuilder reversed(true, kHeader, 5);
    DataFormatter::FormatBars("IBM", closes, MinuteBars(7), &reversed);
    EXPECT_EQ(reversed.GetText(), kHeader + "7.000000\n6.000000\n5.000000\n4.000000\n3.000000\n");
}

TEST_F(Builders, ChangedBarsReplaceTheirLineAndOnlyNewStartTimesAddLines) {
    LineListBuilder builder(false, "", 5);
    BarInfo bars = MinuteBars(3);
    DataFormatter::FormatBars("IBM", closes, bars, &builder);
    for (auto& [start, bar] : bars.bars) {
        bar.changed = false;
    }
    bars.bars[120].close = 20;
    bars.bars[120].changed = true;
    bars.bars[240] = Bar{240, 0, 0, 0, 4, 0, 1, true};
    bars.bars[60].close = 99; // not flagged: its line stays
    DataFormatter::FormatBars("IBM", closes, bars, &builder);
    EXPECT_EQ(builder.LineCount(), 4u);
    EXPECT_EQ(builder.GetText(), "1.000000\n20.000000\n3.000000\n4.000000\n\n");
}

TEST_F(Builders, TicksOfTheSameSecondStandLatestFirst) {
    TickInfo ticks;
    ticks.ticks.push_back(Tick{100, "", "trd", 1, 10, false}); // delivered earlier
    ticks.ticks.push_back(Tick{200, "", "trd", 2, 10, true});  // A
    ticks.ticks.push_back(Tick{200, "", "trd", 3, 10, true});  // B
    const ListFormat prices{false, false, 5, {tfPrice}};
    LineListBuilder builder(false, "", 3);
    DataFormatter::FormatTicks("IBM", prices, ticks, &builder);
    EXPECT_EQ(builder.GetText(), "3.000000\n2.000000\n\n");
    builder.InsertLine(200, "C\n");
    builder.InsertLine(150, "older\n"); // older than every row shown
    EXPECT_EQ(builder.GetText(), "C\n3.000000\n2.000000\n");
}

TEST_F(Builders, CountZeroAndNegativeCountsShowTheHeaderAlone) {
    for (const std::int32_t count : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
        LineListBuilder builder(false, kHeader, count);
        DataFormatter::FormatBars("IBM", closes, MinuteBars(3), &builder);
        EXPECT_EQ(builder.GetText(), kHeader) << count;
        EXPECT_EQ(builder.LineCount(), 0u) << count;
    }
}

TEST_F(Builders, AnUnreadItemHoldsNoMoreThanItsRows) {
    LineListBuilder builder(false, "", 5);
    for (int i = 0; i < 1000; ++i) {
        builder.InsertLine(i, "tick\n");
    }
    EXPECT_EQ(builder.LineCount(), 5u);
}

TEST_F(Builders, HugeCountsPadWithAtMostAWorksheetOfEmptyRows) {
    LineListBuilder builder(false, kHeader, std::numeric_limits<std::int32_t>::max());
    builder.SetLine(60, "1.000000\n");
    const std::string text = builder.GetText();
    EXPECT_EQ(text.substr(0, kHeader.size() + 9), kHeader + "1.000000\n");
    EXPECT_EQ(text.size(), kHeader.size() + 9 + 1048576);
}

} // namespace
