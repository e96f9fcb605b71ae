// Market data of the fake data-manager library (FakeMondrel.h): the library's own records, filled
// by the test, which fires their notifications at the listener that asked for them.
#pragma once

#include "Objects.h"

#include <string>
#include <vector>

namespace fake {

inline mondrel::TickData Trade(MondrelTime time, double price, std::int64_t size,
                               std::string exchange = "") {
    return {.isTrade = true, .time = time, .price = price, .size = size, .exchange = exchange};
}

inline mondrel::TickData Quote(MondrelTime time, double bid, std::int64_t bidSize, double ask,
                               std::int64_t askSize, std::string bidExchange = "",
                               std::string askExchange = "") {
    return {false, time, bid, ask, 0.0, bidSize, askSize, 0, bidExchange, askExchange};
}

// Append to the set (a bar in place of the one with its start time, as the library does) and fire
// OnTicBackFillComplete (OnBarBackFillComplete) once, or OnTicUpdate (OnBarUpdate) with the item.
inline void BackFill(mondrel::TickSet& set, const std::vector<mondrel::TickData>& ticks) {
    for (const mondrel::TickData& tick : ticks) {
        set.Append(tick);
    }
    set.events->OnTicBackFillComplete(&set);
}

inline void Update(mondrel::TickSet& set, const mondrel::TickData& tick) {
    set.events->OnTicUpdate(&set, set.Append(tick));
}

inline void BackFill(mondrel::BarSet& set, const std::vector<mondrel::BarData>& bars) {
    for (const mondrel::BarData& bar : bars) {
        set.PutBar(bar);
    }
    set.events->OnBarBackFillComplete(&set);
}

inline void Update(mondrel::BarSet& set, const mondrel::BarData& bar) {
    set.events->OnBarUpdate(&set, set.PutBar(bar));
}

template <typename Set> bool Stopped(const Set& set) {
    return set.state == mondrel::RequestState::Stopped;
}

} // namespace fake
