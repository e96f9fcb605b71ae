// What a cell's topic strings ask for, and the refusals (each with exactly its log line).
#include "RtdTopic.h"
#include "FormatTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST(RtdTopic, ReadsTheItemAsItsDdeTopicDoesWholeOrCutAtCommas) {
    struct Row {
        Strings strings;
        RtdTopicKind kind;
        std::string subscription;
        std::int32_t qualifier, row, field;
    };
    const Row rows[] = {
        {{"Snapshot", "IBM", "B"}, RtdTopicKind::Snapshot, "SIBM", 10, 0, 0},
        {{"snapshot", " ibm,a "}, RtdTopicKind::Snapshot, "SIBM", 11, 0, 0},
        {{"SNAPSHOT", "IBM", "", "EX"}, RtdTopicKind::Snapshot, "SIBM", 58, 0, 0},
        {{"Bars", "IBM,5,20,DTOHLCV", "1", "C"}, RtdTopicKind::Bars, "BIBM,5,20,0", 0, 1, bfClose},
        {{"bars", "ibm", "5", "20", "CV", "20", "v"},
         RtdTopicKind::Bars,
         "BIBM,5,20,0",
         0,
         20,
         bfVolume},
        {{"Bars", "IBM,D,3,DC,FILL,REVERSE", "2", "D"},
         RtdTopicKind::Bars,
         "BIBM,-1,3,1",
         0,
         2,
         bfDate},
        {{"TS", "IBM,10,DTPS", " 3 ", "S"}, RtdTopicKind::Ticks, "TIBM,10", 0, 3, tfSize},
        {{"ts", "IBM", "10", "PSC", "1", "C"}, RtdTopicKind::Ticks, "TIBM,10", 0, 1, tfKind},
    };
    TakeDiagnostics();
    for (const Row& row : rows) {
        const auto topic = ReadRtdTopic(row.strings, nullptr, nullptr);
        ASSERT_TRUE(topic) << row.strings[1];
        EXPECT_EQ(topic->kind, row.kind) << row.strings[1];
        EXPECT_EQ(topic->subscription, row.subscription) << row.strings[1];
        EXPECT_EQ(topic->qualifier, row.qualifier) << row.strings[1];
        EXPECT_EQ(topic->row, row.row) << row.strings[1];
        EXPECT_EQ(topic->field, row.field) << row.strings[1];
    }
    EXPECT_EQ(TakeDiagnostics(), Strings{});
}

TEST(RtdTopic, RefusesWithTheLineOfItsCause) {
    struct Row {
        Strings strings;
        std::string line;
    };
    const Row rows[] = {
        {{"Snapshot"}, "log ReadRtdTopic: Error: RTD topic needs a topic and an item\n"},
        {{"Quotes", "IBM", "B"}, "log ReadRtdTopic: Error: Unsupported RTD topic 'Quotes'\n"},
        {{"Snapshot", ""},
         "log RtdTopicReader::HasItem: Error: Not specified request "
         "parameters\n"},
        {{"Snapshot", "IBM", "BID"},
         "log DdeServer::CreateSnapshotTopic: Error: Unable to "
         "create topic - Unsupported parameter ('BID')\n"},
        {{"Snapshot", "IBM"},
         "log ReadRtdTopic: Error: RTD snapshot item 'IBM' must name one "
         "field\n"},
        {{"Snapshot", "IBM,B,A"},
         "log ReadRtdTopic: Error: RTD snapshot item 'IBM,B,A' must "
         "name one field\n"},
        {{"Bars", "IBM,5,20,C"},
         "log ReadRtdTopic: Error: RTD item 'IBM,5,20,C' needs a row "
         "and a column\n"},
        {{"Bars", "IBM,5,20,DX", "1", "D"},
         "log DdeServer::CreateBarTopic: Error: Unable to "
         "create topic: Unsupported field 'X'\n"},
        {{"Bars", "IBM,5,20,C", "21", "C"},
         "log RtdTopicReader::ReadCell: Error: RTD row "
         "'21' is not 1 to 20 of 'IBM,5,20,C'\n"},
        {{"TS", "IBM,5,P", "0", "P"},
         "log RtdTopicReader::ReadCell: Error: RTD row '0' "
         "is not 1 to 5 of 'IBM,5,P'\n"},
        {{"TS", "IBM,5,P", "1x", "P"},
         "log RtdTopicReader::ReadCell: Error: RTD row "
         "'1x' is not 1 to 5 of 'IBM,5,P'\n"},
        {{"TS", "IBM,5,P", "1", "S"},
         "log RtdTopicReader::ReadCell: Error: RTD column "
         "'S' is not a field of 'IBM,5,P'\n"},
        {{"TS", "IBM,5,P", "1", "PS"},
         "log RtdTopicReader::ReadCell: Error: RTD column "
         "'PS' is not a field of 'IBM,5,P'\n"},
    };
    TakeDiagnostics();
    for (const Row& row : rows) {
        EXPECT_FALSE(ReadRtdTopic(row.strings, nullptr, nullptr)) << row.line;
        EXPECT_EQ(TakeDiagnostics(), Strings{row.line});
    }
}

} // namespace
