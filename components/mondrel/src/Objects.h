// The objects that the library hands out: feeds, quotes, bar and tick sets and their items,
// request options, market information.
#pragma once

#include "BarGrid.h"
#include "History.h"
#include "PriceModel.h"
#include "QuoteFields.h"
#include "mondrel/MondrelExtensions.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace mondrel {

// Writes text into a caller's buffer, cut to fit and always terminated.
void CopyText(const std::string& text, char* buffer, int bufferSize);

// A 64-bit value for the 32-bit getters of the published interface: cut to the 32-bit range.
std::int32_t Narrow(std::int64_t value);

class Feed final : public IFeed {
public:
    explicit Feed(int id) : m_id(id) {}
    int GetFeedId() override { return m_id; }
    int Id() const { return m_id; }

private:
    int m_id;
};

class Quote final : public IQuote {
public:
    int GetInt(int fieldId, std::int32_t* value) override;
    int GetText(int fieldId, char* buffer, int bufferSize) override;
    int GetDouble(int fieldId, double* value) override;
    int GetInt64(int fieldId, std::int64_t* value) const;

    std::string symbol;
    FieldMap fields;
    std::vector<IQuoteEvents*> listeners;
    bool loaded = false; // the whole image was delivered since the last (re)subscription
};

class BarItem final : public IBarItem {
public:
    explicit BarItem(const BarData& bar) : data(bar) {}
    double GetLow() override { return data.low; }
    double GetClose() override { return data.close; }
    double GetHigh() override { return data.high; }
    double GetOpen() override { return data.open; }
    std::int32_t GetVolume() override { return Narrow(data.volume); }
    MondrelTime GetTime() override { return static_cast<MondrelTime>(data.time); }

    BarData data;
};

// The settings of one bar or tick request, copied into the set it creates.
struct RequestSettings {
    MondrelTime endTime = 0;
    std::int32_t count = 100;
    int sessionStartMinute = 0;
    int sessionEndMinute = 0;
    bool customSession = false;
    bool liveUpdates = false;
    bool includeQuotes = false;
};

class RequestOptions final : public IRequestOptions {
public:
    void Destroy() override { delete this; }
    void SetEndTime(MondrelTime endTime) override { settings.endTime = endTime; }
    void SetCount(std::int32_t count) override { settings.count = count; }
    void SetSessionStart(int hour, int minute) override;
    void SetSessionEnd(int hour, int minute) override;
    void SetCustomSession(bool custom) override { settings.customSession = custom; }
    void SetLiveUpdates(int on) override { settings.liveUpdates = on != 0; }
    void SetIncludeQuotes(int on) override { settings.includeQuotes = on != 0; }

    RequestSettings settings;
};

enum class RequestState { Waiting, Live, Done, Stopped };

class BarSet final : public IBarSet {
public:
    std::int32_t GetBarCount() override { return static_cast<std::int32_t>(items.size()); }
    IBarItem* GetBar(std::int32_t index) override;
    void Trim(std::int32_t count, int flag) override;

    // Adds a price to the bar of its period; returns the bar changed, or nullptr.
    BarItem* AddPrice(std::int64_t time, double price, std::int64_t size);
    // Puts a whole bar in place of the one with the same start time, or after the newest.
    BarItem* PutBar(const BarData& bar);

    std::string symbol;
    int interval = 1;
    RequestSettings settings;
    SessionWindow window;
    IBarEvents* events = nullptr;
    RequestState state = RequestState::Waiting;
    std::deque<std::unique_ptr<BarItem>> items;
};

struct TickData {
    bool isTrade = false;
    std::int64_t time = 0;
    double bid = 0.0, ask = 0.0, price = 0.0;
    std::int64_t bidSize = 0, askSize = 0, size = 0;
    std::string bidExchange, askExchange, exchange;

    static TickData From(const MarketEvent& event);
};

class TickItem final : public ITickItem {
public:
    explicit TickItem(TickData tick) : data(std::move(tick)) {}
    int IsTrade() override { return data.isTrade ? 1 : 0; }
    MondrelTime GetTime() override { return static_cast<MondrelTime>(data.time); }
    double GetBidPrice() override { return data.bid; }
    double GetAskPrice() override { return data.ask; }
    std::int32_t GetBidSize() override { return Narrow(data.bidSize); }
    std::int32_t GetAskSize() override { return Narrow(data.askSize); }
    void GetAskExchange(char* buffer, int size) override {
        CopyText(data.askExchange, buffer, size);
    }
    void GetBidExchange(char* buffer, int size) override {
        CopyText(data.bidExchange, buffer, size);
    }
    double GetTradePrice() override { return data.price; }
    std::int32_t GetTradeSize() override { return Narrow(data.size); }
    void GetTradeExchange(char* buffer, int size) override {
        CopyText(data.exchange, buffer, size);
    }

    TickData data;
};

class TickSet final : public ITickSet {
public:
    std::int32_t GetTickCount() override { return static_cast<std::int32_t>(items.size()); }
    ITickItem* GetTick(std::int32_t index) override;
    void Trim(std::int32_t count, int flag) override;

    TickItem* Append(TickData tick);

    std::string symbol;
    RequestSettings settings;
    ITickEvents* events = nullptr;
    RequestState state = RequestState::Waiting;
    std::deque<std::unique_ptr<TickItem>> items;
};

// A new request's set for a symbol, with the caller's options.
template <typename Set, typename Events>
std::unique_ptr<Set> NewSet(const std::string& symbol, Events* events, IRequestOptions* options) {
    auto set = std::make_unique<Set>();
    set->symbol = symbol;
    set->events = events;
    if (options)
        set->settings = static_cast<RequestOptions*>(options)->settings;
    return set;
}

// The 64-bit getters over this library's own objects; MondrelWideValues hands them out.
IWideValues& LibraryWideValues();

} // namespace mondrel
