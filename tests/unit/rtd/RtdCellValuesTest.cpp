// The typed values of cells: numbers, texts, date serials in the display zone, rows newest first.
#include "RtdCellValues.h"
#include "FormatTestSupport.h"
#include "ItemFormats.h"

#include <gtest/gtest.h>

namespace {

constexpr TimeValue kJuly21At141459 = 1248185699; // 2009-07-21 14:14:59 UTC
constexpr double kJuly21 = 40015;                 // its date serial

TEST(RtdCellValues, SnapshotFieldsKeepTheirKind) {
    SnapshotInfo quote;
    quote.bid = 23.49;
    quote.volume = 2147483647;
    quote.sharesOutstanding = 1234.5; // thousands
    quote.exchange = "NASDAQ";
    quote.date = kJuly21At141459 - (14 * 3600 + 14 * 60 + 59);
    quote.tradeTime = kJuly21At141459;
    // One hour east of UTC: the trade time moves, the trade date (a calendar date) does not.
    DisplayZone zone(2, 60);
    struct Row {
        SnapshotQualifierId qualifier;
        RtdValue value;
    };
    const Row rows[] = {
        {10, RtdValue::Number(23.49)},
        {14, RtdValue::Number(2147483647)},
        {61, RtdValue::Number(1234500)},
        {58, RtdValue::Text("NASDAQ")},
        {0, RtdValue::Date(kJuly21)},
        {1, RtdValue::Date(kJuly21 + (15 * 3600 + 14 * 60 + 59) / 86400.0)},
        {29, RtdValue::Text("")}, // no value in the record: the served text is empty
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SnapshotCellValue(&zone.manager, "MSFT", row.qualifier, quote), row.value)
            << row.qualifier;
    }
}

TEST(RtdCellValues, RowOneIsTheNewestAndRowsPastTheOldestAreNotAvailable) {
    DisplayZone zone(1, 0);
    BarInfo bars;
    for (int i = 0; i < 3; ++i) {
        const TimeValue start = kJuly21At141459 - 59 + i * 300;
        bars.bars[start] = Bar{start, 0, 0, 0, 20.0 + i, 100 + i, 5, false};
    }
    TickInfo ticks;
    ticks.ticks.push_back(Tick{kJuly21At141459 - 1, "Q", "trd", 23.48, 200, false});
    ticks.ticks.push_back(Tick{kJuly21At141459, "Q", "bid", 23.5, 300, false});
    const double at1414 = kJuly21 + (14 * 3600 + 14 * 60) / 86400.0;
    EXPECT_EQ(BarCellValue(&zone.manager, "MSFT", bars, 1, bfClose), RtdValue::Number(22));
    EXPECT_EQ(BarCellValue(&zone.manager, "MSFT", bars, 3, bfVolume), RtdValue::Number(100));
    EXPECT_EQ(BarCellValue(&zone.manager, "MSFT", bars, 3, bfTime), RtdValue::Date(at1414));
    EXPECT_EQ(BarCellValue(&zone.manager, "MSFT", bars, 3, bfDate), RtdValue::Date(kJuly21));
    EXPECT_EQ(BarCellValue(&zone.manager, "MSFT", bars, 4, bfClose), RtdValue{});
    EXPECT_EQ(TickCellValue(&zone.manager, "MSFT", ticks, 1, tfKind), RtdValue::Text("bid"));
    EXPECT_EQ(TickCellValue(&zone.manager, "MSFT", ticks, 2, tfSize), RtdValue::Number(200));
    EXPECT_EQ(TickCellValue(&zone.manager, "MSFT", ticks, 2, tfExchange), RtdValue::Text("Q"));
    EXPECT_EQ(TickCellValue(&zone.manager, "MSFT", ticks, 3, tfPrice), RtdValue{});
    EXPECT_EQ(TickCellValue(&zone.manager, "MSFT", ticks, 0, tfPrice), RtdValue{});
}

} // namespace
