// The simulated market's exchanges and symbols, with their trading hours.
#pragma once

#include "Holidays.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace mondrel {

struct Exchange {
    const char* code; // exchange text of quotes; "FX" for the currency market
    int zone;         // ZoneHandle
    HolidayCalendar calendar;
    int openMinute;        // local time of day, inclusive
    int closeMinute;       // local time of day, exclusive (1440 = midnight)
    bool weekends;         // trades on Saturdays and Sundays too
    bool quotesOnly;       // no trades: prices are driven by the bid
    const char* venues[3]; // exchange codes of trades and quotes, primary first
};

struct SymbolInfo {
    const char* symbol;
    const char* title;
    const Exchange* exchange;
    double price;      // centre of the long-run price path
    double volatility; // annual
    double tick;       // price increment
    double activity;   // chance of a market event in any second of trading, in sixteenths
    int lot;           // trade and quote sizes are multiples of it
    // Fundamentals; 0 where they do not apply.
    double eps;
    double dividend;
    double beta;
    double sharesOutstanding;
    double currentRatio;
    std::int32_t openInterest;
};

std::span<const SymbolInfo> Symbols();

// Letter case is ignored; nullptr for a symbol the market does not list.
const SymbolInfo* FindSymbol(std::string_view symbol);

// A span of trading time in UTC seconds, end exclusive.
struct Window {
    std::int64_t begin;
    std::int64_t end;
};

// The spans of the given UTC day in which the exchange trades, in time order.
std::vector<Window> TradingWindows(const Exchange& exchange, std::int64_t utcDay);

bool IsTrading(const Exchange& exchange, std::int64_t utc);

} // namespace mondrel
