// KOLVANE_ASSERT against a recording fake of kolvane.so: what is reported, and what the answer
// does. The answer "end" is followed through the real library end to end (check-diagnostics).
#include "Kolvane.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <type_traits>

struct TimerOwner {
    std::int32_t OnTimer() {
        KOLVANE_ASSERT(!"Unknown timer");
        return __LINE__ - 1;
    }
};

TEST(Assert, ReportsExpressionTextFunctionFileLineAndBuildTimestampOnce) {
    fake::KolvaneCalls* library = fake::LogCapture::Calls();
    ASSERT_NE(library, nullptr);
    library->answer = 0;
    const std::size_t before = library->reports.size();
    const std::int32_t line = TimerOwner().OnTimer();
    KOLVANE_ASSERT(std::is_same_v<int, long>);
    int evaluated = 0;
    KOLVANE_ASSERT(++evaluated == 1);
    KOLVANE_ASSERT(++evaluated == 0);
    KOLVANE_ASSERT_TEXT(++evaluated == 0, "settings.Save()");
    EXPECT_EQ(evaluated, 3);

    ASSERT_EQ(library->reports.size(), before + 4);
    const auto& report = library->reports[before];
    EXPECT_EQ(report.expression, u"!\"Unknown timer\"");
    EXPECT_EQ(report.function, u"TimerOwner::OnTimer");
    EXPECT_EQ(report.file, u"tests/unit/diag/AssertTest.cpp");
    EXPECT_EQ(report.line, line);
    const std::string stamp(report.buildTimestamp.begin(), report.buildTimestamp.end());
    EXPECT_TRUE(std::regex_match(stamp, std::regex("[A-Z][a-z]{2} [A-Z][a-z]{2} [ 1-3][0-9] "
                                                   "[0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}")))
        << stamp;
    EXPECT_EQ(library->reports[before + 1].expression, u"std::is_same_v<int, long>");
    EXPECT_EQ(library->reports[before + 2].expression, u"++evaluated == 0");
    EXPECT_EQ(library->reports[before + 3].expression, u"settings.Save()");

    for (const std::int32_t answer : {1, 3, -1}) {
        library->answer = answer; // 1 breaks only under a debugger; the others carry on
        KOLVANE_ASSERT(false);
    }
    library->answer = 0;
}
