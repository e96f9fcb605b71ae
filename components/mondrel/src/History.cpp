#include "History.h"

#include "CivilTime.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <tuple>

namespace mondrel {
namespace {

// Whole-day bars are costly (every second of a day) and never change: keep them for the process.
struct DayCache {
    std::mutex lock;
    std::map<std::tuple<const SymbolInfo*, std::uint64_t, std::int64_t, PriceSource>, BarData> days;
};

EventKinds KindsOf(PriceSource source) {
    return source == PriceSource::Trades ? EventKinds::Trades : EventKinds::Quotes;
}

DayCache& Cache() {
    static DayCache cache;
    return cache;
}

// The bar of the events of one UTC day before end.
BarData AggregateDay(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t day,
                     PriceSource source, const SessionWindow& window, std::int64_t end) {
    std::vector<MarketEvent> events;
    CollectEvents(symbol, seed, day * kSecondsPerDay, std::min((day + 1) * kSecondsPerDay, end),
                  events, KindsOf(source));
    BarData bar;
    bar.time = day * kSecondsPerDay;
    for (const MarketEvent& e : events) {
        double price;
        std::int64_t size;
        if (window.Contains(e.time) && EventPrice(e, source, price, size))
            bar.Add(price, size);
    }
    return bar;
}

BarData DayBar(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t day, PriceSource source,
               const SessionWindow& window, std::int64_t end) {
    const bool wholeDay = window.IsWholeDay() && end >= (day + 1) * kSecondsPerDay;
    return wholeDay ? DaySummary(symbol, seed, day, source)
                    : AggregateDay(symbol, seed, day, source, window, end);
}

// A walk back through history gives up after this many days in a row without a bar (a session
// window outside the trading hours, say).
constexpr int kMaxQuietDays = 60;

std::vector<BarData> IntradayBars(const SymbolInfo& symbol, std::uint64_t seed,
                                  const BarQuery& query) {
    std::map<std::int64_t, BarData> bars;
    std::vector<MarketEvent> events;
    int quietDays = 0;
    for (std::int64_t day = DayOf(query.end - 1);
         day * kSecondsPerDay >= kHistoryStart && quietDays < kMaxQuietDays; --day) {
        const std::size_t before = bars.size();
        events.clear();
        CollectEvents(symbol, seed, day * kSecondsPerDay,
                      std::min((day + 1) * kSecondsPerDay, query.end), events,
                      KindsOf(query.source));
        for (const MarketEvent& e : events) {
            double price;
            std::int64_t size;
            const auto start = BarStart(e.time, query.interval, query.window);
            if (start && EventPrice(e, query.source, price, size)) {
                BarData& bar = bars[*start];
                bar.time = *start;
                bar.Add(price, size);
            }
        }
        quietDays = bars.size() == before ? quietDays + 1 : 0;
        // Bars that start on this day or later are complete: events go back in time only.
        const auto complete = std::distance(bars.lower_bound(day * kSecondsPerDay), bars.end());
        if (complete >= query.count)
            break;
    }
    std::vector<BarData> result;
    for (auto& [time, bar] : bars)
        result.push_back(bar);
    if (result.size() > static_cast<std::size_t>(query.count))
        result.erase(result.begin(), result.end() - query.count);
    return result;
}

std::vector<BarData> CalendarBars(const SymbolInfo& symbol, std::uint64_t seed,
                                  const BarQuery& query) {
    std::vector<BarData> newestFirst;
    BarData current;
    int quietDays = 0;
    for (std::int64_t day = DayOf(query.end - 1);
         day * kSecondsPerDay >= kHistoryStart && quietDays < kMaxQuietDays; --day) {
        const std::int64_t periodStart =
            *BarStart(day * kSecondsPerDay, query.interval, SessionWindow{});
        if (!current.IsEmpty() && current.time != periodStart) {
            newestFirst.push_back(current);
            if (static_cast<int>(newestFirst.size()) >= query.count)
                break;
            current = BarData{};
        }
        BarData dayBar = DayBar(symbol, seed, day, query.source, query.window, query.end);
        quietDays = dayBar.IsEmpty() ? quietDays + 1 : 0;
        if (dayBar.IsEmpty())
            continue;
        // Walking backwards: the day comes before what the period holds so far.
        dayBar.time = periodStart;
        if (!current.IsEmpty())
            dayBar.Merge(current);
        current = dayBar;
    }
    if (!current.IsEmpty() && static_cast<int>(newestFirst.size()) < query.count)
        newestFirst.push_back(current);
    return {newestFirst.rbegin(), newestFirst.rend()};
}

} // namespace

void BarData::Add(double price, std::int64_t size) {
    if (IsEmpty()) {
        open = high = low = price;
    } else {
        high = std::max(high, price);
        low = std::min(low, price);
    }
    close = price;
    volume += size;
}

void BarData::Merge(const BarData& later) {
    if (later.IsEmpty())
        return;
    if (IsEmpty()) {
        const std::int64_t start = time;
        *this = later;
        time = start;
        return;
    }
    high = std::max(high, later.high);
    low = std::min(low, later.low);
    close = later.close;
    volume += later.volume;
}

bool EventPrice(const MarketEvent& event, PriceSource source, double& price, std::int64_t& size) {
    if (source == PriceSource::Trades && event.isTrade) {
        price = event.price;
        size = event.size;
        return true;
    }
    if (source == PriceSource::Bids && !event.isTrade) {
        price = event.bid;
        size = 1;
        return true;
    }
    return false;
}

PriceSource SourceFor(const SymbolInfo& symbol, bool includeQuotes) {
    return includeQuotes || symbol.exchange->quotesOnly ? PriceSource::Bids : PriceSource::Trades;
}

std::vector<BarData> BuildBars(const SymbolInfo& symbol, std::uint64_t seed,
                               const BarQuery& query) {
    if (query.count <= 0)
        return {};
    if (IsIntraday(query.interval))
        return IntradayBars(symbol, seed, query);
    if (query.interval == biDaily || query.interval == biWeekly || query.interval == biMonthly)
        return CalendarBars(symbol, seed, query);
    return {};
}

BarData DaySummary(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t day,
                   PriceSource source) {
    DayCache& cache = Cache();
    const auto key = std::make_tuple(&symbol, seed, day, source);
    {
        std::lock_guard<std::mutex> guard(cache.lock);
        const auto it = cache.days.find(key);
        if (it != cache.days.end())
            return it->second;
    }
    const BarData bar =
        AggregateDay(symbol, seed, day, source, SessionWindow{}, (day + 1) * kSecondsPerDay);
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.days[key] = bar;
    return bar;
}

std::vector<MarketEvent> RecentEvents(const SymbolInfo& symbol, std::uint64_t seed,
                                      std::int64_t end, int count, bool includeQuotes,
                                      int maxDays) {
    std::vector<MarketEvent> result;
    std::vector<MarketEvent> day;
    const std::int64_t lastDay = DayOf(end - 1);
    for (std::int64_t d = lastDay; d > lastDay - maxDays && static_cast<int>(result.size()) < count;
         --d) {
        day.clear();
        CollectEvents(symbol, seed, d * kSecondsPerDay, std::min((d + 1) * kSecondsPerDay, end),
                      day, includeQuotes ? EventKinds::All : EventKinds::Trades);
        result.insert(result.begin(), day.begin(), day.end());
    }
    if (result.size() > static_cast<std::size_t>(std::max(count, 0)))
        result.erase(result.begin(), result.end() - std::max(count, 0));
    return result;
}

} // namespace mondrel
