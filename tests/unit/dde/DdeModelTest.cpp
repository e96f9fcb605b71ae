// The behaviours of the DDEML model that DDE server code relies on.
#include "DdeModel.h"
#include "RecordingCallback.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

class DdeModelTest : public testing::Test {
protected:
    DdeModelTest() {
        RecordingCallback::Reset();
        s_postAdviseRunning = false;
        // A server that accepts every conversation and loop and serves "<item>@<conversation>".
        RecordingCallback::answer = [this](const Transaction& t) -> HDDEDATA {
            if (t.type != XTYP_REQUEST && t.type != XTYP_ADVREQ) {
                return DdeTrue();
            }
            EXPECT_EQ(t.type == XTYP_ADVREQ, s_postAdviseRunning);
            const std::string text = Text(t.hsz2) + "@" + Name(t.hconv);
            return model.DdeCreateDataHandle(id, text.c_str(),
                                             static_cast<std::uint32_t>(text.size() + 1), 0, t.hsz2,
                                             CF_TEXT, 0);
        };
        EXPECT_EQ(model.DdeInitializeA(&id, RecordingCallback::Callback, 0, 0), DMLERR_NO_ERROR);
        service = model.DdeCreateStringHandleA(id, "Zanvo", CP_WINANSI);
        EXPECT_NE(model.DdeNameService(id, service, nullptr, DNS_REGISTER), nullptr);
    }

    std::string Text(HSZ hsz) {
        char buffer[256];
        model.DdeQueryStringA(id, hsz, buffer, sizeof buffer, CP_WINANSI);
        return buffer;
    }

    std::string Name(HCONV hconv) { return hconv == first ? "first" : "other"; }

    bool PostAdvise(const char* topic, const char* item) {
        const HSZ topicHandle = model.DdeCreateStringHandleA(id, topic, CP_WINANSI);
        const HSZ itemHandle = model.DdeCreateStringHandleA(id, item, CP_WINANSI);
        s_postAdviseRunning = true;
        const bool posted = model.DdePostAdvise(id, topicHandle, itemHandle);
        s_postAdviseRunning = false;
        model.DdeFreeStringHandle(id, topicHandle);
        model.DdeFreeStringHandle(id, itemHandle);
        return posted;
    }

    static inline bool s_postAdviseRunning = false;
    DdeModel model;
    std::uint32_t id = 0;
    HSZ service = nullptr;
    HCONV first = nullptr;
};

TEST_F(DdeModelTest, ConnectOffersTopicAndServiceThenConfirms) {
    first = model.Connect("Zanvo", "Bars");
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(RecordingCallback::Types(),
              (std::vector<std::uint32_t>{XTYP_CONNECT, XTYP_CONNECT_CONFIRM}));
    EXPECT_EQ(Text(RecordingCallback::seen[0].hsz1), "Bars");
    EXPECT_EQ(Text(RecordingCallback::seen[0].hsz2), "Zanvo");
    EXPECT_EQ(RecordingCallback::seen[1].hconv, first);

    RecordingCallback::seen.clear();
    RecordingCallback::answer = nullptr;
    EXPECT_EQ(model.Connect("Zanvo", "Bars"), nullptr);
    EXPECT_FALSE(model.WildConnect("", ""));
    EXPECT_EQ(model.Connect("Elsewhere", "Bars"), nullptr);
    EXPECT_EQ(RecordingCallback::Types(),
              (std::vector<std::uint32_t>{XTYP_CONNECT, XTYP_WILDCONNECT}));
}

TEST_F(DdeModelTest, PostAdviseSendsAdviseRequestsWithinTheCallOncePerLoopOfTopicAndItem) {
    first = model.Connect("Zanvo", "Bars");
    const HCONV second = model.Connect("Zanvo", "Bars");
    const HCONV ticks = model.Connect("Zanvo", "TS");
    ASSERT_TRUE(model.StartAdvise(first, "IBM,D,5"));
    ASSERT_TRUE(model.StartAdvise(second, "IBM,D,5"));
    ASSERT_TRUE(model.StartAdvise(second, "MSFT,D,5"));
    ASSERT_TRUE(model.StartAdvise(ticks, "IBM,D,5"));
    RecordingCallback::seen.clear();

    EXPECT_TRUE(PostAdvise("Bars", "IBM,D,5"));

    ASSERT_EQ(RecordingCallback::Types(), (std::vector<std::uint32_t>{XTYP_ADVREQ, XTYP_ADVREQ}));
    EXPECT_EQ(RecordingCallback::seen[0].hconv, first);
    EXPECT_EQ(RecordingCallback::seen[1].hconv, second);
    EXPECT_EQ(model.Advised(first, "IBM,D,5"), std::vector<std::string>{"IBM,D,5@first\0"s});
    EXPECT_EQ(model.Advised(second, "IBM,D,5"), std::vector<std::string>{"IBM,D,5@other\0"s});
    EXPECT_TRUE(model.Advised(second, "MSFT,D,5").empty());
    EXPECT_TRUE(model.Advised(ticks, "IBM,D,5").empty());
    EXPECT_EQ(model.LiveDataHandles(), 0u);

    // A stopped loop is asked no more.
    EXPECT_TRUE(model.StopAdvise(first, "IBM,D,5"));
    RecordingCallback::seen.clear();
    EXPECT_TRUE(PostAdvise("Bars", "IBM,D,5"));
    EXPECT_EQ(RecordingCallback::seen.size(), 1u);
    EXPECT_EQ(model.OpenStringHandles(), 1); // the service name's handle
}

TEST_F(DdeModelTest, ItemAtomsIgnoreCaseAndKeepTheSpellingAddedFirst) {
    first = model.Connect("Zanvo", "Snapshot");
    ASSERT_TRUE(model.StartAdvise(first, "ibm,l"));
    RecordingCallback::seen.clear();

    EXPECT_TRUE(PostAdvise("SNAPSHOT", "IBM,L"));
    ASSERT_EQ(RecordingCallback::seen.size(), 1u);
    EXPECT_EQ(Text(RecordingCallback::seen[0].hsz2), "ibm,l");
    EXPECT_EQ(Text(model.DdeCreateStringHandleA(id, "ZANVO", CP_WINANSI)), "Zanvo");

    const std::string longest(255, 'a');
    EXPECT_NE(model.DdeCreateStringHandleA(id, longest.c_str(), CP_WINANSI), nullptr);
    EXPECT_EQ(model.DdeCreateStringHandleA(id, (longest + "a").c_str(), CP_WINANSI), nullptr);
}

TEST_F(DdeModelTest, RequestServesTheBytesOfTheDataHandle) {
    first = model.Connect("Zanvo", "Snapshot");

    EXPECT_EQ(model.Request(first, "IBM,L"), "IBM,L@first\0"s);
    EXPECT_EQ(model.LiveDataHandles(), 0u);
    RecordingCallback::answer = [](const Transaction&) { return nullptr; };
    EXPECT_EQ(model.Request(first, "IBM,L"), std::nullopt);

    // A handle never handed to the library is a leak.
    model.DdeCreateDataHandle(id, "", 1, 0, nullptr, CF_TEXT, 0);
    EXPECT_EQ(model.LiveDataHandles(), 1u);
}

TEST_F(DdeModelTest, SelfConversationsCarryIsSelf) {
    first = model.Connect("Zanvo", "Bars", id);
    const HCONV outside = model.Connect("Zanvo", "Bars");
    DdeConvInfo self, other;

    ASSERT_NE(model.DdeQueryConvInfo(first, QID_SYNC, &self), 0u);
    ASSERT_NE(model.DdeQueryConvInfo(outside, QID_SYNC, &other), 0u);
    EXPECT_EQ(self.wStatus & ST_ISSELF, ST_ISSELF);
    EXPECT_EQ(other.wStatus & ST_ISSELF, 0u);
    EXPECT_EQ(RecordingCallback::seen[0].data2, 1u);
    EXPECT_EQ(RecordingCallback::seen[2].data2, 0u);
}

TEST_F(DdeModelTest, AClientDisconnectEndsTheConversationBeforeTheServerHearsOfIt) {
    first = model.Connect("Zanvo", "Bars");
    ASSERT_TRUE(model.StartAdvise(first, "IBM,D,5"));
    bool disconnectedInside = true;
    RecordingCallback::answer = [&](const Transaction& t) -> HDDEDATA {
        if (t.type == XTYP_DISCONNECT) {
            disconnectedInside = model.DdeDisconnect(t.hconv);
        }
        return nullptr;
    };
    RecordingCallback::seen.clear();

    model.Disconnect(first);

    EXPECT_EQ(RecordingCallback::Types(), std::vector<std::uint32_t>{XTYP_DISCONNECT});
    EXPECT_FALSE(disconnectedInside);
    DdeConvInfo info;
    EXPECT_EQ(model.DdeQueryConvInfo(first, QID_SYNC, &info), 0u);
}

TEST_F(DdeModelTest, AServerDisconnectEndsTheConversationAndItsLoops) {
    first = model.Connect("Zanvo", "Bars");
    const HCONV second = model.Connect("Zanvo", "Bars");
    ASSERT_TRUE(model.StartAdvise(first, "IBM,D,5"));
    ASSERT_TRUE(model.StartAdvise(second, "IBM,D,5"));

    EXPECT_TRUE(model.DdeDisconnect(second));
    EXPECT_TRUE(model.DdeDisconnect(first));
    EXPECT_FALSE(model.DdeDisconnect(first));

    EXPECT_FALSE(model.IsConnected(first));
    RecordingCallback::seen.clear();
    EXPECT_TRUE(PostAdvise("Bars", "IBM,D,5"));
    EXPECT_TRUE(RecordingCallback::seen.empty());
    const std::vector<DdeCall> calls = model.Calls(DdeOp::Disconnect);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].hconv, second);
    EXPECT_EQ(calls[1].hconv, first);
    EXPECT_FALSE(calls[2].succeeded);
}

TEST_F(DdeModelTest, UninitializeEndsConversationsAndCountsHandlesLeftOpen) {
    first = model.Connect("Zanvo", "Bars");

    EXPECT_TRUE(model.DdeUninitialize(id));
    EXPECT_FALSE(model.IsConnected(first));
    EXPECT_FALSE(model.IsRegistered("Zanvo"));
    EXPECT_EQ(model.OpenStringHandles(), 1);
}

} // namespace
