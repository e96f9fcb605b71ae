#include "HolidayCalendar.h"

#include "Kolvane.h"
#include "MarketInfoLease.h"
#include "TimeHelper.h"
#include "mondrel/Mondrel.h"

HolidayCalendar::HolidayCalendar(Mondrel* manager, const std::string& symbol) {
    if (!manager) {
        return;
    }
    MarketInfoLease lease(manager);
    IMarketInfo* info = lease.get();
    if (!info) {
        return;
    }
    IHolidayList* list = info->GetHolidays(symbol.c_str());
    if (!list) {
        return;
    }
    // The count is asked again at every step: the list is the library's and may change.
    for (int index = 0; index < list->GetHolidayCount(); ++index) {
        int year = 0;
        int month = 0;
        int day = 0;
        list->GetHoliday(index, &year, &month, &day);
        // Dates outside their month roll over, as the library may send them (30 February).
        m_holidays.insert(TimeHelper::MakeTimeGMT64(year, month, day, 0, 0, 0));
    }
    info->ReleaseHolidays(list);
}

bool HolidayCalendar::IsWeekend(TimeValue time) {
    // The runtime's UTC breakdown refuses negative times and leaves the day of the week at -1.
    KOLVANE_ASSERT_TEXT(time >= 0, "!ret");
    if (time < 0) {
        return false;
    }
    const int weekDay = static_cast<int>((time / 86400 + 4) % 7); // 1970-01-01 was a Thursday
    return weekDay == 0 || weekDay == 6;
}

bool HolidayCalendar::IsHoliday(TimeValue time) const {
    const std::int64_t key = static_cast<std::int64_t>(time / 86400) * 86400;
    return m_holidays.find(key) != m_holidays.end();
}
