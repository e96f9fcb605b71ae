// Win32: the watch command: an advise loop per item; and request --wait, which holds one item's
// loop until its text changes. The thread pumps messages while it waits: advise data arrives
// as XTYP_ADVDATA in the clients' callback from within that pump.
#include "Watch.h"

#include "../ExitCodes.h"
#include "../Output.h"
#include "DdeClient.h"
#include "Report.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

// Set by Ctrl+C, Ctrl+Break or the console closing; the handler runs on a thread of its own.
HANDLE s_stopEvent = nullptr;
// Set once the main thread has ended its conversations, for the console-close handler to wait.
HANDLE s_doneEvent = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    SetEvent(s_stopEvent);
    if (event == CTRL_CLOSE_EVENT) {
        // The process ends when the handler returns; let the conversations end first.
        WaitForSingleObject(s_doneEvent, 5000);
    }
    return TRUE;
}

std::string Stamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02u:%02u:%02u.%03u", now.wHour, now.wMinute, now.wSecond,
                  now.wMilliseconds);
    return stamp;
}

// One item per conversation and one conversation per client instance: Wine's DDEML allows an
// instance one conversation per service and topic, and a second transaction on a conversation
// can take Wine's extra acknowledgement of a request for its own answer.
struct WatchedItem {
    std::string item;
    std::unique_ptr<DdeClient> client = std::make_unique<DdeClient>();
    HCONV hconv = nullptr;
    bool advising = false;
};

class Watcher final : public DdeClient::Listener {
public:
    explicit Watcher(const Options& options) : m_options(options) {
        DdeClient::SetListener(this);
        for (const std::string& item : options.items) {
            m_items.push_back(WatchedItem{item});
        }
    }

    ~Watcher() { DdeClient::SetListener(nullptr); }

    int Run() {
        int code = Start();
        if (code == ecOk) {
            code = Pump();
        }
        Stop();
        if (code == ecOk && WaitsForData()) {
            PrintServed(m_text, m_options.raw);
        }
        return code;
    }

    void OnAdviseData(HCONV hconv, const std::string& text) override {
        const WatchedItem* watched = Find(hconv);
        if (!watched || Finished()) {
            return;
        }
        Received(*watched, text);
        ++m_updates;
    }

    void OnDisconnected(HCONV hconv) override {
        WatchedItem* watched = Find(hconv);
        if (watched) {
            m_ended = watched->item;
            watched->hconv = nullptr;
        }
    }

private:
    // request --wait: only the item's last text is printed, once it differs from the text the
    // request got or the time is up. A server that creates items on demand answers the first
    // request with the item's initial text (Zanvo: empty, or the header and empty rows) and
    // changes it when the first data arrive.
    bool WaitsForData() const { return m_options.command == Command::request; }

    bool Finished() const {
        if (WaitsForData()) {
            return m_requested && m_text != *m_requested;
        }
        return m_options.count && m_updates >= *m_options.count;
    }

    void Received(const WatchedItem& watched, const std::string& text) {
        if (WaitsForData()) {
            if (!m_requested) {
                m_requested = text;
            }
            m_text = text;
        } else {
            PrintUpdate(Stamp(), watched.item, text, m_options.raw);
        }
    }

    WatchedItem* Find(HCONV hconv) {
        for (WatchedItem& watched : m_items) {
            if (watched.hconv == hconv) {
                return &watched;
            }
        }
        return nullptr;
    }

    // Starts each item's loop, then requests its current text: the request is what makes a
    // server that creates items on demand start serving the item.
    int Start() {
        for (WatchedItem& watched : m_items) {
            if (!watched.client->Initialized()) {
                PrintError("DDE could not be initialised");
                return ecDdeFailure;
            }
            watched.hconv = watched.client->Connect(m_options.service, m_options.topic);
            if (!watched.hconv) {
                return ReportNoServer(m_options);
            }
            Outcome outcome =
                watched.client->StartAdvise(watched.hconv, watched.item, m_options.timeoutMs);
            if (outcome != Outcome::done) {
                return ReportFailure(outcome, m_options, watched.item, ecAdviseRefused,
                                     "the advise on");
            }
            watched.advising = true;
            std::string text;
            outcome =
                watched.client->Request(watched.hconv, watched.item, m_options.timeoutMs, &text);
            if (outcome != Outcome::done) {
                return ReportFailure(outcome, m_options, watched.item, ecItemRefused, "item");
            }
            Received(watched, text);
        }
        return ecOk;
    }

    int Pump() {
        std::optional<ULONGLONG> limitMs;
        if (WaitsForData()) {
            limitMs = *m_options.waitMs;
        } else if (m_options.seconds) {
            limitMs = *m_options.seconds * 1000ULL;
        }
        const ULONGLONG deadline = limitMs ? GetTickCount64() + *limitMs : 0;
        while (!Finished()) {
            if (!m_ended.empty()) {
                PrintError("the server ended the conversation on '" + m_ended + "'");
                return ecConversationEnded;
            }
            DWORD wait = INFINITE;
            if (limitMs) {
                const ULONGLONG now = GetTickCount64();
                if (now >= deadline) {
                    break;
                }
                wait = static_cast<DWORD>(deadline - now);
            }
            // Also for messages already in the queue: a synchronous transaction's wait may have
            // seen, and left, the answer a loop's data took the place of.
            if (MsgWaitForMultipleObjectsEx(1, &s_stopEvent, wait, QS_ALLINPUT,
                                            MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) {
                break;
            }
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            NoteEndedConversations();
        }
        return ecOk;
    }

    // The server's end of a conversation arrives as a message of the pump; Windows reports it
    // through the callback, Wine only in the conversation's status.
    void NoteEndedConversations() {
        for (WatchedItem& watched : m_items) {
            if (watched.hconv && !DdeClient::Connected(watched.hconv)) {
                OnDisconnected(watched.hconv);
            }
        }
    }

    void Stop() {
        for (WatchedItem& watched : m_items) {
            if (!watched.hconv) {
                continue;
            }
            if (watched.advising) {
                watched.client->StopAdvise(watched.hconv, watched.item, m_options.timeoutMs);
            }
            watched.client->Disconnect(watched.hconv);
        }
    }

    const Options& m_options;
    std::vector<WatchedItem> m_items;
    std::string m_ended; // an item whose conversation the server ended
    std::uint32_t m_updates = 0;
    // request --wait: the text the request got, and the item's last text.
    std::optional<std::string> m_requested;
    std::string m_text;
};

} // namespace

int Watch(const Options& options) {
    s_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    s_doneEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    int code = ecOk;
    {
        Watcher watcher(options);
        code = watcher.Run();
    }
    SetEvent(s_doneEvent);
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    CloseHandle(s_doneEvent);
    CloseHandle(s_stopEvent);
    return code;
}
