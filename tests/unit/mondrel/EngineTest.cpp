// The library object at a fixed clock: connection outcomes, options, subscriptions and the
// delivery of their callbacks from Pump only.
#include "Engine.h"
#include "EventRecorder.h"
#include "mondrel/MondrelExtensions.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

using namespace mondrel;

namespace {

constexpr std::int64_t kTuesdayNoonNewYork = 1784649600; // 2026-07-21 16:00 UTC

class EngineTest : public testing::Test {
protected:
    EngineTest() : engine([this] { return now; }) { engine.AddConnectionListener(&recorder); }

    void Advance(std::int64_t ms) {
        now += ms;
        engine.Pump();
    }

    void Connect() {
        engine.ConnectFeeds("user", "secret", 1, 0);
        Advance(5000);
        recorder.Take();
    }

    std::int64_t now = kTuesdayNoonNewYork * 1000;
    Engine engine;
    EventRecorder recorder;
};

TEST_F(EngineTest, FeedsRetryThenConnectAfterTheDelay) {
    engine.SetIntOption(moConnectDelay, 300);
    EXPECT_EQ(engine.ConnectFeeds("user", "secret", 1, 0), 1);
    EXPECT_TRUE(recorder.events.empty()); // nothing before the pump
    Advance(0);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"retry 1 0", "retry 2 0", "retry 4 0", "retry 16 0"}));
    Advance(299);
    EXPECT_EQ(recorder.events.size(), 4u);
    Advance(1000);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"retry 1 0", "retry 2 0", "retry 4 0", "retry 16 0",
                                        "connected 1 0", "connected 2 0", "connected 4 0",
                                        "connected 16 0"}));
    EXPECT_EQ(engine.StateOf(mfbHistory), FeedState::Connected);
}

// The history feed's outcome by credentials and address; the other feeds keep their own address.
TEST_F(EngineTest, ConnectionOutcomes) {
    const struct {
        const char* password;
        const char* historyAddress;
        const char* last;
    } cases[] = {
        {"", "", "disconnected 16 -7"}, // every feed refuses missing credentials
        {"secret", "quotes.example.com", "disconnected 16 -9"},
        {"secret", "10.0.0.1", "disconnected 16 -9"},
        {"secret", "", "connected 16 0"},
        {"secret", "SIM", "connected 16 0"},
    };
    engine.SetTextOption(moQuoteAddress, "localhost:9100");
    for (const auto& c : cases) {
        engine.SetTextOption(moHistoryAddress, c.historyAddress);
        engine.ConnectFeeds("user", c.password, 1, 0);
        Advance(5000);
        EXPECT_EQ(recorder.events.back(), c.last) << c.historyAddress;
        EXPECT_EQ(engine.StateOf(mfbDataManager),
                  *c.password ? FeedState::Connected : FeedState::Disconnected);
        engine.DisconnectFeeds();
        Advance(0);
        recorder.Take();
    }
    // Disconnecting cancels the pending outcomes.
    engine.ConnectFeeds("user", "secret", 1, 0);
    Advance(0);
    engine.DisconnectFeeds();
    Advance(5000);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"retry 1 0", "retry 2 0", "retry 4 0", "retry 16 0",
                                        "disconnected 1 0", "disconnected 2 0", "disconnected 4 0",
                                        "disconnected 16 0"}));
}

TEST_F(EngineTest, UnknownSymbolsAreRefused) {
    IRequestOptions* options = engine.NewBarOptions();
    EXPECT_EQ(engine.SubscribeQuote("NOSUCH", &recorder, 1), nullptr);
    EXPECT_EQ(engine.RequestBars("NOSUCH", 5, &recorder, options), nullptr);
    EXPECT_EQ(engine.RequestTicks("", &recorder, options), nullptr);
    EXPECT_EQ(engine.RequestBars("IBM", 1441, &recorder, options), nullptr);
    options->Destroy();
}

TEST_F(EngineTest, BenchmarkModeChangesEveryQuoteOnEveryPump) {
    struct WakeCounter final : Engine {
        using Engine::Engine;
        void Wake() override { ++wakes; }
        int wakes = 0;
    } counting([this] { return now; });
    counting.ConnectFeeds("user", "secret", 1, 0);
    IQuote* quote = counting.SubscribeQuote("IBM", &recorder, 1);
    now += 5000;
    counting.Pump();
    counting.Pump();
    const int updates = recorder.quoteUpdates;
    ASSERT_GE(updates, 1);

    counting.SetIntOption(moBenchmark, 1);
    std::vector<long long> cents;
    std::vector<long long> stamps;
    for (int i = 0; i < 3; ++i) {
        const int wakes = counting.wakes;
        counting.Pump();
        EXPECT_EQ(counting.wakes, wakes + 1);
        double last = 0.0;
        char title[256];
        ASSERT_EQ(quote->GetDouble(2, &last), 1);
        ASSERT_EQ(quote->GetText(0xEA72, title, sizeof title), 1);
        EXPECT_GE(last, 100.0);
        EXPECT_LT(last, 101.0);
        cents.push_back(std::llround(last * 100.0) % 100);
        stamps.push_back(std::stoll(title));
    }
    EXPECT_EQ(recorder.quoteUpdates, updates + 3);
    // One cent up, wrapping within the dollar.
    EXPECT_EQ((cents[1] - cents[0] + 100) % 100, 1);
    EXPECT_EQ((cents[2] - cents[1] + 100) % 100, 1);
    EXPECT_LE(stamps[0], stamps[1]);
    EXPECT_LE(stamps[1], stamps[2]);

    counting.SetIntOption(moBenchmark, 0);
    counting.Pump();
    EXPECT_EQ(recorder.quoteUpdates, updates + 3);
}

TEST_F(EngineTest, BarSetsBackFillThenUpdateLive) {
    Connect();
    IRequestOptions* options = engine.NewBarOptions();
    options->SetLiveUpdates(1);
    options->SetCount(30);
    IBarSet* bars = engine.RequestBars("MSFT", 1, &recorder, options);
    options->Destroy();
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(recorder.barBackFills, 0);
    Advance(0);
    EXPECT_EQ(recorder.barBackFills, 1);
    ASSERT_EQ(bars->GetBarCount(), 30);
    const MondrelTime newest = bars->GetBar(29)->GetTime();
    Advance(180000);
    ASSERT_FALSE(recorder.barUpdates.empty());
    EXPECT_GE(recorder.barUpdates.front(), newest);
    EXPECT_GT(bars->GetBarCount(), 30);
    bars->Trim(10, 1);
    EXPECT_EQ(bars->GetBarCount(), 10);
    EXPECT_EQ(bars->GetBar(9)->GetTime(), recorder.barUpdates.back());
    engine.StopBars(bars, &recorder);
    const auto updates = recorder.barUpdates.size();
    Advance(180000);
    EXPECT_EQ(recorder.barUpdates.size(), updates);
}

TEST_F(EngineTest, LiveBarsEqualTheHistoryOfTheSamePeriod) {
    Connect();
    auto request = [&](int count) {
        IRequestOptions* options = engine.NewBarOptions();
        options->SetLiveUpdates(1);
        options->SetCount(count);
        IBarSet* set = engine.RequestBars("NVDA", 1, &recorder, options);
        options->Destroy();
        Advance(0);
        return set;
    };
    IBarSet* live = request(3);
    Advance(400000); // almost seven minutes of live trades
    IBarSet* later = request(8);
    ASSERT_EQ(live->GetBarCount(), later->GetBarCount() + 2);
    for (int i = 0; i < later->GetBarCount(); ++i) {
        IBarItem* a = live->GetBar(i + 2);
        IBarItem* b = later->GetBar(i);
        EXPECT_EQ(a->GetTime(), b->GetTime());
        EXPECT_EQ(a->GetOpen(), b->GetOpen());
        EXPECT_EQ(a->GetHigh(), b->GetHigh());
        EXPECT_EQ(a->GetLow(), b->GetLow());
        EXPECT_EQ(a->GetClose(), b->GetClose());
        EXPECT_EQ(a->GetVolume(), b->GetVolume());
    }
}

} // namespace
