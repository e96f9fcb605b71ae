#include "ScenarioMarket.h"

#include "ScenarioSyntax.h"

#include <algorithm>
#include <fstream>

namespace mondrel {
namespace {

template <typename Item, typename Keep>
std::vector<Item> Newest(const std::vector<Item>& items, std::int32_t count, Keep keep) {
    std::vector<Item> result;
    std::copy_if(items.begin(), items.end(), std::back_inserter(result), keep);
    const auto limit = static_cast<std::size_t>(std::max(count, 0));
    if (result.size() > limit)
        result.erase(result.begin(), result.end() - static_cast<std::ptrdiff_t>(limit));
    return result;
}

bool BeforeEnd(std::int64_t time, MondrelTime endTime) {
    return endTime <= 0 || time <= endTime;
}

const int kFeedOrder[] = {mfbDataManager, mfbDomesticTick, mfbInternationalTick, mfbHistory};

} // namespace

const ScenarioSymbol* ScenarioMarket::Known(const char* symbol) const {
    const auto it = m_scenario.symbols.find(Upper(symbol));
    return it == m_scenario.symbols.end() ? nullptr : &it->second;
}

int ScenarioMarket::ZoneOf(const char* symbol) const {
    const ScenarioSymbol* known = Known(symbol);
    return known ? known->zone : zoneUnknown;
}

const TimeZoneRule* ScenarioMarket::Rule(int zone) const {
    const auto it = m_scenario.zones.find(zone);
    return it != m_scenario.zones.end() ? &it->second.rule : FindZone(zone);
}

bool ScenarioMarket::Holidays(const char* symbol, std::vector<CivilDate>& dates) const {
    const ScenarioSymbol* known = Known(symbol);
    if (!known)
        return false;
    dates = ListHolidays(known->calendar, MarketInfo::kFirstYear, MarketInfo::kLastYear);
    dates.insert(dates.end(), known->holidays.begin(), known->holidays.end());
    auto key = [](const CivilDate& d) { return DaysFromCivil(d.year, d.month, d.day); };
    std::sort(dates.begin(), dates.end(),
              [&](const CivilDate& a, const CivilDate& b) { return key(a) < key(b); });
    dates.erase(
        std::unique(dates.begin(), dates.end(),
                    [&](const CivilDate& a, const CivilDate& b) { return key(a) == key(b); }),
        dates.end());
    return true;
}

ScenarioMarket::ScenarioMarket(Scenario scenario, std::int64_t startMs)
    : m_scenario(std::move(scenario)), m_startMs(startMs), m_info(*this) {
    m_controlsFeeds =
        std::any_of(m_scenario.actions.begin(), m_scenario.actions.end(),
                    [](const ScenarioAction& action) { return action.kind == ActionKind::Feed; });
}

std::string ScenarioMarket::Find(std::string_view symbol) const {
    const ScenarioSymbol* known = Known(std::string(symbol).c_str());
    return known ? known->name : "";
}

bool ScenarioMarket::QuotesOnly(const std::string& symbol) const {
    const ScenarioSymbol* known = Known(symbol.c_str());
    return known && known->quotesOnly;
}

FieldMap ScenarioMarket::QuoteImage(const std::string& symbol, std::int64_t) {
    const ScenarioSymbol* known = m_scenario.Find(symbol);
    return known ? known->quote : FieldMap{};
}

std::vector<BarData> ScenarioMarket::BarHistory(const std::string& symbol,
                                                const BarHistoryQuery& historyQuery, std::int64_t) {
    const ScenarioSymbol* known = m_scenario.Find(symbol);
    if (!known)
        return {};
    const auto it = known->bars.find(historyQuery.interval);
    if (it == known->bars.end())
        return {};
    return Newest(it->second, historyQuery.settings.count, [&](const BarData& bar) {
        return BeforeEnd(bar.time, historyQuery.settings.endTime) &&
               InWindow(bar.time, historyQuery.interval, historyQuery.window);
    });
}

std::vector<TickData> ScenarioMarket::TickHistory(const std::string& symbol,
                                                  const RequestSettings& settings, std::int64_t) {
    const ScenarioSymbol* known = m_scenario.Find(symbol);
    if (!known)
        return {};
    return Newest(known->ticks, settings.count, [&](const TickData& tick) {
        return (tick.isTrade || settings.includeQuotes) && BeforeEnd(tick.time, settings.endTime);
    });
}

void ScenarioMarket::Advance(std::int64_t nowMs, const std::set<std::string>&, MarketSink& sink) {
    const std::int64_t elapsed = nowMs - m_startMs;
    while (m_next < m_scenario.actions.size() && m_scenario.actions[m_next].at <= elapsed)
        Play(m_scenario.actions[m_next++], sink);
}

FieldMap ScenarioMarket::ReplayFields(ScenarioSymbol& symbol, const MarketEvent& e) {
    FieldMap changed;
    const std::int64_t time = e.time;
    if (e.isTrade) {
        auto price = [&](int id) {
            const auto it = symbol.quote.find(id);
            return it != symbol.quote.end() && std::holds_alternative<double>(it->second)
                       ? std::get<double>(it->second)
                       : 0.0;
        };
        const auto volume = symbol.quote.find(qfVolume);
        const std::int64_t before =
            volume != symbol.quote.end() && std::holds_alternative<std::int64_t>(volume->second)
                ? std::get<std::int64_t>(volume->second)
                : 0;
        changed[qfTrade] = e.price;
        changed[qfLast] = e.price;
        changed[qfTradeSize] = e.size;
        changed[qfTradeExchange] = std::string(e.venue);
        changed[qfTradeTime] = time;
        changed[qfVolume] = std::min(before + e.size, kMaxCount);
        if (price(qfOpen) == 0.0)
            changed[qfOpen] = e.price;
        if (price(qfHigh) == 0.0 || e.price > price(qfHigh))
            changed[qfHigh] = e.price;
        if (price(qfLow) == 0.0 || e.price < price(qfLow))
            changed[qfLow] = e.price;
    } else {
        changed[qfBid] = e.bid;
        changed[qfAsk] = e.ask;
        changed[qfBidSize] = e.bidSize;
        changed[qfAskSize] = e.askSize;
        changed[qfBidExchange] = std::string(e.bidVenue);
        changed[qfAskExchange] = std::string(e.askVenue);
        changed[qfQuoteTime] = time;
    }
    for (const auto& [id, value] : changed)
        symbol.quote[id] = value;
    return changed;
}

void ScenarioMarket::Play(ScenarioAction& action, MarketSink& sink) {
    ScenarioSymbol* symbol = m_scenario.Find(action.symbol);
    switch (action.kind) {
    case ActionKind::Feed:
        for (int feed : kFeedOrder) {
            if (action.feeds & feed)
                sink.FeedChanged(feed, action.step, action.code);
        }
        return;
    case ActionKind::Message:
        sink.ServerMessage(action.text);
        return;
    case ActionKind::Quote:
        for (const auto& [id, value] : action.fields)
            symbol->quote[id] = value;
        sink.QuoteChanged(symbol->name, action.fields);
        return;
    case ActionKind::Bar: {
        std::vector<BarData>& bars = symbol->bars[action.interval];
        const auto position = std::find_if(
            bars.begin(), bars.end(), [&](const BarData& b) { return b.time >= action.bar.time; });
        if (position != bars.end() && position->time == action.bar.time)
            *position = action.bar;
        else
            bars.insert(position, action.bar);
        sink.BarChanged(symbol->name, action.interval, action.bar);
        return;
    }
    case ActionKind::PriceEvent:
    case ActionKind::Replay: {
        MarketEvent event = action.event;
        event.venue = action.tradeVenue.c_str();
        event.bidVenue = action.bidVenue.c_str();
        event.askVenue = action.askVenue.c_str();
        symbol->ticks.push_back(TickData::From(event));
        if (action.kind == ActionKind::Replay)
            sink.QuoteChanged(symbol->name, ReplayFields(*symbol, event));
        sink.PriceEvent(symbol->name, event);
        return;
    }
    }
}

// The trigger is looked for on every pump until it appears: before, the pumps come from the
// library's timer only. Benchmark mode then lasts as long as the scenario.
bool ScenarioMarket::Benchmarking() {
    if (m_scenario.benchmark && !m_benchmarking)
        m_benchmarking = m_scenario.benchmarkTrigger.empty() ||
                         std::ifstream(m_scenario.benchmarkTrigger, std::ios::binary).good();
    return m_benchmarking;
}

IMarketInfo& ScenarioMarket::Info(std::int64_t nowMs) {
    m_info.now = static_cast<MondrelTime>(nowMs / 1000);
    return m_info;
}

std::unique_ptr<Market> OpenScenario(const std::string& path, std::int64_t startMs,
                                     std::vector<std::string>& problems) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problems.push_back(path + ": cannot open the scenario file");
        return nullptr;
    }
    const auto slash = path.find_last_of("/\\");
    const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash);
    Scenario scenario = ParseScenario(in, path, directory);
    problems.insert(problems.end(), scenario.problems.begin(), scenario.problems.end());
    return std::make_unique<ScenarioMarket>(std::move(scenario), startMs);
}

} // namespace mondrel
