// Windows test: the supplier against Mondrel.dll's simulated market. The library calls back from
// this thread's message loop, so the test pumps messages while it waits.
#include "DataSupplier.h"
#include "PumpUntil.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>

namespace {

class CountingListener final : public IDataListener {
public:
    void OnProcessingBarData(IBarSet* const&, const BarInfo&) override {}
    void OnProcessingTickData(ITickSet* const&, const TickInfo& info) override {
        ++tickCalls;
        for (const Tick& tick : info.ticks) {
            ticksSeen += tick.isNew ? 1 : 0;
            kinds.insert(tick.kind);
        }
        lastTickCount = info.ticks.size();
    }
    void OnProcessingSnapData(const QuoteKey& key, const SnapshotInfo& info) override {
        ++snapCalls;
        lastKey = key.key;
        lastSymbol = info.symbol;
        lastBid = info.bid;
        lastAsk = info.ask;
    }

    int snapCalls = 0;
    std::uint32_t lastKey = 0;
    std::string lastSymbol;
    double lastBid = 0;
    double lastAsk = 0;
    int tickCalls = 0;
    int ticksSeen = 0;
    std::size_t lastTickCount = 0;
    std::set<std::string> kinds;
};

TEST(SupplierAgainstLibrary, ConnectsSubscribesStopsAndDisconnects) {
    CountingListener listener;
    DataSupplier supplier;
    supplier.SetDataListener(&listener);

    // The simulated market serves the address "sim" to any user with a password.
    ASSERT_TRUE(supplier.Connect({"tester", "secret", "sim", "sim", "sim", "sim", 1, ""}));
    EXPECT_EQ(supplier.GetCompositeState(), ecsConnecting);
    ASSERT_TRUE(PumpUntil([&] { return supplier.GetCompositeState() == ecsConnected; }, 30000));
    for (const FeedId id : kFeedIds) {
        EXPECT_EQ(supplier.GetFeedInfo(id).state, fsConnected) << id;
        EXPECT_EQ(supplier.GetFeedInfo(id).errorText, "") << id;
    }

    // A market that trades around the clock, so that the test holds at any hour.
    const QuoteKey key = supplier.StartSnapshotRequest("BTCUSD");
    ASSERT_TRUE(key);
    ITickSet* ticks = supplier.StartTickRequest({"BTCUSD", 10});
    ASSERT_NE(ticks, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return listener.snapCalls > 0 && listener.ticksSeen > 0; }, 30000));

    EXPECT_EQ(listener.lastKey, key.key);
    EXPECT_EQ(listener.lastSymbol, "BTCUSD");
    EXPECT_GT(listener.lastBid, 0);
    EXPECT_GT(listener.lastAsk, 0);
    EXPECT_GT(listener.lastTickCount, 0u);
    EXPECT_LE(listener.lastTickCount, 10u);
    for (const std::string& kind : listener.kinds) {
        EXPECT_TRUE(kind == "trd" || kind == "bid" || kind == "ask") << kind;
    }

    supplier.StopRequest(key);
    supplier.StopRequest(ticks);
    const int snapCalls = listener.snapCalls;
    const int tickCalls = listener.tickCalls;
    // Whatever the library still had queued must not reach the listener.
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ(listener.snapCalls, snapCalls);
    EXPECT_EQ(listener.tickCalls, tickCalls);

    supplier.Disconnect();
    EXPECT_EQ(supplier.GetCompositeState(), ecsDisconnected);
    EXPECT_EQ(supplier.GetDataManager(), nullptr);
}

} // namespace
