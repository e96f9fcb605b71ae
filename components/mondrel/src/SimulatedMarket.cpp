#include "SimulatedMarket.h"

#include <algorithm>

namespace mondrel {
namespace {

// A gap longer than this (a sleeping computer) is skipped rather than replayed.
constexpr std::int64_t kMaxCatchUp = 3600;

const SymbolInfo& Listed(const std::string& symbol) {
    return *FindSymbol(symbol);
}

// Events before this second: history ends at the request's end time, or now.
std::int64_t HistoryEnd(const RequestSettings& settings, std::int64_t nowSecond) {
    return settings.endTime > 0 && settings.endTime < nowSecond ? settings.endTime + 1 : nowSecond;
}

} // namespace

std::string SimulatedMarket::Find(std::string_view symbol) const {
    const SymbolInfo* info = FindSymbol(symbol);
    return info ? info->symbol : "";
}

bool SimulatedMarket::QuotesOnly(const std::string& symbol) const {
    return Listed(symbol).exchange->quotesOnly;
}

SimulatedMarket::Watch& SimulatedMarket::WatchOf(const std::string& symbol,
                                                 std::int64_t nowSecond) {
    Watch& watch = m_watches[symbol];
    if (!watch.quote) {
        watch.quote = std::make_unique<SimulatedQuote>(Listed(symbol), m_seed);
        watch.quote->Load(nowSecond);
        watch.nextSecond = nowSecond;
    }
    return watch;
}

FieldMap SimulatedMarket::QuoteImage(const std::string& symbol, std::int64_t nowMs) {
    FieldMap fields;
    WatchOf(symbol, nowMs / 1000).quote->WriteFields(fields);
    return fields;
}

std::vector<BarData> SimulatedMarket::BarHistory(const std::string& symbol,
                                                 const BarHistoryQuery& historyQuery,
                                                 std::int64_t nowMs) {
    BarQuery query;
    query.interval = historyQuery.interval;
    query.end = HistoryEnd(historyQuery.settings, nowMs / 1000);
    query.count = historyQuery.settings.count;
    query.window = historyQuery.window;
    query.source = SourceFor(Listed(symbol), historyQuery.settings.includeQuotes);
    return BuildBars(Listed(symbol), m_seed, query);
}

std::vector<TickData> SimulatedMarket::TickHistory(const std::string& symbol,
                                                   const RequestSettings& settings,
                                                   std::int64_t nowMs) {
    std::vector<TickData> ticks;
    for (const MarketEvent& e :
         RecentEvents(Listed(symbol), m_seed, HistoryEnd(settings, nowMs / 1000), settings.count,
                      settings.includeQuotes))
        ticks.push_back(TickData::From(e));
    return ticks;
}

void SimulatedMarket::Advance(std::int64_t nowMs, const std::set<std::string>& watched,
                              MarketSink& sink) {
    const std::int64_t nowSecond = nowMs / 1000;
    std::vector<MarketEvent> events;
    FieldMap fields;
    for (const std::string& symbol : watched) {
        Watch& watch = WatchOf(symbol, nowSecond);
        events.clear();
        CollectEvents(Listed(symbol), m_seed, std::max(watch.nextSecond, nowSecond - kMaxCatchUp),
                      nowSecond, events);
        watch.nextSecond = std::max(watch.nextSecond, nowSecond);
        for (const MarketEvent& e : events) {
            watch.quote->Apply(e);
            sink.PriceEvent(symbol, e);
        }
        if (!events.empty()) {
            watch.quote->WriteFields(fields);
            sink.QuoteChanged(symbol, fields);
        }
    }
    // Symbols no longer watched start afresh when watched again.
    std::erase_if(m_watches, [&](const auto& entry) { return !watched.count(entry.first); });
}

int SimulatedMarket::ZoneOf(const char* symbol) const {
    const SymbolInfo* info = FindSymbol(symbol);
    return info ? info->exchange->zone : zoneUnknown;
}

bool SimulatedMarket::Holidays(const char* symbol, std::vector<CivilDate>& dates) const {
    const SymbolInfo* info = FindSymbol(symbol);
    if (info)
        dates =
            ListHolidays(info->exchange->calendar, MarketInfo::kFirstYear, MarketInfo::kLastYear);
    return info != nullptr;
}

IMarketInfo& SimulatedMarket::Info(std::int64_t nowMs) {
    m_info.now = static_cast<MondrelTime>(nowMs / 1000);
    return m_info;
}

} // namespace mondrel
