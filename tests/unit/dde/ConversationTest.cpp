// The service's conversations on the in-memory DDEML, with a supplier on the scripted
// data-manager fake whose feeds are all connected: what each transaction answers, how items,
// subscriptions and builders come and go with the conversations, and how every item is dropped and
// created again when the supplier reconnects.
#include "DataSupplier.h"
#include "DdeModel.h"
#include "DdeServer.h"
#include "FakeMondrel.h"
#include "LogCapture.h"
#include "MessageQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;
using ::testing::SizeIs;

namespace {

ConnectionSettings ServerTestSettings() {
    // Times in GMT unless a test changes the mode.
    return {
        "user", "secret", "quote.example", "history.example", "domtick.example", "intltick.example",
        1,      "NYSE"};
}

// The served text of a request: the data handle's bytes up to the terminating zero, which must
// be there.
std::string Text(const std::optional<std::string>& data) {
    EXPECT_TRUE(data && !data->empty() && data->back() == '\0');
    return data && !data->empty() ? data->substr(0, data->size() - 1) : std::string();
}

class ServerTest : public ::testing::Test {
protected:
    ServerTest() { supplier.SetDataListener(&server); }

    ~ServerTest() override {
        // Tasks left in the thread's queue must not reach the next test's server.
        PlatformMessageQueue().DispatchWaiting();
    }

    void SetUp() override {
        fake::ResetScript();
        ASSERT_TRUE(fake::LogCapture::Available());
        ASSERT_TRUE(server.Start());
        dm = fake::FakeMondrel::Current();
        ASSERT_TRUE(dm);
        dm->ConnectAllFeeds();
        fake::LogCapture::Clear();
    }

    // The library calls that match a prefix, such as "RequestTicks(".
    std::vector<std::string> DmCalls(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& instance : fake::GetScript().instances) {
            std::copy_if(instance->calls.begin(), instance->calls.end(), std::back_inserter(found),
                         [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
        }
        return found;
    }

    HCONV Connect(const std::string& topic) {
        HCONV hconv = model.Connect("Zanvo", topic);
        EXPECT_TRUE(hconv);
        return hconv;
    }

    DdeModel model;
    DataSupplier supplier;
    DdeServer server{model, PlatformMessageQueue(), &supplier, ServerTestSettings};
    fake::FakeMondrel* dm = nullptr;
};

} // namespace

TEST_F(ServerTest, AdviseStartOpensTheItemAndTheLoopGetsItsTextOnceMade) {
    // Another topic is refused; service and topic names in any letter case are checked end to end.
    EXPECT_FALSE(model.Connect("Zanvo", "Quotes"));
    HCONV hconv = Connect("TS");
    ASSERT_TRUE(model.StartAdvise(hconv, "IBM,2,P"));
    EXPECT_THAT(DmCalls("RequestTicks"), ElementsAre("RequestTicks(IBM)"));
    // Before any data there is nothing to send; data is advised as it comes.
    PlatformMessageQueue().DispatchWaiting();
    EXPECT_THAT(model.Advised(hconv, "IBM,2,P"), IsEmpty());
    fake::BackFill(*dm->tickSets[0], {fake::Trade(1000, 7.25, 100)});
    EXPECT_THAT(model.Advised(hconv, "IBM,2,P"), ElementsAre(std::string("7.250000\n\n\0", 11)));
    // A request or advise in another letter case shares the item: one subscription, one text,
    // and an advise after a request does not send the unchanged text again.
    EXPECT_EQ(Text(model.Request(hconv, "ibm,2,p")), "7.250000\n\n");
    EXPECT_TRUE(model.StartAdvise(hconv, "Ibm,2,P"));
    PlatformMessageQueue().DispatchWaiting();
    EXPECT_THAT(model.Advised(hconv, "IBM,2,P"), SizeIs(1));
    EXPECT_THAT(DmCalls("RequestTicks"), SizeIs(1));
    // Data that came before the loop was made (here between a request and the advise) is sent
    // from the message loop, never within the advise start.
    HCONV other = Connect("TS");
    model.Request(other, "IBM,2,P");
    fake::BackFill(*dm->tickSets[1], {fake::Trade(1000, 8.5, 100)});
    ASSERT_TRUE(model.StartAdvise(other, "IBM,2,P"));
    EXPECT_THAT(model.Advised(other, "IBM,2,P"), IsEmpty());
    PlatformMessageQueue().DispatchWaiting();
    EXPECT_THAT(model.Advised(other, "IBM,2,P"), ElementsAre(std::string("8.500000\n\n\0", 11)));
}

TEST_F(ServerTest, EachConversationHasItsItemsAndOnlyTheOneWhoseItemChangedIsAdvised) {
    HCONV first = Connect("TS");
    HCONV second = Connect("TS");
    EXPECT_EQ(Text(model.Request(first, "IBM,2,P")), "\n\n");
    model.Request(first, "MSFT,2,P");
    model.Request(second, "IBM,2,P");
    EXPECT_THAT(DmCalls("RequestTicks"),
                ElementsAre("RequestTicks(IBM)", "RequestTicks(MSFT)", "RequestTicks(IBM)"));
    EXPECT_THAT(fake::LogCapture::Lines(), IsEmpty());
    ASSERT_TRUE(model.StartAdvise(first, "IBM,2,P"));
    ASSERT_TRUE(model.StartAdvise(second, "IBM,2,P"));

    fake::BackFill(*dm->tickSets[2], {fake::Trade(1000, 7.25, 100)});
    // Only the loop whose item changed is advised, though DDEML asks both.
    EXPECT_THAT(model.Advised(first, "IBM,2,P"), IsEmpty());
    EXPECT_THAT(model.Advised(second, "IBM,2,P"), ElementsAre(std::string("7.250000\n\n\0", 11)));
    EXPECT_EQ(Text(model.Request(first, "IBM,2,P")), "\n\n");

    // A client leaving stops its items only; data still on its way for them is dropped.
    model.Disconnect(first);
    EXPECT_THAT(DmCalls("StopTicks"), ElementsAre("StopTicks(IBM)", "StopTicks(MSFT)"));
    EXPECT_FALSE(fake::Stopped(*dm->tickSets[2]));
    const int posts = model.PostAdvises();
    server.OnProcessingTickData(dm->tickSets[0].get(), TickInfo{});
    EXPECT_EQ(model.PostAdvises(), posts);
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
    fake::BackFill(*dm->tickSets[2], {fake::Trade(2000, 3.5, 1)});
    EXPECT_EQ(model.Advised(second, "IBM,2,P").back(), std::string("7.250000\n3.500000\n\0", 19));
}

TEST_F(ServerTest, GoneClientsItemsCloseFromTheMessageLoopWhileTheOtherLoopsAreServed) {
    HCONV gone = Connect("TS");
    HCONV alsoGone = Connect("TS");
    HCONV other = Connect("TS");
    for (HCONV hconv : {gone, alsoGone, other}) {
        ASSERT_TRUE(model.StartAdvise(hconv, "IBM,2,P"));
    }
    model.Vanish(gone);
    model.Vanish(alsoGone);

    // A poke advises every loop: the library stops at each gone client's loop in turn (they come
    // first), and the other loop is served all the same.
    EXPECT_EQ(model.Poke(other, "IBM,2,P"), DDE_FACK);
    EXPECT_THAT(model.Advised(other, "IBM,2,P"), ElementsAre(std::string("\n\n\0", 3)));
    // Updates of a gone conversation are dropped; nothing is stopped inside the notification.
    fake::BackFill(*dm->tickSets[0], {fake::Trade(1000, 7.25, 100)});
    EXPECT_FALSE(fake::Stopped(*dm->tickSets[0]));
    PlatformMessageQueue().DispatchWaiting();
    EXPECT_TRUE(fake::Stopped(*dm->tickSets[0]));
    EXPECT_TRUE(fake::Stopped(*dm->tickSets[1]));
    EXPECT_FALSE(fake::Stopped(*dm->tickSets[2]));
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
    const auto closed = [](const char* handle) {
        return fake::Reported("DdeServer::CloseGoneConversations",
                              std::string("Conversation ") + handle +
                                  " no longer reaches its client; its items are closed\n");
    };
    const auto disconnectFailed =
        fake::Reported("DdeServer::DisconnectConversation", "DDE Conversation Disconnect failed");
    EXPECT_THAT(fake::LogCapture::Lines(), ElementsAre(closed("0x00010000"), disconnectFailed,
                                                       closed("0x00010010"), disconnectFailed));

    // The library still asks for the gone loops; they are refused and nothing is made for them.
    fake::LogCapture::Clear();
    EXPECT_EQ(model.Poke(other, "IBM,2,P"), DDE_FACK);
    fake::BackFill(*dm->tickSets[2], {fake::Trade(2000, 7.5, 100)});
    EXPECT_EQ(model.Advised(other, "IBM,2,P").back(), std::string("7.500000\n\n\0", 11));
    HCONV newer = Connect("TS");
    EXPECT_EQ(Text(model.Request(newer, "IBM,2,P")), "\n\n");
    EXPECT_THAT(DmCalls("RequestTicks"), SizeIs(4));
    EXPECT_THAT(fake::LogCapture::Lines(), IsEmpty());
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
}

TEST_F(ServerTest, NewConversationOnAGoneOnesHandleInheritsNothing) {
    HCONV gone = Connect("TS");
    ASSERT_TRUE(model.StartAdvise(gone, "IBM,2,P"));
    model.Vanish(gone);
    // The update finds the client gone; its items are to close from the message loop, but the
    // library hands the handle to a new conversation first.
    fake::BackFill(*dm->tickSets[0], {fake::Trade(1000, 7.25, 100)});
    ASSERT_EQ(model.Connect("Zanvo", "TS", gone), gone);
    EXPECT_TRUE(fake::Stopped(*dm->tickSets[0]));
    PlatformMessageQueue().DispatchWaiting();
    EXPECT_TRUE(model.IsConnected(gone));
    EXPECT_EQ(Text(model.Request(gone, "IBM,2,P")), "\n\n");
    EXPECT_THAT(DmCalls("RequestTicks"), SizeIs(2));
}

// Without its service (also for want of a name handle) the server does not start, and leaves no
// instance and the supplier disconnected.
TEST_F(ServerTest, StartFailsWithoutItsServiceAndLeavesNothing) {
    ASSERT_TRUE(server.Stop());
    for (const DdeOp failing : {DdeOp::Initialize, DdeOp::NameService, DdeOp::CreateStringHandle}) {
        model.failing = {failing};
        EXPECT_FALSE(server.Start()) << static_cast<int>(failing);
        EXPECT_FALSE(model.LiveInstance());
        EXPECT_EQ(model.OpenStringHandles(), 0);
        EXPECT_FALSE(supplier.GetDataManager());
    }
    const auto failed = fake::Reported("DdeServer::Start", "DDE initialize failed\n");
    EXPECT_THAT(fake::LogCapture::Lines(), ElementsAre(failed, failed, failed));
}

// Stop fails while the instance stays in use; it uninitialises even when unregistering the name
// fails.
TEST_F(ServerTest, StopEndsEveryConversationAndSubscriptionBeforeTheSupplier) {
    const HCONV conversations[] = {Connect("Bars"), Connect("TS"), Connect("Snapshot")};
    model.Request(conversations[0], "IBM,5,10,C");
    ASSERT_TRUE(model.StartAdvise(conversations[1], "IBM,2,P"));
    model.Request(conversations[2], "IBM,B");
    model.failing = {DdeOp::Uninitialize};
    EXPECT_FALSE(server.Stop());
    EXPECT_THAT(fake::LogCapture::Lines(),
                Contains(fake::Reported("DdeServer::Stop", "DDE uninitialize failed\n")));
    // Every conversation and subscription has ended; the supplier is still connected.
    for (const HCONV hconv : conversations) {
        EXPECT_FALSE(model.IsConnected(hconv));
    }
    EXPECT_THAT(dm->calls,
                IsSupersetOf({"UnsubscribeQuote(IBM)", "StopTicks(IBM)", "StopBars(IBM)"}));
    EXPECT_TRUE(supplier.GetDataManager());
    model.failing = {DdeOp::NameService};
    EXPECT_TRUE(server.Stop());
    EXPECT_FALSE(model.LiveInstance());
    EXPECT_EQ(model.OpenStringHandles(), 0);
    EXPECT_FALSE(supplier.GetDataManager());
}

// Reconnecting the supplier, or not: every topic dropped and created again from the clients' item
// strings.
TEST_F(ServerTest, ResubscribeRecreatesTopicsSnapshotsFirstAndLogsRefusals) {
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
    // A new builder: the old ticks are gone until new data arrives on the loop.
    EXPECT_EQ(Text(model.Request(c, "MSFT,2,P")), "\n\n");
    fake::BackFill(*dm->tickSets.back(), {fake::Trade(1000, 4.5, 1)});
    EXPECT_EQ(model.Advised(c, "MSFT,2,P").back(), std::string("4.500000\n\n\0", 11));
}

TEST_F(ServerTest, ReconnectRefusesItemsUntilTheSupplierIsConnectedAgain) {
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
