// Mondrel.dll under Windows: callbacks arrive from the creating thread's message loop only (the
// programs of the end-to-end tests create it on their main thread; here another thread does).
#include "mondrel/Mondrel.h"
#include "mondrel/MondrelExtensions.h"

#include "PumpUntil.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <thread>

namespace {

constexpr int kLastPriceField = 2;

struct Recorder final : IConnectionEvents, IQuoteEvents {
    void OnRetry(IFeed*, int) override { Record(); }
    void OnConnected(IFeed* feed, int) override {
        Record();
        connected.insert(feed->GetFeedId());
    }
    void OnDisconnected(IFeed*, int) override { Record(); }
    void OnFeedList(IFeed*, const char*) override { Record(); }
    void OnServerMessage(const char*) override { Record(); }
    void OnHeartbeat(MondrelTime) override { Record(); }
    void OnQuoteUpdate(IQuote* quote) override {
        Record();
        double last = 0.0;
        if (quote->GetDouble(kLastPriceField, &last) && last > 0.0)
            ++quoteUpdates;
    }
    void OnQuoteRefresh(IQuote*, int) override { Record(); }
    void OnQuoteError(IQuote*, int) override { Record(); }
    int WantsEveryUpdate() override { return 1; }

    void Record() {
        ++callbacks;
        threads.insert(GetCurrentThreadId());
    }

    int callbacks = 0;
    int quoteUpdates = 0;
    std::set<int> connected;
    std::set<DWORD> threads;
};

// Connects, subscribes a symbol that trades at every hour and waits for a priced update.
void ConnectAndReceiveQuote(Recorder& recorder) {
    Mondrel::Init("Zanvo", 999, "", 20050315, 64);
    Mondrel* instance = Mondrel::CreateInstance();
    ASSERT_NE(instance, nullptr);
    instance->AddConnectionListener(&recorder);
    instance->SetIntOption(moConnectDelay, 100);
    EXPECT_EQ(instance->ConnectFeeds("user", "secret", 1, 0), 1);
    IQuote* quote = instance->SubscribeQuote("BTCUSD", &recorder, 1);
    ASSERT_NE(quote, nullptr);
    // Nothing is called back from inside the library's entries.
    EXPECT_EQ(recorder.callbacks, 0);

    EXPECT_TRUE(PumpUntil(
        [&] { return recorder.connected.size() == 4 && recorder.quoteUpdates > 0; }, 20000));
    instance->UnsubscribeQuote(quote, &recorder);
    instance->DisconnectFeeds();
    instance->RemoveConnectionListener(&recorder);
    Mondrel::DestroyInstance(instance);
    Mondrel::Shutdown();
}

TEST(MondrelMessageLoop, AnInstanceMadeOnAnotherThreadCallsBackOnThatThread) {
    Recorder recorder;
    DWORD worker = 0;
    std::thread thread([&] {
        worker = GetCurrentThreadId();
        ConnectAndReceiveQuote(recorder);
    });
    thread.join();
    EXPECT_EQ(recorder.connected.size(), 4u);
    EXPECT_GT(recorder.quoteUpdates, 0);
    EXPECT_EQ(recorder.threads, std::set<DWORD>{worker});
    EXPECT_NE(worker, GetCurrentThreadId());
}

} // namespace
