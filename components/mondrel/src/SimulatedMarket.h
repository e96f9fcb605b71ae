// The embedded simulated market as an instance's market.
#pragma once

#include "Market.h"
#include "MarketInfo.h"
#include "SimulatedQuote.h"

#include <map>
#include <memory>

namespace mondrel {

class SimulatedMarket final : public Market, private ZoneDirectory {
public:
    explicit SimulatedMarket(std::uint64_t seed) : m_seed(seed), m_info(*this) {}

    std::string Find(std::string_view symbol) const override;
    bool QuotesOnly(const std::string& symbol) const override;
    FieldMap QuoteImage(const std::string& symbol, std::int64_t nowMs) override;
    std::vector<BarData> BarHistory(const std::string& symbol, const BarHistoryQuery& historyQuery,
                                    std::int64_t nowMs) override;
    std::vector<TickData> TickHistory(const std::string& symbol, const RequestSettings& settings,
                                      std::int64_t nowMs) override;
    void Advance(std::int64_t nowMs, const std::set<std::string>& watched,
                 MarketSink& sink) override;
    IMarketInfo& Info(std::int64_t nowMs) override;

private:
    int ZoneOf(const char* symbol) const override;
    const TimeZoneRule* Rule(int zone) const override { return FindZone(zone); }
    bool Holidays(const char* symbol, std::vector<CivilDate>& dates) const override;

    struct Watch {
        std::int64_t nextSecond = 0; // first second not yet reported
        std::unique_ptr<SimulatedQuote> quote;
    };

    Watch& WatchOf(const std::string& symbol, std::int64_t nowSecond);

    std::uint64_t m_seed;
    std::map<std::string, Watch> m_watches;
    MarketInfo m_info;
};

} // namespace mondrel
