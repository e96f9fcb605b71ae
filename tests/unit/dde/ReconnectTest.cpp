// Dropping every topic and creating it again from the clients' item strings, with and without
// reconnecting the supplier in between.
#include "MessageQueue.h"
#include "ServerFixture.h"

using ::testing::ElementsAre;

using ReconnectTest = ServerTest;

TEST_F(ReconnectTest, WithoutReconnectEveryTopicIsRecreatedSnapshotsFirst) {
    HCONV a = Connect("Bars");
    HCONV b = Connect("Snapshot");
    HCONV c = Connect("TS");
    model.Request(a, "IBM,5,10,C");
    model.Request(b, "IBM,B");
    model.Request(c, "MSFT,2,P");
    ASSERT_TRUE(model.StartAdvise(c, "MSFT,2,P"));
    fake::BackFill(*dm->tickSets.back(), {fake::Trade(1000, 2.5, 1)});
    ASSERT_EQ(Text(model.Request(c, "MSFT,2,P")), "2.500000\n\n");
    dm->calls.clear();

    // Without reconnecting, the queue is not dispatched.
    bool dispatched = false;
    PlatformMessageQueue().Post([&dispatched] { dispatched = true; });
    EXPECT_TRUE(server.ReconnectAndResubscribe(false));
    EXPECT_FALSE(dispatched);
    PlatformMessageQueue().DispatchWaiting();
    // Stopped conversation by conversation, recreated snapshots first.
    std::vector<std::string> subscriptions;
    for (const std::string& call : dm->calls) {
        if (call.find("Request") == 0 || call.find("Subscribe") == 0 ||
            call.find("Unsubscribe") == 0 || call.find("Stop") == 0) {
            subscriptions.push_back(call);
        }
    }
    EXPECT_THAT(subscriptions,
                ElementsAre("StopBars(IBM)", "UnsubscribeQuote(IBM)", "StopTicks(MSFT)",
                            "SubscribeQuote(IBM,1)", "RequestBars(IBM,5)", "RequestTicks(MSFT)"));
    EXPECT_TRUE(model.IsConnected(a));
    EXPECT_TRUE(model.IsConnected(b));
    EXPECT_TRUE(model.IsConnected(c));
    // A new builder: the old ticks are gone until new data arrives on the loop.
    EXPECT_EQ(Text(model.Request(c, "MSFT,2,P")), "\n\n");
    fake::BackFill(*dm->tickSets.back(), {fake::Trade(1000, 4.5, 1)});
    EXPECT_EQ(model.Advised(c, "MSFT,2,P").back(), std::string("4.500000\n\n\0", 11));
}

TEST_F(ReconnectTest, ReconnectRefusesItemsWhileTheQueueRunsAndRecreatesAfterwards) {
    HCONV hconv = Connect("TS");
    model.Request(hconv, "IBM,2,P");
    // A request waiting in the queue.
    std::optional<std::string> duringPump = std::string("not asked");
    PlatformMessageQueue().Post([&] { duringPump = model.Request(hconv, "MSFT,2,P"); });

    EXPECT_TRUE(server.ReconnectAndResubscribe(true));
    EXPECT_FALSE(duringPump);
    // The old library was released and a new one connected, which got the item again.
    ASSERT_EQ(fake::GetScript().instances.size(), 2u);
    EXPECT_TRUE(fake::GetScript().instances[0]->destroyed);
    EXPECT_THAT(fake::GetScript().instances[1]->calls, ::testing::Contains("RequestTicks(IBM)"));
    EXPECT_THAT(fake::LogCapture::Lines(),
                ::testing::Contains(fake::Reported(
                    "DdeServer::OpenItem", "Error: Unable to serve 'MSFT,2,P' while the data "
                                           "supplier is disconnected\n")));
}

TEST_F(ReconnectTest, FailedReconnectLeavesNoTopics) {
    HCONV hconv = Connect("TS");
    model.Request(hconv, "IBM,2,P");
    fake::GetScript().failCreateInstance = true;
    EXPECT_FALSE(server.ReconnectAndResubscribe(true));
    EXPECT_THAT(DmCalls("RequestTicks"), ElementsAre("RequestTicks(IBM)"));
    EXPECT_TRUE(model.IsConnected(hconv));
    // Still disconnected: the item is refused, not subscribed.
    EXPECT_FALSE(model.Request(hconv, "IBM,2,P"));
}

TEST_F(ReconnectTest, SymbolNowRefusedIsLoggedAndTheOthersAreRecreated) {
    HCONV hconv = Connect("TS");
    model.Request(hconv, "IBM,2,P");
    model.Request(hconv, "MSFT,2,P");
    dm->refusedSymbols.insert("IBM");
    fake::LogCapture::Clear();
    EXPECT_TRUE(server.ReconnectAndResubscribe(false));
    EXPECT_THAT(
        fake::LogCapture::Lines(),
        ::testing::Contains(fake::Reported("DdeServer::ReconnectAndResubscribe",
                                           "Error: Unable to recreate topic 'TS' which parameters "
                                           "'IBM,2,P'n")));
    EXPECT_THAT(DmCalls("RequestTicks"), ElementsAre("RequestTicks(IBM)", "RequestTicks(MSFT)",
                                                     "RequestTicks(IBM)", "RequestTicks(MSFT)"));
}
