// The data manager of the market-time tests: the shared fake library (FakeMondrel.h), made the
// running one for a scope, and the clock of an exchange scripted on its market information.
#pragma once

#include "DataManagerSource.h"
#include "FakeMondrel.h"

#include <string>
#include <utility>
#include <vector>

class ScopedDataManager {
public:
    explicit ScopedDataManager(Mondrel* manager) {
        s_manager = manager;
        SetDataManagerSource([] { return s_manager; });
    }
    ~ScopedDataManager() {
        SetDataManagerSource(nullptr);
        s_manager = nullptr;
    }
    ScopedDataManager(const ScopedDataManager&) = delete;
    ScopedDataManager& operator=(const ScopedDataManager&) = delete;

private:
    static inline Mondrel* s_manager = nullptr;
};

// UTC periods of daylight time, each from its first second up to its second value (excluded).
using DaylightPeriods = std::vector<std::pair<MondrelTime, MondrelTime>>;

// Every zone and symbol lies `standardOffset` minutes east of UTC, one hour more within the
// daylight periods.
inline void SetExchangeClock(fake::FakeMarketInfo& info, int standardOffset,
                             DaylightPeriods daylight = {}) {
    const auto inDaylight = [daylight = std::move(daylight)](MondrelTime time) {
        for (const auto& [from, to] : daylight) {
            if (time >= from && time < to) {
                return true;
            }
        }
        return false;
    };
    info.zoneOffsetRule = [=](MondrelTime time, int) {
        return standardOffset + (inDaylight(time) ? 60 : 0);
    };
    info.daylightRule = [=](MondrelTime time, const std::string&) {
        return inDaylight(time) ? 1 : 0;
    };
}
