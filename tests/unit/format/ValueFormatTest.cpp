// Numbers, dates and times of every item, in the process locale: the DDE server selects the
// user's settings. The tests run in the "C" locale unless one selects another.
#include "DataFormatter.h"
#include "FormatTestSupport.h"
#include "PlainTextBuilder.h"
#include "TimeHelper.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <utility>

namespace {

TEST(ValueFormat, SharesInThousandsMillionsAndBillionsPricesWithSixDecimals) {
    // The last count is beyond a 32-bit product.
    const std::pair<double, std::string> shares[] = {
        {999.999, "999000"}, {0, "0"},           {1000, "1.00M"}, {999999, "1000.00M"},
        {1000000, "1.00B"},  {2500000, "2.50B"}, {-0.5, "0"},     {-5000000, "-5000000000"}};
    for (const auto& [value, text] : shares) {
        EXPECT_EQ(DataFormatter::FormatShares(value), text) << value;
    }
    EXPECT_EQ(DataFormatter::FormatShares(std::nan("")).back(), 'B');
    EXPECT_EQ(DataFormatter::FormatPrice(123456.1234567), "123456.123457");
}

// Times before 1970 are empty, unreported, also once moved into the display zone.
TEST(ValueFormat, TimesBefore1970AreEmpty) {
    DisplayZone newYork(dzmExchange, -4 * 60);
    const DataFormatter formatter(&newYork.manager);
    TakeDiagnostics();
    EXPECT_EQ(formatter.FormatTime("IBM", 0, true, false), " 01/01/70");
    EXPECT_EQ(formatter.FormatTime("IBM", -1, true, false), "");
    EXPECT_EQ(formatter.FormatTime("IBM", 3600, false, true), "");
    EXPECT_TRUE(TakeDiagnostics().empty());
}

// Day and month of two digits: Wine's German short date drops leading zeros ("21.7.2009"),
// where glibc's (and Windows') write "21.07.2009".
TEST(ValueFormat, LocalesChooseTheDecimalSeparatorAndTheDateLayout) {
#if defined(_WIN32)
    const char *comma = "German_Germany.1252", *dot = "English_United States.1252";
#else
    const char *comma = "de_DE.UTF-8", *dot = "en_US.UTF-8";
#endif
    constexpr TimeValue kNovember23 = 1258985699; // 2009-11-23 14:14:59 UTC
    SnapshotInfo quote;
    quote.bid = 1.5;
    quote.sharesOutstanding = 1500;
    quote.date = kNovember23;
    quote.tradeTime = kNovember23;
    PlainTextBuilder text;
    ASSERT_TRUE(std::setlocale(LC_ALL, comma)) << comma << " is not installed (scripts/setup)";
    DataFormatter(nullptr).FormatSnapshot("IBM", {false, false, {10, 61, 0, 1}}, quote, text);
    EXPECT_EQ(text.GetText(), "1,500000\t1,50M\t 23.11.2009\t 14:14:59");
    ASSERT_TRUE(std::setlocale(LC_ALL, dot)) << dot << " is not installed (scripts/setup)";
    EXPECT_EQ(DataFormatter::FormatPrice(1.5) + DataFormatter::FormatShares(2500), "1.5000002.50M");
    std::setlocale(LC_ALL, "C");
}

} // namespace
