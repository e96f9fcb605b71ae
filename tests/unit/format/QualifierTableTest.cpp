#include "FormatTestSupport.h"
#include "SnapshotQualifiers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

class QualifierTable : public ::testing::Test {
protected:
    void SetUp() override { TakeAssertions(); }
};

// Every short name's identifier and value are checked in SnapshotText's field table; here the
// names that must not match, and the long names of the headers.
TEST_F(QualifierTable, FindsShortNamesExactlyAndCaseSensitively) {
    const std::vector<std::pair<std::string, SnapshotQualifierId>> cases = {
        {"B", 10},
        {"LASTEXTHRS", 97},
        {"Bid", __sfEndOfQualifierList},     // a long name
        {"b", __sfEndOfQualifierList},       // case matters
        {"B ", __sfEndOfQualifierList},      // nothing is trimmed
        {"LASTEXT", __sfEndOfQualifierList}, // no prefix matching
        {std::string("B\0", 2), __sfEndOfQualifierList},
    };
    for (const auto& [name, id] : cases) {
        EXPECT_EQ(SnapshotQualifiers::GetQualifierID(name), id) << '"' << name << '"';
    }
    EXPECT_EQ(SnapshotQualifiers::GetQualifierLongName(0), "Date");
    EXPECT_EQ(SnapshotQualifiers::GetQualifierLongName(33), "Net %");
    EXPECT_EQ(SnapshotQualifiers::GetQualifierLongName(97), "Last Extended Hours");
    EXPECT_TRUE(TakeAssertions().empty());
    EXPECT_EQ(SnapshotQualifiers::GetQualifierID(""), __sfEndOfQualifierList);
    EXPECT_EQ(TakeAssertions(),
              std::vector<std::string>{
                  "SnapshotQualifiers::GetQualifierID: !qualifierShortName.IsEmpty()"});
}

TEST_F(QualifierTable, ReportsIdentifiersOutsideTheTableAndReadsNothing) {
    EXPECT_EQ(SnapshotQualifiers::GetQualifierLongName(__sfEndOfQualifierList), "");
    EXPECT_EQ(
        TakeAssertions(),
        (std::vector<std::string>{
            "SnapshotQualifiers::GetQualifierLongName: qualifierID != __sfEndOfQualifierList",
            "SnapshotQualifiers::GetQualifierLongName: (size_t)qualifierID < qualifiers.size()"}));
    EXPECT_EQ(SnapshotQualifiers::GetQualifierLongName(-1), "");
    EXPECT_EQ(SnapshotQualifiers::GetQualifierLongName(1000), "");
    EXPECT_EQ(TakeAssertions().size(), 2u);
}

} // namespace
