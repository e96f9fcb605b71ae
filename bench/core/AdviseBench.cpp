// The whole path of one round of updates, natively: the data-manager library in benchmark mode
// changes every subscribed quote, the supplier passes each on, the snapshot topic formats it, the
// server posts the advise, and the in-memory DDEML asks the server for the item's text. K clients
// each hold one advise loop on a snapshot item "B0001,TTL,T"..., as in the end-to-end benchmark.
// The same code runs under a profiler (valgrind --tool=callgrind zanvo_bench_advise).
#include "DataSupplier.h"
#include "DdeModel.h"
#include "DdeServer.h"
#include "MessageQueue.h"
#include "mondrel/MondrelExtensions.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string ItemName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "B%04d,TTL,T", i);
    return name;
}

// A scenario of `count` quoted symbols with benchmark mode on from the start.
std::filesystem::path WriteScenario(int count) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("zanvo-bench-advise-" + std::to_string(count) + ".scn");
    std::ofstream out(path);
    out << "at 0 feed all connected\nbenchmark\n";
    for (int i = 1; i <= count; ++i) {
        char symbol[16];
        std::snprintf(symbol, sizeof symbol, "B%04d", i);
        out << "symbol " << symbol << " zone 5\nquote " << symbol
            << " 0xEA67=NYSE 2=100.00 0xEA72=\"0\"\n";
    }
    return path;
}

void AdviseRound(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::filesystem::path scenario = WriteScenario(count);
    const std::string address = "scenario:" + scenario.string();
    DdeModel model;
    DataSupplier supplier;
    DdeServer server(model, PlatformMessageQueue(), &supplier, [&address] {
        return ConnectionSettings{"bench", "bench", address, address, address, address, 1, ""};
    });
    supplier.SetDataListener(&server);
    const bool started = server.Start();
    std::filesystem::remove(scenario); // read by Start
    if (!started) {
        state.SkipWithError("the server did not start");
        return;
    }
    MondrelPump(supplier.GetDataManager()); // the feeds connect
    for (int i = 1; i <= count; ++i) {
        const HCONV hconv = model.Connect("Zanvo", "Snapshot");
        if (!hconv || !model.StartAdvise(hconv, ItemName(i)) ||
            !model.Request(hconv, ItemName(i))) {
            state.SkipWithError("an advise loop did not start");
            return;
        }
    }
    MondrelPump(supplier.GetDataManager()); // the quotes' first images
    for (auto _ : state)
        MondrelPump(supplier.GetDataManager());
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(AdviseRound)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace
