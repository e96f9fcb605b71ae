// What a cell's topic strings ask for, and the refusals (each with exactly its log line). The
// end-to-end run (tests/e2e/rtd) checks the refusals of a missing item, an unknown topic, fields
// the topic's grammar refuses, a field list on one snapshot cell, a row past the count and a
// column the item lacks.
#include "RtdTopic.h"
#include "FormatTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Topic strings written as one text with '|' between them.
Strings Split(const std::string& text) {
    Strings strings;
    std::size_t start = 0;
    for (std::size_t bar; (bar = text.find('|', start)) != std::string::npos; start = bar + 1) {
        strings.push_back(text.substr(start, bar - start));
    }
    strings.push_back(text.substr(start));
    return strings;
}

TEST(RtdTopic, ReadsTheItemAsItsDdeTopicDoesWholeOrCutAtCommas) {
    struct Row {
        const char* strings;
        RtdTopicKind kind;
        std::string subscription;
        std::int32_t qualifier, row, field;
    };
    const Row rows[] = {
        {"Snapshot|IBM|B", RtdTopicKind::Snapshot, "SIBM", 10, 0, 0},
        {"snapshot| ibm,a ", RtdTopicKind::Snapshot, "SIBM", 11, 0, 0},
        {"SNAPSHOT|IBM||EX", RtdTopicKind::Snapshot, "SIBM", 58, 0, 0},
        {"Bars|IBM,5,20,DTOHLCV|1|C", RtdTopicKind::Bars, "BIBM,5,20,0", 0, 1, bfClose},
        {"bars|ibm|5|20|CV|20|v", RtdTopicKind::Bars, "BIBM,5,20,0", 0, 20, bfVolume},
        {"Bars|IBM,D,3,DC,FILL,REVERSE|2|D", RtdTopicKind::Bars, "BIBM,-1,3,1", 0, 2, bfDate},
        {"TS|IBM,10,DTPS| 3 |S", RtdTopicKind::Ticks, "TIBM,10", 0, 3, tfSize},
        {"ts|IBM|10|PSC|1|C", RtdTopicKind::Ticks, "TIBM,10", 0, 1, tfKind},
    };
    TakeDiagnostics();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.strings);
        const auto topic = ReadRtdTopic(Split(row.strings), nullptr, nullptr);
        ASSERT_TRUE(topic);
        EXPECT_EQ(topic->kind, row.kind);
        EXPECT_EQ(topic->subscription, row.subscription);
        EXPECT_EQ(topic->qualifier, row.qualifier);
        EXPECT_EQ(topic->row, row.row);
        EXPECT_EQ(topic->field, row.field);
    }
    EXPECT_EQ(TakeDiagnostics(), Strings{});
}

TEST(RtdTopic, RefusesWithTheLineOfItsCause) {
    const std::pair<const char*, std::string> rows[] = {
        {"Snapshot|", "RtdTopicReader::HasItem: Error: Not specified request parameters"},
        {"Snapshot|IBM", "ReadRtdTopic: Error: RTD snapshot item 'IBM' must name one field"},
        {"Bars|IBM,5,20,C", "ReadRtdTopic: Error: RTD item 'IBM,5,20,C' needs a row and a column"},
        {"TS|IBM,5,P|0|P",
         "RtdTopicReader::ReadCell: Error: RTD row '0' is not 1 to 5 of 'IBM,5,P'"},
        {"TS|IBM,5,P|1x|P",
         "RtdTopicReader::ReadCell: Error: RTD row '1x' is not 1 to 5 of 'IBM,5,P'"},
        {"TS|IBM,5,P|1|PS",
         "RtdTopicReader::ReadCell: Error: RTD column 'PS' is not a field of 'IBM,5,P'"},
    };
    TakeDiagnostics();
    for (const auto& [strings, line] : rows) {
        EXPECT_FALSE(ReadRtdTopic(Split(strings), nullptr, nullptr)) << strings;
        EXPECT_EQ(TakeDiagnostics(), Strings{"log " + line + "\n"});
    }
}

} // namespace
