// The lines of bar and tick items and the builders that keep an item's rows.
#include "DataFormatter.h"
#include "FormatTestSupport.h"
#include "LineListBuilder.h"
#include "TimeHelper.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

constexpr TimeValue kJuly21Midnight = 1248134400; // 2009-07-21 00:00:00 UTC
constexpr TimeValue kJuly21At1415 = 1248185700;   // 2009-07-21 14:15:00 UTC
const std::string kHeader = "Date\tClose\n";

// Bars of one minute from 00:01 onwards, closes 1, 2, 3, ...
BarInfo MinuteBars(int count) {
    BarInfo info;
    for (int i = 1; i <= count; ++i) {
        info.bars[i * 60] = Bar{i * 60, 0, 0, 0, static_cast<double>(i), 0, 1, true};
    }
    return info;
}

class ListText : public ::testing::Test {
protected:
    void SetUp() override { TakeDiagnostics(); }
    void TearDown() override { EXPECT_EQ(TakeDiagnostics(), Strings{}); }
    DisplayZone newYork{dzmExchange, -4 * 60};
    const DataFormatter formatter{&newYork.manager};
    const ListFormat closes{false, false, 5, {bfClose}};
};

ListFormat WithHeaders(std::vector<std::int32_t> fields) {
    return ListFormat{true, false, 5, std::move(fields)};
}

// A code outside the table is reported and keeps its column.
TEST_F(ListText, HeaderLinesNameTheRequestedColumns) {
    EXPECT_EQ(DataFormatter::FormatTickHeader(
                  WithHeaders({tfDate, tfTime, tfKind, tfIndicators, tfExchange, tfPrice, tfSize})),
              "Date\tTime\tType\tIndicators\tExchange Code\tPrice\tSize\n");
    EXPECT_EQ(DataFormatter::FormatBarHeader(ListFormat{false, false, 5, {bfDate, 7}}), "");
    EXPECT_EQ(DataFormatter::FormatTickHeader(WithHeaders({})), "");
    EXPECT_EQ(TakeDiagnostics(), Strings{});
    const std::string report = ": format.fields[i] < _countof(headers)";
    const std::string bar = "assert DataFormatter::FormatBarHeader";
    EXPECT_EQ(DataFormatter::FormatBarHeader(WithHeaders({bfDate, 7, -1, bfClose})),
              "Date\t\t\tClose\n");
    EXPECT_EQ(DataFormatter::FormatTickHeader(WithHeaders({tfSize, 100})), "Size\t\n");
    EXPECT_EQ(TakeDiagnostics(), (Strings{bar + report, bar + report,
                                          "assert DataFormatter::FormatTickHeader" + report}));
}

// Daily and longer bars show their calendar date in every zone; intraday times shift. Texts with
// printf directives are served unchanged.
TEST_F(ListText, BarAndTickLines) {
    const std::vector<std::int32_t> fields = {bfDate, bfTime};
    const Bar minutes{kJuly21At1415, 2, 1, 1.5, 1.75, 300, 5, true};
    EXPECT_EQ(formatter.FormatBar("IBM", minutes, fields), " 07/21/09\t 10:15:00\n");
    const Bar daily{kJuly21Midnight, 2, 1, 1.5, 1.75, 300, -1, true};
    EXPECT_EQ(formatter.FormatBar("IBM", daily, fields), " 07/21/09\t 00:00:00\n");
    const Bar dayLong{kJuly21At1415, 2, 1, 1.5, 1.75, 300, 1440, true};
    EXPECT_EQ(formatter.FormatBar("IBM", dayLong, fields), " 07/21/09\t 14:15:00\n");
    const Tick tick{kJuly21At1415, "", "%d", 10.5, 200, true};
    EXPECT_EQ(formatter.FormatTick("IBM", tick, {tfTime, tfKind, tfIndicators, tfExchange}),
              " 10:15:00\t%d\t \t\n");
    EXPECT_EQ(TakeDiagnostics(), Strings{});
    EXPECT_EQ(formatter.FormatBar("IBM", minutes, {bfClose, 9, bfVolume}), "1.750000\t\t300\n");
    EXPECT_EQ(formatter.FormatBar("IBM", minutes, {}), "\n");
    EXPECT_EQ(TakeDiagnostics(), (Strings{"assert DataFormatter::FormatBar: 0",
                                          "assert DataFormatter::FormatBar: !fields.empty()"}));
}

// Changed bars replace their line and only new start times add lines; ticks of one second stand
// latest first.
TEST_F(ListText, UpdatesReplaceOrAddLines) {
    LineListBuilder builder(false, "", 5);
    BarInfo bars = MinuteBars(3);
    formatter.FormatBars("IBM", closes, bars, builder);
    for (auto& [start, bar] : bars.bars) {
        bar.changed = false;
    }
    bars.bars[120].close = 20;
    bars.bars[120].changed = true;
    bars.bars[240] = Bar{240, 0, 0, 0, 4, 0, 1, true};
    bars.bars[60].close = 99; // not flagged: its line stays
    formatter.FormatBars("IBM", closes, bars, builder);
    EXPECT_EQ(builder.GetText(), "1.000000\n20.000000\n3.000000\n4.000000\n\n");
    TickInfo ticks;
    ticks.ticks.push_back(Tick{100, "", "trd", 1, 10, false}); // delivered earlier
    ticks.ticks.push_back(Tick{200, "", "trd", 2, 10, true});  // A
    ticks.ticks.push_back(Tick{200, "", "trd", 3, 10, true});  // B
    LineListBuilder tickLines(false, "", 3);
    formatter.FormatTicks("IBM", {false, false, 5, {tfPrice}}, ticks, tickLines);
    EXPECT_EQ(tickLines.GetText(), "3.000000\n2.000000\n\n");
    tickLines.InsertLine(200, "C\n");
    tickLines.InsertLine(150, "older\n"); // older than every row shown
    EXPECT_EQ(tickLines.GetText(), "C\n3.000000\n2.000000\n");
}

// Fewer lines than rows are padded with empty rows, more show the newest in either order; counts
// of 0 and below show the header alone, a huge count pads with at most a worksheet of empty rows.
TEST_F(ListText, BuildersKeepTheNewestRows) {
    struct Row {
        bool reverse;
        std::int32_t count;
        int bars;
        std::string text;
    };
    const Row rows[] = {
        {false, 5, 0, kHeader + "\n\n\n\n\n"},
        {true, 4, 2, kHeader + "2.000000\n1.000000\n\n\n"},
        {false, 5, 7, kHeader + "3.000000\n4.000000\n5.000000\n6.000000\n7.000000\n"},
        {false, 0, 3, kHeader},
        {false, std::numeric_limits<std::int32_t>::min(), 3, kHeader},
        {false, std::numeric_limits<std::int32_t>::max(), 1,
         kHeader + "1.000000\n" + std::string(1048576, '\n')},
    };
    for (const Row& row : rows) {
        LineListBuilder builder(row.reverse, kHeader, row.count);
        formatter.FormatBars("IBM", closes, MinuteBars(row.bars), builder);
        EXPECT_EQ(builder.GetText(), row.text) << row.count;
    }
    // An unread item holds no more than its rows.
    LineListBuilder unread(false, "", 5);
    for (int i = 0; i < 1000; ++i) {
        unread.InsertLine(i, "tick\n");
    }
    EXPECT_EQ(unread.LineCount(), 5u);
}

} // namespace
