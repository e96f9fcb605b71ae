// The supplier hands its data to one listener; this one passes each record on to every listener
// added (the DDE server, the real-time data servers). Each ignores the handles it does not hold.
#pragma once

#include "IDataListener.h"

#include <vector>

class DataListeners final : public IDataListener {
public:
    void Add(IDataListener* listener);
    void Remove(IDataListener* listener);

    void OnProcessingBarData(IBarSet* const& barSet, const BarInfo& info) override;
    void OnProcessingTickData(ITickSet* const& tickSet, const TickInfo& info) override;
    void OnProcessingSnapData(const QuoteKey& key, const SnapshotInfo& info) override;

private:
    // Called on a copy: a listener may be added or removed within a call.
    template <typename Call> void ForEach(const Call& call);

    std::vector<IDataListener*> m_listeners;
};
