// How the data supplier hands data to its one client, the DDE server. The records are read only
// during the call; the handle stays valid until the request is stopped.
#pragma once

#include "DataRecords.h"

class IDataListener {
public:
    virtual void OnProcessingBarData(IBarSet* const& barSet, const BarInfo& info) = 0;
    virtual void OnProcessingTickData(ITickSet* const& tickSet, const TickInfo& info) = 0;
    virtual void OnProcessingSnapData(const QuoteKey& key, const SnapshotInfo& info) = 0;

protected:
    ~IDataListener() = default;
};
