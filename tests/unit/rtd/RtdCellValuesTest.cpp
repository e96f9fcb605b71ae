// The typed values of cells: numbers, texts, date serials in the display zone, rows newest first.
// The end-to-end run (tests/e2e/rtd) checks a price, a text and the newest bar and tick.
#include "RtdCellValues.h"
#include "FormatTestSupport.h"
#include "ItemFormats.h"

#include <gtest/gtest.h>

namespace {

constexpr TimeValue kJuly21At141459 = 1248185699; // 2009-07-21 14:14:59 UTC
constexpr double kJuly21 = 40015;                 // its date serial

TEST(RtdCellValues, SnapshotFieldsKeepTheirKind) {
    SnapshotInfo quote;
    quote.sharesOutstanding = 1234.5; // thousands
    quote.date = kJuly21At141459 - (14 * 3600 + 14 * 60 + 59);
    quote.tradeTime = kJuly21At141459;
    // One hour east of UTC: the trade time moves, the trade date (a calendar date) does not.
    DisplayZone zone(2, 60);
    const std::pair<SnapshotQualifierId, RtdValue> rows[] = {
        {61, RtdValue::Number(1234500)},
        {0, RtdValue::Date(kJuly21)},
        {1, RtdValue::Date(kJuly21 + (15 * 3600 + 14 * 60 + 59) / 86400.0)},
        {29, RtdValue::Text("")}, // no value in the record: the served text is empty
    };
    for (const auto& [qualifier, value] : rows) {
        EXPECT_EQ(SnapshotCellValue(&zone.manager, "MSFT", qualifier, quote), value) << qualifier;
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
    EXPECT_EQ(BarCellValue(&zone.manager, "MSFT", bars, 3, bfVolume), RtdValue::Number(100));
    EXPECT_EQ(BarCellValue(&zone.manager, "MSFT", bars, 3, bfTime), RtdValue::Date(at1414));
    EXPECT_EQ(BarCellValue(&zone.manager, "MSFT", bars, 3, bfDate), RtdValue::Date(kJuly21));
    EXPECT_EQ(BarCellValue(&zone.manager, "MSFT", bars, 4, bfClose), RtdValue{});
    EXPECT_EQ(TickCellValue(&zone.manager, "MSFT", ticks, 1, tfKind), RtdValue::Text("bid"));
    EXPECT_EQ(TickCellValue(&zone.manager, "MSFT", ticks, 2, tfSize), RtdValue::Number(200));
    EXPECT_EQ(TickCellValue(&zone.manager, "MSFT", ticks, 3, tfPrice), RtdValue{});
    EXPECT_EQ(TickCellValue(&zone.manager, "MSFT", ticks, 0, tfPrice), RtdValue{});
}

} // namespace
