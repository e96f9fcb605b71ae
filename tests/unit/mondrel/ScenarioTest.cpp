// Scenario files: parsing and its error reports, and a file that cannot be read.
#include "Engine.h"
#include "ScenarioFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace mondrel;

namespace {

TEST(ScenarioParsing, ReportsEachBadLineWithFileLineAndReasonAndKeepsTheRest) {
    std::istringstream in("# a comment\n"
                          "symbol IBM\n"
                          "frobnicate IBM\n"
                          "quote MSFT 2=1.5\n"
                          "quote IBM 2=abc\n"
                          "bar IBM 0 2009-07-21 1 2 0.5 1.5 100\n"
                          "bar IBM 5 2009-02-30 1 2 0.5 1.5 100\n"
                          "at -5 message hello\n"
                          "feed all connected\n"
                          "message \"unterminated\n"
                          "at 10 feed Nowhere retry\n"
                          "quote IBM 2=101.25 0xEA72=\"Big Blue\"\n"
                          "benchmark when go\n"
                          "benchmark\n"
                          "at 5 benchmark\n"
                          "benchmark when\n");
    Scenario scenario = ParseScenario(in, "test.scn", "");
    EXPECT_EQ(
        scenario.problems,
        (std::vector<std::string>{
            "test.scn(3): unknown directive 'frobnicate'",
            "test.scn(4): unknown symbol 'MSFT' (declare it with a symbol line first)",
            "test.scn(5): field 2 takes a number, not 'abc'",
            "test.scn(6): bad interval '0' (1 to 1440 minutes, or -1 to -5)",
            "test.scn(7): bad time '2009-02-30'",
            "test.scn(8): bad time '-5' (milliseconds from the connection)",
            "test.scn(9): 'feed' needs a time: at <ms> feed ...",
            "test.scn(10): unterminated quoted text",
            "test.scn(11): unknown feed 'Nowhere' (DataManager, DomesticTick, "
            "InternationalTick, History or all)",
            "test.scn(14): 'benchmark' is given twice", "test.scn(15): 'benchmark' cannot be timed",
            "test.scn(16): usage: benchmark [when <file>]"}));
    EXPECT_EQ(std::tuple(scenario.benchmark, scenario.benchmarkTrigger), std::tuple(true, "go"));
    const ScenarioSymbol* ibm = scenario.Find("ibm");
    ASSERT_NE(ibm, nullptr);
    EXPECT_EQ(std::get<double>(ibm->quote.at(2)), 101.25);
    EXPECT_EQ(std::get<std::string>(ibm->quote.at(0xEA72)), "Big Blue");
}

// The feed of a file that cannot be read fails and says why; the others connect.
TEST(ScenarioEngine, AMissingFileFailsItsFeedAndSaysWhy) {
    struct Recorder final : IConnectionEvents {
        void OnRetry(IFeed*, int) override {}
        void OnConnected(IFeed* feed, int code) override { Feed("connected", feed, code); }
        void OnDisconnected(IFeed* feed, int code) override { Feed("disconnected", feed, code); }
        void OnFeedList(IFeed*, const char*) override {}
        void OnServerMessage(const char* text) override { events.push_back(text); }
        void OnHeartbeat(MondrelTime) override {}
        void Feed(const std::string& what, IFeed* feed, int code) {
            events.push_back(what + " " + std::to_string(feed->GetFeedId()) + " " +
                             std::to_string(code));
        }
        std::vector<std::string> events;
    } recorder;
    std::int64_t now = 1784649600000; // 2026-07-21 16:00 UTC, in ms
    Engine engine([&] { return now; });
    engine.AddConnectionListener(&recorder);
    engine.SetTextOption(moDomTickAddress, "scenario:/nonexistent/none.scn");
    engine.ConnectFeeds("user", "secret", 1, 0);
    now += 5000;
    engine.Pump();
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_EQ(recorder.events[0], "/nonexistent/none.scn: cannot open the scenario file");
    EXPECT_THAT(recorder.events, testing::IsSupersetOf({"disconnected 2 -9", "connected 1 0"}));
}

} // namespace
