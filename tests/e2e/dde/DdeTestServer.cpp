// Win32: a small DDEML server for end-to-end tests of the DDE layer and of zanvo-dde, built on
// DdeInstance and the real DDEML.
//
//   dde-test-server SERVICE [SECONDS]
//
// Topic "Test" serves fixed texts: "greeting" (two lines with a tab), "counter" (advised every
// 200 ms with a new count) and "echo". Any other item, and any other format than CF_TEXT, is
// refused. A poke advises the poked item; a poke of "quit" ends the server, as does the time
// limit (60 s unless given). Exit code 0 when the service was withdrawn cleanly.
#include "DdeInstance.h"
#include "DdeStringHandle.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

DdeInstance s_dde;
std::map<std::string, std::string> s_texts = {
    {"greeting", "Hello\tWorld\nsecond line"},
    {"counter", "count 0"},
    {"echo", "echo"},
};
int s_count = 0;

HDDEDATA Serve(HSZ hsz2) {
    const auto found = s_texts.find(s_dde.QueryString(hsz2));
    if (found == s_texts.end()) {
        return nullptr;
    }
    const std::string& text = found->second;
    return CurrentDdeApi().DdeCreateDataHandle(
        s_dde.Id(), text.c_str(), static_cast<std::uint32_t>(text.size() + 1), 0, hsz2, CF_TEXT, 0);
}

HDDEDATA Callback(std::uint32_t type, std::uint32_t format, HCONV hconv, HSZ hsz1, HSZ hsz2,
                  HDDEDATA, std::uintptr_t, std::uintptr_t) {
    const auto answer = [](bool yes) { return reinterpret_cast<HDDEDATA>(yes ? 1 : 0); };
    switch (type) {
    case XTYP_CONNECT:
        return answer(s_dde.QueryString(hsz1) == "Test");
    case XTYP_ADVSTART:
        return answer(format == CF_TEXT && s_texts.count(s_dde.QueryString(hsz2)) != 0);
    case XTYP_REQUEST:
    case XTYP_ADVREQ:
        return format == CF_TEXT ? Serve(hsz2) : nullptr;
    case XTYP_POKE: {
        if (s_dde.QueryString(hsz2) == "quit") {
            PostQuitMessage(0);
        } else {
            DdeConvInfo info;
            if (CurrentDdeApi().DdeQueryConvInfo(hconv, QID_SYNC, &info) &&
                !(info.wStatus & ST_ISSELF)) {
                s_dde.PostAdvise(hsz1, hsz2);
            }
        }
        return reinterpret_cast<HDDEDATA>(std::uintptr_t{DDE_FACK});
    }
    default:
        return nullptr;
    }
}

void CALLBACK OnCounterTimer(HWND, UINT, UINT_PTR, DWORD) {
    s_texts["counter"] = "count " + std::to_string(++s_count);
    const DdeStringHandle topic(s_dde.Id(), "Test");
    const DdeStringHandle item(s_dde.Id(), "counter");
    s_dde.PostAdvise(topic.Get(), item.Get());
}

void CALLBACK OnTimeLimit(HWND, UINT, UINT_PTR, DWORD) {
    std::fprintf(stderr, "dde-test-server: time limit reached\n");
    PostQuitMessage(0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: dde-test-server SERVICE [SECONDS]\n");
        return 2;
    }
    const UINT seconds = argc > 2 ? static_cast<UINT>(std::atoi(argv[2])) : 60;
    if (!s_dde.Initialize(Callback, argv[1])) {
        std::fprintf(stderr, "dde-test-server: the service could not be registered\n");
        return 1;
    }
    SetTimer(nullptr, 0, 200, OnCounterTimer);
    SetTimer(nullptr, 0, seconds * 1000, OnTimeLimit);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return s_dde.Uninitialize() ? 0 : 1;
}
