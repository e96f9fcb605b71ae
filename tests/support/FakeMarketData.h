// Market data of the fake data-manager library (FakeMondrel.h): the library's own objects
// (components/mondrel/src/Objects.h), filled by the test, which fires their notifications at the
// listener that asked for them.
#pragma once

#include "Objects.h"

#include <string>
#include <vector>

namespace fake {

// A quote whose texts are copied the way a careless library would: a text that does not fit is
// cut at the buffer's size and then has no terminator. Code under test must cope.
class FakeQuote final : public IQuote {
public:
    explicit FakeQuote(std::string symbol) : symbol(std::move(symbol)) {}

    int GetInt(int fieldId, std::int32_t* value) override { return image.GetInt(fieldId, value); }
    int GetText(int fieldId, char* buffer, int bufferSize) override;
    int GetDouble(int fieldId, double* value) override { return image.GetDouble(fieldId, value); }

    const std::string symbol;
    // What the getters answer (image.fields); set by FakeMondrel::FireQuoteUpdate.
    mondrel::Quote image;
    // The listeners currently subscribed, once per SubscribeQuote.
    std::vector<IQuoteEvents*> subscribers;
};

// The library's 64-bit getters, with the quotes answered from the fake's own.
class FakeWideValues final : public IWideValues {
public:
    int GetQuoteInt64(IQuote* quote, int fieldId, std::int64_t* value) override {
        return static_cast<FakeQuote*>(quote)->image.GetInt64(fieldId, value);
    }
    std::int64_t GetBarVolume(IBarItem* bar) override { return Library().GetBarVolume(bar); }
    std::int64_t GetTickBidSize(ITickItem* tick) override { return Library().GetTickBidSize(tick); }
    std::int64_t GetTickAskSize(ITickItem* tick) override { return Library().GetTickAskSize(tick); }
    std::int64_t GetTickTradeSize(ITickItem* tick) override {
        return Library().GetTickTradeSize(tick);
    }

private:
    static IWideValues& Library() { return mondrel::LibraryWideValues(); }
};

mondrel::TickData Trade(MondrelTime time, double price, std::int64_t size,
                        std::string exchange = "");
mondrel::TickData Quote(MondrelTime time, double bid, std::int64_t bidSize, double ask,
                        std::int64_t askSize, std::string bidExchange = "",
                        std::string askExchange = "");
mondrel::BarData BarAt(MondrelTime time, double open, double high, double low, double close,
                       std::int64_t volume);

// Append to the set and fire OnTicBackFillComplete (OnBarBackFillComplete) once, or OnTicUpdate
// (OnBarUpdate) with the new item.
void BackFill(mondrel::TickSet& set, const std::vector<mondrel::TickData>& ticks);
void Update(mondrel::TickSet& set, const mondrel::TickData& tick);
void BackFill(mondrel::BarSet& set, const std::vector<mondrel::BarData>& bars);
void Update(mondrel::BarSet& set, const mondrel::BarData& bar);

template <typename Set> bool Stopped(const Set& set) {
    return set.state == mondrel::RequestState::Stopped;
}

} // namespace fake
