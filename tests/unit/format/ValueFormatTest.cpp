#include "DataFormatter.h"
#include "FormatTestSupport.h"
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

TEST_F(ValueFormat, PricesHaveSixDecimalsAtAnySize) {
    EXPECT_EQ(DataFormatter::FormatPrice(0), "0.000000");
    EXPECT_EQ(DataFormatter::FormatPrice(-1.25), "-1.250000");
    EXPECT_EQ(DataFormatter::FormatPrice(123456.1234567), "123456.123457");
    const std::string huge = DataFormatter::FormatPrice(-1e300);
    EXPECT_EQ(huge.size(), 309u); // sign, 301 digits, point, six decimals
    EXPECT_EQ(huge.substr(0, 2), "-1");
    EXPECT_EQ(huge.substr(huge.size() - 7), ".000000");
}

TEST_F(ValueFormat, IntegersAndExchanges) {
    EXPECT_EQ(DataFormatter::FormatInteger(std::numeric_limits<std::int32_t>::min()),
              "-2147483648");
    EXPECT_EQ(DataFormatter::FormatExchange(""), " ");
}

TEST_F(ValueFormat, DatesAndTimesInGmtBeginWithABlank) {
    ScopedDisplayZone zone(dzmGmt, 0);
    EXPECT_EQ(DataFormatter::FormatTime("IBM", 0, true, true), " 01/01/70");
    EXPECT_EQ(DataFormatter::FormatTime("IBM", 0, false, true), " 00:00:00");
    EXPECT_EQ(DataFormatter::FormatTime("IBM", kJuly21, true, true), " 07/21/09");
    EXPECT_EQ(DataFormatter::FormatTime("IBM", kJuly21, false, true), " 14:14:59");
    EXPECT_TRUE(TakeAssertions().empty());
}

// Converted times show the display zone's wall clock; times before 1970 are empty, unreported.
TEST_F(ValueFormat, ConvertedTimes) {
    ScopedDisplayZone zone(dzmExchange, -4 * 60);
    EXPECT_EQ(DataFormatter::FormatTime("IBM", kJuly21, false, true), " 10:14:59");
    EXPECT_EQ(DataFormatter::FormatTime("IBM", kJuly21, false, false), " 14:14:59");
    EXPECT_EQ(DataFormatter::FormatTime("IBM", -1, true, false), "");
    EXPECT_EQ(DataFormatter::FormatTime("IBM", 3600, false, true), ""); // 1969 once shifted
    EXPECT_TRUE(TakeAssertions().empty());
}

} // namespace
