// A data manager for unit tests of the market-time code: the display-zone option, one exchange
// with a zone, a daylight rule and holidays, and counters of the market-information calls.
// Every other operation answers nothing. ScopedDataManager makes it the running one.
#pragma once

#include "DataManagerSource.h"
#include "mondrel/Mondrel.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct HolidayDate {
    int year;
    int month;
    int day;
};

class FakeDataManager final : public Mondrel, private IMarketInfo, private IHolidayList {
public:
    // Display-zone mode (option 5); nullopt: the option query fails.
    std::optional<int> zoneMode = 2;
    bool hasMarketInfo = true;
    bool hasHolidayList = true;
    int zone = 7;              // 0: the exchange's zone is unknown to the library
    int standardOffset = -300; // minutes to add to UTC in standard time
    // Daylight time is in force from first to second (UTC, second excluded): one hour more.
    std::vector<std::pair<MondrelTime, MondrelTime>> daylight;
    int timeOffsetsFirst = 0; // first value of GetTimeOffsets
    std::vector<HolidayDate> holidays;

    int marketInfoRequests = 0;
    int marketInfoReleases = 0;
    int holidayRequests = 0;
    int holidayReleases = 0;
    std::string lastSymbol;

    int GetIntOption(int id, int* value) override {
        if (id != moTimeZoneMode || !zoneMode) {
            return 0;
        }
        *value = *zoneMode;
        return 1;
    }
    IMarketInfo* GetMarketInfo() override {
        ++marketInfoRequests;
        return hasMarketInfo ? this : nullptr;
    }
    void ReleaseMarketInfo() override { ++marketInfoReleases; }

    int SetIntOption(int, int) override { return 0; }
    int SetTextOption(int, const char*) override { return 0; }
    int ConnectFeeds(const char*, const char*, int, int) override { return 0; }
    void DisconnectFeeds() override {}
    void AddConnectionListener(IConnectionEvents*) override {}
    void RemoveConnectionListener(IConnectionEvents*) override {}
    IQuote* SubscribeQuote(const char*, IQuoteEvents*, int) override { return nullptr; }
    void UnsubscribeQuote(IQuote*, IQuoteEvents*) override {}
    IBarSet* RequestBars(const char*, int, IBarEvents*, IRequestOptions*) override {
        return nullptr;
    }
    void StopBars(IBarSet*, IBarEvents*) override {}
    IRequestOptions* NewBarOptions() override { return nullptr; }
    ITickSet* RequestTicks(const char*, ITickEvents*, IRequestOptions*) override { return nullptr; }
    void StopTicks(ITickSet*, ITickEvents*) override {}
    IRequestOptions* NewTickOptions() override { return nullptr; }

private:
    bool InDaylight(MondrelTime time) const {
        for (const auto& [from, to] : daylight) {
            if (time >= from && time < to) {
                return true;
            }
        }
        return false;
    }

    int GetTimeZone(const char* symbol) override {
        lastSymbol = symbol;
        return zone;
    }
    IHolidayList* GetHolidays(const char* symbol) override {
        lastSymbol = symbol;
        ++holidayRequests;
        return hasHolidayList ? this : nullptr;
    }
    void ReleaseHolidays(IHolidayList*) override { ++holidayReleases; }
    void GetTimeOffsets(const char* symbol, int* offset, int*) override {
        lastSymbol = symbol;
        *offset = timeOffsetsFirst;
    }
    int GetTimeZoneOffset(MondrelTime time, int) override {
        return standardOffset + (InDaylight(time) ? 60 : 0);
    }
    int IsDaylightTime(MondrelTime time, const char* symbol) override {
        lastSymbol = symbol;
        return InDaylight(time) ? 1 : 0;
    }

    int GetHolidayCount() override { return static_cast<int>(holidays.size()); }
    void GetHoliday(int index, int* year, int* month, int* day) override {
        const HolidayDate& date = holidays.at(static_cast<std::size_t>(index));
        *year = date.year;
        *month = date.month;
        *day = date.day;
    }
};

class ScopedDataManager {
public:
    explicit ScopedDataManager(Mondrel* manager) {
        s_manager = manager;
        SetDataManagerSource([] { return s_manager; });
    }
    ~ScopedDataManager() {
        SetDataManagerSource(nullptr);
        s_manager = nullptr;
    }
    ScopedDataManager(const ScopedDataManager&) = delete;
    ScopedDataManager& operator=(const ScopedDataManager&) = delete;

private:
    static inline Mondrel* s_manager = nullptr;
};
