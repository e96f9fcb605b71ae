// Entries of the data-manager library beyond its published interface: 64-bit volumes and sizes,
// options for tests and demonstrations, and the event pump of the native (non-Windows) build.
#pragma once

#include "mondrel/Mondrel.h"

#include <cstdint>

// Further integer option ids of SetIntOption / GetIntOption.
enum MondrelExtraOption : int {
    moConnectDelay = 1001, // milliseconds from ConnectFeeds to the first feed's outcome (400)
    moSeed = 1002,         // seed of the simulated market's prices (1)
    // Benchmark mode (0, off): when nonzero, every loaded quote with a subscriber changes on every
    // turn of the event pump, and the pump asks to run again at once, so quotes update as fast as
    // the creating thread's message loop allows. Each change moves the last price (field 2) by
    // one cent within a dollar and writes into the title (field 0xEA72) the decimal time of the
    // change: QueryPerformanceCounter ticks under Windows, steady-clock nanoseconds elsewhere.
    moBenchmark = 1003,
};

// Volumes and sizes beside the 32-bit getters of the published interface, which answer a value
// beyond 32 bits cut to 2147483647. Values up to 2^53 are exact. Each call takes an object that
// the same library instance handed out.
class IWideValues {
public:
    // Integer quote fields (volumes, sizes, open interest); nonzero when present.
    virtual int GetQuoteInt64(IQuote* quote, int fieldId, std::int64_t* value) = 0;
    virtual std::int64_t GetBarVolume(IBarItem* bar) = 0;
    virtual std::int64_t GetTickBidSize(ITickItem* tick) = 0;
    virtual std::int64_t GetTickAskSize(ITickItem* tick) = 0;
    virtual std::int64_t GetTickTradeSize(ITickItem* tick) = 0;

protected:
    ~IWideValues() = default;
};

// The 64-bit getters of an instance; nullptr when the library has none.
MONDREL_API IWideValues* MondrelWideValues(Mondrel* instance);

#if !defined(_WIN32)
// Delivers every callback that is due, on the calling thread (which must be the one that created
// the instance). The Windows build delivers them from the creating thread's message loop instead.
MONDREL_API void MondrelPump(Mondrel* instance);
#endif
