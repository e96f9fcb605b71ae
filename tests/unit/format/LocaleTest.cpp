// The served text follows the process locale: the DDE server selects the user's settings.
#include "DataFormatter.h"
#include "FormatTestSupport.h"
#include "LineListBuilder.h"
#include "PlainTextBuilder.h"
#include "TimeHelper.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Day and month of two digits: Wine's German short date drops leading zeros ("21.7.2009"),
// where glibc's (and Windows') write "21.07.2009".
constexpr TimeValue kNovember23 = 1258985699; // 2009-11-23 14:14:59 UTC

TEST(Locale, CommaLocaleWritesCommaDecimalsAndItsDateLayout) {
    ScopedDisplayZone zone(dzmGmt, 0);
    ScopedLocale locale(CommaLocaleName());
    ASSERT_TRUE(locale.ok()) << CommaLocaleName() << " is not installed (scripts/setup)";

    SnapshotInfo quote;
    quote.bid = 1.5;
    quote.sharesOutstanding = 1500;
    quote.date = kNovember23;
    quote.tradeTime = kNovember23;
    PlainTextBuilder snapshot;
    DataFormatter::FormatSnapshot("IBM", SnapshotFormat{false, false, {10, 61, 0, 1}}, quote,
                                  &snapshot);
    EXPECT_EQ(snapshot.GetText(), "1,500000\t1,50M\t 23.11.2009\t 14:14:59");

    BarInfo bars;
    bars.bars[kNovember23] = Bar{kNovember23, 2, 1, 1.5, 1.75, 300, 5, true};
    LineListBuilder lines(false, "", 1);
    DataFormatter::FormatBars("IBM", ListFormat{false, false, 1, {bfOpen, bfClose, bfVolume}}, bars,
                              &lines);
    EXPECT_EQ(lines.GetText(), "1,500000\t1,750000\t300\n");
}

TEST(Locale, DotLocaleWritesDotDecimals) {
    ScopedLocale locale(DotLocaleName());
    ASSERT_TRUE(locale.ok()) << DotLocaleName() << " is not installed (scripts/setup)";
    EXPECT_EQ(DataFormatter::FormatPrice(1.5), "1.500000");
    EXPECT_EQ(DataFormatter::FormatShares(2500000), "2.50B");
}

} // namespace
