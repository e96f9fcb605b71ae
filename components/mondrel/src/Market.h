// The source of a library instance's market: the simulated market, or a scenario file.
#pragma once

#include "BarGrid.h"
#include "History.h"
#include "Objects.h"
#include "QuoteFields.h"
#include "mondrel/Mondrel.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace mondrel {

enum class FeedStep { Retry, Connect, Disconnect };

// What a market reports as time goes by; the engine passes it on to the subscriptions.
class MarketSink {
public:
    virtual void QuoteChanged(const std::string& symbol, const FieldMap& fields) = 0;
    // A trade or quote that moves bars and adds a tick.
    virtual void PriceEvent(const std::string& symbol, const MarketEvent& event) = 0;
    // A whole bar, for the bar sets of its interval.
    virtual void BarChanged(const std::string& symbol, int interval, const BarData& bar) = 0;
    virtual void TickArrived(const std::string& symbol, const TickData& tick) = 0;
    virtual void FeedChanged(int feedId, FeedStep step, int code) = 0;
    virtual void ServerMessage(const std::string& text) = 0;

protected:
    ~MarketSink() = default;
};

struct BarHistoryQuery {
    int interval = 1;
    RequestSettings settings;
    SessionWindow window;
};

class Market {
public:
    virtual ~Market() = default;

    // The listed spelling of a symbol (letter case ignored), or "" when it is not listed.
    virtual std::string Find(std::string_view symbol) const = 0;
    // Whether bars of the symbol are built from bids (no trades).
    virtual bool QuotesOnly(const std::string& symbol) const = 0;
    // The whole quote of a symbol now.
    virtual FieldMap QuoteImage(const std::string& symbol, std::int64_t nowMs) = 0;
    virtual std::vector<BarData> BarHistory(const std::string& symbol,
                                            const BarHistoryQuery& historyQuery,
                                            std::int64_t nowMs) = 0;
    virtual std::vector<TickData>
    TickHistory(const std::string& symbol, const RequestSettings& settings, std::int64_t nowMs) = 0;
    // Reports what happened up to now; the simulated market only for the watched symbols.
    virtual void Advance(std::int64_t nowMs, const std::set<std::string>& watched,
                         MarketSink& sink) = 0;
    virtual IMarketInfo& Info(std::int64_t nowMs) = 0;
    // Whether the market reports the feeds' connection steps itself (through Advance) instead
    // of the default: retrying, then connected after the connection delay.
    virtual bool ControlsFeeds() const { return false; }
    // Whether the market asks for benchmark mode now (as the integer option does).
    virtual bool Benchmarking() { return false; }
};

} // namespace mondrel
