#include "DataFormatter.h"
#include "FormatTestSupport.h"
#include "LineListBuilder.h"
#include "TimeHelper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr TimeValue kJuly21Midnight = 1248134400; // 2009-07-21 00:00:00 UTC
constexpr TimeValue kJuly21At1415 = 1248185700;   // 2009-07-21 14:15:00 UTC

class ListText : public ::testing::Test {
protected:
    void SetUp() override { TakeAssertions(); }
    ScopedLocale locale{"C"};
};

ListFormat WithHeaders(std::vector<std::int32_t> fields) {
    return ListFormat{true, false, 5, std::move(fields)};
}

TEST_F(ListText, HeaderLinesNameTheRequestedColumns) {
    EXPECT_EQ(DataFormatter::FormatBarHeader(WithHeaders({bfDate, bfTime, bfClose})),
              "Date\tTime\tClose\n");
    EXPECT_EQ(DataFormatter::FormatTickHeader(
                  WithHeaders({tfDate, tfTime, tfKind, tfIndicators, tfExchange, tfPrice, tfSize})),
              "Date\tTime\tType\tIndicators\tExchange Code\tPrice\tSize\n");
    EXPECT_EQ(DataFormatter::FormatBarHeader(ListFormat{false, false, 5, {bfDate, bfClose}}), "");
    EXPECT_EQ(DataFormatter::FormatTickHeader(WithHeaders({})), "");
    EXPECT_TRUE(TakeAssertions().empty());
}

TEST_F(ListText, HeaderCodeOutsideTheTableIsReportedAndKeepsItsColumn) {
    EXPECT_EQ(DataFormatter::FormatBarHeader(WithHeaders({bfDate, 7, -1, bfClose})),
              "Date\t\t\tClose\n");
    EXPECT_EQ(TakeAssertions(),
              (std::vector<std::string>{
                  "DataFormatter::FormatBarHeader: format.fields[i] < _countof(headers)",
                  "DataFormatter::FormatBarHeader: format.fields[i] < _countof(headers)"}));
    EXPECT_EQ(DataFormatter::FormatTickHeader(WithHeaders({tfSize, 100})), "Size\t\n");
    EXPECT_EQ(TakeAssertions(),
              std::vector<std::string>{
                  "DataFormatter::FormatTickHeader: format.fields[i] < _countof(headers)"});
}

TEST_F(ListText, BarLineWithPricesAndVolume) {
    const Bar bar{kJuly21At1415, 2, 1, 1.5, 1.75, 300, 5, true};
    EXPECT_EQ(DataFormatter::FormatBar("IBM", bar, {bfOpen, bfHigh, bfLow, bfClose, bfVolume}),
              "1.500000\t2.000000\t1.000000\t1.750000\t300\n");
    EXPECT_TRUE(TakeAssertions().empty());
}

TEST_F(ListText, UnknownBarCodeIsReportedAndKeepsItsTab) {
    const Bar bar{kJuly21At1415, 2, 1, 1.5, 1.75, 300, 5, true};
    EXPECT_EQ(DataFormatter::FormatBar("IBM", bar, {bfClose, 9, bfVolume}), "1.750000\t\t300\n");
    EXPECT_EQ(DataFormatter::FormatBar("IBM", bar, {}), "\n");
    EXPECT_EQ(TakeAssertions(),
              (std::vector<std::string>{"DataFormatter::FormatBar: 0",
                                        "DataFormatter::FormatBar: !fields.empty()"}));
}

TEST_F(ListText, DailyBarDateIgnoresTheDisplayZoneWhileIntradayTimesShift) {
    const Bar daily{kJuly21Midnight, 2, 1, 1.5, 1.75, 300, -1, true};
    const Bar fiveMinutes{kJuly21At1415, 2, 1, 1.5, 1.75, 300, 5, true};
    const std::vector<std::int32_t> fields = {bfDate, bfTime};
    {
        ScopedDisplayZone gmt(dzmGmt, 0);
        EXPECT_EQ(DataFormatter::FormatBar("IBM", daily, fields), " 07/21/09\t 00:00:00\n");
        EXPECT_EQ(DataFormatter::FormatBar("IBM", fiveMinutes, fields), " 07/21/09\t 14:15:00\n");
    }
    {
        ScopedDisplayZone exchange(dzmExchange, -4 * 60);
        EXPECT_EQ(DataFormatter::FormatBar("IBM", daily, fields), " 07/21/09\t 00:00:00\n");
        EXPECT_EQ(DataFormatter::FormatBar("IBM", fiveMinutes, fields), " 07/21/09\t 10:15:00\n");
        const Bar dayLong{kJuly21At1415, 2, 1, 1.5, 1.75, 300, 1440, true};
        EXPECT_EQ(DataFormatter::FormatBar("IBM", dayLong, fields), " 07/21/09\t 14:15:00\n");
    }
}

TEST_F(ListText, TickLines) {
    ScopedDisplayZone exchange(dzmExchange, -4 * 60);
    const Tick tick{kJuly21At1415, "", "trd", 10.5, 200, true};
    EXPECT_EQ(DataFormatter::FormatTick("IBM", tick, {tfIndicators, tfExchange}), " \t\n");
    EXPECT_EQ(DataFormatter::FormatTick("IBM", tick,
                                        {tfDate, tfTime, tfKind, tfExchange, tfPrice, tfSize}),
              " 07/21/09\t 10:15:00\ttrd\t\t10.500000\t200\n");
    const Tick withPercent{kJuly21At1415, "%s%n", "%d", 1, 1, true};
    EXPECT_EQ(DataFormatter::FormatTick("IBM", withPercent, {tfKind, tfExchange}), "%d\t%s%n\n");
    EXPECT_TRUE(TakeAssertions().empty());
}

} // namespace
