// Helpers of the formatting and market-time tests: what was logged and reported, and data
// managers whose display zone and exchange clock are scripted.
#pragma once

#include "FakeMondrel.h"

#include <string>
#include <utility>
#include <vector>

// The log lines ("log Class::Method: text"), then the assertion reports ("assert Class::Method:
// expression"), since the last call.
std::vector<std::string> TakeDiagnostics();

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

// A data manager whose display-zone mode is `mode` (0 local, 1 GMT, 2 exchange) and whose
// exchanges all lie `exchangeOffsetMinutes` from UTC.
struct DisplayZone {
    DisplayZone(int mode, int exchangeOffsetMinutes) {
        manager.intOptions[moTimeZoneMode] = mode;
        manager.marketInfo.defaultTimeZone = 7;
        SetExchangeClock(manager.marketInfo, exchangeOffsetMinutes);
    }
    fake::FakeMondrel manager;
};
