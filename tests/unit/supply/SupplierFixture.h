// A supplier wired to a recording listener, the scripted data-manager fake and the captured log.
#pragma once

#include "Clock.h"
#include "DataSupplier.h"
#include "FakeMondrel.h"
#include "LogCapture.h"
#include "TimeHelper.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// What the supplier delivered, in order. The hooks run inside the listener call, as a DDE server
// re-entered by DDEML would.
class RecordingListener final : public IDataListener {
public:
    void OnProcessingBarData(IBarSet* const&, const BarInfo& bar) override { bars.push_back(bar); }
    void OnProcessingTickData(ITickSet* const& tickSet, const TickInfo& info) override {
        ticks.push_back(info);
        onTick(tickSet);
    }
    void OnProcessingSnapData(const QuoteKey& key, const SnapshotInfo& info) override {
        snaps.push_back({key.key, info});
        onSnap(key);
    }

    std::vector<BarInfo> bars;
    std::vector<std::pair<std::uint32_t, SnapshotInfo>> snaps; // by request key
    std::vector<TickInfo> ticks;
    std::function<void(const QuoteKey&)> onSnap = [](const QuoteKey&) {};
    std::function<void(ITickSet*)> onTick = [](ITickSet*) {};
};

// The line of a notification that names a request the supplier no longer holds.
inline auto Ignored(const std::string& file, const std::string& function, const std::string& what) {
    return ::testing::Field(
        &fake::LogEntry::text,
        ::testing::MatchesRegex("src/supply/DataSupplier" + file +
                                "\\.cpp\\([0-9]+\\): DataSupplier::" + function +
                                ": Call ignored\\. Unknown " + what + " ptr = 0x[0-9a-f]{8}\n"));
}

inline const ConnectionSettings kSettings{"user",    "secret",   "quote", "history",
                                          "domtick", "intltick", 2,       "NYSE,NASDAQ"};

class SupplierTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::ResetScript();
        supplier.SetDataListener(&listener);
        Clock::SetFixed(kNow);
        // Without the recording library every "nothing was reported" check would pass blindly.
        ASSERT_TRUE(fake::LogCapture::Available());
        fake::LogCapture::Clear();
    }

    void TearDown() override {
        if (supplier.GetDataManager()) {
            supplier.Disconnect();
        }
        Clock::SetFixed(std::nullopt);
    }

    // Tuesday 2009-07-21 14:14:59 UTC.
    static inline const TimeValue kNow = TimeHelper::MakeTimeGMT(2009, 7, 21, 14, 14, 59);

    // Connects with every feed up, and forgets what the connection logged.
    fake::FakeMondrel& ConnectAll() {
        EXPECT_TRUE(supplier.Connect(kSettings));
        fake::FakeMondrel& dm = *fake::FakeMondrel::Current();
        dm.ConnectAllFeeds();
        fake::LogCapture::Clear();
        return dm;
    }

    // The last delivery of each kind.
    const BarMap& LastBars() const { return listener.bars.back().bars; }
    const TickInfo& LastTicks() const { return listener.ticks.back(); }
    const SnapshotInfo& LastSnap() const { return listener.snaps.back().second; }

    RecordingListener listener;
    DataSupplier supplier;
};

// A fixture connected with every feed up.
class ConnectedTest : public SupplierTest {
protected:
    void SetUp() override {
        SupplierTest::SetUp();
        dm = &ConnectAll();
    }

    // Start a request and give back the library's set for it.
    mondrel::BarSet& StartBars(const BarRequest& request) {
        IBarSet* set = supplier.StartBarsRequest(request);
        EXPECT_TRUE(set && set == dm->barSets.back().get());
        return *dm->barSets.back();
    }
    mondrel::TickSet& StartTicks(const std::string& symbol, std::int32_t count) {
        ITickSet* set = supplier.StartTickRequest({symbol, count});
        EXPECT_TRUE(set && set == dm->tickSets.back().get());
        return *dm->tickSets.back();
    }

    fake::FakeMondrel* dm = nullptr;
};
