#include "DataListeners.h"

#include <algorithm>

void DataListeners::Add(IDataListener* listener) {
    m_listeners.push_back(listener);
}

void DataListeners::Remove(IDataListener* listener) {
    std::erase(m_listeners, listener);
}

template <typename Call> void DataListeners::ForEach(const Call& call) {
    const std::vector<IDataListener*> listeners = m_listeners;
    for (IDataListener* listener : listeners) {
        if (std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end()) {
            call(*listener);
        }
    }
}

void DataListeners::OnProcessingBarData(IBarSet* const& barSet, const BarInfo& info) {
    ForEach([&](IDataListener& l) { l.OnProcessingBarData(barSet, info); });
}

void DataListeners::OnProcessingTickData(ITickSet* const& tickSet, const TickInfo& info) {
    ForEach([&](IDataListener& l) { l.OnProcessingTickData(tickSet, info); });
}

void DataListeners::OnProcessingSnapData(const QuoteKey& key, const SnapshotInfo& info) {
    ForEach([&](IDataListener& l) { l.OnProcessingSnapData(key, info); });
}
