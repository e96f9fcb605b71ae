// Bar subscriptions: the grid of empty bars is laid out at once, the library's bars are merged
// into it, empty bars are filled on request, and the newest count bars are kept.
#include "BarLimits.h"
#include "BarListCreator.h"
#include "Clock.h"
#include "DataSupplier.h"
#include "Kolvane.h"
#include "LibraryGuard.h"
#include "RequestOptionsPtr.h"

#include <algorithm>
#include <iterator>

namespace {

// The library has no quarterly bars: they are merged from three times as many months.
std::int32_t LibraryInterval(std::int32_t interval) {
    return interval == biQuarterly ? biMonthly : interval;
}

std::int32_t LibraryCount(const BarRequest& request) {
    return request.interval == biQuarterly ? 3 * request.count : request.count;
}

void KeepNewest(BarInfo& info) {
    const auto count = static_cast<std::size_t>(std::max(info.request.count, 0));
    while (info.bars.size() > count) {
        info.bars.erase(info.bars.begin());
    }
}

void ClearChangedMarks(BarMap& bars) {
    for (auto& [time, bar] : bars) {
        bar.changed = false;
    }
}

constexpr std::int32_t kDay = 86400;

// Options "h:m" of the time of day of seconds after a midnight: a window that crosses midnight
// UTC ends on the next day.
void SplitTimeOfDay(std::int32_t seconds, int* hour, int* minute) {
    const std::int32_t timeOfDay = (seconds % kDay + kDay) % kDay;
    *hour = timeOfDay / 3600;
    *minute = timeOfDay % 3600 / 60;
}

// The window's last second: the library's session end and the grid's are inclusive to the minute,
// so the bar that starts where the window ends is not the window's.
std::int32_t LastSecond(const BarRequest& request) {
    return request.sessionEnd == 0 ? 0 : request.sessionEnd - 1;
}

} // namespace

IBarSet* DataSupplier::StartBarsRequest(const BarRequest& request) {
    SUPPLIER_EXPECT_LIBRARY();
    if (!m_mondrel) {
        return nullptr;
    }
    if (request.symbol.empty() || request.symbol.size() > kMaxSymbolLength) {
        KOLVANE_LOG(this, "Bad Bar Request. Invalid Symbol Name '%s'\n", request.symbol.c_str());
        return nullptr;
    }
    if (request.customSession && request.sessionStart > request.sessionEnd) {
        KOLVANE_LOG(this, "Bad Snapshot Request. Reverted Session is not supported\n");
        return nullptr;
    }
    if (request.interval == 0 || request.interval < -5 || request.interval > 1440) {
        KOLVANE_LOG(this, "Bad Snapshot Request. Unsupported Interval\n");
        return nullptr;
    }
    if (request.count > kMaxBarCount) {
        KOLVANE_LOG(this, "Bad Bar Request. Count %d is more than %d bars\n", request.count,
                    kMaxBarCount);
        return nullptr;
    }
    // A negative count keeps no bars, rather than a rule that can never be met.
    BarRequest accepted = request;
    accepted.count = std::max(request.count, 0);

    RequestOptionsPtr options(m_mondrel->NewBarOptions());
    KOLVANE_ASSERT(options.get());
    if (!options) {
        return nullptr;
    }
    if (accepted.customSession) {
        int hour = 0;
        int minute = 0;
        SplitTimeOfDay(accepted.sessionStart, &hour, &minute);
        options->SetSessionStart(hour, minute);
        SplitTimeOfDay(LastSecond(accepted), &hour, &minute);
        options->SetSessionEnd(hour, minute);
    }
    options->SetLiveUpdates(1);
    options->SetEndTime(Clock::Now());
    options->SetCount(LibraryCount(accepted));
    options->SetCustomSession(accepted.customSession);
    options->SetIncludeQuotes(0);

    IBarSet* barSet = m_mondrel->RequestBars(
        accepted.symbol.c_str(), LibraryInterval(accepted.interval), this, options.get());
    if (!barSet) {
        KOLVANE_LOG(this, "Unable Subscribe to Bars for '%s'\n", accepted.symbol.c_str());
        return nullptr;
    }
    KOLVANE_ASSERT(m_bars.find(barSet) == m_bars.end());
    BarInfo& info = m_bars[barSet];
    info = BarInfo{{}, accepted};
    // A count of 0 (also from a negative one) has no empty bars to fill; the bar grid would report
    // it as a caller's fault, and a client's item must not raise assertion reports.
    if (accepted.count > 0 && accepted.customSession) {
        BarListCreator::GetEmptyBars(m_mondrel.get(), accepted.symbol, accepted.interval,
                                     accepted.count, accepted.sessionStart, LastSecond(accepted),
                                     info.bars);
    } else if (accepted.count > 0) {
        BarListCreator::GetEmptyBars(m_mondrel.get(), accepted.symbol, accepted.interval,
                                     accepted.count, info.bars);
    }
    NotifyBars(barSet, info);
    return barSet;
}

void DataSupplier::StopRequest(IBarSet* key) {
    SUPPLIER_EXPECT_LIBRARY();
    KOLVANE_ASSERT(key);
    // A set that is not ours (or no longer) is not handed to the library, which may have freed it.
    const auto it = m_bars.find(key);
    KOLVANE_ASSERT(it != m_bars.end());
    if (it == m_bars.end()) {
        return;
    }
    if (m_mondrel) {
        m_mondrel->StopBars(key, this);
    }
    m_bars.erase(it);
}

void DataSupplier::OnBar(IBarItem* barItem, BarInfo& info) {
    KOLVANE_ASSERT(barItem);
    if (!barItem) {
        return;
    }
    TimeValue time = barItem->GetTime();
    if (info.request.interval < biDaily) {
        time = BarListCreator::GetNonIntradayBarStartTime(time, info.request.interval);
    }
    auto [it, inserted] =
        info.bars.try_emplace(time, Bar{time, 0, 0, 0, 0, 0, info.request.interval, true});
    Bar& bar = it->second;
    const double low = barItem->GetLow();
    if (bar.open == 0) {
        bar.open = barItem->GetOpen();
    }
    bar.high = std::max(bar.high, barItem->GetHigh());
    bar.low = bar.low == 0 ? low : std::min(bar.low, low);
    bar.close = barItem->GetClose();
    bar.volume = m_wide ? m_wide->GetBarVolume(barItem) : barItem->GetVolume();
    bar.changed = true;
}

void DataSupplier::FillEmptyBars(BarMap& bars, BarMap::iterator start) {
    // The nearest priced bar before start; filled bars count as priced from then on.
    double lastClose = 0;
    for (auto back = start; back != bars.begin();) {
        --back;
        if (back->second.close != 0) {
            lastClose = back->second.close;
            break;
        }
    }
    for (auto it = start; it != bars.end(); ++it) {
        Bar& bar = it->second;
        if (bar.close != 0) {
            lastClose = bar.close;
        } else if (lastClose != 0) {
            bar.open = bar.high = bar.low = bar.close = lastClose;
            bar.changed = true;
        }
    }
}

void DataSupplier::NotifyBars(IBarSet* barSet, const BarInfo& info) {
    KOLVANE_ASSERT(m_listener);
    if (m_listener) {
        m_listener->OnProcessingBarData(barSet, info);
    }
}

void DataSupplier::OnBarBackFillComplete(IBarSet* barSet) {
    KOLVANE_ASSERT(barSet);
    const auto it = m_bars.find(barSet);
    if (it == m_bars.end()) {
        return;
    }
    BarInfo& info = it->second;
    for (std::int32_t index = 0; index < barSet->GetBarCount(); ++index) {
        OnBar(barSet->GetBar(index), info);
    }
    if (info.request.fill) {
        FillEmptyBars(info.bars, info.bars.begin());
    }
    KeepNewest(info);
    NotifyBars(barSet, info);
}

void DataSupplier::OnBarUpdate(IBarSet* barSet, IBarItem* barItem) {
    KOLVANE_ASSERT(barSet);
    KOLVANE_ASSERT(barItem);
    const auto it = m_bars.find(barSet);
    if (it == m_bars.end()) {
        return;
    }
    BarInfo& info = it->second;
    const BarRequest& request = info.request;
    ClearChangedMarks(info.bars);
    OnBar(barItem, info);

    if (info.bars.size() > 1) {
        const auto last = std::prev(info.bars.end());
        const auto previous = std::prev(last);
        BarMap gap;
        if (request.customSession) {
            BarListCreator::GetEmptyBars(m_mondrel.get(), request.symbol, request.interval,
                                         previous->first, last->first, request.sessionStart,
                                         LastSecond(request), gap);
        } else {
            BarListCreator::GetEmptyBars(m_mondrel.get(), request.symbol, request.interval,
                                         previous->first, last->first, gap);
        }
        const TimeValue previousTime = previous->first;
        info.bars.insert(gap.begin(), gap.end());
        if (request.fill) {
            FillEmptyBars(info.bars, info.bars.find(previousTime));
        }
    }
    KeepNewest(info);
    const std::int64_t count = request.count;
    NotifyBars(barSet, info);

    // The listener may have stopped the request; a stopped set is not the supplier's to trim.
    if (m_bars.find(barSet) == m_bars.end()) {
        return;
    }
    if (barSet->GetBarCount() > 2 * count) {
        barSet->Trim(static_cast<std::int32_t>(count), 1);
    }
}

void DataSupplier::OnBarBackFillStart(IBarSet*) {}

void DataSupplier::OnBarBackFillEmpty(IBarSet*) {}

void DataSupplier::OnBarReset(IBarSet*) {}

void DataSupplier::OnBarError(IBarSet*, int) {}

void DataSupplier::OnBarStopped(IBarSet*) {}
