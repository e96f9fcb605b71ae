#include "FakeMarketData.h"

#include <algorithm>
#include <cstring>

namespace fake {

void CopyText(const std::string& text, char* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0) {
        return;
    }
    const std::size_t size = static_cast<std::size_t>(bufferSize);
    const std::size_t length = std::min(text.size(), size);
    std::memcpy(buffer, text.data(), length);
    if (length < size) {
        buffer[length] = '\0';
    }
}

std::int32_t Narrow(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

int FakeQuote::GetInt(int fieldId, std::int32_t* value) {
    const auto it = fields.ints.find(fieldId);
    if (it == fields.ints.end()) {
        return 0;
    }
    *value = Narrow(it->second);
    return 1;
}

int FakeWideValues::GetQuoteInt64(IQuote* quote, int fieldId, std::int64_t* value) {
    const QuoteFields& fields = static_cast<FakeQuote*>(quote)->fields;
    const auto it = fields.ints.find(fieldId);
    if (it == fields.ints.end()) {
        return 0;
    }
    *value = it->second;
    return 1;
}

int FakeQuote::GetText(int fieldId, char* buffer, int bufferSize) {
    const auto it = fields.texts.find(fieldId);
    if (it == fields.texts.end()) {
        return 0;
    }
    CopyText(it->second, buffer, bufferSize);
    return 1;
}

int FakeQuote::GetDouble(int fieldId, double* value) {
    const auto it = fields.doubles.find(fieldId);
    if (it == fields.doubles.end()) {
        return 0;
    }
    *value = it->second;
    return 1;
}

FakeTickItem FakeTickItem::Trade(MondrelTime time, double price, std::int64_t size,
                                 std::string exchange) {
    FakeTickItem tick;
    tick.isTrade = true;
    tick.time = time;
    tick.tradePrice = price;
    tick.tradeSize = size;
    tick.tradeExchange = std::move(exchange);
    return tick;
}

FakeTickItem FakeTickItem::Quote(MondrelTime time, double bid, std::int64_t bidSize, double ask,
                                 std::int64_t askSize, std::string bidExchange,
                                 std::string askExchange) {
    FakeTickItem tick;
    tick.time = time;
    tick.bidPrice = bid;
    tick.bidSize = bidSize;
    tick.askPrice = ask;
    tick.askSize = askSize;
    tick.bidExchange = std::move(bidExchange);
    tick.askExchange = std::move(askExchange);
    return tick;
}

void FakeTickItem::GetAskExchange(char* buffer, int bufferSize) {
    CopyText(askExchange, buffer, bufferSize);
}

void FakeTickItem::GetBidExchange(char* buffer, int bufferSize) {
    CopyText(bidExchange, buffer, bufferSize);
}

void FakeTickItem::GetTradeExchange(char* buffer, int bufferSize) {
    CopyText(tradeExchange, buffer, bufferSize);
}

void FakeRequestOptions::SetEndTime(MondrelTime endTime) {
    calls.push_back("SetEndTime(" + std::to_string(endTime) + ")");
}

void FakeRequestOptions::SetCount(std::int32_t count) {
    calls.push_back("SetCount(" + std::to_string(count) + ")");
}

void FakeRequestOptions::SetSessionStart(int hour, int minute) {
    calls.push_back("SetSessionStart(" + std::to_string(hour) + "," + std::to_string(minute) + ")");
}

void FakeRequestOptions::SetSessionEnd(int hour, int minute) {
    calls.push_back("SetSessionEnd(" + std::to_string(hour) + "," + std::to_string(minute) + ")");
}

void FakeRequestOptions::SetCustomSession(bool custom) {
    calls.push_back(std::string("SetCustomSession(") + (custom ? "true" : "false") + ")");
}

void FakeRequestOptions::SetLiveUpdates(int on) {
    calls.push_back("SetLiveUpdates(" + std::to_string(on) + ")");
}

void FakeRequestOptions::SetIncludeQuotes(int on) {
    calls.push_back("SetIncludeQuotes(" + std::to_string(on) + ")");
}

} // namespace fake
