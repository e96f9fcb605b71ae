// Win32: the raw DDEML baseline of the end-to-end benchmark. It does nothing but serve advise loops
// on any item of topic "Snapshot", and post advises for every item as fast as it can: one round of
// all items after each drain of the message queue, as the library's benchmark mode changes every
// quote once per turn of the message loop. Each text has the size of the DDE server's text for an
// item "SYMBOL,TTL,T": the time of the round's advise (QueryPerformanceCounter ticks), a tab and a
// price within one dollar.
//
//   bench-baseline-server SERVICE STOPFILE GOFILE [SECONDS]
//
// The advises begin once GOFILE exists, so that the client's advise loops start in a quiet server.
// Prints "started" once the service is registered.
#include "DdeInstance.h"
#include "DdeStringHandle.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

struct Item {
    DdeStringHandle name;
    long long stamp = 0;
    int cents = 0;
};

DdeInstance s_dde{PlatformDdeApi()};
std::map<std::string, Item> s_items;

long long Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

HDDEDATA Serve(HSZ hsz2) {
    const auto found = s_items.find(s_dde.QueryString(hsz2));
    if (found == s_items.end())
        return nullptr;
    char text[64];
    const int size = std::snprintf(text, sizeof text, "%lld\t%.6f", found->second.stamp,
                                   100.0 + found->second.cents / 100.0);
    return s_dde.Api().DdeCreateDataHandle(s_dde.Id(), text, static_cast<std::uint32_t>(size + 1),
                                           0, hsz2, CF_TEXT, 0);
}

HDDEDATA Callback(std::uint32_t type, std::uint32_t format, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA,
                  std::uintptr_t, std::uintptr_t) {
    const auto answer = [](bool yes) { return reinterpret_cast<HDDEDATA>(yes ? 1 : 0); };
    switch (type) {
    case XTYP_CONNECT:
        return answer(s_dde.QueryString(hsz1) == "Snapshot");
    case XTYP_ADVSTART: {
        if (format != CF_TEXT)
            return answer(false);
        const std::string name = s_dde.QueryString(hsz2);
        if (!s_items.count(name))
            s_items.emplace(name, Item{DdeStringHandle(s_dde.Api(), s_dde.Id(), name)});
        return answer(true);
    }
    case XTYP_ADVSTOP:
        s_items.erase(s_dde.QueryString(hsz2));
        return nullptr;
    case XTYP_REQUEST:
    case XTYP_ADVREQ:
        return format == CF_TEXT ? Serve(hsz2) : nullptr;
    default:
        return nullptr;
    }
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench-baseline-server SERVICE STOPFILE GOFILE [SECONDS]\n");
        return 2;
    }
    const std::string stopFile = argv[2];
    const std::string goFile = argv[3];
    const int seconds = argc > 4 ? std::atoi(argv[4]) : 300;
    bool going = false;
    if (!s_dde.Initialize(Callback, argv[1])) {
        std::fprintf(stderr, "bench-baseline-server: the service could not be registered\n");
        return 1;
    }
    std::printf("started\n");
    std::fflush(stdout);
    const DdeStringHandle topic(s_dde.Api(), s_dde.Id(), "Snapshot");
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    ULONGLONG nextCheck = 0;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= nextCheck) {
            nextCheck = now + 100;
            if (FileExists(stopFile) || now >= end)
                break;
            going = going || FileExists(goFile);
        }
        if (!going || s_items.empty()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            continue;
        }
        // Names first: an advise runs the callback, which must not pull an item from under the
        // loop.
        std::vector<std::string> names;
        for (const auto& [name, item] : s_items)
            names.push_back(name);
        for (const std::string& name : names) {
            const auto found = s_items.find(name);
            if (found == s_items.end())
                continue;
            found->second.stamp = Now();
            found->second.cents = (found->second.cents + 1) % 100;
            s_dde.PostAdvise(topic.Get(), found->second.name.Get());
        }
    }
    return s_dde.Uninitialize() ? 0 : 1;
}
