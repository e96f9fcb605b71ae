// Delivery of connection steps, back-fills and live market events.
#include "Engine.h"

#include "CivilTime.h"

#include <algorithm>

namespace mondrel {
namespace {

// A gap longer than this (a feed that was down, a sleeping computer) is not replayed.
constexpr std::int64_t kMaxCatchUp = 3600;

std::int64_t CatchUpStart(std::int64_t nextSecond, std::int64_t nowSecond) {
    return std::max(nextSecond, nowSecond - kMaxCatchUp);
}

template <typename T> bool Contains(const std::vector<T*>& list, T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

void Engine::Pump() {
    const std::int64_t nowMs = m_clock();
    const std::int64_t nowSecond = nowMs / 1000;
    RunSteps(nowMs);
    PumpQuotes(nowSecond);
    PumpBars(nowSecond);
    PumpTicks(nowSecond);
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
        Notify(step);
    }
}

void Engine::Notify(const Step& step) {
    FeedSlot* slot = FindFeed(step.feedId);
    if (!slot)
        return;
    switch (step.kind) {
    case StepKind::Retry:
        slot->state = FeedState::Retrying;
        break;
    case StepKind::Connect:
        slot->state = FeedState::Connected;
        break;
    case StepKind::Disconnect:
        slot->state = FeedState::Disconnected;
        break;
    }
    const std::vector<IConnectionEvents*> listeners = m_connectionListeners;
    for (IConnectionEvents* listener : listeners) {
        if (!Contains(m_connectionListeners, listener))
            continue;
        switch (step.kind) {
        case StepKind::Retry:
            listener->OnRetry(&slot->feed, step.code);
            break;
        case StepKind::Connect:
            listener->OnConnected(&slot->feed, step.code);
            break;
        case StepKind::Disconnect:
            listener->OnDisconnected(&slot->feed, step.code);
            break;
        }
    }
}

void Engine::PumpQuotes(std::int64_t nowSecond) {
    if (StateOf(mfbDataManager) != FeedState::Connected)
        return;
    std::vector<Quote*> quotes;
    for (auto& [name, quote] : m_quotes) {
        if (!quote->listeners.empty())
            quotes.push_back(quote.get());
    }
    std::vector<MarketEvent> events;
    for (Quote* quote : quotes) {
        bool changed = false;
        if (!quote->simulation) {
            quote->simulation = std::make_unique<SimulatedQuote>(*quote->info, Seed());
            quote->simulation->Load(nowSecond);
            quote->nextSecond = nowSecond;
            changed = true;
        }
        events.clear();
        CollectEvents(*quote->info, Seed(), CatchUpStart(quote->nextSecond, nowSecond), nowSecond,
                      events);
        quote->nextSecond = std::max(quote->nextSecond, nowSecond);
        for (const MarketEvent& e : events)
            quote->simulation->Apply(e);
        changed = changed || !events.empty() || !quote->loaded;
        if (!changed)
            continue;
        quote->loaded = true;
        quote->simulation->WriteFields(quote->fields);
        const std::vector<IQuoteEvents*> listeners = quote->listeners;
        for (IQuoteEvents* listener : listeners) {
            if (Contains(quote->listeners, listener))
                listener->OnQuoteUpdate(quote);
        }
    }
}

void Engine::Backfill(BarSet& set, std::int64_t nowSecond) {
    BarQuery query;
    query.interval = set.interval;
    const MondrelTime endTime = set.settings.endTime;
    query.end = endTime > 0 && endTime < nowSecond ? endTime + 1 : nowSecond;
    query.count = set.settings.count;
    query.window = set.window;
    query.source = SourceFor(*set.info, set.settings.includeQuotes);
    for (const BarData& bar : BuildBars(*set.info, Seed(), query))
        set.items.push_back(std::make_unique<BarItem>(bar));
    set.nextSecond = nowSecond;
    set.state = set.settings.liveUpdates ? RequestState::Live : RequestState::Done;
    IBarSet* handle = &set;
    set.events->OnBarBackFillStart(handle);
    if (set.state != RequestState::Stopped && set.items.empty())
        set.events->OnBarBackFillEmpty(handle);
    if (set.state != RequestState::Stopped)
        set.events->OnBarBackFillComplete(handle);
}

void Engine::PumpBars(std::int64_t nowSecond) {
    if (StateOf(mfbHistory) != FeedState::Connected)
        return;
    std::vector<BarSet*> sets;
    for (auto& set : m_barSets) {
        if (set->state == RequestState::Waiting || set->state == RequestState::Live)
            sets.push_back(set.get());
    }
    std::vector<MarketEvent> events;
    for (BarSet* set : sets) {
        if (set->state == RequestState::Waiting) {
            Backfill(*set, nowSecond);
            continue;
        }
        if (set->state != RequestState::Live)
            continue;
        events.clear();
        CollectEvents(*set->info, Seed(), CatchUpStart(set->nextSecond, nowSecond), nowSecond,
                      events);
        set->nextSecond = std::max(set->nextSecond, nowSecond);
        const PriceSource source = SourceFor(*set->info, set->settings.includeQuotes);
        for (const MarketEvent& e : events) {
            double price;
            std::int64_t size;
            if (set->state != RequestState::Live || !EventPrice(e, source, price, size))
                continue;
            if (BarItem* item = set->AddPrice(e.time, price, size))
                set->events->OnBarUpdate(set, item);
        }
    }
}

void Engine::Backfill(TickSet& set, std::int64_t nowSecond) {
    const MondrelTime endTime = set.settings.endTime;
    const std::int64_t end = endTime > 0 && endTime < nowSecond ? endTime + 1 : nowSecond;
    for (const MarketEvent& e :
         RecentEvents(*set.info, Seed(), end, set.settings.count, set.settings.includeQuotes))
        set.Append(TickData::From(e));
    set.nextSecond = nowSecond;
    set.state = set.settings.liveUpdates ? RequestState::Live : RequestState::Done;
    set.events->OnTicBackFillStart(&set);
    if (set.state != RequestState::Stopped)
        set.events->OnTicBackFillComplete(&set);
}

void Engine::PumpTicks(std::int64_t nowSecond) {
    std::vector<TickSet*> sets;
    for (auto& set : m_tickSets) {
        const bool active = set->state == RequestState::Waiting || set->state == RequestState::Live;
        if (active && StateOf(TickFeedOf(*set->info)) == FeedState::Connected)
            sets.push_back(set.get());
    }
    std::vector<MarketEvent> events;
    for (TickSet* set : sets) {
        if (set->state == RequestState::Waiting) {
            Backfill(*set, nowSecond);
            continue;
        }
        if (set->state != RequestState::Live)
            continue;
        events.clear();
        CollectEvents(*set->info, Seed(), CatchUpStart(set->nextSecond, nowSecond), nowSecond,
                      events);
        set->nextSecond = std::max(set->nextSecond, nowSecond);
        for (const MarketEvent& e : events) {
            if (set->state != RequestState::Live || (!e.isTrade && !set->settings.includeQuotes))
                continue;
            set->events->OnTicUpdate(set, set->Append(TickData::From(e)));
        }
    }
}

} // namespace mondrel
