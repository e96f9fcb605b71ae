// The market information of the fake data-manager library: exchange zones, UTC offsets, daylight
// time and holidays, all set by the test. Reached through FakeMondrel::marketInfo, or through
// Mondrel::GetMarketInfo of the current fake instance.
//
//   fake::FakeMondrel& dm = *fake::FakeMondrel::Current();
//   dm.marketInfo.timeZones["IBM"] = 7;                        // GetTimeZone("IBM") -> 7
//   dm.marketInfo.defaultTimeZone = 7;                         // any other symbol -> 7
//   dm.marketInfo.zoneOffsetRule = [](MondrelTime t, int) {    // GetTimeZoneOffset(t, zone)
//       return t < kSwitch ? -300 : -240; };
//   dm.marketInfo.daylightRule = [](MondrelTime t, const std::string&) { return 1; };
//   dm.marketInfo.timeOffsets["IBM"] = {-240, -300};           // GetTimeOffsets("IBM", ...)
//   dm.marketInfo.holidays["IBM"] = {{2026, 12, 25}};          // GetHolidays("IBM")
#pragma once

#include "mondrel/Mondrel.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fake {

struct Holiday {
    int year = 0;
    int month = 0;
    int day = 0;
};

class FakeHolidayList final : public IHolidayList {
public:
    explicit FakeHolidayList(std::vector<Holiday> days) : days(std::move(days)) {}

    int GetHolidayCount() override { return static_cast<int>(days.size()); }
    // Leaves the outputs untouched for an index out of range.
    void GetHoliday(int index, int* year, int* month, int* day) override;

    const std::vector<Holiday> days;
    bool released = false;
};

class FakeMarketInfo final : public IMarketInfo {
public:
    // defaultTimeZone for a symbol without an entry.
    int GetTimeZone(const char* symbol) override;
    // A new list per call for a symbol with an entry (possibly empty); nullptr otherwise.
    IHolidayList* GetHolidays(const char* symbol) override;
    // Marks the list released.
    void ReleaseHolidays(IHolidayList* list) override;
    // Writes {0, 0} for a symbol without an entry.
    void GetTimeOffsets(const char* symbol, int* offset, int* second) override;
    // The rules' answers; 0 without a rule.
    int GetTimeZoneOffset(MondrelTime time, int zone) override;
    int IsDaylightTime(MondrelTime time, const char* symbol) override;

    std::map<std::string, int> timeZones;
    int defaultTimeZone = 0; // 0: unknown to the library
    std::function<int(MondrelTime time, int zone)> zoneOffsetRule;
    // Per symbol: {offset now, standard-time offset}, minutes east of UTC.
    std::map<std::string, std::pair<int, int>> timeOffsets;
    std::function<int(MondrelTime time, const std::string& symbol)> daylightRule;
    std::map<std::string, std::vector<Holiday>> holidays;

    // Every list handed out, released or not, oldest first.
    std::vector<std::unique_ptr<FakeHolidayList>> holidayLists;
};

} // namespace fake
