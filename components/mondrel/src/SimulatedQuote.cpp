#include "SimulatedQuote.h"

#include "CivilTime.h"
#include "History.h"

#include <algorithm>

namespace mondrel {
namespace {

constexpr int kLookBackDays = 14;

// The closing price of a UTC day: its last trade (its last bid in a quotes-only market).
double DayClose(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t day) {
    if (TradingWindows(*symbol.exchange, day).empty())
        return 0.0;
    const bool trades = !symbol.exchange->quotesOnly;
    const auto last = LastEventBefore(symbol, seed, (day + 1) * kSecondsPerDay, trades, 1);
    return !last ? 0.0 : trades ? last->price : last->bid;
}

} // namespace

SimulatedQuote::SimulatedQuote(const SymbolInfo& symbol, std::uint64_t seed)
    : m_symbol(symbol), m_seed(seed) {}

void SimulatedQuote::Load(std::int64_t now) {
    std::vector<MarketEvent> events;
    std::int64_t day = DayOf(now - 1);
    for (int back = 0; back < kLookBackDays && events.empty(); ++back, --day)
        CollectEvents(m_symbol, m_seed, day * kSecondsPerDay,
                      std::min((day + 1) * kSecondsPerDay, now), events);
    if (events.empty())
        return;
    StartDay(DayOf(events.front().time));
    for (const MarketEvent& e : events)
        Apply(e);
}

void SimulatedQuote::StartDay(std::int64_t day) {
    m_day = day;
    m_open = m_high = m_low = 0.0;
    m_volume = 0;
    m_turnover = 0.0;
    m_yesterday = 0.0;
    m_yearHigh = m_yearLow = 0.0;
    std::int64_t volumeSum = 0;
    int volumeDays = 0;
    const bool bids = m_symbol.exchange->quotesOnly;
    // The 52 weeks before the day: closing prices, and the volume of the last 65 trading days.
    for (std::int64_t d = day - 1; d >= day - 365; --d) {
        const double close = DayClose(m_symbol, m_seed, d);
        if (close == 0.0)
            continue;
        if (m_yesterday == 0.0)
            m_yesterday = close;
        m_yearHigh = m_yearHigh == 0.0 ? close : std::max(m_yearHigh, close);
        m_yearLow = m_yearLow == 0.0 ? close : std::min(m_yearLow, close);
        if (volumeDays < 65) {
            volumeSum +=
                CountVolume(m_symbol, m_seed, d * kSecondsPerDay, (d + 1) * kSecondsPerDay, bids);
            ++volumeDays;
        }
    }
    m_averageVolume65 = volumeDays ? volumeSum / volumeDays : 0;
}

void SimulatedQuote::Apply(const MarketEvent& event) {
    if (DayOf(event.time) != m_day)
        StartDay(DayOf(event.time));
    const bool bidDriven = m_symbol.exchange->quotesOnly;
    double price = 0.0;
    if (event.isTrade) {
        std::copy_backward(m_trades, m_trades + 3, m_trades + 4);
        m_trades[0] = price = event.price;
        m_tradeSize = event.size;
        m_tradeVenue = event.venue;
        m_tradeTime = event.time;
        m_volume += event.size;
        m_turnover += event.price * event.size;
    } else {
        m_bid = event.bid;
        m_ask = event.ask;
        m_bidSize = event.bidSize;
        m_askSize = event.askSize;
        m_bidVenue = event.bidVenue;
        m_askVenue = event.askVenue;
        m_quoteTime = event.time;
        if (bidDriven) {
            price = event.bid;
            ++m_volume;
        }
    }
    if (price != 0.0) {
        if (m_open == 0.0)
            m_open = m_high = m_low = price;
        m_high = std::max(m_high, price);
        m_low = std::min(m_low, price);
        m_yearHigh = std::max(m_yearHigh, price);
        m_yearLow = m_yearLow == 0.0 ? price : std::min(m_yearLow, price);
    }
}

void SimulatedQuote::WriteFields(FieldMap& fields) const {
    const Exchange& exchange = *m_symbol.exchange;
    const bool bidDriven = exchange.quotesOnly;
    const double last = bidDriven ? m_bid : m_trades[0];
    auto put = [&](int id, FieldValue value) { fields[id] = std::move(value); };
    auto putPositive = [&](int id, double value) {
        if (value > 0.0)
            fields[id] = value;
    };
    put(qfSymbol, std::string(m_symbol.symbol));
    put(qfTitle, std::string(m_symbol.title));
    put(qfExchange, std::string(exchange.code));
    if (m_day != 0)
        put(qfDate, m_day * kSecondsPerDay);
    if (!bidDriven && m_tradeTime != 0) {
        put(qfTrade, m_trades[0]);
        put(qfTradeSize, m_tradeSize);
        put(qfTradeExchange, std::string(m_tradeVenue));
        put(qfTradeTime, m_tradeTime);
        putPositive(qfTrade2, m_trades[1]);
        putPositive(qfTrade3, m_trades[2]);
        putPositive(qfTrade4, m_trades[3]);
        if (m_volume > 0)
            put(qfVwap, m_turnover / static_cast<double>(m_volume));
    }
    putPositive(qfLast, last);
    putPositive(qfOpen, m_open);
    putPositive(qfHigh, m_high);
    putPositive(qfLow, m_low);
    putPositive(qfYesterday, m_yesterday);
    if (last > 0.0 && m_yesterday > 0.0)
        put(qfNet, last - m_yesterday);
    putPositive(qfYearHigh, m_yearHigh);
    putPositive(qfYearLow, m_yearLow);
    put(qfVolume, m_volume);
    put(qfAverageVolume65, m_averageVolume65);
    if (m_quoteTime != 0) {
        put(qfBid, m_bid);
        put(qfAsk, m_ask);
        put(qfBidSize, m_bidSize);
        put(qfAskSize, m_askSize);
        put(qfBidExchange, std::string(m_bidVenue));
        put(qfAskExchange, std::string(m_askVenue));
        put(qfQuoteTime, m_quoteTime);
    }
    if (m_symbol.openInterest != 0) {
        put(qfOpenInterest, std::int64_t{m_symbol.openInterest});
        putPositive(qfSettle, m_yesterday);
    }
    putPositive(qfEps, m_symbol.eps);
    putPositive(qfDividend, m_symbol.dividend);
    if (m_symbol.dividend > 0.0 && last > 0.0)
        put(qfDividendYield, 100.0 * m_symbol.dividend / last);
    if (m_symbol.eps > 0.0 && last > 0.0)
        put(qfPeRatio, last / m_symbol.eps);
    putPositive(qfBeta, m_symbol.beta);
    putPositive(qfSharesOutstanding, m_symbol.sharesOutstanding);
    putPositive(qfCurrentRatio, m_symbol.currentRatio);
}

} // namespace mondrel
