// Bar and tick history of the simulated market, built from its deterministic events.
#pragma once

#include "BarGrid.h"
#include "PriceModel.h"

#include <cstdint>
#include <vector>

namespace mondrel {

struct BarData {
    std::int64_t time = 0; // start of the bar, UTC
    double open = 0.0;
    double high = 0.0;
    double low = 0.0;
    double close = 0.0;
    std::int64_t volume = 0;

    // Adds one price and its volume to the bar.
    void Add(double price, std::int64_t size);
    // Adds a later bar of the same period.
    void Merge(const BarData& later);
    bool IsEmpty() const { return open == 0.0; }
};

enum class PriceSource {
    Trades,
    Bids, // quote ticks: the bid price, one unit of volume per quote
};

// The price and volume an event adds to a bar, or false when it does not count.
bool EventPrice(const MarketEvent& event, PriceSource source, double& price, std::int64_t& size);

// The source of bars of a symbol: bids for a quotes-only market.
PriceSource SourceFor(const SymbolInfo& symbol, bool includeQuotes);

struct BarQuery {
    int interval = 1;
    std::int64_t end = 0; // events before this time
    int count = 100;
    SessionWindow window;
    PriceSource source = PriceSource::Trades;
};

// History begins on the first trading day of 2000.
constexpr std::int64_t kHistoryStart = 946857600; // 2000-01-03 00:00 UTC

// The newest count bars that hold at least one event, oldest first.
std::vector<BarData> BuildBars(const SymbolInfo& symbol, std::uint64_t seed, const BarQuery& query);

// The bar of a whole UTC day that has ended (empty when nothing traded); remembered for later
// calls.
BarData DaySummary(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t day,
                   PriceSource source);

// The newest count events before end (quote events only with includeQuotes), oldest first,
// looking back at most maxDays days.
std::vector<MarketEvent> RecentEvents(const SymbolInfo& symbol, std::uint64_t seed,
                                      std::int64_t end, int count, bool includeQuotes,
                                      int maxDays = 30);

} // namespace mondrel
