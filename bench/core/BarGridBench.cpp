// The bar grid of a request: minute bars within a session, walking back through weekends,
// holidays and a daylight change, and daily bars over twenty years.
#include "BarListCreator.h"
#include "Clock.h"
#include "FakeMondrel.h"
#include "TimeHelper.h"

#include <benchmark/benchmark.h>

namespace {

constexpr TimeValue kSessionStart = 13 * 3600 + 30 * 60;
constexpr TimeValue kSessionEnd = 20 * 3600;

// Daylight time from 8 March 07:00 to 1 November 06:00 UTC of every year.
bool InDaylight(MondrelTime time) {
    const int year = TimeHelper::GetYear(time);
    return time >= TimeHelper::MakeTimeGMT(year, 3, 8, 7, 0, 0) &&
           time < TimeHelper::MakeTimeGMT(year, 11, 1, 6, 0, 0);
}

// An exchange five hours west of UTC with a yearly daylight period and a handful of holidays a
// year.
class Market {
public:
    Market() {
        manager.intOptions[moTimeZoneMode] = 2;
        manager.marketInfo.timeZones["IBM"] = 7;
        std::vector<mondrel::CivilDate>& holidays = manager.marketInfo.holidays["IBM"];
        for (int year = 1985; year <= 2009; ++year) {
            for (const auto& [month, day] : {std::pair{1, 1},
                                             {1, 19},
                                             {2, 16},
                                             {4, 10},
                                             {5, 25},
                                             {7, 3},
                                             {9, 7},
                                             {11, 26},
                                             {12, 25}}) {
                holidays.push_back({year, month, day});
            }
        }
        manager.marketInfo.zoneOffsetRule = [](MondrelTime time, int) {
            return InDaylight(time) ? -240 : -300;
        };
        manager.marketInfo.daylightRule = [](MondrelTime time, const std::string&) {
            return InDaylight(time) ? 1 : 0;
        };
        Clock::SetFixed(TimeHelper::MakeTimeGMT(2009, 7, 21, 21, 0, 0));
    }
    ~Market() { Clock::SetFixed(std::nullopt); }

    fake::FakeMondrel manager;
};

void MinuteBarsInSession(benchmark::State& state) {
    Market market;
    const auto count = static_cast<std::int32_t>(state.range(0));
    BarMap bars;
    for (auto _ : state) {
        BarListCreator::GetEmptyBars(&market.manager, "IBM", 1, count, kSessionStart, kSessionEnd,
                                     bars);
        benchmark::DoNotOptimize(bars.size());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(MinuteBarsInSession)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void DailyBars(benchmark::State& state) {
    Market market;
    const auto count = static_cast<std::int32_t>(state.range(0));
    BarMap bars;
    for (auto _ : state) {
        BarListCreator::GetEmptyBars(&market.manager, "IBM", biDaily, count, bars);
        benchmark::DoNotOptimize(bars.size());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(DailyBars)->Arg(5000)->Unit(benchmark::kMicrosecond);

} // namespace
