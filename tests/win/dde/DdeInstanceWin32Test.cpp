// Win32: DdeInstance on the real DDEML, and the DDEML behaviours that the in-memory model
// copies, checked with a client instance on the same thread.
#include "DdeInstance.h"
#include "DdeStringHandle.h"
#include "PumpUntil.h"

#include <windows.h>

#include <ddeml.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

DdeInstance* s_server = nullptr;
std::vector<UINT> s_seen; // transactions of the server
bool s_insidePostAdvise = false;
int s_advreqInsidePostAdvise = 0;
int s_advised = 0; // XTYP_ADVDATA received by the client

HDDEDATA CALLBACK ServerCallback(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA,
                                 ULONG_PTR, ULONG_PTR) {
    s_seen.push_back(type);
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(s_server->QueryString(hsz1) == "Bars" ? 1 : 0);
    case XTYP_ADVSTART:
        return reinterpret_cast<HDDEDATA>(format == CF_TEXT ? 1 : 0);
    case XTYP_ADVREQ: {
        s_advreqInsidePostAdvise += s_insidePostAdvise ? 1 : 0;
        static const char text[] = "text";
        return DdeCreateDataHandle(s_server->Id(), (BYTE*)text, sizeof text, 0, hsz2, CF_TEXT, 0);
    }
    default:
        return nullptr;
    }
}

HDDEDATA CALLBACK ClientCallback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    if (type == XTYP_ADVDATA) {
        ++s_advised;
        return reinterpret_cast<HDDEDATA>(DDE_FACK);
    }
    return nullptr;
}

class DdeInstanceWin32Test : public testing::Test {
protected:
    DdeInstanceWin32Test() {
        s_server = &server;
        s_seen.clear();
        EXPECT_EQ(DdeInitializeA(&client, ClientCallback, APPCMD_CLIENTONLY, 0), DMLERR_NO_ERROR);
    }
    ~DdeInstanceWin32Test() override {
        DdeUninitialize(client);
        s_server = nullptr;
    }

    HCONV Connect(const char* service, const char* topic) {
        const HSZ serviceName = DdeCreateStringHandleA(client, service, CP_WINANSI);
        const HSZ topicName = DdeCreateStringHandleA(client, topic, CP_WINANSI);
        const HCONV hconv = DdeConnect(client, serviceName, topicName, nullptr);
        DdeFreeStringHandle(client, serviceName);
        DdeFreeStringHandle(client, topicName);
        return hconv;
    }

    DdeInstance server;
    DWORD client = 0;
};

TEST_F(DdeInstanceWin32Test, RegisteredServiceAcceptsConversationsUntilUninitialized) {
    ASSERT_TRUE(server.Initialize(ServerCallback, "ZanvoWinTest"));
    EXPECT_EQ(server.ServiceName(), "ZanvoWinTest");

    const HCONV hconv = Connect("ZanvoWinTest", "Bars");
    ASSERT_NE(hconv, nullptr);
    EXPECT_EQ(Connect("ZanvoWinTest", "Other"), nullptr);
    DdeDisconnect(hconv);

    EXPECT_TRUE(server.Uninitialize());
    EXPECT_EQ(server.Id(), 0u);
    EXPECT_EQ(Connect("ZanvoWinTest", "Bars"), nullptr);
}

TEST_F(DdeInstanceWin32Test, StringHandlesIgnoreCaseAndKeepTheFirstSpelling) {
    ASSERT_TRUE(server.Initialize(ServerCallback, "ZanvoWinTest"));
    const DdeStringHandle first(server.Id(), "Ibm,L");
    const DdeStringHandle second(server.Id(), "IBM,l");

    EXPECT_EQ(DdeCmpStringHandles(first.Get(), second.Get()), 0);
    EXPECT_EQ(server.QueryString(second.Get()), "Ibm,L");
    EXPECT_EQ(server.QueryString(nullptr), "");
}

TEST_F(DdeInstanceWin32Test, PostAdviseSendsAdviseRequestsWithinTheCall) {
    ASSERT_TRUE(server.Initialize(ServerCallback, "ZanvoWinTest"));
    const HCONV hconv = Connect("ZanvoWinTest", "Bars");
    ASSERT_NE(hconv, nullptr);
    const HSZ clientItem = DdeCreateStringHandleA(client, "IBM,D,5", CP_WINANSI);
    DWORD transaction = 0;
    ASSERT_NE(DdeClientTransaction(nullptr, 0, hconv, clientItem, CF_TEXT, XTYP_ADVSTART,
                                   TIMEOUT_ASYNC, &transaction),
              nullptr);
    const auto advising = [] {
        return std::count(s_seen.begin(), s_seen.end(), XTYP_ADVSTART) == 1;
    };
    PumpUntil(advising, 10000);
    ASSERT_TRUE(advising());

    const DdeStringHandle topic(server.Id(), "Bars");
    const DdeStringHandle item(server.Id(), "ibm,d,5");
    s_insidePostAdvise = true;
    EXPECT_TRUE(server.PostAdvise(topic.Get(), item.Get()));
    s_insidePostAdvise = false;
    EXPECT_EQ(s_advreqInsidePostAdvise, 1);
    PumpUntil([] { return s_advised == 1; }, 10000);
    EXPECT_EQ(s_advised, 1);

    DdeFreeStringHandle(client, clientItem);
    DdeDisconnect(hconv);
}

} // namespace
