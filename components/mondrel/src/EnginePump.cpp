// Delivery of connection steps, quotes, back-fills and live market events.
#include "Engine.h"

#include "mondrel/MondrelExtensions.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace mondrel {
namespace {

template <typename T> bool Contains(const std::vector<T*>& list, T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool IsActive(RequestState state) {
    return state == RequestState::Waiting || state == RequestState::Live;
}

} // namespace

void Engine::Pump() {
    // A callback that runs a message loop must not deliver further callbacks inside this one.
    if (m_pumping)
        return;
    m_pumping = true;
    const std::int64_t nowMs = m_clock();
    RunSteps(nowMs);
    m_market->Advance(nowMs, WatchedSymbols(), *this);
    DeliverQuoteImages(nowMs);
    DeliverBackfills(nowMs);
    const auto benchmark = m_intOptions.find(moBenchmark);
    const bool benchmarkMode =
        (benchmark != m_intOptions.end() && benchmark->second != 0) || m_market->Benchmarking();
    if (benchmarkMode)
        ChangeEveryQuote();
    m_pumping = false;
    m_retiredMarket.reset();
    if (benchmarkMode)
        Wake();
}

void Engine::ChangeEveryQuote() {
    std::vector<std::string> symbols;
    for (const auto& [name, quote] : m_quotes) {
        if (quote->loaded && !quote->listeners.empty())
            symbols.push_back(name);
    }
    for (const std::string& symbol : symbols) {
        const auto it = m_quotes.find(symbol);
        if (it == m_quotes.end())
            continue;
        const auto last = it->second->fields.find(qfLast);
        const double price =
            last != it->second->fields.end() && std::holds_alternative<double>(last->second)
                ? std::get<double>(last->second)
                : 100.0;
        // Whole cents, kept within one dollar so that the text keeps its length.
        const double cents = std::fmod(std::round(price * 100.0) + 1.0, 100.0);
        const FieldMap fields{{qfLast, 100.0 + cents / 100.0},
                              {qfTitle, std::to_string(BenchmarkStamp())}};
        QuoteChanged(symbol, fields);
    }
}

std::int64_t Engine::BenchmarkStamp() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Engine::RunSteps(std::int64_t nowMs) {
    // Steps may queue further steps or clear the queue from inside a callback: take one at a time.
    for (;;) {
        auto next = std::min_element(m_steps.begin(), m_steps.end(),
                                     [](const Step& a, const Step& b) { return a.due < b.due; });
        if (next == m_steps.end() || next->due > nowMs)
            return;
        const Step step = *next;
        m_steps.erase(next);
        if (step.feedId == 0)
            ServerMessage(step.message);
        else
            FeedChanged(step.feedId, step.kind, step.code);
    }
}

void Engine::FeedChanged(int feedId, FeedStep step, int code) {
    FeedSlot* slot = FindFeed(feedId);
    if (!slot)
        return;
    const FeedState state = step == FeedStep::Connect ? FeedState::Connected
                            : step == FeedStep::Retry ? FeedState::Retrying
                                                      : FeedState::Disconnected;
    // A quote feed that comes back delivers every quote whole again.
    if (feedId == mfbDataManager && state == FeedState::Connected) {
        for (auto& [name, quote] : m_quotes)
            quote->loaded = false;
    }
    slot->state = state;
    const std::vector<IConnectionEvents*> listeners = m_connectionListeners;
    for (IConnectionEvents* listener : listeners) {
        if (!Contains(m_connectionListeners, listener))
            continue;
        if (step == FeedStep::Retry)
            listener->OnRetry(&slot->feed, code);
        else if (step == FeedStep::Connect)
            listener->OnConnected(&slot->feed, code);
        else
            listener->OnDisconnected(&slot->feed, code);
    }
}

void Engine::ServerMessage(const std::string& text) {
    const std::vector<IConnectionEvents*> listeners = m_connectionListeners;
    for (IConnectionEvents* listener : listeners) {
        if (Contains(m_connectionListeners, listener))
            listener->OnServerMessage(text.c_str());
    }
}

std::set<std::string> Engine::WatchedSymbols() const {
    std::set<std::string> symbols;
    for (const auto& [name, quote] : m_quotes) {
        if (!quote->listeners.empty())
            symbols.insert(name);
    }
    for (const auto& set : m_barSets) {
        if (IsActive(set->state))
            symbols.insert(set->symbol);
    }
    for (const auto& set : m_tickSets) {
        if (IsActive(set->state))
            symbols.insert(set->symbol);
    }
    return symbols;
}

void Engine::QuoteChanged(const std::string& symbol, const FieldMap& fields) {
    const auto it = m_quotes.find(symbol);
    if (it == m_quotes.end())
        return;
    Quote* quote = it->second.get();
    for (const auto& [id, value] : fields)
        quote->fields[id] = value;
    if (!quote->loaded || !IsConnected(mfbDataManager))
        return;
    const std::vector<IQuoteEvents*> listeners = quote->listeners;
    for (IQuoteEvents* listener : listeners) {
        if (Contains(quote->listeners, listener))
            listener->OnQuoteUpdate(quote);
    }
}

void Engine::DeliverQuoteImages(std::int64_t nowMs) {
    if (!IsConnected(mfbDataManager))
        return;
    std::vector<Quote*> pending;
    for (auto& [name, quote] : m_quotes) {
        if (!quote->loaded && !quote->listeners.empty())
            pending.push_back(quote.get());
    }
    for (Quote* quote : pending) {
        quote->fields = m_market->QuoteImage(quote->symbol, nowMs);
        quote->loaded = true;
        const std::vector<IQuoteEvents*> listeners = quote->listeners;
        for (IQuoteEvents* listener : listeners) {
            if (Contains(quote->listeners, listener))
                listener->OnQuoteUpdate(quote);
        }
    }
}

void Engine::PriceEvent(const std::string& symbol, const MarketEvent& event) {
    if (IsConnected(mfbHistory)) {
        const PriceSource source =
            m_market->QuotesOnly(symbol) ? PriceSource::Bids : PriceSource::Trades;
        std::vector<BarSet*> sets;
        for (auto& set : m_barSets) {
            if (set->state == RequestState::Live && set->symbol == symbol)
                sets.push_back(set.get());
        }
        for (BarSet* set : sets) {
            double price;
            std::int64_t size;
            const PriceSource setSource = set->settings.includeQuotes ? PriceSource::Bids : source;
            if (set->state != RequestState::Live || !EventPrice(event, setSource, price, size))
                continue;
            if (BarItem* item = set->AddPrice(event.time, price, size))
                set->events->OnBarUpdate(set, item);
        }
    }
    TickArrived(symbol, TickData::From(event));
}

void Engine::BarChanged(const std::string& symbol, int interval, const BarData& bar) {
    if (!IsConnected(mfbHistory))
        return;
    std::vector<BarSet*> sets;
    for (auto& set : m_barSets) {
        if (set->state == RequestState::Live && set->symbol == symbol && set->interval == interval)
            sets.push_back(set.get());
    }
    for (BarSet* set : sets) {
        if (set->state == RequestState::Live && InWindow(bar.time, interval, set->window))
            set->events->OnBarUpdate(set, set->PutBar(bar));
    }
}

void Engine::TickArrived(const std::string& symbol, const TickData& tick) {
    if (!IsConnected(TickFeedOf(symbol)))
        return;
    std::vector<TickSet*> sets;
    for (auto& set : m_tickSets) {
        if (set->state == RequestState::Live && set->symbol == symbol)
            sets.push_back(set.get());
    }
    for (TickSet* set : sets) {
        if (set->state == RequestState::Live && (tick.isTrade || set->settings.includeQuotes))
            set->events->OnTicUpdate(set, set->Append(tick));
    }
}

void Engine::DeliverBackfills(std::int64_t nowMs) {
    std::vector<BarSet*> bars;
    if (IsConnected(mfbHistory)) {
        for (auto& set : m_barSets) {
            if (set->state == RequestState::Waiting)
                bars.push_back(set.get());
        }
    }
    for (BarSet* set : bars)
        Backfill(*set, nowMs);
    std::vector<TickSet*> ticks;
    for (auto& set : m_tickSets) {
        if (set->state == RequestState::Waiting && IsConnected(TickFeedOf(set->symbol)))
            ticks.push_back(set.get());
    }
    for (TickSet* set : ticks)
        Backfill(*set, nowMs);
}

void Engine::Backfill(BarSet& set, std::int64_t nowMs) {
    if (set.state != RequestState::Waiting)
        return;
    const BarHistoryQuery historyQuery{set.interval, set.settings, set.window};
    for (const BarData& bar : m_market->BarHistory(set.symbol, historyQuery, nowMs))
        set.items.push_back(std::make_unique<BarItem>(bar));
    set.state = set.settings.liveUpdates ? RequestState::Live : RequestState::Done;
    set.events->OnBarBackFillStart(&set);
    if (set.state != RequestState::Stopped && set.items.empty())
        set.events->OnBarBackFillEmpty(&set);
    if (set.state != RequestState::Stopped)
        set.events->OnBarBackFillComplete(&set);
}

void Engine::Backfill(TickSet& set, std::int64_t nowMs) {
    if (set.state != RequestState::Waiting)
        return;
    for (TickData& tick : m_market->TickHistory(set.symbol, set.settings, nowMs))
        set.Append(std::move(tick));
    set.state = set.settings.liveUpdates ? RequestState::Live : RequestState::Done;
    set.events->OnTicBackFillStart(&set);
    if (set.state != RequestState::Stopped)
        set.events->OnTicBackFillComplete(&set);
}

} // namespace mondrel
