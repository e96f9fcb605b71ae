#include "DataSupplier.h"
#include "DdeServer.h"
#include "ItemNumbers.h"
#include "Kolvane.h"
#include "LineListBuilder.h"
#include "TextCase.h"

#include <map>

namespace {

std::string Trimmed(const std::string& text, std::size_t begin, std::size_t end) {
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::uintptr_t ConversationValue(HCONV hconv) {
    return reinterpret_cast<std::uintptr_t>(hconv);
}

} // namespace

bool DdeServer::DoRequest(HCONV hconv, const std::string& topic, const std::string& request) {
    KOLVANE_ASSERT(hconv);
    if (topic.empty()) {
        KOLVANE_LOG(this, "Error: Empty topic name\n");
        return false;
    }
    if (request.empty()) {
        KOLVANE_LOG(this, "Error: Not specified request parameters\n");
        return false;
    }
    // In any letter case, as DDE compares names.
    if (CompareTextNoCase(topic, ZANVO_TOPIC_BAR) == 0) {
        return CreateBarTopic(hconv, request);
    }
    if (CompareTextNoCase(topic, ZANVO_TOPIC_TICK) == 0) {
        return CreateTickTopic(hconv, request);
    }
    if (CompareTextNoCase(topic, ZANVO_TOPIC_SNAPSHOT) == 0) {
        return CreateSnapshotTopic(hconv, request);
    }
    return false;
}

bool DdeServer::SplitDdeRequest(const std::string& item, std::vector<std::string>& params) {
    KOLVANE_ASSERT_TEXT(!item.empty(), "!request.IsEmpty()");
    params.clear();
    std::size_t at = 0;
    while (true) {
        at = item.find_first_not_of(',', at);
        if (at == std::string::npos) {
            break;
        }
        std::size_t end = item.find(',', at);
        if (end == std::string::npos) {
            end = item.size();
        }
        const std::string token = Trimmed(item, at, end);
        if (token.empty()) {
            KOLVANE_LOG(nullptr, "Error: '%s' request contain empty parameter\n", item.c_str());
            return false;
        }
        params.push_back(ToUpperText(token));
        at = end;
    }
    return true;
}

void DdeServer::AddBuilder(const DdeKey& key, std::unique_ptr<TextBuilder> builder) {
    // An existing builder stays, with its text.
    m_builders.try_emplace(key, std::move(builder));
}

template <typename Topics>
void DdeServer::OpenListItem(Topics& topics, const typename Topics::key_type& key,
                             typename Topics::mapped_type topic, std::string header) {
    const DdeKey ddeKey = topic.ddeKey;
    const ListFormat& format = topic.format;
    AddBuilder(ddeKey,
               std::make_unique<LineListBuilder>(format.reverse, std::move(header), format.count));
    topics.insert_or_assign(key, std::move(topic));
}

template void DdeServer::OpenListItem(BarTopics&, IBarSet* const&, BarTopic, std::string);
template void DdeServer::OpenListItem(TickTopics&, ITickSet* const&, TickTopic, std::string);

template <typename Topics> void DdeServer::RemoveTopics(HCONV hconv, Topics& topics) {
    KOLVANE_ASSERT(hconv);
    for (auto it = topics.begin(); it != topics.end();) {
        const auto& key = it->first;
        KOLVANE_ASSERT(key);
        if (it->second.ddeKey.hconv != hconv) {
            ++it;
            continue;
        }
        const DdeKey ddeKey = it->second.ddeKey;
        m_supplier->StopRequest(key);
        it = topics.erase(it);
        m_builders.erase(ddeKey);
        m_adviseNames.erase(ddeKey);
        m_servedTexts.erase(ddeKey);
        m_withData.erase(ddeKey);
    }
}

void DdeServer::CloseConversation(HCONV hconv) {
    KOLVANE_ASSERT(hconv);
    RemoveTopics(hconv, m_snapshots);
    RemoveTopics(hconv, m_bars);
    RemoveTopics(hconv, m_ticks);
}

bool DdeServer::DisconnectConversation(HCONV hconv) {
    KOLVANE_ASSERT(hconv);
    CloseConversation(hconv);
    if (!m_dde.Api().DdeDisconnect(hconv)) {
        KOLVANE_LOG(this, "DDE Conversation Disconnect failed");
        return false;
    }
    return true;
}

void DdeServer::CloseAllConversations(bool disconnect) {
    std::map<std::uintptr_t, HCONV> conversations;
    const auto collect = [&](const auto& topics) {
        for (const auto& [key, topic] : topics) {
            conversations.emplace(ConversationValue(topic.ddeKey.hconv), topic.ddeKey.hconv);
        }
    };
    collect(m_snapshots);
    collect(m_bars);
    collect(m_ticks);
    for (const auto& [value, hconv] : conversations) {
        if (disconnect) {
            DisconnectConversation(hconv);
        } else {
            CloseConversation(hconv);
        }
    }
}
