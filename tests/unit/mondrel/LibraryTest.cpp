// The native library through its exported entries: callbacks come from MondrelPump only.
#include "mondrel/Mondrel.h"
#include "mondrel/MondrelExtensions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

struct Listener final : IConnectionEvents, IQuoteEvents {
    void OnRetry(IFeed*, int) override {}
    void OnConnected(IFeed*, int) override { ++connected; }
    void OnDisconnected(IFeed*, int) override {}
    void OnFeedList(IFeed*, const char*) override {}
    void OnServerMessage(const char*) override {}
    void OnHeartbeat(MondrelTime) override {}
    void OnQuoteUpdate(IQuote*) override { ++updates; }
    void OnQuoteRefresh(IQuote*, int) override {}
    void OnQuoteError(IQuote*, int) override {}
    int WantsEveryUpdate() override { return 1; }

    int connected = 0;
    int updates = 0;
};

TEST(MondrelLibrary, DeliversFromThePumpOnly) {
    Mondrel::Init("Zanvo", 999, "", 20050315, 64);
    Mondrel* instance = Mondrel::CreateInstance();
    ASSERT_NE(instance, nullptr);
    Listener listener;
    instance->AddConnectionListener(&listener);
    instance->SetIntOption(moConnectDelay, 0);
    instance->ConnectFeeds("user", "secret", 1, 0);
    IQuote* quote = instance->SubscribeQuote("ETHUSD", &listener, 1);
    ASSERT_NE(quote, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(listener.connected + listener.updates, 0);
    MondrelPump(instance);
    EXPECT_EQ(listener.connected, 4);
    EXPECT_EQ(listener.updates, 1);
    char symbol[8];
    EXPECT_EQ(quote->GetText(0xEAB6, symbol, sizeof symbol), 1);
    EXPECT_STREQ(symbol, "ETHUSD");
    instance->DisconnectFeeds();
    instance->RemoveConnectionListener(&listener);
    Mondrel::DestroyInstance(instance);
    Mondrel::Shutdown();
}

} // namespace
