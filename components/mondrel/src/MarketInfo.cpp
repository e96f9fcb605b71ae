#include "MarketInfo.h"

namespace mondrel {

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

const TimeZoneRule* MarketInfo::RuleOf(const char* symbol) const {
    return symbol ? m_directory.Rule(m_directory.ZoneOf(symbol)) : nullptr;
}

int MarketInfo::GetTimeZone(const char* symbol) {
    return symbol ? m_directory.ZoneOf(symbol) : zoneUnknown;
}

IHolidayList* MarketInfo::GetHolidays(const char* symbol) {
    std::vector<CivilDate> dates;
    if (!symbol || !m_directory.Holidays(symbol, dates))
        return nullptr;
    return new HolidayList(std::move(dates));
}

void MarketInfo::ReleaseHolidays(IHolidayList* list) {
    delete static_cast<HolidayList*>(list);
}

void MarketInfo::GetTimeOffsets(const char* symbol, int* offset, int* second) {
    const TimeZoneRule* zone = RuleOf(symbol);
    if (!zone)
        return;
    if (offset)
        *offset = OffsetMinutes(*zone, now);
    if (second)
        *second = zone->standardMinutes;
}

int MarketInfo::GetTimeZoneOffset(MondrelTime time, int zone) {
    const TimeZoneRule* rule = m_directory.Rule(zone);
    return rule ? OffsetMinutes(*rule, time) : 0;
}

int MarketInfo::IsDaylightTime(MondrelTime time, const char* symbol) {
    const TimeZoneRule* zone = RuleOf(symbol);
    return zone && mondrel::IsDaylightTime(*zone, time) ? 1 : 0;
}

} // namespace mondrel
