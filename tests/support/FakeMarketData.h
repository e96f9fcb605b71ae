// Scripted market-data objects of the fake data-manager library (FakeMondrel.h): quotes, tick
// sets, bar sets and request options. A test fills them with data and fires their notifications
// at the listener that subscribed them; every call the code under test makes is recorded.
#pragma once

#include "mondrel/MondrelExtensions.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fake {

// Copies a text into a caller's buffer the way a careless library would: a text that does not
// fit is cut at the buffer's size and then has no terminator. Code under test must cope.
void CopyText(const std::string& text, char* buffer, int bufferSize);

class FakeFeed final : public IFeed {
public:
    explicit FakeFeed(int id) : id(id) {}
    int GetFeedId() override { return id; }

    const int id;
};

// A 64-bit value as the 32-bit getters answer it: cut to the 32-bit range.
std::int32_t Narrow(std::int64_t value);

// The fields a quote holds during one notification, by the library's field id. Absent ids make
// the getters return 0.
struct QuoteFields {
    std::map<int, std::int64_t> ints;
    std::map<int, double> doubles;
    std::map<int, std::string> texts;
};

class FakeQuote final : public IQuote {
public:
    explicit FakeQuote(std::string symbol) : symbol(std::move(symbol)) {}

    int GetInt(int fieldId, std::int32_t* value) override;
    int GetText(int fieldId, char* buffer, int bufferSize) override;
    int GetDouble(int fieldId, double* value) override;

    const std::string symbol;
    // What the getters answer; set by FakeMondrel::FireQuoteUpdate.
    QuoteFields fields;
    // The listeners currently subscribed, once per SubscribeQuote (the same listener may appear
    // several times).
    std::vector<IQuoteEvents*> subscribers;
};

// One library tick. Plain data: set what the test needs; the getters answer from it.
struct FakeTickItem final : ITickItem {
    static FakeTickItem Trade(MondrelTime time, double price, std::int64_t size,
                              std::string exchange = "");
    static FakeTickItem Quote(MondrelTime time, double bid, std::int64_t bidSize, double ask,
                              std::int64_t askSize, std::string bidExchange = "",
                              std::string askExchange = "");

    int IsTrade() override { return isTrade ? 1 : 0; }
    MondrelTime GetTime() override { return time; }
    double GetBidPrice() override { return bidPrice; }
    double GetAskPrice() override { return askPrice; }
    std::int32_t GetBidSize() override { return Narrow(bidSize); }
    std::int32_t GetAskSize() override { return Narrow(askSize); }
    void GetAskExchange(char* buffer, int bufferSize) override;
    void GetBidExchange(char* buffer, int bufferSize) override;
    double GetTradePrice() override { return tradePrice; }
    std::int32_t GetTradeSize() override { return Narrow(tradeSize); }
    void GetTradeExchange(char* buffer, int bufferSize) override;

    bool isTrade = false;
    MondrelTime time = 0;
    double bidPrice = 0;
    double askPrice = 0;
    std::int64_t bidSize = 0;
    std::int64_t askSize = 0;
    std::string bidExchange;
    std::string askExchange;
    double tradePrice = 0;
    std::int64_t tradeSize = 0;
    std::string tradeExchange;
};

// One library bar. Plain data, like FakeTickItem.
struct FakeBarItem final : IBarItem {
    double GetLow() override { return low; }
    double GetClose() override { return close; }
    double GetHigh() override { return high; }
    double GetOpen() override { return open; }
    std::int32_t GetVolume() override { return Narrow(volume); }
    MondrelTime GetTime() override { return time; }

    MondrelTime time = 0;
    double open = 0;
    double high = 0;
    double low = 0;
    double close = 0;
    std::int64_t volume = 0;
};

// The 64-bit getters (MondrelWideValues) over the fake's quotes, bar items and tick items.
class FakeWideValues final : public IWideValues {
public:
    int GetQuoteInt64(IQuote* quote, int fieldId, std::int64_t* value) override;
    std::int64_t GetBarVolume(IBarItem* bar) override {
        return static_cast<FakeBarItem*>(bar)->volume;
    }
    std::int64_t GetTickBidSize(ITickItem* tick) override {
        return static_cast<FakeTickItem*>(tick)->bidSize;
    }
    std::int64_t GetTickAskSize(ITickItem* tick) override {
        return static_cast<FakeTickItem*>(tick)->askSize;
    }
    std::int64_t GetTickTradeSize(ITickItem* tick) override {
        return static_cast<FakeTickItem*>(tick)->tradeSize;
    }
};

// The options of one bar or tick request. Destroy only marks them, so that a test can still read
// what was set.
class FakeRequestOptions final : public IRequestOptions {
public:
    void Destroy() override { ++destroyCount; }
    void SetEndTime(MondrelTime endTime) override;
    void SetCount(std::int32_t count) override;
    void SetSessionStart(int hour, int minute) override;
    void SetSessionEnd(int hour, int minute) override;
    void SetCustomSession(bool custom) override;
    void SetLiveUpdates(int on) override;
    void SetIncludeQuotes(int on) override;

    // Every call in order, such as "SetCount(100)" or "SetSessionStart(9,30)".
    std::vector<std::string> calls;
    int destroyCount = 0;
};

// What the library holds for one tick or bar request: its items, oldest first, and every Trim.
template <typename Item> struct FakeItems {
    // nullptr for an index out of range, or for a slot without an item (AddMissingItem).
    Item* At(std::int32_t index) const {
        return index < 0 || static_cast<std::size_t>(index) >= items.size()
                   ? nullptr
                   : items[static_cast<std::size_t>(index)].get();
    }
    std::int32_t Count() const { return static_cast<std::int32_t>(items.size()); }
    Item* Append(const Item& item) {
        items.push_back(std::make_unique<Item>(item));
        return items.back().get();
    }
    void AddMissingItem() { items.push_back(nullptr); }
    // Records the call and drops all but the newest count items, as the library's Trim does.
    void KeepNewest(std::int32_t count, int flag) {
        trims.emplace_back(count, flag);
        const std::size_t keep = static_cast<std::size_t>(std::max<std::int32_t>(count, 0));
        if (items.size() > keep) {
            items.erase(items.begin(), items.end() - static_cast<std::ptrdiff_t>(keep));
        }
    }

    std::vector<std::unique_ptr<Item>> items;
    // Every Trim call as {count, flag}.
    std::vector<std::pair<std::int32_t, int>> trims;
};

// A tick set and the request that made it. BackFill appends the ticks and fires
// OnTicBackFillComplete; Update appends one and fires OnTicUpdate with it.
class FakeTickSet final : public ITickSet, public FakeItems<FakeTickItem> {
public:
    FakeTickSet(std::string symbol, ITickEvents* events, FakeRequestOptions* options)
        : symbol(std::move(symbol)), events(events), options(options) {}

    std::int32_t GetTickCount() override { return Count(); }
    ITickItem* GetTick(std::int32_t index) override { return At(index); }
    void Trim(std::int32_t count, int flag) override { KeepNewest(count, flag); }

    void BackFill(const std::vector<FakeTickItem>& history) {
        for (const FakeTickItem& tick : history) {
            Append(tick);
        }
        events->OnTicBackFillComplete(this);
    }
    void Update(const FakeTickItem& tick) { events->OnTicUpdate(this, Append(tick)); }

    const std::string symbol;
    ITickEvents* const events;
    FakeRequestOptions* const options;
    bool stopped = false;
};

// A bar set, like FakeTickSet.
class FakeBarSet final : public IBarSet, public FakeItems<FakeBarItem> {
public:
    FakeBarSet(std::string symbol, int interval, IBarEvents* events, FakeRequestOptions* options)
        : symbol(std::move(symbol)), interval(interval), events(events), options(options) {}

    std::int32_t GetBarCount() override { return Count(); }
    IBarItem* GetBar(std::int32_t index) override { return At(index); }
    void Trim(std::int32_t count, int flag) override { KeepNewest(count, flag); }

    void BackFill(const std::vector<FakeBarItem>& history) {
        for (const FakeBarItem& bar : history) {
            Append(bar);
        }
        events->OnBarBackFillComplete(this);
    }
    void Update(const FakeBarItem& bar) { events->OnBarUpdate(this, Append(bar)); }

    const std::string symbol;
    const int interval;
    IBarEvents* const events;
    FakeRequestOptions* const options;
    bool stopped = false;
};

} // namespace fake
