// Win32: a DDEML client instance and its conversations. DDEML calls back on the thread that
// created the instance while that thread pumps messages, so everything here runs on one thread.
#pragma once

#include <windows.h>

#include <ddeml.h>

#include <string>

// How a transaction ended.
enum class Outcome { done, refused, timeout, failed };

class DdeClient {
public:
    // Receives advise data and the server's end of a conversation, from within the message pump.
    class Listener {
    public:
        virtual void OnAdviseData(HCONV hconv, const std::string& text) = 0;
        virtual void OnDisconnected(HCONV hconv) = 0;

    protected:
        ~Listener() = default;
    };

    // The listener of every client of the process (DDEML's callback knows no object), or null.
    static void SetListener(Listener* listener);

    DdeClient();
    ~DdeClient();
    DdeClient(const DdeClient&) = delete;
    DdeClient& operator=(const DdeClient&) = delete;

    bool Initialized() const { return m_instance != 0; }

    // A conversation, or null when no server accepts the service and topic. Under Wine an
    // instance holds at most one conversation per service and topic, and one that the server
    // ended cannot be opened again in the same instance.
    HCONV Connect(const std::string& service, const std::string& topic);
    void Disconnect(HCONV hconv);
    // False once the server has ended the conversation. Wine's client side never calls
    // XTYP_DISCONNECT back; it only marks the conversation as no longer connected.
    static bool Connected(HCONV hconv);

    // The served text: the data up to its terminating zero.
    Outcome Request(HCONV hconv, const std::string& item, DWORD timeoutMs, std::string* text);
    Outcome StartAdvise(HCONV hconv, const std::string& item, DWORD timeoutMs);
    Outcome StopAdvise(HCONV hconv, const std::string& item, DWORD timeoutMs);
    Outcome Poke(HCONV hconv, const std::string& item, const std::string& data, DWORD timeoutMs);

private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV hconv, HSZ hsz1, HSZ hsz2,
                                      HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
    Outcome Transact(HCONV hconv, const std::string& item, UINT type, DWORD timeoutMs,
                     const std::string* data, std::string* text);

    static Listener* s_listener;
    DWORD m_instance = 0;
};
