#include "QuoteFields.h"

#include <algorithm>
#include <cctype>

namespace {

template <typename T> struct Field {
    int id;
    T SnapshotInfo::*member;
};

// In the order they are read.
constexpr Field<TimeValue> kTimeFields[] = {
    {qfDate, &SnapshotInfo::date},
    {qfTradeTime, &SnapshotInfo::tradeTime},
};

constexpr Field<double> kDoubleFields[] = {
    {qfOpen, &SnapshotInfo::open},
    {qfHigh, &SnapshotInfo::high},
    {qfLow, &SnapshotInfo::low},
    {qfAsk, &SnapshotInfo::ask},
    {qfBid, &SnapshotInfo::bid},
    {qfTrade, &SnapshotInfo::trade},
    {qfTrade2, &SnapshotInfo::trade2},
    {qfTrade3, &SnapshotInfo::trade3},
    {qfTrade4, &SnapshotInfo::trade4},
    {qfLast, &SnapshotInfo::last},
    {qfTrade, &SnapshotInfo::lastExtendedHours},
    {qfSettle, &SnapshotInfo::settle},
    {qfYesterday, &SnapshotInfo::yest},
    {qfNet, &SnapshotInfo::net},
    {qfYearHigh, &SnapshotInfo::yearHigh},
    {qfYearLow, &SnapshotInfo::yearLow},
    {qfVwap, &SnapshotInfo::vwap},
    {qfDividend, &SnapshotInfo::dividend},
    {qfDividendYield, &SnapshotInfo::dividendYield},
    {qfCurrentRatio, &SnapshotInfo::currentRatio},
    {qfEps, &SnapshotInfo::eps},
    {qfBeta, &SnapshotInfo::beta},
    {qfPeRatio, &SnapshotInfo::peRatio},
    {qfSharesOutstanding, &SnapshotInfo::sharesOutstanding},
};

constexpr Field<std::int64_t> kIntFields[] = {
    {qfVolume, &SnapshotInfo::volume},
    {qfAverageVolume65, &SnapshotInfo::avgVolume65},
    {qfOpenInterest, &SnapshotInfo::openInterest},
    {qfTradeSize, &SnapshotInfo::tradeSize},
    {qfAskSize, &SnapshotInfo::askSize},
    {qfBidSize, &SnapshotInfo::bidSize},
    {qfEAB7, &SnapshotInfo::fieldEAB7},
};

constexpr Field<std::string> kTextFields[] = {
    {qfBidExchange, &SnapshotInfo::bidExchange},
    {qfAskExchange, &SnapshotInfo::askExchange},
    {qfTradeExchange, &SnapshotInfo::tradeExchange},
    {qfExchange, &SnapshotInfo::exchange},
    {qfSymbol, &SnapshotInfo::symbol},
    {qfTitle, &SnapshotInfo::title},
};

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
        // On the "FX" exchange the trade time is the quote time.
        ReadInt(quote, qfQuoteTime, snapinfo.tradeTime);
    }
}
