// The layer's log lines as the library receives them (a recording fake stands in for kolvane.so);
// the first and last lines are checked end to end (tests/e2e/diag).
#include "Kolvane.h"
#include "LogCapture.h"
#include "RuntimeHandlers.h"

#include <gtest/gtest.h>

struct Conversation {
    std::int32_t Open() {
        KOLVANE_LOG(this, "DDE initialize failed\n");
        return __LINE__ - 1;
    }
};

TEST(LogLine, CarriesLocationAndObjectAndFormatsWithPrintfRules) {
    fake::KolvaneCalls* library = fake::LogCapture::Calls();
    ASSERT_NE(library, nullptr);
    Conversation conversation;
    const std::int32_t line = conversation.Open();
    const auto& written = library->lines.back();
    EXPECT_EQ(written.text, u"DDE initialize failed\n");
    EXPECT_EQ(written.function, u"Conversation::Open");
    EXPECT_EQ(written.file, u"tests/unit/diag/LogLineTest.cpp");
    EXPECT_EQ(written.line, line);
    EXPECT_EQ(written.object, &conversation);

    KOLVANE_LOG(nullptr, "%s=%d %ls caf\xe9", "count", 7, L"wide");
    EXPECT_EQ(library->lines.back().text, u"count=7 wide caf\u00e9");
    EXPECT_EQ(library->lines.back().object, nullptr);
}

TEST(LogLine, InvalidParameterHandlerWithoutDetailsLogsNullsAndReportsFalse) {
    fake::KolvaneCalls* library = fake::LogCapture::Calls();
    ASSERT_NE(library, nullptr);
    Kolvane::InvalidParameterHandler(nullptr, nullptr, nullptr, 0, 0);
    EXPECT_EQ(
        library->lines.back().text,
        u"invalid_parameter_handler: expression=(null), function=(null), file=(null), line=0");
    EXPECT_EQ(library->lines.back().function, u"Kolvane::InvalidParameterHandler");
    ASSERT_FALSE(library->reports.empty());
    EXPECT_EQ(library->reports.back().expression, u"false");
}
