#include "FakeMarketData.h"

#include <algorithm>
#include <cstring>

namespace fake {

int FakeQuote::GetText(int fieldId, char* buffer, int bufferSize) {
    const auto it = image.fields.find(fieldId);
    if (it == image.fields.end() || !buffer || bufferSize <= 0) {
        return 0;
    }
    const std::string& text = std::get<std::string>(it->second);
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(bufferSize));
    std::memcpy(buffer, text.data(), length);
    if (length < static_cast<std::size_t>(bufferSize)) {
        buffer[length] = '\0';
    }
    return 1;
}

mondrel::TickData Trade(MondrelTime time, double price, std::int64_t size, std::string exchange) {
    mondrel::TickData tick;
    tick.isTrade = true;
    tick.time = time;
    tick.price = price;
    tick.size = size;
    tick.exchange = std::move(exchange);
    return tick;
}

mondrel::TickData Quote(MondrelTime time, double bid, std::int64_t bidSize, double ask,
                        std::int64_t askSize, std::string bidExchange, std::string askExchange) {
    mondrel::TickData tick;
    tick.time = time;
    tick.bid = bid;
    tick.bidSize = bidSize;
    tick.ask = ask;
    tick.askSize = askSize;
    tick.bidExchange = std::move(bidExchange);
    tick.askExchange = std::move(askExchange);
    return tick;
}

mondrel::BarData BarAt(MondrelTime time, double open, double high, double low, double close,
                       std::int64_t volume) {
    return mondrel::BarData{time, open, high, low, close, volume};
}

void BackFill(mondrel::TickSet& set, const std::vector<mondrel::TickData>& ticks) {
    for (const mondrel::TickData& tick : ticks) {
        set.Append(tick);
    }
    set.events->OnTicBackFillComplete(&set);
}

void Update(mondrel::TickSet& set, const mondrel::TickData& tick) {
    set.events->OnTicUpdate(&set, set.Append(tick));
}

void BackFill(mondrel::BarSet& set, const std::vector<mondrel::BarData>& bars) {
    for (const mondrel::BarData& bar : bars) {
        set.items.push_back(std::make_unique<mondrel::BarItem>(bar));
    }
    set.events->OnBarBackFillComplete(&set);
}

void Update(mondrel::BarSet& set, const mondrel::BarData& bar) {
    set.items.push_back(std::make_unique<mondrel::BarItem>(bar));
    set.events->OnBarUpdate(&set, set.items.back().get());
}

} // namespace fake
