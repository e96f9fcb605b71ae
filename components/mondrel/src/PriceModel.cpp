#include "PriceModel.h"

#include "CivilTime.h"

#include <algorithm>
#include <cmath>

namespace mondrel {
namespace {

std::uint64_t Mix(std::uint64_t x) {
    // splitmix64 finaliser
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t Hash(std::uint64_t a, std::uint64_t b, std::uint64_t c) {
    return Mix(Mix(Mix(a) ^ b) ^ c);
}

std::uint64_t SymbolKey(const SymbolInfo& symbol) {
    std::uint64_t h = 1469598103934665603ull; // FNV-1a
    for (const char* p = symbol.symbol; *p; ++p)
        h = (h ^ static_cast<unsigned char>(*p)) * 1099511628211ull;
    return h;
}

double Unit(std::uint64_t h) {
    return static_cast<double>(h >> 11) / 9007199254740992.0 * 2.0 - 1.0; // [-1, 1)
}

double RoundToTick(double value, double tick) {
    const double rounded = std::round(value / tick) * tick;
    return std::round(rounded * 1e8) / 1e8;
}

constexpr int kOctaves = 13;
constexpr double kYear = 365.25 * 86400.0;

} // namespace

double FairPrice(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t time) {
    const std::uint64_t key = SymbolKey(symbol) ^ seed;
    double logPrice = 0.0;
    double period = 4.0;
    for (int octave = 0; octave < kOctaves; ++octave, period *= 4.0) {
        const double u = static_cast<double>(time) / period;
        const double cell = std::floor(u);
        const double f = u - cell;
        const double smooth = f * f * (3.0 - 2.0 * f);
        const auto index = static_cast<std::uint64_t>(static_cast<std::int64_t>(cell));
        const double a = Unit(Hash(key, octave, index));
        const double b = Unit(Hash(key, octave, index + 1));
        // Brownian scaling: the swing over a period grows with its square root.
        logPrice += (a + (b - a) * smooth) * symbol.volatility * std::sqrt(period / kYear) * 0.9;
    }
    return symbol.price * std::exp(logPrice);
}

namespace {

// What the hash of one second decides, before any price is computed.
struct Draw {
    std::uint64_t hash;
    bool happens;
    bool isTrade;
    std::int32_t bigLot;
};

Draw DrawAt(const SymbolInfo& symbol, std::uint64_t key, std::int64_t time) {
    const std::uint64_t h = Hash(key, 0x5EC0Du, static_cast<std::uint64_t>(time));
    const auto threshold = static_cast<std::uint64_t>(symbol.activity * 16777216.0);
    return {h, (h & 0xFFFFFF) < threshold, !symbol.exchange->quotesOnly && ((h >> 24) & 0xFF) < 110,
            ((h >> 40) & 0xF) == 0 ? 10 : 1};
}

std::int32_t TradeSize(const SymbolInfo& symbol, const Draw& d) {
    return symbol.lot * static_cast<std::int32_t>(1 + (d.hash >> 32) % 10) * d.bigLot;
}

std::uint64_t EventKey(const SymbolInfo& symbol, std::uint64_t seed) {
    return SymbolKey(symbol) ^ Mix(seed);
}

MarketEvent MakeEvent(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t t, const Draw& d) {
    const Exchange& exchange = *symbol.exchange;
    int venueCount = 0;
    while (venueCount < 3 && exchange.venues[venueCount][0] != '\0')
        ++venueCount;
    const std::uint64_t h = d.hash;
    MarketEvent e{};
    e.time = t;
    e.isTrade = d.isTrade;
    const double fair = FairPrice(symbol, seed, t);
    if (e.isTrade) {
        e.price = RoundToTick(fair, symbol.tick);
        e.size = TradeSize(symbol, d);
        e.venue = exchange.venues[(h >> 48) % venueCount];
    } else {
        const double spreadTicks = 1.0 + static_cast<double>((h >> 44) % 3);
        e.bid = RoundToTick(std::floor(fair / symbol.tick - spreadTicks / 2.0) * symbol.tick,
                            symbol.tick);
        e.ask = RoundToTick(e.bid + spreadTicks * symbol.tick, symbol.tick);
        e.bidSize = symbol.lot * static_cast<std::int32_t>(1 + (h >> 32) % 20);
        e.askSize = symbol.lot * static_cast<std::int32_t>(1 + (h >> 52) % 20) * d.bigLot;
        e.bidVenue = exchange.venues[(h >> 48) % venueCount];
        e.askVenue = exchange.venues[(h >> 56) % venueCount];
    }
    return e;
}

// Calls visit(t) for every trading second in [from, to), in time order.
template <typename Visit>
void ForEachTradingSecond(const SymbolInfo& symbol, std::int64_t from, std::int64_t to,
                          Visit&& visit) {
    for (std::int64_t day = DayOf(from); day * kSecondsPerDay < to; ++day) {
        for (const Window& window : TradingWindows(*symbol.exchange, day)) {
            const std::int64_t end = std::min(window.end, to);
            for (std::int64_t t = std::max(window.begin, from); t < end; ++t)
                visit(t);
        }
    }
}

} // namespace

void CollectEvents(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t from, std::int64_t to,
                   std::vector<MarketEvent>& out) {
    const std::uint64_t key = EventKey(symbol, seed);
    ForEachTradingSecond(symbol, from, to, [&](std::int64_t t) {
        const Draw d = DrawAt(symbol, key, t);
        if (d.happens)
            out.push_back(MakeEvent(symbol, seed, t, d));
    });
}

std::int64_t CountVolume(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t from,
                         std::int64_t to, bool bids) {
    const std::uint64_t key = EventKey(symbol, seed);
    std::int64_t volume = 0;
    ForEachTradingSecond(symbol, from, to, [&](std::int64_t t) {
        const Draw d = DrawAt(symbol, key, t);
        if (d.happens && d.isTrade != bids)
            volume += bids ? 1 : TradeSize(symbol, d);
    });
    return volume;
}

std::optional<MarketEvent> LastEventBefore(const SymbolInfo& symbol, std::uint64_t seed,
                                           std::int64_t end, bool trade, int maxDays) {
    const std::uint64_t key = EventKey(symbol, seed);
    const std::int64_t lastDay = DayOf(end - 1);
    for (std::int64_t day = lastDay; day > lastDay - maxDays; --day) {
        const std::vector<Window> windows = TradingWindows(*symbol.exchange, day);
        for (auto w = windows.rbegin(); w != windows.rend(); ++w) {
            for (std::int64_t t = std::min(w->end, end) - 1; t >= w->begin; --t) {
                const Draw d = DrawAt(symbol, key, t);
                if (d.happens && d.isTrade == trade)
                    return MakeEvent(symbol, seed, t, d);
            }
        }
    }
    return std::nullopt;
}

} // namespace mondrel
