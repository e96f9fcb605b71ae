#include "DdeServer.h"

#include "DataSupplier.h"
#include "Kolvane.h"

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
        return DdeResult(format == CF_TEXT ? 1 : 0);
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
        // A handle of a conversation marked gone may return for a new one once the library has
        // ended the old.
        m_gone.erase(hconv);
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
    const std::string serviceName = m_dde.QueryString(service);
    const std::string topicName = m_dde.QueryString(topic);
    if (serviceName != ZANVO_SERVICE) {
        return false;
    }
    return topicName == ZANVO_TOPIC_BAR || topicName == ZANVO_TOPIC_TICK ||
           topicName == ZANVO_TOPIC_SNAPSHOT;
}

void DdeServer::OnPoke(HCONV hconv, HSZ topic, HSZ item) {
    DdeConvInfo info;
    if (CurrentDdeApi().DdeQueryConvInfo(hconv, QID_SYNC, &info) != 0 &&
        (info.wStatus & ST_ISSELF) == 0) {
        PostAdvise(topic, item);
    }
}

HDDEDATA DdeServer::ServeItem(HCONV hconv, HSZ topic, HSZ item) {
    // The library goes on asking for the loops of a conversation whose client has gone.
    if (m_gone.count(hconv) != 0) {
        return nullptr;
    }
    const DdeKey key{hconv, m_dde.QueryString(item)};
    if (!FindBuilder(key)) {
        // Without the data-manager library (a reconnection emptying the message queue, or a
        // failed one) nothing can be subscribed; the item is created once it is connected.
        if (!m_supplier->GetDataManager()) {
            KOLVANE_LOG(this,
                        "Error: Unable to serve '%s' while the data supplier is disconnected\n",
                        key.request.c_str());
            return nullptr;
        }
        if (!DoRequest(hconv, m_dde.QueryString(topic), key.request)) {
            return nullptr;
        }
    }
    TextBuilder* builder = FindBuilder(key);
    KOLVANE_ASSERT(builder);
    if (!builder) {
        return nullptr;
    }
    const std::string text = builder->GetText();
    // The terminating zero byte goes with the text.
    return CurrentDdeApi().DdeCreateDataHandle(
        m_dde.Id(), text.c_str(), static_cast<std::uint32_t>(text.size() + 1), 0, item, CF_TEXT, 0);
}
