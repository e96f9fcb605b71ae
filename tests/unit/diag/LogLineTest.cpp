// The layer's log lines as the library receives them (a recording fake stands in for kolvane.so).
#include "FakeKolvane.h"
#include "Kolvane.h"
#include "PureVirtualCall.h"
#include "RuntimeHandlers.h"

#include <gtest/gtest.h>

class Conversation {
public:
    std::int32_t Open() {
        KOLVANE_LOG(this, "DDE initialize failed\n");
        return __LINE__ - 1;
    }
};

TEST(LogLine, FirstLineOfTheProcessIsModuleLoadedAndDefinesTheLogOnce) {
    FakeKolvaneCalls& fake = Fake();
    KOLVANE_LOG(nullptr, "one");
    KOLVANE_LOG(nullptr, "two");

    ASSERT_EQ(fake.defines.size(), 1u);
    EXPECT_EQ(fake.defines[0].name, u"unit_diag_fake");
    EXPECT_EQ(fake.defines[0].kind, 237);

    ASSERT_GE(fake.lines.size(), 3u);
    EXPECT_EQ(fake.lines[0].text, u"Module loaded");
    EXPECT_EQ(fake.lines[0].function, u"StaticIniter::StaticIniter");
    EXPECT_EQ(fake.lines[0].file, u"src/diag/StaticIniter.cpp");
    EXPECT_NE(fake.lines[0].object, nullptr);
    for (const auto& line : fake.lines) {
        EXPECT_EQ(line.logId, 42);
        EXPECT_EQ(line.logName, u"unit_diag_fake");
    }
}

TEST(LogLine, CarriesLocationAndObjectAndKeepsTheTextAsItStands) {
    FakeKolvaneCalls& fake = Fake();
    Conversation conversation;
    const std::int32_t line = conversation.Open();

    const auto& written = fake.lines.back();
    EXPECT_EQ(written.text, u"DDE initialize failed\n");
    EXPECT_EQ(written.function, u"Conversation::Open");
    EXPECT_EQ(written.file, u"tests/unit/diag/LogLineTest.cpp");
    EXPECT_EQ(written.line, line);
    EXPECT_EQ(written.object, &conversation);
}

TEST(LogLine, FormatsWithPrintfRulesAndWidensAnsiText) {
    FakeKolvaneCalls& fake = Fake();
    KOLVANE_LOG(nullptr, "%s=%d %ls caf\xe9", "count", 7, L"wide");
    EXPECT_EQ(fake.lines.back().text, u"count=7 wide caf\u00e9");
    EXPECT_EQ(fake.lines.back().object, nullptr);

    const wchar_t* volatile missing = nullptr; // hidden from the compiler's format checks
    KOLVANE_LOG(nullptr, "name=%ls", missing);
    EXPECT_EQ(fake.lines.back().text, u"name=(null)");
}

TEST(LogLine, InvalidParameterHandlerWithoutDetailsLogsNullsAndReportsFalse) {
    FakeKolvaneCalls& fake = Fake();
    Kolvane::InvalidParameterHandler(nullptr, nullptr, nullptr, 0, 0);

    const auto& written = fake.lines.back();
    EXPECT_EQ(
        written.text,
        u"invalid_parameter_handler: expression=(null), function=(null), file=(null), line=0");
    EXPECT_EQ(written.function, u"Kolvane::InvalidParameterHandler");
    EXPECT_EQ(written.file, u"src/diag/Kolvane.h");
    EXPECT_EQ(written.object, nullptr);
    ASSERT_FALSE(fake.reports.empty());
    EXPECT_EQ(fake.reports.back().expression, u"false");
    EXPECT_EQ(fake.reports.back().function, u"Kolvane::InvalidParameterHandler");
}

TEST(LogLineDeathTest, PureVirtualCallIsLoggedAndReported) {
    EXPECT_EXIT(
        {
            Fake().answer = 2; // so that the handler's own report ends the process with 0
            PureCallDerived derived;
        },
        testing::ExitedWithCode(0), "");
}
