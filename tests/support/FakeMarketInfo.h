// The market information of the fake data-manager library: exchange zones, UTC offsets, daylight
// time and holidays, all set by the test. Reached through FakeMondrel::marketInfo, or through
// Mondrel::GetMarketInfo of the current fake instance.
#pragma once

#include "MarketInfo.h"

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace fake {

class FakeMarketInfo final : public IMarketInfo {
public:
    int GetTimeZone(const char* symbol) override {
        return timeZones.contains(symbol) ? timeZones[symbol] : defaultTimeZone;
    }
    // A new list (the library's own) per call for a symbol with an entry; nullptr otherwise.
    IHolidayList* GetHolidays(const char* symbol) override {
        if (!holidays.contains(symbol)) {
            return nullptr;
        }
        ++holidayListsMade;
        return new mondrel::HolidayList(holidays[symbol]);
    }
    void ReleaseHolidays(IHolidayList* list) override {
        delete static_cast<mondrel::HolidayList*>(list);
    }
    void GetTimeOffsets(const char* symbol, int* offset, int* second) override {
        std::tie(*offset, *second) =
            timeOffsets.contains(symbol) ? timeOffsets[symbol] : std::pair(0, 0);
    }
    int GetTimeZoneOffset(MondrelTime time, int zone) override {
        return zoneOffsetRule ? zoneOffsetRule(time, zone) : 0;
    }
    int IsDaylightTime(MondrelTime time, const char* symbol) override {
        return daylightRule ? daylightRule(time, symbol) : 0;
    }

    std::map<std::string, int> timeZones;
    int defaultTimeZone = 0; // 0: unknown to the library
    std::function<int(MondrelTime time, int zone)> zoneOffsetRule;
    // Per symbol: {offset now, standard-time offset}, minutes east of UTC.
    std::map<std::string, std::pair<int, int>> timeOffsets;
    std::function<int(MondrelTime time, const std::string& symbol)> daylightRule;
    std::map<std::string, std::vector<mondrel::CivilDate>> holidays;
    int holidayListsMade = 0;
};

} // namespace fake
