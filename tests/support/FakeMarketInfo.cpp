#include "FakeMarketInfo.h"

#include "MarketInfo.h"

namespace fake {
namespace {

std::string Symbol(const char* symbol) {
    return symbol ? std::string(symbol) : std::string();
}

} // namespace

int FakeMarketInfo::GetTimeZone(const char* symbol) {
    const auto it = timeZones.find(Symbol(symbol));
    return it == timeZones.end() ? defaultTimeZone : it->second;
}

IHolidayList* FakeMarketInfo::GetHolidays(const char* symbol) {
    const auto it = holidays.find(Symbol(symbol));
    if (it == holidays.end()) {
        return nullptr;
    }
    ++holidayListsMade;
    return new mondrel::HolidayList(it->second);
}

void FakeMarketInfo::ReleaseHolidays(IHolidayList* list) {
    delete static_cast<mondrel::HolidayList*>(list);
}

void FakeMarketInfo::GetTimeOffsets(const char* symbol, int* offset, int* second) {
    const auto it = timeOffsets.find(Symbol(symbol));
    *offset = it == timeOffsets.end() ? 0 : it->second.first;
    *second = it == timeOffsets.end() ? 0 : it->second.second;
}

int FakeMarketInfo::GetTimeZoneOffset(MondrelTime time, int zone) {
    return zoneOffsetRule ? zoneOffsetRule(time, zone) : 0;
}

int FakeMarketInfo::IsDaylightTime(MondrelTime time, const char* symbol) {
    return daylightRule ? daylightRule(time, Symbol(symbol)) : 0;
}

} // namespace fake
