// Win32: the client of the end-to-end benchmark. One process, one thread, holds advise loops on K
// items "B0001,TTL,T" ... of a topic, each a separate item text
// and each requested once after its advise starts (the DDE server subscribes an item when it is
// first served), and counts the updates it receives over a fixed window after a warm-up. Each text
// starts with the time its server stamped into it (QueryPerformanceCounter ticks, one clock for
// every process of the machine), so the delay from the server's update to this receipt is measured
// too. The server's working set is read through the conversation's partner window once the first
// conversation stands and again at the end of the window, the same way for every server.
//
//   bench-dde-client SERVICE TOPIC K WARMUP_SECONDS SECONDS
//
// Waits up to a minute for the service to answer. Prints "subscribed" once every advise loop has
// started (the servers then begin their updates), "measuring" when the window starts after the
// warm-up, then one line:
//   items K started S updates N seconds T rate R p50_us X p99_us Y ws_before B ws_after A
// Exit code 0 when every advise loop started and updates arrived, 1 otherwise, 2 for bad usage.
#include <windows.h>

#include <ddeml.h>
#include <psapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <type_traits>
#include <vector>

namespace {

bool s_measuring = false;
long long s_updates = 0;
std::vector<long long> s_delays; // QPC ticks

struct Loop {
    DWORD instance = 0;
    HSZ item = nullptr;
    HCONV conversation = nullptr;
};

long long Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    if (type != XTYP_ADVDATA)
        return nullptr;
    if (s_measuring && data) {
        const long long received = Now();
        char text[64] = {};
        DdeGetData(data, reinterpret_cast<BYTE*>(text), sizeof text - 1, 0);
        ++s_updates;
        const long long stamp = std::atoll(text);
        if (stamp > 0 && stamp <= received)
            s_delays.push_back(received - stamp);
    }
    return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
}

// Runs the message loop for the given time.
void RunFor(double seconds) {
    const long long frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    const long long end = Now() + static_cast<long long>(seconds * frequency);
    for (long long now = Now(); now < end; now = Now()) {
        MSG msg;
        // The servers post faster than this loop takes their data: the queue may never run dry,
        // so the time is checked between messages too.
        while (Now() < end && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD wait = static_cast<DWORD>((end - now) * 1000 / frequency);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(wait, 50), QS_ALLINPUT);
    }
}

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using ProcessHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// The working set of the process at the other end of a conversation, in bytes; 0 when unknown.
unsigned long long PartnerWorkingSet(HCONV conversation) {
    CONVINFO info{};
    info.cb = sizeof(info);
    if (!DdeQueryConvInfo(conversation, QID_SYNC, &info) || !info.hwndPartner)
        return 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(info.hwndPartner, &processId);
    const ProcessHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!process || !GetProcessMemoryInfo(process.get(), &counters, sizeof(counters)))
        return 0;
    return counters.WorkingSetSize;
}

double Microseconds(const std::vector<long long>& sorted, double fraction, long long frequency) {
    if (sorted.empty())
        return 0.0;
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1));
    return static_cast<double>(sorted[index]) * 1e6 / static_cast<double>(frequency);
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
    RunFor(warmup);
    std::printf("measuring\n");
    std::fflush(stdout);
    s_delays.reserve(1 << 20);
    s_measuring = true;
    const long long begin = Now();
    RunFor(seconds);
    const long long finish = Now();
    s_measuring = false;
    const unsigned long long workingSetAfter = loops.empty() || !loops.front().conversation
                                                   ? 0
                                                   : PartnerWorkingSet(loops.front().conversation);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double elapsed =
        static_cast<double>(finish - begin) / static_cast<double>(frequency.QuadPart);
    std::sort(s_delays.begin(), s_delays.end());
    std::printf("items %d started %d updates %lld seconds %.2f rate %.0f p50_us %.0f p99_us %.0f "
                "ws_before %llu ws_after %llu\n",
                count, started, s_updates, elapsed, static_cast<double>(s_updates) / elapsed,
                Microseconds(s_delays, 0.5, frequency.QuadPart),
                Microseconds(s_delays, 0.99, frequency.QuadPart), workingSetBefore,
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
    return started == count && s_updates > 0 ? 0 : 1;
}
