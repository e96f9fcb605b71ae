// The records the data supplier keeps per subscription and hands to its listener. All times are
// seconds since 1970-01-01 00:00:00 UTC; volumes and sizes are 64-bit (a day's volume of an index
// exceeds 32 bits).
#pragma once

#include "DataRequests.h"
#include "TimeValue.h"

#include <cstdint>
#include <list>
#include <map>
#include <set>
#include <string>

// The latest value of every quote field, shared by all requests for one symbol.
struct SnapshotInfo {
    TimeValue date = 0;
    TimeValue tradeTime = 0;
    double open = 0;
    double high = 0;
    double low = 0;
    double ask = 0;
    double bid = 0;
    double trade = 0;
    double trade2 = 0;
    double trade3 = 0;
    double trade4 = 0;
    double last = 0;
    double lastExtendedHours = 0;
    double settle = 0;
    double yest = 0;
    double net = 0;
    double yearHigh = 0;
    double yearLow = 0;
    double vwap = 0;
    double dividend = 0;
    double dividendYield = 0;
    double currentRatio = 0;
    double eps = 0;
    double beta = 0;
    double peRatio = 0;
    double sharesOutstanding = 0;
    std::int64_t volume = 0;
    std::int64_t avgVolume65 = 0;
    std::int64_t openInterest = 0;
    std::int64_t tradeSize = 0;
    std::int64_t askSize = 0;
    std::int64_t bidSize = 0;
    std::int64_t fieldEAB7 = 0;
    std::string bidExchange;
    std::string askExchange;
    std::string tradeExchange;
    std::string exchange;
    std::string symbol;
    std::string title;
    double netPercent = 0;
    double percentInRange = 0;
    double spread = 0;
    double bestBid = 0;
    double bestAsk = 0;
    std::string bestAskExchange = " ";
    std::string bestBidExchange = " ";
    std::int64_t bestAskSize = 0;
    std::int64_t bestBidSize = 0;
    std::set<std::uint32_t> outkeys;
};

struct Bar {
    TimeValue startTime = 0;
    double high = 0;
    double low = 0;
    double open = 0;
    double close = 0;
    std::int64_t volume = 0;
    std::int32_t interval = 0;
    bool changed = false; // changed in the current notification, or filled
};

using BarMap = std::map<TimeValue, Bar>;

struct BarInfo {
    BarMap bars; // by start time, oldest first
    BarRequest request;
};

struct Tick {
    TimeValue time = 0;
    std::string exchange; // up to 7 characters; " " when the library gives none
    std::string kind;     // "bid", "ask" or "trd"
    double price = 0;
    std::int64_t size = 0;
    bool isNew = false; // added in the current notification
};

struct TickInfo {
    std::list<Tick> ticks; // oldest first
    std::string symbol;
    std::int32_t count = 0;
};
