#include "DdeServer.h"

#include "DataSupplier.h"
#include "Kolvane.h"
#include "MessageQueue.h"

namespace {

// The callback's answers that are numbers rather than data.
HDDEDATA DdeResult(std::uint32_t value) {
    return reinterpret_cast<HDDEDATA>(static_cast<std::uintptr_t>(value));
}

} // namespace

HDDEDATA DdeServer::__DdeCallback(std::uint32_t type, std::uint32_t format, HCONV hconv, HSZ hsz1,
                                  HSZ hsz2, HDDEDATA data, std::uintptr_t data1,
                                  std::uintptr_t data2) {
    KOLVANE_ASSERT(s_singleton);
    if (!s_singleton) {
        return nullptr;
    }
    return s_singleton->OnDdeTransaction(type, format, hconv, hsz1, hsz2, data, data1, data2);
}

// Acts on the transaction type alone; the poked data is not read.
HDDEDATA DdeServer::OnDdeTransaction(std::uint32_t type, std::uint32_t format, HCONV hconv,
                                     HSZ hsz1, HSZ hsz2, HDDEDATA, std::uintptr_t, std::uintptr_t) {
    switch (type) {
    case XTYP_CONNECT:
        return DdeResult(AcceptConnect(hsz1, hsz2) ? 1 : 0);
    case XTYP_ADVSTART:
        return DdeResult(format == CF_TEXT && StartAdvise(hconv, hsz1, hsz2) ? 1 : 0);
    case XTYP_ADVREQ:
        // DDEML asks every loop on the item's text, also those of other conversations, whose own
        // items have not changed: they get nothing rather than their unchanged text again.
        if (m_advising && hconv != m_advising) {
            return nullptr;
        }
        return format == CF_TEXT ? ServeItem(hconv, hsz1, hsz2) : nullptr;
    case XTYP_REQUEST:
        return format == CF_TEXT ? ServeItem(hconv, hsz1, hsz2) : nullptr;
    case XTYP_POKE:
        OnPoke(hconv, hsz1, hsz2);
        return DdeResult(DDE_FACK);
    case XTYP_ADVDATA:
        return DdeResult(DDE_FACK);
    case XTYP_CONNECT_CONFIRM:
        CloseReusedConversation(hconv);
        return nullptr;
    case XTYP_DISCONNECT:
        m_gone.erase(hconv);
        DisconnectConversation(hconv);
        return nullptr;
    default:
        // Wildcard connections, executes, the end of an advise loop and the notifications.
        return nullptr;
    }
}

bool DdeServer::AcceptConnect(HSZ topic, HSZ service) {
    // Names are atoms, which keep the spelling of whoever added them first: any letter case.
    return CompareTextNoCase(m_dde.QueryString(service), ZANVO_SERVICE) == 0 &&
           ZanvoTopic(m_dde.QueryString(topic)) != nullptr;
}

void DdeServer::OnPoke(HCONV hconv, HSZ topic, HSZ item) {
    DdeConvInfo info;
    if (m_dde.Api().DdeQueryConvInfo(hconv, QID_SYNC, &info) != 0 &&
        (info.wStatus & ST_ISSELF) == 0) {
        PostAdvise(topic, item);
    }
}

TextBuilder* DdeServer::OpenItem(HCONV hconv, HSZ topic, const DdeKey& key) {
    // The library goes on asking for the loops of a conversation whose client has gone.
    if (m_gone.count(hconv) != 0) {
        return nullptr;
    }
    if (TextBuilder* builder = FindBuilder(key)) {
        return builder;
    }
    // Without the data-manager library (a reconnection emptying the message queue, or a failed
    // one) nothing can be subscribed; the item is created once it is connected.
    if (!m_supplier->GetDataManager()) {
        KOLVANE_LOG(this, "Error: Unable to serve '%s' while the data supplier is disconnected\n",
                    key.request.c_str());
        return nullptr;
    }
    if (!DoRequest(hconv, m_dde.QueryString(topic), key.request)) {
        return nullptr;
    }
    TextBuilder* builder = FindBuilder(key);
    KOLVANE_ASSERT(builder);
    return builder;
}

HDDEDATA DdeServer::ServeItem(HCONV hconv, HSZ topic, HSZ item) {
    const DdeKey key{hconv, m_dde.QueryString(item)};
    TextBuilder* builder = OpenItem(hconv, topic, key);
    if (!builder) {
        return nullptr;
    }
    const std::string text = builder->GetText();
    m_servedTexts.insert_or_assign(key, std::hash<std::string>{}(text));
    // The terminating zero byte goes with the text.
    return m_dde.Api().DdeCreateDataHandle(
        m_dde.Id(), text.c_str(), static_cast<std::uint32_t>(text.size() + 1), 0, item, CF_TEXT, 0);
}

bool DdeServer::IsNewToConversation(const DdeKey& key) const {
    TextBuilder* builder = FindBuilder(key);
    if (!builder || m_withData.count(key) == 0) {
        return false;
    }
    const auto served = m_servedTexts.find(key);
    return served == m_servedTexts.end() ||
           served->second != std::hash<std::string>{}(builder->GetText());
}

bool DdeServer::StartAdvise(HCONV hconv, HSZ topic, HSZ item) {
    const DdeKey key{hconv, m_dde.QueryString(item)};
    const char* topicName = ZanvoTopic(m_dde.QueryString(topic));
    if (!topicName || !OpenItem(hconv, topic, key)) {
        return false;
    }
    KeepAdviseNames(key, topicName);
    // The library makes the loop once this callback has returned; its first text follows from the
    // message loop. The server may have been stopped or destroyed by then, the item closed.
    m_queue.Post([key, topicName] {
        if (s_singleton && s_singleton->IsNewToConversation(key)) {
            s_singleton->AdviseChanges(key.hconv, topicName, key.request);
        }
    });
    return true;
}
