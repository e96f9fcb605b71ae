// The library object without its platform: options, feed connections, subscriptions and the
// delivery of every callback from Pump, which the platform runs on the creating thread.
#pragma once

#include "MarketInfo.h"
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

class Engine : public Mondrel {
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

    // Delivers everything that is due by the clock.
    void Pump();

    FeedState StateOf(int feedId) const;

protected:
    // Asks the platform to run Pump soon (new work was queued).
    virtual void Wake() {}

private:
    struct FeedSlot {
        Feed feed;
        FeedState state = FeedState::Disconnected;
    };
    enum class StepKind { Retry, Connect, Disconnect };
    struct Step {
        std::int64_t due; // milliseconds
        int feedId;
        StepKind kind;
        int code;
    };

    FeedSlot* FindFeed(int feedId);
    bool IsServed(const std::string& address) const;
    void RunSteps(std::int64_t nowMs);
    void Notify(const Step& step);
    void PumpQuotes(std::int64_t nowSecond);
    void PumpBars(std::int64_t nowSecond);
    void PumpTicks(std::int64_t nowSecond);
    void Backfill(BarSet& set, std::int64_t nowSecond);
    void Backfill(TickSet& set, std::int64_t nowSecond);
    int TickFeedOf(const SymbolInfo& info) const;
    std::uint64_t Seed() const;

    std::function<std::int64_t()> m_clock;
    std::map<int, int> m_intOptions;
    std::map<int, std::string> m_textOptions;
    std::array<FeedSlot, 4> m_feeds;
    std::vector<Step> m_steps;
    std::vector<IConnectionEvents*> m_connectionListeners;
    std::map<std::string, std::unique_ptr<Quote>> m_quotes;
    // Sets live until the instance ends, so that late calls with a stopped set stay harmless.
    std::vector<std::unique_ptr<BarSet>> m_barSets;
    std::vector<std::unique_ptr<TickSet>> m_tickSets;
    MarketInfo m_marketInfo;
};

} // namespace mondrel
