// Win32: the client of the DDE server's soak test. It holds CONVERSATIONS conversations on TOPIC,
// each with an advise loop on every ITEM, for SECONDS, then prints one line per conversation and
// item: the conversation's number, the item, the updates received and the last text (as
// zanvo-dde --raw writes it).
//
//   zanvo-soak-client TOPIC CONVERSATIONS SECONDS ITEM...
//
// Conversation n spells each item with n - 1 blanks in front, which the server trims: under Wine
// the messages of one advise to several loops on one item text share an item atom that the first
// receiver frees, so the others could not tell their item. Under Wine a synchronous transaction
// ends at any message of its conversation that is not its answer, and an advise start makes the
// server send the item's data at once: so the loops start item by item across the conversations,
// each after the waiting messages have been dispatched. Each conversation has a DDEML instance of
// its own (under Wine an instance connects once to a service and topic). Prints "subscribed" once
// every loop has started. Exit code 0 when every loop started, 1 otherwise, 2 for bad usage.
#include "RawText.h"

#include <windows.h>

#include <ddeml.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

struct Received {
    int updates = 0;
    std::string text;
};

struct Conversation {
    DWORD instance = 0;
    HCONV hconv = nullptr;
    std::map<std::string, Received> items;
};

std::vector<Conversation> s_conversations;

HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV hconv, HSZ, HSZ item, HDDEDATA data, ULONG_PTR,
                           ULONG_PTR) {
    if (type != XTYP_ADVDATA) {
        return nullptr;
    }
    for (Conversation& conversation : s_conversations) {
        char name[256] = {};
        // Several loops' messages can share an item atom that the first receiver frees; those
        // updates are not counted.
        if (conversation.hconv != hconv ||
            DdeQueryStringA(conversation.instance, item, name, sizeof name, CP_WINANSI) == 0) {
            continue;
        }
        const auto found = conversation.items.find(name);
        if (found != conversation.items.end() && data) {
            std::vector<char> bytes(DdeGetData(data, nullptr, 0, 0) + 1, '\0');
            DdeGetData(data, reinterpret_cast<BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size() - 1), 0);
            ++found->second.updates;
            found->second.text = bytes.data();
        }
    }
    return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
}

bool StartAdvise(const Conversation& conversation, const std::string& item) {
    const HSZ name = DdeCreateStringHandleA(conversation.instance, item.c_str(), CP_WINANSI);
    const bool done = DdeClientTransaction(nullptr, 0, conversation.hconv, name, CF_TEXT,
                                           XTYP_ADVSTART, 60000, nullptr) != nullptr;
    DdeFreeStringHandle(conversation.instance, name);
    return done;
}

// Dispatches the waiting messages, and those that come for the given time.
void Pump(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64();; now = GetTickCount64()) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        if (now >= end) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

bool Connect(Conversation& conversation, const char* topicName) {
    if (DdeInitializeA(&conversation.instance, Callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        return false;
    }
    const HSZ service = DdeCreateStringHandleA(conversation.instance, "Zanvo", CP_WINANSI);
    const HSZ topic = DdeCreateStringHandleA(conversation.instance, topicName, CP_WINANSI);
    conversation.hconv = DdeConnect(conversation.instance, service, topic, nullptr);
    DdeFreeStringHandle(conversation.instance, topic);
    DdeFreeStringHandle(conversation.instance, service);
    return conversation.hconv != nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: zanvo-soak-client TOPIC CONVERSATIONS SECONDS ITEM...\n");
        return 2;
    }
    const std::vector<std::string> items(argv + 4, argv + argc);
    s_conversations.resize(std::atoi(argv[2]));
    bool started = true;
    for (Conversation& conversation : s_conversations) {
        started = Connect(conversation, argv[1]) && started;
    }
    for (const std::string& item : items) {
        for (std::size_t i = 0; i < s_conversations.size(); ++i) {
            const std::string spelt = std::string(i, ' ') + item;
            s_conversations[i].items[spelt];
            Pump(0);
            started = StartAdvise(s_conversations[i], spelt) && started;
        }
    }
    std::printf("%s\n", started ? "subscribed" : "not every loop started");
    std::fflush(stdout);
    Pump(static_cast<DWORD>(std::atoi(argv[3])) * 1000);
    for (std::size_t i = 0; i < s_conversations.size(); ++i) {
        for (const auto& [item, received] : s_conversations[i].items) {
            std::printf("%zu\t%s\t%d\t%s\n", i + 1, item.c_str() + i, received.updates,
                        RawText(received.text).c_str());
        }
    }
    for (const Conversation& conversation : s_conversations) {
        DdeDisconnect(conversation.hconv);
        DdeUninitialize(conversation.instance);
    }
    return started ? 0 : 1;
}
