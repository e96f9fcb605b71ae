// An in-memory DDEML for unit tests of code written against DdeApi. It behaves like DDEML where
// a server depends on it: instances, string handles (atoms), service names, conversations with
// advise loops per topic and item, XTYP_ADVREQ sent within DdePostAdvise once for every loop on
// the topic and item, data handles handed to the library, and conversations ended from either
// side. Tests play the client through the client operations below and read what it received.
// DdePostAdvise keeps to the topic it is given, as Windows does (Wine's asks the loops on the item
// in every topic).
//
// Conversations are named by the handle the server's callback sees. The test client stands for
// another process; it has no callback of its own.
//
// Initialisation, string handles, service names and uninitialisation can be made to fail.
#pragma once

#include "DdeApi.h"
#include "DdeAtomTable.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

enum class DdeOp { Initialize, CreateStringHandle, NameService, Uninitialize };

class DdeModel final : public DdeApi {
public:
    DdeModel() = default;
    DdeModel(const DdeModel&) = delete;
    DdeModel& operator=(const DdeModel&) = delete;

    // DdeApi.
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
    // Ends the conversation; its partner is not called back. Fails for a conversation that has
    // already ended, also while its XTYP_DISCONNECT is being delivered, and for one reported as
    // not connected.
    bool DdeDisconnect(HCONV hconv) override;
    // Ends the instance's conversations and withdraws its service names.
    bool DdeUninitialize(std::uint32_t instance) override;

    // The operation fails from now on (DDEML's failure result, no effect), or works again.
    void SetFailing(DdeOp op, bool failing);

    // Client side. Connect sends XTYP_CONNECT to each instance that registered the service until
    // one accepts, then XTYP_CONNECT_CONFIRM; null when none accepts. With reuse, the new
    // conversation gets that handle, as DDEML may give a new conversation the handle of one it has
    // ended: the old one ends here if it has not, and its server is not told.
    HCONV Connect(const std::string& service, const std::string& topic, HCONV reuse = nullptr);
    // XTYP_REQUEST: the bytes of the data handle served, or nothing when refused.
    std::optional<std::string> Request(HCONV hconv, const std::string& item,
                                       std::uint32_t format = CF_TEXT);
    // XTYP_ADVSTART; true when the server starts the loop.
    bool StartAdvise(HCONV hconv, const std::string& item, std::uint32_t format = CF_TEXT);
    // XTYP_POKE: the callback's result (DDE_FACK when processed). Its data handle is the
    // client's; DdeApi gives the server no way to read it.
    std::uint32_t Poke(HCONV hconv, const std::string& item, std::uint32_t format = CF_TEXT);
    // The client ends the conversation: the server gets XTYP_DISCONNECT.
    void Disconnect(HCONV hconv);
    // The client's process ends without ending the conversation, as under Wine: the server is not
    // told. The library still asks the server for the conversation's loops; the first data for
    // one of them fails its DdePostAdvise there (the loops after it are not asked), and from then
    // on DdeQueryConvInfo reports the conversation without ST_CONNECTED.
    void Vanish(HCONV hconv);

    bool IsConnected(HCONV hconv) const;
    // The data the client received through its advise loops on the item (any format), oldest
    // first; the item is compared without regard to case.
    std::vector<std::string> Advised(HCONV hconv, const std::string& item) const;

    // Accounting.
    std::size_t LiveInstances() const { return m_instances.size(); }
    int Uninitialized() const { return m_uninitialized; }
    int PostAdvises() const { return m_posts; }
    bool IsRegistered(const std::string& service) const;
    // String handles created by instances and not freed (also those left at DdeUninitialize).
    int OpenStringHandles() const { return m_openStringHandles; }
    // Data handles created by instances and not handed to the library.
    std::size_t LiveDataHandles() const { return m_data.size(); }

private:
    struct Instance {
        DdeCallback callback = nullptr;
        std::map<std::uintptr_t, int> handles; // string handles created, by atom
        std::vector<std::uintptr_t> services;  // registered names, each holding its atom
    };
    struct Loop {
        std::uintptr_t item;
        std::uint32_t format;
    };
    struct Conversation {
        std::uint32_t server = 0;
        std::uintptr_t topic = 0;
        std::uintptr_t service = 0;
        bool connected = true;
        bool clientGone = false;
        bool postFailed = false;
        std::vector<Loop> loops;
        std::map<std::string, std::vector<std::string>> advised; // by lower-case item
    };

    bool Failing(DdeOp op) const;
    HDDEDATA Send(std::uint32_t instance, std::uint32_t type, std::uint32_t format, HCONV hconv,
                  std::uintptr_t hsz1, std::uintptr_t hsz2, HDDEDATA data, std::uintptr_t data1,
                  std::uintptr_t data2);
    std::optional<std::string> TakeData(HDDEDATA data);
    Conversation* Connected(HCONV hconv);
    void End(Conversation& conversation);

    DdeAtomTable m_atoms;
    std::map<std::uint32_t, Instance> m_instances;
    std::map<HCONV, Conversation> m_conversations;
    std::map<HDDEDATA, std::string> m_data;
    std::vector<DdeOp> m_failing;
    std::uint32_t m_nextInstance = 1;
    std::uintptr_t m_nextConversation = 0x10000;
    std::uintptr_t m_nextData = 0x20000;
    int m_openStringHandles = 0;
    int m_uninitialized = 0;
    int m_posts = 0;
};
