#include "DataFormatter.h"
#include "DataSupplier.h"
#include "DdeServer.h"
#include "DdeStringHandle.h"
#include "Kolvane.h"
#include "LineListBuilder.h"
#include "PlainTextBuilder.h"

#include <utility>

TextBuilder* DdeServer::FindBuilder(const DdeKey& key) const {
    const auto it = m_builders.find(key);
    return it == m_builders.end() ? nullptr : it->second.get();
}

template <typename Builder, typename Topics, typename Format>
void DdeServer::Deliver(const Topics& topics, const typename Topics::key_type& key,
                        const char* topicName, Format format) {
    // Data of a request that has not returned yet, or of a topic already removed.
    const auto it = topics.find(key);
    if (it == topics.end()) {
        return;
    }
    const auto& topic = it->second;
    auto* builder = static_cast<Builder*>(FindBuilder(topic.ddeKey));
    KOLVANE_ASSERT(builder);
    if (!builder) {
        return;
    }
    format(topic, builder);
    // Copied: DDEML calls the server back within the advise, and those calls may add topics.
    const DdeKey ddeKey = topic.ddeKey;
    KOLVANE_ASSERT(AdviseChanges(ddeKey.hconv, topicName, ddeKey.request));
}

void DdeServer::OnProcessingBarData(IBarSet* const& barSet, const BarInfo& info) {
    const DataFormatter formatter(m_supplier->GetDataManager());
    Deliver<LineListBuilder>(
        m_bars, barSet, ZANVO_TOPIC_BAR, [&](const BarTopic& topic, LineListBuilder* builder) {
            formatter.FormatBars(topic.request.symbol, topic.format, info, *builder);
        });
}

void DdeServer::OnProcessingTickData(ITickSet* const& tickSet, const TickInfo& info) {
    const DataFormatter formatter(m_supplier->GetDataManager());
    Deliver<LineListBuilder>(
        m_ticks, tickSet, ZANVO_TOPIC_TICK, [&](const TickTopic& topic, LineListBuilder* builder) {
            formatter.FormatTicks(topic.request.symbol, topic.format, info, *builder);
        });
}

void DdeServer::OnProcessingSnapData(const QuoteKey& key, const SnapshotInfo& info) {
    const DataFormatter formatter(m_supplier->GetDataManager());
    Deliver<PlainTextBuilder>(m_snapshots, key, ZANVO_TOPIC_SNAPSHOT,
                              [&](const SnapshotTopic& topic, PlainTextBuilder* builder) {
                                  formatter.FormatSnapshot(topic.symbol, topic.format, info,
                                                           *builder);
                              });
}

bool DdeServer::AdviseChanges(HCONV hconv, const char* topic, const std::string& item) {
    KOLVANE_ASSERT(hconv);
    KOLVANE_ASSERT_TEXT(!item.empty(), "!request.IsEmpty()");
    m_withData.insert(DdeKey{hconv, item});
    if (m_gone.count(hconv) != 0) {
        return true;
    }
    if (!IsConnected(hconv)) {
        MarkGone(hconv);
        return true;
    }
    const AdviseNames& names = KeepAdviseNames(DdeKey{hconv, item}, topic);
    const HCONV outer = std::exchange(m_advising, hconv);
    const bool posted = PostAdvise(names.topic.Get(), names.item.Get());
    m_advising = outer;
    if (!posted) {
        KOLVANE_LOG(this, "DDE Post Advise failed\n");
        return false;
    }
    return true;
}

const DdeServer::AdviseNames& DdeServer::KeepAdviseNames(const DdeKey& key, const char* topic) {
    auto names = m_adviseNames.find(key);
    if (names == m_adviseNames.end()) {
        AdviseNames made{DdeStringHandle(m_dde.Api(), m_dde.Id(), topic),
                         DdeStringHandle(m_dde.Api(), m_dde.Id(), key.request)};
        names = m_adviseNames.emplace(key, std::move(made)).first;
    }
    return names->second;
}

bool DdeServer::PostAdvise(HSZ topic, HSZ item) {
    // The library stops at the first loop on the item whose client has gone, which may belong to
    // another conversation; once that one is marked gone its loops get no data and are passed
    // over, so the loops after it are advised on the next try. Each try marks one more.
    while (!m_dde.PostAdvise(topic, item)) {
        if (!MarkGoneConversations()) {
            return false;
        }
    }
    return true;
}
