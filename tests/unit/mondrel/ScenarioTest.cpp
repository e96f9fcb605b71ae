// Scenario files: parsing and its error reports, and an instance driven by a scenario.
#include "Engine.h"
#include "EventRecorder.h"
#include "ScenarioFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace mondrel;

namespace {

constexpr std::int64_t kStart = 1784649600000; // 2026-07-21 16:00 UTC, in ms

Scenario Parse(const std::string& text) {
    std::istringstream in(text);
    return ParseScenario(in, "test.scn", "");
}

TEST(ScenarioParsing, ReportsEachBadLineWithFileLineAndReasonAndKeepsTheRest) {
    const Scenario scenario = Parse("# a comment\n"
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
    EXPECT_TRUE(scenario.benchmark);
    EXPECT_EQ(scenario.benchmarkTrigger, "go");
    Scenario copy = scenario;
    const ScenarioSymbol* ibm = copy.Find("ibm");
    ASSERT_NE(ibm, nullptr);
    EXPECT_EQ(std::get<double>(ibm->quote.at(2)), 101.25);
    EXPECT_EQ(std::get<std::string>(ibm->quote.at(0xEA72)), "Big Blue");
}

class ScenarioEngine : public testing::Test {
protected:
    ScenarioEngine() : engine([this] { return now; }) { engine.AddConnectionListener(&recorder); }
    ~ScenarioEngine() override { std::filesystem::remove_all(directory); }

    std::string Write(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(directory);
        const std::string path = (directory / name).string();
        std::ofstream(path) << text;
        return path;
    }

    void At(std::int64_t ms) {
        now = kStart + ms;
        engine.Pump();
    }

    std::filesystem::path directory =
        std::filesystem::temp_directory_path() /
        ("mondrel-scenario-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::int64_t now = kStart;
    Engine engine;
    EventRecorder recorder;
};

TEST_F(ScenarioEngine, ZonesAndHolidaysComeFromTheFile) {
    const std::string path = Write("zones.scn", "zone 7 Europe/London 0 eu\n"
                                                "symbol VOD zone 7 calendar frankfurt\n"
                                                "holiday VOD 2026-08-31\n");
    engine.SetTextOption(moHistoryAddress, path.c_str());
    engine.ConnectFeeds("user", "secret", 1, 0);
    IMarketInfo* info = engine.GetMarketInfo();
    EXPECT_EQ(info->GetTimeZone("vod"), 7);
    EXPECT_EQ(info->GetTimeZoneOffset(1784649600, 7), 60); // July: summer time
    EXPECT_EQ(info->GetTimeZoneOffset(1767225600, 7), 0);  // 2026-01-01
    EXPECT_EQ(info->IsDaylightTime(1784649600, "VOD"), 1);
    IHolidayList* holidays = info->GetHolidays("VOD");
    ASSERT_NE(holidays, nullptr);
    bool bankHoliday = false, goodFriday = false;
    for (int i = 0; i < holidays->GetHolidayCount(); ++i) {
        int y, m, d;
        holidays->GetHoliday(i, &y, &m, &d);
        bankHoliday = bankHoliday || (y == 2026 && m == 8 && d == 31);
        goodFriday = goodFriday || (y == 2026 && m == 4 && d == 3);
    }
    info->ReleaseHolidays(holidays);
    engine.ReleaseMarketInfo();
    EXPECT_TRUE(bankHoliday && goodFriday);
    // Without feed steps in the file the feeds connect as usual; the scenario serves its feed.
    At(5000);
    EXPECT_EQ(engine.StateOf(mfbHistory), FeedState::Connected);
}

TEST_F(ScenarioEngine, ReplaysRecordedTradesAndQuotes) {
    Write("day.csv", "time,symbol,kind,price,size,exchange,ask,asksize,askexchange\n"
                     "2009-07-21T14:00:00,IBM,T,101.5,100,N\n"
                     "2009-07-21T14:00:02,IBM,Q,101.4,500,N,101.6,300,P\n"
                     "2009-07-21T14:00:04,IBM,X,1,1,N\n"
                     "2009-07-21T14:00:04,IBM,T,101.7,200,Z\n");
    const std::string path = Write("replay.scn", "replay day.csv at 1000 speed 2\n");
    engine.SetTextOption(moQuoteAddress, path.c_str());
    engine.ConnectFeeds("user", "secret", 1, 0);
    IQuote* quote = engine.SubscribeQuote("IBM", &recorder, 1);
    ASSERT_NE(quote, nullptr);
    At(999);
    EXPECT_EQ(recorder.Take(),
              (std::vector<std::string>{"day.csv(4): kind must be T (trade) or Q (quote), not 'X'",
                                        "retry 1 0", "retry 2 0", "retry 4 0", "retry 16 0",
                                        "connected 1 0", "connected 2 0", "connected 4 0",
                                        "connected 16 0", "quote 0.000000"}));
    At(1000);
    EXPECT_EQ(recorder.Take(), std::vector<std::string>{"quote 101.500000"});
    At(2999);
    recorder.Take();
    At(3000); // 4 seconds of recording at double speed
    EXPECT_EQ(recorder.Take(), std::vector<std::string>{"quote 101.700000"});
    std::int32_t volume = 0;
    EXPECT_EQ(quote->GetInt(0x2711, &volume), 1);
    EXPECT_EQ(volume, 300);
    double bid = 0;
    EXPECT_EQ(quote->GetDouble(9, &bid), 1);
    EXPECT_EQ(bid, 101.4);
}

// The trigger lies beside the scenario; until it exists the quote stands still.
TEST_F(ScenarioEngine, BenchmarkModeStartsOnceItsTriggerFileExists) {
    const std::string path = Write("bench.scn", "symbol IBM\n"
                                                "quote IBM 2=100.5\n"
                                                "benchmark when go\n");
    engine.SetTextOption(moQuoteAddress, path.c_str());
    engine.ConnectFeeds("user", "secret", 1, 0);
    ASSERT_NE(engine.SubscribeQuote("IBM", &recorder, 1), nullptr);
    At(5000);
    EXPECT_EQ(recorder.Take().back(), "quote 100.500000");
    At(5000);
    EXPECT_TRUE(recorder.Take().empty());
    Write("go", "");
    At(5000);
    At(5000);
    EXPECT_EQ(recorder.Take(), (std::vector<std::string>{"quote 100.510000", "quote 100.520000"}));
}

TEST_F(ScenarioEngine, AMissingFileFailsItsFeedAndSaysWhy) {
    engine.SetTextOption(moDomTickAddress, "scenario:/nonexistent/none.scn");
    engine.ConnectFeeds("user", "secret", 1, 0);
    At(5000);
    const std::vector<std::string> events = recorder.Take();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0], "/nonexistent/none.scn: cannot open the scenario file");
    EXPECT_NE(std::find(events.begin(), events.end(), "disconnected 2 -9"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "connected 1 0"), events.end());
}

} // namespace
