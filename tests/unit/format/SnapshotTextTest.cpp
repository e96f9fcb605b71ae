// The text of snapshot items and the qualifier table it is written from.
#include "DataFormatter.h"
#include "FormatTestSupport.h"
#include "PlainTextBuilder.h"
#include "TimeHelper.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
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

// One field of each kind, in New York's summer time: the trade time moves into the zone, the date
// stays the calendar date; a volume beyond 32 bits; shares outstanding in thousands.
TEST_F(SnapshotText, FieldsOfEachKind) {
    SnapshotInfo quote;
    quote.date = 1248134400;      // 2009-07-21 00:00:00 UTC
    quote.tradeTime = 1248185699; // 2009-07-21 14:14:59 UTC
    quote.volume = 11456230000;
    quote.sharesOutstanding = 61;
    quote.bidExchange = "bx";
    quote.lastExtendedHours = 97;
    const std::pair<std::string, std::string> fields[] = {
        {"D", " 07/21/09"}, {"TT", " 10:14:59"}, {"V", "11456230000"}, {"SO", "61000"},
        {"BX", "bx"},       {"AX", " "},         {"T5", ""},           {"LASTEXTHRS", "97.000000"},
    };
    DisplayZone newYork(dzmExchange, -4 * 60);
    const DataFormatter formatter(&newYork.manager);
    for (const auto& [name, text] : fields) {
        const SnapshotQualifierId id = SnapshotQualifiers::GetQualifierID(name);
        EXPECT_EQ(formatter.FormatSnapshotField("IBM", id, quote), text) << name;
    }
}

// Short names match exactly: no long names, prefixes or text after a zero byte.
TEST_F(SnapshotText, QualifierTableFindsShortNamesExactlyAndReportsIdsOutsideIt) {
    EXPECT_EQ(SnapshotQualifiers::GetQualifierID("LASTEXTHRS"), 97);
    for (const std::string& name :
         {std::string("Bid"), std::string("LASTEXT"), std::string("B\0", 2)}) {
        EXPECT_EQ(SnapshotQualifiers::GetQualifierID(name), kEnd) << '"' << name << '"';
    }
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
