// The cells of one real-time data client: each topic id's cell, the subscriptions the cells
// share (one per symbol or request), the latest record of each, and the cells changed since the
// client last asked. A change marks its cell; however often a cell changes between two refreshes,
// the refresh gives it once, with its newest value. Runs on the supplier's thread.
#pragma once

#include "DataRecords.h"
#include "DdeTopics.h"
#include "IDataListener.h"
#include "RtdTopic.h"
#include "RtdValue.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class DataSupplier;

class RtdHub final : public IDataListener {
public:
    // changed runs when a cell changes and none had since the last Refresh.
    RtdHub(DataSupplier* supplier, std::function<void()> changed);
    ~RtdHub();
    RtdHub(const RtdHub&) = delete;
    RtdHub& operator=(const RtdHub&) = delete;

    // The cell's value now: not available for a refused topic (logged) and until data arrive.
    RtdValue Connect(std::int32_t topicId, const std::vector<std::string>& strings);
    void Disconnect(std::int32_t topicId);
    // The cells changed since the last call, each once with its newest value.
    std::vector<std::pair<std::int32_t, RtdValue>> Refresh();
    // Every cell and subscription ends.
    void DisconnectAll();

    // Around a reconnection or a settings change: the subscriptions stop while the supplier
    // reconnects, then start again; every cell is worked out anew (the display zone may differ).
    void StopSubscriptions();
    void StartSubscriptions();

    std::size_t CellCount() const { return m_cells.size(); }

    // IDataListener
    void OnProcessingBarData(IBarSet* const& barSet, const BarInfo& info) override;
    void OnProcessingTickData(ITickSet* const& tickSet, const TickInfo& info) override;
    void OnProcessingSnapData(const QuoteKey& key, const SnapshotInfo& info) override;

private:
    struct Subscription {
        RtdCellTopic topic; // the first cell's: the request and symbol
        QuoteKey quoteKey;
        IBarSet* barSet = nullptr;
        ITickSet* tickSet = nullptr;
        bool hasData = false;
        SnapshotInfo snapshot;
        BarInfo bars;
        TickInfo ticks;
        std::set<std::int32_t> cells;
    };
    struct Cell {
        RtdCellTopic topic;
        bool refused = false;
        RtdValue value;
    };
    using Subscriptions = std::map<std::string, Subscription>;

    bool Subscribe(Subscription& subscription);
    void Unsubscribe(Subscription& subscription);
    RtdValue ValueOf(const Cell& cell, const Subscription& subscription) const;
    // Keeps the record of the subscription the handle belongs to, if any, and updates its cells.
    template <typename Index, typename Handle, typename Record>
    void Deliver(const Index& index, const Handle& handle, Record Subscription::*kept,
                 const Record& record);
    // Works out the subscription's cells again; marks those whose value changed.
    void Update(Subscription& subscription);
    void SetValue(std::int32_t topicId, Cell& cell, RtdValue value);

    DataSupplier* m_supplier;
    std::function<void()> m_changed;
    std::map<std::int32_t, Cell> m_cells;
    Subscriptions m_subscriptions;
    std::map<QuoteKey, std::string, QuoteKeyLess> m_byQuote;
    std::map<IBarSet*, std::string, HandleLess> m_byBars;
    std::map<ITickSet*, std::string, HandleLess> m_byTicks;
    std::set<std::int32_t> m_dirty;
};
