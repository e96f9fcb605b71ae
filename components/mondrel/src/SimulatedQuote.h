// The running quote of one symbol of the simulated market: loaded from the day's events so far,
// then moved by each live event.
#pragma once

#include "PriceModel.h"
#include "QuoteFields.h"

#include <cstdint>

namespace mondrel {

class SimulatedQuote {
public:
    SimulatedQuote(const SymbolInfo& symbol, std::uint64_t seed);

    // Replays the latest trading day up to now.
    void Load(std::int64_t now);
    void Apply(const MarketEvent& event);
    void WriteFields(FieldMap& fields) const;

private:
    void StartDay(std::int64_t day);

    const SymbolInfo& m_symbol;
    std::uint64_t m_seed;
    std::int64_t m_day = 0;
    double m_open = 0.0, m_high = 0.0, m_low = 0.0;
    double m_trades[4] = {}; // newest first
    std::int64_t m_tradeSize = 0;
    const char* m_tradeVenue = "";
    std::int64_t m_tradeTime = 0;
    std::int64_t m_volume = 0;
    double m_turnover = 0.0;
    double m_bid = 0.0, m_ask = 0.0;
    std::int64_t m_bidSize = 0, m_askSize = 0;
    const char* m_bidVenue = "";
    const char* m_askVenue = "";
    std::int64_t m_quoteTime = 0;
    double m_yesterday = 0.0;
    double m_yearHigh = 0.0, m_yearLow = 0.0;
    std::int64_t m_averageVolume65 = 0;
};

} // namespace mondrel
