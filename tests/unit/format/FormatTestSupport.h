// Helpers of the formatting and market-time tests: what was logged and reported, and data
// managers whose display zone and exchange clock are scripted.
#pragma once

#include "FakeMondrel.h"

#include <string>
#include <vector>

// The log lines ("log Class::Method: text"), then the assertion reports ("assert Class::Method:
// expression"), since the last call.
std::vector<std::string> TakeDiagnostics();

// Every zone and symbol lies `standardOffset` minutes east of UTC, one hour more in daylight time
// from `from` up to `to` (excluded).
inline void SetExchangeClock(fake::FakeMarketInfo& info, int standardOffset, MondrelTime from = 0,
                             MondrelTime to = 0) {
    info.zoneOffsetRule = [=](MondrelTime time, int) {
        return standardOffset + (time >= from && time < to ? 60 : 0);
    };
    info.daylightRule = [=](MondrelTime time, const std::string&) {
        return time >= from && time < to ? 1 : 0;
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
