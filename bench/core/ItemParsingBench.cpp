// Reading an item string as the topics do when a client first asks for it: the split at commas,
// then a bar item's interval, count and session window, and a snapshot item's field names.
#include "DdeServer.h"
#include "ItemNumbers.h"
#include "SessionWindow.h"
#include "SnapshotQualifiers.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::string kBarItem = " ibm , 1 , 1000 , dtohlcv , headers , 9:30-16:00 ";
const std::string kSnapshotItem = "IBM,D,TT,O,H,L,T,B,A,V,BS,AS,BX,AX,N,%,YH,YL,SO,EPS,TTL";

void SplitBarItem(benchmark::State& state) {
    std::vector<std::string> params;
    for (auto _ : state) {
        params.clear();
        benchmark::DoNotOptimize(DdeServer::SplitDdeRequest(kBarItem, params));
    }
}
BENCHMARK(SplitBarItem);

// The bar topic's reading of its parameters after the split.
void ParseBarItem(benchmark::State& state) {
    std::vector<std::string> params;
    for (auto _ : state) {
        params.clear();
        DdeServer::SplitDdeRequest(kBarItem, params);
        benchmark::DoNotOptimize(ParseInterval(params[1]));
        benchmark::DoNotOptimize(ParseDecimal(params[2]));
        benchmark::DoNotOptimize(ReadSessionWindow(params[5]));
    }
}
BENCHMARK(ParseBarItem);

// The snapshot topic's lookup of 20 field names after the split.
void ParseSnapshotItem20Fields(benchmark::State& state) {
    std::vector<std::string> params;
    for (auto _ : state) {
        params.clear();
        DdeServer::SplitDdeRequest(kSnapshotItem, params);
        for (std::size_t i = 1; i < params.size(); ++i)
            benchmark::DoNotOptimize(SnapshotQualifiers::GetQualifierID(params[i]));
    }
}
BENCHMARK(ParseSnapshotItem20Fields);

} // namespace
