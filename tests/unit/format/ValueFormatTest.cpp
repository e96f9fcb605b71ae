// Numbers, dates and times of every item, in the process locale: the DDE server selects the
// user's settings.
#include "DataFormatter.h"
#include "FormatTestSupport.h"
#include "PlainTextBuilder.h"
#include "TimeHelper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr TimeValue kJuly21 = 1248185699; // 2009-07-21 14:14:59 UTC

class ValueFormat : public ::testing::Test {
protected:
    void SetUp() override { TakeAssertions(); }
    void TearDown() override { EXPECT_TRUE(TakeAssertions().empty()); }
    ScopedLocale locale{"C"};
};

TEST_F(ValueFormat, SharesInThousandsMillionsAndBillions) {
    const std::vector<std::pair<double, std::string>> cases = {
        {999.999, "999000"}, {512.7, "512000"},         {0, "0"},
        {1000, "1.00M"},     {1500, "1.50M"},           {999999, "1000.00M"},
        {1000000, "1.00B"},  {2500000, "2.50B"},        {-2.5, "-2000"},
        {-0.5, "0"},         {-5000000, "-5000000000"}, // beyond a 32-bit product
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(DataFormatter::FormatShares(value), text) << value;
    }
    EXPECT_EQ(DataFormatter::FormatShares(std::nan("")).back(), 'B');
}

TEST_F(ValueFormat, PricesHaveSixDecimalsAtAnySizeAndIntegersAllDigits) {
    EXPECT_EQ(DataFormatter::FormatPrice(0), "0.000000");
    EXPECT_EQ(DataFormatter::FormatPrice(-1.25), "-1.250000");
    EXPECT_EQ(DataFormatter::FormatPrice(123456.1234567), "123456.123457");
    const std::string huge = DataFormatter::FormatPrice(-1e300);
    EXPECT_EQ(huge.size(), 309u); // sign, 301 digits, point, six decimals
    EXPECT_EQ(huge.substr(0, 2), "-1");
    EXPECT_EQ(huge.substr(huge.size() - 7), ".000000");
    EXPECT_EQ(DataFormatter::FormatInteger(std::numeric_limits<std::int32_t>::min()),
              "-2147483648");
    EXPECT_EQ(DataFormatter::FormatExchange(""), " ");
}

// Dates and times begin with a blank; converted ones show the display zone's wall clock; times
// before 1970 are empty, unreported.
TEST_F(ValueFormat, DatesAndTimes) {
    struct Row {
        int mode;
        TimeValue time;
        bool isDate, convert;
        const char* text;
    };
    const Row rows[] = {
        {dzmGmt, 0, true, true, " 01/01/70"},
        {dzmGmt, 0, false, true, " 00:00:00"},
        {dzmGmt, kJuly21, true, true, " 07/21/09"},
        {dzmGmt, kJuly21, false, true, " 14:14:59"},
        {dzmExchange, kJuly21, false, true, " 10:14:59"},
        {dzmExchange, kJuly21, false, false, " 14:14:59"},
        {dzmExchange, -1, true, false, ""},
        {dzmExchange, 3600, false, true, ""}, // 1969 once shifted
    };
    for (const Row& row : rows) {
        DisplayZone zone(row.mode, -4 * 60);
        EXPECT_EQ(DataFormatter(&zone.manager).FormatTime("IBM", row.time, row.isDate, row.convert),
                  row.text)
            << row.time;
    }
}

// Day and month of two digits: Wine's German short date drops leading zeros ("21.7.2009"),
// where glibc's (and Windows') write "21.07.2009".
TEST(Locale, CommaLocaleWritesCommaDecimalsAndItsDateLayoutDotLocaleDotDecimals) {
#if defined(_WIN32)
    const char *comma = "German_Germany.1252", *dot = "English_United States.1252";
#else
    const char *comma = "de_DE.UTF-8", *dot = "en_US.UTF-8";
#endif
    constexpr TimeValue kNovember23 = 1258985699; // 2009-11-23 14:14:59 UTC
    DisplayZone gmt(dzmGmt, 0);
    const DataFormatter formatter(&gmt.manager);
    {
        ScopedLocale locale(comma);
        ASSERT_TRUE(locale.ok()) << comma << " is not installed (scripts/setup)";
        SnapshotInfo quote;
        quote.bid = 1.5;
        quote.sharesOutstanding = 1500;
        quote.date = kNovember23;
        quote.tradeTime = kNovember23;
        PlainTextBuilder snapshot;
        formatter.FormatSnapshot("IBM", {false, false, {10, 61, 0, 1}}, quote, snapshot);
        EXPECT_EQ(snapshot.GetText(), "1,500000\t1,50M\t 23.11.2009\t 14:14:59");
        const Bar bar{kNovember23, 2, 1, 1.5, 1.75, 300, 5, true};
        EXPECT_EQ(formatter.FormatBar("IBM", bar, {bfOpen, bfClose, bfVolume}),
                  "1,500000\t1,750000\t300\n");
    }
    ScopedLocale locale(dot);
    ASSERT_TRUE(locale.ok()) << dot << " is not installed (scripts/setup)";
    EXPECT_EQ(DataFormatter::FormatPrice(1.5), "1.500000");
    EXPECT_EQ(DataFormatter::FormatShares(2500000), "2.50B");
}

} // namespace
