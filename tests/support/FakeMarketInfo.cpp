#include "FakeMarketInfo.h"

namespace fake {
namespace {

std::string Symbol(const char* symbol) {
    return symbol ? std::string(symbol) : std::string();
}

} // namespace

void FakeHolidayList::GetHoliday(int index, int* year, int* month, int* day) {
    if (index < 0 || static_cast<std::size_t>(index) >= days.size()) {
        return;
    }
    const Holiday& holiday = days[static_cast<std::size_t>(index)];
    *year = holiday.year;
    *month = holiday.month;
    *day = holiday.day;
}

int FakeMarketInfo::GetTimeZone(const char* symbol) {
    const auto it = timeZones.find(Symbol(symbol));
    return it == timeZones.end() ? defaultTimeZone : it->second;
}

IHolidayList* FakeMarketInfo::GetHolidays(const char* symbol) {
    const auto it = holidays.find(Symbol(symbol));
    if (it == holidays.end()) {
        return nullptr;
    }
    holidayLists.push_back(std::make_unique<FakeHolidayList>(it->second));
    return holidayLists.back().get();
}

void FakeMarketInfo::ReleaseHolidays(IHolidayList* list) {
    for (const auto& own : holidayLists) {
        if (own.get() == list) {
            own->released = true;
        }
    }
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
