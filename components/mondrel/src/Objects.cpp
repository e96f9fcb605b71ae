#include "Objects.h"

#include "mondrel/MondrelExtensions.h"

#include <algorithm>
#include <cstring>

namespace mondrel {

void CopyText(const std::string& text, char* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0)
        return;
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(bufferSize - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

std::int32_t Narrow(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

int Quote::GetInt(int fieldId, std::int32_t* value) {
    std::int64_t wide = 0;
    if (!value || !GetInt64(fieldId, &wide))
        return 0;
    *value = Narrow(wide);
    return 1;
}

int Quote::GetInt64(int fieldId, std::int64_t* value) const {
    const auto it = fields.find(fieldId);
    if (!value || it == fields.end() || !std::holds_alternative<std::int64_t>(it->second))
        return 0;
    *value = std::get<std::int64_t>(it->second);
    return 1;
}

int Quote::GetText(int fieldId, char* buffer, int bufferSize) {
    const auto it = fields.find(fieldId);
    if (!buffer || bufferSize <= 0 || it == fields.end() ||
        !std::holds_alternative<std::string>(it->second))
        return 0;
    CopyText(std::get<std::string>(it->second), buffer, bufferSize);
    return 1;
}

int Quote::GetDouble(int fieldId, double* value) {
    const auto it = fields.find(fieldId);
    if (!value || it == fields.end() || !std::holds_alternative<double>(it->second))
        return 0;
    *value = std::get<double>(it->second);
    return 1;
}

void RequestOptions::SetSessionStart(int hour, int minute) {
    settings.sessionStartMinute = std::clamp(hour * 60 + minute, 0, 1439);
}

void RequestOptions::SetSessionEnd(int hour, int minute) {
    settings.sessionEndMinute = std::clamp(hour * 60 + minute, 0, 1439);
}

namespace {

template <typename Items> void TrimItems(Items& items, std::int32_t count) {
    const auto keep = static_cast<std::size_t>(std::max(count, 0));
    while (items.size() > keep)
        items.pop_front();
}

template <typename Items> auto* ItemAt(const Items& items, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < items.size()
               ? items[static_cast<std::size_t>(index)].get()
               : nullptr;
}

} // namespace

IBarItem* BarSet::GetBar(std::int32_t index) {
    return ItemAt(items, index);
}

void BarSet::Trim(std::int32_t count, int) {
    TrimItems(items, count);
}

BarItem* BarSet::AddPrice(std::int64_t time, double price, std::int64_t size) {
    const auto start = BarStart(time, interval, window);
    if (!start)
        return nullptr;
    if (items.empty() || items.back()->data.time < *start) {
        BarData bar;
        bar.time = *start;
        items.push_back(std::make_unique<BarItem>(bar));
    } else if (items.back()->data.time > *start) {
        return nullptr;
    }
    items.back()->data.Add(price, size);
    return items.back().get();
}

BarItem* BarSet::PutBar(const BarData& bar) {
    for (auto& item : items) {
        if (item->data.time == bar.time) {
            item->data = bar;
            return item.get();
        }
    }
    auto position = std::find_if(items.begin(), items.end(),
                                 [&](const auto& item) { return item->data.time > bar.time; });
    return items.insert(position, std::make_unique<BarItem>(bar))->get();
}

TickData TickData::From(const MarketEvent& event) {
    TickData tick;
    tick.isTrade = event.isTrade;
    tick.time = event.time;
    if (event.isTrade) {
        tick.price = event.price;
        tick.size = event.size;
        tick.exchange = event.venue ? event.venue : "";
    } else {
        tick.bid = event.bid;
        tick.ask = event.ask;
        tick.bidSize = event.bidSize;
        tick.askSize = event.askSize;
        tick.bidExchange = event.bidVenue ? event.bidVenue : "";
        tick.askExchange = event.askVenue ? event.askVenue : "";
    }
    return tick;
}

ITickItem* TickSet::GetTick(std::int32_t index) {
    return ItemAt(items, index);
}

void TickSet::Trim(std::int32_t count, int) {
    TrimItems(items, count);
}

TickItem* TickSet::Append(TickData tick) {
    items.push_back(std::make_unique<TickItem>(std::move(tick)));
    return items.back().get();
}

namespace {

// The objects are this library's own, so each handle is the library's class behind the interface.
class WideValues final : public IWideValues {
public:
    int GetQuoteInt64(IQuote* quote, int fieldId, std::int64_t* value) override {
        return quote ? static_cast<Quote*>(quote)->GetInt64(fieldId, value) : 0;
    }
    std::int64_t GetBarVolume(IBarItem* bar) override {
        return bar ? static_cast<BarItem*>(bar)->data.volume : 0;
    }
    std::int64_t GetTickBidSize(ITickItem* tick) override {
        return tick ? static_cast<TickItem*>(tick)->data.bidSize : 0;
    }
    std::int64_t GetTickAskSize(ITickItem* tick) override {
        return tick ? static_cast<TickItem*>(tick)->data.askSize : 0;
    }
    std::int64_t GetTickTradeSize(ITickItem* tick) override {
        return tick ? static_cast<TickItem*>(tick)->data.size : 0;
    }
};

} // namespace

IWideValues& LibraryWideValues() {
    static WideValues values;
    return values;
}

} // namespace mondrel
