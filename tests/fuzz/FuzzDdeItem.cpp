// Item strings of any bytes through the DDE service: a started server on the in-memory DDEML, its
// supplier on the scripted data-manager fake with every feed connected. The item (cut like an
// atom: at most 255 characters, up to the first zero byte) is asked on each topic in its own
// conversation, with an advise loop; the library then delivers a quote image, ticks and bars for
// whatever was subscribed, and the item is asked again, so the text builders format them. Any
// crash, leak, undefined behaviour or assertion report fails.
#include "Clock.h"
#include "DataSupplier.h"
#include "DdeModel.h"
#include "DdeServer.h"
#include "FakeMondrel.h"
#include "LogCapture.h"
#include "MessageQueue.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::int32_t kNow = 1773154800; // 2026-03-10 15:00:00 UTC, a Tuesday
    std::string item(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 255));
    item.resize(std::min(item.find('\0'), item.size()));
    if (item.empty()) {
        return 0; // no atom
    }

    Clock::SetFixed(kNow);
    fake::ResetScript();
    fake::LogCapture::Clear();
    {
        DdeModel model;
        DataSupplier supplier;
        DdeServer server{
            model, PlatformMessageQueue(), &supplier,
            [] { return ConnectionSettings{"user", "secret", "q", "h", "d", "i", 1, "NYSE"}; }};
        supplier.SetDataListener(&server);
        if (!server.Start()) {
            __builtin_trap();
        }
        fake::FakeMondrel& dm = *fake::FakeMondrel::Current();
        dm.ConnectAllFeeds();

        for (const char* topic : {"Snapshot", "Bars", "TS"}) {
            const HCONV hconv = model.Connect("Zanvo", topic);
            model.StartAdvise(hconv, item);
            model.Request(hconv, item);
        }
        // Data for whatever was subscribed.
        for (const auto& [symbol, quote] : dm.quotes) {
            dm.FireQuoteUpdate(symbol, {{9, 10.5}, {10, 10.75}, {11, 10.625}});
        }
        for (const auto& ticks : dm.tickSets) {
            if (!fake::Stopped(*ticks)) {
                fake::BackFill(*ticks, {fake::Trade(kNow - 120, 10.5, 100, "N"),
                                        fake::Quote(kNow - 60, 10.25, 5, 10.75, 7)});
            }
        }
        for (const auto& bars : dm.barSets) {
            if (!fake::Stopped(*bars)) {
                fake::BackFill(*bars, {{kNow - 300, 10, 11, 9.5, 10.5, 1200}});
                fake::Update(*bars, {kNow - 60, 10, 11, 9.5, 10.5, 1200});
            }
        }
        // The advise starts' first advises.
        PlatformMessageQueue().DispatchWaiting();
        for (const char* topic : {"Snapshot", "Bars", "TS"}) {
            model.Request(model.Connect("Zanvo", topic), item);
        }
        // No item a client sends may raise an assertion report: reports are for our own faults
        // (and without the recording kolvane.so beside the program none would be seen).
        if (!server.Stop() || model.LiveDataHandles() != 0 || !fake::LogCapture::Available() ||
            !fake::LogCapture::Assertions().empty()) {
            __builtin_trap();
        }
    }
    fake::ResetScript();
    return 0;
}
