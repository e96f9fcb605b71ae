// A scenario file as an instance's market: its times count from the connection.
#pragma once

#include "Market.h"
#include "MarketInfo.h"
#include "ScenarioFile.h"

#include <memory>
#include <string>

namespace mondrel {

class ScenarioMarket final : public Market, private ZoneDirectory {
public:
    ScenarioMarket(Scenario scenario, std::int64_t startMs);

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
    bool ControlsFeeds() const override { return m_controlsFeeds; }
    bool Benchmarking() override;

private:
    int ZoneOf(const char* symbol) const override;
    const TimeZoneRule* Rule(int zone) const override;
    bool Holidays(const char* symbol, std::vector<CivilDate>& dates) const override;
    const ScenarioSymbol* Known(const char* symbol) const;
    void Play(ScenarioAction& action, MarketSink& sink);
    FieldMap ReplayFields(ScenarioSymbol& symbol, const MarketEvent& event);

    Scenario m_scenario;
    std::int64_t m_startMs;
    std::size_t m_next = 0;
    bool m_controlsFeeds = false;
    bool m_benchmarking = false; // latched once the trigger file was seen
    MarketInfo m_info;
};

// Reads a scenario file; adds its problems ("file(line): reason") to problems. A file that
// cannot be read gives nullptr.
std::unique_ptr<Market> OpenScenario(const std::string& path, std::int64_t startMs,
                                     std::vector<std::string>& problems);

} // namespace mondrel
