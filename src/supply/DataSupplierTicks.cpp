// Tick subscriptions: one library tick set per request, its ticks turned into trade, bid and ask
// records, of which the newest count are kept and the ones added by each notification marked.
#include "DataSupplier.h"
#include "HandleValue.h"
#include "Kolvane.h"
#include "LibraryGuard.h"
#include "RequestOptionsPtr.h"

#include <algorithm>
#include <cstring>

namespace {

// Receives every exchange code before it is copied. Shared by all tick sets, which is safe
// because every callback runs on the main thread.
char s_exchange[8];

std::string ReadExchange(ITickItem& item, void (ITickItem::*getter)(char*, int)) {
    std::memset(s_exchange, 0, sizeof(s_exchange));
    (item.*getter)(s_exchange, sizeof(s_exchange));
    // At most 7 characters, also when the library fills the buffer to its end.
    s_exchange[sizeof(s_exchange) - 1] = '\0';
    return s_exchange[0] ? std::string(s_exchange) : std::string(" ");
}

void KeepNewest(TickInfo& info) {
    while (info.ticks.size() > static_cast<std::size_t>(info.count)) {
        info.ticks.pop_front();
    }
}

void ClearNewMarks(TickInfo& info) {
    for (Tick& tick : info.ticks) {
        tick.isNew = false;
    }
}

} // namespace

ITickSet* DataSupplier::StartTickRequest(const TickRequest& request) {
    SUPPLIER_EXPECT_LIBRARY();
    if (!m_mondrel) {
        return nullptr;
    }
    if (request.symbol.empty() || request.symbol.size() > kMaxSymbolLength) {
        KOLVANE_LOG(this, "Bad Tic Request. Invalid Symbol Name '%s'\n", request.symbol.c_str());
        return nullptr;
    }
    // A negative count keeps no ticks, rather than wrapping around into a huge one.
    const std::int32_t count = std::max(request.count, 0);

    RequestOptionsPtr options(m_mondrel->NewTickOptions());
    KOLVANE_ASSERT(options.get());
    if (!options) {
        return nullptr;
    }
    options->SetLiveUpdates(1);
    options->SetCount(count);
    options->SetIncludeQuotes(1);

    ITickSet* tickSet = m_mondrel->RequestTicks(request.symbol.c_str(), this, options.get());
    if (!tickSet) {
        KOLVANE_LOG(this, "Unable Subscribe to Tics for '%s'\n", request.symbol.c_str());
        return nullptr;
    }
    KOLVANE_ASSERT(m_ticks.find(tickSet) == m_ticks.end());
    m_ticks.insert_or_assign(tickSet, TickInfo{{}, request.symbol, count});
    return tickSet;
}

void DataSupplier::StopRequest(ITickSet* key) {
    SUPPLIER_EXPECT_LIBRARY();
    KOLVANE_ASSERT(key);
    // A set that is not ours (or no longer) is not handed to the library, which may have freed it.
    const auto it = m_ticks.find(key);
    KOLVANE_ASSERT(it != m_ticks.end());
    if (it == m_ticks.end()) {
        return;
    }
    // Once the library object is gone, its tick sets went with it.
    if (m_mondrel) {
        m_mondrel->StopTicks(key, this);
    }
    m_ticks.erase(it);
}

void DataSupplier::OnTick(ITickItem* tickItem, TickInfo& info) {
    KOLVANE_ASSERT(tickItem);
    if (!tickItem) {
        return;
    }
    const TimeValue time = tickItem->GetTime();
    if (tickItem->IsTrade()) {
        const std::string exchange = ReadExchange(*tickItem, &ITickItem::GetTradeExchange);
        info.ticks.push_back(
            {time, exchange, "trd", tickItem->GetTradePrice(),
             m_wide ? m_wide->GetTickTradeSize(tickItem) : tickItem->GetTradeSize(), true});
        return;
    }
    const double bid = tickItem->GetBidPrice();
    if (bid > 0) {
        const std::string exchange = ReadExchange(*tickItem, &ITickItem::GetBidExchange);
        info.ticks.push_back({time, exchange, "bid", bid,
                              m_wide ? m_wide->GetTickBidSize(tickItem) : tickItem->GetBidSize(),
                              true});
    }
    const double ask = tickItem->GetAskPrice();
    if (ask > 0) {
        const std::string exchange = ReadExchange(*tickItem, &ITickItem::GetAskExchange);
        info.ticks.push_back({time, exchange, "ask", ask,
                              m_wide ? m_wide->GetTickAskSize(tickItem) : tickItem->GetAskSize(),
                              true});
    }
}

void DataSupplier::NotifyTicks(ITickSet* tickSet, const TickInfo& info) {
    KOLVANE_ASSERT(m_listener);
    if (m_listener) {
        m_listener->OnProcessingTickData(tickSet, info);
    }
}

void DataSupplier::OnTicBackFillComplete(ITickSet* tickSet) {
    KOLVANE_ASSERT(tickSet);
    const auto it = m_ticks.find(tickSet);
    if (it == m_ticks.end()) {
        KOLVANE_LOG(this, "%s(%i): %s: Call ignored. Unknown tickSet ptr = 0x%.8x\n", __FILE__,
                    __LINE__, "DataSupplier::OnTicBackFillComplete", HandleValue(tickSet));
        return;
    }
    TickInfo& info = it->second;
    ClearNewMarks(info);
    for (std::int32_t index = 0; index < tickSet->GetTickCount(); ++index) {
        OnTick(tickSet->GetTick(index), info);
    }
    KeepNewest(info);
    NotifyTicks(tickSet, info);
}

void DataSupplier::OnTicUpdate(ITickSet* tickSet, ITickItem* tick) {
    KOLVANE_ASSERT(tickSet);
    KOLVANE_ASSERT(tick);
    const auto it = m_ticks.find(tickSet);
    if (it == m_ticks.end()) {
        KOLVANE_LOG(this, "%s(%i): %s: Call ignored. Unknown tickSet ptr = 0x%.8x\n", __FILE__,
                    __LINE__, "DataSupplier::OnTicUpdate", HandleValue(tickSet));
        return;
    }
    TickInfo& info = it->second;
    ClearNewMarks(info);
    OnTick(tick, info);
    KeepNewest(info);
    const std::int64_t count = info.count;
    NotifyTicks(tickSet, info);

    // The listener may have stopped the request; a stopped set is not the supplier's to trim.
    if (m_ticks.find(tickSet) == m_ticks.end()) {
        return;
    }
    if (tickSet->GetTickCount() > 2 * count) {
        tickSet->Trim(static_cast<std::int32_t>(count), 1);
    }
}

void DataSupplier::OnTicBackFillStart(ITickSet*) {}

void DataSupplier::OnTicError(ITickSet*, int) {}

void DataSupplier::OnTicCorrection(ITickSet*, ITickItem*, int) {}

void DataSupplier::OnTicStopped(ITickSet*) {}
