// Exchange time zones and holidays of a market's symbols, as the library answers them.
#pragma once

#include "Holidays.h"
#include "TimeZones.h"
#include "mondrel/Mondrel.h"

#include <vector>

namespace mondrel {

// What a market knows about the zones and holidays of its symbols.
class ZoneDirectory {
public:
    // The zone handle of a symbol's exchange; zoneUnknown for an unknown symbol.
    virtual int ZoneOf(const char* symbol) const = 0;
    // nullptr for an unknown handle.
    virtual const TimeZoneRule* Rule(int zone) const = 0;
    // The holidays of a symbol's exchange from 2000 to 2040; false for an unknown symbol.
    virtual bool Holidays(const char* symbol, std::vector<CivilDate>& dates) const = 0;

protected:
    ~ZoneDirectory() = default;
};

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
    explicit MarketInfo(const ZoneDirectory& directory) : m_directory(directory) {}

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

private:
    const TimeZoneRule* RuleOf(const char* symbol) const;

    const ZoneDirectory& m_directory;
};

} // namespace mondrel
