#include "Engine.h"

#include "ScenarioMarket.h"
#include "SimulatedMarket.h"
#include "TimeZones.h"
#include "mondrel/MondrelExtensions.h"

#include <algorithm>
#include <cctype>

namespace mondrel {
namespace {

constexpr int kDefaultConnectDelay = 400; // ms
constexpr int kFeedStagger = 150;         // ms between the outcomes of consecutive feeds

// The option that holds each feed's server address.
int AddressOption(int feedId) {
    switch (feedId) {
    case mfbDataManager:
        return moQuoteAddress;
    case mfbDomesticTick:
        return moDomTickAddress;
    case mfbInternationalTick:
        return moIntlTickAddress;
    default:
        return moHistoryAddress;
    }
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The simulated market answers on an empty address, "sim", "localhost" or "127.0.0.1", each
// optionally with ":port".
bool IsSimulatorAddress(const std::string& address) {
    std::string host = Lower(Trim(address));
    const auto colon = host.find(':');
    if (colon != std::string::npos) {
        const std::string port = host.substr(colon + 1);
        if (port.empty() ||
            !std::all_of(port.begin(), port.end(), [](unsigned char c) { return std::isdigit(c); }))
            return false;
        host.resize(colon);
    }
    return host.empty() || host == "sim" || host == "localhost" || host == "127.0.0.1";
}

// "scenario:PATH", or a path that ends in ".scn"; gives the path, or "".
std::string ScenarioPath(const std::string& address) {
    const std::string trimmed = Trim(address);
    const std::string lower = Lower(trimmed);
    if (lower.rfind("scenario:", 0) == 0)
        return trimmed.substr(9);
    if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".scn") == 0)
        return trimmed;
    return {};
}

// A stopped set stays for late calls that still name it; its items go at once.
template <typename Sets, typename Set> void StopSet(Sets& sets, const Set* stopped) {
    for (auto& set : sets) {
        if (set.get() == stopped) {
            set->state = RequestState::Stopped;
            set->items.clear();
        }
    }
}

template <typename T> void Remove(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

const int kFeedOrder[] = {mfbDataManager, mfbDomesticTick, mfbInternationalTick, mfbHistory};

} // namespace

Engine::Engine(std::function<std::int64_t()> clock)
    : m_clock(std::move(clock)), m_feeds{FeedSlot{Feed(mfbDataManager)},
                                         FeedSlot{Feed(mfbDomesticTick)},
                                         FeedSlot{Feed(mfbInternationalTick)},
                                         FeedSlot{Feed(mfbHistory)}},
      m_market(std::make_unique<SimulatedMarket>(1)) {
    m_intOptions[moFeeds] = mfbDataManager | mfbDomesticTick | mfbInternationalTick | mfbHistory;
}

Engine::~Engine() = default;

int Engine::SetIntOption(int id, int value) {
    m_intOptions[id] = value;
    return 1;
}

int Engine::SetTextOption(int id, const char* value) {
    m_textOptions[id] = value ? value : "";
    return 1;
}

int Engine::GetIntOption(int id, int* value) {
    const auto it = m_intOptions.find(id);
    if (!value || it == m_intOptions.end())
        return 0;
    *value = it->second;
    return 1;
}

Engine::FeedSlot* Engine::FindFeed(int feedId) {
    for (FeedSlot& slot : m_feeds) {
        if (slot.feed.Id() == feedId)
            return &slot;
    }
    return nullptr;
}

FeedState Engine::StateOf(int feedId) const {
    for (const FeedSlot& slot : m_feeds) {
        if (slot.feed.Id() == feedId)
            return slot.state;
    }
    return FeedState::Disconnected;
}

std::uint64_t Engine::Seed() const {
    const auto it = m_intOptions.find(moSeed);
    return it == m_intOptions.end() ? 1u : static_cast<std::uint64_t>(it->second);
}

// The first feed address that names a scenario selects it for the whole instance; otherwise the
// simulated market serves.
void Engine::SelectMarket(std::int64_t nowMs) {
    m_scenarioAddress.clear();
    for (int feedId : kFeedOrder) {
        const std::string path = ScenarioPath(m_textOptions[AddressOption(feedId)]);
        if (path.empty())
            continue;
        std::vector<std::string> problems;
        std::unique_ptr<Market> scenario = OpenScenario(path, nowMs, problems);
        // Reported first, before any feed step.
        for (std::string& problem : problems)
            m_steps.push_back({nowMs, 0, FeedStep::Retry, 0, std::move(problem)});
        if (scenario) {
            ReplaceMarket(std::move(scenario));
            m_scenarioAddress = Trim(m_textOptions[AddressOption(feedId)]);
            return;
        }
        break;
    }
    ReplaceMarket(std::make_unique<SimulatedMarket>(Seed()));
}

void Engine::ReplaceMarket(std::unique_ptr<Market> market) {
    if (m_pumping && !m_retiredMarket)
        m_retiredMarket = std::move(m_market);
    m_market = std::move(market);
}

int Engine::ConnectFeeds(const char* userName, const char* password, int, int) {
    const bool busy = std::any_of(m_feeds.begin(), m_feeds.end(), [](const FeedSlot& slot) {
        return slot.state != FeedState::Disconnected;
    });
    if (busy)
        return 0;
    const std::int64_t now = m_clock();
    SelectMarket(now);
    if (!m_market->ControlsFeeds())
        ScheduleDefaultSteps(now, userName && *userName && password && *password);
    Wake();
    return 1;
}

void Engine::ScheduleDefaultSteps(std::int64_t nowMs, bool credentials) {
    const int mask = m_intOptions[moFeeds];
    int delay = kDefaultConnectDelay;
    GetIntOption(moConnectDelay, &delay);
    int order = 0;
    for (FeedSlot& slot : m_feeds) {
        const int id = slot.feed.Id();
        if ((mask & id) == 0)
            continue;
        slot.state = FeedState::Retrying;
        m_steps.push_back({nowMs, id, FeedStep::Retry, 0, {}});
        const std::int64_t due = nowMs + std::max(delay, 0) + kFeedStagger * order++;
        const std::string address = Trim(m_textOptions[AddressOption(id)]);
        const bool served = IsSimulatorAddress(address) ||
                            (!m_scenarioAddress.empty() && address == m_scenarioAddress);
        if (!credentials)
            m_steps.push_back({due, id, FeedStep::Disconnect, -7, {}});
        else if (!served)
            m_steps.push_back({due, id, FeedStep::Disconnect, -9, {}});
        else
            m_steps.push_back({due, id, FeedStep::Connect, 0, {}});
    }
}

void Engine::DisconnectFeeds() {
    const std::int64_t now = m_clock();
    std::erase_if(m_steps, [](const Step& step) { return step.feedId != 0; });
    for (FeedSlot& slot : m_feeds) {
        if (slot.state == FeedState::Disconnected)
            continue;
        slot.state = FeedState::Disconnected;
        m_steps.push_back({now, slot.feed.Id(), FeedStep::Disconnect, 0, {}});
    }
    // The market stops with the connection: a scenario plays no further events.
    ReplaceMarket(std::make_unique<SimulatedMarket>(Seed()));
    m_scenarioAddress.clear();
    Wake();
}

IMarketInfo* Engine::GetMarketInfo() {
    return &m_market->Info(m_clock());
}

void Engine::ReleaseMarketInfo() {}

void Engine::AddConnectionListener(IConnectionEvents* listener) {
    if (listener && std::find(m_connectionListeners.begin(), m_connectionListeners.end(),
                              listener) == m_connectionListeners.end())
        m_connectionListeners.push_back(listener);
}

void Engine::RemoveConnectionListener(IConnectionEvents* listener) {
    Remove(m_connectionListeners, listener);
}

IQuote* Engine::SubscribeQuote(const char* symbol, IQuoteEvents* events, int) {
    const std::string listed = symbol && events ? m_market->Find(symbol) : "";
    if (listed.empty())
        return nullptr;
    std::unique_ptr<Quote>& quote = m_quotes[listed];
    if (!quote) {
        quote = std::make_unique<Quote>();
        quote->symbol = listed;
    }
    if (std::find(quote->listeners.begin(), quote->listeners.end(), events) ==
        quote->listeners.end())
        quote->listeners.push_back(events);
    // A new listener gets the whole image first.
    quote->loaded = false;
    Wake();
    return quote.get();
}

void Engine::UnsubscribeQuote(IQuote* quote, IQuoteEvents* events) {
    for (auto& [name, candidate] : m_quotes) {
        if (candidate.get() == quote)
            Remove(candidate->listeners, events);
    }
}

// Bar and tick requests take the same options.
IRequestOptions* Engine::NewBarOptions() {
    return new RequestOptions();
}

IRequestOptions* Engine::NewTickOptions() {
    return new RequestOptions();
}

IBarSet* Engine::RequestBars(const char* symbol, int interval, IBarEvents* events,
                             IRequestOptions* options) {
    const std::string listed = symbol && events ? m_market->Find(symbol) : "";
    const bool validInterval = IsIntraday(interval) || (interval >= biPassThrough && interval < 0);
    if (listed.empty() || !validInterval)
        return nullptr;
    auto set = NewSet<BarSet>(listed, events, options);
    set->interval = interval;
    if (set->settings.customSession)
        set->window = {set->settings.sessionStartMinute, set->settings.sessionEndMinute};
    m_barSets.push_back(std::move(set));
    Wake();
    return m_barSets.back().get();
}

void Engine::StopBars(IBarSet* barSet, IBarEvents*) {
    StopSet(m_barSets, barSet);
}

ITickSet* Engine::RequestTicks(const char* symbol, ITickEvents* events, IRequestOptions* options) {
    const std::string listed = symbol && events ? m_market->Find(symbol) : "";
    if (listed.empty())
        return nullptr;
    m_tickSets.push_back(NewSet<TickSet>(listed, events, options));
    Wake();
    return m_tickSets.back().get();
}

void Engine::StopTicks(ITickSet* tickSet, ITickEvents*) {
    StopSet(m_tickSets, tickSet);
}

// US exchanges come over the domestic tick feed, all others over the international one.
int Engine::TickFeedOf(const std::string& symbol) {
    const int zone = m_market->Info(m_clock()).GetTimeZone(symbol.c_str());
    return zone == zoneNewYork || zone == zoneChicago ? mfbDomesticTick : mfbInternationalTick;
}

} // namespace mondrel
