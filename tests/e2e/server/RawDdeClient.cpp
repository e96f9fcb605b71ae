// Win32: a DDE client that speaks the raw WM_DDE_* protocol, without DDEML, the way a spreadsheet
// does, for the end-to-end tests of the DDE server.
//
//   zanvo-raw-client [--request-first | --then-request] [--seconds S] [--conversations N]
//                    SERVICE TOPIC ITEM...
//
// Initiates N conversations (1 unless given), then in each, for each item: an advise in XlTable
// (which must be refused), an advise in CF_TEXT asking for acknowledgements, and a request before
// or after it when asked. Conversation n spells each item with n - 1 blanks in front, which the
// server trims: under Wine the data messages of one advise to several loops on one item text share
// an atom that the first receiver frees. It takes data for S seconds (60 unless given), unadvises
// every item and terminates, freeing atoms and memory as the protocol says.
//
// Prints each advised data message as zanvo-dde --raw watch does, TIME ITEM TEXT (ITEM as the
// message's atom spells it; TIME CONVERSATION ITEM TEXT with several conversations), and on the
// error output TIME advised ITEM once the CF_TEXT advise is acknowledged, TIME request ITEM TEXT
// for the answer to a request.
// Exit code: 0 done, 1 the XlTable advise was accepted or a transaction went wrong, 2 bad usage,
// 3 no server answered, 4 a request was refused, 5 a CF_TEXT advise was refused, 7 no answer
// within 30 s, 8 the server ended a conversation.
#include "RawText.h"

#include <windows.h>

#include <dde.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
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

struct Conversation {
    HWND window = nullptr;
    HWND server = nullptr;
    bool serverEnded = false;
    std::deque<Ack> acks;
    std::deque<std::string> responses;
    std::vector<std::string> advised;
};

// Sized once, before the windows that point to them are created.
std::vector<Conversation> s_conversations;
bool s_initiating = false;
bool s_terminating = false;

void Print(std::FILE* out, const std::string& kind, const std::string& item,
           const std::string* text) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    std::fprintf(out, "%02u:%02u:%02u.%03u\t%s%s%s%s%s\n", t.wHour, t.wMinute, t.wSecond,
                 t.wMilliseconds, kind.c_str(), kind.empty() ? "" : "\t", item.c_str(),
                 text ? "\t" : "", text ? RawText(*text).c_str() : "");
    std::fflush(out);
}

bool Post(const Conversation& c, UINT message, LPARAM lParam) {
    return PostMessageA(c.server, message, reinterpret_cast<WPARAM>(c.window), lParam) != 0;
}

void OnData(Conversation& c, LPARAM lParam) {
    UINT_PTR memory = 0;
    UINT_PTR atom = 0;
    UnpackDDElParam(WM_DDE_DATA, lParam, &memory, &atom);
    const auto item = static_cast<ATOM>(atom);
    char name[256] = {};
    GlobalGetAtomNameA(item, name, sizeof name);
    const auto hData = reinterpret_cast<HGLOBAL>(memory);
    DDEDATA flags{};
    std::string text;
    if (const auto* data = static_cast<const DDEDATA*>(GlobalLock(hData))) {
        std::memcpy(&flags, data, offsetof(DDEDATA, Value));
        const SIZE_T size = GlobalSize(hData) - offsetof(DDEDATA, Value);
        const auto* value = reinterpret_cast<const char*>(data->Value);
        text.assign(value, strnlen(value, size));
        GlobalUnlock(hData);
    }
    if (flags.fAckReq) {
        // The acknowledgement reuses the message's memory and atom; the server frees them.
        const LPARAM ack = ReuseDDElParam(lParam, WM_DDE_DATA, WM_DDE_ACK, 0x8000, atom);
        if (!Post(c, WM_DDE_ACK, ack)) {
            FreeDDElParam(WM_DDE_ACK, ack);
            GlobalDeleteAtom(item);
        }
    } else {
        FreeDDElParam(WM_DDE_DATA, lParam);
        GlobalDeleteAtom(item);
    }
    if (flags.fRelease && hData) {
        GlobalFree(hData);
    }
    if (s_terminating) {
        return;
    }
    if (flags.fResponse) {
        c.responses.push_back(text);
        return;
    }
    const std::size_t number = &c - s_conversations.data() + 1;
    Print(stdout, s_conversations.size() > 1 ? std::to_string(number) : "", name, &text);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message < WM_DDE_FIRST || message > WM_DDE_LAST) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const auto from = reinterpret_cast<HWND>(wParam);
    auto* c = reinterpret_cast<Conversation*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_DDE_ACK && s_initiating) {
        // A server's answer to the initiate, sent with atoms of its own; any further one is let go.
        if (c->server) {
            PostMessageA(from, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window), 0);
        } else {
            c->server = from;
        }
        GlobalDeleteAtom(LOWORD(lParam));
        GlobalDeleteAtom(HIWORD(lParam));
    } else if (!c || from != c->server) {
        return 0;
    } else if (message == WM_DDE_ACK) {
        UINT_PTR status = 0;
        UINT_PTR atom = 0;
        UnpackDDElParam(WM_DDE_ACK, lParam, &status, &atom);
        FreeDDElParam(WM_DDE_ACK, lParam);
        c->acks.push_back({(status & 0x8000) != 0, static_cast<ATOM>(atom)});
    } else if (message == WM_DDE_DATA) {
        OnData(*c, lParam);
    } else if (message == WM_DDE_TERMINATE) {
        if (!s_terminating) {
            Post(*c, WM_DDE_TERMINATE, 0);
        }
        c->serverEnded = true;
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

// 0 with the next acknowledgement taken (its atom freed) and whether it was positive, 7 when none
// came within 30 s, 8 when the server ended.
int NextAck(Conversation& c, bool& positive) {
    Pump(30000, [&c] { return !c.acks.empty() || c.serverEnded; });
    if (c.acks.empty()) {
        return c.serverEnded ? 8 : 7;
    }
    positive = c.acks.front().positive;
    GlobalDeleteAtom(c.acks.front().atom);
    c.acks.pop_front();
    return 0;
}

// Posts a message naming the item (low: its format, or an advise's options); once posted, its
// atom is the server's.
bool PostItem(const Conversation& c, UINT message, const std::string& item,
              UINT_PTR low = CF_TEXT) {
    const ATOM atom = GlobalAddAtomA(item.c_str());
    const LPARAM lParam = PackDDElParam(message, low, atom);
    if (Post(c, message, lParam)) {
        return true;
    }
    FreeDDElParam(message, lParam);
    GlobalDeleteAtom(atom);
    return false;
}

// 0 when the advise was acknowledged, 5 when refused, 1, 7 or 8 otherwise.
int Advise(Conversation& c, const std::string& item, UINT format) {
    const HGLOBAL options = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(DDEADVISE));
    auto* advise = static_cast<DDEADVISE*>(GlobalLock(options));
    *advise = DDEADVISE{};
    advise->fAckReq = 1;
    advise->cfFormat = static_cast<short>(format);
    GlobalUnlock(options);
    if (!PostItem(c, WM_DDE_ADVISE, item, reinterpret_cast<UINT_PTR>(options))) {
        GlobalFree(options);
        return 1;
    }
    bool positive = false;
    if (const int missing = NextAck(c, positive)) {
        return missing;
    }
    if (!positive) {
        // Refused, the options stay the client's to free.
        GlobalFree(options);
    }
    return positive ? 0 : 5;
}

// 0 when the request was answered, 4 when refused, 1, 7 or 8 otherwise.
int Request(Conversation& c, const std::string& item) {
    if (!PostItem(c, WM_DDE_REQUEST, item)) {
        return 1;
    }
    Pump(30000, [&c] { return !c.responses.empty() || !c.acks.empty() || c.serverEnded; });
    if (c.responses.empty()) {
        bool positive = false;
        const int missing = NextAck(c, positive);
        return missing != 0 ? missing : positive ? 1 : 4;
    }
    Print(stderr, "request", item, &c.responses.front());
    c.responses.pop_front();
    // Under Wine the data is followed by a positive acknowledgement naming the request's atom,
    // which the data message freed, without a reference of its own: taken, its atom left.
    Pump(500, [&c] { return !c.acks.empty(); });
    c.acks.clear();
    return 0;
}

// 0 when the item's CF_TEXT loop started, with the requests asked for, after a refused XlTable
// advise.
int Open(Conversation& c, const std::string& item, bool requestFirst, bool thenRequest) {
    static const UINT xlTable = RegisterClipboardFormatA("XlTable");
    int result = requestFirst ? Request(c, item) : 0;
    if (result != 0) {
        return result;
    }
    const int table = Advise(c, item, xlTable);
    if (table != 5) {
        std::fprintf(stderr, "XlTable advise of '%s' not refused (%d)\n", item.c_str(), table);
        return table == 0 ? 1 : table;
    }
    if ((result = Advise(c, item, CF_TEXT)) != 0) {
        return result;
    }
    Print(stderr, "advised", item, nullptr);
    c.advised.push_back(item);
    return thenRequest ? Request(c, item) : 0;
}

bool Initiate(Conversation& c, const char* service, const char* topic) {
    const ATOM app = GlobalAddAtomA(service);
    const ATOM subject = GlobalAddAtomA(topic);
    s_initiating = true;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(c.window),
                        MAKELPARAM(app, subject), SMTO_ABORTIFHUNG, 5000, nullptr);
    s_initiating = false;
    GlobalDeleteAtom(app);
    GlobalDeleteAtom(subject);
    return c.server != nullptr;
}

bool AnyEnded() {
    return std::any_of(s_conversations.begin(), s_conversations.end(),
                       [](const Conversation& c) { return c.serverEnded; });
}

int Usage() {
    std::fprintf(stderr, "usage: zanvo-raw-client [--request-first | --then-request] [--seconds S] "
                         "[--conversations N] SERVICE TOPIC ITEM...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    bool requestFirst = false;
    bool thenRequest = false;
    int seconds = 60;
    int conversations = 1;
    int at = 1;
    for (; at < argc && std::strncmp(argv[at], "--", 2) == 0; ++at) {
        const std::string option = argv[at];
        if (option == "--request-first") {
            requestFirst = true;
        } else if (option == "--then-request") {
            thenRequest = true;
        } else if (option == "--seconds" && at + 1 < argc) {
            seconds = std::atoi(argv[++at]);
        } else if (option == "--conversations" && at + 1 < argc) {
            conversations = std::atoi(argv[++at]);
        } else {
            return Usage();
        }
    }
    if (argc - at < 3 || (requestFirst && thenRequest) || conversations < 1) {
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
    s_conversations.resize(conversations);
    for (Conversation& c : s_conversations) {
        c.window = CreateWindowA(windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(c.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
        if (!c.window || !Initiate(c, argv[at], argv[at + 1])) {
            std::fprintf(stderr, "no server answers for '%s|%s'\n", argv[at], argv[at + 1]);
            return 3;
        }
    }

    int result = 0;
    for (std::size_t n = 0; n < s_conversations.size() && result == 0; ++n) {
        for (std::size_t i = 0; i < items.size() && result == 0; ++i) {
            result =
                Open(s_conversations[n], std::string(n, ' ') + items[i], requestFirst, thenRequest);
        }
    }
    if (result == 0) {
        Pump(static_cast<DWORD>(seconds) * 1000, AnyEnded);
        result = AnyEnded() ? 8 : 0;
    }
    bool positive = false;
    for (Conversation& c : s_conversations) {
        for (const std::string& item : c.advised) {
            if (!c.serverEnded && PostItem(c, WM_DDE_UNADVISE, item)) {
                NextAck(c, positive);
            }
        }
    }
    s_terminating = true;
    for (Conversation& c : s_conversations) {
        if (!c.serverEnded && Post(c, WM_DDE_TERMINATE, 0)) {
            Pump(10000, [&c] { return c.serverEnded; });
        }
        DestroyWindow(c.window);
    }
    return result;
}
