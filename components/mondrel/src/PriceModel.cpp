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

// Weight of each octave (periods of 4, 16, 64 ... seconds) per unit of annual volatility:
// Brownian scaling, the swing over a period grows with its square root.
struct OctaveWeights {
    double weight[kOctaves];
    OctaveWeights() {
        const double year = 365.25 * 86400.0;
        for (int octave = 0; octave < kOctaves; ++octave)
            weight[octave] = 0.9 * std::sqrt(static_cast<double>(4ll << (2 * octave)) / year);
    }
};

const OctaveWeights kWeights;

} // namespace

double FairPrice(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t time) {
    const std::uint64_t key = SymbolKey(symbol) ^ seed;
    double logPrice = 0.0;
    for (int octave = 0; octave < kOctaves; ++octave) {
        const int shift = 2 * octave + 2;
        const std::int64_t cell = time >> shift; // floor division, also for negative times
        const double f = static_cast<double>(time - (cell << shift)) /
                         static_cast<double>(std::int64_t{1} << shift);
        const double smooth = f * f * (3.0 - 2.0 * f);
        const std::uint64_t octaveKey = Mix(key + static_cast<std::uint64_t>(octave));
        const double a = Unit(Mix(octaveKey ^ static_cast<std::uint64_t>(cell)));
        const double b = Unit(Mix(octaveKey ^ static_cast<std::uint64_t>(cell + 1)));
        logPrice += (a + (b - a) * smooth) * kWeights.weight[octave];
    }
    return symbol.price * std::exp(logPrice * symbol.volatility);
}

namespace {

// Whether a second has an event is decided 16 seconds at a time, by the 4-bit groups of one hash
// against the symbol's activity in sixteenths; the details of an event come from its own hash.
constexpr int kBlockBits = 4;

struct Draw {
    std::uint64_t hash;
    bool isTrade;
    std::int32_t bigLot;
};

class EventDraws {
public:
    EventDraws(const SymbolInfo& symbol, std::uint64_t key)
        : m_symbol(symbol), m_key(key),
          m_threshold(static_cast<std::uint64_t>(std::lround(symbol.activity * 16.0))) {}

    bool Happens(std::int64_t time) {
        const std::int64_t block = time >> kBlockBits;
        if (block != m_block || !m_valid) {
            m_block = block;
            m_blockHash = Hash(m_key, 0xB10Cu, static_cast<std::uint64_t>(block));
            m_valid = true;
        }
        const int slot = static_cast<int>(time & ((1 << kBlockBits) - 1));
        return ((m_blockHash >> (4 * slot)) & 0xF) < m_threshold;
    }

    Draw At(std::int64_t time) const {
        const std::uint64_t h = Hash(m_key, 0x5EC0Du, static_cast<std::uint64_t>(time));
        return {h, !m_symbol.exchange->quotesOnly && ((h >> 24) & 0xFF) < 110,
                ((h >> 40) & 0xF) == 0 ? 10 : 1};
    }

private:
    const SymbolInfo& m_symbol;
    std::uint64_t m_key;
    std::uint64_t m_threshold;
    std::int64_t m_block = 0;
    std::uint64_t m_blockHash = 0;
    bool m_valid = false;
};

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
                   std::vector<MarketEvent>& out, EventKinds kinds) {
    EventDraws draws(symbol, EventKey(symbol, seed));
    ForEachTradingSecond(symbol, from, to, [&](std::int64_t t) {
        if (!draws.Happens(t))
            return;
        const Draw d = draws.At(t);
        if (kinds == EventKinds::All || d.isTrade == (kinds == EventKinds::Trades))
            out.push_back(MakeEvent(symbol, seed, t, d));
    });
}

std::int64_t CountVolume(const SymbolInfo& symbol, std::uint64_t seed, std::int64_t from,
                         std::int64_t to, bool bids) {
    EventDraws draws(symbol, EventKey(symbol, seed));
    std::int64_t volume = 0;
    ForEachTradingSecond(symbol, from, to, [&](std::int64_t t) {
        if (!draws.Happens(t))
            return;
        const Draw d = draws.At(t);
        if (d.isTrade != bids)
            volume += bids ? 1 : TradeSize(symbol, d);
    });
    return volume;
}

std::optional<MarketEvent> LastEventBefore(const SymbolInfo& symbol, std::uint64_t seed,
                                           std::int64_t end, bool trade, int maxDays) {
    EventDraws draws(symbol, EventKey(symbol, seed));
    const std::int64_t lastDay = DayOf(end - 1);
    for (std::int64_t day = lastDay; day > lastDay - maxDays; --day) {
        const std::vector<Window> windows = TradingWindows(*symbol.exchange, day);
        for (auto w = windows.rbegin(); w != windows.rend(); ++w) {
            for (std::int64_t t = std::min(w->end, end) - 1; t >= w->begin; --t) {
                if (!draws.Happens(t))
                    continue;
                const Draw d = draws.At(t);
                if (d.isTrade == trade)
                    return MakeEvent(symbol, seed, t, d);
            }
        }
    }
    return std::nullopt;
}

} // namespace mondrel
