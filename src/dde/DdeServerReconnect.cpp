#include "DataSupplier.h"
#include "DdeServer.h"
#include "Kolvane.h"
#include "MessageQueue.h"

namespace {

// One item to create again; the list lives only during the call.
struct SavedTopic {
    HCONV hconv;
    std::string request;
    const char* topic;
};

} // namespace

bool DdeServer::ReconnectAndResubscribe(bool reconnect) {
    // The items of clients that have gone are not made again.
    CloseGoneConversations();
    std::vector<SavedTopic> saved;
    for (const auto& [key, topic] : m_snapshots) {
        saved.push_back({topic.ddeKey.hconv, topic.ddeKey.request, ZANVO_TOPIC_SNAPSHOT});
    }
    for (const auto& [key, topic] : m_bars) {
        saved.push_back({topic.ddeKey.hconv, topic.ddeKey.request, ZANVO_TOPIC_BAR});
    }
    for (const auto& [key, topic] : m_ticks) {
        saved.push_back({topic.ddeKey.hconv, topic.ddeKey.request, ZANVO_TOPIC_TICK});
    }
    CloseAllConversations(false);
    if (reconnect) {
        // Also when every feed is down: a refused login leaves the library object to release,
        // and the supplier cannot connect again while it holds one.
        m_supplier->Disconnect();
        // Items asked for while the queue runs find the supplier disconnected and are refused
        // (see ServeItem) until it is connected again.
        m_queue.DispatchWaiting();
        // A message in the queue may have stopped the server (the user chose Exit): then the
        // supplier stays disconnected and no topic comes back.
        if (m_dde.Id() == 0) {
            KOLVANE_LOG(this, "The server was stopped during the reconnection\n");
            return false;
        }
        if (!m_supplier->Connect(m_settings())) {
            return false;
        }
    }
    for (const SavedTopic& topic : saved) {
        if (!DoRequest(topic.hconv, topic.topic, topic.request)) {
            KOLVANE_LOG(this, "Error: Unable to recreate topic '%s' which parameters '%s'n",
                        topic.topic, topic.request.c_str());
        }
    }
    return true;
}
