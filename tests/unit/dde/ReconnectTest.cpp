// Dropping every topic and creating it again from the clients' item strings, with and without
// reconnecting the supplier in between.
#include "MessageQueue.h"
#include "ServerFixture.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;
using ::testing::SizeIs;

using ReconnectTest = ServerTest;

TEST_F(ReconnectTest, WithoutReconnectTopicsAreRecreatedSnapshotsFirstAndRefusalsLogged) {
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
    // A symbol the library now refuses.
    dm->refusedSymbols.insert("IBM");

    EXPECT_TRUE(server.ReconnectAndResubscribe(false));
    // Stopped conversation by conversation, recreated snapshots first. The library's calls with
    // arguments are the subscriptions.
    std::vector<std::string> subscriptions = dm->calls;
    std::erase_if(subscriptions, [](const std::string& call) { return call.back() != ')'; });
    EXPECT_THAT(subscriptions,
                ElementsAre("StopBars(IBM)", "UnsubscribeQuote(IBM)", "StopTicks(MSFT)",
                            "SubscribeQuote(IBM,1)", "RequestBars(IBM,5)", "RequestTicks(MSFT)"));
    const auto refused = [](const char* topic, const char* item) {
        return fake::Reported("DdeServer::ReconnectAndResubscribe",
                              std::string("Error: Unable to recreate topic '") + topic +
                                  "' which parameters '" + item + "'n");
    };
    EXPECT_THAT(fake::LogCapture::Lines(),
                IsSupersetOf({refused("Snapshot", "IBM,B"), refused("Bars", "IBM,5,10,C")}));
    for (const HCONV hconv : {a, b, c}) {
        EXPECT_TRUE(model.IsConnected(hconv));
    }
    // A new builder: the old ticks are gone until new data arrives on the loop.
    EXPECT_EQ(Text(model.Request(c, "MSFT,2,P")), "\n\n");
    fake::BackFill(*dm->tickSets.back(), {fake::Trade(1000, 4.5, 1)});
    EXPECT_EQ(model.Advised(c, "MSFT,2,P").back(), std::string("4.500000\n\n\0", 11));
}

TEST_F(ReconnectTest, ItemsAreRefusedUntilTheSupplierIsConnectedAgain) {
    HCONV hconv = Connect("TS");
    model.Request(hconv, "IBM,2,P");
    // A request waiting in the queue.
    std::optional<std::string> duringPump = std::string("not asked");
    PlatformMessageQueue().Post([&] { duringPump = model.Request(hconv, "MSFT,2,P"); });
    EXPECT_TRUE(server.ReconnectAndResubscribe(true));
    EXPECT_FALSE(duringPump);
    EXPECT_THAT(fake::LogCapture::Lines(),
                Contains(fake::Reported("DdeServer::OpenItem",
                                        "Error: Unable to serve 'MSFT,2,P' while the data "
                                        "supplier is disconnected\n")));
    // The old library was released and a new one connected, which got the item again.
    ASSERT_EQ(fake::GetScript().instances.size(), 2u);
    EXPECT_TRUE(fake::GetScript().instances[0]->destroyed);
    EXPECT_THAT(DmCalls("RequestTicks"), ElementsAre("RequestTicks(IBM)", "RequestTicks(IBM)"));

    // A failed connection leaves no topics: the item is refused, not subscribed.
    fake::GetScript().failCreateInstance = true;
    EXPECT_FALSE(server.ReconnectAndResubscribe(true));
    EXPECT_TRUE(model.IsConnected(hconv));
    EXPECT_FALSE(model.Request(hconv, "IBM,2,P"));
    EXPECT_THAT(DmCalls("RequestTicks"), SizeIs(2));
}
