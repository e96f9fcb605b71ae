// A scenario file as an instance's market: its times count from the connection.
#pragma once

#include "Market.h"
#include "ScenarioFile.h"

#include <memory>
#include <string>

namespace mondrel {

class ScenarioInfo final : public IMarketInfo {
public:
    explicit ScenarioInfo(Scenario& scenario) : m_scenario(scenario) {}
    int GetTimeZone(const char* symbol) override;
    IHolidayList* GetHolidays(const char* symbol) override;
    void ReleaseHolidays(IHolidayList* list) override;
    void GetTimeOffsets(const char* symbol, int* offset, int* second) override;
    int GetTimeZoneOffset(MondrelTime time, int zone) override;
    int IsDaylightTime(MondrelTime time, const char* symbol) override;

    MondrelTime now = 0;

private:
    const TimeZoneRule* Rule(int zone) const;
    const TimeZoneRule* RuleOf(const char* symbol);

    Scenario& m_scenario;
};

class ScenarioMarket final : public Market {
public:
    ScenarioMarket(Scenario scenario, std::int64_t startMs);

    std::string Find(std::string_view symbol) const override;
    bool QuotesOnly(const std::string& symbol) const override;
    FieldMap QuoteImage(const std::string& symbol, std::int64_t nowMs) override;
    std::vector<BarData> BarHistory(const std::string& symbol, const BarRequestSpec& spec,
                                    std::int64_t nowMs) override;
    std::vector<TickData> TickHistory(const std::string& symbol, const RequestSettings& settings,
                                      std::int64_t nowMs) override;
    void Advance(std::int64_t nowMs, const std::set<std::string>& watched,
                 MarketSink& sink) override;
    IMarketInfo& Info(std::int64_t nowMs) override;
    bool ControlsFeeds() const override { return m_controlsFeeds; }

private:
    void Play(ScenarioAction& action, MarketSink& sink);
    FieldMap ReplayFields(ScenarioSymbol& symbol, const MarketEvent& event);

    Scenario m_scenario;
    std::int64_t m_startMs;
    std::size_t m_next = 0;
    bool m_controlsFeeds = false;
    ScenarioInfo m_info;
};

// Reads a scenario file; adds its problems ("file(line): reason") to problems. A file that
// cannot be read gives nullptr.
std::unique_ptr<Market> OpenScenario(const std::string& path, std::int64_t startMs,
                                     std::vector<std::string>& problems);

} // namespace mondrel
