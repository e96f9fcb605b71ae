// An in-memory DDEML for unit tests of code written against DdeApi, like DDEML where the server
// depends on it. String handles are atoms: compared without regard to case, keeping the spelling
// added first while they live, at most 255 characters. DdePostAdvise sends XTYP_ADVREQ within the
// call once for every loop on its topic and item, as Windows does (Wine's asks the loops on the
// item in every topic). One instance at a time, the server's. Tests play the client, another
// process without a callback; conversations are named by the handle the server's callback sees.
#pragma once

#include "DdeApi.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

enum class DdeOp { Initialize, CreateStringHandle, NameService, Uninitialize };

class DdeModel final : public DdeApi {
public:
    std::uint32_t DdeInitializeA(std::uint32_t* instance, DdeCallback callback,
                                 std::uint32_t commands, std::uint32_t reserved) override;
    HSZ DdeCreateStringHandleA(std::uint32_t instance, const char* text, int codePage) override;
    bool DdeFreeStringHandle(std::uint32_t instance, HSZ hsz) override;
    HDDEDATA DdeNameService(std::uint32_t instance, HSZ service, HSZ reserved,
                            std::uint32_t command) override;
    std::uint32_t DdeQueryStringA(std::uint32_t instance, HSZ hsz, char* buffer, std::uint32_t size,
                                  int codePage) override;
    std::uint32_t DdeQueryConvInfo(HCONV hconv, std::uint32_t transaction,
                                   DdeConvInfo* info) override;
    bool DdePostAdvise(std::uint32_t instance, HSZ topic, HSZ item) override;
    HDDEDATA DdeCreateDataHandle(std::uint32_t instance, const void* bytes, std::uint32_t size,
                                 std::uint32_t offset, HSZ item, std::uint32_t format,
                                 std::uint32_t commands) override;
    // Ends the conversation without calling its partner back. Fails for one already ended and for
    // one whose client has gone.
    bool DdeDisconnect(HCONV hconv) override;
    // Ends the instance's conversations and withdraws its service name.
    bool DdeUninitialize(std::uint32_t instance) override;

    // These operations fail (DDEML's failure result, no effect) while listed.
    std::set<DdeOp> failing;

    // XTYP_CONNECT to the instance when it registered the service; once accepted,
    // XTYP_CONNECT_CONFIRM. Null when refused. With reuse, the new conversation gets that
    // handle, as DDEML may give a new conversation the handle of one it has ended: the old one
    // ends here if it has not, and its server is not told.
    HCONV Connect(const std::string& service, const std::string& topic, HCONV reuse = nullptr);
    // XTYP_REQUEST: the bytes of the data handle served, or nothing when refused.
    std::optional<std::string> Request(HCONV hconv, const std::string& item);
    // XTYP_ADVSTART; true when the server starts the loop.
    bool StartAdvise(HCONV hconv, const std::string& item, std::uint32_t format = CF_TEXT);
    // XTYP_POKE, without data: the callback's result.
    std::uint32_t Poke(HCONV hconv, const std::string& item);
    // The client ends the conversation: the server gets XTYP_DISCONNECT.
    void Disconnect(HCONV hconv);
    // The client's process ends without ending the conversation, as under Wine: the server is not
    // told. The library still asks the server for the conversation's loops; the first data for
    // one of them fails its DdePostAdvise there (the loops after it are not asked), and from then
    // on DdeQueryConvInfo reports the conversation without ST_CONNECTED.
    void Vanish(HCONV hconv);

    bool IsConnected(HCONV hconv) const {
        return m_conversations.count(hconv) != 0 && m_conversations.at(hconv).connected;
    }
    // The data the client received through its loop on the item, oldest first.
    std::vector<std::string> Advised(HCONV hconv, const std::string& item) const;

    bool LiveInstance() const { return m_instance != 0; }
    // String handles created and not freed.
    int OpenStringHandles() const { return m_openStringHandles; }
    // Data handles created and not taken by the library.
    std::size_t LiveDataHandles() const { return m_data.size(); }
    int PostAdvises() const { return m_posts; }

private:
    struct Atom {
        std::string text;
        int references = 0;
    };
    struct Loop {
        HSZ item = nullptr; // an atom the loop holds
        std::uint32_t format = 0;
        std::vector<std::string> advised;
    };
    struct Conversation {
        HSZ topic = nullptr; // atoms the conversation holds
        HSZ service = nullptr;
        bool connected = true;
        bool clientGone = false;
        bool postFailed = false;
        std::vector<Loop> loops;
    };

    HSZ AddAtom(const std::string& text);
    void ReleaseAtom(HSZ atom);
    std::string AtomText(HSZ atom) const;
    bool Live(std::uint32_t instance) const { return instance != 0 && instance == m_instance; }
    HDDEDATA Send(std::uint32_t type, std::uint32_t format, HCONV hconv, HSZ hsz1, HSZ hsz2);
    HDDEDATA Transact(HCONV hconv, std::uint32_t type, std::uint32_t format,
                      const std::string& item);
    std::optional<std::string> TakeData(HDDEDATA data);
    Conversation* Connected(HCONV hconv);
    void End(Conversation& conversation);

    std::map<HSZ, Atom> m_atoms;
    std::map<HCONV, Conversation> m_conversations;
    std::map<HDDEDATA, std::string> m_data;
    std::uintptr_t m_nextAtom = 0xC000; // where the system's string atoms begin
    std::uint32_t m_instance = 0;       // 0 while none
    std::uint32_t m_nextInstance = 1;
    DdeCallback m_callback = nullptr;
    std::string m_service; // the registered name; empty for none
    std::uintptr_t m_nextConversation = 0x10000;
    std::uintptr_t m_nextData = 0x20000;
    int m_openStringHandles = 0;
    int m_posts = 0;
};
