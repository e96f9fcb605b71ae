#include "RtdHub.h"

#include "DataSupplier.h"
#include "Kolvane.h"
#include "RtdCellValues.h"

namespace {

// Keeps the supplier's handle of a started subscription, and the subscription under it.
template <typename Key, typename ByKey>
bool Keep(Key started, Key& handle, ByKey& byKey, const std::string& subscription) {
    handle = started;
    if (!started) {
        return false;
    }
    byKey[started] = subscription;
    return true;
}

} // namespace

RtdHub::RtdHub(DataSupplier* supplier, std::function<void()> changed)
    : m_supplier(supplier), m_changed(std::move(changed)) {}

RtdHub::~RtdHub() {
    DisconnectAll();
}

RtdValue RtdHub::Connect(std::int32_t topicId, const std::vector<std::string>& strings) {
    // A client that reuses a topic id gives up the old cell.
    Disconnect(topicId);
    Cell& cell = m_cells[topicId];
    auto topic = ReadRtdTopic(strings, m_supplier->GetDataManager(), this);
    if (!topic) {
        cell.refused = true;
        return cell.value;
    }
    auto [it, added] = m_subscriptions.try_emplace(topic->subscription);
    Subscription& subscription = it->second;
    if (added) {
        subscription.topic = *topic;
        // Without the library (a reconnection under way) the subscription waits for the next
        // StartSubscriptions; a refusal of the supplier is final, as for a DDE item.
        if (!Subscribe(subscription) && m_supplier->GetDataManager()) {
            m_subscriptions.erase(it);
            cell.refused = true;
            return cell.value;
        }
    }
    subscription.cells.insert(topicId);
    cell.topic = std::move(*topic);
    cell.value = ValueOf(cell, subscription);
    return cell.value;
}

void RtdHub::Disconnect(std::int32_t topicId) {
    const auto cell = m_cells.find(topicId);
    if (cell == m_cells.end()) {
        return;
    }
    const auto subscription = m_subscriptions.find(cell->second.topic.subscription);
    if (!cell->second.refused && subscription != m_subscriptions.end()) {
        subscription->second.cells.erase(topicId);
        if (subscription->second.cells.empty()) {
            Unsubscribe(subscription->second);
            m_subscriptions.erase(subscription);
        }
    }
    m_dirty.erase(topicId);
    m_cells.erase(cell);
}

std::vector<std::pair<std::int32_t, RtdValue>> RtdHub::Refresh() {
    std::vector<std::pair<std::int32_t, RtdValue>> changed;
    changed.reserve(m_dirty.size());
    for (const std::int32_t topicId : m_dirty) {
        changed.emplace_back(topicId, m_cells.at(topicId).value);
    }
    m_dirty.clear();
    return changed;
}

void RtdHub::DisconnectAll() {
    for (auto& [key, subscription] : m_subscriptions) {
        Unsubscribe(subscription);
    }
    m_subscriptions.clear();
    m_cells.clear();
    m_dirty.clear();
}

void RtdHub::StopSubscriptions() {
    for (auto& [key, subscription] : m_subscriptions) {
        Unsubscribe(subscription);
    }
}

void RtdHub::StartSubscriptions() {
    for (auto& [key, subscription] : m_subscriptions) {
        if (!Subscribe(subscription)) {
            subscription.hasData = false;
        }
        Update(subscription);
    }
}

bool RtdHub::Subscribe(Subscription& subscription) {
    if (!m_supplier->GetDataManager()) {
        return false;
    }
    const RtdCellTopic& topic = subscription.topic;
    switch (topic.kind) {
    case RtdTopicKind::Snapshot:
        return Keep(m_supplier->StartSnapshotRequest(topic.snapshot.symbol), subscription.quoteKey,
                    m_byQuote, topic.subscription);
    case RtdTopicKind::Bars:
        return Keep(m_supplier->StartBarsRequest(topic.bars.request), subscription.barSet, m_byBars,
                    topic.subscription);
    case RtdTopicKind::Ticks:
        return Keep(m_supplier->StartTickRequest(topic.ticks.request), subscription.tickSet,
                    m_byTicks, topic.subscription);
    }
    return false;
}

void RtdHub::Unsubscribe(Subscription& subscription) {
    if (subscription.quoteKey) {
        m_byQuote.erase(subscription.quoteKey);
        m_supplier->StopRequest(subscription.quoteKey);
        subscription.quoteKey = {};
    }
    if (subscription.barSet) {
        m_byBars.erase(subscription.barSet);
        m_supplier->StopRequest(subscription.barSet);
        subscription.barSet = nullptr;
    }
    if (subscription.tickSet) {
        m_byTicks.erase(subscription.tickSet);
        m_supplier->StopRequest(subscription.tickSet);
        subscription.tickSet = nullptr;
    }
}

RtdValue RtdHub::ValueOf(const Cell& cell, const Subscription& subscription) const {
    if (cell.refused || !subscription.hasData) {
        return {};
    }
    const RtdCellTopic& topic = cell.topic;
    Mondrel* manager = m_supplier->GetDataManager();
    switch (topic.kind) {
    case RtdTopicKind::Snapshot:
        return SnapshotCellValue(manager, topic.snapshot.symbol, topic.qualifier,
                                 subscription.snapshot);
    case RtdTopicKind::Bars:
        return BarCellValue(manager, topic.bars.request.symbol, subscription.bars, topic.row,
                            topic.field);
    case RtdTopicKind::Ticks:
        return TickCellValue(manager, topic.ticks.request.symbol, subscription.ticks, topic.row,
                             topic.field);
    }
    return {};
}

void RtdHub::Update(Subscription& subscription) {
    for (const std::int32_t topicId : subscription.cells) {
        Cell& cell = m_cells.at(topicId);
        SetValue(topicId, cell, ValueOf(cell, subscription));
    }
}

void RtdHub::SetValue(std::int32_t topicId, Cell& cell, RtdValue value) {
    if (value == cell.value) {
        return;
    }
    cell.value = std::move(value);
    const bool first = m_dirty.empty();
    m_dirty.insert(topicId);
    if (first && m_changed) {
        m_changed();
    }
}

template <typename Index, typename Handle, typename Record>
void RtdHub::Deliver(const Index& index, const Handle& handle, Record Subscription::*kept,
                     const Record& record) {
    const auto name = index.find(handle);
    if (name == index.end()) {
        return;
    }
    Subscription& subscription = m_subscriptions.at(name->second);
    subscription.*kept = record;
    subscription.hasData = true;
    Update(subscription);
}

void RtdHub::OnProcessingSnapData(const QuoteKey& key, const SnapshotInfo& info) {
    Deliver(m_byQuote, key, &Subscription::snapshot, info);
}

void RtdHub::OnProcessingBarData(IBarSet* const& barSet, const BarInfo& info) {
    Deliver(m_byBars, barSet, &Subscription::bars, info);
}

void RtdHub::OnProcessingTickData(ITickSet* const& tickSet, const TickInfo& info) {
    Deliver(m_byTicks, tickSet, &Subscription::ticks, info);
}
