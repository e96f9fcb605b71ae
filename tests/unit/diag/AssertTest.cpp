// KOLVANE_ASSERT against a recording fake of kolvane.so: what is reported, and what the answer
// does.
#include "Kolvane.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <type_traits>

namespace {

std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

} // namespace

class TimerOwner {
public:
    std::int32_t OnTimer() {
        KOLVANE_ASSERT(!"Unknown timer");
        return __LINE__ - 1;
    }
};

TEST(Assert, ReportsExpressionTextFunctionFileLineAndBuildTimestamp) {
    fake::KolvaneCalls* library = fake::LogCapture::Calls();
    ASSERT_NE(library, nullptr);
    library->answer = 0;
    const std::size_t before = library->reports.size();
    const std::int32_t line = TimerOwner().OnTimer();
    KOLVANE_ASSERT(0);
    KOLVANE_ASSERT(std::is_same_v<int, long>);

    ASSERT_EQ(library->reports.size(), before + 3);
    const auto& report = library->reports[before];
    EXPECT_EQ(report.expression, u"!\"Unknown timer\"");
    EXPECT_EQ(report.function, u"TimerOwner::OnTimer");
    EXPECT_EQ(report.file, u"tests/unit/diag/AssertTest.cpp");
    EXPECT_EQ(report.line, line);
    EXPECT_TRUE(
        std::regex_match(Narrow(report.buildTimestamp),
                         std::regex("(Mon|Tue|Wed|Thu|Fri|Sat|Sun) [A-Z][a-z]{2} [ 1-3][0-9] "
                                    "[0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}")))
        << Narrow(report.buildTimestamp);
    EXPECT_EQ(library->reports[before + 1].expression, u"0");
    EXPECT_EQ(library->reports[before + 2].expression, u"std::is_same_v<int, long>");
}

TEST(Assert, EvaluatesTheExpressionExactlyOnceAndReportsOnlyFailures) {
    fake::KolvaneCalls* library = fake::LogCapture::Calls();
    ASSERT_NE(library, nullptr);
    library->answer = 0;
    const std::size_t before = library->reports.size();
    int saves = 0;
    const auto save = [&saves](bool result) {
        ++saves;
        return result;
    };
    KOLVANE_ASSERT(save(true));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(library->reports.size(), before);

    KOLVANE_ASSERT(save(false));
    EXPECT_EQ(saves, 2);
    ASSERT_EQ(library->reports.size(), before + 1);
    EXPECT_EQ(library->reports.back().expression, u"save(false)");
}

// The answer "end" is followed through the real library (RealLibraryTest.cpp).
TEST(Assert, AnswersOtherThanEndCarryOn) {
    fake::KolvaneCalls* library = fake::LogCapture::Calls();
    ASSERT_NE(library, nullptr);
    int carriedOn = 0;
    for (const std::int32_t answer : {0, 1, 3, -1}) {
        library->answer = answer; // 1 breaks only under a debugger
        KOLVANE_ASSERT(false);
        ++carriedOn;
    }
    library->answer = 0;
    EXPECT_EQ(carriedOn, 4);
}
