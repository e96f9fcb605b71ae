// Win32: a DDE client that speaks the raw WM_DDE_* protocol, without DDEML, the way a spreadsheet
// does, for the end-to-end tests of the DDE server.
//
//   zanvo-raw-client [--request-first | --then-request] [--seconds S] SERVICE TOPIC ITEM...
//
// Initiates with the names as given (any letter case), then for each item: an advise in XlTable
// (which must be refused), an advise in CF_TEXT asking for acknowledgements, and a request before
// or after the advise when asked. It takes data for S seconds (60 unless given), unadvises every
// item and terminates. Atoms and memory are freed as the protocol says. Under Wine a request's
// data message is followed by a positive acknowledgement naming the request's atom again, without
// a reference of its own: the client takes it and leaves its atom, which the data message freed.
//
// Prints each data message of the advise loops as zanvo-dde --raw watch does, TIME ITEM TEXT (ITEM
// as the message's atom spells it), and on the error output TIME advised ITEM once the CF_TEXT
// advise is acknowledged, TIME request ITEM TEXT for the answer to a request.
// Exit code: 0 done, 1 the XlTable advise was accepted or a transaction went wrong, 2 bad usage,
// 3 no server answered, 4 a request was refused, 5 a CF_TEXT advise was refused, 7 no answer
// within 30 s, 8 the server ended the conversation.
#include "RawText.h"

#include <windows.h>

#include <dde.h>
#include <fcntl.h>
#include <io.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

struct Ack {
    bool positive = false;
    ATOM atom = 0;
};

HWND s_window = nullptr;
HWND s_server = nullptr;
bool s_initiating = false;
bool s_terminating = false;
bool s_serverEnded = false;
std::vector<HWND> s_answers;
std::deque<Ack> s_acks;
std::deque<std::string> s_responses;

void Print(std::FILE* out, const char* kind, const std::string& item, const std::string* text) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    std::fprintf(out, "%02u:%02u:%02u.%03u\t%s%s%s%s%s\n", t.wHour, t.wMinute, t.wSecond,
                 t.wMilliseconds, kind, *kind ? "\t" : "", item.c_str(), text ? "\t" : "",
                 text ? RawText(*text).c_str() : "");
    std::fflush(out);
}

bool Post(UINT message, LPARAM lParam) {
    return PostMessageA(s_server, message, reinterpret_cast<WPARAM>(s_window), lParam) != 0;
}

void OnData(LPARAM lParam) {
    UINT_PTR memory = 0;
    UINT_PTR atom = 0;
    UnpackDDElParam(WM_DDE_DATA, lParam, &memory, &atom);
    const auto item = static_cast<ATOM>(atom);
    char name[256] = {};
    GlobalGetAtomNameA(item, name, sizeof name);
    const auto hData = reinterpret_cast<HGLOBAL>(memory);
    bool response = false;
    bool release = false;
    bool ackReq = false;
    std::string text;
    if (const auto* data = static_cast<const DDEDATA*>(GlobalLock(hData))) {
        response = data->fResponse;
        release = data->fRelease;
        ackReq = data->fAckReq;
        const SIZE_T size = GlobalSize(hData) - offsetof(DDEDATA, Value);
        const auto* value = reinterpret_cast<const char*>(data->Value);
        text.assign(value, strnlen(value, size));
        GlobalUnlock(hData);
    }
    if (ackReq) {
        // The acknowledgement reuses the message's memory and atom; the server frees them.
        const LPARAM ack = ReuseDDElParam(lParam, WM_DDE_DATA, WM_DDE_ACK, 0x8000, atom);
        if (!Post(WM_DDE_ACK, ack)) {
            FreeDDElParam(WM_DDE_ACK, ack);
            GlobalDeleteAtom(item);
        }
    } else {
        FreeDDElParam(WM_DDE_DATA, lParam);
        GlobalDeleteAtom(item);
    }
    if (release && hData) {
        GlobalFree(hData);
    }
    if (s_terminating) {
        return;
    }
    if (response) {
        s_responses.push_back(text);
        return;
    }
    Print(stdout, "", name, &text);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto from = reinterpret_cast<HWND>(wParam);
    if (message == WM_DDE_ACK && s_initiating) {
        // The server's answer to the initiate, sent with atoms of its own.
        s_answers.push_back(from);
        GlobalDeleteAtom(LOWORD(lParam));
        GlobalDeleteAtom(HIWORD(lParam));
    } else if (message == WM_DDE_ACK && from == s_server) {
        UINT_PTR status = 0;
        UINT_PTR atom = 0;
        UnpackDDElParam(WM_DDE_ACK, lParam, &status, &atom);
        FreeDDElParam(WM_DDE_ACK, lParam);
        s_acks.push_back({(status & 0x8000) != 0, static_cast<ATOM>(atom)});
    } else if (message == WM_DDE_DATA && from == s_server) {
        OnData(lParam);
    } else if (message == WM_DDE_TERMINATE && from == s_server) {
        if (!s_terminating) {
            Post(WM_DDE_TERMINATE, 0);
        }
        s_serverEnded = true;
    } else if (message < WM_DDE_FIRST || message > WM_DDE_LAST) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return 0;
}

// Dispatches messages until done() or the time has passed.
template <typename Done> void Pump(DWORD milliseconds, Done done) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!done()) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            continue;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

// 0 with the next acknowledgement in ack, 7 when none came within 30 s, 8 when the server ended.
int NextAck(Ack& ack) {
    Pump(30000, [] { return !s_acks.empty() || s_serverEnded; });
    if (s_acks.empty()) {
        return s_serverEnded ? 8 : 7;
    }
    ack = s_acks.front();
    s_acks.pop_front();
    return 0;
}

// Posts a request or unadvise of the item in CF_TEXT; once posted, its atom is the server's.
bool PostItem(UINT message, const std::string& item) {
    const ATOM atom = GlobalAddAtomA(item.c_str());
    if (Post(message, PackDDElParam(message, CF_TEXT, atom))) {
        return true;
    }
    GlobalDeleteAtom(atom);
    return false;
}

// 0 when the advise was acknowledged, 5 when refused, 1, 7 or 8 otherwise.
int Advise(const std::string& item, UINT format) {
    const HGLOBAL options = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(DDEADVISE));
    auto* advise = static_cast<DDEADVISE*>(GlobalLock(options));
    *advise = DDEADVISE{};
    advise->fAckReq = 1;
    advise->cfFormat = static_cast<short>(format);
    GlobalUnlock(options);
    const ATOM atom = GlobalAddAtomA(item.c_str());
    const LPARAM lParam = PackDDElParam(WM_DDE_ADVISE, reinterpret_cast<UINT_PTR>(options), atom);
    if (!Post(WM_DDE_ADVISE, lParam)) {
        FreeDDElParam(WM_DDE_ADVISE, lParam);
        GlobalFree(options);
        GlobalDeleteAtom(atom);
        return 1;
    }
    Ack ack;
    if (const int missing = NextAck(ack)) {
        return missing;
    }
    GlobalDeleteAtom(ack.atom);
    if (ack.positive) {
        return 0;
    }
    // Refused, the options stay the client's to free.
    GlobalFree(options);
    return 5;
}

// 0 when the request was answered, 4 when refused, 1, 7 or 8 otherwise.
int Request(const std::string& item) {
    if (!PostItem(WM_DDE_REQUEST, item)) {
        return 1;
    }
    Pump(30000, [] { return !s_responses.empty() || !s_acks.empty() || s_serverEnded; });
    if (s_responses.empty()) {
        Ack ack;
        if (const int missing = NextAck(ack)) {
            return missing;
        }
        GlobalDeleteAtom(ack.atom);
        return ack.positive ? 1 : 4;
    }
    Print(stderr, "request", item, &s_responses.front());
    s_responses.pop_front();
    // Wine's extra acknowledgement, posted right behind the data: taken, its atom left.
    Pump(500, [] { return !s_acks.empty(); });
    s_acks.clear();
    return 0;
}

bool Initiate(const char* service, const char* topic) {
    const ATOM app = GlobalAddAtomA(service);
    const ATOM subject = GlobalAddAtomA(topic);
    s_initiating = true;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(s_window),
                        MAKELPARAM(app, subject), SMTO_ABORTIFHUNG, 5000, nullptr);
    s_initiating = false;
    GlobalDeleteAtom(app);
    GlobalDeleteAtom(subject);
    if (s_answers.empty()) {
        return false;
    }
    s_server = s_answers.front();
    // Any other server that answered is let go at once.
    for (std::size_t i = 1; i < s_answers.size(); ++i) {
        PostMessageA(s_answers[i], WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(s_window), 0);
    }
    return true;
}

int Usage() {
    std::fprintf(stderr, "usage: zanvo-raw-client [--request-first | --then-request] [--seconds S] "
                         "SERVICE TOPIC ITEM...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    bool requestFirst = false;
    bool thenRequest = false;
    int seconds = 60;
    int at = 1;
    for (; at < argc && std::strncmp(argv[at], "--", 2) == 0; ++at) {
        const std::string option = argv[at];
        if (option == "--request-first") {
            requestFirst = true;
        } else if (option == "--then-request") {
            thenRequest = true;
        } else if (option == "--seconds" && at + 1 < argc) {
            seconds = std::atoi(argv[++at]);
        } else {
            return Usage();
        }
    }
    if (argc - at < 3 || (requestFirst && thenRequest)) {
        return Usage();
    }
    const std::vector<std::string> items(argv + at + 2, argv + argc);
    // Line feeds as they are, as zanvo-dde writes them.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZanvoRawDdeClient";
    RegisterClassA(&windowClass);
    s_window = CreateWindowA(windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             windowClass.hInstance, nullptr);
    if (!s_window || !Initiate(argv[at], argv[at + 1])) {
        std::fprintf(stderr, "no server answers for '%s|%s'\n", argv[at], argv[at + 1]);
        return 3;
    }

    const UINT xlTable = RegisterClipboardFormatA("XlTable");
    int result = 0;
    std::vector<std::string> advised;
    for (const std::string& item : items) {
        if (requestFirst && (result = Request(item)) != 0) {
            break;
        }
        const int table = Advise(item, xlTable);
        if (table != 5) {
            std::fprintf(stderr, "XlTable advise of '%s' not refused (%d)\n", item.c_str(), table);
            result = table == 0 ? 1 : table;
            break;
        }
        if ((result = Advise(item, CF_TEXT)) != 0) {
            break;
        }
        Print(stderr, "advised", item, nullptr);
        advised.push_back(item);
        if (thenRequest && (result = Request(item)) != 0) {
            break;
        }
    }
    if (result == 0) {
        Pump(static_cast<DWORD>(seconds) * 1000, [] { return s_serverEnded; });
        result = s_serverEnded ? 8 : 0;
    }
    Ack ack;
    for (const std::string& item : advised) {
        if (!s_serverEnded && PostItem(WM_DDE_UNADVISE, item) && NextAck(ack) == 0) {
            GlobalDeleteAtom(ack.atom);
        }
    }
    s_terminating = true;
    if (!s_serverEnded && Post(WM_DDE_TERMINATE, 0)) {
        Pump(10000, [] { return s_serverEnded; });
    }
    DestroyWindow(s_window);
    return result;
}
