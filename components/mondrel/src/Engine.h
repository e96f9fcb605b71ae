// The library object without its platform: options, feed connections, subscriptions and the
// delivery of every callback from Pump, which the platform runs on the creating thread.
#pragma once

#include "Market.h"
#include "Objects.h"
#include "mondrel/Mondrel.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mondrel {

enum class FeedState { Disconnected, Retrying, Connected };

class Engine : public Mondrel, private MarketSink {
public:
    // clock: milliseconds since 1970-01-01 UTC.
    explicit Engine(std::function<std::int64_t()> clock);
    virtual ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    int SetIntOption(int id, int value) override;
    int SetTextOption(int id, const char* value) override;
    int GetIntOption(int id, int* value) override;
    int ConnectFeeds(const char* userName, const char* password, int autoReconnect,
                     int reserved) override;
    void DisconnectFeeds() override;
    IMarketInfo* GetMarketInfo() override;
    void ReleaseMarketInfo() override;
    void AddConnectionListener(IConnectionEvents* listener) override;
    void RemoveConnectionListener(IConnectionEvents* listener) override;
    IQuote* SubscribeQuote(const char* symbol, IQuoteEvents* events, int flags) override;
    void UnsubscribeQuote(IQuote* quote, IQuoteEvents* events) override;
    IBarSet* RequestBars(const char* symbol, int interval, IBarEvents* events,
                         IRequestOptions* options) override;
    void StopBars(IBarSet* barSet, IBarEvents* events) override;
    IRequestOptions* NewBarOptions() override;
    ITickSet* RequestTicks(const char* symbol, ITickEvents* events,
                           IRequestOptions* options) override;
    void StopTicks(ITickSet* tickSet, ITickEvents* events) override;
    IRequestOptions* NewTickOptions() override;

    // Delivers everything that is due by the clock. Calls from inside a callback return at once.
    void Pump();

    FeedState StateOf(int feedId) const;

protected:
    // Asks the platform to run Pump soon (new work was queued).
    virtual void Wake() {}
    // The time written into quotes in benchmark mode, on a clock other processes can read.
    virtual std::int64_t BenchmarkStamp() const;

private:
    struct FeedSlot {
        Feed feed;
        FeedState state = FeedState::Disconnected;
    };
    // A connection step of one feed, or a server message (feedId 0).
    struct Step {
        std::int64_t due; // milliseconds
        int feedId;
        FeedStep kind;
        int code;
        std::string message;
    };

    // MarketSink
    void QuoteChanged(const std::string& symbol, const FieldMap& fields) override;
    void PriceEvent(const std::string& symbol, const MarketEvent& event) override;
    void BarChanged(const std::string& symbol, int interval, const BarData& bar) override;
    void TickArrived(const std::string& symbol, const TickData& tick) override;
    void FeedChanged(int feedId, FeedStep step, int code) override;
    void ServerMessage(const std::string& text) override;

    FeedSlot* FindFeed(int feedId);
    void SelectMarket(std::int64_t nowMs);
    void ReplaceMarket(std::unique_ptr<Market> market);
    void ScheduleDefaultSteps(std::int64_t nowMs, bool credentials);
    void RunSteps(std::int64_t nowMs);
    std::set<std::string> WatchedSymbols() const;
    void DeliverQuoteImages(std::int64_t nowMs);
    void DeliverBackfills(std::int64_t nowMs);
    void ChangeEveryQuote();
    void Backfill(BarSet& set, std::int64_t nowMs);
    void Backfill(TickSet& set, std::int64_t nowMs);
    bool IsConnected(int feedId) const { return StateOf(feedId) == FeedState::Connected; }
    int TickFeedOf(const std::string& symbol);
    std::uint64_t Seed() const;

    std::function<std::int64_t()> m_clock;
    std::map<int, int> m_intOptions;
    std::map<int, std::string> m_textOptions;
    std::array<FeedSlot, 4> m_feeds;
    std::vector<Step> m_steps;
    std::vector<IConnectionEvents*> m_connectionListeners;
    std::unique_ptr<Market> m_market;
    // A market replaced while it was reporting (from inside a callback) ends after the pump.
    std::unique_ptr<Market> m_retiredMarket;
    std::string m_scenarioAddress; // the address that selected the current scenario, if any
    std::map<std::string, std::unique_ptr<Quote>> m_quotes;
    // Sets live until the instance ends, so that late calls with a stopped set stay harmless.
    std::vector<std::unique_ptr<BarSet>> m_barSets;
    std::vector<std::unique_ptr<TickSet>> m_tickSets;
    bool m_pumping = false;
};

} // namespace mondrel
