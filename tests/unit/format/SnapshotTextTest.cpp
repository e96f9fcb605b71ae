#include "DataFormatter.h"
#include "FormatTestSupport.h"
#include "PlainTextBuilder.h"
#include "TimeHelper.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

constexpr SnapshotQualifierId kBid = 10;
constexpr SnapshotQualifierId kAsk = 11;

class SnapshotText : public ::testing::Test {
protected:
    void SetUp() override {
        TakeAssertions();
        quote.bid = 1.5;
        quote.ask = 2.25;
        builder.Append("earlier text");
    }

    std::string Format(bool headers, bool vertical, std::vector<SnapshotQualifierId> fields) {
        DataFormatter::FormatSnapshot("IBM", SnapshotFormat{headers, vertical, fields}, quote,
                                      &builder);
        return builder.GetText();
    }

    ScopedLocale locale{"C"};
    ScopedDisplayZone zone{dzmGmt, 0};
    SnapshotInfo quote;
    PlainTextBuilder builder;
};

TEST_F(SnapshotText, ReplacesTheTextInEachOfTheFourLayouts) {
    EXPECT_EQ(Format(true, false, {kBid, kAsk}), "Bid\tAsk\n1.500000\t2.250000");
    EXPECT_EQ(Format(false, false, {kBid, kAsk}), "1.500000\t2.250000");
    EXPECT_EQ(Format(true, true, {kBid, kAsk}), "Bid\t1.500000\nAsk\t2.250000");
    EXPECT_EQ(Format(false, true, {kBid, kAsk}), "1.500000\n2.250000");
    EXPECT_EQ(Format(true, false, {kBid, kBid}), "Bid\tBid\n1.500000\t1.500000");
}

TEST_F(SnapshotText, EmptyFieldListGivesOnlyTheHeaderLineFeed) {
    EXPECT_EQ(Format(true, false, {}), "\n");
    EXPECT_EQ(Format(true, true, {}), "");
    EXPECT_EQ(Format(false, false, {}), "");
}

TEST_F(SnapshotText, EmptyExchangeKeepsItsColumnWithOneBlank) {
    quote.askExchange = std::string("Q");
    EXPECT_EQ(Format(false, false, {22, 23, kBid}), " \tQ\t1.500000");
}

TEST_F(SnapshotText, TextsWithPrintfDirectivesAndAnyLengthAreServedUnchanged) {
    quote.title = "100%s %n%d%% Pure " + std::string(400, 'x');
    EXPECT_EQ(Format(false, false, {56}), quote.title);
}

// In New York's summer time: the trade time moves into the zone, the date stays the calendar date.
TEST_F(SnapshotText, EveryQualifierWithAValueShowsItsOwnField) {
    ScopedDisplayZone newYork(dzmExchange, -4 * 60);
    quote = SnapshotInfo{};
    quote.date = 1248134400;      // 2009-07-21 00:00:00 UTC
    quote.tradeTime = 1248185699; // 2009-07-21 14:14:59 UTC
    quote.open = 2, quote.high = 3, quote.low = 4, quote.trade = 5, quote.last = 6;
    quote.settle = 7, quote.yest = 8, quote.net = 9, quote.bid = 10, quote.ask = 11;
    quote.bestBid = 12, quote.bestAsk = 13, quote.volume = 11456230000, quote.openInterest = 15;
    quote.tradeSize = 16, quote.bidSize = 17, quote.askSize = 18, quote.bestBidSize = 19;
    quote.bestAskSize = 20, quote.tradeExchange = "tx", quote.bidExchange = "bx";
    quote.askExchange = "ax", quote.bestBidExchange = "bbx", quote.bestAskExchange = "bax";
    quote.trade2 = 26, quote.trade3 = 27, quote.trade4 = 28, quote.yearHigh = 31;
    quote.yearLow = 32, quote.netPercent = 33, quote.percentInRange = 34, quote.vwap = 47;
    quote.avgVolume65 = 49, quote.title = "title", quote.symbol = "sym", quote.exchange = "ex";
    quote.beta = 60, quote.sharesOutstanding = 61, quote.dividend = 63, quote.eps = 83;
    quote.currentRatio = 88, quote.peRatio = 94, quote.dividendYield = 95, quote.spread = 96;
    quote.lastExtendedHours = 97;

    // Short name and text of every qualifier with a value in the record.
    const std::string fields =
        "D= 07/21/09|TT= 10:14:59|O=2.000000|H=3.000000|L=4.000000|TR=5.000000|T=6.000000|"
        "S=7.000000|Y=8.000000|N=9.000000|B=10.000000|A=11.000000|BB=12.000000|BA=13.000000|V="
        "11456230000|"
        "OI=15|TS=16|BS=17|AS=18|BBS=19|BAS=20|TX=tx|BX=bx|AX=ax|BBX=bbx|BAX=bax|T2=26.000000|"
        "T3=27.000000|T4=28.000000|YH=31.000000|YL=32.000000|%=33.000000|%R=34.000000|"
        "VWAP=47.000000|65DAV=49|TTL=title|SYM=sym|EX=ex|BETA=60.000000|SO=61000|DIV=63.000000|"
        "EPS=83.000000|CR=88.000000|PER=94.000000|DY=95.000000|BASP=96.000000|"
        "LASTEXTHRS=97.000000|";
    std::map<std::string, std::string> expected;
    for (std::size_t at = 0, end; (end = fields.find('|', at)) != std::string::npos; at = end + 1) {
        const std::size_t equals = fields.find('=', at);
        expected[fields.substr(at, equals - at)] = fields.substr(equals + 1, end - equals - 1);
    }
    int valued = 0;
    for (SnapshotQualifierId id = 0; id < __sfEndOfQualifierList; ++id) {
        // The short name among the expected ones that names this identifier, if any.
        std::string shortName;
        for (const auto& [name, text] : expected) {
            if (SnapshotQualifiers::GetQualifierID(name) == id) {
                shortName = name;
            }
        }
        const std::string text = DataFormatter::FormatSnapshotField("IBM", id, quote);
        if (shortName.empty()) {
            EXPECT_EQ(text, "") << "identifier " << id << " has no value in the record";
        } else {
            EXPECT_EQ(text, expected.at(shortName)) << shortName;
            ++valued;
        }
    }
    EXPECT_EQ(valued, 47);
    EXPECT_TRUE(TakeAssertions().empty());
}

TEST_F(SnapshotText, IdentifierOutsideTheTableIsReportedAndLeftEmpty) {
    EXPECT_EQ(Format(false, false, {kBid, __sfEndOfQualifierList, -1, kAsk}),
              "1.500000\t\t\t2.250000");
    EXPECT_EQ(TakeAssertions(),
              (std::vector<std::string>{"DataFormatter::FormatSnapshotField: 0",
                                        "DataFormatter::FormatSnapshotField: 0"}));
}

} // namespace
