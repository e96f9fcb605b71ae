// The text of one update: a snapshot of 20 fields, the served text of a bar or tick item, and the
// lines of one bar or tick notification.
#include "DataFormatter.h"
#include "LineListBuilder.h"
#include "PlainTextBuilder.h"

#include <benchmark/benchmark.h>

#include <clocale>

namespace {

const std::string kSymbol = "IBM";
// Times in UTC: no data manager runs.
const DataFormatter kFormatter(nullptr);
constexpr TimeValue kStart = 1248134400; // 2009-07-21 00:00:00 UTC

SnapshotInfo Quote() {
    SnapshotInfo quote;
    quote.date = kStart;
    quote.tradeTime = kStart + 51299;
    quote.open = 101.25, quote.high = 103.5, quote.low = 100.75, quote.last = 102.125;
    quote.bid = 102.1, quote.ask = 102.15, quote.volume = 1234567, quote.bidSize = 300;
    quote.askSize = 500, quote.bidExchange = "N", quote.askExchange = "";
    quote.sharesOutstanding = 1300000, quote.eps = 9.52, quote.title = "Intl Business Machines";
    return quote;
}

void FormatSnapshot20Fields(benchmark::State& state) {
    std::setlocale(LC_ALL, "C");
    // D TT O H L T B A V BS AS BX AX N % YH YL SO EPS TTL
    const SnapshotFormat format{
        true, false, {0, 1, 2, 3, 4, 6, 10, 11, 14, 17, 18, 22, 23, 9, 33, 31, 32, 61, 83, 56}};
    const SnapshotInfo quote = Quote();
    PlainTextBuilder builder;
    for (auto _ : state) {
        kFormatter.FormatSnapshot(kSymbol, format, quote, builder);
        benchmark::DoNotOptimize(builder);
    }
}
BENCHMARK(FormatSnapshot20Fields);

const std::vector<std::int32_t> kBarFields = {bfDate, bfTime,  bfOpen,  bfHigh,
                                              bfLow,  bfClose, bfVolume};

BarInfo MinuteBars(std::int64_t count) {
    BarInfo info;
    for (std::int64_t i = 0; i < count; ++i) {
        const TimeValue start = kStart + static_cast<TimeValue>(i) * 60;
        info.bars[start] = Bar{start, 10.5, 9.5, 10, 10.25, 1000, 1, true};
    }
    return info;
}

// The served text of an item holding `rows` bars, as every advise asks for it.
void GetTextOfRows(benchmark::State& state) {
    std::setlocale(LC_ALL, "C");
    const auto rows = static_cast<std::int32_t>(state.range(0));
    LineListBuilder builder(false, DataFormatter::FormatBarHeader({true, false, rows, kBarFields}),
                            rows);
    kFormatter.FormatBars(kSymbol, {true, false, rows, kBarFields}, MinuteBars(rows), builder);
    for (auto _ : state) {
        benchmark::DoNotOptimize(builder.GetText());
    }
}
BENCHMARK(GetTextOfRows)->Arg(100)->Arg(1000);

// One bar update: the last bar of 1000 changed.
void FormatBarsOneUpdate(benchmark::State& state) {
    std::setlocale(LC_ALL, "C");
    const ListFormat format{false, false, 1000, kBarFields};
    BarInfo bars = MinuteBars(1000);
    LineListBuilder builder(false, "", 1000);
    kFormatter.FormatBars(kSymbol, format, bars, builder);
    for (auto& [start, bar] : bars.bars) {
        bar.changed = false;
    }
    bars.bars.rbegin()->second.changed = true;
    for (auto _ : state) {
        kFormatter.FormatBars(kSymbol, format, bars, builder);
    }
}
BENCHMARK(FormatBarsOneUpdate);

// One tick update: a new trade among the 50 ticks the record keeps, into an item of 1000 rows.
void FormatTicksOneUpdate(benchmark::State& state) {
    std::setlocale(LC_ALL, "C");
    const ListFormat format{
        false, false, 1000, {tfDate, tfTime, tfKind, tfExchange, tfPrice, tfSize}};
    TickInfo ticks;
    for (int i = 0; i < 50; ++i) {
        ticks.ticks.push_back(Tick{kStart + i, "N", "trd", 10.25, 100, i == 49});
    }
    LineListBuilder builder(false, "", 1000);
    for (auto _ : state) {
        kFormatter.FormatTicks(kSymbol, format, ticks, builder);
    }
}
BENCHMARK(FormatTicksOneUpdate);

} // namespace
