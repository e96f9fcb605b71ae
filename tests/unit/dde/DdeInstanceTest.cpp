#include "DdeInstance.h"
#include "DdeModel.h"

#include <gtest/gtest.h>

namespace {

HDDEDATA Callback(std::uint32_t, std::uint32_t, HCONV, HSZ, HSZ, HDDEDATA, std::uintptr_t,
                  std::uintptr_t) {
    return nullptr;
}

class DdeInstanceTest : public testing::Test {
protected:
    DdeModel model;
};

TEST_F(DdeInstanceTest, RegistersTheServiceUntilUninitializedOrDestroyed) {
    {
        DdeInstance dde{model};
        ASSERT_TRUE(dde.Initialize(Callback, "Zanvo"));
        EXPECT_TRUE(model.IsRegistered("Zanvo"));
        EXPECT_EQ(model.OpenStringHandles(), 0);
        EXPECT_TRUE(dde.Uninitialize());
        EXPECT_FALSE(model.IsRegistered("Zanvo"));
        ASSERT_TRUE(dde.Initialize(Callback, "Zanvo"));
    }
    { DdeInstance never{model}; }
    EXPECT_EQ(model.LiveInstances(), 0u);
    EXPECT_EQ(model.OpenStringHandles(), 0);
    EXPECT_EQ(model.Uninitialized(), 2);
}

// Without a name handle the registration fails too; the instance made is uninitialized again.
TEST_F(DdeInstanceTest, FailedInitializationOrRegistrationLeavesNoInstance) {
    for (const DdeOp failing : {DdeOp::Initialize, DdeOp::NameService, DdeOp::CreateStringHandle}) {
        SCOPED_TRACE(static_cast<int>(failing));
        model.SetFailing(failing, true);
        DdeInstance dde{model};
        EXPECT_FALSE(dde.Initialize(Callback, "Zanvo"));
        EXPECT_EQ(dde.Id(), 0u);
        EXPECT_EQ(model.LiveInstances(), 0u);
        EXPECT_FALSE(model.IsRegistered("Zanvo"));
        EXPECT_EQ(model.OpenStringHandles(), 0);
        model.SetFailing(failing, false);
    }
}

TEST_F(DdeInstanceTest, QueryStringReturnsTheWholeText) {
    DdeInstance dde{model};
    ASSERT_TRUE(dde.Initialize(Callback, "Zanvo"));
    const std::string longest(255, 'x');
    const HSZ full = model.DdeCreateStringHandleA(dde.Id(), longest.c_str(), CP_WINANSI);
    EXPECT_EQ(dde.QueryString(full), longest);
    EXPECT_EQ(dde.QueryString(nullptr), "");
    model.DdeFreeStringHandle(dde.Id(), full);
}

} // namespace
