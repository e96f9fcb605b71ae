#include "DdeInstance.h"
#include "DdeModel.h"
#include "DdeStringHandle.h"

#include <gtest/gtest.h>

namespace {

HDDEDATA Callback(std::uint32_t, std::uint32_t, HCONV, HSZ, HSZ, HDDEDATA, std::uintptr_t,
                  std::uintptr_t) {
    return nullptr;
}

TEST(DdeInstance, RegistersTheServiceUntilUninitializedOrDestroyed) {
    DdeModel model;
    {
        DdeInstance dde{model};
        ASSERT_TRUE(dde.Initialize(Callback, "Zanvo"));
        EXPECT_TRUE(model.IsRegistered("Zanvo"));
        const std::string longest(255, 'x');
        EXPECT_EQ(dde.QueryString(DdeStringHandle(model, dde.Id(), longest).Get()), longest);
        EXPECT_TRUE(dde.Uninitialize());
        EXPECT_FALSE(model.IsRegistered("Zanvo"));
        ASSERT_TRUE(dde.Initialize(Callback, "Zanvo"));
    }
    EXPECT_FALSE(model.LiveInstance());
    EXPECT_EQ(model.OpenStringHandles(), 0);
}

// Without a name handle the registration fails too; the instance made is uninitialized again.
TEST(DdeInstance, FailedInitializationOrRegistrationLeavesNoInstance) {
    for (const DdeOp failing : {DdeOp::Initialize, DdeOp::NameService, DdeOp::CreateStringHandle}) {
        DdeModel model;
        model.failing = {failing};
        DdeInstance dde{model};
        EXPECT_FALSE(dde.Initialize(Callback, "Zanvo")) << static_cast<int>(failing);
        EXPECT_EQ(dde.Id(), 0u);
        EXPECT_FALSE(model.LiveInstance());
        EXPECT_EQ(model.OpenStringHandles(), 0);
    }
}

} // namespace
