#include "FakeMondrel.h"

#include <algorithm>

namespace fake {
namespace {

std::string Text(const char* text) {
    return text ? std::string(text) : std::string("(null)");
}

} // namespace

Script& GetScript() {
    static Script script;
    return script;
}

void ResetScript() {
    GetScript() = Script{};
}

FakeMondrel* FakeMondrel::Current() {
    const auto& instances = GetScript().instances;
    return instances.empty() || instances.back()->destroyed ? nullptr : instances.back().get();
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

int FakeMondrel::ConnectFeeds(const char* userName, const char* password, int autoReconnect,
                              int reserved) {
    calls.push_back("ConnectFeeds(" + Text(userName) + "," + Text(password) + "," +
                    std::to_string(autoReconnect) + "," + std::to_string(reserved) + ")");
    return 1;
}

void FakeMondrel::AddConnectionListener(IConnectionEvents* listener) {
    calls.push_back("AddConnectionListener");
    connectionListeners.push_back(listener);
}

void FakeMondrel::RemoveConnectionListener(IConnectionEvents* listener) {
    calls.push_back("RemoveConnectionListener");
    std::erase(connectionListeners, listener);
}

// A listener is kept once however often it subscribes, and one unsubscription removes it.
IQuote* FakeMondrel::SubscribeQuote(const char* symbol, IQuoteEvents* events, int flags) {
    calls.push_back("SubscribeQuote(" + Text(symbol) + "," + std::to_string(flags) + ")");
    if (refusedSymbols.contains(Text(symbol))) {
        return nullptr;
    }
    mondrel::Quote& quote = quotes[Text(symbol)];
    quote.symbol = Text(symbol);
    std::erase(quote.listeners, events);
    quote.listeners.push_back(events);
    return &quote;
}

void FakeMondrel::UnsubscribeQuote(IQuote* quote, IQuoteEvents* events) {
    auto* libraryQuote = static_cast<mondrel::Quote*>(quote);
    calls.push_back("UnsubscribeQuote(" + libraryQuote->symbol + ")");
    std::erase(libraryQuote->listeners, events);
}

IBarSet* FakeMondrel::RequestBars(const char* symbol, int interval, IBarEvents* events,
                                  IRequestOptions* options) {
    calls.push_back("RequestBars(" + Text(symbol) + "," + std::to_string(interval) + ")");
    if (refusedSymbols.contains(Text(symbol))) {
        return nullptr;
    }
    auto& set =
        barSets.emplace_back(mondrel::NewSet<mondrel::BarSet>(Text(symbol), events, options));
    set->interval = interval;
    return set.get();
}

ITickSet* FakeMondrel::RequestTicks(const char* symbol, ITickEvents* events,
                                    IRequestOptions* options) {
    calls.push_back("RequestTicks(" + Text(symbol) + ")");
    if (refusedSymbols.contains(Text(symbol))) {
        return nullptr;
    }
    return tickSets.emplace_back(mondrel::NewSet<mondrel::TickSet>(Text(symbol), events, options))
        .get();
}

void FakeMondrel::FireFeed(void (IConnectionEvents::*event)(IFeed*, int), int feedBit, int code) {
    mondrel::Feed& feed = m_feeds.try_emplace(feedBit, feedBit).first->second;
    // A copy: a listener may remove itself while it is called.
    for (IConnectionEvents* listener : std::vector(connectionListeners)) {
        (listener->*event)(&feed, code);
    }
}

void FakeMondrel::ConnectAllFeeds() {
    for (const int bit : {mfbDataManager, mfbDomesticTick, mfbInternationalTick, mfbHistory}) {
        FireFeed(&IConnectionEvents::OnConnected, bit);
    }
}

void FakeMondrel::FireQuoteUpdate(const std::string& symbol, const mondrel::FieldMap& fields) {
    const auto quote = quotes.find(symbol);
    if (quote == quotes.end()) {
        return;
    }
    quote->second.fields = fields;
    for (IQuoteEvents* events : std::vector(quote->second.listeners)) {
        events->OnQuoteUpdate(&quote->second);
    }
}

IRequestOptions* FakeMondrel::NewOptions(const char* call) {
    calls.push_back(call);
    return failNewOptions ? nullptr : new mondrel::RequestOptions;
}

} // namespace fake

// The library's static entries.

unsigned short Mondrel::Init(const char* applicationName, unsigned short applicationId,
                             const char* reserved, unsigned long version, unsigned long flags) {
    fake::GetScript().calls.push_back(
        "Init(" + fake::Text(applicationName) + "," + std::to_string(applicationId) + "," +
        fake::Text(reserved) + "," + std::to_string(version) + "," + std::to_string(flags) + ")");
    return 0;
}

Mondrel* Mondrel::CreateInstance() {
    fake::GetScript().calls.push_back("CreateInstance");
    if (fake::GetScript().failCreateInstance) {
        return nullptr;
    }
    return fake::GetScript().instances.emplace_back(std::make_unique<fake::FakeMondrel>()).get();
}

void Mondrel::DestroyInstance(Mondrel* instance) {
    fake::GetScript().calls.push_back("DestroyInstance");
    static_cast<fake::FakeMondrel*>(instance)->destroyed = true;
}

void Mondrel::Shutdown() {
    fake::GetScript().calls.push_back("Shutdown");
}

IWideValues* MondrelWideValues(Mondrel* instance) {
    return instance && fake::GetScript().wideValues ? &mondrel::LibraryWideValues() : nullptr;
}
