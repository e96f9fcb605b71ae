// The text of snapshot items and the qualifier table it is written from.
#include "DataFormatter.h"
#include "FormatTestSupport.h"
#include "PlainTextBuilder.h"
#include "TimeHelper.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

constexpr SnapshotQualifierId kBid = 10;
constexpr SnapshotQualifierId kAsk = 11;
constexpr SnapshotQualifierId kEnd = __sfEndOfQualifierList;

class SnapshotText : public ::testing::Test {
protected:
    void SetUp() override { TakeDiagnostics(); }
    void TearDown() override { EXPECT_EQ(TakeDiagnostics(), Strings{}); }
};

// Each row replaces the text of the row before.
TEST_F(SnapshotText, Layouts) {
    SnapshotInfo quote;
    quote.bid = 1.5;
    quote.ask = 2.25;
    quote.askExchange = "Q";
    quote.title = "100%s %n%d%% Pure " + std::string(400, 'x');
    struct Row {
        bool headers, vertical;
        std::initializer_list<SnapshotQualifierId> fields;
        std::string text;
    };
    const Row rows[] = {
        {false, true, {kBid, kAsk}, "1.500000\n2.250000"},
        {true, false, {kBid, kBid}, "Bid\tBid\n1.500000\t1.500000"},
        {true, false, {}, "\n"},
        {true, true, {}, ""},
        // An empty exchange keeps its column with one blank.
        {false, false, {22, 23, kBid}, " \tQ\t1.500000"},
        // Printf directives and any length are served unchanged.
        {false, false, {56}, quote.title},
        {false, false, {kBid, kEnd, -1, kAsk}, "1.500000\t\t\t2.250000"},
    };
    const DataFormatter formatter(nullptr);
    PlainTextBuilder builder;
    builder.Append("earlier text");
    for (const Row& row : rows) {
        formatter.FormatSnapshot("IBM", {row.headers, row.vertical, row.fields}, quote, builder);
        EXPECT_EQ(builder.GetText(), row.text);
    }
    EXPECT_EQ(TakeDiagnostics(), (Strings{"assert DataFormatter::FormatSnapshotField: 0",
                                          "assert DataFormatter::FormatSnapshotField: 0"}));
}

// In New York's summer time: the trade time moves into the zone, the date stays the calendar date.
// Each short name is looked up in the qualifier table.
TEST_F(SnapshotText, EveryQualifierWithAValueShowsItsOwnField) {
    SnapshotInfo quote;
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
    std::istringstream fields(
        "D= 07/21/09|TT= 10:14:59|O=2.000000|H=3.000000|L=4.000000|TR=5.000000|T=6.000000|"
        "S=7.000000|Y=8.000000|N=9.000000|B=10.000000|A=11.000000|BB=12.000000|BA=13.000000|"
        "V=11456230000|OI=15|TS=16|BS=17|AS=18|BBS=19|BAS=20|TX=tx|BX=bx|AX=ax|BBX=bbx|BAX=bax|"
        "T2=26.000000|T3=27.000000|T4=28.000000|YH=31.000000|YL=32.000000|%=33.000000|"
        "%R=34.000000|VWAP=47.000000|65DAV=49|TTL=title|SYM=sym|EX=ex|BETA=60.000000|SO=61000|"
        "DIV=63.000000|EPS=83.000000|CR=88.000000|PER=94.000000|DY=95.000000|BASP=96.000000|"
        "LASTEXTHRS=97.000000");
    std::map<SnapshotQualifierId, std::string> expected;
    for (std::string field; std::getline(fields, field, '|');) {
        const std::size_t equals = field.find('=');
        expected[SnapshotQualifiers::GetQualifierID(field.substr(0, equals))] =
            field.substr(equals + 1);
    }
    ASSERT_EQ(expected.size(), 47u);
    ASSERT_EQ(expected.count(kEnd), 0u);
    DisplayZone newYork(dzmExchange, -4 * 60);
    const DataFormatter formatter(&newYork.manager);
    for (SnapshotQualifierId id = 0; id < kEnd; ++id) {
        EXPECT_EQ(formatter.FormatSnapshotField("IBM", id, quote), expected[id]) << id;
    }
}

// Short names match exactly: no long names, prefixes or text after a zero byte.
TEST_F(SnapshotText, QualifierTableFindsShortNamesExactlyAndReportsIdsOutsideIt) {
    EXPECT_EQ(SnapshotQualifiers::GetQualifierID("LASTEXTHRS"), 97);
    for (const std::string& name :
         {std::string("Bid"), std::string("LASTEXT"), std::string("B\0", 2)}) {
        EXPECT_EQ(SnapshotQualifiers::GetQualifierID(name), kEnd) << '"' << name << '"';
    }
    EXPECT_EQ(SnapshotQualifiers::GetQualifierLongName(97), "Last Extended Hours");
    EXPECT_EQ(TakeDiagnostics(), Strings{});
    EXPECT_EQ(SnapshotQualifiers::GetQualifierID(""), kEnd);
    EXPECT_EQ(SnapshotQualifiers::GetQualifierLongName(kEnd), "");
    EXPECT_EQ(SnapshotQualifiers::GetQualifierLongName(-1), "");
    const std::string longName = "assert SnapshotQualifiers::GetQualifierLongName: ";
    EXPECT_EQ(TakeDiagnostics(),
              (Strings{"assert SnapshotQualifiers::GetQualifierID: !qualifierShortName.IsEmpty()",
                       longName + "qualifierID != __sfEndOfQualifierList",
                       longName + "(size_t)qualifierID < qualifiers.size()",
                       longName + "(size_t)qualifierID < qualifiers.size()"}));
}

} // namespace
