// The program's only client of the data-manager library: it connects the library's feeds, follows
// their states, and keeps the subscriptions whose data it hands to its listener. Everything here
// runs on the main thread, together with the library's callbacks; nothing locks.
#pragma once

#include "ConnectionSettings.h"
#include "DataRecords.h"
#include "DataRequests.h"
#include "FeedState.h"
#include "IDataListener.h"
#include "mondrel/MondrelExtensions.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

class DataSupplier final : public IConnectionEvents,
                           public IQuoteEvents,
                           public IBarEvents,
                           public ITickEvents {
public:
    DataSupplier();
    // Disconnect must come first.
    ~DataSupplier();
    DataSupplier(const DataSupplier&) = delete;
    DataSupplier& operator=(const DataSupplier&) = delete;

    // Set once, before the first request.
    void SetDataListener(IDataListener* listener);

    // Connection and feed states.
    bool Connect(const ConnectionSettings& settings);
    void Disconnect();
    CompositeState GetCompositeState() const;
    void SetFeedState(FeedId id, FeedState state, std::int32_t code);
    // For an unknown id: a shared record with state 0 and no text.
    const FeedInfo& GetFeedInfo(FeedId id) const;
    // None while disconnected.
    Mondrel* GetDataManager() const { return m_mondrel.get(); }

    // Snapshots: one library quote per symbol, shared by all requests for it.
    QuoteKey StartSnapshotRequest(const std::string& symbol);
    void StopRequest(const QuoteKey& key);

    // Bars: one library bar set per request, laid over the grid of the request's periods.
    IBarSet* StartBarsRequest(const BarRequest& request);
    void StopRequest(IBarSet* key);

    // Ticks: one library tick set per request.
    ITickSet* StartTickRequest(const TickRequest& request);
    void StopRequest(ITickSet* key);

    // IConnectionEvents
    void OnRetry(IFeed* feed, int code) override;
    void OnConnected(IFeed* feed, int code) override;
    void OnDisconnected(IFeed* feed, int code) override;
    void OnFeedList(IFeed* feed, const char* list) override;
    void OnServerMessage(const char* text) override;
    void OnHeartbeat(MondrelTime serverTime) override;

    // IQuoteEvents
    void OnQuoteUpdate(IQuote* quote) override;
    void OnQuoteRefresh(IQuote* quote, int fieldCount) override;
    void OnQuoteError(IQuote* quote, int code) override;
    int WantsEveryUpdate() override;

    // IBarEvents
    void OnBarBackFillStart(IBarSet* barSet) override;
    void OnBarBackFillComplete(IBarSet* barSet) override;
    void OnBarBackFillEmpty(IBarSet* barSet) override;
    void OnBarReset(IBarSet* barSet) override;
    void OnBarUpdate(IBarSet* barSet, IBarItem* item) override;
    void OnBarError(IBarSet* barSet, int code) override;
    void OnBarStopped(IBarSet* barSet) override;

    // ITickEvents
    void OnTicBackFillStart(ITickSet* tickSet) override;
    void OnTicBackFillComplete(ITickSet* tickSet) override;
    void OnTicUpdate(ITickSet* tickSet, ITickItem* tick) override;
    void OnTicError(ITickSet* tickSet, int code) override;
    void OnTicCorrection(ITickSet* tickSet, ITickItem* tick, int index) override;
    void OnTicStopped(ITickSet* tickSet) override;

private:
    struct MondrelDestroyer {
        void operator()(Mondrel* mondrel) const { Mondrel::DestroyInstance(mondrel); }
    };

    // Merges one library bar into the bar of its period.
    void OnBar(IBarItem* barItem, BarInfo& info);
    // Gives each empty bar from start on the close of the nearest earlier priced bar.
    static void FillEmptyBars(BarMap& bars, BarMap::iterator start);
    // Hands a bar set's record to the listener.
    void NotifyBars(IBarSet* barSet, const BarInfo& info);

    // Appends the records of one library tick.
    void OnTick(ITickItem* tickItem, TickInfo& info);
    // Hands a tick set's record to the listener.
    void NotifyTicks(ITickSet* tickSet, const TickInfo& info);

    // The last key handed out; keys are never reused while the process lives.
    static std::uint32_t s_key1;

    std::unique_ptr<Mondrel, MondrelDestroyer> m_mondrel;
    // The library's 64-bit volumes and sizes; none from a library with 32-bit getters only.
    IWideValues* m_wide = nullptr;
    std::map<FeedId, FeedInfo> m_feeds;
    std::map<IQuote*, std::set<std::uint32_t>> m_quoteKeys;
    std::map<IQuote*, SnapshotInfo> m_snapshots;
    std::map<IBarSet*, BarInfo> m_bars;
    std::map<ITickSet*, TickInfo> m_ticks;
    IDataListener* m_listener = nullptr;
};
