// A scripted data-manager library for native unit tests. Linking zanvo_fake_mondrel instead of
// Mondrel.dll supplies the library's static entries (Init, CreateInstance, DestroyInstance,
// Shutdown); CreateInstance makes a FakeMondrel, which records every call made to it, hands out the
// library's own objects (components/mondrel/src/Objects.h) and lets the test fire the library's
// notifications (FakeMarketData.h for sets). Everything is synchronous: a notification reaches the
// listener before the Fire... call returns. Call fake::ResetScript() before each test.
#pragma once

#include "FakeMarketData.h"
#include "FakeMarketInfo.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fake {

class FakeMondrel final : public Mondrel {
public:
    // The instance that CreateInstance made last and DestroyInstance has not yet destroyed.
    static FakeMondrel* Current();

    // Set by DestroyInstance; the object itself lives on until ResetScript, so that a test can
    // still read what was done to it.
    bool destroyed = false;

    int SetIntOption(int id, int value) override;
    int SetTextOption(int id, const char* value) override;
    int GetIntOption(int id, int* value) override {
        *value = intOptions.contains(id) ? intOptions[id] : 0;
        return intOptions.contains(id) ? 1 : 0;
    }
    int ConnectFeeds(const char* userName, const char* password, int autoReconnect,
                     int reserved) override;
    void DisconnectFeeds() override { calls.push_back("DisconnectFeeds"); }
    IMarketInfo* GetMarketInfo() override { return marketInfoAvailable ? &marketInfo : nullptr; }
    void ReleaseMarketInfo() override { ++marketInfoReleases; }
    void AddConnectionListener(IConnectionEvents* listener) override;
    void RemoveConnectionListener(IConnectionEvents* listener) override;
    IQuote* SubscribeQuote(const char* symbol, IQuoteEvents* events, int flags) override;
    void UnsubscribeQuote(IQuote* quote, IQuoteEvents* events) override;
    IBarSet* RequestBars(const char* symbol, int interval, IBarEvents* events,
                         IRequestOptions* options) override;
    void StopBars(IBarSet* set, IBarEvents*) override { Stop<mondrel::BarSet>(set, "StopBars"); }
    IRequestOptions* NewBarOptions() override { return NewOptions("NewBarOptions"); }
    ITickSet* RequestTicks(const char* symbol, ITickEvents* events,
                           IRequestOptions* options) override;
    void StopTicks(ITickSet* set, ITickEvents*) override {
        Stop<mondrel::TickSet>(set, "StopTicks");
    }
    IRequestOptions* NewTickOptions() override { return NewOptions("NewTickOptions"); }

    // A feed notification, such as &IConnectionEvents::OnConnected, to every connection listener
    // with the feed of that bit.
    void FireFeed(void (IConnectionEvents::*event)(IFeed*, int), int feedBit, int code = 0);
    void ConnectAllFeeds();

    // Gives the symbol's quote exactly these fields and fires OnQuoteUpdate at each of its
    // listeners; nothing for a symbol never subscribed.
    void FireQuoteUpdate(const std::string& symbol, const mondrel::FieldMap& fields);

    // Every call made to the instance but its getters, in order, such as "SetIntOption(1,23)",
    // "ConnectFeeds(user,secret,1,0)", "SubscribeQuote(IBM,1)", "RequestBars(IBM,5)".
    std::vector<std::string> calls;
    // Integer options as last set; GetIntOption answers from here (0 for an unset id).
    std::map<int, int> intOptions;
    std::vector<IConnectionEvents*> connectionListeners;
    // The quote of every symbol subscribed; quotes outlive their subscriptions, so that a test can
    // fire at one that was unsubscribed.
    std::map<std::string, mondrel::Quote> quotes;

    // Subscriptions and requests for these symbols are refused with nullptr.
    std::set<std::string> refusedSymbols;
    bool failNewOptions = false;
    bool marketInfoAvailable = true;
    int marketInfoReleases = 0;
    FakeMarketInfo marketInfo;

    // Every tick set and bar set handed out, in order, with the settings of its request; stopped
    // ones included, so that stale notifications can be fired and past requests read.
    std::vector<std::unique_ptr<mondrel::TickSet>> tickSets;
    std::vector<std::unique_ptr<mondrel::BarSet>> barSets;

private:
    IRequestOptions* NewOptions(const char* call);
    // The set keeps its items, so that a test can fire stale notifications.
    template <typename Set, typename Interface> void Stop(Interface* set, const char* call) {
        calls.push_back(std::string(call) + "(" + static_cast<Set*>(set)->symbol + ")");
        static_cast<Set*>(set)->state = mondrel::RequestState::Stopped;
    }

    std::map<int, mondrel::Feed> m_feeds;
};

// What the static entries did and will do; one per process, cleared by ResetScript.
struct Script {
    // Every static entry call in order: "Init(Zanvo,999,,20050315,64)", "CreateInstance",
    // "DestroyInstance", "Shutdown".
    std::vector<std::string> calls;
    bool failCreateInstance = false;
    // MondrelWideValues answers nullptr while cleared: a library with 32-bit getters only.
    bool wideValues = true;
    // Every instance made, destroyed ones included.
    std::vector<std::unique_ptr<FakeMondrel>> instances;
};

Script& GetScript();

// Frees every instance and clears the script; call it before each test.
void ResetScript();

} // namespace fake
