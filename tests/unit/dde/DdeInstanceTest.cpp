#include "DdeInstance.h"
#include "DdeModel.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint32_t> s_seen; // transaction types the callback received

HDDEDATA Callback(std::uint32_t type, std::uint32_t, HCONV, HSZ, HSZ, HDDEDATA, std::uintptr_t,
                  std::uintptr_t) {
    s_seen.push_back(type);
    return nullptr;
}

class DdeInstanceTest : public testing::Test {
protected:
    DdeInstanceTest() { s_seen.clear(); }

    DdeModel model;
    ScopedDdeApi install{model};
};

TEST_F(DdeInstanceTest, RegistersTheServiceUntilUninitializedOrDestroyed) {
    {
        DdeInstance dde;
        ASSERT_TRUE(dde.Initialize(Callback, "Zanvo"));
        EXPECT_EQ(dde.ServiceName(), "Zanvo");
        EXPECT_EQ(model.OpenStringHandles(), 0);
        model.Connect("Zanvo", "Bars");
        EXPECT_EQ(s_seen, std::vector<std::uint32_t>{XTYP_CONNECT});
        EXPECT_TRUE(dde.Uninitialize());
        EXPECT_EQ(dde.Id(), 0u);
        EXPECT_EQ(model.Connect("Zanvo", "Bars"), nullptr);
        ASSERT_TRUE(dde.Initialize(Callback, "Zanvo"));
    }
    EXPECT_EQ(model.LiveInstances(), 0u);
    EXPECT_EQ(model.OpenStringHandles(), 0);
    { DdeInstance never; }
    EXPECT_EQ(model.Calls(DdeOp::Uninitialize).size(), 2u);
}

TEST_F(DdeInstanceTest, FailedInitializationOrRegistrationLeavesNoInstance) {
    // Without a name handle the registration fails too.
    for (const DdeOp failing : {DdeOp::Initialize, DdeOp::NameService, DdeOp::CreateStringHandle}) {
        SCOPED_TRACE(static_cast<int>(failing));
        model.SetFailing(failing, true);
        DdeInstance dde;

        EXPECT_FALSE(dde.Initialize(Callback, "Zanvo"));
        EXPECT_EQ(dde.Id(), 0u);
        EXPECT_EQ(dde.ServiceName(), "");
        EXPECT_EQ(model.LiveInstances(), 0u);
        EXPECT_FALSE(model.IsRegistered("Zanvo"));
        EXPECT_EQ(model.OpenStringHandles(), 0);
        model.SetFailing(failing, false);
    }
    // The two instances that were made are uninitialized again.
    EXPECT_EQ(model.Calls(DdeOp::Uninitialize).size(), 2u);
}

TEST_F(DdeInstanceTest, QueryStringReturnsTheWholeText) {
    DdeInstance dde;
    ASSERT_TRUE(dde.Initialize(Callback, "Zanvo"));
    const std::string longest(255, 'x');
    const HSZ item = model.DdeCreateStringHandleA(dde.Id(), "IBM,D,5", CP_WINANSI);
    const HSZ full = model.DdeCreateStringHandleA(dde.Id(), longest.c_str(), CP_WINANSI);

    EXPECT_EQ(dde.QueryString(item), "IBM,D,5");
    EXPECT_EQ(dde.QueryString(full), longest);
    EXPECT_EQ(dde.QueryString(nullptr), "");
    model.DdeFreeStringHandle(dde.Id(), item);
    model.DdeFreeStringHandle(dde.Id(), full);
}

} // namespace
