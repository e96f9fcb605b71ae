#include "DdeInstance.h"
#include "DdeModel.h"
#include "RecordingCallback.h"

#include <gtest/gtest.h>

namespace {

class DdeInstanceTest : public testing::Test {
protected:
    DdeInstanceTest() { RecordingCallback::Reset(); }

    std::vector<DdeOp> Ops() const {
        std::vector<DdeOp> ops;
        for (const DdeCall& call : model.Calls()) {
            ops.push_back(call.op);
        }
        return ops;
    }

    DdeModel model;
    ScopedDdeApi install{model};
};

TEST_F(DdeInstanceTest, InitializeRegistersTheServiceAndFreesItsNameHandle) {
    DdeInstance dde;
    ASSERT_TRUE(dde.Initialize(RecordingCallback::Callback, "Zanvo"));

    EXPECT_NE(dde.Id(), 0u);
    EXPECT_EQ(dde.ServiceName(), "Zanvo");
    EXPECT_TRUE(model.IsRegistered("Zanvo"));
    EXPECT_EQ(model.OpenStringHandles(), 0);
    EXPECT_EQ(Ops(), (std::vector<DdeOp>{DdeOp::Initialize, DdeOp::CreateStringHandle,
                                         DdeOp::NameService, DdeOp::FreeStringHandle}));
    model.Connect("Zanvo", "Bars");
    ASSERT_EQ(RecordingCallback::seen.size(), 1u);
    EXPECT_EQ(RecordingCallback::seen[0].type, XTYP_CONNECT);
}

TEST_F(DdeInstanceTest, FailedInitializationMakesNoFurtherCall) {
    model.SetFailing(DdeOp::Initialize, true);
    DdeInstance dde;

    EXPECT_FALSE(dde.Initialize(RecordingCallback::Callback, "Zanvo"));
    EXPECT_EQ(dde.Id(), 0u);
    EXPECT_EQ(Ops(), std::vector<DdeOp>{DdeOp::Initialize});
}

TEST_F(DdeInstanceTest, FailedRegistrationLeavesNoInstance) {
    // Without a name handle the registration fails too.
    for (const DdeOp failing : {DdeOp::NameService, DdeOp::CreateStringHandle}) {
        SCOPED_TRACE(static_cast<int>(failing));
        model.SetFailing(failing, true);
        DdeInstance dde;

        EXPECT_FALSE(dde.Initialize(RecordingCallback::Callback, "Zanvo"));
        EXPECT_EQ(dde.Id(), 0u);
        EXPECT_EQ(dde.ServiceName(), "");
        EXPECT_EQ(model.LiveInstances(), 0u);
        EXPECT_FALSE(model.IsRegistered("Zanvo"));
        EXPECT_EQ(model.OpenStringHandles(), 0);
        model.SetFailing(failing, false);
    }
    EXPECT_EQ(model.Calls(DdeOp::Uninitialize).size(), 2u);
}

TEST_F(DdeInstanceTest, UninitializeWithdrawsTheServiceAndTheInstance) {
    DdeInstance dde;
    ASSERT_TRUE(dde.Initialize(RecordingCallback::Callback, "Zanvo"));

    EXPECT_TRUE(dde.Uninitialize());
    EXPECT_EQ(dde.Id(), 0u);
    EXPECT_EQ(dde.ServiceName(), "");
    EXPECT_EQ(model.LiveInstances(), 0u);
    EXPECT_EQ(model.OpenStringHandles(), 0);
    EXPECT_EQ(model.Connect("Zanvo", "Bars"), nullptr);
    const std::vector<DdeCall> names = model.Calls(DdeOp::NameService);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[1].text, "Zanvo");
    EXPECT_TRUE(names[1].succeeded);
}

TEST_F(DdeInstanceTest, FailedUnregistrationStillUninitializes) {
    DdeInstance dde;
    ASSERT_TRUE(dde.Initialize(RecordingCallback::Callback, "Zanvo"));
    model.SetFailing(DdeOp::NameService, true);

    EXPECT_TRUE(dde.Uninitialize());
    EXPECT_EQ(dde.Id(), 0u);
    EXPECT_EQ(model.LiveInstances(), 0u);
    EXPECT_FALSE(model.IsRegistered("Zanvo"));
}

TEST_F(DdeInstanceTest, FailedUninitializationKeepsTheInstanceForALaterTry) {
    DdeInstance dde;
    ASSERT_TRUE(dde.Initialize(RecordingCallback::Callback, "Zanvo"));
    const std::uint32_t id = dde.Id();
    model.SetFailing(DdeOp::Uninitialize, true);

    EXPECT_FALSE(dde.Uninitialize());
    EXPECT_EQ(dde.Id(), id);
    EXPECT_EQ(dde.ServiceName(), "Zanvo");

    model.SetFailing(DdeOp::Uninitialize, false);
    EXPECT_TRUE(dde.Uninitialize());
    EXPECT_EQ(model.LiveInstances(), 0u);
}

TEST_F(DdeInstanceTest, DestructorUninitializesOnlyAnInitializedInstance) {
    {
        DdeInstance dde;
        ASSERT_TRUE(dde.Initialize(RecordingCallback::Callback, "Zanvo"));
    }
    EXPECT_EQ(model.LiveInstances(), 0u);
    { DdeInstance never; }
    EXPECT_EQ(model.Calls(DdeOp::Uninitialize).size(), 1u);
}

TEST_F(DdeInstanceTest, QueryStringReturnsTheWholeText) {
    DdeInstance dde;
    ASSERT_TRUE(dde.Initialize(RecordingCallback::Callback, "Zanvo"));
    const std::string longest(255, 'x');
    const HSZ item = model.DdeCreateStringHandleA(dde.Id(), "IBM,D,5", CP_WINANSI);
    const HSZ full = model.DdeCreateStringHandleA(dde.Id(), longest.c_str(), CP_WINANSI);

    EXPECT_EQ(dde.QueryString(item), "IBM,D,5");
    EXPECT_EQ(dde.QueryString(full), longest);
    EXPECT_EQ(dde.QueryString(nullptr), "");
    model.DdeFreeStringHandle(dde.Id(), item);
    model.DdeFreeStringHandle(dde.Id(), full);
}

TEST_F(DdeInstanceTest, PostAdviseReachesTheAdviseLoopsOfItsTopicAndItem) {
    RecordingCallback::answer = [](const Transaction&) { return DdeTrue(); };
    DdeInstance dde;
    ASSERT_TRUE(dde.Initialize(RecordingCallback::Callback, "Zanvo"));
    const HCONV conversation = model.Connect("Zanvo", "Snapshot");
    ASSERT_TRUE(model.StartAdvise(conversation, "IBM,L"));
    const HSZ topic = model.DdeCreateStringHandleA(dde.Id(), "Snapshot", CP_WINANSI);
    const HSZ item = model.DdeCreateStringHandleA(dde.Id(), "IBM,L", CP_WINANSI);
    RecordingCallback::seen.clear();

    EXPECT_TRUE(dde.PostAdvise(topic, item));
    EXPECT_EQ(RecordingCallback::Types(), std::vector<std::uint32_t>{XTYP_ADVREQ});
    model.DdeFreeStringHandle(dde.Id(), topic);
    model.DdeFreeStringHandle(dde.Id(), item);
}

} // namespace
