// Conversations whose client ended without ending them.
#include "DdeServer.h"
#include "HandleValue.h"
#include "Kolvane.h"
#include "MessageQueue.h"

bool DdeServer::IsConnected(HCONV hconv) const {
    DdeConvInfo info;
    return m_dde.Api().DdeQueryConvInfo(hconv, QID_SYNC, &info) != 0 &&
           (info.wStatus & ST_CONNECTED) != 0;
}

void DdeServer::MarkGone(HCONV hconv) {
    if (!m_gone.insert(hconv).second) {
        return;
    }
    m_closing.push_back(hconv);
    if (m_closing.size() == 1) {
        // The server may have been stopped or destroyed by the time the task runs.
        m_queue.Post([] {
            if (s_singleton) {
                s_singleton->CloseGoneConversations();
            }
        });
    }
}

bool DdeServer::MarkGoneConversations() {
    std::set<HCONV, HandleLess> conversations;
    const auto collect = [&](const auto& topics) {
        for (const auto& [key, topic] : topics) {
            conversations.insert(topic.ddeKey.hconv);
        }
    };
    collect(m_snapshots);
    collect(m_bars);
    collect(m_ticks);
    bool found = false;
    for (const HCONV hconv : conversations) {
        if (m_gone.count(hconv) == 0 && !IsConnected(hconv)) {
            MarkGone(hconv);
            found = true;
        }
    }
    return found;
}

void DdeServer::CloseReusedConversation(HCONV hconv) {
    // Once the library has ended a conversation marked gone its handle may come back for a new
    // one before the queued closing has run; the new conversation must not inherit the old items.
    if (m_gone.erase(hconv) != 0) {
        CloseConversation(hconv);
    }
}

void DdeServer::CloseGoneConversations() {
    std::vector<HCONV> closing;
    closing.swap(m_closing);
    for (const HCONV hconv : closing) {
        // Ended by the library in the meantime (XTYP_DISCONNECT).
        if (m_gone.count(hconv) == 0) {
            continue;
        }
        KOLVANE_LOG(this,
                    "Conversation 0x%.8x no longer reaches its client; its items are closed\n",
                    HandleValue(hconv));
        // Once the library has ended the conversation its handle may come back for a new one.
        if (DisconnectConversation(hconv)) {
            m_gone.erase(hconv);
        }
    }
}
