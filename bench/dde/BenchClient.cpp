// Win32: the client of the end-to-end benchmark. One process, one thread, holds advise loops on K
// items "B0001,TTL,T" ... of a topic, each a separate item text
// and each requested once after its advise starts (the DDE server subscribes an item when it is
// first served), and counts the updates it receives over a fixed window after a warm-up. Each text
// starts with the time its server stamped into it (QueryPerformanceCounter ticks, one clock for
// every process of the machine), so the delay from the server's update to this receipt is measured
// too, and the age of the newest value held (ClientMeasures.h). The server's working set is read
// through the conversation's partner window once the first conversation stands, when the window
// starts and at its end, the same way for every server.
//
//   bench-dde-client SERVICE TOPIC K WARMUP_SECONDS SECONDS
//
// Waits up to a minute for the service to answer. Prints "subscribed" once every advise loop has
// started (the servers then begin their updates), "measuring" when the window starts after the
// warm-up, then one line:
//   items K started S updates N seconds T rate R p50_us X p99_us Y fresh_p50_us F fresh_p99_us G
//   ws_before B ws_start W ws_after A
// Exit code 0 when every advise loop started and updates arrived, 1 otherwise, 2 for bad usage.
#include "ClientMeasures.h"

#include <windows.h>

#include <ddeml.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

ClientMeasures s_measures;

struct Loop {
    DWORD instance = 0;
    HSZ item = nullptr;
    HCONV conversation = nullptr;
};

HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    if (type != XTYP_ADVDATA)
        return nullptr;
    if (data) {
        char text[64] = {};
        DdeGetData(data, reinterpret_cast<BYTE*>(text), sizeof text - 1, 0);
        s_measures.Received(std::atoll(text), Now());
    }
    return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
}

// The working set of the process at the other end of a conversation, in bytes; 0 when unknown.
unsigned long long PartnerWorkingSet(HCONV conversation) {
    CONVINFO info{};
    info.cb = sizeof(info);
    if (!conversation || !DdeQueryConvInfo(conversation, QID_SYNC, &info))
        return 0;
    return WorkingSetOfWindow(info.hwndPartner);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: bench-dde-client SERVICE TOPIC K WARMUP_SECONDS SECONDS\n");
        return 2;
    }
    const int count = std::atoi(argv[3]);
    const double warmup = std::atof(argv[4]);
    const double seconds = std::atof(argv[5]);
    // One DDEML instance and conversation per item, all on this thread: under Wine a request is
    // followed by an extra acknowledgement that a further transaction in the same conversation
    // would take for its own answer, and one instance connects only once to a service and topic.
    std::vector<Loop> loops;
    int started = 0;
    unsigned long long workingSetBefore = 0;
    for (int i = 1; i <= count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "B%04d,TTL,T", i);
        Loop& loop = loops.emplace_back();
        if (DdeInitializeA(&loop.instance, Callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
            std::fprintf(stderr, "bench-dde-client: DdeInitialize failed\n");
            break;
        }
        const HSZ service = DdeCreateStringHandleA(loop.instance, argv[1], CP_WINANSI);
        const HSZ topic = DdeCreateStringHandleA(loop.instance, argv[2], CP_WINANSI);
        loop.item = DdeCreateStringHandleA(loop.instance, name, CP_WINANSI);
        loop.conversation = DdeConnect(loop.instance, service, topic, nullptr);
        // The server may still be starting.
        for (int wait = 0; !loop.conversation && i == 1 && wait < 600; ++wait) {
            Sleep(100);
            loop.conversation = DdeConnect(loop.instance, service, topic, nullptr);
        }
        DdeFreeStringHandle(loop.instance, topic);
        DdeFreeStringHandle(loop.instance, service);
        if (!loop.conversation) {
            std::fprintf(stderr, "bench-dde-client: no conversation with %s|%s\n", argv[1],
                         argv[2]);
            break;
        }
        if (i == 1)
            workingSetBefore = PartnerWorkingSet(loop.conversation);
        if (!DdeClientTransaction(nullptr, 0, loop.conversation, loop.item, CF_TEXT, XTYP_ADVSTART,
                                  60000, nullptr)) {
            std::fprintf(stderr, "bench-dde-client: advise on %s refused (DDEML error %u)\n", name,
                         DdeGetLastError(loop.instance));
            continue;
        }
        // As spreadsheets do: the first request makes the server subscribe the item.
        if (const HDDEDATA first = DdeClientTransaction(nullptr, 0, loop.conversation, loop.item,
                                                        CF_TEXT, XTYP_REQUEST, 60000, nullptr)) {
            DdeFreeDataHandle(first);
            ++started;
        } else {
            std::fprintf(stderr, "bench-dde-client: request of %s refused (DDEML error %u)\n", name,
                         DdeGetLastError(loop.instance));
        }
    }
    std::printf("subscribed\n");
    std::fflush(stdout);
    RunFor(warmup, s_measures);
    std::printf("measuring\n");
    std::fflush(stdout);
    HCONV first = loops.empty() ? nullptr : loops.front().conversation;
    const unsigned long long workingSetStart = PartnerWorkingSet(first);
    s_measures.Begin();
    RunFor(seconds, s_measures);
    s_measures.End();
    const unsigned long long workingSetAfter = PartnerWorkingSet(first);

    std::printf("items %d started %d ", count, started);
    s_measures.Print();
    std::printf(" ws_before %llu ws_start %llu ws_after %llu\n", workingSetBefore, workingSetStart,
                workingSetAfter);
    std::fflush(stdout);

    for (Loop& loop : loops) {
        if (loop.conversation)
            DdeDisconnect(loop.conversation);
        if (loop.item)
            DdeFreeStringHandle(loop.instance, loop.item);
        if (loop.instance)
            DdeUninitialize(loop.instance);
    }
    return started == count && s_measures.Values() > 0 ? 0 : 1;
}
