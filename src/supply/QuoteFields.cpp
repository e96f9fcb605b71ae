#include "QuoteFields.h"

#include <algorithm>
#include <cctype>

namespace {

template <typename T> struct Field {
    int id;
    T SnapshotInfo::*member;
};

// The library's field ids, in the order they are read.
constexpr Field<TimeValue> kTimeFields[] = {
    {0x7540, &SnapshotInfo::date},
    {0x7535, &SnapshotInfo::tradeTime},
};

constexpr Field<double> kDoubleFields[] = {
    {4, &SnapshotInfo::open},
    {5, &SnapshotInfo::high},
    {6, &SnapshotInfo::low},
    {8, &SnapshotInfo::ask},
    {9, &SnapshotInfo::bid},
    {1, &SnapshotInfo::trade},
    {0x1F, &SnapshotInfo::trade2},
    {0x20, &SnapshotInfo::trade3},
    {0x21, &SnapshotInfo::trade4},
    {2, &SnapshotInfo::last},
    {1, &SnapshotInfo::lastExtendedHours},
    {0x0B, &SnapshotInfo::settle},
    {7, &SnapshotInfo::yest},
    {0x0A, &SnapshotInfo::net},
    {0x12, &SnapshotInfo::yearHigh},
    {0x13, &SnapshotInfo::yearLow},
    {0x11, &SnapshotInfo::vwap},
    {0xEA6D, &SnapshotInfo::dividend},
    {0xEA6E, &SnapshotInfo::dividendYield},
    {0xEA91, &SnapshotInfo::currentRatio},
    {0xEA6C, &SnapshotInfo::eps},
    {0xEA83, &SnapshotInfo::beta},
    {0xEA70, &SnapshotInfo::peRatio},
    {0xEA71, &SnapshotInfo::sharesOutstanding},
};

constexpr Field<std::int64_t> kIntFields[] = {
    {0x2711, &SnapshotInfo::volume},       {0x2717, &SnapshotInfo::avgVolume65},
    {0x2714, &SnapshotInfo::openInterest}, {0x2713, &SnapshotInfo::tradeSize},
    {0x2715, &SnapshotInfo::askSize},      {0x2716, &SnapshotInfo::bidSize},
    {0xEAB7, &SnapshotInfo::fieldEAB7},
};

constexpr Field<std::string> kTextFields[] = {
    {0xEA68, &SnapshotInfo::bidExchange},   {0xEA69, &SnapshotInfo::askExchange},
    {0xEA6A, &SnapshotInfo::tradeExchange}, {0xEA67, &SnapshotInfo::exchange},
    {0xEAB6, &SnapshotInfo::symbol},        {0xEA72, &SnapshotInfo::title},
};

// On the "FX" exchange the trade time comes from a field of its own.
constexpr int kFxTradeTimeField = 0x7534;

constexpr int kTextBufferSize = 256;

void ReadInt(IQuote& quote, int id, std::int32_t& target) {
    std::int32_t value = 0;
    if (quote.GetInt(id, &value)) {
        target = value;
    }
}

void ReadCount(IQuote& quote, IWideValues* wide, int id, std::int64_t& target) {
    if (wide) {
        std::int64_t value = 0;
        if (wide->GetQuoteInt64(&quote, id, &value)) {
            target = value;
        }
        return;
    }
    std::int32_t value = 0;
    if (quote.GetInt(id, &value)) {
        target = value;
    }
}

void ReadText(IQuote& quote, int id, std::string& target) {
    char buffer[kTextBufferSize] = {};
    if (quote.GetText(id, buffer, kTextBufferSize)) {
        // Bounded: a text that fills the buffer may come without its terminator.
        target.assign(buffer, std::find(buffer, buffer + kTextBufferSize, '\0'));
    }
}

bool IsFxExchange(const std::string& exchange) {
    return exchange.size() == 2 && std::toupper(static_cast<unsigned char>(exchange[0])) == 'F' &&
           std::toupper(static_cast<unsigned char>(exchange[1])) == 'X';
}

void Derive(SnapshotInfo& s) {
    s.spread = s.bid - s.ask;
    s.percentInRange = s.high == s.low ? 0 : 100 * (s.last - s.low) / (s.high - s.low);
    s.netPercent = s.yest == 0 ? 0 : 100 * (s.last - s.yest) / s.yest;
    if (s.bestBid == 0 || s.bid < s.bestBid) {
        s.bestBid = s.bid;
        s.bestBidSize = s.bidSize;
        s.bestBidExchange = s.bidExchange;
    }
    if (s.bestAsk == 0 || s.ask > s.bestAsk) {
        s.bestAsk = s.ask;
        s.bestAskSize = s.askSize;
        s.bestAskExchange = s.askExchange;
    }
}

} // namespace

void ReadQuoteFields(IQuote& quote, IWideValues* wide, SnapshotInfo& snapinfo) {
    for (const auto& field : kTimeFields) {
        ReadInt(quote, field.id, snapinfo.*field.member);
    }
    for (const auto& field : kDoubleFields) {
        double value = 0;
        if (quote.GetDouble(field.id, &value)) {
            snapinfo.*field.member = value;
        }
    }
    for (const auto& field : kIntFields) {
        ReadCount(quote, wide, field.id, snapinfo.*field.member);
    }
    for (const auto& field : kTextFields) {
        ReadText(quote, field.id, snapinfo.*field.member);
    }

    Derive(snapinfo);

    if (IsFxExchange(snapinfo.exchange)) {
        snapinfo.tradeSize = snapinfo.bidSize;
        snapinfo.trade = snapinfo.bid;
        snapinfo.tradeExchange = snapinfo.bidExchange;
        ReadInt(quote, kFxTradeTimeField, snapinfo.tradeTime);
    }
}
