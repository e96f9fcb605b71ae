// Exchange time zones and holidays of the listed symbols.
#pragma once

#include "Holidays.h"
#include "mondrel/Mondrel.h"

#include <vector>

namespace mondrel {

class HolidayList final : public IHolidayList {
public:
    explicit HolidayList(std::vector<CivilDate> dates) : m_dates(std::move(dates)) {}
    int GetHolidayCount() override { return static_cast<int>(m_dates.size()); }
    void GetHoliday(int index, int* year, int* month, int* day) override;

private:
    std::vector<CivilDate> m_dates;
};

class MarketInfo final : public IMarketInfo {
public:
    int GetTimeZone(const char* symbol) override;
    IHolidayList* GetHolidays(const char* symbol) override;
    void ReleaseHolidays(IHolidayList* list) override;
    void GetTimeOffsets(const char* symbol, int* offset, int* second) override;
    int GetTimeZoneOffset(MondrelTime time, int zone) override;
    int IsDaylightTime(MondrelTime time, const char* symbol) override;

    // Holiday lists cover these years.
    static constexpr int kFirstYear = 2000;
    static constexpr int kLastYear = 2040;

    // Now, for GetTimeOffsets.
    MondrelTime now = 0;
};

} // namespace mondrel
