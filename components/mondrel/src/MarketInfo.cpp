#include "MarketInfo.h"

#include "TimeZones.h"
#include "Universe.h"

namespace mondrel {
namespace {

const TimeZoneRule* ZoneOfSymbol(const char* symbol) {
    const SymbolInfo* info = symbol ? FindSymbol(symbol) : nullptr;
    return info ? FindZone(info->exchange->zone) : nullptr;
}

} // namespace

void HolidayList::GetHoliday(int index, int* year, int* month, int* day) {
    if (index < 0 || index >= GetHolidayCount())
        return;
    const CivilDate& date = m_dates[static_cast<std::size_t>(index)];
    if (year)
        *year = date.year;
    if (month)
        *month = date.month;
    if (day)
        *day = date.day;
}

int MarketInfo::GetTimeZone(const char* symbol) {
    const SymbolInfo* info = symbol ? FindSymbol(symbol) : nullptr;
    return info ? info->exchange->zone : zoneUnknown;
}

IHolidayList* MarketInfo::GetHolidays(const char* symbol) {
    const SymbolInfo* info = symbol ? FindSymbol(symbol) : nullptr;
    if (!info)
        return nullptr;
    return new HolidayList(ListHolidays(info->exchange->calendar, kFirstYear, kLastYear));
}

void MarketInfo::ReleaseHolidays(IHolidayList* list) {
    delete static_cast<HolidayList*>(list);
}

void MarketInfo::GetTimeOffsets(const char* symbol, int* offset, int* second) {
    const TimeZoneRule* zone = ZoneOfSymbol(symbol);
    if (!zone)
        return;
    if (offset)
        *offset = OffsetMinutes(*zone, now);
    if (second)
        *second = zone->standardMinutes;
}

int MarketInfo::GetTimeZoneOffset(MondrelTime time, int zone) {
    const TimeZoneRule* rule = FindZone(zone);
    return rule ? OffsetMinutes(*rule, time) : 0;
}

int MarketInfo::IsDaylightTime(MondrelTime time, const char* symbol) {
    const TimeZoneRule* zone = ZoneOfSymbol(symbol);
    return zone && mondrel::IsDaylightTime(*zone, time) ? 1 : 0;
}

} // namespace mondrel
