// Deterministic market events of the simulated market: every value is a function of the seed,
// the symbol and the second, so history, ticks and live updates always agree.
#pragma once

#include "Universe.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace mondrel {

struct MarketEvent {
    std::int64_t time;
    bool isTrade;
    double price; // trades
    std::int64_t size;
    const char* venue;
    double bid; // quotes
    double ask;
    std::int64_t bidSize;
    std::int64_t askSize;
    const char* bidVenue;
    const char* askVenue;
};

// The unrounded price path: a sum of smooth random components from seconds to years.
double FairPrice(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t time);

enum class EventKinds { All, Trades, Quotes };

// The events in [from, to) that fall into the exchange's trading hours, in time order.
void CollectEvents(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t from, std::int64_t to,
                   std::vector<MarketEvent>& out, EventKinds kinds = EventKinds::All);

// The volume traded in [from, to): trade sizes, or the number of quotes with bids set.
std::int64_t CountVolume(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t from,
                         std::int64_t to, bool bids);

// The newest trade (or quote) before end, looking back at most maxDays UTC days.
std::optional<MarketEvent> LastEventBefore(const SymbolInfo& symbol, std::uint64_t seed,
                                           std::int64_t end, bool trade, int maxDays = 14);

} // namespace mondrel
