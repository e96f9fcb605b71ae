// A started DDE server on the in-memory DDEML, with a supplier on the scripted data-manager fake
// whose feeds are all connected, and the captured log. Tests play the clients through the model.
#pragma once

#include "Clock.h"
#include "DataManagerSource.h"
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
    EXPECT_TRUE(data && !data->empty() && data->back() == '\0');
    return data && !data->empty() ? data->substr(0, data->size() - 1) : std::string();
}

class ServerTest : public ::testing::Test {
protected:
    ServerTest() {
        supplier.SetDataListener(&server);
        SetDataManagerSource([] { return static_cast<Mondrel*>(fake::FakeMondrel::Current()); });
    }

    ~ServerTest() override {
        // Tasks left in the thread's queue must not reach the next test's server.
        PlatformMessageQueue().DispatchWaiting();
        SetDataManagerSource(nullptr);
        Clock::SetFixed(std::nullopt);
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

    DdeModel model;
    DataSupplier supplier;
    DdeServer server{model, PlatformMessageQueue(), &supplier, ServerTestSettings};
    fake::FakeMondrel* dm = nullptr;
};
