// A supplier wired to a recording listener, the scripted data-manager fake and the captured log.
#pragma once

#include "DataSupplier.h"
#include "FakeMondrel.h"
#include "LogCapture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

struct SnapCall {
    QuoteKey key;
    const SnapshotInfo* record; // the supplier's own record, to tell whether calls share it
    SnapshotInfo copy;
};

struct BarCall {
    IBarSet* barSet;
    BarInfo copy;
};

struct TickCall {
    ITickSet* tickSet;
    TickInfo copy;
};

class RecordingListener final : public IDataListener {
public:
    void OnProcessingBarData(IBarSet* const& barSet, const BarInfo& info) override {
        barCalls.push_back({barSet, info});
    }
    void OnProcessingTickData(ITickSet* const& tickSet, const TickInfo& info) override {
        tickCalls.push_back({tickSet, info});
        if (onTick) {
            onTick(tickSet);
        }
    }
    void OnProcessingSnapData(const QuoteKey& key, const SnapshotInfo& info) override {
        snapCalls.push_back({key, &info, info});
        if (onSnap) {
            onSnap(key);
        }
    }

    std::vector<BarCall> barCalls;
    std::vector<SnapCall> snapCalls;
    std::vector<TickCall> tickCalls;
    // Run inside the listener call, as a DDE server re-entered by DDEML would.
    std::function<void(const QuoteKey&)> onSnap;
    std::function<void(ITickSet*)> onTick;
};

inline ConnectionSettings TestSettings() {
    return {"user",
            "secret",
            "quote.example",
            "history.example",
            "domtick.example",
            "intltick.example",
            2,
            "NYSE,NASDAQ"};
}

class SupplierTest : public ::testing::Test {
protected:
    SupplierTest() {
        fake::ResetScript();
        supplier.SetDataListener(&listener);
    }

    void SetUp() override {
        // Without the recording library every "nothing was reported" check would pass blindly.
        ASSERT_TRUE(fake::LogCapture::Available());
        fake::LogCapture::Clear();
    }

    void TearDown() override {
        if (supplier.GetDataManager()) {
            supplier.Disconnect();
        }
    }

    // Connects with every feed up, and forgets what the connection logged.
    fake::FakeMondrel& ConnectAll() {
        EXPECT_TRUE(supplier.Connect(TestSettings()));
        fake::FakeMondrel& dm = *fake::FakeMondrel::Current();
        dm.ConnectAllFeeds();
        fake::LogCapture::Clear();
        return dm;
    }

    RecordingListener listener;
    DataSupplier supplier;
};
