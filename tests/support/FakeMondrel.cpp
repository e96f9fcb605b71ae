#include "FakeMondrel.h"

#include <algorithm>

namespace fake {
namespace {

FakeMondrel* s_current = nullptr;

std::string Text(const char* text) {
    return text ? std::string(text) : std::string("(null)");
}

// The settings of a request: the options of our own NewOptions.
mondrel::RequestSettings SettingsOf(IRequestOptions* options) {
    return options ? static_cast<mondrel::RequestOptions*>(options)->settings
                   : mondrel::RequestSettings{};
}

} // namespace

Script& GetScript() {
    static Script script;
    return script;
}

void ResetScript() {
    s_current = nullptr;
    GetScript() = Script{};
}

FakeMondrel* FakeMondrel::Current() {
    return s_current;
}

int FakeMondrel::SetIntOption(int id, int value) {
    calls.push_back("SetIntOption(" + std::to_string(id) + "," + std::to_string(value) + ")");
    intOptions[id] = value;
    return 1;
}

int FakeMondrel::SetTextOption(int id, const char* value) {
    calls.push_back("SetTextOption(" + std::to_string(id) + "," + Text(value) + ")");
    return 1;
}

int FakeMondrel::GetIntOption(int id, int* value) {
    calls.push_back("GetIntOption(" + std::to_string(id) + ")");
    const auto it = intOptions.find(id);
    *value = it == intOptions.end() ? 0 : it->second;
    return it == intOptions.end() ? 0 : 1;
}

int FakeMondrel::ConnectFeeds(const char* userName, const char* password, int autoReconnect,
                              int reserved) {
    calls.push_back("ConnectFeeds(" + Text(userName) + "," + Text(password) + "," +
                    std::to_string(autoReconnect) + "," + std::to_string(reserved) + ")");
    return 1;
}

void FakeMondrel::DisconnectFeeds() {
    calls.push_back("DisconnectFeeds");
}

IMarketInfo* FakeMondrel::GetMarketInfo() {
    calls.push_back("GetMarketInfo");
    return marketInfoAvailable ? &marketInfo : nullptr;
}

void FakeMondrel::ReleaseMarketInfo() {
    calls.push_back("ReleaseMarketInfo");
    ++marketInfoReleases;
}

void FakeMondrel::AddConnectionListener(IConnectionEvents* listener) {
    calls.push_back("AddConnectionListener");
    connectionListeners.push_back(listener);
}

void FakeMondrel::RemoveConnectionListener(IConnectionEvents* listener) {
    calls.push_back("RemoveConnectionListener");
    std::erase(connectionListeners, listener);
}

IQuote* FakeMondrel::SubscribeQuote(const char* symbol, IQuoteEvents* events, int flags) {
    calls.push_back("SubscribeQuote(" + Text(symbol) + "," + std::to_string(flags) + ")");
    if (refusedSymbols.count(Text(symbol)) != 0) {
        return nullptr;
    }
    auto& quote = m_quotes[Text(symbol)];
    if (!quote) {
        quote = std::make_unique<FakeQuote>(Text(symbol));
    }
    quote->subscribers.push_back(events);
    return quote.get();
}

void FakeMondrel::UnsubscribeQuote(IQuote* quote, IQuoteEvents* events) {
    auto* fakeQuote = static_cast<FakeQuote*>(quote);
    calls.push_back("UnsubscribeQuote(" + fakeQuote->symbol + ")");
    // One unsubscription ends every subscription of the listener.
    std::erase(fakeQuote->subscribers, events);
}

IBarSet* FakeMondrel::RequestBars(const char* symbol, int interval, IBarEvents* events,
                                  IRequestOptions* options) {
    calls.push_back("RequestBars(" + Text(symbol) + "," + std::to_string(interval) + ")");
    if (refusedSymbols.count(Text(symbol)) != 0) {
        return nullptr;
    }
    auto& set = *barSets.emplace_back(std::make_unique<mondrel::BarSet>());
    set.symbol = Text(symbol);
    set.interval = interval;
    set.settings = SettingsOf(options);
    set.events = events;
    return &set;
}

void FakeMondrel::StopBars(IBarSet* barSet, IBarEvents*) {
    auto* set = static_cast<mondrel::BarSet*>(barSet);
    calls.push_back("StopBars(" + set->symbol + ")");
    set->state = mondrel::RequestState::Stopped;
}

IRequestOptions* FakeMondrel::NewBarOptions() {
    calls.push_back("NewBarOptions");
    return NewOptions();
}

ITickSet* FakeMondrel::RequestTicks(const char* symbol, ITickEvents* events,
                                    IRequestOptions* options) {
    calls.push_back("RequestTicks(" + Text(symbol) + ")");
    if (refusedSymbols.count(Text(symbol)) != 0) {
        return nullptr;
    }
    auto& set = *tickSets.emplace_back(std::make_unique<mondrel::TickSet>());
    set.symbol = Text(symbol);
    set.settings = SettingsOf(options);
    set.events = events;
    return &set;
}

void FakeMondrel::StopTicks(ITickSet* tickSet, ITickEvents*) {
    auto* set = static_cast<mondrel::TickSet*>(tickSet);
    calls.push_back("StopTicks(" + set->symbol + ")");
    set->state = mondrel::RequestState::Stopped;
}

IRequestOptions* FakeMondrel::NewTickOptions() {
    calls.push_back("NewTickOptions");
    return NewOptions();
}

void FakeMondrel::FireRetry(int feedBit, int code) {
    FireFeed(feedBit, &IConnectionEvents::OnRetry, code);
}

void FakeMondrel::FireConnected(int feedBit, int code) {
    FireFeed(feedBit, &IConnectionEvents::OnConnected, code);
}

void FakeMondrel::FireDisconnected(int feedBit, int code) {
    FireFeed(feedBit, &IConnectionEvents::OnDisconnected, code);
}

void FakeMondrel::FireFeed(int feedBit, void (IConnectionEvents::*event)(IFeed*, int), int code) {
    auto& feed = m_feeds[feedBit];
    if (!feed) {
        feed = std::make_unique<mondrel::Feed>(feedBit);
    }
    // A copy: a listener may remove itself while it is called.
    for (IConnectionEvents* listener : std::vector(connectionListeners)) {
        (listener->*event)(feed.get(), code);
    }
}

void FakeMondrel::ConnectAllFeeds() {
    for (const int bit : {mfbDataManager, mfbDomesticTick, mfbInternationalTick, mfbHistory}) {
        FireConnected(bit);
    }
}

void FakeMondrel::FireQuoteUpdate(const std::string& symbol, const mondrel::FieldMap& fields) {
    FakeQuote* quote = Quote(symbol);
    if (!quote) {
        return;
    }
    quote->image.fields = fields;
    std::vector<IQuoteEvents*> listeners;
    for (IQuoteEvents* events : quote->subscribers) {
        if (std::find(listeners.begin(), listeners.end(), events) == listeners.end()) {
            listeners.push_back(events);
        }
    }
    for (IQuoteEvents* events : listeners) {
        events->OnQuoteUpdate(quote);
    }
}

FakeQuote* FakeMondrel::Quote(const std::string& symbol) {
    const auto it = m_quotes.find(symbol);
    return it == m_quotes.end() ? nullptr : it->second.get();
}

IRequestOptions* FakeMondrel::NewOptions() {
    return failNewOptions ? nullptr : new mondrel::RequestOptions;
}

} // namespace fake

// The library's static entries.

unsigned short Mondrel::Init(const char* applicationName, unsigned short applicationId,
                             const char* reserved, unsigned long version, unsigned long flags) {
    fake::GetScript().calls.push_back(
        "Init(" + std::string(applicationName ? applicationName : "(null)") + "," +
        std::to_string(applicationId) + "," + std::string(reserved ? reserved : "(null)") + "," +
        std::to_string(version) + "," + std::to_string(flags) + ")");
    return 0;
}

Mondrel* Mondrel::CreateInstance() {
    fake::GetScript().calls.push_back("CreateInstance");
    if (fake::GetScript().failCreateInstance) {
        return nullptr;
    }
    auto& instances = fake::GetScript().instances;
    instances.push_back(std::make_unique<fake::FakeMondrel>());
    fake::s_current = instances.back().get();
    return fake::s_current;
}

void Mondrel::DestroyInstance(Mondrel* instance) {
    fake::GetScript().calls.push_back("DestroyInstance");
    auto* fakeInstance = static_cast<fake::FakeMondrel*>(instance);
    if (fakeInstance == fake::s_current) {
        fake::s_current = nullptr;
    }
    fakeInstance->destroyed = true;
}

void Mondrel::Shutdown() {
    fake::GetScript().calls.push_back("Shutdown");
}

IWideValues* MondrelWideValues(Mondrel* instance) {
    static fake::FakeWideValues values;
    return instance && fake::GetScript().wideValues ? &values : nullptr;
}
