// A started DDE server on the in-memory DDEML, with a supplier on the scripted data-manager fake
// whose feeds are all connected, and the captured log. Tests play the clients through the model.
#pragma once

#include "Clock.h"
#include "DataSupplier.h"
#include "DdeModel.h"
#include "DdeServer.h"
#include "FakeMondrel.h"
#include "LogCapture.h"
#include "MessageQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

inline ConnectionSettings ServerTestSettings() {
    // Times in GMT unless a test changes the mode.
    return {
        "user", "secret", "quote.example", "history.example", "domtick.example", "intltick.example",
        1,      "NYSE"};
}

// The served text of a request: the data handle's bytes up to the terminating zero, which must
// be there.
inline std::string Text(const std::optional<std::string>& data) {
    EXPECT_TRUE(data);
    if (!data) {
        return {};
    }
    EXPECT_FALSE(data->empty());
    EXPECT_EQ(data->back(), '\0');
    return data->empty() ? std::string() : data->substr(0, data->size() - 1);
}

class ServerTest : public ::testing::Test {
protected:
    ServerTest() : ServerTest(PlatformMessageQueue()) {}
    // A server that posts its later work to queue and dispatches it there.
    explicit ServerTest(MessageQueue& queue) : server{model, queue, &supplier, ServerTestSettings} {
        supplier.SetDataListener(&server);
    }

    ~ServerTest() override {
        // Tasks left in the thread's queue must not reach the next test's server.
        PlatformMessageQueue().DispatchWaiting();
        Clock::SetFixed(std::nullopt);
    }

    void SetUp() override {
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
            for (const std::string& call : instance->calls) {
                if (call.rfind(prefix, 0) == 0) {
                    found.push_back(call);
                }
            }
        }
        return found;
    }

    HCONV Connect(const std::string& topic) {
        HCONV hconv = model.Connect("Zanvo", topic);
        EXPECT_TRUE(hconv);
        return hconv;
    }

    struct ScriptReset {
        ScriptReset() { fake::ResetScript(); }
    };

    ScriptReset reset;
    DdeModel model;
    DataSupplier supplier;
    DdeServer server;
    fake::FakeMondrel* dm = nullptr;
};
