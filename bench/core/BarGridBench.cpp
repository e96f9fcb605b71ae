// The bar grid of a request: minute bars within a session, walking back through weekends,
// holidays and a daylight change, and daily bars over twenty years.
#include "BarListCreator.h"
#include "Clock.h"
#include "FormatTestSupport.h"
#include "TimeHelper.h"

#include <benchmark/benchmark.h>

namespace {

constexpr TimeValue kSessionStart = 13 * 3600 + 30 * 60;
constexpr TimeValue kSessionEnd = 20 * 3600;

// An exchange with a yearly daylight period and a handful of holidays a year.
class Market {
public:
    Market() {
        manager.intOptions[moTimeZoneMode] = 2;
        manager.marketInfo.timeZones["IBM"] = 7;
        DaylightPeriods daylight;
        std::vector<mondrel::CivilDate>& holidays = manager.marketInfo.holidays["IBM"];
        for (int year = 1985; year <= 2009; ++year) {
            daylight.push_back({TimeHelper::MakeTimeGMT(year, 3, 8, 7, 0, 0),
                                TimeHelper::MakeTimeGMT(year, 11, 1, 6, 0, 0)});
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
        SetExchangeClock(manager.marketInfo, -300, std::move(daylight));
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
